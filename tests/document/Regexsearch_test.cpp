#include "Regexsearch.h"

#include "Textsearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace ov {
namespace {

const TCharCoding& Cp949() {
    return CharCodingOf(TTextCoding::Cp949);
}
const TCharCoding& Utf8() {
    return CharCodingOf(TTextCoding::Utf8);
}

// Random text from pieces that meet every rule of both searches: letters of
// both cases, a delimiter, symbols that mean something to a regular
// expression, and multi-byte characters (in CP949 some whose second byte is
// an ASCII letter; in UTF-8 a byte that forms no character).
std::string RandomText(std::mt19937& random, const std::vector<std::string>& pieces,
                       int maxPieces) {
    std::uniform_int_distribution<int> count(0, maxPieces);
    std::uniform_int_distribution<size_t> piece(0, pieces.size() - 1);
    std::string text;
    for (int n = count(random); n > 0; --n)
        text += pieces[piece(random)];
    return text;
}

const std::vector<std::string> Cp949Pieces = {
    "a", "A", "b", "B", " ", "_", ".", "+", "(", "\x81" "a", "\x81" "A", "\xB0\xA1", "\xB0\xB0",
    "\xA1" "b"};
const std::vector<std::string> Utf8Pieces = {
    "a", "A", "b", "B", " ", "_", ".", "+", "(", "\xEA\xB0\x80", "\xEA\xB0\x81", "\xC3\xA9"};

// A literal pattern written as a regular expression: every ASCII symbol
// escaped.
std::string Escaped(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80 && !std::isalnum(byte) && c != ' ')
            out += '\\';
        out += c;
    }
    return out;
}

// Over random lines and random literal patterns taken from the same
// alphabet, the regular expression finds exactly what the plain search
// finds, from every column, in both directions, with and without case and
// whole words.
void ExpectLiteralEquivalence(const TCharCoding& coding, const std::vector<std::string>& pieces,
                              const std::string& invalidByte) {
    std::mt19937 random(coding.Coding() == TTextCoding::Cp949 ? 23 : 32);
    int hits = 0;
    for (int round = 0; round < 400; ++round) {
        std::string line = RandomText(random, pieces, 30);
        if (!invalidByte.empty() && round % 3 == 0)
            line.insert(line.size() / 2, invalidByte);
        std::string pattern = RandomText(random, pieces, 3);
        if (pattern.empty())
            continue;
        // The pattern is typed, in UTF-8; the plain search takes it in the
        // document's coding.
        const std::string typed = coding.ToUtf8(pattern);
        ASSERT_EQ(coding.FromUtf8(typed), pattern);
        for (int flags = 0; flags < 4; ++flags) {
            const bool caseSensitive = flags & 1;
            const bool wholeWords = flags & 2;
            const TPlainMatcher plain(pattern, caseSensitive, wholeWords, coding);
            const TRegexSearch regex(Escaped(typed), caseSensitive, wholeWords, coding);
            ASSERT_TRUE(regex.Valid()) << Escaped(typed);
            for (int from = -1; from <= static_cast<int>(line.size()) + 1; ++from) {
                const TLineHit expected = plain.FindForward(line, from);
                const TLineHit actual = regex.FindForward(line, from);
                ASSERT_EQ(actual.Column, expected.Column) << typed << " in " << line << " from "
                                                          << from << " flags " << flags;
                if (expected.Found()) {
                    ASSERT_EQ(actual.Length, expected.Length);
                }
                hits += expected.Found();
                ASSERT_EQ(regex.FindBackward(line, from).Column,
                          plain.FindBackward(line, from).Column)
                    << typed << " in " << line << " back from " << from << " flags " << flags;
            }
        }
    }
    EXPECT_GT(hits, 1000); // the patterns do occur
}

TEST(RegexSearchTest, LiteralPatternsFindWhatThePlainSearchFindsInCp949) {
    ExpectLiteralEquivalence(Cp949(), Cp949Pieces, "");
}

TEST(RegexSearchTest, LiteralPatternsFindWhatThePlainSearchFindsInUtf8) {
    ExpectLiteralEquivalence(Utf8(), Utf8Pieces, "\xFF");
}

