#include "Langlinks.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(LangLinks, EntriesInFileOrderThenTheTextTypes) {
    TLangLinks links;
    links.LoadFromText("C=c;cpp;h\r\nPascal=pas;\nnoequals\rText=txt;;log\r\n");
    std::vector<std::string> entries;
    for (const TLangLinks::TEntry& entry : links.Entries())
        entries.push_back(entry.Extension + "=" + entry.Language);
    EXPECT_EQ(entries,
              (std::vector<std::string>{".c=C", ".cpp=C", ".h=C", ".pas=Pascal", ".txt=Text",
                                        ".log=Text", ".txt=", ".ini=", ".log="}));
    EXPECT_EQ(links.Names(), (std::vector<std::string>{"C", "Pascal", "Text"}));
}

TEST(LangLinks, LookupIgnoresCaseAndTheFirstEntryWins) {
    TLangLinks links;
    links.LoadFromText("C=c;H\nCPP=h;cc\nIni=INI\n");
    EXPECT_EQ(links.LanguageOf(".C"), "C");
    EXPECT_EQ(links.LanguageOf(".h"), "C");
    EXPECT_EQ(links.LanguageOfFile("/x/y/readme.TXT"), "");
    EXPECT_EQ(links.LanguageOfFile("settings.ini"), "Ini") << "the table can name text types";
    EXPECT_EQ(links.LanguageOfFile("a.exe"), std::nullopt);
    EXPECT_EQ(links.LanguageOfFile("Makefile"), std::nullopt);
}

TEST(LangLinks, AMissingFileLeavesOnlyTheTextTypes) {
    test::TTempFolder folder;
    TLangLinks links;
    EXPECT_FALSE(links.LoadFromFile(folder.File("langlink.ini")));
    EXPECT_EQ(links.Entries().size(), 3u);
    folder.Write("LangLink.INI", "C=c\n");
    EXPECT_TRUE(links.LoadFromFile(folder.File("langlink.ini"))) << "found whatever its case";
    EXPECT_EQ(links.LanguageOf(".c"), "C");
}

// The user's table over the shipped one: the user's extensions win, a user
// line replaces the shipped line of its language in the shipped menu order,
// user-only languages follow; a table with NUL bytes is ignored whole.
TEST(LangLinks, UserLinesTakePrecedenceAndAJunkUserTableIsIgnored) {
    const std::string shipped = "C=c;h\nPascal=pas\nJava=java\n";
    TLangLinks links;
    links.LoadFromTexts("Mine=h;mine\npascal=pp\n", shipped);
    EXPECT_EQ(links.Names(), (std::vector<std::string>{"C", "pascal", "Java", "Mine"}));
    EXPECT_EQ(links.LanguageOf(".h"), "Mine");
    EXPECT_EQ(links.LanguageOf(".c"), "C");
    EXPECT_EQ(links.LanguageOf(".pp"), "pascal");
    EXPECT_EQ(links.LanguageOf(".pas"), std::nullopt) << "the user's line replaced the shipped one";
    EXPECT_EQ(links.LanguageOf(".java"), "Java");
    EXPECT_EQ(links.LanguageOf(".log"), "");

    TLangLinks plain;
    plain.LoadFromText(shipped);
    for (std::string_view junk : {std::string_view(), std::string_view("C=x\0\xff", 5),
                                  std::string_view("no table here\n;\n")}) {
        links.LoadFromTexts(junk, shipped);
        EXPECT_EQ(links.Names(), plain.Names());
        ASSERT_EQ(links.Entries().size(), plain.Entries().size());
        for (std::size_t i = 0; i < plain.Entries().size(); ++i)
            EXPECT_EQ(links.Entries()[i].Extension + links.Entries()[i].Language,
                      plain.Entries()[i].Extension + plain.Entries()[i].Language);
    }
}

} // namespace
} // namespace ov
