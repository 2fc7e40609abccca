#include "Errors.h"
#include "Files.h"
#include "Highlighttestsupport.h"
#include "Uiservices.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

using test::Crlf;
using test::SetLines;

TEST(HighlighterSet, SetLangReadsFilesOnlyWhenTheNameChanges) {
    test::TDefinitionFolder folder;
    folder.Add("Demo", test::DemoSyntax, "Normal=#111111\r\n");
    TOVSynHighlighter highlighter(folder.Path());
    highlighter.SetLang("Demo");
    EXPECT_EQ(highlighter.GetStyles(0).Fore, RGBColor(0x11, 0x11, 0x11));

    folder.Add("Demo", test::DemoSyntax, "Normal=#222222\r\n");
    highlighter.SetLang("Demo");
    EXPECT_EQ(highlighter.GetStyles(0).Fore, RGBColor(0x11, 0x11, 0x11));
    highlighter.SetLang("");
    EXPECT_TRUE(highlighter.Languages().empty());
    highlighter.SetLang("Demo");
    EXPECT_EQ(highlighter.GetStyles(0).Fore, RGBColor(0x22, 0x22, 0x22));

    folder.Add("Demo", test::DemoSyntax, "Normal=#333333\r\n");
    highlighter.Refresh();
    EXPECT_EQ(highlighter.GetStyles(0).Fore, RGBColor(0x33, 0x33, 0x33));
}

TEST(HighlighterSet, AddLangNeedsALanguageIgnoresCaseAndIsBounded) {
    test::TDefinitionFolder folder;
    TOVSynHighlighter highlighter(folder.Path());
    highlighter.AddLang("JS");
    EXPECT_TRUE(highlighter.Languages().empty());
    highlighter.SetLang("html");
    highlighter.AddLang("HTML");
    EXPECT_EQ(highlighter.Languages().size(), 1u);
    for (int i = 0; i < 20; ++i)
        highlighter.AddLang("L" + std::to_string(i));
    ASSERT_EQ(static_cast<int>(highlighter.Languages().size()), MaxLanguages);
    EXPECT_LE((MaxLanguages - 1) * StyleCount + StyleCount - 1, 127) << "every id fits a byte";
}

TEST(HighlighterSet, AnHtmlDocumentNamedInLowerCaseGetsNoSecondSlot) {
    test::TDefinitionFolder folder;
    folder.Add("html", "HTML_LANG=1\r\n#Item \"Tag\"\r\n<b\r\n");
    auto highlighter = folder.Highlighter("html");
    TOVSynStringList lines;
    SetLines(lines, {"<b>"});
    ASSERT_TRUE(highlighter->Execute(lines));
    EXPECT_EQ(highlighter->Languages().size(), 1u);
    EXPECT_EQ(test::MarksOf(lines, 0), "0:+7 2:-7");
}

TEST(HighlighterSet, ExecuteNeedsALanguageAndAcceptsAnEmptyDocument) {
    test::TDefinitionFolder folder;
    TOVSynHighlighter highlighter(folder.Path());
    TOVSynStringList lines;
    SetLines(lines, {"1"});
    EXPECT_FALSE(highlighter.Execute(lines));
    EXPECT_EQ(lines.GetStyleID(0, 0), 0);

    highlighter.SetLang("Missing");
    EXPECT_TRUE(highlighter.Execute(lines)) << "missing files leave empty rules";
    EXPECT_EQ(lines.GetStyleID(0, 0), -1) << "numbers are still marked";
    TOVSynStringList empty;
    EXPECT_TRUE(highlighter.Execute(empty));

    TOVSynHighlighter noFolder("");
    noFolder.SetLang("Missing");
    EXPECT_FALSE(noFolder.Execute(lines));
}

TEST(HighlighterSet, ExecuteShowsTheWaitCursorOnce) {
    test::TDefinitionFolder folder;
    auto highlighter = folder.Highlighter("Demo");
    TScriptedUIServices services;
    TUIServicesGuard guard(&services);
    TOVSynStringList lines;
    SetLines(lines, {"1"});
    highlighter->Execute(lines);
    EXPECT_EQ(services.WaitCount, 1);
    EXPECT_EQ(services.WaitDepth, 0);
}

