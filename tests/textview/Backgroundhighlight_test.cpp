// A large document is marked on a worker thread while its first screen is
// shown: every row shown, and in the end every row, carries the marks the
// whole-document scan gives, and marks never belong to a replaced document
// or language.

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

} // namespace
} // namespace ov
