#include "Hexviewertesting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

using test::MakeViewer;
using test::PatternBytes;

void PressKey(TOVHexViewer& viewer, int key, Qt::KeyboardModifiers shift = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, shift);
    QApplication::sendEvent(&viewer, &press);
}

void TurnWheel(TOVHexViewer& viewer, int delta) {
    QPointF at(10, 10);
    QWheelEvent wheel(at, viewer.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewer.viewport(), &wheel);
}

class HexViewerScrollTest : public testing::Test {
protected:
    void SetUp() override {
        FBytes = PatternBytes(16 * 500 + 5);
        FPath = FFolder.Write("rows.bin", FBytes);
        FViewer = MakeViewer(640, 300);
        FViewer->SetFileName(FPath);
        FViewer->OnTopIndexChanged = [this](TOVHexViewer*) { ++FEvents; };
        ASSERT_GT(FViewer->PageRows(), 4);
    }
    std::string RowBytes(int64_t fileRow) const {
        return FBytes.substr(static_cast<size_t>(fileRow) * 16, 16);
    }

    test::TTempFolder FFolder;
    std::string FBytes;
    std::string FPath;
    std::unique_ptr<TOVHexViewer> FViewer;
    int FEvents = 0;
};

// After any sequence of moves the picture equals a full draw at that row.
TEST_F(HexViewerScrollTest, IncrementalScrollingDrawsWhatAFullReloadDraws) {
    auto reference = MakeViewer(640, 300);
    reference->SetFileName(FPath);
    int pageRows = FViewer->PageRows();
    int64_t lastTop = FViewer->RowCount() - pageRows;
    std::vector<int64_t> targets = {
        1,       2,           2 + pageRows - 1,       0, pageRows - 1, pageRows - 1 + pageRows,
        lastTop, lastTop - 1, lastTop - pageRows + 1, 7, -3,           100000};
    std::mt19937 random(20261207);
    for (int i = 0; i < 40; ++i) {
        int64_t from = targets.back();
        std::uniform_int_distribution<int> step(-pageRows - 2, pageRows + 2);
        targets.push_back(from + step(random));
    }
    for (int64_t target : targets) {
        FViewer->SetTopIndex(target);
        reference->SetTopIndex(FViewer->TopIndex());
        reference->ReloadPage();
        ASSERT_EQ(FViewer->BackBuffer(), reference->BackBuffer()) << "at row " << target;
        for (int r = 0; r < pageRows; ++r)
            ASSERT_EQ(FViewer->Page().Row(r), reference->Page().Row(r)) << target << " " << r;
    }
}

// A scroll by less than a page reads only the rows that came into view; the
// file is rewritten behind the view's back so that the reads can be seen.
TEST_F(HexViewerScrollTest, LessThanAPageReadsOnlyTheNewRows) {
    int pageRows = FViewer->PageRows();
    std::string changed = PatternBytes(static_cast<int64_t>(FBytes.size()), 99);
    FFolder.Write("rows.bin", changed);
    FViewer->SetTopIndex(pageRows - 1);
    EXPECT_EQ(FViewer->Page().Row(0), RowBytes(pageRows - 1)); // moved, not read
    EXPECT_EQ(FViewer->Page().Row(1), changed.substr(16 * static_cast<size_t>(pageRows), 16));
    FViewer->SetTopIndex(FViewer->TopIndex() + pageRows); // a whole page: everything read
    EXPECT_EQ(FViewer->Page().Row(0),
              changed.substr(16 * static_cast<size_t>(FViewer->TopIndex()), 16));
}

TEST_F(HexViewerScrollTest, EveryDifferingRequestFiresTheEvent) {
    FViewer->SetTopIndex(0);
    EXPECT_EQ(FEvents, 0);
    QImage before = FViewer->BackBuffer();
    FViewer->SetTopIndex(-5);
    EXPECT_EQ(FViewer->TopIndex(), 0);
    EXPECT_EQ(FEvents, 1);
    EXPECT_EQ(FViewer->BackBuffer(), before);
}

TEST_F(HexViewerScrollTest, KeysMoveByRowsAndPagesThenReachTheHost) {
    std::vector<std::pair<int, Qt::KeyboardModifiers>> seen;
    FViewer->OnKeyDown = [&](TOVHexViewer* sender, int key, Qt::KeyboardModifiers shift) {
        EXPECT_EQ(sender, FViewer.get());
        seen.emplace_back(key, shift);
    };
    int pageRows = FViewer->PageRows();
    int64_t lastTop = FViewer->RowCount() - pageRows;
    PressKey(*FViewer, Qt::Key_Down);
    EXPECT_EQ(FViewer->TopIndex(), 1);
    PressKey(*FViewer, Qt::Key_PageDown);
    EXPECT_EQ(FViewer->TopIndex(), 1 + pageRows);
    PressKey(*FViewer, Qt::Key_Up);
    EXPECT_EQ(FViewer->TopIndex(), pageRows);
    PressKey(*FViewer, Qt::Key_PageUp);
    EXPECT_EQ(FViewer->TopIndex(), 0);
    PressKey(*FViewer, Qt::Key_End);
    EXPECT_EQ(FViewer->TopIndex(), lastTop);
    PressKey(*FViewer, Qt::Key_PageDown);
    EXPECT_EQ(FViewer->TopIndex(), lastTop);
    PressKey(*FViewer, Qt::Key_Home, Qt::ControlModifier); // the host's key
    EXPECT_EQ(FViewer->TopIndex(), lastTop);
    PressKey(*FViewer, Qt::Key_Home);
    EXPECT_EQ(FViewer->TopIndex(), 0);
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen[6].first, Qt::Key_Home);
    EXPECT_EQ(seen[6].second, Qt::ControlModifier);
    EXPECT_EQ(FViewer->verticalScrollBar()->value(), 0);
}

