#include "Ovhexlayout.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace ov {
namespace {

TEST(HexLayoutTest, RowCountCountsEveryStartedRow) {
    for (int64_t size : {0LL, 1LL, 15LL, 16LL, 17LL, 32LL, 33LL, 5000000000LL, 5000000017LL}) {
        int64_t expected = (size + HexBytesPerRow - 1) / HexBytesPerRow;
        EXPECT_EQ(HexRowCount(size), expected) << size;
    }
    EXPECT_EQ(HexRowCount(-1), 0);
}

TEST(HexLayoutTest, AddressKeepsEightDigitsUntilAFileNeedsMore) {
    const int64_t fourGiB = int64_t{1} << 32;
    EXPECT_EQ(HexAddressDigits(0), 8);
    EXPECT_EQ(HexAddressDigits(17), 8);
    // The last row of a 4 GiB file starts at FFFFFFF0: still eight digits.
    EXPECT_EQ(HexAddressDigits(fourGiB), 8);
    // One byte more puts a row at 100000000.
    EXPECT_EQ(HexAddressDigits(fourGiB + 1), 9);
    EXPECT_EQ(HexAddressDigits(5000000000LL), 9);
    EXPECT_EQ(HexAddressDigits(int64_t{1} << 40), 10);
    EXPECT_EQ(HexAddressDigits((int64_t{1} << 40) + 1), 11);
}

TEST(HexLayoutTest, AddressTextIsUpperCaseHexWithSuffix) {
    EXPECT_EQ(HexAddressText(2 * HexBytesPerRow, 8), "00000020h:");
    EXPECT_EQ(HexAddressText(0xABCDEF0, 8), "0ABCDEF0h:");
    EXPECT_EQ(HexAddressText(0x12A05F1F0LL, 9), "12A05F1F0h:");
    for (int byte = 0; byte < 256; ++byte) {
        char expected[3];
        std::snprintf(expected, sizeof expected, "%02X", byte);
        EXPECT_EQ(HexByteText(static_cast<unsigned char>(byte)), expected);
    }
}

TEST(HexLayoutTest, CharacterColumnHidesControlBytesAndBlankOnly) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));
    std::string shown = HexCharColumnBytes(all);
    ASSERT_EQ(shown.size(), all.size());
    for (int byte = 0; byte < 256; ++byte) {
        char expected = byte <= 32 ? '.' : static_cast<char>(byte);
        EXPECT_EQ(shown[byte], expected) << byte;
    }
}

TEST(HexLayoutTest, TopIndexClampsToTheLastPage) {
    EXPECT_EQ(ClampHexTopIndex(-5, 100, 10), 0);
    EXPECT_EQ(ClampHexTopIndex(50, 100, 10), 50);
    EXPECT_EQ(ClampHexTopIndex(95, 100, 10), 90);
    EXPECT_EQ(ClampHexTopIndex(1000, 100, 10), 90);
    EXPECT_EQ(ClampHexTopIndex(5, 10, 10), 0);
    EXPECT_EQ(ClampHexTopIndex(5, 3, 10), 0);
    EXPECT_EQ(ClampHexTopIndex(int64_t{1} << 40, int64_t{1} << 36, 40), (int64_t{1} << 36) - 40);
}

TEST(HexLayoutTest, RowsAndColumnsFollowTheMetrics) {
    THexMetrics m;
    m.LineHeight = 14;
    m.CharWidth = 7;
    m.CellWidth = 22;
    m.AddressWidth = 79;
    TOVHexLayout layout(m);
    int pitch = m.LineHeight + m.LineSpacing;
    EXPECT_EQ(layout.RowPitch(), pitch);
    EXPECT_EQ(layout.PageRows(m.TextTop + 10 * pitch), 10);
    EXPECT_EQ(layout.PageRows(m.TextTop + 10 * pitch - 1), 9);
    EXPECT_EQ(layout.PageRows(m.TextTop), 0);
    EXPECT_EQ(layout.PageRows(0), 0);
    EXPECT_EQ(layout.RowY(3), m.TextTop + 3 * pitch);
    EXPECT_EQ(layout.RowOriginX(14), m.TextLeft - 14);
    EXPECT_EQ(layout.HexCellX(15), m.AddressWidth + 15 * m.CellWidth);
    EXPECT_EQ(layout.CharColumnX(), m.AddressWidth + 17 * m.CellWidth);
    EXPECT_EQ(layout.RowWidth(), m.AddressWidth + 16 * m.CellWidth + 20 * m.CharWidth);
}

