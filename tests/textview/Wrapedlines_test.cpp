#include "Charwidths.h"
#include "Ovstrings.h"
#include "Wrapedlines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace ov {
namespace {

std::vector<TWrapedLine> Wrap(std::string_view text, int area, int tabWidth = 4) {
    std::vector<TWrapedLine> rows;
    TWrapedLines::WrapLine(text, 0, TBitmapCharWidths(tabWidth), area, rows);
    return rows;
}

const std::string Ga = "\xB0\xA1"; // one double-byte character

TEST(WrapedLines, EmptyLineHasOneEmptyRow) {
    EXPECT_EQ(Wrap("", 80), (std::vector<TWrapedLine>{{0, 0, 0}}));
}

TEST(WrapedLines, ExactWidthStaysOneRowOnePixelMoreBreaks) {
    EXPECT_EQ(Wrap("abcdefghij", 80).size(), 1u);
    EXPECT_EQ(Wrap("abcdefghij", 79), (std::vector<TWrapedLine>{{0, 0, 9}, {9, 0, 1}}));
}

TEST(WrapedLines, DoubleByteCharacterIsNeverSplit) {
    // Ten cells fill the area of 80 pixels; the Hangul starts the next row.
    EXPECT_EQ(Wrap("abcdefghij" + Ga, 80), (std::vector<TWrapedLine>{{0, 0, 10}, {10, 0, 2}}));
    // Nine cells leave 8 pixels: still too few for 16.
    EXPECT_EQ(Wrap("abcdefghi" + Ga + "x", 80), (std::vector<TWrapedLine>{{0, 0, 9}, {9, 0, 3}}));
}

// A window narrower than its gutter shows no text: a line stays one row
// instead of one row per character (a large file would need a row record
// for every byte of it).
TEST(WrapedLines, NoTextAreaKeepsEachLineInOneRow) {
    EXPECT_EQ(Wrap("abc" + Ga, 0), (std::vector<TWrapedLine>{{0, 0, 5}}));
    EXPECT_EQ(Wrap("abc", -30), (std::vector<TWrapedLine>{{0, 0, 3}}));
    EXPECT_EQ(Wrap("", -30), (std::vector<TWrapedLine>{{0, 0, 0}}));
    // One pixel of area wraps as always: a row per character.
    EXPECT_EQ(Wrap("ab", 1).size(), 3u);
}

TEST(WrapedLines, TabMovesToTheNextRowWhole) {
    // 7 cells + a tab of 4 cells do not fit 10 cells.
    EXPECT_EQ(Wrap("abcdefg\tz", 80, 4), (std::vector<TWrapedLine>{{0, 0, 7}, {7, 0, 2}}));
    EXPECT_EQ(Wrap("abcdef\tz", 80, 4), (std::vector<TWrapedLine>{{0, 0, 7}, {7, 0, 1}}));
}

TEST(WrapedLines, RandomLinesKeepTheRowInvariants) {
    std::mt19937 random(7);
    TBitmapCharWidths widths(4);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int length = int(random() % 200);
        for (int i = 0; i < length; ++i) {
            const int kind = int(random() % 10);
            if (kind == 0)
                text += '\t';
            else if (kind < 4)
                text += Ga;
            else
                text += char('a' + random() % 26);
        }
        const int area = 40 + int(random() % 200);
        const auto rows = Wrap(text, area);
        int start = 0;
        for (const TWrapedLine& row : rows) {
            ASSERT_EQ(row.Start, start);
            // A row never starts on the second byte of a double-byte character.
            int p = 0;
            while (p < row.Start)
                p += static_cast<uint8_t>(text[std::size_t(p)]) >= 0x80 ? 2 : 1;
            ASSERT_EQ(p, row.Start);
            const auto drawn = widths.DrawnWidth(
                std::string_view(text).substr(std::size_t(row.Start), std::size_t(row.Length)));
            ASSERT_LE(drawn, area) << "round " << round;
            start += row.Length;
        }
        ASSERT_EQ(start, int(text.size()));
        // Rows are as long as they can be: the next character would not fit.
        for (std::size_t r = 0; r + 1 < rows.size(); ++r) {
            const auto withNext = widths.DrawnWidth(std::string_view(text).substr(
                std::size_t(rows[r].Start), std::size_t(rows[r].Length + 1)));
            ASSERT_GT(withNext, area);
        }
    }
}

