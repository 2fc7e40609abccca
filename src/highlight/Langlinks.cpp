#include "Langlinks.h"

#include "Codepage.h"
#include "Files.h"

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
    FEntries.clear();
    FNames.clear();
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
        std::string name(line.substr(0, equals));
        FNames.push_back(name);
        std::string_view extensions = line.substr(equals + 1);
        while (!extensions.empty()) {
            std::size_t semicolon = extensions.find(';');
            std::string_view extension = extensions.substr(0, semicolon);
            if (!extension.empty())
                FEntries.push_back({"." + std::string(extension), name});
            if (semicolon == std::string_view::npos)
                break;
            extensions.remove_prefix(semicolon + 1);
        }
    }
    for (const char* extension : {".txt", ".ini", ".log"})
        FEntries.push_back({extension, ""});
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
