#include "Viewertestsupport.h"

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

using test::TViewerFixture;

class ViewerProperties : public ::testing::Test, public TViewerFixture {
protected:
    void SetUp() override {
        Viewer->OnDrawLine = [this](TOVSynTextViewer*, QPainter&, int, int, int) { ++Draws; };
        Viewer->OnTopIndexChanged = [this](TOVSynTextViewer*) { ++Events; };
    }
    int Draws = 0;
    int Events = 0;
};

TEST_F(ViewerProperties, NewViewShowsNothing) {
    EXPECT_EQ(Viewer->TopIndex(), -1);
    EXPECT_FALSE(Viewer->WordWrap());
    EXPECT_TRUE(Viewer->UseBitmapFont());
    EXPECT_TRUE(Viewer->EnabeHighlighting());
    EXPECT_EQ(Viewer->TabWidth(), 4);
    EXPECT_TRUE(Viewer->ShowLineNum());
    EXPECT_EQ(Viewer->WheelScrollLines(), 3);
    EXPECT_EQ(Viewer->LeftMargin(), 2);
    EXPECT_EQ(Viewer->TopMargin(), 2);
    EXPECT_EQ(Viewer->LineSpace(), 2);
    EXPECT_EQ(Viewer->HanFont(), "default.han");
    EXPECT_EQ(Viewer->SPCFont(), "default.ksg");
    EXPECT_EQ(Viewer->SelStart(), NoTextPoint);
    EXPECT_EQ(Viewer->LineHeight(), 16);
    SetClientSize(200, 100);
    Viewer->DrawScreen(false);
    EXPECT_TRUE(test::AreaIs(Viewer->BackBuffer(), 0, 0, 200, 100, RgbFromColor(Viewer->Color())));
}

TEST_F(ViewerProperties, UnchangedValuesCauseNoRepaintAndNoEvent) {
    SetClientSize(300, HeightForRows(10));
    SetText("one\ntwo\nthree\n");
    Draws = Events = 0;
    Viewer->SetTabWidth(4);
    Viewer->SetShowLineNum(true);
    Viewer->SetWordWrap(false);
    Viewer->SetUseBitmapFont(true);
    Viewer->SetLeftMargin(2);
    Viewer->SetLineSpace(2);
    Viewer->SetBackColor(Viewer->BackColor());
    Viewer->SetTopIndex(Viewer->TopIndex());
    EXPECT_EQ(Draws, 0);
    EXPECT_EQ(Events, 0);
    Viewer->SetTabWidth(8);
    EXPECT_EQ(Draws, 3);
}

TEST_F(ViewerProperties, TextReplacementResetsTopSelectionAndRaisesTheEvent) {
    SetClientSize(300, HeightForRows(5));
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "line " + std::to_string(i) + "\n";
    SetText(text);
    EXPECT_EQ(Viewer->TopIndex(), 0);
    EXPECT_EQ(Viewer->RowCount(), 50);
    Viewer->SetTopIndex(20);
    Viewer->SetSelStart({0, 21});
    Viewer->SetSelEnd({3, 22});
    EXPECT_TRUE(Viewer->IsSelection());
    Events = 0;
    SetText("a\nb\n");
    EXPECT_EQ(Events, 1);
    EXPECT_EQ(Viewer->TopIndex(), 0);
    EXPECT_FALSE(Viewer->IsSelection());
    SetText("");
    EXPECT_EQ(Viewer->TopIndex(), -1);
}

TEST_F(ViewerProperties, BackColorWhileHighlightingChangesNothingVisible) {
    SetClientSize(200, HeightForRows(4));
    Highlighter->Colors[0] = {RGBColor(0, 0, 0), RGBColor(250, 240, 200)};
    SetText("abc\n");
    Viewer->SetSynLang("C");
    EXPECT_TRUE(Viewer->HighlightActive());
    EXPECT_EQ(Viewer->Color(), RGBColor(250, 240, 200));
    const QImage before = Viewer->BackBuffer().copy();
    Viewer->SetBackColor(RGBColor(255, 0, 0));
    EXPECT_EQ(Viewer->BackBuffer(), before);
    Viewer->SetEnableHighlighting(false);
    EXPECT_EQ(Viewer->Color(), RGBColor(255, 0, 0));
    EXPECT_NE(Viewer->BackBuffer(), before);
}

TEST_F(ViewerProperties, SynLangInsideAnUpdateBracketHighlightsOnceAtItsEnd) {
    Viewer->Lines().BeginUpdate();
    Viewer->Lines().SetTextStr("x\ny\n");
    Viewer->SetSynLang("C");
    EXPECT_EQ(Highlighter->ExecuteCount, 0);
    Viewer->Lines().EndUpdate();
    EXPECT_EQ(Highlighter->ExecuteCount, 1);
    Viewer->RefreshStyle();
    EXPECT_EQ(Highlighter->ExecuteCount, 2);
}

// Highlighting switched off, or no language: the highlighter never runs,
// whatever changes the text; switching it on runs it once.
TEST_F(ViewerProperties, HighlighterRunsOnlyWhileHighlightingIsOnWithALanguage) {
    Viewer->SetEnableHighlighting(false);
    Viewer->SetSynLang("C");
    SetText("x\ny\n");
    Viewer->Lines().Add("z");
    Viewer->RefreshStyle();
    Viewer->SetWordWrap(true);
    EXPECT_EQ(Highlighter->ExecuteCount, 0);
    Viewer->SetEnableHighlighting(true);
    EXPECT_EQ(Highlighter->ExecuteCount, 1);
    SetText("a\n");
    EXPECT_EQ(Highlighter->ExecuteCount, 2);
    Viewer->SetSynLang("");
    SetText("b\n");
    EXPECT_EQ(Highlighter->ExecuteCount, 2);
}

