#include "Viewertestsupport.h"

#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

#include <random>

#include <gtest/gtest.h>

namespace ov {
namespace {

using test::TViewerFixture;

class ViewerScroll : public ::testing::Test, public TViewerFixture {
protected:
    void SetUp() override {
        Viewer->OnTopIndexChanged = [this](TOVSynTextViewer*) { ++Events; };
        Viewer->OnDrawLine = [this](TOVSynTextViewer*, QPainter&, int, int, int) { ++Draws; };
    }
    void SetLines(int count, const std::string& prefix = "row ") {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += prefix + std::to_string(i) + "\n";
        SetText(text);
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(Viewer.get(), &event);
    }
    int Events = 0;
    int Draws = 0;
};

TEST_F(ViewerScroll, TopIndexClampsToOnePastTheLastPage) {
    SetClientSize(300, HeightForRows(20));
    ASSERT_EQ(Viewer->VisibleRows(), 20);
    SetLines(100);
    Viewer->SetTopIndex(500);
    EXPECT_EQ(Viewer->TopIndex(), 81);
    Viewer->SetTopIndex(10);
    Key(Qt::Key_End);
    EXPECT_EQ(Viewer->TopIndex(), 81);
    Viewer->SetTopIndex(-5);
    EXPECT_EQ(Viewer->TopIndex(), 0);
    EXPECT_EQ(Viewer->VertScrollPos(), 0);
}

TEST_F(ViewerScroll, EventOnEveryNewValueEvenWhenClampingKeepsIt) {
    SetClientSize(300, HeightForRows(20));
    SetLines(100);
    Events = Draws = 0;
    Viewer->SetTopIndex(0);
    EXPECT_EQ(Events, 0);
    Viewer->SetTopIndex(-5);
    EXPECT_EQ(Events, 1);
    EXPECT_EQ(Draws, 0);
    Viewer->SetTopIndex(3);
    EXPECT_EQ(Events, 2);
    EXPECT_EQ(Draws, 4); // three new rows and the partly visible one
}

TEST_F(ViewerScroll, FewRowsAlwaysShowFromTheTopWithTheBarDisabled) {
    SetClientSize(300, HeightForRows(20));
    SetLines(5);
    Viewer->SetTopIndex(3);
    EXPECT_EQ(Viewer->TopIndex(), 0);
    EXPECT_FALSE(Viewer->verticalScrollBar()->isEnabled());
    SetText("");
    Viewer->SetTopIndex(7);
    EXPECT_EQ(Viewer->TopIndex(), 0);
}

TEST_F(ViewerScroll, WheelNotchMovesWheelScrollLinesRows) {
    SetClientSize(300, HeightForRows(20));
    SetLines(100);
    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewer->viewport(), &down);
    EXPECT_EQ(Viewer->TopIndex(), 3);
    QWheelEvent up(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Viewer->viewport(), &up);
    EXPECT_EQ(Viewer->TopIndex(), 0);
    // Fractions of a notch gather into one.
    for (int k = 0; k < 4; ++k) {
        QWheelEvent part(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -30), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewer->viewport(), &part);
        EXPECT_EQ(Viewer->TopIndex(), k < 3 ? 0 : 3);
    }
}

TEST_F(ViewerScroll, KeysPageAndIgnoreModifiers) {
    SetClientSize(300, HeightForRows(20));
    SetLines(100);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(Viewer->TopIndex(), 19);
    Key(Qt::Key_Down);
    EXPECT_EQ(Viewer->TopIndex(), 20);
    Key(Qt::Key_Down, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Viewer->TopIndex(), 20);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Viewer->TopIndex(), 1);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(Viewer->TopIndex(), 0);
    int keys = 0;
    Viewer->OnKeyDown = [&](TOVSynTextViewer*, int, Qt::KeyboardModifiers) { ++keys; };
    Key(Qt::Key_A);
    EXPECT_EQ(keys, 1);
}

TEST_F(ViewerScroll, ThumbTrackReachesRowsBeyondSixteenBits) {
    SetClientSize(300, HeightForRows(20));
    SetLines(100000, "");
    Viewer->VertScroll(TScrollCode::Track, 99900);
    EXPECT_EQ(Viewer->TopIndex(), 99900);
    // A position past the rows is not a position of the bar.
    Viewer->VertScroll(TScrollCode::Track, 200000);
    EXPECT_EQ(Viewer->TopIndex(), 99900);
    // The bar itself: dragging the slider to its end.
    Viewer->verticalScrollBar()->setSliderPosition(0);
    Viewer->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    Viewer->verticalScrollBar()->setSliderPosition(70000);
    Viewer->verticalScrollBar()->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(Viewer->TopIndex(), 70000);
}

