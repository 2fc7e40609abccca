#include "Addressreader.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace ov {
namespace {

TEST(AddressReaderTest, DecimalAndTheFourHexPrefixesRead) {
    const struct {
        const char* Text;
        int64_t Value;
    } cases[] = {
        {"496", 496},        {"0x1F0", 496},      {"0X1f0", 496},     {"$1F0", 496},
        {"x1F0", 496},       {"X1f0", 496},       {"  42", 42},       {"\t+7", 7},
        {"-0", 0},           {"0x0", 0},          {"-1", -1},
        // Beyond 32 bits: the hex view shows files of any size.
        {"0xFFFFFFFF", 0xFFFFFFFFLL},             {"$140000000", 0x140000000LL},
        {"9223372036854775807", INT64_MAX},       {"-9223372036854775808", INT64_MIN},
        {"0x7FFFFFFFFFFFFFFF", INT64_MAX},        {"0x8000000000000000", INT64_MIN},
        // Texts that do not read.
        {"", -1},            {"   ", -1},          {"12 ", -1},        {"0x1G", -1},
        {"0x", -1},          {"$", -1},            {"-0x5", -1},       {"+$5", -1},
        {"1e3", -1},         {"0x 1", -1},         {"--1", -1},        {"9223372036854775808", -1},
        {"0x10000000000000000", -1},              {"\xB0\xA1", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadAddress(c.Text), c.Value) << '"' << c.Text << '"';
}

TEST(AddressReaderTest, EveryValueFromZeroToTheSizeIsAcceptedAndNothingElse) {
    for (int64_t size : {int64_t(0), int64_t(4096), int64_t(0xFFFFFFFF), int64_t(5) << 30}) {
        EXPECT_TRUE(IsAcceptedAddress(0, size));
        EXPECT_TRUE(IsAcceptedAddress(size, size));
        EXPECT_FALSE(IsAcceptedAddress(size + 1, size));
        EXPECT_FALSE(IsAcceptedAddress(-1, size));
        EXPECT_FALSE(IsAcceptedAddress(INT64_MIN, size));
        // What the label shows reads back as the size.
        std::string range = AddressRangeText(size);
        EXPECT_EQ(ReadAddress(range.substr(range.find(" - ") + 3)), size) << range;
    }
}

TEST(AddressReaderTest, TheRangeShowsAsManyDigitsAsTheSizeNeedsAndAtLeastEight) {
    EXPECT_EQ(AddressRangeText(4096), "0x00000000 - 0x00001000");
    EXPECT_EQ(AddressRangeText(0), "0x00000000 - 0x00000000");
    EXPECT_EQ(AddressRangeText(0xFFFFFFFFLL), "0x00000000 - 0xFFFFFFFF");
    EXPECT_EQ(AddressRangeText(0x100000000LL), "0x000000000 - 0x100000000");
    for (int digits = 8; digits <= 15; ++digits) {
        const int64_t smallest = int64_t(1) << (4 * digits);
        EXPECT_EQ(AddressDigits(smallest - 1), digits);
        EXPECT_EQ(AddressDigits(smallest), digits + 1);
    }
    EXPECT_EQ(AddressDigits(INT64_MAX), 16);
}

} // namespace
} // namespace ov
