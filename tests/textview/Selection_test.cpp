#include "Hittest.h"
#include "Messages.h"
#include "Selection.h"
#include "Uiservices.h"
#include "Viewertestsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

using test::TViewerFixture;

// --- drag arithmetic ----------------------------------------------------------

TTextRange Drag(TTextPoint anchor, TTextPoint pointer, const std::vector<int>& lengths) {
    return DragSelection(anchor, pointer, int(lengths.size()),
                         [&](int row) { return lengths[std::size_t(row)]; });
}

TEST(DragSelection, ThePointerIsABoundaryBetweenCharacters) {
    const std::vector<int> rows{10, 10, 0, 10, 10, 10};
    // Forward: up to, not including, the character under the pointer.
    EXPECT_EQ(Drag({3, 1}, {7, 1}, rows), TTextRange({3, 1}, {6, 1}));
    // Backward: from the pointer's character, not including the anchor's.
    // The anchor's end comes first.
    EXPECT_EQ(Drag({7, 1}, {3, 1}, rows), TTextRange({6, 1}, {3, 1}));
    // A click without a move selects nothing.
    EXPECT_TRUE(Drag({3, 1}, {3, 1}, rows).IsEmpty());
    // From the middle of a row to below the last row: to the end of the last.
    EXPECT_EQ(Drag({4, 1}, HitBelowRows, rows), TTextRange({4, 1}, {9, 5}));
    // Upward from left of the text of row 5 to above the first row.
    EXPECT_EQ(Drag({HitLeftOfText, 5}, HitAboveRows, rows), TTextRange({9, 4}, {0, 0}));
    // Past a row's end as the earlier end: the next row's start.
    EXPECT_EQ(Drag({HitPastRowEnd, 0}, {2, 1}, rows), TTextRange({0, 1}, {1, 1}));
    // Into the gutter of an empty row's successor: the empty row's place.
    EXPECT_EQ(Drag({5, 0}, {HitLeftOfText, 3}, rows), TTextRange({5, 0}, {0, 2}));
    // Left of the text in the first row, pointer above: no row before the
    // first is ever addressed.
    EXPECT_TRUE(Drag({HitLeftOfText, 0}, HitAboveRows, rows).IsEmpty());
    // From past the last row's end to below the rows, or from past one row's
    // end into the next row's gutter: nothing lies between.
    EXPECT_TRUE(Drag({HitPastRowEnd, 5}, HitBelowRows, rows).IsEmpty());
    EXPECT_TRUE(Drag({HitPastRowEnd, 3}, {HitLeftOfText, 4}, rows).IsEmpty());
}

// Whatever the two hits, special values included, a drag selects either
// nothing or a range whose ends are places of the rows, in order.
TEST(DragSelection, EndsAlwaysLieInsideTheRows) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::vector<int> rows(1 + random() % 6);
        for (int& length : rows)
            length = int(random() % 5);
        auto hit = [&]() -> TTextPoint {
            switch (random() % 6) {
            case 0:
                return HitAboveRows;
            case 1:
                return HitBelowRows;
            case 2:
                return {HitLeftOfText, int(random() % rows.size())};
            case 3:
                return {HitPastRowEnd, int(random() % rows.size())};
            default: {
                const int row = int(random() % rows.size());
                return {int(random() % std::max(rows[std::size_t(row)], 1)), row};
            }
            }
        };
        const TTextPoint a = hit(), p = hit();
        const TTextRange range = Drag(a, p, rows);
        if (range.IsEmpty())
            continue;
        for (TTextPoint end : {range.Start(), range.End()}) {
            ASSERT_GE(end.Y, 0);
            ASSERT_LT(end.Y, int(rows.size()));
            ASSERT_GE(end.X, 0);
            ASSERT_LT(end.X, std::max(rows[std::size_t(end.Y)], 1));
        }
        // The anchor's end first, whichever way the drag went.
        ASSERT_EQ(range.Start(), IsBefore(p, a) ? range.Last() : range.First());
    }
}

// --- the viewer under the mouse -------------------------------------------------

class ViewerSelection : public ::testing::Test, public TViewerFixture {
protected:
    void SetUp() override { SetClientSize(300, HeightForRows(10)); }
    int Pitch() const { return Viewer->LineHeight() + Viewer->LineSpace(); }
    // The client point of the middle of the cell of column in row (a
    // display row on screen), bitmap fonts.
    QPoint Cell(int column, int row) const {
        return {Viewer->GetGutterWidth() + 8 * column + 4,
                Viewer->TopMargin() + (row - Viewer->TopIndex()) * Pitch() + 5};
    }
    void Press(QPoint at) { QTest::mousePress(Viewer->viewport(), Qt::LeftButton, {}, at); }
    void Move(QPoint at) {
        QMouseEvent event(QEvent::MouseMove, at, Viewer->viewport()->mapToGlobal(at),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Viewer->viewport(), &event);
    }
    void Release(QPoint at) { QTest::mouseRelease(Viewer->viewport(), Qt::LeftButton, {}, at); }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        Move(to);
        Release(to);
    }
};

