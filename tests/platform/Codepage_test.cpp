#include "Codepage.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace ov;

TEST(Codepage, EveryDoubleByteCodeRoundTrips) {
    // Every lead/trail pair that CP949 decodes to one character must encode
    // back to the same two bytes.
    int decoded = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x41; trail <= 0xFE; ++trail) {
            std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string wide = WideFromAnsi(bytes);
            if (wide.size() != 1 || wide[0] == u'\uFFFD')
                continue;
            ++decoded;
            ASSERT_EQ(AnsiFromWide(wide), bytes) << std::hex << lead << " " << trail;
        }
    }
    // 2350 KS X 1001 Hangul + 8822 extended Hangul + 4888 Hanja + symbols.
    EXPECT_GT(decoded, 17000);
}

TEST(Codepage, AsciiAndHangulConvert) {
    EXPECT_EQ(WideFromAnsi("abc"), u"abc");
    EXPECT_EQ(AnsiFromWide(u"\uAC00"), "\xB0\xA1"); // 가
    EXPECT_EQ(AnsiFromWide(u"\uD79D"), "\xC8\xFE"); // 힝, the last KS X 1001 syllable
    EXPECT_EQ(AnsiFromWide(u"\uD7A3"), "\xC6\x52"); // 힣 lies in the extended area
    EXPECT_EQ(Utf8FromAnsi("\xB0\xA1"), "가");
    EXPECT_EQ(AnsiFromUtf8("한글"), "\xC7\xD1\xB1\xDB");
}

TEST(Codepage, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(AnsiFromWide(u"a\u0E01b"), "a?b");       // Thai has no CP949 code
    EXPECT_EQ(AnsiFromWide(u"x\U0001F600y"), "x?y");   // a surrogate pair is one '?'
    EXPECT_EQ(AnsiFromWide(std::u16string(1, char16_t(0xD800))), "?"); // lone surrogate
}

TEST(Codepage, InvalidBytesDoNotStopDecoding) {
    std::u16string wide = WideFromAnsi("a\xFF" "b");
    ASSERT_EQ(wide.size(), 3u);
    EXPECT_EQ(wide[0], u'a');
    EXPECT_EQ(wide[2], u'b');
}

// Converting a text whole gives what converting it character by character
// gives, whatever mixture of ASCII, pairs with ASCII second bytes, broken
// pairs and stray bytes it holds.
TEST(Codepage, WholeTextConvertsAsItsCharactersOneByOne) {
    auto oneByOne = [](const std::string& text) {
        std::u16string wide;
        for (std::size_t p = 0; p < text.size();) {
            const auto byte = static_cast<unsigned char>(text[p]);
            if (byte < 0x80) {
                wide += char16_t(byte);
                ++p;
                continue;
            }
            const std::u16string pair = p + 1 < text.size() ? WideFromAnsi(text.substr(p, 2)) : u"";
            if (pair.size() == 1 && pair[0] != u'\uFFFD') {
                wide += pair;
                p += 2;
            } else {
                wide += u'\uFFFD';
                ++p;
            }
        }
        return wide;
    };
    const unsigned char bytes[] = {'a', ' ', 'A', 'z', 0x81, 0xB0, 0xA1, 0xC7, 0xFE, 0xFF, 0x80, 0x52};
    std::srand(7);
    for (int round = 0; round < 3000; ++round) {
        std::string text(std::size_t(std::rand() % 12), ' ');
        for (char& c : text)
            c = char(bytes[std::rand() % sizeof bytes]);
        std::u16string out(text.size(), u'\0');
        out.resize(WideFromAnsiTo(text, out.data()));
        ASSERT_EQ(out, oneByOne(text)) << "round " << round;
    }
}

TEST(Codepage, ComparisonsFollowTheSystemOrderAndAsciiCase) {
    EXPECT_GT(AnsiCompare("ABC", "abc"), 0); // the system's order: small letters first
    EXPECT_EQ(AnsiCompareText("Begin", "BEGIN"), 0);
    EXPECT_LT(AnsiCompareText("a", "B"), 0);
    EXPECT_GT(AnsiCompare("\xB0\xA1", "z"), 0);
    char text[] = "a\xB0\xE1z";
    AnsiUpperInPlace(text);
    EXPECT_STREQ(text, "A\xB0\xE1Z"); // both bytes of a double-byte character untouched
}

TEST(Codepage, SecondBytesOfDoubleByteCharactersAreNeverCaseFolded) {
    // 0x81 0x41 and 0x81 0x61 are two different Hangul syllables (U+AC02, U+AC35).
    const char lowTrail[] = "x\x81\x61y";
    const char highTrail[] = "X\x81\x41Y";
    EXPECT_NE(AnsiCompareText(lowTrail, highTrail), 0);
    EXPECT_FALSE(AnsiSameText(lowTrail, highTrail));
    EXPECT_EQ(AnsiCompareText("xy\x81\x61Zw", "XY\x81\x61zW"), 0);
    EXPECT_TRUE(AnsiSameText("xy\x81\x61Zw", "XY\x81\x61zW"));
    EXPECT_FALSE(AnsiSameText("ab", "abc"));

    char text[] = "a\x81\x61z\xB0";
    AnsiUpperInPlace(text);
    EXPECT_STREQ(text, "A\x81\x61Z\xB0"); // a lead byte at the very end stays too
    EXPECT_EQ(WideFromAnsi(text)[1], u'\uAC35');
}

TEST(Codepage, TheCaseSensitiveOrderRefinesTheCaseBlindOne) {
    // A list sorted case-sensitively must stay searchable case-blind.
    EXPECT_LT(AnsiCompare("apple", "Zebra"), 0);
    EXPECT_LT(AnsiCompareText("apple", "Zebra"), 0);
    EXPECT_GT(AnsiCompare("abC", "abc"), 0);
    EXPECT_LT(AnsiCompare("abc", "abD"), 0);
    EXPECT_LT(AnsiCompare("ab", "abc"), 0);
    EXPECT_EQ(AnsiCompare("same", "same"), 0);
    EXPECT_NE(AnsiCompare("x\x81\x61", "X\x81\x41"), 0);
    const char* words[] = {"Zebra", "apple", "Apple", "_x", "b", "\xB0\xA1", "B", "a1"};
    for (const char* a : words) {
        for (const char* b : words) {
            int text = AnsiCompareText(a, b);
            if (text != 0) {
                EXPECT_EQ(AnsiCompare(a, b) < 0, text < 0) << a << " " << b;
            }
            EXPECT_EQ(AnsiCompare(a, b) == 0, std::string(a) == b) << a << " " << b;
            EXPECT_EQ(AnsiCompare(a, b) < 0, AnsiCompare(b, a) > 0) << a << " " << b;
        }
    }
}
