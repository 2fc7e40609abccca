#include "Openstyles.h"

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

// The answer replayed from the start of the document every time.
TStyleByte ReferenceLastStyle(const TOVSynStringList& lines, const std::vector<TRowSpan>& rows,
                              int row) {
    if (row < 0)
        return 0;
    TStyleByte stack[TOpenStyleRecord::StackSize];
    int depth = 0;
    for (int r = 0; r <= row; ++r)
        TOpenStyleRecord::Replay(lines.GetStyleBytes(rows[r].Line) + rows[r].Start, rows[r].Length,
                                 stack, depth);
    return depth > 0 ? stack[0] : 0;
}

std::vector<TRowSpan> LineRows(const TOVSynStringList& lines) {
    std::vector<TRowSpan> rows;
    for (int i = 0; i < lines.Count(); ++i)
        rows.push_back({i, 0, lines.GetLength(i)});
    return rows;
}

TEST(OpenStyles, CommentSpanningLinesIsOpenInsideIt) {
    TOVSynStringList lines;
    for (const char* text : {"int a; /* one", "two", "three", "four */ int b;", "x"})
        lines.Add(text);
    const TStyleByte comment = 2;
    lines.SetStyleID(0, 7, comment);
    lines.SetStyleID(3, 6, -comment);
    const auto rows = LineRows(lines);
    TOpenStyleRecord record;
    auto span = [&](int r) { return rows[std::size_t(r)]; };
    EXPECT_EQ(record.LastStyle(lines, -1, 5, span), 0);
    EXPECT_EQ(record.LastStyle(lines, 0, 5, span), comment);
    EXPECT_EQ(record.LastStyle(lines, 2, 5, span), comment);
    EXPECT_EQ(record.LastStyle(lines, 3, 5, span), 0);
    EXPECT_EQ(record.LastStyle(lines, 1, 5, span), comment); // asked out of order
    EXPECT_EQ(record.LastStyle(lines, 4, 5, span), 0);
}

TEST(OpenStyles, AnswersEqualAFullReplayForRandomMarksAndRows) {
    std::mt19937 random(11);
    for (int round = 0; round < 20; ++round) {
        TOVSynStringList lines;
        const int count = 50 + int(random() % 100);
        for (int i = 0; i < count; ++i)
            lines.Add(std::string(random() % 40, 'x'));
        // Marks that nest, close what is not open and overflow the stack.
        for (int i = 0; i < count; ++i)
            for (int j = 0; j < lines.GetLength(i); ++j)
                if (random() % 4 == 0) {
                    const int id = 1 + int(random() % 5);
                    lines.SetStyleID(i, j, TStyleByte(random() % 3 == 0 ? -id : id));
                }
        // Rows of up to 7 bytes, as word wrap makes them.
        std::vector<TRowSpan> rows;
        for (int i = 0; i < count; ++i) {
            int start = 0;
            do {
                const int length = std::min(lines.GetLength(i) - start, 1 + int(random() % 7));
                rows.push_back({i, start, length});
                start += length;
            } while (start < lines.GetLength(i));
        }
        TOpenStyleRecord record;
        auto span = [&](int r) { return rows[std::size_t(r)]; };
        const int total = int(rows.size());
        for (int k = 0; k < 200; ++k) {
            const int row = int(random() % std::size_t(total)) - 1;
            ASSERT_EQ(record.LastStyle(lines, row, total, span),
                      ReferenceLastStyle(lines, rows, row))
                << "round " << round << " row " << row;
        }
        record.Invalidate();
        EXPECT_EQ(record.LastStyle(lines, total - 1, total, span),
                  ReferenceLastStyle(lines, rows, total - 1));
    }
}

TEST(OpenStyles, DeepNestingNeverOverflows) {
    TOVSynStringList lines;
    lines.Add(std::string(200, 'x'));
    for (int j = 0; j < 200; ++j)
        lines.SetStyleID(0, j, TStyleByte(1 + j % 50));
    lines.Add("y");
    TOpenStyleRecord record;
    const auto rows = LineRows(lines);
    EXPECT_EQ(record.LastStyle(lines, 1, 2, [&](int r) { return rows[std::size_t(r)]; }), 1);
}

} // namespace
} // namespace ov