TEST_F(HexViewerScrollTest, WheelNotchesScrollThreeRowsAndFractionsGather) {
    TurnWheel(*FViewer, -120);
    EXPECT_EQ(FViewer->TopIndex(), 3);
    // A touchpad's small steps move nothing until they make a whole notch.
    for (int k = 1; k <= 15; ++k) {
        TurnWheel(*FViewer, -8);
        ASSERT_EQ(FViewer->TopIndex(), k < 15 ? 3 : 6) << k;
    }
    // Back the other way: the steps gathered downwards do not count.
    TurnWheel(*FViewer, -100);
    TurnWheel(*FViewer, 60);
    EXPECT_EQ(FViewer->TopIndex(), 6);
    TurnWheel(*FViewer, 60);
    EXPECT_EQ(FViewer->TopIndex(), 3);
    TurnWheel(*FViewer, 120);
    TurnWheel(*FViewer, 120);
    EXPECT_EQ(FViewer->TopIndex(), 0);
    EXPECT_EQ(FViewer->VertScrollPos(), 0);
    // A sideways turn is not vertical scrolling.
    QPointF at(10, 10);
    QWheelEvent sideways(at, FViewer->viewport()->mapToGlobal(at), QPoint(), QPoint(-120, 0),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(FViewer->viewport(), &sideways);
    EXPECT_EQ(FViewer->TopIndex(), 0);
}

TEST_F(HexViewerScrollTest, ScrollBarStepsAndThumb) {
    QScrollBar* bar = FViewer->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(FViewer->TopIndex(), FViewer->PageRows());
    EXPECT_EQ(bar->value(), FViewer->PageRows());
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(FViewer->TopIndex(), FViewer->PageRows() - 1);
    bar->setSliderPosition(250);
    EXPECT_EQ(FViewer->TopIndex(), 250);
    // The thumb at its end: the bar allows one position past the last page.
    bar->setSliderPosition(bar->maximum());
    EXPECT_EQ(FViewer->TopIndex(), FViewer->RowCount() - FViewer->PageRows());
    EXPECT_EQ(bar->value(), FViewer->TopIndex());
    // A value set from outside (the bar's "scroll here") is a thumb position.
    bar->setValue(123);
    EXPECT_EQ(FViewer->TopIndex(), 123);
    // "Scroll to top" is not a request the view follows.
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(FViewer->TopIndex(), 123);
    EXPECT_EQ(bar->value(), 123);
}

TEST_F(HexViewerScrollTest, NarrowWindowScrollsSidewaysByWholeCharacters) {
    auto narrow = MakeViewer(300, 300);
    narrow->SetFileName(FPath);
    ASSERT_TRUE(narrow->HorzBarActive());
    EXPECT_TRUE(narrow->horizontalScrollBar()->isEnabled());
    QImage before = narrow->BackBuffer();
    int charWidth = narrow->Layout().Metrics().CharWidth;
    PressKey(*narrow, Qt::Key_Right);
    PressKey(*narrow, Qt::Key_Right);
    EXPECT_EQ(narrow->HorzScrollPos(), 2);
    EXPECT_EQ(narrow->HorzOffset(), 2 * charWidth);
    // Every column moved left by the same whole number of pixels.
    const QImage& after = narrow->BackBuffer();
    int shift = 2 * charWidth;
    int differing = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x + shift < after.width() - 40; ++x)
            differing += after.pixel(x, y) != before.pixel(x + shift, y);
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(test::SaveSnapshot(*narrow, FFolder, "hexview-narrow-scrolled.png"));
    // Widening past a full row takes the bar and the shift away.
    QSize frame = narrow->size() - narrow->viewport()->size();
    narrow->resize(QSize(900, 300) + frame);
    EXPECT_FALSE(narrow->HorzBarActive());
    EXPECT_EQ(narrow->HorzOffset(), 0);
    EXPECT_EQ(narrow->horizontalScrollBar()->maximum(), 0);
}

TEST_F(HexViewerScrollTest, DroppedFilesArriveTogetherInOrder) {
    std::vector<std::string> received;
    int calls = 0;
    FViewer->OnDropFiles = [&](TOVHexViewer* sender, const std::vector<std::string>& files) {
        EXPECT_EQ(sender, FViewer.get());
        received = files;
        ++calls;
    };
    std::vector<std::string> paths = {FFolder.File("b.bin"), FFolder.File("a 파일.txt"),
                                      FFolder.File("c.bin")};
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls.push_back(QUrl::fromLocalFile(QString::fromStdString(path)));
    urls.insert(1, QUrl("https://example.org/remote.bin")); // not a local file: left out
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(FViewer->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(FViewer->viewport(), &drop);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(received, paths);
}

TEST_F(HexViewerScrollTest, DoubleClickReachesTheHost) {
    int clicks = 0;
    FViewer->OnDblClick = [&](TOVHexViewer*) { ++clicks; };
    QPointF at(30, 30);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, FViewer->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(FViewer->viewport(), &click);
    EXPECT_EQ(clicks, 1);
}

} // namespace
} // namespace ov