TEST_F(ViewerScroll, HorizontalScrollingByUnitsOnlyWithoutWrap) {
    SetClientSize(200, HeightForRows(5));
    SetText(std::string(100, 'h') + "\n");
    ASSERT_TRUE(Viewer->horizontalScrollBar()->isEnabled());
    Key(Qt::Key_Right);
    EXPECT_EQ(Viewer->HorzOffset(), 40);
    Viewer->HorzScroll(TScrollCode::PageForward);
    EXPECT_EQ(Viewer->HorzOffset(), 40 * (1 + (200 - Viewer->GetGutterWidth()) / 40));
    Viewer->SetWordWrap(true);
    EXPECT_FALSE(Viewer->horizontalScrollBar()->isEnabled());
    EXPECT_EQ(Viewer->HorzOffset(), 0);
    Viewer->HorzScroll(TScrollCode::LineForward);
    EXPECT_EQ(Viewer->HorzOffset(), 0);
}

TEST_F(ViewerScroll, ResizeKeepsTheViewInsideItsRows) {
    SetClientSize(300, HeightForRows(20));
    SetLines(100);
    Viewer->SetTopIndex(81);
    SetClientSize(300, HeightForRows(30));
    EXPECT_EQ(Viewer->VisibleRows(), 30);
    EXPECT_EQ(Viewer->TopIndex(), 71);
}

TEST_F(ViewerScroll, FewerWrappedRowsBringTheTopRowBack) {
    SetClientSize(200, HeightForRows(10));
    Viewer->SetWordWrap(true);
    SetLines(40, std::string(22, 'x')); // 23 or 24 cells: two rows with numbers, one without
    Viewer->SetTopIndex(Viewer->RowCount());
    const int before = Viewer->TopIndex();
    Events = 0;
    Viewer->SetShowLineNum(false); // wider text area: every line fits one row
    EXPECT_EQ(Viewer->RowCount(), 40);
    EXPECT_EQ(Viewer->TopIndex(), MaxTopIndex(40, Viewer->VisibleRows()));
    EXPECT_LT(Viewer->TopIndex(), before);
    EXPECT_EQ(Events, 1);
    EXPECT_EQ(Viewer->VertScrollPos(), Viewer->TopIndex());
}

TEST_F(ViewerScroll, DroppedFilesReachTheHandlerTogether) {
    std::vector<std::string> dropped;
    int calls = 0;
    Viewer->OnDropFiles = [&](TOVSynTextViewer* sender, const std::vector<std::string>& files) {
        EXPECT_EQ(sender, Viewer.get());
        dropped = files;
        ++calls;
    };
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/a.c"), QUrl::fromLocalFile("/tmp/b c.txt"),
                  QUrl::fromLocalFile("/tmp/\xED\x95\x9C.txt")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewer->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Viewer->viewport(), &drop);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dropped,
              (std::vector<std::string>{"/tmp/a.c", "/tmp/b c.txt", "/tmp/\xED\x95\x9C.txt"}));
}

TEST_F(ViewerScroll, FontChangeGivesTheOutlineLineHeight) {
    SetClientSize(300, 200);
    Viewer->SetUseBitmapFont(false);
    QFont font("DejaVu Sans");
    font.setPixelSize(30);
    Viewer->setFont(font);
    EXPECT_EQ(Viewer->LineHeight(), QFontMetrics(font).height());
    EXPECT_EQ(Viewer->VisibleRows(),
              CountVisibleRows(Viewer->ClientHeight(), 2, QFontMetrics(font).height(), 2));
    EXPECT_EQ(Viewer->HorzUnit(), 5 * QFontMetrics(font).horizontalAdvance('S'));
}

} // namespace
} // namespace ov

