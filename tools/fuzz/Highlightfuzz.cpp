// libFuzzer target of the highlighter: the input holds up to five parts
// separated by the line "%%": the document language's .syn, its .sty, the
// HTML .syn, the JS .syn and the document. The definitions are written into
// a private folder, the document is highlighted and exported as a page.
// Built by build_highlight_fuzz.sh with clang, ASan and UBSan; not part of
// the normal build.

#include "Errors.h"
#include "Files.h"
#include "Htmlpage.h"
#include "Ovstrings.h"
#include "Ovsynhighlighter.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

const std::string& Folder() {
    static const std::string folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "orvane-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        return pattern + "/";
    }();
    return folder;
}

std::vector<std::string_view> Parts(std::string_view input) {
    std::vector<std::string_view> parts;
    while (parts.size() < 4) {
        std::size_t separator = input.find("\n%%\n");
        if (separator == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, separator));
        input.remove_prefix(separator + 4);
    }
    parts.push_back(input);
    return parts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> parts = Parts(input);
    std::string_view document = parts.back();
    parts.pop_back();
    const char* const files[] = {"Lang.syn", "Lang.sty", "HTML.syn", "JS.syn"};
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string path = Folder() + files[i];
        if (i < parts.size())
            ov::WriteWholeFile(path, std::string(parts[i]));
        else
            std::filesystem::remove(path);
    }

    ov::TOVSynHighlighter highlighter(Folder());
    try {
        highlighter.SetLang("Lang");
    } catch (const ov::EOVError&) {
        // A bad colour code: the slot is still complete and is used below.
    }
    ov::TOVSynStringList lines;
    lines.SetTextStr(std::string(document).c_str());
    highlighter.Execute(lines);
    const std::string page = ov::BuildHtmlPage(lines, highlighter, "fuzz");
    if (page.size() < 10)
        std::abort();
    return 0;
}
