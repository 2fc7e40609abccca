// Word wrap of a document larger than the part indexed at once: the rows
// shown are wrapped as soon as wrap is turned on, even while the lines are
// still being indexed, and the rest is wrapped a part at a time behind them.
// Its widest line is measured a part at a time too.

#include "Loadpolicy.h"
#include "Ovsyntextviewer.h"
#include "Testsupport.h"

#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace ov {
namespace {

std::string MixedLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        // Lengths from empty to several rows, some with double-width text.
        const int words = (i * 7919) % 23;
        for (int w = 0; w < words; ++w)
            text += (i + w) % 4 == 0 ? "가나다라 " : "word" + std::to_string(i) + " ";
        text += "\n";
    }
    return text;
}

// Indexes 64 KiB at once and holds the rest until the gate is released.
TLoadPolicy HeldAfterFirstPart() {
    TLoadPolicy policy;
    policy.FirstPartBytes = 64 << 10;
    policy.Gate = std::make_shared<TWorkerGate>();
    policy.Gate->Hold();
    return policy;
}

std::vector<TWrapedLine> RowsOf(const TOVSynTextViewer& viewer) {
    std::vector<TWrapedLine> rows;
    for (int r = 0; r < viewer.WrapedLines().Count(); ++r)
        rows.push_back(viewer.WrapedLines()[r]);
    return rows;
}

// Turned on at a row far into a document whose index is held after its
// first part, wrap shows that row's line wrapped at the top, the rows as a
// whole wrap makes them. As the index and the wrap go on the row count only
// grows and the top row stays on its text; in the end the rows are those of
// the document wrapped at once. With line numbers on, the gutter widens as
// the count gains digits and the rows are made again for it.
TEST(WrapInParts, ShownRowsAreWrappedAtOnceAndTheRestEndsAsAWholeWrap) {
    test::TTempFolder folder;
    const std::string path = folder.Write("big.log", MixedLines(12000));
    constexpr int TopLine = 400;
    for (bool lineNumbers : {false, true}) {
        TOVSynTextViewer whole;
        whole.SetShowLineNum(lineNumbers);
        whole.resize(400, 300);
        whole.show();
        whole.Lines().LoadViewedFile(path);
        whole.SetWordWrap(true);
        ASSERT_FALSE(whole.Lines().Loading());
        const std::vector<TWrapedLine> expected = RowsOf(whole);

        TLoadPolicy policy = HeldAfterFirstPart();
        TOVSynTextViewer viewer;
        viewer.SetLoadPolicy(policy);
        viewer.SetShowLineNum(lineNumbers);
        viewer.resize(400, 300);
        viewer.show();
        viewer.Lines().LoadViewedFile(path);
        ASSERT_TRUE(viewer.Lines().Loading());
        ASSERT_GT(viewer.Lines().Count(), TopLine + 100);
        viewer.SetTopIndex(TopLine);
        viewer.SetWordWrap(true);
        EXPECT_TRUE(viewer.Lines().Loading()); // wrap waits for no index
        EXPECT_EQ(viewer.WrapedLines().RowStart(viewer.TopIndex()), (TTextPoint{0, TopLine}));
        if (!lineNumbers) {
            const int wholeTop = whole.WrapedLines().FirstRowOf(TopLine);
            for (int r = 0; r < viewer.VisibleRows(); ++r)
                ASSERT_EQ(viewer.WrapedLines()[viewer.TopIndex() + r],
                          expected[std::size_t(wholeTop + r)]) << "shown row " << r;
        }

        policy.Gate->Release();
        int count = viewer.RowCount();
        for (int tick = 0; tick < 4000; ++tick) {
            if (!viewer.Lines().Loading() && viewer.WrapedLines().Complete())
                break;
            QTest::qWait(2);
            if (!lineNumbers) {
                ASSERT_GE(viewer.RowCount(), count);
            }
            count = viewer.RowCount();
            ASSERT_EQ(viewer.WrapedLines().RowStart(viewer.TopIndex()), (TTextPoint{0, TopLine}));
        }
        ASSERT_FALSE(viewer.Lines().Loading());
        ASSERT_TRUE(viewer.WrapedLines().Complete());
        QTest::qWait(5); // the wrap's last tick
        EXPECT_EQ(viewer.RowCount(), whole.RowCount()) << lineNumbers;
        EXPECT_EQ(viewer.GetGutterWidth(), whole.GetGutterWidth());
        EXPECT_TRUE(RowsOf(viewer) == expected) << lineNumbers;
        if (lineNumbers)
            continue;

        // The file grows as a followed log does, by a half line and then by
        // its end and more lines: the lines wrapped stay wrapped (the wrap
        // goes on, it does not start again), and the grown document ends
        // wrapped as a whole wrap of it.
        std::string grown = MixedLines(12000);
        for (const std::string& step : {std::string("a half line"),
                                        " that goes on " + std::string(300, 'x') + "\n" + MixedLines(40)}) {
            std::ofstream(path, std::ios::binary | std::ios::app) << step;
            grown += step;
            const int oldLast = viewer.Lines().Count() - 1;
            const std::vector<TWrapedLine> before = RowsOf(viewer);
            ASSERT_TRUE(viewer.GrowText());
            const std::vector<TWrapedLine> after = RowsOf(viewer);
            const int kept = viewer.WrapedLines().FirstRowOf(oldLast);
            ASSERT_GT(kept, 0);
            ASSERT_TRUE(std::equal(before.begin(), before.begin() + kept, after.begin()));
            ASSERT_TRUE(QTest::qWaitFor([&] { return viewer.WrapedLines().Complete(); }, 20000));
            QTest::qWait(5);
            TOVSynTextViewer fresh;
            fresh.SetShowLineNum(false);
            fresh.resize(400, 300);
            fresh.show();
            fresh.Lines().LoadViewedFile(folder.Write("fresh.log", grown));
            fresh.SetWordWrap(true);
            EXPECT_TRUE(RowsOf(viewer) == RowsOf(fresh));
        }
    }
}