TEST_F(ViewerProperties, WidestLineCountsTabsAsOneCellButDrawsThemWide) {
    SetClientSize(400, HeightForRows(4));
    SetText(std::string(10, '\t') + "X\n");
    EXPECT_EQ(Viewer->MaxStrWidth(), 88);
    // Drawn, the ten tabs take 320 pixels before the X.
    const QRgb text = RgbFromColor(Viewer->ForeColor()), back = RgbFromColor(Viewer->BackColor());
    EXPECT_TRUE(test::CellIs(Viewer->BackBuffer(), Viewer->GetGutterWidth() + 320,
                             Viewer->TopMargin(), 'X', 0, text, back));
}

// The widest line is the longest line's, wherever that stands in a long
// text and however the text is held: a list of its own, or a mapped file
// whose index tells the longest line of a stretch without its text (also of
// one too long for the index to keep).
TEST_F(ViewerProperties, TheWidestLineOfALongTextIsItsLongestLines) {
    std::mt19937 random(3);
    for (const int at : {0, 4095, 4096, 8192, 19999}) {
        for (const int longest : {90, 70000}) {
            std::string text;
            for (int line = 0; line < 20000; ++line)
                text += std::string(line == at ? std::size_t(longest) : random() % 80, 'w') + "\n";
            SetText(text);
            EXPECT_EQ(Viewer->MaxStrWidth(), 8LL * longest) << at;
            ASSERT_TRUE(Viewer->Lines().LoadViewedFile(Folder.Write("long.txt", text)));
            ASSERT_EQ(Viewer->Lines().Count(), 20000);
            EXPECT_EQ(Viewer->MaxStrWidth(), 8LL * longest) << at;
        }
    }
}

TEST_F(ViewerProperties, SwitchingFontsWithWrapRecomputesRowsAndLineHeight) {
    SetClientSize(200, 200);
    Viewer->SetWordWrap(true);
    SetText(std::string(100, 'w') + "\nshort\n");
    const int gutter = Viewer->GetGutterWidth();
    const int cellsPerRow = (200 - gutter) / 8;
    EXPECT_EQ(Viewer->RowCount(), (100 + cellsPerRow - 1) / cellsPerRow + 1);
    Viewer->SetUseBitmapFont(false);
    EXPECT_EQ(Viewer->LineHeight(), QFontMetrics(Viewer->font()).height());
    const int outlineRows = Viewer->RowCount();
    Viewer->SetUseBitmapFont(true);
    EXPECT_EQ(Viewer->LineHeight(), 16);
    EXPECT_EQ(Viewer->RowCount(), (100 + cellsPerRow - 1) / cellsPerRow + 1);
    EXPECT_GE(outlineRows, 2);
}

TEST_F(ViewerProperties, WrappedRowsFitTheGutterThatTheirCountGives) {
    SetClientSize(240, HeightForRows(10));
    Viewer->SetWordWrap(true);
    std::string text;
    for (int i = 0; i < 80; ++i)
        text += std::string(std::size_t(20 + i % 17), char('a' + i % 26)) + "\n";
    SetText(text); // from 1 row to more than 99: the gutter grows by two digits
    ASSERT_GE(Viewer->RowCount(), 100);
    const int area = Viewer->ClientWidth() - Viewer->GetGutterWidth();
    for (int r = 0; r < Viewer->WrapedLines().Count(); ++r)
        ASSERT_LE(Viewer->WrapedLines()[r].Length * 8, area);
}

TEST_F(ViewerProperties, WordWrapOffEmptiesTheRowsAndRaisesTheEvent) {
    SetClientSize(120, HeightForRows(5));
    Viewer->SetWordWrap(true);
    SetText(std::string(200, 'a') + "\nb\n");
    EXPECT_GT(Viewer->RowCount(), 2);
    Events = 0;
    Viewer->SetWordWrap(false);
    EXPECT_EQ(Events, 1);
    EXPECT_EQ(Viewer->RowCount(), 2);
    EXPECT_TRUE(Viewer->WrapedLines().Empty());
    EXPECT_EQ(Viewer->MaxStrWidth(), 200 * 8);
}

TEST_F(ViewerProperties, SelectionNeedsValidEndsAndSelectAllStopsAtTheLastByte) {
    SetText("abcdefg\n\n");
    Viewer->SetSelStart({2, 0});
    Viewer->SetSelEnd({4, 0});
    EXPECT_TRUE(Viewer->IsLocationInSelText(0, 3));
    EXPECT_FALSE(Viewer->IsLocationInSelText(0, 5));
    Viewer->SetSelEnd({9, 0}); // past the line: the whole selection goes
    EXPECT_FALSE(Viewer->IsSelection());
    Viewer->SelectAll();
    EXPECT_EQ(Viewer->SelStart(), (TTextPoint{0, 0}));
    EXPECT_EQ(Viewer->SelEnd(), (TTextPoint{0, 1}));
    Viewer->Deselect();
    EXPECT_FALSE(Viewer->IsSelection());
}

} // namespace
} // namespace ov
