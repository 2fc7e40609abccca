// Every definition shipped in data/Syntax must read completely: each key
// line names a known key and its value fits and parses, each item has a
// name and words, each colour code parses, and langlink.ini names only
// languages that have both files.

#include "Errors.h"
#include "Files.h"
#include "Langlinks.h"
#include "Ovsynlangstyle.h"
#include "Ovsynlangsyntax.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

namespace ov {
namespace {

namespace fs = std::filesystem;

const std::string SyntaxFolder = std::string(ORVANE_SOURCE_DIR) + "/data/Syntax/";

std::vector<std::string> LinesOf(const std::string& path) {
    TOVStringList lines;
    lines.LoadFromFile(path);
    std::vector<std::string> result;
    for (int i = 0; i < lines.Count(); ++i)
        result.emplace_back(lines.GetView(i));
    return result;
}

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Key -> room for the value in bytes (0: a flag read as 0 or 1).
const std::map<std::string, std::size_t>& SynKeys() {
    static const std::map<std::string, std::size_t> keys = {
        {"CASESENSITIVE", 0},   {"HTML_LANG", 0},       {"DELIMITERS", 31},
        {"BLOCKCOMMENT1S", 15}, {"BLOCKCOMMENT1E", 15}, {"BLOCKCOMMENT2S", 15},
        {"BLOCKCOMMENT2E", 15}, {"LINECOMMENT1", 7},    {"LINECOMMENT2", 7},
        {"STRINGCHAR1", 1},     {"STRINGCHAR2", 1},     {"ESCAPECHAR1", 1},
        {"ESCAPECHAR2", 1},     {"INSIDELANG1S", 15},   {"INSIDELANG1E", 15},
        {"INSIDELANG1", 15},    {"INSIDELANG2S", 15},   {"INSIDELANG2E", 15},
        {"INSIDELANG2", 15},    {"LANGBRACES", 15},     {"LANGBRACEE", 15}};
    return keys;
}

std::vector<std::string> ShippedLanguages() {
    std::vector<std::string> names;
    for (const std::string& file : ListFiles(SyntaxFolder, ".syn"))
        names.push_back(file.substr(0, file.size() - 4));
    return names;
}

bool IsHeader(const std::string& line) {
    return line.size() >= 7 && line.starts_with("#Item");
}

// Problems of one .syn file, one per line; empty when it reads completely.
std::string SynProblems(const std::string& path, int& itemCount) {
    std::string problems;
    std::set<std::string> seen;
    bool inItem = false;
    int words = 0;
    itemCount = 0;
    auto endItem = [&] {
        if (inItem && words == 0)
            problems += "item " + std::to_string(itemCount - 1) + " has no words\n";
    };
    for (const std::string& line : LinesOf(path)) {
        if (IsHeader(line)) {
            endItem();
            inItem = true;
            words = 0;
            ++itemCount;
            const std::size_t open = line.find('"');
            const std::size_t close = open == std::string::npos ? open : line.find('"', open + 1);
            if (close == std::string::npos || close == open + 1)
                problems += "item without a name: " + line + "\n";
            else if (close - open - 1 > 31)
                problems += "item name longer than 31 bytes: " + line + "\n";
            std::string flags = line.substr(close == std::string::npos ? 5 : close + 1);
            for (const char* flag : {"PriorStr1", "PriorStr2", "StartWith"}) {
                if (std::size_t at = flags.find(flag); at != std::string::npos)
                    flags.erase(at, std::string(flag).size());
            }
            if (flags.find_first_not_of(' ') != std::string::npos)
                problems += "unknown item flag: " + line + "\n";
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string key = equals == std::string::npos ? "" : Upper(line.substr(0, equals));
        const auto known = SynKeys().find(key);
        if (inItem) {
            if (known != SynKeys().end())
                problems += "key line inside an item: " + line + "\n";
            if (line.find('\t') != std::string::npos)
                problems += "tab inside a word line: " + line + "\n";
            for (std::size_t at = 0; (at = line.find_first_not_of(' ', at)) != std::string::npos;
                 at = line.find(' ', at))
                ++words;
            continue;
        }
        if (line.empty())
            continue;
        if (known == SynKeys().end()) {
            problems += "not a key line: " + line + "\n";
            continue;
        }
        if (!seen.insert(key).second)
            problems += "repeated key (ignored when read): " + line + "\n";
        const std::string value = line.substr(equals + 1);
        if (known->second == 0 && value != "0" && value != "1")
            problems += "flag not 0 or 1: " + line + "\n";
        else if (known->second == 1 && value.size() != 1)
            problems += "not a single byte: " + line + "\n";
        else if (value.size() > known->second && known->second > 1)
            problems +=
                "value longer than " + std::to_string(known->second) + " bytes: " + line + "\n";
    }
    endItem();
    if (itemCount > MaxItemCount)
        problems += "more than ten items\n";
    return problems;
}

double Luminance(TColor color) {
    auto channel = [](unsigned value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color & 0xFF) + 0.7152 * channel((color >> 8) & 0xFF) +
           0.0722 * channel((color >> 16) & 0xFF);
}

double Contrast(TColor a, TColor b) {
    double la = Luminance(a) + 0.05, lb = Luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

std::string StyProblems(const std::string& path, int itemCount) {
    std::string problems;
    std::set<std::string> seen;
    std::set<std::string> keys;
    for (int i = 0; i < StyleCount; ++i)
        keys.insert(Upper(StyleKey(i)));
    for (const std::string& line : LinesOf(path)) {
        if (line.empty())
            continue;
        const std::size_t equals = line.find('=');
        const std::string key = equals == std::string::npos ? "" : Upper(line.substr(0, equals));
        if (!keys.count(key)) {
            problems += "not a style line: " + line + "\n";
            continue;
        }
        if (!seen.insert(key).second)
            problems += "repeated style: " + line + "\n";
        const std::string value = line.substr(equals + 1);
        for (std::size_t start = 0, field = 0; start <= value.size(); ++field) {
            std::size_t comma = value.find(',', start);
            std::string code =
                value.substr(start, comma == std::string::npos ? comma : comma - start);
            if (code.size() != 7 || code[0] != '#' ||
                code.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
                problems += "not a colour code (#RRGGBB): " + line + "\n";
            if (field >= 2)
                problems += "more than two colours: " + line + "\n";
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    }
    for (int i = 0; i < itemCount; ++i) {
        if (!seen.count(Upper(StyleKey(StyleItem0 + i))))
            problems += "no colour for Item" + std::to_string(i) + "\n";
    }
    if (!seen.count("NORMAL"))
        problems += "no Normal colour\n";
    TOVSynLangStyle style;
    try {
        style.LoadFromFile(path);
    } catch (const EOVError& error) {
        return problems + "does not load: " + error.what() + "\n";
    }
    for (int i = 0; i < StyleCount; ++i) {
        const double ratio = Contrast(style.Colors[i].Fore, style.Colors[i].Back);
        if (ratio < 3.0)
            problems +=
                "hard to read: " + StyleKey(i) + " contrast " + std::to_string(ratio) + "\n";
    }
    return problems;
}

TEST(ShippedDefinitions, TheCheckFindsWhatDoesNotRead) {
    test::TTempFolder folder;
    int items = 0;
    const std::string syn = folder.Write(
        "Bad.syn", "CaseSensitive=yes\nDelimiter=;\nStringChar1=''\nLineComment1=12345678\n"
                   "CaseSensitive=1\n#Item x\nx\n#Item \"Empty\" Startwith\n\n#Item \"K\"\n"
                   "StringChar2=\"\n");
    const std::string problems = SynProblems(syn, items);
    for (const char* expected :
         {"flag not 0 or 1", "not a key line", "not a single byte", "longer than 7", "repeated key",
          "item without a name", "item 1 has no words", "unknown item flag",
          "key line inside an item"})
        EXPECT_NE(problems.find(expected), std::string::npos) << expected << " in\n" << problems;
    const std::string sty = folder.Write(
        "Bad.sty", "Normal=#FFFFFF,#FFFFFF\nItem0=#1234ZZ\nItem3=#000000\nLine=#000000\n");
    const std::string styleProblems = StyProblems(sty, 2);
    for (const char* expected :
         {"not a colour code", "no colour for Item1", "not a style line", "does not load"})
        EXPECT_NE(styleProblems.find(expected), std::string::npos) << expected << " in\n"
                                                                   << styleProblems;
    const std::string pale = folder.Write("Pale.sty", "Normal=#000000\nComment=#EEEEEE\n");
    EXPECT_NE(StyProblems(pale, 0).find("hard to read: Comment"), std::string::npos);
}

TEST(ShippedDefinitions, EveryDefinitionReadsCompletely) {
    const std::vector<std::string> languages = ShippedLanguages();
    ASSERT_GE(languages.size(), 24u);
    for (const std::string& language : languages) {
        SCOPED_TRACE(language);
        int items = 0;
        EXPECT_EQ(SynProblems(SyntaxFolder + language + ".syn", items), "");
        ASSERT_TRUE(FileExists(SyntaxFolder + language + ".sty"));
        EXPECT_EQ(StyProblems(SyntaxFolder + language + ".sty", items), "");

        TOVSynLangSyntax syntax;
        syntax.LoadFromFile(SyntaxFolder + language + ".syn");
        for (int i = 0; i < items; ++i) {
            const TOVSynItem& item = syntax.GetItems(i);
            ASSERT_TRUE(item.Words) << "item " << i;
            EXPECT_GT(item.Words->Count(), 0) << "item " << i;
        }
        if (syntax.HTML_LANG && Upper(language) != "HTML") {
            EXPECT_STRNE(syntax.LangBraceS, "") << "a page language needs its brace pair";
            EXPECT_STRNE(syntax.LangBraceE, "");
        }
    }
}

TEST(ShippedDefinitions, LangLinkNamesOnlyShippedLanguages) {
    TLangLinks links;
    ASSERT_TRUE(links.LoadFromFile(std::string(ORVANE_SOURCE_DIR) + "/data/langlink.ini"));
    const std::vector<std::string> shipped = ShippedLanguages();
    std::set<std::string> named;
    for (const std::string& name : links.Names()) {
        EXPECT_TRUE(FileExists(SyntaxFolder + name + ".syn")) << name;
        EXPECT_TRUE(FileExists(SyntaxFolder + name + ".sty")) << name;
        EXPECT_TRUE(named.insert(name).second) << "listed twice: " << name;
    }
    for (const char* embedded : {"HTML", "JS", "CSS"})
        EXPECT_TRUE(FileExists(SyntaxFolder + embedded + ".syn")) << embedded;
    std::map<std::string, std::string> owner;
    for (const TLangLinks::TEntry& entry : links.Entries()) {
        if (entry.Language.empty())
            continue; // the text types appended after the file's lines
        auto [at, added] = owner.emplace(Upper(entry.Extension), entry.Language);
        EXPECT_TRUE(added || at->second == entry.Language)
            << entry.Extension << " is claimed by " << at->second << " and " << entry.Language;
    }
}

} // namespace
} // namespace ov
