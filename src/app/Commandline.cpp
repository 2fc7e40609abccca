#include "Commandline.h"

#include "Inifiles.h"

#include <algorithm>
#include <climits>
#include <string_view>

namespace ov {

namespace {

// Nothing shorter than the system's path limit is cut.
constexpr size_t MaxFileArgumentCharacters = PATH_MAX;

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// The first count characters of UTF-8 text; a continuation byte never starts
// a character, so a multi-byte character is kept or dropped whole.
std::string_view FirstCharacters(std::string_view text, size_t count) {
    size_t characters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        bool starts = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (starts && characters++ == count)
            return text.substr(0, i);
    }
    return text;
}

std::string ViewCommandLine(const std::vector<std::string>& argv, size_t firstFile) {
    // Only the file argument is read back; a quote inside the program path
    // would end its quoted form early, so it is left out.
    std::string program = argv.empty() ? std::string() : argv[0];
    std::erase(program, '"');
    std::vector<std::string> parts;
    parts.push_back(program.empty() ? std::string("orvane") : program);
    for (size_t i = firstFile; i < argv.size(); ++i)
        parts.push_back(argv[i]);
    return BuildCommandLine(parts);
}

} // namespace

std::string BuildCommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty())
            line += ' ';
        // The file argument is trimmed of blanks and control characters
        // unless quoted, and loses one quote at either end: a name that holds
        // any of them, or starts or ends with a quote, is quoted, so that it
        // comes back exactly.
        if (argument.empty() || std::any_of(argument.begin(), argument.end(), IsBlankOrControl) ||
            argument.front() == '"' || argument.back() == '"')
            line += '"' + argument + '"';
        else
            line += argument;
    }
    return line;
}

std::string ParseCommandLine(const std::string& commandLine) {
    std::string_view line = TrimBlanks(commandLine);
    char separator = ' ';
    if (!line.empty() && line.front() == '"') {
        line.remove_prefix(1);
        separator = '"';
    }
    size_t at = line.find(separator);
    if (at == std::string_view::npos || at + 1 >= line.size())
        return {};
    std::string_view argument =
        TrimBlanks(FirstCharacters(line.substr(at + 1), MaxFileArgumentCharacters));
    if (!argument.empty() && argument.front() == '"')
        argument.remove_prefix(1);
    if (!argument.empty() && argument.back() == '"')
        argument.remove_suffix(1);
    return std::string(argument);
}

TLaunchOptions ParseLaunchArguments(const std::vector<std::string>& argv) {
    TLaunchOptions options;
    std::string first = argv.size() > 1 ? argv[1] : std::string();
    if (first == "--help") {
        options.Mode = TLaunchMode::Help;
    } else if (first == "--version") {
        options.Mode = TLaunchMode::Version;
    } else if (first == "--export-html") {
        options.Mode = TLaunchMode::ExportHtml;
        options.ExportArguments.assign(argv.begin() + 2, argv.end());
    } else if (first == "--snapshot") {
        if (argv.size() < 3 || argv[2].empty()) {
            options.Mode = TLaunchMode::Error;
            options.Error = "--snapshot needs the name of the PNG file to write";
            return options;
        }
        options.Mode = TLaunchMode::Snapshot;
        options.SnapshotFile = argv[2];
        options.CommandLine = ViewCommandLine(argv, 3);
    } else if (first.size() > 2 && first.compare(0, 2, "--") == 0) {
        options.Mode = TLaunchMode::Error;
        options.Error = "unknown option " + first + " (see --help)";
    } else {
        options.CommandLine = ViewCommandLine(argv, 1);
    }
    return options;
}

std::string UsageText() {
    return "Usage: orvane [FILE]\n"
           "       orvane --snapshot OUT.png [FILE]\n"
           "       orvane --export-html IN OUT [--lang NAME]\n"
           "       orvane --help | --version\n"
           "\n"
           "Orvane is a read-only viewer for text and binary files.\n"
           "  FILE                the file to open (the rest of the command line is one path)\n"
           "  --snapshot OUT.png  render the main window into OUT.png after its first paint\n"
           "                      and exit; works without a display and keeps the settings\n"
           "  --export-html       highlight IN with the language of its extension (or NAME)\n"
           "                      and write the HTML page to OUT\n"
           "  --lang NAME         with --export-html: the language to use\n"
           "  --help              print this text and exit\n"
           "  --version           print the version and exit\n"
           "\n"
           "Settings: ~/.config/orvane/Orvane.ini (or Orvane.ini beside a portable copy).\n"
           "Your own definitions: ~/.local/share/orvane/Syntax/ and langlink.ini there.\n"
           "See orvane(1).\n";
}

std::string VersionText() {
    return "Orvane 1.0 Beta\n";
}

} // namespace ov
