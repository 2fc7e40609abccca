#include "Highlighttestsupport.h"

#include <set>

namespace ov::test {

const char* const DemoSyntax = "Delimiters=;=(){}\r\n"
                               "LineComment1=//\r\n"
                               "BlockComment1S=/*\r\n"
                               "BlockComment1E=*/\r\n"
                               "StringChar1=\"\r\n"
                               "EscapeChar1=\\\r\n"
                               "#Item \"Keyword\"\r\n"
                               "int {\r\n";

void SetLines(TOVSynStringList& lines, std::initializer_list<std::string_view> texts) {
    lines.Clear();
    for (std::string_view text : texts)
        lines.Add(text);
}

std::string MarksOf(const TOVSynStringList& lines, int row) {
    std::string result;
    const TStyleByte* styles = lines.GetStyleBytes(row);
    for (int col = 0; col < lines.GetLength(row); ++col) {
        if (styles[col] == 0)
            continue;
        if (!result.empty())
            result += ' ';
        result +=
            std::to_string(col) + ":" + (styles[col] > 0 ? "+" : "") + std::to_string(styles[col]);
    }
    return result;
}

std::string MarkDump(const TOVSynStringList& lines, const TOVSynHighlighter& highlighter) {
    std::set<int> ids;
    for (int row = 0; row < lines.Count(); ++row) {
        const TStyleByte* styles = lines.GetStyleBytes(row);
        for (int col = 0; col < lines.GetLength(row); ++col) {
            if (styles[col] != 0)
                ids.insert(styles[col] > 0 ? styles[col] : -styles[col]);
        }
    }
    std::string dump = "# languages:";
    for (const std::string& language : highlighter.Languages())
        dump += " " + language;
    dump += "\n";
    for (int id : ids) {
        const int slot = id / StyleCount;
        const std::string language = slot < static_cast<int>(highlighter.Languages().size())
                                         ? highlighter.Languages()[slot]
                                         : "?";
        dump += "# " + std::to_string(id) + " = " + language + "." +
                highlighter.GetStyleNameOf(id) + "\n";
    }
    char number[16];
    for (int row = 0; row < lines.Count(); ++row) {
        std::snprintf(number, sizeof(number), "%4d |", row + 1);
        dump += number;
        dump += lines.GetView(row);
        dump += "\n";
        std::string marks = MarksOf(lines, row);
        if (!marks.empty())
            dump += "     |" + marks + "\n";
    }
    return dump;
}

void TDefinitionFolder::Add(const std::string& name, const std::string& syn,
                            const std::string& sty) {
    FFolder.Write(name + ".syn", syn);
    if (!sty.empty())
        FFolder.Write(name + ".sty", sty);
}

std::unique_ptr<TOVSynHighlighter>
TDefinitionFolder::Highlighter(const std::string& language) const {
    auto highlighter = std::make_unique<TOVSynHighlighter>(FFolder.Path());
    highlighter->SetLang(language);
    return highlighter;
}

std::string Crlf(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

} // namespace ov::test
