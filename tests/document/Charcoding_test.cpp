// The character stepping of both codings, checked as properties over random
// byte strings: stepping forward and finding a character's start from any
// known start agree, and each coding's characters are the ones it promises.

#include "Charcoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace ov {
namespace {

// Random bytes biased toward what occurs in real text of both codings:
// ASCII, well-formed sequences of every length, and stray bytes.
std::string RandomText(std::mt19937& random, int length) {
    static const std::vector<std::string> pieces = {
        "a", " ", "\t", "Z", "\xC7\xD1",         // CP949 한
        "\xED\x95\x9C",                            // UTF-8 한
        "\xC3\xA9", "\xF0\x9F\x98\x80",           // é, U+1F600
        "\xCC\x81",                                // combining acute
        "\x80", "\xBF", "\xC0\xAF", "\xE0\x80\x80", // stray, overlong
        "\xED\xA0\x80",                            // surrogate
        "\xF4\x90\x80\x80", "\xE2\x82",           // above U+10FFFF, cut
        "\xFF", "\xC3", "\x81\x41"};
    std::string text;
    while (int(text.size()) < length)
        text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    return text;
}

std::vector<std::size_t> ForwardStarts(const TCharCoding& coding, std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t p = 0; p < text.size(); p = coding.NextChar(text, p))
        starts.push_back(p);
    return starts;
}

void ExpectStartsAgree(const TCharCoding& coding, std::string_view text) {
    const std::vector<std::size_t> starts = ForwardStarts(coding, text);
    std::size_t k = 0;
    for (std::size_t q = 0; q < text.size(); ++q) {
        while (k + 1 < starts.size() && starts[k + 1] <= q)
            ++k;
        // From the line start and from every known start before q.
        for (std::size_t j = 0; j <= k; ++j)
            ASSERT_EQ(coding.CharStart(text, starts[j], q), starts[k]) << "q " << q << " known "
                                                                       << starts[j];
        EXPECT_EQ(coding.IsCharStart(text, q), starts[k] == q);
    }
    if (!text.empty()) {
        EXPECT_EQ(coding.PrevChar(text, text.size()), starts.back());
    }
}

TEST(CharCoding, Cp949StepsAsLeadAndTrailBytes) {
    const TCharCoding& coding = CharCodingOf(TTextCoding::Cp949);
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        const std::string text = RandomText(random, 1 + round % 40);
        std::size_t expected = 0;
        for (std::size_t p : ForwardStarts(coding, text)) {
            ASSERT_EQ(p, expected);
            const bool lead = static_cast<uint8_t>(text[p]) >= 0x80;
            EXPECT_EQ(coding.CharLength(text, p), lead ? 2 : 1);
            EXPECT_EQ(coding.CharCells(text, p), lead ? 2 : 1);
            expected = p + (lead ? 2 : 1);
        }
        ExpectStartsAgree(coding, text);
    }
    EXPECT_EQ(coding.CharCode("\xC7\xD1", 0), U'\uD55C');
    EXPECT_EQ(coding.CharCode("a\xC7", 1), U'\uFFFD'); // lead byte without its trail
    EXPECT_EQ(coding.ToUtf8("\xC7\xD1\xB1\xDB"), "\xED\x95\x9C\xEA\xB8\x80");
    EXPECT_EQ(coding.FromUtf8("\xED\x95\x9C"), "\xC7\xD1");
}

