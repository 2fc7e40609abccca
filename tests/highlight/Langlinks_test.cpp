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

} // namespace
} // namespace ov
