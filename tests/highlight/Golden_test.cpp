// Golden files of the shipped languages: for every sample in
// tests/data/languages (named <Language>.<ext>), the marks of every line
// (tests/data/highlight/golden/<sample>.marks) and the exported page
// (<sample>.htm). Regenerate them with tests/highlight/regenerate_golden.sh
// after a deliberate change, and review the difference.

#include "Files.h"
#include "Highlighttestsupport.h"
#include "Htmlpage.h"
#include "Langlinks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <random>

namespace ov {
namespace {

const std::string SourceDir = ORVANE_SOURCE_DIR;
const std::string SampleFolder = SourceDir + "/tests/data/languages/";
const std::string GoldenFolder = SourceDir + "/tests/data/highlight/golden/";

bool Regenerating() {
    return std::getenv("ORVANE_UPDATE_GOLDEN") != nullptr;
}

void CompareWithGolden(const std::string& name, const std::string& actual) {
    const std::string path = GoldenFolder + name;
    if (Regenerating()) {
        ASSERT_TRUE(WriteWholeFile(path, actual)) << path;
        return;
    }
    ASSERT_TRUE(FileExists(path)) << path
                                  << " is missing: run tests/highlight/regenerate_golden.sh";
    const std::string expected = test::ReadBytes(path);
    if (expected == actual)
        return;
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
        ++at;
    const std::size_t lineStart =
        expected.rfind('\n', at) == std::string::npos ? 0 : expected.rfind('\n', at) + 1;
    ADD_FAILURE() << name << " differs from byte " << at << "; expected line:\n"
                  << expected.substr(lineStart, expected.find('\n', at) - lineStart)
                  << "\nactual:\n"
                  << actual.substr(lineStart, actual.find('\n', at) - lineStart);
}

TEST(GoldenLanguages, MarksAndPagesOfEverySample) {
    const std::vector<std::string> samples = ListFiles(SampleFolder, "");
    ASSERT_FALSE(samples.empty());
    TLangLinks links;
    ASSERT_TRUE(links.LoadFromFile(SourceDir + "/data/langlink.ini"));
    for (const std::string& sample : samples) {
        SCOPED_TRACE(sample);
        const std::string language = sample.substr(0, sample.rfind('.'));
        EXPECT_EQ(links.LanguageOfFile(sample), language) << "langlink.ini disagrees";

        TOVSynStringList lines;
        lines.LoadFromFile(SampleFolder + sample);
        ASSERT_GT(lines.Count(), 0);
        TOVSynHighlighter highlighter(SourceDir + "/data/Syntax");
        highlighter.SetLang(language);
        ASSERT_TRUE(highlighter.Execute(lines));
        CompareWithGolden(sample + ".marks", test::MarkDump(lines, highlighter));
        CompareWithGolden(sample + ".htm", BuildHtmlPage(lines, highlighter, sample));
    }
}

// The pages of a C file, an HTML page with script and style sections and a
// PHP page use the colours of the shipped styles of every language involved.
TEST(GoldenLanguages, PagesCarryTheShippedColours) {
    struct TCase {
        const char* Sample;
        std::vector<std::string> Languages;
    };
    const TCase cases[] = {
        {"C.c", {"C"}}, {"HTML.html", {"HTML", "JS", "CSS"}}, {"PHP.php", {"PHP", "HTML"}}};
    for (const TCase& sample : cases) {
        SCOPED_TRACE(sample.Sample);
        if (!FileExists(SampleFolder + sample.Sample))
            continue;
        TOVSynStringList lines;
        lines.LoadFromFile(SampleFolder + sample.Sample);
        const std::string language = sample.Languages.front();
        TOVSynHighlighter highlighter(SourceDir + "/data/Syntax");
        highlighter.SetLang(language);
        highlighter.Execute(lines);
        const std::string page = BuildHtmlPage(lines, highlighter, sample.Sample);
        for (const std::string& used : sample.Languages) {
            ASSERT_GE(highlighter.SlotOf(used), 0) << used;
            TOVSynLangStyle style;
            style.LoadFromFile(SourceDir + "/data/Syntax/" + used + ".sty");
            const std::string rule =
                "." + used + "Comment {color:" + ColorToHtml(style.Colors[StyleComment].Fore) + ";";
            EXPECT_NE(page.find(rule), std::string::npos) << rule;
            EXPECT_NE(page.find("<span class='" + used), std::string::npos)
                << "nothing marked in " << used;
        }
    }
}

} // namespace
} // namespace ov