// Wrapped a part at a time in any order (from a random line, both ways,
// jumping far and back, the last lines changing), the rows are always those
// of the whole wrap: the rows of every line, at the same row numbers. The
// rows are held in chunks of 8, so the block crosses chunk bounds at both
// ends all the time.
TEST(WrapedLines, RowsMadeInPartsInAnyOrderAreTheWholeWrap) {
    std::mt19937 random(11);
    TBitmapCharWidths widths(4);
    constexpr int Area = 60;
    constexpr int LineCount = 6000;
    TOVStringList lines;
    for (int i = 0; i < LineCount; ++i)
        lines.Add(std::string(std::size_t(random() % 40), char('a' + i % 26)));
    TWrapedLines whole;
    whole.Make(lines, widths, Area);
    auto expectWhole = [&](const TWrapedLines& parts, const char* when) {
        ASSERT_EQ(parts.Count(), whole.Count()) << when;
        for (int r = 0; r < whole.Count(); ++r)
            ASSERT_EQ(parts[r], whole[r]) << when << ", row " << r;
    };

    for (int round = 0; round < 6; ++round) {
        TWrapedLines parts(3);
        parts.Begin(lines, int(random() % LineCount));
        for (int step = 0; step < 8; ++step) {
            const int first = int(random() % LineCount);
            parts.WrapAround(widths, Area, first, first + int(random() % 100), 400);
            parts.WrapSome(widths, Area, int(random() % 1200));
        }
        while (parts.WrapSome(widths, Area, 1000)) {
        }
        expectWhole(parts, "wrapped in parts");
        for (int r = 0; r < whole.Count(); r += 7)
            ASSERT_EQ(parts.FirstRowOf(whole[r].Line), whole.FirstRowOf(whole[r].Line));

        // The last lines are wrapped again, as after lines that grew.
        for (int again = 0; again < 20; ++again) {
            parts.Grow(LineCount, LineCount - 1 - int(random() % 30));
            while (parts.WrapSome(widths, Area, 1000)) {
            }
            expectWhole(parts, "wrapped again after growth");
        }
    }
}

class WrapedLinesMapping : public ::testing::Test {
protected:
    void SetUp() override {
        Lines.Add("abcdefghijklmnopqrstuvwxy"); // 25 bytes: rows of 10, 10, 5
        Lines.Add("");
        Lines.Add("short");
        Rows.Make(Lines, TBitmapCharWidths(4), 80);
    }
    TOVStringList Lines;
    TWrapedLines Rows;
};

TEST_F(WrapedLinesMapping, RowsOfEveryLine) {
    std::vector<TWrapedLine> rows;
    for (int r = 0; r < Rows.Count(); ++r)
        rows.push_back(Rows[r]);
    EXPECT_EQ(rows, (std::vector<TWrapedLine>{
                        {0, 0, 10}, {10, 0, 10}, {20, 0, 5}, {0, 1, 0}, {0, 2, 5}}));
    EXPECT_EQ(Rows.FirstRowOf(2), 4);
    EXPECT_EQ(Rows.FirstRowOf(3), -1);
}

TEST_F(WrapedLinesMapping, WrapedToOriginMapsInsideRowsAndColumnZero) {
    for (int r = 0; r < Rows.Count(); ++r)
        EXPECT_EQ(Rows.WrapedToOrigin({0, r}), (TTextPoint{Rows[r].Start, Rows[r].Line}));
    EXPECT_EQ(Rows.WrapedToOrigin({3, 1}), (TTextPoint{13, 0}));
    EXPECT_EQ(Rows.WrapedToOrigin({10, 1}), NoTextPoint); // just past the row's end
    EXPECT_EQ(Rows.WrapedToOrigin({-1, 1}), NoTextPoint);
    EXPECT_EQ(Rows.WrapedToOrigin({0, 5}), NoTextPoint);
}

TEST_F(WrapedLinesMapping, OriginToWrapedPutsBoundariesAtTheEndOfTheEarlierRow) {
    EXPECT_EQ(Rows.OriginToWraped({0, 0}), (TTextPoint{0, 0}));
    EXPECT_EQ(Rows.OriginToWraped({0, 2}), (TTextPoint{0, 4}));
    EXPECT_EQ(Rows.OriginToWraped({10, 0}), (TTextPoint{10, 0}));
    EXPECT_EQ(Rows.OriginToWraped({11, 0}), (TTextPoint{1, 1}));
    EXPECT_EQ(Rows.OriginToWraped({25, 0}), (TTextPoint{5, 2})); // just past the line
    EXPECT_EQ(Rows.OriginToWraped({26, 0}), NoTextPoint);
    EXPECT_EQ(Rows.OriginToWraped({0, 1}), (TTextPoint{0, 3}));
    EXPECT_EQ(Rows.OriginToWraped({1, 1}), NoTextPoint);
    EXPECT_EQ(Rows.OriginToWraped({0, -1}), NoTextPoint);
    // Inside every row, the two mappings undo each other.
    for (int r = 0; r < Rows.Count(); ++r)
        for (int x = 1; x < Rows[r].Length; ++x)
            EXPECT_EQ(Rows.OriginToWraped(Rows.WrapedToOrigin({x, r})), (TTextPoint{x, r}));
}

} // namespace
} // namespace ov
