#include "Exporthtml.h"
#include "Appfolders.h"

#include "Codepage.h"
#include "Files.h"
#include "Htmlpage.h"
#include "Langlinks.h"
#include "Ovstrings.h"
#include "Ovsynhighlighter.h"
#include "Uiservices.h"

#include <cstring>
#include <exception>
#include <optional>

namespace ov {

namespace {

struct TExportArgs {
    std::string Input;
    std::string Output;
    std::optional<std::string> Language;
};

std::optional<TExportArgs> ParseArgs(const std::vector<std::string>& args) {
    TExportArgs result;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--lang") {
            if (i + 1 >= args.size() || result.Language)
                return std::nullopt;
            result.Language = args[++i];
        } else {
            positional.push_back(args[i]);
        }
    }
    if (positional.size() != 2 || positional[0].empty() || positional[1].empty())
        return std::nullopt;
    result.Input = positional[0];
    result.Output = positional[1];
    return result;
}

// Without reading: the load after it is the file's one read.
bool Readable(const std::string& path) {
    return ViewedFileExists(path) && ViewedFileReadable(path);
}

// The extension table's language for the input, or none with a reason.
std::optional<std::string> LanguageFor(const TExportArgs& args, std::ostream& err) {
    if (args.Language) {
        if (args.Language->empty())
            err << "orvane: --lang needs a language name\n";
        else
            return *args.Language;
        return std::nullopt;
    }
    TLangLinks links;
    const std::string table = TLangLinks::ShippedFileName();
    if (!links.LoadProgramTable()) {
        err << "orvane: cannot read " << table << "; name the language with --lang NAME\n";
        return std::nullopt;
    }
    std::optional<std::string> language = links.LanguageOfFile(args.Input);
    if (!language || language->empty()) {
        err << "orvane: no language for '" << ExtractFileName(args.Input)
            << "' in langlink.ini; name one with --lang NAME\n";
        return std::nullopt;
    }
    return language;
}

int Export(const TExportArgs& args, std::ostream& err) {
    std::optional<std::string> language = LanguageFor(args, err);
    if (!language)
        return 1;
    const std::string folder = ShippedSyntaxFolder();
    if (!FileExists(FindSyntaxFile(*language + ".syn"))) {
        err << "orvane: no syntax definition " << *language << ".syn in " << folder << "\n";
        return 1;
    }
    if (!Readable(args.Input)) {
        err << "orvane: cannot read '" << args.Input << "'\n";
        return 1;
    }
    if (SameFile(args.Input, args.Output)) {
        err << "orvane: the page would replace its own input '" << args.Input << "'\n";
        return 1;
    }

    TOVSynStringList lines;
    lines.LoadViewedFile(args.Input);
    if (lines.Count() == 0) {
        err << "orvane: '" << args.Input << "' is empty; there is no page to write\n";
        return 1;
    }
    TOVSynHighlighter highlighter(folder, UserSyntaxFolder());
    try {
        highlighter.SetLang(*language);
    } catch (const std::exception& error) {
        err << "orvane: " << *language << ".sty: " << error.what() << "\n";
        return 1;
    }
    const std::string title = lines.CharCoding().FromUtf8(ExtractFileName(args.Input));
    // "-" is the standard output; any other output is written as the save
    // command writes, straight into a pipe or device, replacing only regular
    // files, except that a named pipe is waited on until a program reads it,
    // as command-line tools do. Either way the rows are marked and written as
    // the scan goes, neither the page nor the document's marks held whole.
    const TContentProducer page = [&](const TPieceWriter& write) {
        return MarkAndWriteHtmlPage(lines, highlighter, title, write);
    };
    const TWriteResult written =
        args.Output == "-" ? WriteStandardOutput(page)
                           : WriteFileAtomically(args.Output, page, TPipeWait::WaitForReader);
    if (!written) {
        err << "orvane: cannot write '" << args.Output << "': " << std::strerror(written.Error)
            << "\n";
        return 1;
    }
    return 0;
}

} // namespace

int ExportHtmlCommand(const std::vector<std::string>& args, std::ostream& err) {
    // Nobody answers an export run: questions are answered yes, messages go
    // to stderr.
    TConsoleUIServices console;
    TUIServicesGuard installServices(&console);
    std::optional<TExportArgs> parsed = ParseArgs(args);
    if (!parsed) {
        err << "orvane: usage: orvane --export-html IN OUT [--lang NAME]\n";
        return 2;
    }
    try {
        return Export(*parsed, err);
    } catch (const std::exception& error) {
        err << "orvane: " << error.what() << "\n";
        return 1;
    }
}

} // namespace ov
