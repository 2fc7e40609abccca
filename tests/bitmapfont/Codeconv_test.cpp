#include "Charsets.h"
#include "Codeconv.h"
#include "Codepage.h"

#include <gtest/gtest.h>

#include <set>

namespace ov {
namespace {

uint16_t Converted(uint16_t code) {
    EXPECT_TRUE(ConvertCode(code));
    return code;
}

std::string Bytes(uint16_t code) {
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

// The font code that the system's own Johab conversion gives for a CP949
// character, or 0 when it has none.
uint16_t SystemJohab(uint16_t cp949) {
    const std::optional<std::string> johab = ConvertCharset(Bytes(cp949), "CP949", "JOHAB");
    if (!johab || johab->size() != 2)
        return 0;
    return static_cast<uint16_t>(static_cast<uint8_t>((*johab)[0]) << 8 |
                                 static_cast<uint8_t>((*johab)[1]));
}

TEST(ConvertCode, FixedPointsOfEveryRange) {
    EXPECT_EQ(Converted(0xB0A1), 0x8861); // 가
    EXPECT_EQ(Converted(0xA1A1), 0xD931); // first symbol
    EXPECT_EQ(Converted(0xA2A1), 0xD9A1); // second symbol row, second half of lead 0xD9
    EXPECT_EQ(Converted(0xCAA1), 0xE031); // first Hanja
    EXPECT_EQ(Converted(0xFDFE), 0xF9FE); // last Hanja
    EXPECT_EQ(Converted(0xADA1), 0xD480); // first KSG glyph
    EXPECT_EQ(Converted(0xAEC2), 0xD4FF); // last KSG glyph
    EXPECT_EQ(Converted(0xC9A1), 0x2020); // user-defined row
    EXPECT_EQ(Converted(0xAEC3), 0x2020);
    EXPECT_EQ(Converted(0x8141), 0x8863); // first extension syllable
    EXPECT_EQ(Converted(0xC652), 0xD3BD); // last extension syllable
}

TEST(ConvertCode, ZeroAndOutOfRangeCodesAreRefusedUnchanged) {
    uint16_t code = 0;
    EXPECT_FALSE(ConvertCode(code));
    EXPECT_EQ(code, 0);
    code = 0x8120; // trail below the extension ranges wraps to a huge index
    EXPECT_FALSE(UhcToJohab(code));
    EXPECT_EQ(code, 0x8120);
}

TEST(ConvertCode, MalformedCodesDrawAsFirstExtensionSyllable) {
    for (uint16_t code : {0x4141, 0xC653, 0xFF41}) {
        EXPECT_TRUE(ConvertCode(code));
        EXPECT_EQ(code, UhcToJohabTable[0]);
    }
}

// Every Hangul syllable that CP949 encodes, in both the KS X 1001 block and
// the extension block, must give exactly the code of the system's Johab.
TEST(ConvertCode, EveryHangulSyllableMatchesSystemJohab) {
    int checked = 0;
    std::set<uint16_t> seen;
    for (char16_t syllable = 0xAC00; syllable <= 0xD7A3; ++syllable) {
        const std::string ansi = AnsiFromWide(std::u16string(1, syllable));
        ASSERT_EQ(ansi.size(), 2u);
        const auto cp949 = static_cast<uint16_t>(static_cast<uint8_t>(ansi[0]) << 8 |
                                                 static_cast<uint8_t>(ansi[1]));
        const uint16_t expected = SystemJohab(cp949);
        ASSERT_NE(expected, 0) << std::hex << cp949;
        uint16_t code = cp949;
        ASSERT_TRUE(ConvertCode(code)) << std::hex << cp949;
        ASSERT_EQ(code, expected) << std::hex << cp949;
        seen.insert(code);
        ++checked;
    }
    EXPECT_EQ(checked, 11172);
    EXPECT_EQ(seen.size(), 11172u);
}

// Every double-byte code of the KS X 1001 area lands in one of the glyph
// ranges of the fonts: Hangul, symbols, KSG, Hanja or the space code.
TEST(ConvertCode, EveryKsCodeLandsInAGlyphRange) {
    for (int lead = 0xA1; lead <= 0xFE; ++lead) {
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
            ASSERT_TRUE(ConvertCode(code));
            const int high = code >> 8, low = code & 0xFF;
            const bool trailOk = (low >= 0x31 && low <= 0x7E) || (low >= 0x91 && low <= 0xFE);
            if (lead >= 0xB0 && lead <= 0xC8)
                EXPECT_TRUE(code & 0x8000) << std::hex << lead << trail;
            else if (lead <= 0xAC)
                EXPECT_TRUE(high >= 0xD9 && high <= 0xDE && trailOk) << std::hex << lead << trail;
            else if (lead >= 0xCA && lead <= 0xFD)
                EXPECT_TRUE(high >= 0xE0 && high <= 0xF9 && trailOk) << std::hex << lead << trail;
            else
                EXPECT_TRUE(code == 0x2020 || (high == 0xD4 && low >= 0x80))
                    << std::hex << lead << trail;
        }
    }
}

// Every entry outside the Hangul rows against the row rules: two KS rows per
// Johab lead, the first taking the trails 0x31-0x7E and 0x91-0xA0, the second
// 0xA1-0xFE; the KSG rows count up from 0xD480; the rest is the space code.
TEST(KsToJohabTable, EveryNonHangulEntryFollowsTheRowRules) {
    auto rowRule = [](int rowOffset, int j, int firstLead) {
        const int lead = firstLead + rowOffset / 2;
        const int trail = rowOffset % 2 ? 0xA1 + j : j < 78 ? 0x31 + j : 0x91 + j - 78;
        return lead << 8 | trail;
    };
    int checked = 0;
    for (int row = 0xA1; row <= 0xFE; ++row) {
        if (row >= 0xB0 && row <= 0xC8)
            continue;
        for (int j = 0; j < 94; ++j) {
            int expected = 0x2020;
            if (row <= 0xAC)
                expected = rowRule(row - 0xA1, j, 0xD9);
            else if (row >= 0xCA && row <= 0xFD)
                expected = rowRule(row - 0xCA, j, 0xE0);
            else if (row == 0xAD || (row == 0xAE && j < 34))
                expected = 0xD480 + (row - 0xAD) * 94 + j;
            ASSERT_EQ(KsToJohabTable[(row - 0xA1) * 94 + j], expected)
                << std::hex << row << " " << std::dec << j;
            ++checked;
        }
    }
    EXPECT_EQ(checked, (94 - 25) * 94);
    EXPECT_EQ(KsToJohabTable[(0xAE - 0xA1) * 94 + 33], 0xD4FF);
}

TEST(ConvertCode, SymbolAndHanjaRowsFillTheirJohabRowsWithoutGaps) {
    std::set<uint16_t> symbols, hanja;
    for (int lead = 0xA1; lead <= 0xFE; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const uint16_t code = Converted(static_cast<uint16_t>(lead << 8 | trail));
            if (lead <= 0xAC)
                symbols.insert(code);
            else if (lead >= 0xCA && lead <= 0xFD)
                hanja.insert(code);
        }
    EXPECT_EQ(symbols.size(), 12u * 94);
    EXPECT_EQ(*symbols.begin(), 0xD931);
    EXPECT_EQ(*symbols.rbegin(), 0xDEFE);
    EXPECT_EQ(hanja.size(), 52u * 94);
    EXPECT_EQ(*hanja.rbegin(), 0xF9FE);
}

TEST(UhcToJohabTable, AscendingAndDisjointFromKsSyllables) {
    std::set<uint16_t> ks;
    for (int lead = 0xB0; lead <= 0xC8; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            ks.insert(KsToJohabTable[(lead - 0xA1) * 94 + trail - 0xA1]);
    EXPECT_EQ(ks.size(), 2350u);
    for (int k = 0; k < UhcToJohabCount; ++k) {
        if (k > 0) {
            ASSERT_LT(UhcToJohabTable[k - 1], UhcToJohabTable[k]);
        }
        ASSERT_EQ(ks.count(UhcToJohabTable[k]), 0u);
    }
}

TEST(ConvertString, ConvertsPairsAndAppendsTwoSpaces) {
    std::string text = "A\xB0\xA1";
    EXPECT_TRUE(ConvertString(text));
    EXPECT_EQ(text, std::string("A\x88\x61  "));

    // A lead byte at the end pairs with the first appended space.
    std::string lone = "\xB0";
    EXPECT_TRUE(ConvertString(lone));
    ASSERT_EQ(lone.size(), 3u);
    uint16_t expected = 0xB020;
    ConvertCode(expected);
    EXPECT_EQ(lone.substr(0, 2), Bytes(expected));

    // A converted trail byte at or above 0x80 is not taken for a lead byte.
    std::string mixed = "\xA2\xA1\xB0\xA1";
    ConvertString(mixed);
    EXPECT_EQ(mixed, std::string("\xD9\xA1\x88\x61  "));
}

TEST(IsTrailByte, OneDoubleByteCharacter) {
    const std::string text = "\xB0\xA1";
    EXPECT_FALSE(IsTrailByte(text, 0));
    EXPECT_TRUE(IsTrailByte(text, 1));
    EXPECT_FALSE(IsTrailByte(text, 2));
    EXPECT_FALSE(IsTrailByte(text, -1));
}

// Compared with a walk that marks trail bytes as it goes.
TEST(IsTrailByte, MixedText) {
    const std::string text = AnsiFromUtf8("a가b\t漢字 ①x각") + "\xB0";
    std::vector<bool> trail(text.size(), false);
    for (size_t p = 0; p < text.size(); ++p)
        if (static_cast<uint8_t>(text[p]) >= 0x80 && p + 1 < text.size())
            trail[++p] = true;
    for (size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ(IsTrailByte(text, static_cast<int>(i)), trail[i]) << i;
}

} // namespace
} // namespace ov
