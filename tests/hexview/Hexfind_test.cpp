#include "Hexfind.h"

#include "Files.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

namespace ov {
namespace {

TEST(HexFindTest, HexPairsGiveTheirBytesAndAnythingElseNothing) {
    EXPECT_EQ(ParseHexBytes("DE AD BE EF"), std::string("\xDE\xAD\xBE\xEF"));
    EXPECT_EQ(ParseHexBytes("deadbeef"), std::string("\xDE\xAD\xBE\xEF"));
    EXPECT_EQ(ParseHexBytes(" 0x00ff:10-20,7f "), std::string("\x00\xFF\x10\x20\x7F", 5));
    for (const char* bad : {"", "   ", "DEA", "D E", "GG", "DE AD!", "0x", "한글"})
        EXPECT_EQ(ParseHexBytes(bad), std::nullopt) << bad;
}

// Over a file read in small blocks, so that many matches straddle a block's
// edge, the search finds what a search of the whole string finds, from
// every offset, both ways, with and without case.
TEST(HexFindTest, BlockwiseSearchFindsWhatAWholeSearchFinds) {
    std::mt19937 random(16);
    std::uniform_int_distribution<int> byte(0, 5);
    const char alphabet[] = {'a', 'A', 'b', '\0', '\xFF', 'B'};
    std::string bytes;
    for (int i = 0; i < 700; ++i)
        bytes += alphabet[byte(random)];
    test::TTempFolder folder;
    TReadOnlyFile file;
    ASSERT_TRUE(file.Open(folder.Write("data.bin", bytes)));
    const auto size = static_cast<int64_t>(bytes.size());
    auto upper = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    };
    int found = 0;
    for (int round = 0; round < 30; ++round) {
        std::string pattern;
        for (int n = 1 + round % 4; n > 0; --n)
            pattern += alphabet[byte(random)];
        for (bool caseSensitive : {true, false}) {
            const std::string haystack = caseSensitive ? bytes : upper(bytes);
            const std::string needle = caseSensitive ? pattern : upper(pattern);
            for (int64_t from = -2; from <= size + 1; from += 3) {
                const size_t forward = from > size ? std::string::npos
                                                   : haystack.find(needle, size_t(std::max<int64_t>(from, 0)));
                const size_t backward =
                    from < 0 ? std::string::npos : haystack.rfind(needle, size_t(from));
                const int64_t expectedForward = forward == std::string::npos ? -1 : int64_t(forward);
                const int64_t expectedBackward = backward == std::string::npos ? -1 : int64_t(backward);
                ASSERT_EQ(FindBytes(file, size, pattern, caseSensitive, from, false, 7),
                          expectedForward)
                    << pattern << " from " << from;
                ASSERT_EQ(FindBytes(file, size, pattern, caseSensitive, from, true, 7),
                          expectedBackward)
                    << pattern << " back from " << from;
                found += expectedForward >= 0;
            }
        }
    }
    EXPECT_GT(found, 1000);
    // The size given bounds the search, whatever the file holds beyond it.
    EXPECT_EQ(FindBytes(file, 10, bytes.substr(8, 3), true, 8, false), -1);
    EXPECT_EQ(FindBytes(file, 11, bytes.substr(8, 3), true, 8, false), 8);
}

} // namespace
} // namespace ov
