// Encoding detection on samples of every kind, the ambiguous two-byte case
// decided both ways, and whole files loaded through LoadViewedFile.

#include "Codepage.h"
#include "Filecoding.h"
#include "Ovstrings.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ov {
namespace {

const char* const Utf8Korean = "\xED\x95\x9C\xEA\xB8\x80 \xED\x85\x8D\xEC\x8A\xA4\xED\x8A\xB8"; // 한글 텍스트

// The lines as shown (a mapped file's NUL bytes as blanks).
std::vector<std::string> Lines(const TOVStringList& list) {
    std::vector<std::string> lines;
    std::string shown;
    for (int i = 0; i < list.Count(); ++i)
        lines.emplace_back(list.ShownView(i, shown));
    return lines;
}

TEST(DetectEncoding, SamplesOfEveryKind) {
    const std::string korean949 = AnsiFromUtf8("한글 텍스트 파일입니다. 가나다라마바사");
    struct TSample {
        std::string Bytes;
        TFileEncoding Expected;
    } samples[] = {
        {"plain ASCII text\n", TFileEncoding::Cp949},
        {"", TFileEncoding::Cp949},
        {Utf8Korean, TFileEncoding::Utf8},
        {"\xEF\xBB\xBF" "abc", TFileEncoding::Utf8Bom},
        {"\xEF\xBB\xBF", TFileEncoding::Utf8Bom}, // the mark alone
        {"\xFF\xFE" "a\0", TFileEncoding::Utf16Le},
        {"\xFE\xFF\0a", TFileEncoding::Utf16Be},
        {korean949, TFileEncoding::Cp949},
        {"x " + korean949 + "\n" + korean949, TFileEncoding::Cp949},
        {"emoji \xF0\x9F\x98\x80 and \xE2\x82\xAC", TFileEncoding::Utf8},
        // A sequence cut by the end of the head does not count against it.
        {std::string(Utf8Korean) + "\xED\x95", TFileEncoding::Utf8},
        // Overlong forms and encoded surrogates are not UTF-8.
        {"a\xC0\xAF", TFileEncoding::Cp949},
        {"a\xED\xA0\x80", TFileEncoding::Cp949},
        // Damaged UTF-8: a stray byte among many longer sequences.
        {std::string(Utf8Korean) + "\xFF" + Utf8Korean, TFileEncoding::Utf8},
    };
    for (const TSample& sample : samples)
        EXPECT_EQ(DetectEncoding(sample.Bytes), sample.Expected) << sample.Bytes;
}

// Korean phrases whose CP949 bytes happen to be well-formed UTF-8 (every
// syllable with lead C2-C8 and trail A1-BF) stay CP949; Latin words with
// accented letters, which are well-formed UTF-8 made of two-byte sequences
// only, are UTF-8.
TEST(DetectEncoding, AmbiguousTwoByteTextDecidedBothWays) {
    std::vector<std::string> syllables;
    for (int lead = 0xC2; lead <= 0xC8; ++lead)
        for (int trail = 0xA1; trail <= 0xBF; ++trail)
            syllables.push_back({char(lead), char(trail)});
    std::mt19937 random(2026);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    const char* const separators[] = {" ", ", ", ". ", "\n", " 1 ", "? "};
    for (int phrase = 0; phrase < 500; ++phrase) {
        std::string text;
        const std::size_t words = 1 + pick(8);
        for (std::size_t w = 0; w < words; ++w) {
            if (w > 0)
                text += separators[pick(std::size(separators))];
            for (std::size_t s = 1 + pick(3); s > 0; --s)
                text += syllables[pick(syllables.size())];
        }
        ASSERT_TRUE(IsWellFormedUtf8(text, false));
        EXPECT_EQ(DetectEncoding(text), TFileEncoding::Cp949) << Utf8FromAnsi(text);
    }
    for (const char* latin : {"caf\xC3\xA9", "na\xC3\xAFve r\xC3\xA9sum\xC3\xA9", "Z\xC3\xBCrich",
                              "S\xC3\xA3o Paulo", "\xC3\x85ngstr\xC3\xB6m", "cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e",
                              "fa\xC3\xA7" "ade", "El Ni\xC3\xB1o", "25\xC2\xB0" "C", "\xC5\x81\xC3\xB3" "d\xC5\xBA",
                              "Stra\xC3\x9F" "e", "\xCE\xB1\xCE\xB2\xCE\xB3 \xCE\xB4"}) {
        ASSERT_TRUE(IsWellFormedUtf8(latin, false));
        EXPECT_EQ(DetectEncoding(latin), TFileEncoding::Utf8) << latin;
    }
}

class LoadViewedFile : public ::testing::Test {
protected:
    std::optional<TFileEncoding> Load(const std::string& bytes,
                                      TCodingChoice choice = TCodingChoice::Auto) {
        return List.LoadViewedFile(Folder.Write("file.txt", bytes), choice);
    }
    test::TTempFolder Folder;
    TOVSynStringList List;
};

TEST_F(LoadViewedFile, Utf8KeepsItsBytesAndLosesOnlyTheMark) {
    const std::string text = std::string(Utf8Korean) + "\r\n\xF0\x9F\x98\x80 caf\xC3\xA9\rend";
    const std::vector<std::string> expected = {Utf8Korean, "\xF0\x9F\x98\x80 caf\xC3\xA9", "end"};
    EXPECT_EQ(Load(text), TFileEncoding::Utf8);
    EXPECT_EQ(List.Coding(), TTextCoding::Utf8);
    EXPECT_EQ(Lines(List), expected);
    EXPECT_EQ(Load("\xEF\xBB\xBF" + text), TFileEncoding::Utf8Bom);
    EXPECT_EQ(Lines(List), expected);
    EXPECT_EQ(Load("\xEF\xBB\xBF"), TFileEncoding::Utf8Bom);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(LoadViewedFile, Utf16OfBothOrdersBecomesUtf8WithoutLoss) {
    // 한 A U+1F600 (a surrogate pair), CR LF, é, a lone high surrogate, NUL.
    const char16_t raw[] = u"\uD55C A \U0001F600\r\n\u00E9\xD800x\0y";
    const std::u16string units(raw, std::size(raw) - 1);
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char16_t unit : units) {
        little += {char(unit & 0xFF), char(unit >> 8)};
        big += {char(unit >> 8), char(unit & 0xFF)};
    }
    const std::vector<std::string> expected = {"\xED\x95\x9C A \xF0\x9F\x98\x80",
                                               "\xC3\xA9\xEF\xBF\xBDx y"};
    EXPECT_EQ(Load(little), TFileEncoding::Utf16Le);
    EXPECT_EQ(List.Coding(), TTextCoding::Utf8);
    EXPECT_EQ(Lines(List), expected);
    EXPECT_EQ(Load(big), TFileEncoding::Utf16Be);
    EXPECT_EQ(Lines(List), expected);
    // An odd last byte is shown, not dropped; a mark alone is an empty text.
    EXPECT_EQ(Load(big + "Z"), TFileEncoding::Utf16Be);
    EXPECT_EQ(Lines(List).back(), expected.back() + "\xEF\xBF\xBD");
    EXPECT_EQ(Load("\xFE\xFF"), TFileEncoding::Utf16Be);
    EXPECT_EQ(List.Count(), 0);
}

TEST_F(LoadViewedFile, Cp949TextLoadsExactlyAsLoadFromFile) {
    const std::string text = AnsiFromUtf8("한글 텍스트\r\n둘째 줄\n") + std::string("a\0b\n\xC7", 5);
    TOVSynStringList reference;
    reference.LoadFromFile(Folder.Write("reference.txt", text));
    EXPECT_EQ(Load(text), TFileEncoding::Cp949);
    EXPECT_EQ(List.Coding(), TTextCoding::Cp949);
    EXPECT_EQ(Lines(List), Lines(reference));
}

TEST_F(LoadViewedFile, TheChoiceImposesAReadingOnEightBitText) {
    const std::string korean949 = AnsiFromUtf8("한글");
    EXPECT_EQ(Load(Utf8Korean, TCodingChoice::Cp949), TFileEncoding::Cp949);
    EXPECT_EQ(List.Coding(), TTextCoding::Cp949);
    EXPECT_EQ(Lines(List), std::vector<std::string>{Utf8Korean});
    EXPECT_EQ(Load(korean949, TCodingChoice::Utf8), TFileEncoding::Utf8);
    EXPECT_EQ(List.Coding(), TTextCoding::Utf8);
    EXPECT_EQ(Lines(List), std::vector<std::string>{korean949});
    // A UTF-16 mark always wins: its text is never 8-bit.
    EXPECT_EQ(Load(std::string("\xFF\xFE" "a\0", 4), TCodingChoice::Cp949), TFileEncoding::Utf16Le);
    EXPECT_EQ(Lines(List), std::vector<std::string>{"a"});
}

// Only the first megabyte decides; bytes after it that are not UTF-8 stay
// in their lines, and no line is lost.
TEST_F(LoadViewedFile, Utf8HeadWithInvalidBytesLaterKeepsEveryLine) {
    std::string text;
    int lines = 0;
    while (text.size() < DetectionBytes + 100) {
        text += std::string(Utf8Korean) + " " + std::to_string(lines++) + "\n";
    }
    text += "\xC7\xD1\xFF\xC0\xAF\xED\xA0\x80 tail\nlast";
    EXPECT_EQ(Load(text), TFileEncoding::Utf8);
    ASSERT_EQ(List.Count(), lines + 2);
    EXPECT_EQ(List.GetView(lines), "\xC7\xD1\xFF\xC0\xAF\xED\xA0\x80 tail");
    EXPECT_EQ(List.CharCoding().ToUtf8(List.GetView(lines)),
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"
              "\xEF\xBF\xBD tail");
    EXPECT_EQ(List.GetView(lines + 1), "last");
}

TEST(LooksLikeText, TextWithoutBlanksAndBinaryBytes) {
    EXPECT_TRUE(LooksLikeText("1.2.3"));
    EXPECT_TRUE(LooksLikeText(AnsiFromUtf8("한글로만이루어진긴줄한글로만이루어진긴줄")));
    EXPECT_TRUE(LooksLikeText(std::string(Utf8Korean) + "\t\x1B[1m\f\r\n"));
    EXPECT_FALSE(LooksLikeText(std::string("ab\0cd", 5)));
    EXPECT_FALSE(LooksLikeText("ab\x01" "cd"));
    EXPECT_FALSE(LooksLikeText("\x80\x80\x80\x80"));
}

} // namespace
} // namespace ov
