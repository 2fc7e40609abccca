#include "Highlighttestsupport.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

using test::Crlf;
using test::MarksOf;
using test::SetLines;

const std::string HtmlSyntax =
    Crlf({"HTML_LANG=1", "StringChar1=\"", "StringChar2='", "#Item \"Tag\"", "<a <b </b>",
          "#Item \"Attribute\"", "href", "#Item \"Entity\"", "&amp;"});

class HtmlScan : public testing::Test {
protected:
    void SetUp() override {
        Folder.Add("HTML", HtmlSyntax);
        Folder.Add("JS", Crlf({"Delimiters=<>=;()", "#Item \"Word\"", "x"}));
        Folder.Add("Page", Crlf({"HTML_LANG=1", "LangBraceS=<?", "LangBraceE=?>", "Delimiters=<>?;",
                                 "#Item \"Keyword\"", "echo"}));
    }
    void Run(const std::string& language, std::initializer_list<std::string_view> texts) {
        Highlighter = Folder.Highlighter(language);
        SetLines(Lines, texts);
        ASSERT_TRUE(Highlighter->Execute(Lines));
    }
    std::string Marks(int row) { return MarksOf(Lines, row); }

    test::TDefinitionFolder Folder;
    std::unique_ptr<TOVSynHighlighter> Highlighter;
    TOVSynStringList Lines;
};

TEST_F(HtmlScan, ListedTagsAndTheirBrackets) {
    Run("HTML", {"<b>bold</b>", "<p class=x>", "</i> x > y"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 7:+7 10:-7");
    EXPECT_EQ(Marks(1), "0:-7 10:-7") << "an unlisted tag marks its brackets only";
    EXPECT_EQ(Marks(2), "3:-7 7:-7") << "an unlisted closing tag in slot 0 has no mark of its own";
}

TEST_F(HtmlScan, AttributesNamesAndValues) {
    Run("HTML", {"<a href=x.htm>", "<a href=\"x\" title='t'>", "<a", " href = y", ">"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 3:+8 6:-8 8:+6 12:-6 13:-7");
    EXPECT_EQ(Marks(1), "0:+7 2:-7 3:+8 6:-8 8:+3 10:-3 18:+4 20:-4 21:-7");
    EXPECT_EQ(Marks(2), "0:+7 1:-7") << "a tag name at the row's end";
    EXPECT_EQ(Marks(3), "1:+8 4:-8 8:-6") << "attributes go on over rows";
    EXPECT_EQ(Marks(4), "0:-7");
}

TEST_F(HtmlScan, EntitiesAndComments) {
    Run("HTML", {"&amp; &nbsp; & x", "<!-- a -->", "<!-- open", "still -->x"});
    EXPECT_EQ(Marks(0), "0:+9 4:-9");
    EXPECT_EQ(Marks(1), "0:+2 9:-2");
    EXPECT_EQ(Marks(2), "0:+2");
    EXPECT_EQ(Marks(3), "8:-2");
}

TEST_F(HtmlScan, ScriptSectionsUseTheirOwnLanguage) {
    Run("HTML", {"<script>x=1;</script><b>", "<SCRIPT>x</SCRIPT>", "x"});
    ASSERT_EQ(Highlighter->Languages().size(), 2u);
    EXPECT_EQ(Highlighter->Languages()[1], "JS");
    EXPECT_EQ(Marks(0), "8:-24 10:-18 21:+7 23:-7");
    // The end text is byte-exact: a section closed in capitals runs on.
    EXPECT_EQ(Marks(1), "8:-24");
    EXPECT_EQ(Marks(2), "0:-24");
}

TEST_F(HtmlScan, MissingStyleLanguageIsAddedWithEmptyRules) {
    // Without delimiters the end text is seen only where a word starts.
    Run("HTML", {"<style>p { }</style><b>", "</style><b>"});
    ASSERT_EQ(Highlighter->Languages().size(), 2u);
    EXPECT_EQ(Highlighter->Languages()[1], "CSS");
    EXPECT_EQ(Marks(0), "");
    EXPECT_EQ(Marks(1), "8:+7 10:-7");
}

TEST_F(HtmlScan, PagesOfALanguageThatEmbedsHtml) {
    Run("Page", {"<b><? echo 1; ?></b></i>"});
    ASSERT_EQ(Highlighter->Languages().size(), 2u);
    EXPECT_EQ(Highlighter->Languages()[1], "HTML");
    EXPECT_EQ(Marks(0), "0:+24 2:-24 6:+7 9:-7 11:-1 16:+24 19:-24 20:-17 23:-24");
    EXPECT_EQ(Highlighter->GetStyleNameOf(17 + 8), "Attribute");
}

// Rows of openers without their closing byte: each opener measures up to
// the row's end, which must not make the scan quadratic.
TEST_F(HtmlScan, RowsOfOpenersWithoutClosersStayLinear) {
    const std::size_t size = 4u << 20;
    std::string tags, closings, entities, mixed;
    for (std::size_t i = 0; i < size; ++i) {
        tags += '<';
        closings += i % 2 ? '/' : '<';
        entities += '&';
        mixed += "<a</&x"[i % 6];
    }
    Run("HTML", {tags, closings, entities, mixed, "<b>"});
    EXPECT_EQ(Lines.GetStyleID(0, 0), -7);
    EXPECT_EQ(Lines.GetStyleID(2, 0), 0);
    EXPECT_EQ(Marks(4), "0:+7 2:-7");
}

TEST_F(HtmlScan, NothingIsReadPastTheDocument) {
    Run("HTML", {"<a href=\"unclosed"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 3:+8 6:-8 8:+3");
    Run("HTML", {"<a '\\"});
    Run("HTML", {"<a x=", "<"});
    EXPECT_EQ(Marks(1), "0:-6");
    Run("HTML", {"&", "<", "</", "<!--"});
    const std::string longTag = "<" + std::string(300, 'a') + ">";
    Run("HTML", {longTag, "</" + std::string(300, 'b') + ">", "&" + std::string(300, 'c') + ";"});
    EXPECT_EQ(Marks(0), "0:-7 301:-7");
    EXPECT_EQ(Marks(1), "302:-7");
    EXPECT_EQ(Marks(2), "");
}

} // namespace
} // namespace ov