TEST(HighlighterSet, StyleNamesAndColoursOfIds) {
    test::TDefinitionFolder folder;
    folder.Add("Demo", Crlf({"#Item \"Key word\"", "int", "#Item", "x"}),
               Crlf({"Normal=#010101,#FEFEFE", "Item0=#0000FF"}));
    auto highlighter = folder.Highlighter("Demo");
    EXPECT_EQ(highlighter->GetStyleNameOf(0), "Normal");
    EXPECT_EQ(highlighter->GetStyleNameOf(6), "HTMLValue");
    EXPECT_EQ(highlighter->GetStyleNameOf(7), "Key word");
    EXPECT_EQ(highlighter->GetStyleNameOf(8), "") << "an item without a quoted name";
    EXPECT_EQ(highlighter->GetStyleNameOf(16), "");
    EXPECT_EQ(highlighter->GetStyleNameOf(17), "") << "no slot 1";
    EXPECT_EQ(highlighter->GetStyleNameOf(-3), "");
    EXPECT_EQ(highlighter->GetStyles(7).Fore, RGBColor(0, 0, 255));
    EXPECT_EQ(highlighter->GetStyles(7).Back, RGBColor(0xFE, 0xFE, 0xFE));
    EXPECT_EQ(highlighter->GetStyles(17 + 7).Fore, RGBColor(0, 0, 255)) << "unknown slot: slot 0";
    EXPECT_EQ(highlighter->GetStyles(-7).Fore, RGBColor(1, 1, 1));
    TOVSynHighlighter none(folder.Path());
    EXPECT_EQ(none.GetStyles(7).Back, ColorWhite);
}

TEST(HighlighterSet, ABadStyleFileThrowsButLeavesAUsableSlot) {
    test::TDefinitionFolder folder;
    folder.Add("Demo", test::DemoSyntax, "Normal=#GGGGGG\r\n");
    TOVSynHighlighter highlighter(folder.Path());
    EXPECT_THROW(highlighter.SetLang("Demo"), EConvertError);
    TOVSynStringList lines;
    SetLines(lines, {"int"});
    ASSERT_TRUE(highlighter.Execute(lines));
    EXPECT_EQ(test::MarksOf(lines, 0), "0:+7 2:-7");
}

TEST(HighlighterSet, FolderAndFileNamesJoin) {
    EXPECT_EQ(TOVSynHighlighter::JoinPath("/opt/tools/Syntax", "Demo.syn"),
              "/opt/tools/Syntax/Demo.syn");
    EXPECT_EQ(TOVSynHighlighter::JoinPath("/opt/tools/Syntax/", "Demo.syn"),
              "/opt/tools/Syntax/Demo.syn");
    EXPECT_EQ(TOVSynHighlighter::JoinPath("", "Demo.syn"), "Demo.syn");
    EXPECT_EQ(TOVSynHighlighter::JoinPath("/opt", ""), "/opt");
}

TEST(HighlighterSet, DefinitionFilesAreFoundWhateverTheirCase) {
    test::TDefinitionFolder folder;
    folder.Add("demo", test::DemoSyntax, "Normal=#123456\r\n");
    auto highlighter = folder.Highlighter("Demo");
    EXPECT_EQ(highlighter->GetStyles(0).Fore, RGBColor(0x12, 0x34, 0x56));
    EXPECT_STREQ(highlighter->Syntax(0).LineComment1, "//");
}

// The user's folder is read first, file by file; a user style that is empty
// or holds a bad colour gives way to the shipped one; a user-only language
// keeps its own error.
TEST(HighlighterSet, UserDefinitionsComeFirstAndADamagedUserStyleFallsBack) {
    test::TDefinitionFolder shipped;
    test::TDefinitionFolder user;
    shipped.Add("Demo", test::DemoSyntax, "Normal=#111111\r\n");
    user.Add("Demo", "LineComment1=;\r\n", "Normal=#AAAAAA\r\n");
    TOVSynHighlighter highlighter(shipped.Path(), user.Path());
    highlighter.SetLang("Demo");
    EXPECT_EQ(highlighter.GetStyles(0).Fore, RGBColor(0xAA, 0xAA, 0xAA));
    EXPECT_STREQ(highlighter.Syntax(0).LineComment1, ";");

    for (const char* damaged : {"", " \r\n", "Normal=#GG0000\r\nNumber=#AAAAAA\r\n"}) {
        ASSERT_TRUE(WriteWholeFile(user.Path() + "Demo.sty", damaged));
        highlighter.Refresh();
        EXPECT_EQ(highlighter.GetStyles(0).Fore, RGBColor(0x11, 0x11, 0x11)) << damaged;
        EXPECT_EQ(highlighter.GetStyles(1).Fore, ColorBlack) << damaged;
        EXPECT_STREQ(highlighter.Syntax(0).LineComment1, ";") << "the syntax is the user's";
    }

    user.Add("Mine", test::DemoSyntax, "Normal=#GG0000\r\n");
    TOVSynHighlighter own(shipped.Path(), user.Path());
    EXPECT_THROW(own.SetLang("Mine"), EConvertError);
    EXPECT_STREQ(own.Syntax(0).LineComment1, "//");

    // The same folder twice is the portable layout: one set of files.
    TOVSynHighlighter portable(shipped.Path(), shipped.Path());
    portable.SetLang("Demo");
    EXPECT_EQ(portable.GetStyles(0).Fore, RGBColor(0x11, 0x11, 0x11));
}

} // namespace
} // namespace ov