TEST_F(ViewerSelection, DragSelectsWholeCharactersAndCopiesUnicodeWithLineFeeds) {
    // "가" is 0xB0 0xA1 in CP949.
    SetText("ab\xB0\xA1" "cd\nsecond line\nthird\n");
    // Forward from 'b' to the middle of 'c': "b가".
    Drag(Cell(1, 0), Cell(4, 0));
    EXPECT_EQ(Viewer->Selection(), TTextRange({1, 0}, {3, 0}));
    EXPECT_EQ(Viewer->GetSelText(), "b\xB0\xA1");
    // The second half of the double-byte character is its first byte.
    Drag(Cell(3, 0), Cell(0, 0));
    EXPECT_EQ(Viewer->Selection(), TTextRange({1, 0}, {0, 0}));
    EXPECT_EQ(Viewer->GetSelText(), "ab");
    // Across lines, copied with LF.
    Drag(Cell(4, 0), Cell(2, 2));
    EXPECT_EQ(Viewer->GetSelText(), "cd\r\nsecond line\r\nth");
    Viewer->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("cd\nsecond line\nth"));
    Drag(Cell(0, 0), Cell(4, 0));
    Viewer->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("ab가"));
    // A click without a drag leaves no selection, and Copy then leaves the
    // clipboard alone.
    Press(Cell(2, 1));
    Release(Cell(2, 1));
    EXPECT_FALSE(Viewer->IsSelection());
    Viewer->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("ab가"));
}

TEST_F(ViewerSelection, Utf8DocumentSelectsAndCopiesWholeCharacters) {
    Viewer->Lines().SetCoding(TTextCoding::Utf8);
    // "a", "한" (three bytes, two cells), a stray byte (one cell), "b".
    SetText("a\xED\x95\x9C\xFF" "b\n");
    Drag(Cell(0, 0), Cell(4, 0));
    EXPECT_EQ(Viewer->Selection(), TTextRange({0, 0}, {4, 0}));
    Viewer->CopyToClipboard();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("a한\uFFFD"));
    // Backward from the stray byte onto the second cell of "한": "한" only.
    Drag(Cell(3, 0), Cell(2, 0));
    EXPECT_EQ(Viewer->GetSelText(), "\xED\x95\x9C");
}

TEST_F(ViewerSelection, DragAcrossWrappedRowsSelectsByteColumnsOfTheLine) {
    const int gutterGuess = Viewer->GetGutterWidth();
    SetClientSize(gutterGuess + 8 * 10, HeightForRows(10));
    Viewer->SetWordWrap(true);
    SetText(std::string("0123456789abcdefghijKLMNO\nnext\n"));
    ASSERT_EQ(Viewer->RowCount(), 4);
    const int perRow = Viewer->WrapedLines()[0].Length;
    // From column 2 of the first row to column 3 of the third row.
    Drag(Cell(2, 0), Cell(3, 2));
    EXPECT_EQ(Viewer->Selection(), TTextRange({2, 0}, {2 * perRow + 2, 0}));
    EXPECT_EQ(Viewer->GetSelText(),
              std::string("0123456789abcdefghijKLMNO").substr(2, std::size_t(2 * perRow + 1)));
    // Backward from the second row into the gutter of the first: from the
    // line's start.
    Drag(Cell(1, 1), QPoint(1, Cell(0, 0).y()));
    EXPECT_EQ(Viewer->Selection(), TTextRange({perRow, 0}, {0, 0}));
}

// Extending a drag by a row draws that row again, not the window; the screen
// left behind is always the one a fresh paint draws.
TEST_F(ViewerSelection, DragRepaintsOnlyTheRowsWhoseSelectionChanged) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + " \xC7\xD1\xB1\xDB text\n";
    SetText(text);
    int drawn = 0;
    Viewer->OnDrawLine = [&](TOVSynTextViewer*, QPainter&, int, int, int) { ++drawn; };
    Press(Cell(3, 1));
    for (int row = 1; row < 9; ++row) {
        drawn = 0;
        Move(Cell(5, row));
        EXPECT_LE(drawn, 2) << "row " << row;
        const QImage partial = Viewer->BackBuffer().copy();
        Viewer->DrawScreen(false);
        ASSERT_EQ(partial, Viewer->BackBuffer()) << "row " << row;
    }
    drawn = 0;
    Move(Cell(5, 1));
    EXPECT_LE(drawn, 8);
    Release(Cell(5, 1));
    EXPECT_EQ(Viewer->Selection(), TTextRange({3, 1}, {4, 1}));
    // A selection that goes away is drawn away.
    Viewer->Deselect();
    const QImage cleared = Viewer->BackBuffer().copy();
    Viewer->DrawScreen(false);
    EXPECT_EQ(cleared, Viewer->BackBuffer());
}