TEST(HexLayoutTest, HorizontalBarOnlyWhenARowDoesNotFit) {
    THexMetrics m;
    m.CharWidth = 7;
    m.CellWidth = 22;
    m.AddressWidth = 79;
    TOVHexLayout layout(m);
    int width = layout.RowWidth(); // 79 + 352 + 140 = 571, not a multiple of 7
    EXPECT_FALSE(layout.HorzRange(width).Active);
    TOVHexLayout::THorzRange range = layout.HorzRange(width - 1);
    EXPECT_TRUE(range.Active);
    EXPECT_EQ(range.Max, width / m.CharWidth);
    EXPECT_EQ(range.Page, (width - 1 - m.TextLeft) / m.CharWidth);
    EXPECT_EQ(range.LastPosition(), range.Max - range.Page + 1);

    m.AddressWidth = 82; // row width 574 = 7 * 82: one more position
    layout.SetMetrics(m);
    ASSERT_EQ(layout.RowWidth() % m.CharWidth, 0);
    EXPECT_EQ(layout.HorzRange(200).Max, layout.RowWidth() / m.CharWidth + 1);
}

TEST(ScrollScaleTest, RowsArePositionsWhileTheyFit) {
    TOVScrollScale scale(1000);
    scale.SetLastRow(1000);
    EXPECT_FALSE(scale.Scaled());
    EXPECT_EQ(scale.MaxPosition(), 1000);
    for (int64_t row : {0, 1, 500, 999, 1000})
        EXPECT_EQ(scale.PositionOfRow(row), row);
    EXPECT_EQ(scale.RowOfPosition(700), 700);
    EXPECT_EQ(scale.PageStep(40), 40);
    EXPECT_EQ(scale.PositionOfRow(5000), 1000);
    EXPECT_EQ(scale.PositionOfRow(-3), 0);
}

TEST(ScrollScaleTest, ScaledBarReachesBothEndsAndKeepsADroppedThumb) {
    // Small numbers so that every position can be checked.
    for (int64_t lastRow : {8, 9, 100, 101, 12345}) {
        TOVScrollScale scale(7);
        scale.SetLastRow(lastRow);
        ASSERT_TRUE(scale.Scaled());
        EXPECT_EQ(scale.MaxPosition(), 7);
        EXPECT_EQ(scale.RowOfPosition(0), 0);
        EXPECT_EQ(scale.RowOfPosition(7), lastRow);
        EXPECT_EQ(scale.PositionOfRow(lastRow), 7);
        int64_t previous = -1;
        for (int pos = 0; pos <= 7; ++pos) {
            int64_t row = scale.RowOfPosition(pos);
            EXPECT_GT(row, previous);
            EXPECT_EQ(scale.PositionOfRow(row), pos) << lastRow << " " << pos;
            previous = row;
        }
        for (int64_t row = 0; row <= lastRow; row += 1 + lastRow / 50) {
            int pos = scale.PositionOfRow(row);
            EXPECT_LE(scale.RowOfPosition(pos), row);
        }
    }
}

TEST(ScrollScaleTest, HugeFilesStayInsideTheIntRange) {
    TOVScrollScale scale;
    int64_t lastRow = (int64_t{1} << 60) - 3; // a file near 2^64 bytes
    scale.SetLastRow(lastRow);
    EXPECT_EQ(scale.MaxPosition(), TOVScrollScale::DefaultLimit);
    EXPECT_EQ(scale.RowOfPosition(scale.MaxPosition()), lastRow);
    int middle = scale.PositionOfRow(lastRow / 2);
    EXPECT_NEAR(middle, TOVScrollScale::DefaultLimit / 2, 1);
    EXPECT_EQ(scale.PositionOfRow(scale.RowOfPosition(middle)), middle);
    EXPECT_GE(scale.PageStep(40), 1);
}

} // namespace
} // namespace ov