// Whatever the pattern, a match in a CP949 line begins and ends on a
// character: '.' and classes, which stand for single bytes there, never cut
// a double-byte character.
TEST(RegexSearchTest, Cp949MatchesBeginAndEndOnCharacters) {
    const std::vector<std::string> patterns = {".", "..", "[a-z]+", "A.", ".a", "[^ ]", "\\w+",
                                               "[\\x80-\\xff]", "b|.A", "(?i)a."};
    std::mt19937 random(949);
    int hits = 0;
    for (const std::string& pattern : patterns) {
        const TRegexSearch regex(pattern, false, false, Cp949());
        ASSERT_TRUE(regex.Valid()) << pattern;
        for (int round = 0; round < 200; ++round) {
            const std::string line = RandomText(random, Cp949Pieces, 20);
            std::vector<bool> starts(line.size() + 1, false);
            for (size_t p = 0; p < line.size(); p = Cp949().NextChar(line, p))
                starts[p] = true;
            starts[line.size()] = true;
            for (TLineHit hit = regex.FindForward(line, 0); hit.Found();
                 hit = regex.FindForward(line, hit.Column + 1)) {
                ++hits;
                ASSERT_TRUE(starts[size_t(hit.Column)]) << pattern << " in " << line;
                ASSERT_TRUE(starts[size_t(hit.Column + hit.Length)]) << pattern << " in " << line;
            }
        }
    }
    EXPECT_GT(hits, 1000);
}

// A Korean character of the pattern is one unit in either coding: a
// quantifier repeats it whole, and its second byte (an ASCII letter in
// CP949) never folds with case. In UTF-8 '.' and classes take characters.
TEST(RegexSearchTest, KoreanCharactersAreUnitsOfThePattern) {
    const std::string ga949 = "\xB0\xA1";
    const TRegexSearch repeated949("가+", true, false, Cp949());
    EXPECT_EQ(repeated949.FindForward("x" + ga949 + ga949 + ga949 + "y", 0).Length, 6);
    // U+AC02 is 81 41 in CP949: "A" as its second byte; 81 61 is another
    // character, which a case-blind search must not take for it.
    const TRegexSearch folded(Cp949().ToUtf8("\x81" "A") + "b", false, false, Cp949());
    EXPECT_FALSE(folded.FindForward("\x81" "aB", 0).Found());
    EXPECT_EQ(folded.FindForward("\x81" "AB", 0).Column, 0);

    const TRegexSearch classUtf8("[가-힣]+", true, false, Utf8());
    const TLineHit hit = classUtf8.FindForward("ab 한국어 cd", 0);
    EXPECT_EQ(hit.Column, 3);
    EXPECT_EQ(hit.Length, 9);
    const TRegexSearch dotUtf8("a.b", true, false, Utf8());
    EXPECT_EQ(dotUtf8.FindForward("a한b", 0).Length, 5);
    // Patterns typed in quotes keep working around converted characters.
    const TRegexSearch quoted("\\Q가.\\E+", true, false, Cp949());
    EXPECT_EQ(quoted.FindForward(ga949 + ".." + ga949 + ".", 0).Column, 0);
    EXPECT_EQ(quoted.FindForward(ga949 + "..", 0).Length, 4);
    EXPECT_FALSE(quoted.FindForward(ga949 + "x", 0).Found());
}

// A pattern that does not compile finds nothing and says, in Korean, at
// which typed character it went wrong, counting Korean characters as one in
// either coding.
TEST(RegexSearchTest, BadPatternsNameTheCharacterWhereTheErrorIs) {
    for (const TCharCoding* coding : {&Cp949(), &Utf8()}) {
        const TRegexSearch open("한글(a", true, false, *coding);
        ASSERT_FALSE(open.Valid());
        EXPECT_EQ(open.Error().Position, 4);
        EXPECT_EQ(RegexErrorMessage(open.Error()),
                  "정규 표현식의 5번째 글자에서 오류: 괄호 )가 닫히지 않았습니다.");
        EXPECT_FALSE(open.FindForward("한글(a", 0).Found());

        const TRegexSearch order("가나{2,1}", true, false, *coding);
        ASSERT_FALSE(order.Valid());
        EXPECT_EQ(order.Error().Position, 6);
        const TRegexSearch trailing("가\\", true, false, *coding);
        ASSERT_FALSE(trailing.Valid());
        EXPECT_NE(RegexErrorMessage(trailing.Error()).find("역슬래시"), std::string::npos);
        const TRegexSearch empty("", true, false, *coding);
        EXPECT_FALSE(empty.Valid());
    }
    // A pattern that backtracks without end gives up instead of hanging.
    const TRegexSearch runaway("(a+)+$", true, false, Utf8());
    ASSERT_TRUE(runaway.Valid());
    EXPECT_FALSE(runaway.FindForward(std::string(40, 'a') + "!", 0).Found());
}

} // namespace
} // namespace ov
