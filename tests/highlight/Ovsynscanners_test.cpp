#include "Highlighttestsupport.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

using test::Crlf;
using test::MarksOf;
using test::SetLines;

class PlainScan : public testing::Test {
protected:
    void SetUp() override { Use(test::DemoSyntax); }
    void Use(const std::string& syntax) {
        Folder = std::make_unique<test::TDefinitionFolder>();
        Folder->Add("Demo", syntax);
        Highlighter = Folder->Highlighter("Demo");
    }
    void Run(std::initializer_list<std::string_view> texts) {
        SetLines(Lines, texts);
        ASSERT_TRUE(Highlighter->Execute(Lines));
    }
    std::string Marks(int row) { return MarksOf(Lines, row); }

    std::unique_ptr<test::TDefinitionFolder> Folder;
    std::unique_ptr<TOVSynHighlighter> Highlighter;
    TOVSynStringList Lines;
};

TEST_F(PlainScan, KeywordsNumbersAndUnlistedDelimiters) {
    Run({"int x = 10;", "5a a5 7 {"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 8:+1 9:-1");
    EXPECT_EQ(Marks(1), "0:+1 1:-1 6:-1 8:-7") << "5a is a number, a5 a word, 7 and { one byte";
}

TEST_F(PlainScan, LineAndBlockComments) {
    Run({"x; // note", "a", "b /* one", "two", "three */ c", "/*/ int"});
    EXPECT_EQ(Marks(0), "3:+2 9:-2");
    EXPECT_EQ(Marks(2), "2:+2");
    EXPECT_EQ(Marks(3), "");
    EXPECT_EQ(Marks(4), "7:-2");
    EXPECT_EQ(Marks(5), "0:+2 2:-2 4:+7 6:-7") << "the closer may overlap the opener";
}

TEST_F(PlainScan, StringsEscapesAndContinuations) {
    Run({"\"a\\\"b\" int", "\"open \\", "next\" int", "\"unclosed", "int"});
    EXPECT_EQ(Marks(0), "0:+3 5:-3 7:+7 9:-7");
    EXPECT_EQ(Marks(1), "0:+3");
    EXPECT_EQ(Marks(2), "4:-3 6:+7 8:-7");
    EXPECT_EQ(Marks(3), "0:+3 8:-3") << "a string without a closing quote ends with its row";
    EXPECT_EQ(Marks(4), "0:+7 2:-7");
}

TEST_F(PlainScan, AContinuedStringThatReachesAnEmptyRowEndsOnTheEscape) {
    Run({"\"a\\", "", "int"});
    EXPECT_EQ(Marks(0), "0:+3 2:-3");
    EXPECT_EQ(Marks(2), "0:+7 2:-7");
}

TEST_F(PlainScan, AStringOpenAtTheEndOfTheDocumentHasNoClosingMark) {
    Run({"int \"abc"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 4:+3");
    Run({"\"abc\\"});
    EXPECT_EQ(Marks(0), "0:+3");
}

TEST_F(PlainScan, EscapeEqualToTheQuote) {
    Use("StringChar1='\r\nEscapeChar1='\r\n");
    Run({"'it''s' x", "'ab'"});
    // Every quote inside the row escapes the next byte, so the string ends
    // with its row (the last byte is not a quote with a byte after it).
    EXPECT_EQ(Marks(0), "0:+3 8:-3");
    EXPECT_EQ(Marks(1), "0:+3 3:-3") << "a quote that is the row's last byte closes";
}

TEST_F(PlainScan, LongWordsAreSkippedWithoutMarks) {
    const std::string word(300, 'a');
    Run({word + " int", "(" + word + " 12"});
    EXPECT_EQ(Marks(0), "301:+7 303:-7");
    EXPECT_EQ(Marks(1), "302:+1 303:-1");
}

TEST_F(PlainScan, UnterminatedBlockCommentClosesOnTheLastByte) {
    Run({"int /* a", "b", "cd"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 4:+2");
    EXPECT_EQ(Marks(2), "1:-2");
    Run({"/* a", ""});
    EXPECT_EQ(Marks(0), "0:+2") << "an empty last row gets no mark";
}

TEST_F(PlainScan, DelimiterRunsAndKeywordsWithDelimiters) {
    Use("Delimiters=#<>.\r\n#Item \"Pre\"\r\n#include\r\n#Item \"Op\"\r\n< . >\r\n");
    Run({"#include <a.h>", "#define"});
    EXPECT_EQ(Marks(0), "0:+7 7:-7 9:-8 11:-8 13:-8");
    EXPECT_EQ(Marks(1), "") << "an unlisted run looks up its first byte only";
}

TEST_F(PlainScan, OrderOfRulesWhereTheyOverlap) {
    Use("Delimiters=\"/'\r\nLineComment1=//\r\nStringChar1=\"\r\nStringChar2='\r\n"
        "#Item \"D\"\r\n/ \" '\r\n");
    Run({"/ \"s\" // c", "'t'"});
    EXPECT_EQ(Marks(0), "0:-7 2:+3 4:-3 6:+2 9:-2");
    EXPECT_EQ(Marks(1), "0:+4 2:-4");
}

TEST_F(PlainScan, CommentOpenersAndTheEndTextAreByteExact) {
    Use("CaseSensitive=0\r\nBlockComment1S=REM\r\nBlockComment1E=END\r\n#Item \"k\"\r\nrem\r\n");
    Run({"rem x REM y END"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7 6:+2 14:-2");
}

TEST_F(PlainScan, WordsInsideStrings) {
    Use("Delimiters=\" \r\nStringChar1=\"\r\nStringChar2='\r\n#Item \"Fmt\" PriorStr1\r\n%d\r\n"
        "#Item \"K\"\r\nint\r\n");
    Run({"\"x %d int\" '%d'"});
    EXPECT_EQ(Marks(0), "0:+3 3:+7 4:-7 9:-3 11:+4 14:-4");
}

TEST_F(PlainScan, BlockOpenerWithoutCloserRunsToTheEndOfTheDocument) {
    Use("BlockComment1S=__END__\r\n#Item \"k\"\r\nint\r\n");
    Run({"int", "__END__", "int", "data"});
    EXPECT_EQ(Marks(0), "0:+7 2:-7");
    EXPECT_EQ(Marks(1), "0:+2");
    EXPECT_EQ(Marks(2), "");
    EXPECT_EQ(Marks(3), "3:-2");
}

TEST_F(PlainScan, HugeRowsAndDelimiterOnlyDocuments) {
    std::string big;
    for (int i = 0; big.size() < 10u << 20; ++i)
        big += i % 7 ? "int x = 10; " : "/* c */ \"s\\\"\" ";
    big += "int";
    Run({big});
    const int last = static_cast<int>(big.size()) - 1;
    EXPECT_EQ(Lines.GetStyleID(0, 0), 2);
    EXPECT_EQ(Lines.GetStyleID(0, last - 2), 7);
    EXPECT_EQ(Lines.GetStyleID(0, last), -7);
    std::string delimiters;
    for (int i = 0; i < 100000; ++i)
        delimiters += ";=(){}"[i % 6];
    Run({delimiters, delimiters});
    EXPECT_EQ(Lines.GetStyleID(1, 4), -7);
    EXPECT_EQ(Lines.GetStyleID(1, 3), 0);
}

TEST_F(PlainScan, MarksOfAnEarlierRunAreCleared) {
    Run({"int"});
    Lines.SetStyleID(0, 1, 5);
    Highlighter->Execute(Lines);
    EXPECT_EQ(Marks(0), "0:+7 2:-7");
}

} // namespace
} // namespace ov
