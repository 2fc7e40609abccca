#include "Langlinks.h"

#include "Appfolders.h"
#include "Codepage.h"
#include "Files.h"

#include <algorithm>

namespace ov {

namespace {

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AnsiUpperChar(a[i]) != AnsiUpperChar(b[i]))
            return false;
    }
    return true;
}

} // namespace

bool TLangLinks::LoadFromFile(const std::string& fileName) {
    std::optional<std::string> text = ReadWholeFile(ResolveFileCase(fileName));
    LoadFromText(text ? *text : std::string());
    return text.has_value();
}

void TLangLinks::LoadFromText(std::string_view text) {
    LoadFromTexts({}, text);
}

void TLangLinks::LoadFromTexts(std::string_view user, std::string_view shipped) {
    FEntries.clear();
    FNames.clear();
    // A file with NUL bytes is not a table someone wrote: it is ignored whole.
    const std::vector<TLine> userLines =
        user.find('\0') == std::string_view::npos ? ParseLines(user) : std::vector<TLine>();
    const std::vector<TLine> shippedLines = ParseLines(shipped);
    auto inUser = [&](const std::string& name) {
        for (const TLine& line : userLines)
            if (SameTextIgnoringCase(line.Name, name))
                return true;
        return false;
    };
    // The user's extensions come first, so they win; a user line replaces
    // the shipped line of its language, keeping the shipped menu order.
    for (const TLine& line : userLines)
        for (const std::string& extension : line.Extensions)
            FEntries.push_back({extension, line.Name});
    for (const TLine& line : shippedLines) {
        if (inUser(line.Name)) {
            for (const TLine& own : userLines)
                if (SameTextIgnoringCase(own.Name, line.Name) &&
                    std::find(FNames.begin(), FNames.end(), own.Name) == FNames.end())
                    FNames.push_back(own.Name);
            continue;
        }
        FNames.push_back(line.Name);
        for (const std::string& extension : line.Extensions)
            FEntries.push_back({extension, line.Name});
    }
    for (const TLine& line : userLines)
        if (std::find_if(FNames.begin(), FNames.end(), [&](const std::string& name) {
                return SameTextIgnoringCase(name, line.Name);
            }) == FNames.end())
            FNames.push_back(line.Name);
    for (const char* extension : {".txt", ".ini", ".log"})
        FEntries.push_back({extension, ""});
}

std::vector<TLangLinks::TLine> TLangLinks::ParseLines(std::string_view text) {
    std::vector<TLine> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end;
        if (start < text.size() && text[start] == '\r')
            ++start;
        if (start < text.size() && text[start] == '\n')
            ++start;

        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        TLine parsed;
        parsed.Name = std::string(line.substr(0, equals));
        std::string_view extensions = line.substr(equals + 1);
        while (!extensions.empty()) {
            std::size_t semicolon = extensions.find(';');
            std::string_view extension = extensions.substr(0, semicolon);
            if (!extension.empty())
                parsed.Extensions.push_back("." + std::string(extension));
            if (semicolon == std::string_view::npos)
                break;
            extensions.remove_prefix(semicolon + 1);
        }
        lines.push_back(std::move(parsed));
    }
    return lines;
}

bool TLangLinks::LoadProgramTable() {
    std::optional<std::string> shipped = ReadWholeFile(ShippedFileName());
    std::optional<std::string> user;
    if (std::string userFile = UserLangLinkFile(); !userFile.empty())
        user = ReadWholeFile(ResolveFileCase(userFile));
    LoadFromTexts(user ? *user : std::string(), shipped ? *shipped : std::string());
    return shipped.has_value();
}

std::string TLangLinks::ShippedFileName() {
    return RuntimePath("langlink.ini");
}

std::optional<std::string> TLangLinks::LanguageOf(std::string_view extension) const {
    for (const TEntry& entry : FEntries) {
        if (SameTextIgnoringCase(entry.Extension, extension))
            return entry.Language;
    }
    return std::nullopt;
}

std::optional<std::string> TLangLinks::LanguageOfFile(const std::string& path) const {
    return LanguageOf(ExtractFileExt(path));
}

} // namespace ov