namespace ov {
namespace {

class ViewerScrollBars : public ::testing::Test, public test::TViewerFixture {};

// Word wrap brings the text back to its left edge; the bar and the next
// step must start from there too, not from where the bar was before.
TEST_F(ViewerScrollBars, HorizontalPositionStartsAgainAfterWrapping) {
    SetClientSize(300, HeightForRows(10));
    SetText(std::string(200, 'x') + "\n");
    for (int k = 0; k < 3; ++k)
        Viewer->HorzScroll(TScrollCode::LineForward);
    ASSERT_EQ(Viewer->HorzOffset(), 3 * Viewer->HorzUnit());
    Viewer->SetWordWrap(true);
    Viewer->SetWordWrap(false);
    EXPECT_EQ(Viewer->HorzOffset(), 0);
    EXPECT_EQ(Viewer->HorzScrollPos(), 0);
    EXPECT_EQ(Viewer->horizontalScrollBar()->value(), 0);
    Viewer->HorzScroll(TScrollCode::LineForward);
    EXPECT_EQ(Viewer->HorzOffset(), Viewer->HorzUnit());
}

// A new text that fits the window leaves the bar disabled; once wrapping
// gives it more rows than fit, one step down from the top is row 1.
TEST_F(ViewerScrollBars, VerticalPositionFollowsTheTopRowWhenTheBarComesBack) {
    SetClientSize(300, HeightForRows(20));
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "row " + std::to_string(i) + "\n";
    SetText(text);
    Viewer->SetTopIndex(50);
    SetText(std::string(400, 'a') + "\n" + std::string(400, 'b') + "\n" + std::string(400, 'c'));
    ASSERT_EQ(Viewer->TopIndex(), 0);
    Viewer->SetWordWrap(true);
    ASSERT_GT(Viewer->RowCount(), Viewer->VisibleRows() + 2);
    EXPECT_EQ(Viewer->VertScrollPos(), 0);
    EXPECT_EQ(Viewer->verticalScrollBar()->value(), 0);
    Viewer->VertScroll(TScrollCode::LineForward);
    EXPECT_EQ(Viewer->TopIndex(), 1);
}

// The horizontal bar measures the widest line in the font that draws it,
// and the text stays where the bar says after the font changes.
TEST_F(ViewerScrollBars, HorizontalBarFollowsAFontSwitch) {
    SetClientSize(300, HeightForRows(10));
    QFont font("DejaVu Sans");
    font.setPixelSize(17);
    Viewer->setFont(font);
    ASSERT_NE(5 * QFontMetrics(font).horizontalAdvance(QLatin1Char('S')), 40);
    SetText(std::string(1000, 'x') + "\n");
    auto expectBarMatches = [this](const char* when) {
        const TScrollRange range =
            HorzScrollRange(false, Viewer->ClientWidth() - Viewer->GetGutterWidth(),
                            Viewer->MaxStrWidth(), Viewer->HorzUnit());
        EXPECT_EQ(Viewer->horizontalScrollBar()->maximum(), range.LastPosition()) << when;
        EXPECT_EQ(Viewer->HorzOffset(), Viewer->HorzScrollPos() * Viewer->HorzUnit()) << when;
        EXPECT_EQ(Viewer->horizontalScrollBar()->value(), Viewer->HorzScrollPos()) << when;
    };
    Viewer->HorzScroll(TScrollCode::Track, 50);
    ASSERT_EQ(Viewer->HorzOffset(), 50 * 40);
    Viewer->SetUseBitmapFont(false);
    expectBarMatches("outline");
    Viewer->HorzScroll(TScrollCode::Track, 1000000);
    Viewer->SetUseBitmapFont(true);
    expectBarMatches("bitmap");
    EXPECT_GT(Viewer->HorzOffset(), 0);
}

// A line wider than 2^31 pixels (a large outline font keeps it a few MB):
// the end of the line scrolls into view, the offset is exact and a click
// there hits the line's last characters.
TEST_F(ViewerScrollBars, LinesWiderThanTwoGigapixelsScrollToTheirEnd) {
    SetClientSize(4000, 1700);
    Viewer->SetShowLineNum(false);
    QFont font("DejaVu Sans");
    font.setPixelSize(1500);
    Viewer->setFont(font);
    Viewer->SetUseBitmapFont(false);
    const int w = QFontMetrics(font).horizontalAdvance(QLatin1Char('W'));
    ASSERT_GT(w, 100);
    const long long columns = (1LL << 31) / w + 100000;
    SetText(std::string(std::size_t(columns), 'W') + "\n");
    ASSERT_GT(Viewer->MaxStrWidth(), 1LL << 31);
    Viewer->HorzScroll(TScrollCode::Track, 0x7FFFFFFF);
    const long long offset = Viewer->HorzOffset();
    EXPECT_EQ(offset, (long long)Viewer->HorzScrollPos() * Viewer->HorzUnit());
    // The last character lies inside the text area.
    const long long textWidth = Viewer->ClientWidth() - Viewer->GetGutterWidth();
    ASSERT_GT(textWidth, 2 * w);
    EXPECT_GE(offset + textWidth, Viewer->MaxStrWidth());
    EXPECT_LT(offset, Viewer->MaxStrWidth());
    const int x = Viewer->GetGutterWidth() + 5;
    const TTextPoint hit = Viewer->GetCharLocationAt(x, Viewer->TopMargin() + 1, true);
    EXPECT_EQ(hit.Y, 0);
    EXPECT_EQ(hit.X, int((offset + 5) / w));
    Viewer->DrawScreen(true);
}

// Hiding the line numbers widens the text area: the last position of the
// bar comes down, and the text follows the box there.
TEST_F(ViewerScrollBars, TextFollowsTheBoxWhenTheRangeShrinks) {
    // 308 pixels of text are 7 units, 320 without the line numbers are 8.
    SetClientSize(322, HeightForRows(10));
    SetText(std::string(1000, 'x') + "\n");
    Viewer->HorzScroll(TScrollCode::Track, 1000000);
    const int before = Viewer->HorzScrollPos();
    Viewer->SetShowLineNum(false);
    ASSERT_LT(Viewer->horizontalScrollBar()->maximum(), before);
    EXPECT_EQ(Viewer->HorzScrollPos(), Viewer->horizontalScrollBar()->maximum());
    EXPECT_EQ(Viewer->HorzOffset(), Viewer->HorzScrollPos() * Viewer->HorzUnit());
    Viewer->HorzScroll(TScrollCode::LineBack);
    EXPECT_EQ(Viewer->HorzScrollPos(), Viewer->horizontalScrollBar()->maximum() - 1);
}

} // namespace
} // namespace ov

