// Word wrap of a document larger than the part indexed at once: the rows
// shown are wrapped as soon as wrap is turned on, even while the lines are
// still being indexed, and the rest is wrapped a part at a time behind them.

#include "Loadpolicy.h"
#include "Ovsyntextviewer.h"
#include "Testsupport.h"

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

        TLoadPolicy policy;
        policy.FirstPartBytes = 64 << 10;
        policy.Gate = std::make_shared<TWorkerGate>();
        policy.Gate->Hold();
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

} // namespace
} // namespace ov
