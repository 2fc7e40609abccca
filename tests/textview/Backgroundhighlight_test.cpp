// A large document is marked on a worker thread while its first screen is
// shown: every row shown, and in the end every row, carries the marks the
// whole-document scan gives, and marks never belong to a replaced document
// or language. The marker that does it is tested alone as well.

#include "Backgroundmarker.h"
#include "Ovsyntextviewer.h"
#include "Ovsynhighlighter.h"
#include "Testsupport.h"
#include "Viewerhighlighter.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <thread>

namespace ov {
namespace {

const std::string SyntaxFolder = std::string(ORVANE_SOURCE_DIR) + "/data/Syntax";

// Every document, however small, goes to the worker.
TLoadPolicy BackgroundForAll() {
    TLoadPolicy policy;
    policy.BackgroundHighlightBytes = 1;
    return policy;
}

std::string RandomSource(std::mt19937& random, int lines) {
    const char* const pieces[] = {"/* ", " */", "\"", "\\", "int ", "x = 12;", "// ", "<script>",
                                  "</script>", "<b class=\"", "\">", "begin ", "end;", "{ ", "}",
                                  "'", "<!-- ", " -->"};
    std::string text;
    for (int line = 0; line < lines; ++line) {
        for (int piece = 0, count = int(random() % 6); piece < count; ++piece)
            text += pieces[random() % std::size(pieces)];
        text += "\n";
    }
    return text;
}

// The marks the whole-document scan gives the file, row by row.
std::vector<std::string> WholeScanMarks(const std::string& path, const std::string& language) {
    TOVSynStringList lines;
    lines.LoadViewedFile(path);
    TOVSynHighlighter highlighter(SyntaxFolder);
    highlighter.SetLang(language);
    highlighter.Execute(lines);
    std::vector<std::string> marks;
    for (int row = 0; row < lines.Count(); ++row) {
        const TStyleByte* styles = std::as_const(lines).GetStyleBytes(row);
        marks.emplace_back(reinterpret_cast<const char*>(styles), std::size_t(lines.GetLength(row)));
    }
    return marks;
}

std::string MarksOfRow(const TOVSynTextViewer& viewer, int row) {
    const TStyleByte* styles = viewer.Lines().GetStyleBytes(row);
    return {reinterpret_cast<const char*>(styles), std::size_t(viewer.Lines().GetLength(row))};
}

void Open(TOVSynTextViewer& viewer, const std::string& path, const std::string& language) {
    viewer.Lines().BeginUpdate();
    viewer.Lines().LoadViewedFile(path);
    viewer.SetSynLang(language);
    viewer.Lines().EndUpdate();
}

// While the worker runs, the rows shown carry the whole scan's marks; once
// it is done, only the rows around those shown hold marks, made from the
// checkpoint before them, and the view paints exactly what a view holding
// every row's marks paints, wherever it stands.
TEST(BackgroundHighlighting, ShownRowsCarryTheWholeScansMarksAndPaintAsWithAllMarks) {
    test::TTempFolder folder;
    std::mt19937 random(31);
    const char* const languages[] = {"C", "HTML", "Pascal", "PHP"};
    for (int round = 0; round < 8; ++round) {
        const std::string language = languages[round % 4];
        const std::string path = folder.Write("doc" + std::to_string(round) + ".txt",
                                              RandomSource(random, 3000));
        const std::vector<std::string> expected = WholeScanMarks(path, language);
        TOVSynTextViewer whole(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
        whole.resize(400, 300);
        whole.show();
        Open(whole, path, language);
        ASSERT_FALSE(whole.HighlightingInBackground());
        TOVSynTextViewer viewer(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
        viewer.SetLoadPolicy(BackgroundForAll());
        viewer.resize(400, 300);
        viewer.show();
        Open(viewer, path, language);
        ASSERT_TRUE(viewer.HighlightingInBackground());
        auto expectShownRows = [&] {
            for (int row = viewer.TopIndex();
                 row < std::min(viewer.TopIndex() + viewer.VisibleRows(), viewer.RowCount()); ++row)
                ASSERT_EQ(MarksOfRow(viewer, row), expected[std::size_t(row)]) << language << " row " << row;
        };
        for (int top : {0, 700, 1400}) {
            viewer.SetTopIndex(top);
            viewer.grab(); // paints, and so marks, the rows shown
            if (!viewer.HighlightingInBackground())
                break;
            expectShownRows();
        }
        viewer.FinishHighlighting();
        ASSERT_FALSE(viewer.HighlightingInBackground());
        EXPECT_TRUE(viewer.MarksOnlyWhereShown()) << language;
        for (int step = 0; step < 12; ++step) {
            const int top = step == 0 ? 2990 : int(random() % 3000);
            viewer.SetTopIndex(top);
            whole.SetTopIndex(top);
            const QImage shown = viewer.grab().toImage();
            expectShownRows();
            ASSERT_EQ(shown, whole.grab().toImage()) << language << " at row " << top;
        }
    }
}

TEST(BackgroundHighlighting, AReplacedDocumentOrLanguageNeverGetsTheOldMarks) {
    test::TTempFolder folder;
    std::mt19937 random(8);
    const std::string first = folder.Write("first.c", RandomSource(random, 20000));
    const std::string second = folder.Write("second.c", RandomSource(random, 5000));
    TOVSynTextViewer viewer(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
    viewer.SetLoadPolicy(BackgroundForAll());
    viewer.resize(400, 300);
    viewer.show();
    Open(viewer, first, "C");
    Open(viewer, second, "C");
    viewer.SetSynLang("Pascal");
    // The timer delivers what the worker made, if it is of this document.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer.HighlightingInBackground(); }, 20000));
    const std::vector<std::string> expected = WholeScanMarks(second, "Pascal");
    ASSERT_EQ(viewer.Lines().Count(), int(expected.size()));
    for (int top : {0, 2500, 4990}) {
        viewer.SetTopIndex(top);
        viewer.grab();
        for (int row = viewer.TopIndex();
             row < std::min(viewer.TopIndex() + viewer.VisibleRows(), viewer.RowCount()); ++row)
            ASSERT_EQ(MarksOfRow(viewer, row), expected[std::size_t(row)]) << row;
    }
    // A view closed while its worker runs stops it.
    Open(viewer, first, "C");
    EXPECT_TRUE(viewer.HighlightingInBackground());
}

// A followed file grows in place (GrowText) and is marked on from the marks
// before its old end, at once or in the background, also while the worker
// still scans: after every growth the rows around the old end and the last
// page carry the marks of the same file opened fresh (every row, when marked
// at once). The growths open a comment before the old end and close it after,
// continue a half line inside a string, and add many rows at once.
TEST(BackgroundHighlighting, AGrownDocumentCarriesTheMarksOfTheFileOpenedFresh) {
    test::TTempFolder folder;
    std::mt19937 random(24);
    for (const bool background : {false, true}) {
        for (const std::string language : {"C", "HTML"}) {
            const std::string path =
                folder.Write("grow.txt", RandomSource(random, 700) + "int a; /* opened at the end\nhalf");
            TOVSynTextViewer viewer(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
            if (background)
                viewer.SetLoadPolicy(BackgroundForAll());
            viewer.resize(400, 300);
            viewer.show();
            Open(viewer, path, language);
            const std::string steps[] = {" line\nstill open */ int b = \"a str",
                                         "ing\" /* x", RandomSource(random, 900),
                                         "<!-- <script> var s = 'q",
                                         " */ ' </script> -->\n" + RandomSource(random, 3000), ""};
            int step = 0;
            for (const std::string& text : steps) {
                std::ofstream(path, std::ios::binary | std::ios::app)
                    << (text.empty() ? RandomSource(random, 50) : text);
                ASSERT_TRUE(viewer.GrowText()) << step;
                if (background && step % 2 == 1)
                    viewer.FinishHighlighting(); // else a growth stops the running worker
                ++step;
            }
            viewer.FinishHighlighting(); // the last growth stopped a running worker
            const std::vector<std::string> expected = WholeScanMarks(path, language);
            ASSERT_EQ(viewer.Lines().Count(), int(expected.size()));
            if (!background) {
                for (int row = 0; row < viewer.Lines().Count(); ++row)
                    ASSERT_EQ(MarksOfRow(viewer, row), expected[std::size_t(row)]) << language << " row " << row;
                continue;
            }
            EXPECT_TRUE(viewer.MarksOnlyWhereShown());
            for (int top : {690, 1600, 2600, viewer.RowCount() - 5}) {
                viewer.SetTopIndex(top);
                viewer.grab();
                for (int row = viewer.TopIndex();
                     row < std::min(viewer.TopIndex() + viewer.VisibleRows(), viewer.RowCount()); ++row)
                    ASSERT_EQ(MarksOfRow(viewer, row), expected[std::size_t(row)]) << language << " row " << row;
            }
        }
    }
}

// Files whose rows far down lie inside a construct opened at the top: a C
// comment on the first row that closes only at the end, and a page's script
// section. A row far down starts nothing of its own, so only the whole
// scan's state tells how to mark it.
std::vector<std::pair<std::string, std::string>> OpenAtTheTop() {
    std::string comment = "/* opened on the first row\n";
    std::string page = "<html><body><script>\n";
    for (int line = 0; line < 20000; ++line) {
        comment += "int x" + std::to_string(line) + " = 12; s = \"text\";\n";
        page += "var x = 'a' + " + std::to_string(line) + "; if (x) { y = 2; }\n";
    }
    comment += "*/\nint end;\n";
    page += "</script></body></html>\n";
    return {{"C", comment}, {"HTML", page}};
}

// The first screen of a large highlighted file is painted, with the whole
// scan's marks, while the file is still being indexed; End and rows far down
// are painted at once while the worker scans (marked from a guess), and with
// the whole scan's marks once it has passed them, also inside a comment
// opened on the first row and inside a script section. A held gate keeps
// the index and the worker from going on: the window never waits for either.
TEST(BackgroundHighlighting, FarRowsPaintAtOnceAndThenWithTheWholeScansMarks) {
    test::TTempFolder folder;
    for (const auto& [language, text] : OpenAtTheTop()) {
        const std::string path = folder.Write("open." + language, text);
        const std::vector<std::string> expected = WholeScanMarks(path, language);
        TOVSynTextViewer whole(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
        whole.resize(400, 300);
        whole.show();
        Open(whole, path, language);
        ASSERT_FALSE(whole.HighlightingInBackground());
        const int far = whole.RowCount() - 40;
        // While the index grows, the gutter and the scroll bars tell of
        // fewer rows: then the marks are compared, not the pictures.
        auto expectAsWhole = [&](TOVSynTextViewer& viewer, int top) {
            whole.SetTopIndex(top);
            ASSERT_EQ(viewer.TopIndex(), top);
            const QImage shown = viewer.grab().toImage();
            for (int row = top; row < std::min(top + viewer.VisibleRows(), viewer.RowCount()); ++row)
                ASSERT_EQ(MarksOfRow(viewer, row), expected[std::size_t(row)]) << language << " row " << row;
            if (!viewer.Loading()) {
                ASSERT_EQ(shown, whole.grab().toImage()) << language << " at row " << top;
            }
        };

        TLoadPolicy policy = BackgroundForAll();
        policy.FirstPartBytes = 64 << 10;
        policy.Gate = std::make_shared<TWorkerGate>();
        policy.Gate->Hold();
        {
            // Indexed in part: the first screen is the whole scan's.
            TOVSynTextViewer viewer(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
            viewer.SetLoadPolicy(policy);
            viewer.resize(400, 300);
            viewer.show();
            Open(viewer, path, language);
            ASSERT_TRUE(viewer.Loading()) << language;
            ASSERT_TRUE(viewer.HighlightingInBackground());
            expectAsWhole(viewer, 0);
            viewer.SetTopIndex(far); // followed as the index gets there
            EXPECT_EQ(viewer.IntendedTopIndex(), far);
            policy.Gate->Release();
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return !viewer.HighlightingInBackground() && viewer.TopIndex() == far; }, 20000));
            expectAsWhole(viewer, far);
            policy.Gate->Hold(); // a view closed while its worker is held stops it
            Open(viewer, path, language);
        }
        {
            // Indexed at once, the worker held: far rows come at once.
            policy.FirstPartBytes = UINT64_MAX;
            TOVSynTextViewer viewer(nullptr, CreateSyntaxHighlighter(SyntaxFolder));
            viewer.SetLoadPolicy(policy);
            viewer.resize(400, 300);
            viewer.show();
            Open(viewer, path, language);
            ASSERT_FALSE(viewer.Loading());
            viewer.SetTopIndex(far);
            viewer.grab();
            EXPECT_TRUE(viewer.HighlightingInBackground());
            EXPECT_FALSE(viewer.ShownMarksExact()) << language;
            policy.Gate->Release();
            ASSERT_TRUE(QTest::qWaitFor([&] { return !viewer.HighlightingInBackground(); }, 20000));
            EXPECT_TRUE(viewer.ShownMarksExact());
            expectAsWhole(viewer, far);
            for (int top : {far / 2, 1, far - 3000})
                expectAsWhole((viewer.SetTopIndex(top), viewer), top);
        }
    }
}

// The marks a marker holds for lines first .. last equal the whole scan's.
void ExpectWholeScanMarks(const TOVSynStringList& lines, const std::vector<std::string>& expected,
                          int first, int last, const std::string& where) {
    for (int row = first; row <= last; ++row) {
        const std::string marks(reinterpret_cast<const char*>(lines.GetStyleBytes(row)),
                                std::size_t(lines.GetLength(row)));
        ASSERT_EQ(marks, expected[std::size_t(row)]) << where << " row " << row;
    }
}

// The marker alone, without a view: the gate keeps its worker from
// starting, so that every state is looked at whatever the machine's speed.
// The lines painting asks for carry the whole scan's marks whenever they lie
// near a checkpoint; far beyond the running worker they are marked from a
// guess at once, and from a checkpoint once the worker has passed them.
TEST(BackgroundMarker, EveryStateMarksTheRowsAskedForAsTheWholeScanDoes) {
    test::TTempFolder folder;
    std::mt19937 random(5);
    for (const char* language : {"C", "HTML", "PHP"}) {
        const std::string path = folder.Write(std::string(language) + ".txt", RandomSource(random, 12000));
        const std::vector<std::string> expected = WholeScanMarks(path, language);
        const int count = int(expected.size());
        ASSERT_GT(count - 41, TBackgroundMarker::MaxScanRows);
        TOVSynStringList lines;
        lines.LoadViewedFile(path);
        std::unique_ptr<TViewerHighlighter> highlighter = CreateSyntaxHighlighter(SyntaxFolder);
        highlighter->SetLang(language);
        TBackgroundMarker marker(lines, *highlighter);
        ASSERT_EQ(marker.State(), TMarkerState::Idle);
        EXPECT_FALSE(marker.MarkLines(0, 10, 30)); // nothing to do

        TLoadPolicy policy = BackgroundForAll();
        policy.Gate = std::make_shared<TWorkerGate>();
        policy.Gate->Hold();
        ASSERT_EQ(marker.Start(policy), TMarkerState::Scanning);
        EXPECT_FALSE(marker.WorkerDone());
        EXPECT_EQ(marker.WindowFirst(), -1);
        // Near the top: from row 0 at once.
        for (int first : {0, 5, 200, 900}) {
            marker.MarkLines(first, first + 40, 30);
            ASSERT_TRUE(marker.WindowExact());
            ExpectWholeScanMarks(lines, expected, first, first + 40, language);
        }
        // Far beyond: a guess, at once, and painting the same lines again
        // scans nothing.
        ASSERT_TRUE(marker.MarkLines(count - 41, count - 1, 30));
        EXPECT_FALSE(marker.WindowExact());
        EXPECT_FALSE(marker.MarkLines(count - 41, count - 1, 30));
        EXPECT_FALSE(marker.Poll());
        EXPECT_EQ(marker.State(), TMarkerState::Scanning);

        // Once the worker is done, Poll asks for the guess to be painted
        // again, and the window is then the whole scan's.
        policy.Gate->Release();
        bool repaint = false;
        for (int polls = 0; marker.State() == TMarkerState::Scanning && polls < 100000; ++polls) {
            repaint = marker.Poll() || repaint;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_EQ(marker.State(), TMarkerState::Windowed) << language;
        EXPECT_TRUE(repaint);
        ASSERT_TRUE(marker.MarkLines(count - 41, count - 1, 30));
        ASSERT_TRUE(marker.WindowExact());
        ExpectWholeScanMarks(lines, expected, count - 41, count - 1, language);
        for (int step = 0; step < 20; ++step) {
            const int first = int(random() % unsigned(count - 40));
            marker.MarkLines(first, first + 40, 30);
            ASSERT_LE(marker.WindowFirst(), first);
            ASSERT_GE(marker.WindowFirst(), first - 256);
            ExpectWholeScanMarks(lines, expected, first, first + 40, language);
            // Lines inside the window are not marked again.
            EXPECT_FALSE(marker.MarkLines(first + 1, first + 39, 30));
        }

        marker.Cancel();
        EXPECT_EQ(marker.State(), TMarkerState::Idle);
        EXPECT_EQ(marker.WindowFirst(), -1);
        EXPECT_FALSE(marker.MarkLines(0, 10, 30));
    }
}

// Cancelling or starting again stops a worker, even one held at its gate,
// and its marks never reach the text or language that replaced it; what
// cannot go to a worker (a small or copied document, no language) is
// marked whole at once.
TEST(BackgroundMarker, ANewStartOrACancelEndsTheWorkerAndSmallDocumentsAreMarkedAtOnce) {
    test::TTempFolder folder;
    std::mt19937 random(12);
    const std::string first = folder.Write("first.c", RandomSource(random, 4000));
    const std::string second = folder.Write("second.c", RandomSource(random, 2000));
    TOVSynStringList lines;
    std::unique_ptr<TViewerHighlighter> highlighter = CreateSyntaxHighlighter(SyntaxFolder);
    TBackgroundMarker marker(lines, *highlighter);
    TLoadPolicy policy = BackgroundForAll();
    policy.Gate = std::make_shared<TWorkerGate>();
    policy.Gate->Hold();

    lines.LoadViewedFile(first);
    highlighter->SetLang("C");
    ASSERT_EQ(marker.Start(policy), TMarkerState::Scanning);
    marker.Cancel(); // returns although the worker is held
    EXPECT_EQ(marker.State(), TMarkerState::Idle);
    EXPECT_TRUE(highlighter->BackgroundDone());

    lines.LoadViewedFile(second);
    ASSERT_EQ(marker.Start(policy), TMarkerState::Scanning);
    highlighter->SetLang("Pascal");
    ASSERT_EQ(marker.Start(policy), TMarkerState::Scanning); // the held C worker ends
    policy.Gate->Release();
    marker.WaitForWorker();
    ASSERT_EQ(marker.State(), TMarkerState::Windowed);
    const std::vector<std::string> expected = WholeScanMarks(second, "Pascal");
    ASSERT_EQ(lines.Count(), int(expected.size()));
    for (int top : {0, 1000, lines.Count() - 30}) {
        marker.MarkLines(top, top + 29, 30);
        ExpectWholeScanMarks(lines, expected, top, top + 29, "Pascal");
    }

    // Below the policy's size, copied, or without a language: at once.
    TLoadPolicy large;
    large.BackgroundHighlightBytes = UINT64_MAX;
    EXPECT_EQ(marker.Start(large), TMarkerState::Idle);
    ExpectWholeScanMarks(lines, expected, 0, lines.Count() - 1, "whole");
    TOVSynStringList copied;
    copied.AddStrings(lines);
    TBackgroundMarker copiedMarker(copied, *highlighter);
    EXPECT_EQ(copiedMarker.Start(BackgroundForAll()), TMarkerState::Idle);
    ExpectWholeScanMarks(copied, expected, 0, copied.Count() - 1, "copied");
    highlighter->SetLang("");
    EXPECT_EQ(marker.Start(BackgroundForAll()), TMarkerState::Idle);
}

} // namespace
} // namespace ov
