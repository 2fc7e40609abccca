#include "Charwidths.h"
#include "Rowmarks.h"

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

// A long line of letters and double-byte characters with marks on random
// bytes (first and second bytes alike), nested and unbalanced.
void MakeMarkedLine(TOVSynStringList& lines, std::mt19937& random, int length) {
    std::string text;
    while (int(text.size()) < length)
        text += random() % 3 == 0 ? std::string("\xB0\xA1") : std::string(1, 'a');
    if (random() % 2)
        text.back() = '\xB0'; // a lead byte at the very end
    lines.Add(text);
    const int row = lines.Count() - 1;
    for (int j = 0; j < lines.GetLength(row); ++j)
        if (random() % 50 == 0) {
            const int id = 1 + int(random() % 4);
            lines.SetStyleID(row, j, TStyleByte(random() % 2 ? id : -id));
        }
}

TEST(LineMarkIndex, SummariesGiveTheStackOfAFullWalk) {
    std::mt19937 random(3);
    TOVSynStringList lines;
    // Lines with a partial chunk group, with several groups, and barely indexed.
    const int groupBytes = TLineMarkIndex::ChunkBytes * TLineMarkIndex::GroupChunks;
    for (int length : {TLineMarkIndex::MinLineBytes, groupBytes * 2 + 5000, groupBytes * 3})
        MakeMarkedLine(lines, random, length);
    TLineMarkIndex index;
    for (int round = 0; round < 300; ++round) {
        const int line = int(random() % 3);
        const std::string_view text = lines.GetView(line);
        const int length = int(text.size());
        // Character starts for from and to.
        auto charStart = [&](int q) {
            int p = 0;
            while (true) {
                const int next = p + (static_cast<uint8_t>(text[std::size_t(p)]) >= 0x80 ? 2 : 1);
                if (next > q || next >= length)
                    return p;
                p = next;
            }
        };
        int from = charStart(int(random() % std::size_t(length)));
        int to = charStart(int(random() % std::size_t(length)));
        if (from > to)
            std::swap(from, to);
        TStyleByte expectedIds[10], actualIds[10];
        int expectedTop = int(random() % 11) - 1, actualTop = expectedTop;
        for (int k = 0; k < 10; ++k)
            expectedIds[k] = actualIds[k] = TStyleByte(1 + random() % 4);
        WalkMarks(text, lines.GetStyleBytes(line), from, to, {expectedIds, expectedTop, 10});
        index.Apply(lines, line, from, to, {actualIds, actualTop, 10});
        ASSERT_EQ(actualTop, expectedTop) << "round " << round;
        for (int k = 0; k <= actualTop; ++k)
            ASSERT_EQ(actualIds[k], expectedIds[k]) << "round " << round << " entry " << k;
    }
}

TEST(LineMarkIndex, SkippingLeftChunksMovesXAndTheStackAsAWalk) {
    std::mt19937 random(8);
    TOVSynStringList lines;
    const int groupBytes = TLineMarkIndex::ChunkBytes * TLineMarkIndex::GroupChunks;
    MakeMarkedLine(lines, random, groupBytes * 3 + 777);
    const std::string_view text = lines.GetView(0);
    const TBitmapCharWidths widths(4);
    TLineMarkIndex index;
    for (int round = 0; round < 40; ++round) {
        const long long start = -(long long)(random() % (std::size_t(text.size()) * 12));
        const int limit = int(random() % text.size());
        TStyleByte expectedIds[10], actualIds[10];
        int expectedTop = int(random() % 11) - 1, actualTop = expectedTop;
        for (int k = 0; k < 10; ++k)
            expectedIds[k] = actualIds[k] = TStyleByte(1 + random() % 4);
        long long x = start;
        const int column = index.SkipLeft(lines, 0, widths, limit, x, {actualIds, actualTop, 10});
        ASSERT_LE(column, limit);
        ASSERT_EQ(x, start + widths.DrawnWidth(text.substr(0, std::size_t(column))));
        ASSERT_LE(x, 0);
        // Nothing more than about two chunks is left to walk.
        const int further = column + 2 * TLineMarkIndex::ChunkBytes;
        if (further <= limit) {
            ASSERT_GT(start + widths.DrawnWidth(text.substr(0, std::size_t(further))), 0);
        }
        WalkMarks(text, lines.GetStyleBytes(0), 0, column, {expectedIds, expectedTop, 10});
        ASSERT_EQ(actualTop, expectedTop) << "round " << round;
        for (int k = 0; k <= actualTop; ++k)
            ASSERT_EQ(actualIds[k], expectedIds[k]);
    }
}

TEST(LineMarkIndex, CharacterStartsFromTheNearestChunk) {
    // Long runs of double-byte characters, where only the line start tells
    // which byte is a lead byte.
    TOVSynStringList lines;
    std::string text(std::size_t(TLineMarkIndex::MinLineBytes), '\xB0');
    text[1000] = 'a';
    text += "z\xB0";
    lines.Add(text);
    TLineMarkIndex index;
    std::mt19937 random(2);
    for (int round = 0; round < 200; ++round) {
        const int q = int(random() % text.size());
        ASSERT_EQ(index.CharStartAt(lines, 0, 0, q), CharStartOf(text, 0, q)) << q;
    }
    EXPECT_EQ(index.CharStartAt(lines, 0, 0, int(text.size()) - 1), int(text.size()) - 1);
}

} // namespace
} // namespace ov