namespace ov {
namespace {

// Any order of the view's operations on text with stray lead bytes, tabs and
// control bytes keeps the top row inside the rows it may show and the bars
// on the positions the view records.
TEST(ViewerRandomOperations, KeepTheTopRowAndTheBarsInStep) {
    test::TViewerFixture fixture;
    TOVSynTextViewer& viewer = *fixture.Viewer;
    std::mt19937 random(11);
    QFont font("DejaVu Sans");
    font.setPixelSize(13);
    viewer.setFont(font);
    auto randomText = [&random] {
        std::string text;
        const int lines = int(random() % 80);
        for (int i = 0; i < lines; ++i) {
            const int length = int(random() % 300);
            for (int j = 0; j < length; ++j) {
                const int kind = int(random() % 10);
                text += kind == 0   ? '\t'
                        : kind == 1 ? char(0x80 + random() % 0x7F)
                        : kind == 2 ? char(1 + random() % 31)
                                    : char('a' + random() % 26);
            }
            text += '\n';
        }
        return text;
    };
    for (int step = 0; step < 400; ++step) {
        const int operation = int(random() % 10);
        switch (operation) {
        case 0:
            fixture.SetText(randomText());
            break;
        case 1:
            viewer.SetWordWrap(!viewer.WordWrap());
            break;
        case 2:
            viewer.SetUseBitmapFont(!viewer.UseBitmapFont());
            break;
        case 3:
            fixture.SetClientSize(int(random() % 400) + 1, int(random() % 300) + 1);
            break;
        case 4:
            viewer.SetTabWidth(uint16_t(random() % 9));
            break;
        case 5:
            viewer.SetShowLineNum(!viewer.ShowLineNum());
            break;
        case 6:
            viewer.HorzScroll(TScrollCode::Track, int(random() % 100));
            break;
        case 7:
            viewer.SetSelStart({int(random() % 50), int(random() % 50)});
            viewer.SetSelEnd({int(random() % 50), int(random() % 50)});
            break;
        default:
            viewer.SetTopIndex(viewer.TopIndex() + int(random() % 41) - 20);
            break;
        }
        const std::string where =
            "step " + std::to_string(step) + " operation " + std::to_string(operation) + " rows " +
            std::to_string(viewer.RowCount()) + " visible " + std::to_string(viewer.VisibleRows());
        ASSERT_LE(viewer.TopIndex(), MaxTopIndex(viewer.RowCount(), viewer.VisibleRows())) << where;
        if (viewer.Lines().Count() > 0) {
            ASSERT_GE(viewer.TopIndex(), 0) << where;
        }
        // (A window one row tall may show no row at all, past the bar's
        // positions: the largest top row is then the row count.)
        if (viewer.verticalScrollBar()->isEnabled() && viewer.TopIndex() < viewer.RowCount()) {
            ASSERT_EQ(viewer.verticalScrollBar()->value(), viewer.TopIndex()) << where;
        }
        ASSERT_EQ(viewer.horizontalScrollBar()->value(), viewer.HorzScrollPos()) << where;
        if (!viewer.horizontalScrollBar()->isEnabled()) {
            ASSERT_EQ(viewer.HorzOffset(), 0) << where;
        }
    }
}

} // namespace
} // namespace ov
