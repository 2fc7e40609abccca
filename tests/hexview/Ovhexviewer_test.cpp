#include "Codepage.h"
#include "Hexviewertesting.h"
#include "Qtcodepage.h"

#include <QApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace ov {
namespace {

using test::InkInRow;
using test::MakeViewer;
using test::PatternBytes;

// x ranges of one row's parts, relative to the back buffer.
struct TRowParts {
    int AddressLeft, HexLeft, CellEnd1, CharLeft;
};
TRowParts PartsOf(const TOVHexViewer& viewer) {
    const TOVHexLayout& layout = viewer.Layout();
    int x0 = layout.RowOriginX(viewer.HorzOffset());
    return {x0, x0 + layout.HexCellX(0), x0 + layout.HexCellX(1), x0 + layout.CharColumnX()};
}

TEST(HexViewerTest, SeventeenByteFileShowsOneByteOnItsSecondRow) {
    test::TTempFolder folder;
    std::string path = folder.Write("seventeen.bin", "0123456789ABCDEFZ");
    auto viewer = MakeViewer();
    int events = 0;
    viewer->OnTopIndexChanged = [&](TOVHexViewer* sender) {
        EXPECT_EQ(sender, viewer.get());
        ++events;
    };
    viewer->SetFileName(path);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(viewer->FileSize(), 17);
    EXPECT_EQ(viewer->RowCount(), 2);
    EXPECT_EQ(viewer->TopIndex(), 0);
    EXPECT_EQ(viewer->Page().Row(1), "Z");
    EXPECT_EQ(HexAddressText(16, viewer->AddressDigits()), "00000010h:");
    EXPECT_FALSE(viewer->verticalScrollBar()->isEnabled());

    TRowParts parts = PartsOf(*viewer);
    int charWidth = viewer->Layout().Metrics().CharWidth;
    int width = viewer->BackBuffer().width();
    // First row: all sixteen cells and sixteen characters.
    EXPECT_GT(InkInRow(*viewer, 0,
                       parts.HexLeft + viewer->Layout().HexCellX(15) - viewer->Layout().HexCellX(0),
                       parts.CharLeft),
              0);
    // Second row: address, one hex cell, one character, nothing else.
    EXPECT_GT(InkInRow(*viewer, 1, parts.AddressLeft, parts.HexLeft), 0);
    EXPECT_GT(InkInRow(*viewer, 1, parts.HexLeft, parts.CellEnd1), 0);
    EXPECT_EQ(InkInRow(*viewer, 1, parts.CellEnd1, parts.CharLeft), 0);
    EXPECT_GT(InkInRow(*viewer, 1, parts.CharLeft, parts.CharLeft + charWidth), 0);
    EXPECT_EQ(InkInRow(*viewer, 1, parts.CharLeft + charWidth + 1, width), 0);
    for (int r = 2; r < viewer->PageRows(); ++r)
        EXPECT_EQ(InkInRow(*viewer, r, 0, width), 0) << r;
    EXPECT_TRUE(test::SaveSnapshot(*viewer, folder, "hexview-17-bytes.png"));
}

TEST(HexViewerTest, KoreanTextShowsWholeCharactersInTheCharacterColumn) {
    test::TTempFolder folder;
    // CP949 text: Korean syllables are two bytes, so rows of 16 bytes cut
    // some characters in two; those halves are shown as they decode alone.
    std::string text = AnsiFromUtf8("A한글 텍스트 보B\r\n"
                                    "가나다라마바사아자차카타파하\r\n"
                                    "Orvane 헥사 보기: 0123456789\r\n"
                                    "\t탭과 공백   그리고 끝.");
    std::string path = folder.Write("korean.txt", text);
    auto viewer = MakeViewer(720, 160);
    viewer->SetFileName(path);
    ASSERT_EQ(viewer->RowCount(), HexRowCount(static_cast<int64_t>(text.size())));
    // "A", seven syllables, two blanks and "B" are exactly one row of 16 bytes.
    std::string_view first = viewer->Page().Row(0);
    ASSERT_EQ(first, std::string_view(text).substr(0, 16));
    QString shown = QStringFromAnsi(HexCharColumnBytes(first));
    EXPECT_EQ(shown, QString::fromUtf8("A한글.텍스트.보B"));
    TRowParts parts = PartsOf(*viewer);
    EXPECT_GT(InkInRow(*viewer, 0, parts.CharLeft, viewer->BackBuffer().width()), 0);
    EXPECT_TRUE(test::SaveSnapshot(*viewer, folder, "hexview-korean.png"));

    // Whatever the width of the Korean glyphs, the bytes after them keep
    // their own cells: the same letters after three syllables or after two
    // dots and two syllables look the same, pixel for pixel.
    viewer->SetFileName(folder.Write("after.txt", AnsiFromUtf8("가나다ABCDEFGHIJ..가나ABCDEFGHIJ")));
    const int charWidth = viewer->Layout().Metrics().CharWidth;
    const int pitch = viewer->Layout().RowPitch();
    const QRect letters(parts.CharLeft + 6 * charWidth, viewer->Layout().RowY(0), 10 * charWidth,
                        pitch);
    EXPECT_EQ(viewer->BackBuffer().copy(letters),
              viewer->BackBuffer().copy(letters.translated(0, pitch)));
}

// The host creates the view hidden and may set the file and the row first.
// A file that reports a size of 0 is made as it is read, differently each
// time: /proc/self/io counts the bytes this process has read, its own reads
// included. The view reads it once and pages over those bytes, so every
// pass over its pages shows the same bytes, all of them: those of the
// opening it was given.
TEST(HexViewerTest, FileThatReportsNoSizeIsPagedOverTheBytesReadOnce) {
    auto viewer = MakeViewer(640, 80);
    auto everyPage = [&viewer] {
        std::string shown;
        for (int64_t top = 0; top < viewer->RowCount(); top += viewer->PageRows()) {
            viewer->SetTopIndex(top);
            viewer->ReloadPage();
            for (int row = 0; row < viewer->PageRows(); ++row)
                if (viewer->TopIndex() + row >= top)
                    shown += viewer->Page().Row(row);
        }
        return shown;
    };
    viewer->SetFileName("/proc/self/io");
    ASSERT_GT(viewer->RowCount(), viewer->PageRows()) << "the file spans pages";
    const std::string first = everyPage();
    EXPECT_TRUE(first.starts_with("rchar: ")) << first;
    EXPECT_EQ(static_cast<int64_t>(first.size()), viewer->FileSize());
    EXPECT_EQ(everyPage(), first);

    const TSharedFile opened = OpenSharedFile("/proc/self/io");
    ASSERT_TRUE(opened && opened->IsUnsized());
    std::string bytes(static_cast<size_t>(opened->Size()), '\0');
    ASSERT_EQ(opened->ReadAt(0, bytes.data(), opened->Size()), opened->Size());
    viewer->SetFile("/proc/self/io", opened);
    EXPECT_EQ(everyPage(), bytes);
    EXPECT_EQ(viewer->UnsizedFile(), opened);
}

TEST(HexViewerTest, FileSetWhileHiddenIsReadWhenShown) {
    test::TTempFolder folder;
    std::string bytes = PatternBytes(16 * 200);
    std::string path = folder.Write("a.bin", bytes);
    TOVHexViewer viewer;
    viewer.SetFileName(path);
    EXPECT_EQ(viewer.RowCount(), 200);
    EXPECT_EQ(viewer.PageRows(), 0);
    EXPECT_EQ(viewer.PageBufferSize(), 0);
    viewer.SetTopIndex(1000);
    EXPECT_EQ(viewer.TopIndex(), 199); // never past the last row
    viewer.SetTopIndex(50);
    viewer.show();
    QApplication::processEvents();
    ASSERT_GT(viewer.PageRows(), 0);
    EXPECT_EQ(viewer.TopIndex(), 50);
    EXPECT_EQ(viewer.Page().Row(0), bytes.substr(16 * 50, 16));
    EXPECT_GT(InkInRow(viewer, 0, 0, viewer.BackBuffer().width()), 0);
}

TEST(HexViewerTest, FontChangeMeasuresRowsAndBarsAgain) {
    test::TTempFolder folder;
    std::string bytes = PatternBytes(16 * 200);
    std::string path = folder.Write("a.bin", bytes);
    auto viewer = MakeViewer(640, 300);
    viewer->SetFileName(path);
    int oldHeight = viewer->LineHeight();
    int oldCell = viewer->Layout().Metrics().CellWidth;
    QFont larger(QStringLiteral("Courier New"));
    larger.setPixelSize(20);
    viewer->setFont(larger);
    EXPECT_GT(viewer->LineHeight(), oldHeight);
    EXPECT_GT(viewer->Layout().Metrics().CellWidth, oldCell);
    EXPECT_EQ(viewer->PageRows(), viewer->Layout().PageRows(viewer->viewport()->height()));
    EXPECT_EQ(viewer->PageBufferSize(), viewer->PageRows() * 16);
    EXPECT_EQ(viewer->verticalScrollBar()->maximum(), 200 - viewer->PageRows() + 1);
    EXPECT_TRUE(viewer->HorzBarActive()); // a row of the larger font is wider than 640
    int last = viewer->PageRows() - 1;
    EXPECT_EQ(viewer->Page().Row(last), bytes.substr(16 * static_cast<size_t>(last), 16));
}

TEST(HexViewerTest, EmptyFileShowsNoRowsAndDisablesTheBar) {
    test::TTempFolder folder;
    std::string path = folder.Write("empty.bin", "");
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    EXPECT_EQ(viewer->FileName(), path);
    EXPECT_EQ(viewer->RowCount(), 0);
    EXPECT_EQ(viewer->TopIndex(), 0);
    EXPECT_FALSE(viewer->verticalScrollBar()->isEnabled());
    for (int r = 0; r < viewer->PageRows(); ++r)
        EXPECT_EQ(InkInRow(*viewer, r, 0, viewer->BackBuffer().width()), 0);
    EXPECT_TRUE(test::SaveSnapshot(*viewer, folder, "hexview-empty.png"));
}

TEST(HexViewerTest, WholeRowsOnlyForASizeThatIsAMultipleOfSixteen) {
    test::TTempFolder folder;
    std::string path = folder.Write("rows.bin", PatternBytes(16 * 40));
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    EXPECT_EQ(viewer->RowCount(), 40);
    ASSERT_LT(viewer->PageRows(), 40);
    EXPECT_TRUE(viewer->verticalScrollBar()->isEnabled());
    // The system bar's convention: the thumb reaches RowCount - PageRows + 1.
    EXPECT_EQ(viewer->verticalScrollBar()->maximum(), 40 - viewer->PageRows() + 1);
    EXPECT_EQ(viewer->PageBufferSize(), viewer->PageRows() * 16);
    viewer->SetTopIndex(1000);
    EXPECT_EQ(viewer->TopIndex(), 40 - viewer->PageRows());
    EXPECT_EQ(viewer->Page().Row(viewer->PageRows() - 1).size(), 16u);
}

// A followed file that grows: the view takes the new size without being
// set again (its top row and mark stay) and shows, row for row and pixel
// for pixel, what a view of the grown file set afresh at the same top
// shows: a short last row completed, new rows below it, a page that now
// scrolls. Nothing new, or a file cut short, is not a growth.
TEST(HexViewerTest, AGrownFileShowsItsNewRowsAsTheFileSetAfresh) {
    test::TTempFolder folder;
    const std::string bytes = PatternBytes(16 * 60 + 5, 3);
    std::string path = folder.Write("grow.bin", bytes.substr(0, 37));
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    viewer->SetMark(2, 3);
    std::size_t size = 37;
    for (const std::size_t grown : {std::size_t(40), std::size_t(48), std::size_t(16 * 30 + 1),
                                    bytes.size()}) {
        std::ofstream(path, std::ios::binary | std::ios::app) << bytes.substr(size, grown - size);
        size = grown;
        const int64_t top = viewer->TopIndex();
        ASSERT_TRUE(viewer->Grow()) << grown;
        auto fresh = MakeViewer();
        fresh->SetFileName(path);
        fresh->SetMark(2, 3);
        fresh->SetTopIndex(top);
        EXPECT_EQ(viewer->FileSize(), int64_t(grown));
        EXPECT_EQ(viewer->RowCount(), fresh->RowCount());
        EXPECT_EQ(viewer->TopIndex(), top);
        EXPECT_EQ(viewer->MarkLength(), 3);
        EXPECT_EQ(viewer->verticalScrollBar()->isEnabled(), fresh->verticalScrollBar()->isEnabled());
        EXPECT_EQ(viewer->verticalScrollBar()->maximum(), fresh->verticalScrollBar()->maximum());
        for (int row = 0; row < viewer->PageRows(); ++row)
            EXPECT_EQ(viewer->Page().Row(row), fresh->Page().Row(row)) << grown << " row " << row;
        EXPECT_EQ(viewer->BackBuffer(), fresh->BackBuffer()) << grown;
        viewer->SetTopIndex(viewer->RowCount()); // the last page, as a follower stands
    }
    EXPECT_FALSE(viewer->Grow());
    std::filesystem::resize_file(path, 20);
    EXPECT_FALSE(viewer->Grow());
    EXPECT_EQ(viewer->FileSize(), int64_t(bytes.size()));
}

TEST(HexViewerTest, MissingOrUnreadablePathKeepsTheFileShown) {
    test::TTempFolder folder;
    std::string path = folder.Write("a.bin", PatternBytes(100));
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    int events = 0;
    viewer->OnTopIndexChanged = [&](TOVHexViewer*) { ++events; };
    viewer->SetFileName(folder.File("missing.bin"));
    viewer->SetFileName(folder.Path()); // a folder is not a file
    EXPECT_EQ(events, 0);
    EXPECT_EQ(viewer->FileName(), path);
    EXPECT_EQ(viewer->FileSize(), 100);
}

TEST(HexViewerTest, CloseFileForgetsEverything) {
    test::TTempFolder folder;
    std::string path = folder.Write("a.bin", PatternBytes(16 * 100));
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    viewer->SetTopIndex(30);
    int events = 0;
    viewer->OnTopIndexChanged = [&](TOVHexViewer*) { ++events; };
    viewer->CloseFile();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(viewer->TopIndex(), -1);
    EXPECT_EQ(viewer->RowCount(), 0);
    EXPECT_EQ(viewer->FileSize(), 0);
    EXPECT_TRUE(viewer->FileName().empty());
    EXPECT_EQ(viewer->PageBufferSize(), 0);
    // A disabled bar keeps no thumb that would suggest something to scroll.
    EXPECT_FALSE(viewer->verticalScrollBar()->isEnabled());
    EXPECT_EQ(viewer->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(viewer->horizontalScrollBar()->maximum(), 0);
    // Nothing to scroll and no buffer to move rows in.
    viewer->SetTopIndex(5);
    EXPECT_EQ(viewer->TopIndex(), -1);
    EXPECT_EQ(events, 1);
    for (int r = 0; r < viewer->PageRows(); ++r)
        EXPECT_EQ(InkInRow(*viewer, r, 0, viewer->BackBuffer().width()), 0);
    // A file set again gets a page buffer again.
    viewer->SetFileName(path);
    EXPECT_EQ(viewer->PageBufferSize(), viewer->PageRows() * 16);
    EXPECT_EQ(viewer->TopIndex(), 0);
}

TEST(HexViewerTest, FileLargerThanFourGiBIsReadAtItsEnd) {
    test::TTempFolder folder;
    const int64_t size = 5000000000LL + 17;
    std::string tail = PatternBytes(16 * 3 + 17, 5);
    std::string path = test::WriteSparseFile(folder.File("big.bin"), size, tail);
    ASSERT_FALSE(path.empty());
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    EXPECT_EQ(viewer->FileSize(), size);
    EXPECT_EQ(viewer->RowCount(), HexRowCount(size));
    EXPECT_EQ(viewer->AddressDigits(), 9);
    EXPECT_EQ(viewer->PageBufferSize(), viewer->PageRows() * 16);
    viewer->SetTopIndex(viewer->RowCount());
    int pageRows = viewer->PageRows();
    EXPECT_EQ(viewer->TopIndex(), viewer->RowCount() - pageRows);
    // The last four rows hold the tail: three whole rows and 17 - 16 = 1 byte.
    std::string_view last = viewer->Page().Row(pageRows - 1);
    EXPECT_EQ(last, std::string_view(tail).substr(tail.size() - 1));
    EXPECT_EQ(viewer->Page().Row(pageRows - 2),
              std::string_view(tail).substr(tail.size() - 17, 16));
    EXPECT_FALSE(viewer->VertScale().Scaled());
    EXPECT_EQ(viewer->verticalScrollBar()->value(), viewer->TopIndex());
    TRowParts parts = PartsOf(*viewer);
    EXPECT_GT(InkInRow(*viewer, pageRows - 1, parts.AddressLeft, parts.HexLeft), 0);
    EXPECT_TRUE(test::SaveSnapshot(*viewer, folder, "hexview-5gb-end.png"));
}

TEST(HexViewerTest, RowsBeyondTheIntRangeScaleTheBarButStayReachable) {
    test::TTempFolder folder;
    const int64_t size = int64_t{1} << 36; // 2^32 rows
    std::string path = test::WriteSparseFile(folder.File("huge.bin"), size, "END");
    ASSERT_FALSE(path.empty());
    auto viewer = MakeViewer();
    viewer->SetFileName(path);
    QScrollBar* bar = viewer->verticalScrollBar();
    ASSERT_TRUE(viewer->VertScale().Scaled());
    EXPECT_EQ(bar->maximum(), TOVScrollScale::DefaultLimit);
    // A thumb dragged to the middle shows the matching row and stays put.
    int middle = bar->maximum() / 2;
    bar->setSliderPosition(middle);
    EXPECT_EQ(viewer->TopIndex(), viewer->VertScale().RowOfPosition(middle));
    EXPECT_EQ(bar->value(), middle);
    // Line steps move by one row, not by the scale.
    int64_t top = viewer->TopIndex();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(viewer->TopIndex(), top + 1);
    // The thumb at the end shows the last page, whose last row holds "END".
    bar->setSliderPosition(bar->maximum());
    EXPECT_EQ(viewer->TopIndex(), viewer->RowCount() - viewer->PageRows());
    EXPECT_EQ(viewer->Page().Row(viewer->PageRows() - 1), std::string(13, '\0') + "END");
}

TEST(HexViewerTest, FileTruncatedWhileShownShowsBlankRowsNotStaleOnes) {
    test::TTempFolder folder;
    std::string path = folder.Write("shrinking.bin", PatternBytes(16 * 100));
    auto viewer = MakeViewer(640, 300);
    viewer->SetFileName(path);
    int pageRows = viewer->PageRows();
    ASSERT_GT(pageRows, 10);
    std::filesystem::resize_file(path, 16 * 20 + 3);
    // Incremental: the new rows past the new end are blank.
    viewer->SetTopIndex(pageRows - 1);
    int width = viewer->BackBuffer().width();
    for (int r = 0; r < pageRows; ++r) {
        int64_t fileRow = viewer->TopIndex() + r;
        size_t expected = fileRow < 20 ? 16u : fileRow == 20 ? 3u : 0u;
        EXPECT_EQ(viewer->Page().Row(r).size(), expected) << r;
        if (expected == 0) {
            EXPECT_EQ(InkInRow(*viewer, r, 0, width), 0) << r;
        }
    }
    // Full reload far past the end: nothing at all.
    viewer->SetTopIndex(70);
    EXPECT_EQ(viewer->TopIndex(), 70);
    for (int r = 0; r < pageRows; ++r)
        EXPECT_EQ(InkInRow(*viewer, r, 0, width), 0) << r;
    // The file vanishes: the view stays, nothing crashes.
    viewer->SetTopIndex(0);
    QImage before = viewer->BackBuffer();
    std::filesystem::remove(path);
    viewer->SetTopIndex(pageRows + 5);
    EXPECT_EQ(viewer->BackBuffer(), before);
    viewer->SetTopIndex(pageRows + 7);
    EXPECT_EQ(viewer->Page().Row(pageRows - 1), "");
}

// A jump whose read fails leaves the picture as it was, but the bytes kept
// in the page are not those of the new rows: a later redraw must not show
// them under the new addresses, and the next move must not build on them.
TEST(HexViewerTest, FailedJumpNeverShowsOldBytesUnderNewAddresses) {
    test::TTempFolder folder;
    std::string bytes = PatternBytes(16 * 100);
    std::string path = folder.Write("a.bin", bytes);
    auto viewer = MakeViewer(640, 300);
    auto reference = MakeViewer(640, 300);
    viewer->SetFileName(path);
    reference->SetFileName(path);
    int pageRows = viewer->PageRows();
    ASSERT_GT(pageRows, 4);
    QImage before = viewer->BackBuffer();
    std::filesystem::remove(path);
    viewer->SetTopIndex(50);
    EXPECT_EQ(viewer->TopIndex(), 50);
    EXPECT_EQ(viewer->BackBuffer(), before);
    // The file is back: a small step from here shows exactly rows 52 ...
    folder.Write("a.bin", bytes);
    viewer->SetTopIndex(52);
    reference->SetTopIndex(52);
    EXPECT_EQ(viewer->BackBuffer(), reference->BackBuffer());
    for (int r = 0; r < pageRows; ++r)
        EXPECT_EQ(viewer->Page().Row(r), bytes.substr(16 * static_cast<size_t>(52 + r), 16)) << r;
    // ... and gone again: after a jump, a redraw (a new colour) has no bytes
    // for the rows now on top.
    std::filesystem::remove(path);
    ASSERT_LE(52 + pageRows, 100 - pageRows);
    viewer->SetTopIndex(52 + pageRows);
    viewer->SetFontColor(QColor(200, 0, 0));
    for (int r = 0; r < pageRows; ++r) {
        EXPECT_EQ(viewer->Page().Row(r), "") << r;
        EXPECT_EQ(InkInRow(*viewer, r, 0, viewer->BackBuffer().width()), 0) << r;
    }
}

// A taller window or a smaller font keeps the top row on the last page, so
// no rows hide above the view while blank rows show below it, and a file
// that now fits whole starts at its first row (the bar is disabled then, so
// nothing else could bring the first rows back).
TEST(HexViewerTest, GrowingPageKeepsTheTopRowOnTheLastPage) {
    test::TTempFolder folder;
    std::string bytes = PatternBytes(16 * 30);
    std::string path = folder.Write("a.bin", bytes);
    auto viewer = MakeViewer(640, 200);
    viewer->SetFileName(path);
    int events = 0;
    viewer->OnTopIndexChanged = [&](TOVHexViewer*) { ++events; };
    viewer->SetTopIndex(30);
    ASSERT_EQ(viewer->TopIndex(), 30 - viewer->PageRows());
    int pitch = viewer->Layout().RowPitch();
    QSize frame = viewer->size() - viewer->viewport()->size();
    viewer->resize(QSize(640, 200 + 4 * pitch) + frame);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(viewer->TopIndex(), 30 - viewer->PageRows());
    EXPECT_EQ(viewer->verticalScrollBar()->value(), viewer->TopIndex());
    EXPECT_EQ(viewer->Page().Row(viewer->PageRows() - 1), bytes.substr(16 * 29, 16));
    QFont smaller(QStringLiteral("Courier New"));
    smaller.setPixelSize(4);
    viewer->setFont(smaller);
    ASSERT_GE(viewer->PageRows(), 30);
    EXPECT_EQ(events, 3);
    EXPECT_EQ(viewer->TopIndex(), 0);
    EXPECT_FALSE(viewer->verticalScrollBar()->isEnabled());
    EXPECT_EQ(viewer->Page().Row(0), bytes.substr(0, 16));
}

TEST(HexViewerTest, SizeAndColourChangesRedrawThePage) {
    test::TTempFolder folder;
    std::string path = folder.Write("a.bin", PatternBytes(16 * 100));
    auto viewer = MakeViewer(640, 300);
    viewer->SetFileName(path);
    viewer->SetTopIndex(10);
    int pitch = viewer->Layout().RowPitch();
    QSize frame = viewer->size() - viewer->viewport()->size();
    viewer->resize(QSize(640, 300 + 5 * pitch) + frame);
    EXPECT_EQ(viewer->PageRows(), viewer->Layout().PageRows(300 + 5 * pitch));
    EXPECT_EQ(viewer->PageBufferSize(), viewer->PageRows() * 16);
    EXPECT_EQ(viewer->TopIndex(), 10);
    EXPECT_EQ(viewer->BackBuffer().size(), viewer->viewport()->size());
    EXPECT_EQ(viewer->Page().Row(viewer->PageRows() - 1),
              PatternBytes(16 * 100).substr(16 * (10 + viewer->PageRows() - 1), 16));
    viewer->SetColor(QColor(10, 20, 30));
    viewer->SetFontColor(QColor(250, 240, 230));
    EXPECT_EQ(viewer->BackBuffer().pixel(0, 0), QColor(10, 20, 30).rgb());
    EXPECT_GT(InkInRow(*viewer, 0, 0, viewer->BackBuffer().width()), 0);
}

// Each byte cell of the page read from the picture, one row a line: 'm' on
// the match colour in both columns, 'C' inverted match colour in both (the
// current match), '.' neither in either; anything else is '?'.
std::string MatchCellsOfPage(const TOVHexViewer& viewer) {
    const QImage& image = viewer.BackBuffer();
    const TOVHexLayout& layout = viewer.Layout();
    const int x0 = layout.RowOriginX(viewer.HorzOffset());
    const int charWidth = layout.Metrics().CharWidth;
    const QRgb match = viewer.MatchColor().rgb() & 0xFFFFFF;
    const QRgb inverted = ~match & 0xFFFFFF;
    const auto share = [&](QRect cell, QRgb colour) {
        int hits = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                hits += (image.pixel(x, y) & 0xFFFFFF) == colour ? 1 : 0;
        return hits * 3 > cell.width() * cell.height() ? 'y' : hits == 0 ? 'n' : '?';
    };
    std::string cells;
    for (int r = 0; r < viewer.PageRows(); ++r) {
        const int top = layout.RowY(r);
        for (int i = 0; i < 16; ++i) {
            const QRect hex(x0 + layout.HexCellX(i), top, 2 * charWidth, layout.RowPitch());
            const QRect chr(x0 + layout.CharColumnX() + i * charWidth, top, charWidth,
                            layout.RowPitch());
            const std::string seen{share(hex, match), share(chr, match), share(hex, inverted),
                                   share(chr, inverted)};
            cells += seen == "yynn" ? 'm' : seen == "nnyy" ? 'C' : seen == "nnnn" ? '.' : '?';
        }
        cells += '\n';
    }
    return cells;
}

// The same picture expected: the bytes of matches (offset, length) from
// the top row on, one of them current.
std::string ExpectedCells(const TOVHexViewer& viewer,
                          const std::vector<std::pair<int64_t, int64_t>>& matches,
                          int64_t current = -1) {
    const int64_t first = viewer.TopIndex() * 16;
    std::string cells;
    for (int r = 0; r < viewer.PageRows(); ++r) {
        for (int i = 0; i < 16; ++i) {
            const int64_t at = first + r * 16 + i;
            char cell = '.';
            for (const auto& [start, length] : matches)
                if (at >= start && at < start + length)
                    cell = start == current ? 'C' : 'm';
            cells += cell;
        }
        cells += '\n';
    }
    return cells;
}

TEST(HexViewerTest, EveryMatchAmongTheRowsShownIsMarkedInBothColumns) {
    test::TTempFolder folder;
    const std::string korean = AnsiFromUtf8("가a"); // B0 A1 61
    const std::string beef = "\xDE\xAD\xBE\xEF";
    std::string bytes(16 * 64, '.');
    auto viewer = MakeViewer(640, 300);
    const int64_t top = 10;
    const int rows = viewer->PageRows();
    ASSERT_GE(rows, 8);
    ASSERT_LT(top + rows + 1, 64);
    const int64_t pageFirst = top * 16;
    const int64_t pageEnd = (top + rows) * 16;
    // Text: across the top of the page, across a row edge, whole inside a
    // row (upper case, found without case), across the bottom; a part of
    // the pattern alone is no match.
    const std::vector<std::pair<int64_t, int64_t>> text = {
        {pageFirst - 2, 3}, {pageFirst + 2 * 16 + 15, 3}, {pageFirst + 4 * 16 + 5, 3},
        {pageEnd - 1, 3}};
    for (const auto& [start, length] : text)
        bytes.replace(size_t(start), size_t(length), korean);
    bytes[size_t(pageFirst + 4 * 16 + 7)] = 'A';
    bytes.replace(size_t(pageFirst + 6 * 16), 2, korean.substr(0, 2));
    // Bytes: across a row edge that becomes the top of the page, across
    // another row edge, two in a row.
    const std::vector<std::pair<int64_t, int64_t>> beefs = {
        {pageFirst + 16 + 15, 4}, {pageFirst + 3 * 16 + 14, 4}, {pageFirst + 5 * 16 + 2, 8}};
    for (const auto& [start, length] : beefs)
        for (int64_t at = start; at < start + length; at += 4)
            bytes.replace(size_t(at), 4, beef);
    viewer->SetFileName(folder.Write("marks.bin", bytes));
    viewer->SetTopIndex(top);

    viewer->SetMatchBytes(korean, false);
    EXPECT_EQ(MatchCellsOfPage(*viewer), ExpectedCells(*viewer, text));
    // The current match is inverted over the others.
    viewer->SetMark(text[1].first, 3);
    EXPECT_EQ(MatchCellsOfPage(*viewer), ExpectedCells(*viewer, text, text[1].first));
    // Case counts when asked to: the upper-case 'A' no longer matches.
    viewer->SetMark(0, 0);
    viewer->SetMatchBytes(korean, true);
    std::vector<std::pair<int64_t, int64_t>> exact = text;
    exact.erase(exact.begin() + 2);
    EXPECT_EQ(MatchCellsOfPage(*viewer), ExpectedCells(*viewer, exact));

    // Matches side by side run together; rows scrolled into view by a few
    // rows are marked as a page read whole would be.
    viewer->SetMatchBytes(beef, true);
    EXPECT_EQ(MatchCellsOfPage(*viewer), ExpectedCells(*viewer, beefs));
    viewer->SetTopIndex(top - 1);
    viewer->SetTopIndex(top + 2);
    EXPECT_EQ(MatchCellsOfPage(*viewer), ExpectedCells(*viewer, beefs));
    auto fresh = MakeViewer(640, 300);
    fresh->SetFileName(viewer->FileName());
    fresh->SetTopIndex(top + 2);
    fresh->SetMatchBytes(beef, true);
    EXPECT_EQ(viewer->BackBuffer(), fresh->BackBuffer());

    viewer->ClearMatchBytes();
    EXPECT_FALSE(viewer->MatchBytesActive());
    EXPECT_EQ(MatchCellsOfPage(*viewer), ExpectedCells(*viewer, {}));
}

} // namespace
} // namespace ov
