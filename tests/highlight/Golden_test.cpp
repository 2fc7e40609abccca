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