TEST_F(ViewerSelection, DragPastTheBottomEdgeScrollsAndKeepsSelectingUntilRelease) {
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += "row " + std::to_string(i) + "\n";
    SetText(text);
    Press(Cell(1, 2));
    const QPoint below(Cell(2, 0).x(), Viewer->ClientHeight() + 30);
    Move(below);
    QElapsedTimer timer;
    timer.start();
    while (Viewer->TopIndex() < 5 && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_GE(Viewer->TopIndex(), 5);
    // The selection followed the scrolling without another mouse move.
    EXPECT_GE(Viewer->Selection().Last().Y, Viewer->TopIndex() + Viewer->VisibleRows() - 2);
    Release(below);
    const int top = Viewer->TopIndex();
    const TTextRange selection = Viewer->Selection();
    QTest::qWait(200);
    EXPECT_EQ(Viewer->TopIndex(), top);
    EXPECT_EQ(Viewer->Selection(), selection);
    EXPECT_EQ(selection.First(), (TTextPoint{1, 2}));
    // A pointer that comes back inside stops the scrolling.
    Press(Cell(1, top + 2));
    Move(QPoint(Cell(2, 0).x(), -20));
    timer.restart();
    while (Viewer->TopIndex() == top && timer.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_LT(Viewer->TopIndex(), top);
    Move(Cell(3, Viewer->TopIndex() + 3));
    const int stopped = Viewer->TopIndex();
    QTest::qWait(200);
    EXPECT_EQ(Viewer->TopIndex(), stopped);
    Release(Cell(3, stopped + 3));
}

TEST_F(ViewerSelection, ReplacingTheDocumentClearsAHeldSelection) {
    SetText("first document line\nsecond\nthird\n");
    int changes = 0;
    Viewer->OnSelectionChange = [&](TOVSynTextViewer*) { ++changes; };
    Press(Cell(2, 0));
    Move(Cell(3, 2));
    ASSERT_TRUE(Viewer->IsSelection());
    changes = 0;
    SetText("x\n");
    EXPECT_FALSE(Viewer->IsSelection());
    EXPECT_EQ(changes, 1);
    // The drag goes on over the new text without reaching past it.
    Move(Cell(5, 3));
    Release(Cell(5, 3));
    EXPECT_FALSE(Viewer->IsSelection());
    EXPECT_EQ(Viewer->GetSelText(), "");
}

TEST_F(ViewerSelection, CopyAllAsksFromAHundredThousandLinesAndKeepsTheSelection) {
    TScriptedUIServices services;
    TUIServicesGuard guard(&services);
    std::string text;
    for (int i = 0; i < TOVSynTextViewer::LargeCopyLines - 1; ++i)
        text += "\xC7\xD1\n";
    SetText(text);
    Viewer->SetSelection({{0, 1}, {1, 1}});
    Viewer->CopyAll();
    EXPECT_TRUE(services.Records.empty());
    const QString all = QGuiApplication::clipboard()->text();
    EXPECT_EQ(all.size(), 2 * (TOVSynTextViewer::LargeCopyLines - 1) - 1);
    EXPECT_TRUE(all.startsWith(QString::fromUtf8("한\n한")));
    EXPECT_EQ(Viewer->Selection(), TTextRange({0, 1}, {1, 1}));

    Viewer->Lines().Add("x");
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    services.Answers = {false};
    Viewer->CopyAll();
    ASSERT_EQ(services.Records.size(), 1u);
    EXPECT_EQ(services.Records[0].Caption, "경고");
    EXPECT_EQ(services.Records[0].Icon, TMessageIcon::Warning);
    // It names the size of the text: 99,999 lines of three bytes and "x".
    EXPECT_NE(services.Records[0].Text.find("(약 293 KB)"), std::string::npos) << services.Records[0].Text;
    EXPECT_NE(LargeCopyQuestion(1288490189).find("(약 1.2 GB)"), std::string::npos);
    EXPECT_NE(LargeCopyQuestion(350u << 20).find("(약 350 MB)"), std::string::npos);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_EQ(Viewer->Selection(), TTextRange({0, 1}, {1, 1}));
    services.Answers = {true};
    Viewer->CopyAll();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("\nx")));
}

} // namespace
} // namespace ov
