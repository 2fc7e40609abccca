#include "Textrange.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace ov;

namespace {

struct TLines : TOVStringList {
    explicit TLines(const char* text) { SetTextStr(text); }
};

// Every position of a small grid, in document order.
std::vector<TTextPoint> Grid(int lines, int columns) {
    std::vector<TTextPoint> points;
    for (int y = 0; y < lines; ++y)
        for (int x = 0; x < columns; ++x)
            points.push_back({x, y});
    return points;
}

} // namespace

// Contains, First and Last agree with document order for every pair of ends
// and every position, in either order of the ends.
TEST(TextRange, ContainsExactlyThePositionsBetweenItsOrderedEnds) {
    const std::vector<TTextPoint> grid = Grid(4, 5);
    for (std::size_t a = 0; a < grid.size(); ++a) {
        for (std::size_t b = 0; b < grid.size(); ++b) {
            const TTextRange range(grid[a], grid[b]);
            const TTextRange reversed(grid[b], grid[a]);
            const std::size_t lo = std::min(a, b), hi = std::max(a, b);
            ASSERT_EQ(range.First(), grid[lo]);
            ASSERT_EQ(range.Last(), grid[hi]);
            ASSERT_EQ(range.Start(), grid[a]);
            for (std::size_t p = 0; p < grid.size(); ++p) {
                const bool inside = lo <= p && p <= hi;
                ASSERT_EQ(range.Contains(grid[p]), inside) << a << " " << b << " " << p;
                ASSERT_EQ(reversed.Contains(grid[p]), inside);
            }
            for (int line = -1; line < 5; ++line)
                ASSERT_EQ(range.ContainsLine(line), grid[lo].Y <= line && line <= grid[hi].Y);
        }
    }
}

TEST(TextRange, AnyNegativeCoordinateIsNoRangeAndContainsNothing) {
    EXPECT_TRUE(TTextRange().IsEmpty());
    for (TTextRange range : {TTextRange({-1, 0}, {3, 0}), TTextRange({0, -1}, {3, 0}),
                             TTextRange({0, 0}, {-1, 0}), TTextRange({0, 0}, {3, -1})}) {
        EXPECT_TRUE(range.IsEmpty());
        EXPECT_FALSE(range.Contains(0, 0));
        EXPECT_FALSE(range.ContainsLine(0));
    }
    EXPECT_EQ(TTextRange::OfBytes(2, 3, 4), TTextRange({3, 2}, {6, 2}));
    EXPECT_TRUE(TTextRange::OfBytes(2, 3, 0).IsEmpty());
}

TEST(TextRange, ValidEndsLieInsideTheirLinesAndColumnZeroIsValidOnAnEmptyLine) {
    const TLines lines("abc\n\nxy");
    EXPECT_TRUE(IsValidLocation(lines, 0, 2));
    EXPECT_FALSE(IsValidLocation(lines, 0, 3));
    EXPECT_TRUE(IsValidLocation(lines, 1, 0));
    EXPECT_FALSE(IsValidLocation(lines, 1, 1));
    EXPECT_FALSE(IsValidLocation(lines, 3, 0));
    EXPECT_FALSE(IsValidLocation(lines, -1, 0));
    EXPECT_FALSE(IsValidLocation(lines, 0, -1));
    EXPECT_TRUE(TTextRange({2, 0}, {0, 1}).IsValidIn(lines));
    EXPECT_FALSE(TTextRange({2, 0}, {0, 3}).IsValidIn(lines));
    EXPECT_FALSE(TTextRange().IsValidIn(lines));
    EXPECT_FALSE(TTextRange({0, 0}, {0, 0}).IsValidIn(TOVStringList()));
}

TEST(TextRange, TextRunsFromTheFirstEndThroughTheLastCharacter) {
    const TLines lines("abcdefg\nline one\nline two\nmiddle\nxyz\n\xB0\xA1q\xB0");
    auto text = [&](TTextRange range, int lastBytes) {
        return RangeText(lines, range, lastBytes, "\r\n");
    };
    EXPECT_EQ(text({{2, 0}, {4, 0}}, 1), "cde");
    EXPECT_EQ(text({{4, 0}, {2, 0}}, 1), "cde");
    EXPECT_EQ(text({{5, 1}, {0, 3}}, 1), "one\r\nline two\r\nm");
    EXPECT_EQ(text({{0, 3}, {5, 1}}, 1), "one\r\nline two\r\nm");
    // A double-byte character at the last end comes whole; a lead byte that
    // ends its line is cut at the line's end.
    EXPECT_EQ(text({{0, 5}, {0, 5}}, 2), "\xB0\xA1");
    EXPECT_EQ(text({{2, 5}, {3, 5}}, 2), "q\xB0");
    EXPECT_EQ(text({{0, 4}, {0, 5}}, 2), "xyz\r\n\xB0\xA1");
    // Ends outside the lines give nothing.
    EXPECT_EQ(text({{0, 4}, {0, 6}}, 1), "");
    EXPECT_EQ(text({}, 1), "");
    EXPECT_EQ(RangeText(lines, {{0, 0}, {6, 0}}, 1, "\n"), "abcdefg");
}

// Joining the pieces with any break gives RangeText; the pieces of a random
// range cover exactly its lines.
TEST(TextRange, PiecesCoverTheRangeLineByLine) {
    const TLines lines("one\n\ntwo two\nthree\n\nfour");
    std::mt19937 random(3);
    for (int round = 0; round < 200; ++round) {
        const int a = int(random() % 6), b = int(random() % 6);
        const TTextRange range({int(random() % std::max(lines.GetLength(a), 1)), a},
                               {int(random() % std::max(lines.GetLength(b), 1)), b});
        std::string joined;
        int pieces = 0;
        ForEachRangePiece(lines, range, 1, [&](std::string_view piece, bool breakBefore) {
            ASSERT_EQ(breakBefore, pieces > 0);
            joined += std::string(breakBefore ? "|" : "") + std::string(piece);
            ++pieces;
        });
        ASSERT_EQ(pieces, range.Last().Y - range.First().Y + 1);
        ASSERT_EQ(joined, RangeText(lines, range, 1, "|"));
    }
}