namespace ov {
namespace {

// A scan that stops at a row marks every row up to two before it exactly as
// the scan of the whole document does, and nothing after it; one that starts
// at a row with the state the whole scan had there marks every row from it
// on as the whole scan does; a page written
// as the rows are marked is the page of the whole scan. Over every
// sample of every shipped language, stopped at every row, and over random
// documents full of constructs that run over rows (block comments, strings
// continued by an escape before empty rows, tags and script sections).
TEST(GoldenLanguages, StoppedScansAndStreamedPagesAgreeWithTheWholeScan) {
    std::vector<std::pair<std::string, std::string>> documents; // language, text
    for (const std::string& sample : ListFiles(SampleFolder, ""))
        documents.emplace_back(sample.substr(0, sample.rfind('.')), test::ReadBytes(SampleFolder + sample));
    // A string continued onto an empty row ends on the row before it.
    documents.emplace_back("C", "s = \"abc\\\n\nint x;\n");
    std::mt19937 random(23);
    const char* const pieces[] = {"/* ", " */", "\"", "\\", "'", "<script>", "</script>", "<!-- ",
                                  " -->", "<b class=\"", "\">", "int ", "x = 1;", "// ", "<?php ",
                                  " ?>", "&amp;", "\t", "#define ", "{", "}"};
    for (int i = 0; i < 150; ++i) {
        std::string text;
        for (int line = 0, lines = int(random() % 25) + 1; line < lines; ++line) {
            for (int piece = 0, count = int(random() % 5); piece < count; ++piece)
                text += pieces[random() % std::size(pieces)];
            text += "\n";
        }
        const char* const languages[] = {"C", "HTML", "PHP", "Pascal"};
        documents.emplace_back(languages[i % 4], text);
    }
    for (const auto& [language, text] : documents) {
        TOVSynStringList whole;
        whole.SetTextStr(text.c_str());
        TOVSynHighlighter full(SourceDir + "/data/Syntax");
        full.SetLang(language);
        struct TRowStart {
            TScanState State;
            int Languages = 0; // 0: a row the scan never reached
        };
        std::vector<TRowStart> starts(std::size_t(whole.Count()));
        full.SetRowHook([&](int row, const TScanState& state, int languages) {
            starts.at(std::size_t(row)) = {state, languages};
        });
        ASSERT_TRUE(full.Execute(whole));
        full.SetRowHook(nullptr);
        // A scan started at any row with the state the whole scan had there,
        // and its languages, marks that row and every one after it as the
        // whole scan does, whatever was left open above.
        TOVSynHighlighter resumed(SourceDir + "/data/Syntax");
        resumed.SetLang(language);
        for (int first = whole.Count() - 1; first >= 0; first -= 1 + whole.Count() / 64) {
            if (starts[std::size_t(first)].Languages == 0)
                continue;
            TOVSynStringList lines;
            lines.SetTextStr(text.c_str());
            resumed.UseLanguages(full.Languages(), starts[std::size_t(first)].Languages);
            ASSERT_TRUE(resumed.ExecuteFrom(lines, starts[std::size_t(first)].State, first, lines.Count() - 1));
            for (int row = first; row < lines.Count(); ++row)
                ASSERT_EQ(test::MarksOf(lines, row), test::MarksOf(whole, row))
                    << language << " resumed at " << first << ", row " << row << ":\n" << text;
        }
        // The page written as the rows are marked, holding a few rows' marks,
        // is the page of the whole scan.
        {
            TOVSynStringList streamed;
            streamed.SetTextStr(text.c_str());
            TOVSynHighlighter highlighter(SourceDir + "/data/Syntax");
            highlighter.SetLang(language);
            std::string page;
            ASSERT_TRUE(MarkAndWriteHtmlPage(streamed, highlighter, "t", [&](std::string_view piece) {
                page.append(piece);
                return true;
            }));
            ASSERT_EQ(page, BuildHtmlPage(whole, full, "t")) << language << ":\n" << text;
        }
        for (int last = 0; last < whole.Count(); ++last) {
            TOVSynStringList lines;
            lines.SetTextStr(text.c_str());
            TOVSynHighlighter prefix(SourceDir + "/data/Syntax");
            prefix.SetLang(language);
            ASSERT_TRUE(prefix.ExecuteRows(lines, 0, last));
            for (int row = 0; row < lines.Count(); ++row) {
                if (row <= last - TOVSynHighlighter::UncertainRows) {
                    ASSERT_EQ(test::MarksOf(lines, row), test::MarksOf(whole, row))
                        << language << " stopped at " << last << ", row " << row << ":\n" << text;
                } else if (row > last) {
                    ASSERT_EQ(test::MarksOf(lines, row), "") << row;
                }
            }
        }
    }
}

} // namespace
} // namespace ov