// The widest line of a document handled in parts is measured a slice at a
// time behind the shown rows: whatever starts the measure (the first part
// shown while the index is held, the rest of the index, another font, another
// tab width, word wrap turned off, the file grown), it ends as the measure of
// the whole document made at once, and the horizontal bar with it.
TEST(WrapInParts, TheWidestLineMeasuredInPartsEndsAsTheWholeMeasure) {
    test::TTempFolder folder;
    std::string text = MixedLines(12000);
    // The widest line lies far past the first part, tabs and wide
    // characters in it.
    const std::size_t at = text.size() * 3 / 4;
    text.insert(text.find('\n', at) + 1, "\t가나\tx" + std::string(900, 'w') + "가나다\n");
    const std::string path = folder.Write("wide.log", text);
    auto open = [](TOVSynTextViewer& viewer, const std::string& file) {
        viewer.resize(400, 300);
        viewer.show();
        viewer.Lines().LoadViewedFile(file);
    };
    TOVSynTextViewer whole;
    open(whole, path);
    ASSERT_FALSE(whole.Lines().Loading());

    TLoadPolicy policy = HeldAfterFirstPart();
    TOVSynTextViewer viewer;
    viewer.SetLoadPolicy(policy);
    open(viewer, path);
    ASSERT_TRUE(viewer.Lines().Loading());
    EXPECT_LT(viewer.MaxStrWidth(), whole.MaxStrWidth()); // not indexed yet
    policy.Gate->Release();
    auto expectWholeMeasure = [&](const char* when) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.MaxStrWidth() == whole.MaxStrWidth(); }, 20000))
            << when << ": " << viewer.MaxStrWidth() << " against " << whole.MaxStrWidth();
        EXPECT_EQ(viewer.horizontalScrollBar()->maximum(), whole.horizontalScrollBar()->maximum()) << when;
    };
    expectWholeMeasure("open");
    ASSERT_FALSE(viewer.Lines().Loading());
    for (TOVSynTextViewer* each : {&whole, &viewer})
        each->SetUseBitmapFont(false);
    expectWholeMeasure("outline font");
    for (TOVSynTextViewer* each : {&whole, &viewer})
        each->SetTabWidth(8);
    expectWholeMeasure("tab width");
    viewer.SetWordWrap(true);
    viewer.SetWordWrap(false);
    expectWholeMeasure("wrap off");

    // A followed file grows by a line wider than any before.
    std::ofstream(path, std::ios::binary | std::ios::app) << std::string(1500, 'm') << "\n";
    ASSERT_TRUE(viewer.GrowText());
    TOVSynTextViewer fresh;
    fresh.SetUseBitmapFont(false);
    fresh.SetTabWidth(8);
    open(fresh, path);
    ASSERT_GT(fresh.MaxStrWidth(), whole.MaxStrWidth());
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.MaxStrWidth() == fresh.MaxStrWidth(); }, 20000));
}

} // namespace
} // namespace ov
