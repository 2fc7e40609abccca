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

#include <cstring>
#include <random>

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
// In every state the lines painting asks for carry the whole scan's marks.
TEST(BackgroundMarker, EveryStateMarksTheRowsAskedForAsTheWholeScanDoes) {
    test::TTempFolder folder;
    std::mt19937 random(5);
    for (const char* language : {"C", "HTML", "PHP"}) {
        const std::string path = folder.Write(std::string(language) + ".txt", RandomSource(random, 3000));
        const std::vector<std::string> expected = WholeScanMarks(path, language);
        const int count = int(expected.size());
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
        // The near half is marked from row 0 at once, further each time.
        int marked = 0;
        for (int first : {0, 5, 200, 900}) {
            const bool changed = marker.MarkLines(first, first + 40, 30);
            EXPECT_EQ(changed, marker.MarkedRows() > marked) << language << " at " << first;
            ASSERT_GT(marker.MarkedRows(), first + 40);
            marked = marker.MarkedRows();
            ExpectWholeScanMarks(lines, expected, first, first + 40, language);
        }
        EXPECT_EQ(marker.State(), TMarkerState::Scanning);

        // A row in the far half takes the worker's marks.
        policy.Gate->Release();
        ASSERT_TRUE(marker.MarkLines(count - 41, count - 1, 30));
        ASSERT_EQ(marker.State(), TMarkerState::Windowed) << language;
        EXPECT_TRUE(marker.WorkerDone());
        EXPECT_EQ(marker.MarkedRows(), 0);
        ExpectWholeScanMarks(lines, expected, count - 41, count - 1, language);
        for (int step = 0; step < 20; ++step) {
            const int first = int(random() % unsigned(count - 40));
            marker.MarkLines(first, first + 40, 30);
            ASSERT_LE(marker.WindowFirst(), first);
            ASSERT_GE(marker.WindowFirst(), 0);
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
    marker.TakeWorkerMarks();
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