// One memo carried through many questions about a text, asked rising,
// falling, in pairs as find asks them (a candidate and the end of its
// match) and at random, answers every question as the plain test does, in
// both codings; the texts hold long runs of double-byte characters.
TEST(CharCoding, CharacterStartsAskedWithAMemoAgreeInAnyOrder) {
    std::mt19937 random(17);
    for (TTextCoding which : {TTextCoding::Cp949, TTextCoding::Utf8}) {
        const TCharCoding& coding = CharCodingOf(which);
        for (int round = 0; round < 200; ++round) {
            std::string text = RandomText(random, 1 + int(random() % 60));
            for (int n = int(random() % 300); n > 0; --n)
                text += round % 2 ? "\xB0\xA1" : "\xB0";
            text += RandomText(random, int(random() % 20));
            std::vector<std::size_t> order(text.size() + 1);
            for (std::size_t q = 0; q < order.size(); ++q)
                order[q] = q;
            if (round % 4 == 1)
                std::reverse(order.begin(), order.end());
            if (round % 4 == 2)
                std::shuffle(order.begin(), order.end(), random);
            TCharStartMemo memo;
            for (std::size_t q : order) {
                ASSERT_EQ(coding.IsCharStart(text, q, memo), coding.IsCharStart(text, q))
                    << "round " << round << " q " << q;
                const std::size_t end = std::min(text.size(), q + 1 + random() % 5);
                if (round % 4 == 3) {
                    ASSERT_EQ(coding.IsCharStart(text, end, memo), coding.IsCharStart(text, end));
                }
            }
        }
    }
}

TEST(CharCoding, Utf8CharactersAreWellFormedSequencesOrSingleBytes) {
    const TCharCoding& coding = CharCodingOf(TTextCoding::Utf8);
    std::mt19937 random(12);
    for (int round = 0; round < 300; ++round) {
        const std::string text = RandomText(random, 1 + round % 40);
        std::string expectedUtf8;
        for (std::size_t p : ForwardStarts(coding, text)) {
            char32_t value = 0;
            const int decoded = DecodeUtf8(text, p, value);
            const int length = coding.CharLength(text, p);
            ASSERT_EQ(length, decoded > 0 ? decoded : 1) << p;
            EXPECT_EQ(coding.CharCode(text, p), decoded > 0 ? value : U'\uFFFD');
            EXPECT_LE(coding.CharCells(text, p), length); // cells never outnumber bytes
            expectedUtf8 += decoded > 0 ? text.substr(p, std::size_t(length)) : "\xEF\xBF\xBD";
        }
        ExpectStartsAgree(coding, text);
        // Nothing dropped: one U+FFFD per byte that forms no character.
        EXPECT_EQ(coding.ToUtf8(text), expectedUtf8);
        EXPECT_EQ(coding.ToUtf8(expectedUtf8), expectedUtf8);
    }
}

TEST(CharCoding, Utf8RejectsOverlongSurrogateAndOutOfRangeForms) {
    char32_t value = 0;
    EXPECT_EQ(DecodeUtf8("\xC0\xAF", 0, value), 0);
    EXPECT_EQ(DecodeUtf8("\xE0\x80\xAF", 0, value), 0);
    EXPECT_EQ(DecodeUtf8("\xED\xA0\x80", 0, value), 0);
    EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80", 0, value), 0);
    EXPECT_EQ(DecodeUtf8("\xE2\x82", 0, value), 0); // cut by the end
    ASSERT_EQ(DecodeUtf8("\xF4\x8F\xBF\xBF", 0, value), 4);
    EXPECT_EQ(value, U'\U0010FFFF');
}

TEST(CharCoding, Utf8CellsFollowCp949AndEastAsianWidth) {
    EXPECT_EQ(UnicodeCells(U'a'), 1);
    EXPECT_EQ(UnicodeCells(U'\uD55C'), 2);     // 한, also in CP949
    EXPECT_EQ(UnicodeCells(U'\u00B7'), 2);     // middle dot: two cells in CP949
    EXPECT_EQ(UnicodeCells(U'\u00E9'), 1);     // é: not in CP949
    EXPECT_EQ(UnicodeCells(U'\u4E2D'), 2);     // 中
    EXPECT_EQ(UnicodeCells(U'\u8FD9'), 2);     // simplified 这, not in CP949
    EXPECT_EQ(UnicodeCells(U'\U0001F600'), 2); // emoji
    EXPECT_EQ(UnicodeCells(U'\u0301'), 0);     // combining acute
    EXPECT_EQ(UnicodeCells(U'\u200B'), 0);     // zero-width space
    EXPECT_EQ(UnicodeCells(U'\uFFFD'), 1);
}

} // namespace
} // namespace ov
