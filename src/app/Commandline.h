#pragma once
// The program's command line. `orvane [FILE]` keeps the Windows shape: the
// arguments are joined back into one command line, and the file argument is
// taken from it as the whole rest of the line. Options that start with "--"
// are the program's own additions (snapshot, HTML export, help, version).

#include <string>
#include <vector>

namespace ov {

// Joins the program path and the arguments with single blanks; an element
// that holds a blank or a control character, starts or ends with a double
// quote, or is empty, is enclosed in double quotes, so that ParseCommandLine
// gives a single file argument back exactly.
std::string BuildCommandLine(const std::vector<std::string>& arguments);

// The file argument of a whole command line (program path first): the text
// after the first separator (a blank, or the closing quote of a quoted
// program path), trimmed, at most PATH_MAX characters (the system's path
// limit, so no path is cut), with one leading and one
// trailing double quote removed. Empty when there is none. Further
// arguments are not split off: blanks inside an unquoted path stay.
std::string ParseCommandLine(const std::string& commandLine);

// How the process was asked to run.
enum class TLaunchMode { View, Snapshot, ExportHtml, Help, Version, Error };

struct TLaunchOptions {
    TLaunchMode Mode = TLaunchMode::View;
    // The Windows-style command line the main window reads its file from.
    std::string CommandLine;
    std::string SnapshotFile;                 // Snapshot: the PNG to write
    std::vector<std::string> ExportArguments; // ExportHtml: everything after --export-html
    std::string Error;                        // Error: what was wrong, for stderr
};

// Reads argv (argv[0] included). Only the first argument decides the mode;
// anything after "--snapshot OUT.png" is the file argument as in a view run.
TLaunchOptions ParseLaunchArguments(const std::vector<std::string>& argv);

// The texts of --help and --version (UTF-8, ending in a line break).
std::string UsageText();
std::string VersionText();

} // namespace ov
