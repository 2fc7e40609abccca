#include "Linematcher.h"
#include "Regexsearch.h"
#include "Textsearch.h"

#include "Linematcher.h"
#include "Testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace ov {
namespace {

// The search restated character by character: a line is cut into characters
// walking from its start, a match is a run of whole characters equal to the
// pattern's (single-byte characters upper-cased when case does not count),
// and a whole word has a single-byte delimiter or the line's end on both
// sides.
std::vector<int> CharStarts(const std::string& text) {
    std::vector<int> starts;
    for (size_t i = 0; i < text.size(); i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1)
        starts.push_back(static_cast<int>(i));
    return starts;
}

bool ReferenceMatch(const std::string& line, const std::vector<int>& starts, size_t q,
                    const std::string& pattern, bool caseSensitive, bool wholeWords) {
    auto at = std::lower_bound(starts.begin(), starts.end(), static_cast<int>(q));
    if (at == starts.end() || *at != static_cast<int>(q) || q + pattern.size() > line.size())
        return false;
    for (size_t k = 0; k < pattern.size();) {
        auto p = static_cast<unsigned char>(pattern[k]);
        auto t = static_cast<unsigned char>(line[q + k]);
        if (p >= 0x80) {
            if (k + 1 >= pattern.size() || p != t || pattern[k + 1] != line[q + k + 1])
                return false;
            k += 2;
        } else {
            if (caseSensitive ? p != t : std::toupper(p) != std::toupper(t))
                return false;
            k += 1;
        }
    }
    if (!wholeWords)
        return true;
    if (at != starts.begin()) {
        int previous = *(at - 1);
        if (static_cast<int>(q) - previous != 1 ||
            !IsWordDelimiter(static_cast<unsigned char>(line[size_t(previous)])))
            return false;
    }
    size_t after = q + pattern.size();
    return after >= line.size() || IsWordDelimiter(static_cast<unsigned char>(line[after]));
}

bool ReferenceMatch(const std::string& line, size_t q, const std::string& pattern,
                    bool caseSensitive, bool wholeWords) {
    return ReferenceMatch(line, CharStarts(line), q, pattern, caseSensitive, wholeWords);
}

// Bytes chosen to meet every rule: letters of both cases, a delimiter, a
// non-delimiter symbol, and double-byte characters whose second byte is an
// ASCII letter or a lead-range byte.
std::string RandomText(std::mt19937& random, int maxChars) {
    static const char* const pieces[] = {"a", "A", "b", "B", " ", "_", ".", "\x81" "a", "\x81" "A",
                                         "\xB0\xA1", "\xB0\xB0", "\xA1" "b"};
    std::uniform_int_distribution<int> count(0, maxChars);
    std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
    std::string text;
    for (int n = count(random); n > 0; --n)
        text += pieces[piece(random)];
    return text;
}

TEST(TextSearchTest, DelimitersAreExactlyTheTwentyNine) {
    const std::string delimiters = "~!@%^&*()-+=|/{}[]:;\"'<> ,\t.?";
    int count = 0;
    for (int byte = 0; byte < 256; ++byte) {
        bool expected = delimiters.find(static_cast<char>(byte)) != std::string::npos;
        EXPECT_EQ(IsWordDelimiter(static_cast<unsigned char>(byte)), expected) << byte;
        count += IsWordDelimiter(static_cast<unsigned char>(byte));
    }
    EXPECT_EQ(count, 29);
}

// Every start column of both directions, every option, against the
// character-by-character restatement.
TEST(TextSearchTest, BothDirectionsAgreeWithTheCharacterRule) {
    std::mt19937 random(13);
    for (int round = 0; round < 3000; ++round) {
        std::string line = RandomText(random, 14);
        std::string pattern = RandomText(random, 3);
        if (pattern.empty())
            continue;
        for (int options = 0; options < 4; ++options) {
            bool caseSensitive = options & 1, wholeWords = options & 2;
            TTextSearch search(pattern, caseSensitive, wholeWords);
            std::vector<int> matches;
            for (size_t q = 0; q < line.size(); ++q)
                if (ReferenceMatch(line, q, pattern, caseSensitive, wholeWords))
                    matches.push_back(static_cast<int>(q));
            for (int from = -1; from <= static_cast<int>(line.size()) + 1; ++from) {
                int forward = -1, backward = -1;
                for (int q : matches) {
                    if (q >= from && forward < 0)
                        forward = q;
                    if (q <= from)
                        backward = q;
                }
                ASSERT_EQ(search.FindForward(line, from), forward)
                    << "line '" << line << "' pattern '" << pattern << "' from " << from
                    << " options " << options;
                ASSERT_EQ(search.FindBackward(line, from), backward)
                    << "line '" << line << "' pattern '" << pattern << "' from " << from
                    << " options " << options;
            }
        }
    }
}

// Long lines: runs of hundreds to thousands of double-byte characters
// between short mixes of single bytes, so matches begin at odd and at even
// offsets, and a pattern made of one character's second byte and the next
// one's first byte ("\xA1\xB0" in a run of "\xB0\xA1") meets a false hit
// at every other byte. Find Next walked from match to match in both
// directions meets exactly the matches of the character-by-character
// restatement.
TEST(TextSearchTest, LongLinesOfDoubleByteCharactersMatchAtCharacterStartsOnly) {
    std::mt19937 random(31);
    const std::string ga = "\xB0\xA1";
    static const char* const mix[] = {"a",
                                      "A",
                                      " ",
                                      "(",
                                      "\xA1\xB0",
                                      "\x81"
                                      "A",
                                      "\x81(",
                                      ga.c_str()};
    const std::string patterns[] = {"\xA1\xB0", ga, ga + ga, "A", "a" + ga, ga + " ", "(" + ga};
    for (int round = 0; round < 6; ++round) {
        std::string line;
        for (int segment = 0; segment < 4; ++segment) {
            for (int n = int(random() % 7); n > 0; --n)
                line += mix[random() % std::size(mix)];
            for (int n = 300 + int(random() % 2000); n > 0; --n)
                line += ga;
        }
        const std::vector<int> starts = CharStarts(line);
        for (const std::string& pattern : patterns) {
            for (int options = 0; options < 4; ++options) {
                const bool caseSensitive = options & 1, wholeWords = options & 2;
                SCOPED_TRACE(testing::Message() << "round " << round << " pattern "
                                                << pattern.size() << " bytes, options " << options);
                std::vector<int> expected;
                for (int q : starts)
                    if (ReferenceMatch(line, starts, size_t(q), pattern, caseSensitive, wholeWords))
                        expected.push_back(q);
                const TTextSearch search(pattern, caseSensitive, wholeWords);
                std::vector<int> forward, backward;
                for (int q = search.FindForward(line, 0); q >= 0;
                     q = search.FindForward(line, q + 1))
                    forward.push_back(q);
                for (int q = search.FindBackward(line, int(line.size())); q >= 0;
                     q = q > 0 ? search.FindBackward(line, q - 1) : -1)
                    backward.push_back(q);
                std::reverse(backward.begin(), backward.end());
                EXPECT_EQ(forward, expected);
                EXPECT_EQ(backward, expected);
            }
        }
    }
}

TEST(TextSearchTest, CasesFromTheFindDialog) {
    TTextSearch insensitive("abc", false, false);
    EXPECT_EQ(insensitive.FindForward("xABCx", 0), 1);
    EXPECT_EQ(TTextSearch("abc", true, false).FindForward("xABCx", 0), -1);

    TTextSearch cat("cat", false, true);
    EXPECT_EQ(cat.FindForward("concatenate", 0), -1);
    EXPECT_EQ(cat.FindForward("cat_", 0), -1);
    EXPECT_EQ(TTextSearch("cat", false, false).FindForward("cat_", 0), 0);
    EXPECT_EQ(cat.FindForward("cat", 0), 0);
    EXPECT_EQ(cat.FindForward("cat(x)", 0), 0);
    EXPECT_EQ(cat.FindForward("a.cat", 0), 2);
    // A Korean character before the word is part of it.
    EXPECT_EQ(cat.FindForward("\xB0\xA1" "cat", 0), -1);

    // "A" is the second byte of the character 0x81 0x41: never half of it.
    TTextSearch a("A", true, false);
    EXPECT_EQ(a.FindForward("\x81" "A", 0), -1);
    EXPECT_EQ(a.FindForward("\x81" "AA", 0), 2);
    EXPECT_EQ(a.FindBackward("A\x81" "A", 5), 0);
    // Second bytes do not fold: 0x81 0x61 is another character than 0x81 0x41.
    EXPECT_EQ(TTextSearch("\x81" "a", false, false).FindForward("\x81" "A", 0), -1);
    EXPECT_EQ(TTextSearch("\x81" "a", false, false).FindForward("x\x81" "a", 0), 1);
}

TEST(TextSearchTest, UtfEightLinesMatchWholeCharactersOnly) {
    const TCharCoding& utf8 = CharCodingOf(TTextCoding::Utf8);
    // "é" is C3 A9: neither byte alone is a match, and the word test sees
    // the character, not its last byte.
    EXPECT_EQ(TTextSearch("\xC3", true, false, utf8).FindForward("x\xC3\xA9", 0), -1);
    EXPECT_EQ(TTextSearch("\xA9", true, false, utf8).FindForward("x\xC3\xA9", 0), -1);
    EXPECT_EQ(TTextSearch("\xC3\xA9", true, false, utf8).FindBackward("\xC3\xA9x\xC3\xA9", 9), 3);
    TTextSearch cat("CAT", false, true, utf8);
    EXPECT_EQ(cat.FindForward("\xC3\xA9" "cat", 0), -1);
    EXPECT_EQ(cat.FindForward("\xC3\xA9 cat", 0), 3);
    EXPECT_EQ(cat.FindBackward("cat\xEA\xB0\x80 cat.", 20), 7);
    EXPECT_EQ(cat.LastCharOffset(), 2);
    EXPECT_EQ(TTextSearch("a\xEA\xB0\x80", true, false, utf8).LastCharOffset(), 1);
}

// Hangul matches in either form: syllables typed find conjoining jamo and
// the reverse, whole syllables only, each match with its own length.
TEST(TextSearchTest, ComposedAndDecomposedHangulFindEachOther) {
    const TCharCoding& utf8 = CharCodingOf(TTextCoding::Utf8);
    const std::string word = "한글";
    const std::string jamo = HangulForm(word, false); // 1112 1161 11AB 1100 1173 11AF
    ASSERT_EQ(jamo.size(), 18u);
    EXPECT_EQ(HangulForm(jamo, true), word);
    TOVStringList lines;
    for (const std::string& text : {"x " + jamo + " y", "z " + word, std::string("한") + "\xE1\x84\x80"})
        lines.Add(text);
    // Each row: the plain search, and the same text as a regular expression,
    // alone and quoted.
    std::vector<std::unique_ptr<TLineMatcher>> searches;
    for (const std::string& pattern : {word, jamo}) {
        searches.push_back(std::make_unique<TPlainMatcher>(pattern, false, true, utf8));
        searches.push_back(std::make_unique<TRegexSearch>(pattern, false, true, utf8));
        searches.push_back(std::make_unique<TRegexSearch>("\\Q" + pattern + "\\E", false, true, utf8));
    }
    searches.push_back(std::make_unique<TRegexSearch>("(?:한)글+", false, true, utf8));
    for (std::size_t row = 0; row < searches.size(); ++row) {
        SCOPED_TRACE(row);
        const TLineMatcher& search = *searches[row];
        const TDocumentHit first = search.Search(lines, 0, 0, 2, TSearchDirection::Forward);
        EXPECT_EQ(first.Line, 0);
        EXPECT_EQ(first.Column, 2);
        EXPECT_EQ(first.Length, 18);
        const TDocumentHit next = search.Search(lines, 3, 0, 2, TSearchDirection::Forward);
        EXPECT_EQ(next.Line, 1);
        EXPECT_EQ(next.Length, 6);
        const TDocumentHit back = search.Search(lines, 99, 2, 0, TSearchDirection::Backward);
        EXPECT_EQ(back.Line, 1);
        EXPECT_EQ(back.Column, 2);
    }
    // A leading consonant alone is no match inside a syllable made of jamo.
    EXPECT_FALSE(TPlainMatcher("\xE1\x84\x92", true, false, utf8).FindForward(jamo, 0).Found());
    EXPECT_FALSE(TRegexSearch("\xE1\x84\x92", true, false, utf8).FindForward(jamo, 0).Found());
    // Nor is a syllable without its final consonant; in a class, a syllable
    // is one character as typed.
    EXPECT_FALSE(TRegexSearch("\xED\x95\x98", true, false, utf8).FindForward(jamo, 0).Found());
    EXPECT_EQ(TRegexSearch("[\xED\x95\x9C]", true, false, utf8).FindForward(jamo, 0).Column, -1);
    EXPECT_EQ(TRegexSearch("[\xED\x95\x9C]", true, false, utf8).FindForward(word, 0).Column, 0);
    // An error is placed at the character typed, jamo counted one by one.
    EXPECT_EQ(TRegexSearch(jamo + "\xEA\xB8\x80(", true, false, utf8).Error().Position, 8);
    // The jamo of a syllable are one character: every byte of it starts at 0.
    for (std::size_t q = 0; q < 9; ++q)
        EXPECT_EQ(utf8.CharStart(jamo, 0, q), 0u) << q;
    EXPECT_EQ(utf8.CharCode(jamo, 9), U'글');
    EXPECT_EQ(utf8.CharCells(jamo, 0), 2);
    EXPECT_EQ(utf8.ToUtf8(jamo), jamo);
}

TEST(TextSearchTest, DocumentScansStopAtTheirEndLineAndSkipTheStartColumns) {
    TOVStringList lines;
    for (const char* text : {"aaa", "", "xa", "a"})
        lines.Add(text);
    TTextSearch a("a", false, false);
    auto forward = [&](int x, int y, int end) {
        TSearchMatch m = a.Search(lines, x, y, end, TSearchDirection::Forward);
        return std::pair(m.Column, m.Line);
    };
    auto backward = [&](int x, int y, int end) {
        TSearchMatch m = a.Search(lines, x, y, end, TSearchDirection::Backward);
        return std::pair(m.Column, m.Line);
    };
    // Find, then Find Next from the end of each match.
    EXPECT_EQ(forward(0, 0, 3), std::pair(0, 0));
    EXPECT_EQ(forward(1, 0, 3), std::pair(1, 0));
    EXPECT_EQ(forward(3, 0, 3), std::pair(1, 2));
    EXPECT_EQ(forward(2, 2, 3), std::pair(0, 3));
    EXPECT_EQ(forward(1, 3, 3), std::pair(-1, -1));
    EXPECT_EQ(forward(3, 0, 1), std::pair(-1, -1));
    // Backward from the last character of the last line, then from before each match.
    EXPECT_EQ(backward(0, 3, 0), std::pair(0, 3));
    EXPECT_EQ(backward(-1, 3, 0), std::pair(1, 2));
    EXPECT_EQ(backward(0, 2, 0), std::pair(2, 0));
    EXPECT_EQ(backward(-1, 0, 0), std::pair(-1, -1));
    EXPECT_EQ(backward(-1, 3, 3), std::pair(-1, -1));
    // A start beyond the list scans the lines there are.
    EXPECT_EQ(backward(0, 40, 0), std::pair(0, 3));
    EXPECT_FALSE(TTextSearch("", true, false).Search(lines, 0, 0, 3, TSearchDirection::Forward).Found());
}

// A scan of the mapped bytes numbers its lines as the index does: from any
// start line, while the index is still held after its first part, it finds
// exactly the matches a search of the finished list finds, in order, also
// on lines the index has not reached. Texts mix every line end, NUL bytes
// and a last line with and without its end.
TEST(TextSearchTest, AScanOfTheMappedBytesFindsTheIndexedListsMatchesAheadOfTheIndex) {
    test::TTempFolder temp;
    std::mt19937 random(22);
    const std::string pieces[] = {"ab", "a", "b", "x", "\n", "\r", "\r\n", std::string("\0a", 2)};
    std::uniform_int_distribution<size_t> piece(0, std::size(pieces) - 1);
    const TTextSearch search("ab", false, false);
    for (int round = 0; round < 8; ++round) {
        std::string bytes;
        while (bytes.size() < (200 << 10))
            bytes += pieces[piece(random)];
        if (round % 2)
            bytes += "ab\n";
        const std::string path = temp.Write("scan.txt", bytes);
        TOVStringList whole;
        ASSERT_TRUE(whole.LoadViewedFile(path, TFileEncoding::Cp949));
        auto gate = std::make_shared<TWorkerGate>();
        gate->Hold();
        TLoadPolicy policy;
        policy.FirstPartBytes = 16 << 10;
        policy.Gate = gate;
        TOVStringList held;
        held.SetLoadPolicy(policy);
        ASSERT_TRUE(held.LoadViewedFile(path, TFileEncoding::Cp949));
        ASSERT_TRUE(held.Loading());
        const int start = std::uniform_int_distribution<int>(0, held.Count() - 1)(random);
        std::vector<std::pair<int, int>> expected;
        for (TSearchMatch m = whole.Count() ? search.Search(whole, 0, start, whole.Count() - 1,
                                                            TSearchDirection::Forward)
                                            : TSearchMatch();
             m.Found(); m = search.Search(whole, m.Column + 1, m.Line, whole.Count() - 1,
                                          TSearchDirection::Forward))
            expected.emplace_back(m.Line, m.Column);
        std::vector<std::pair<int, int>> found;
        const TOVStringList::TMappedTail tail = held.MappedTail(start);
        TPlainMatcher("ab", false, false, CharCodingOf(TTextCoding::Cp949))
            .ScanForward(tail.Text, start, 0, [&](const TDocumentHit& hit) {
                found.emplace_back(hit.Line, hit.Column);
                return true;
            });
        EXPECT_EQ(found, expected) << round;
        ASSERT_FALSE(expected.empty());
        EXPECT_GE(expected.back().first, held.Count()) << round; // beyond the index
        gate->Release();
    }
}

} // namespace
} // namespace ov
