#pragma once
// Plain-text search over the lines of a document, as Find and Find Next use
// it: a pattern compared with or without regard to the case of ASCII
// letters, optionally only as a whole word, forward or backward from a
// point, never across a line break and never wrapping round.
//
// A match always begins and ends on a character boundary of the text's
// coding: the second byte of a CP949 character (which may read as an ASCII
// letter) never starts one. Bytes of multi-byte characters compare exactly;
// only ASCII letters that stand as characters of their own fold.
//
// The scan skips through each line by a table of the pattern's bytes, so a
// text that does not occur costs about one look per pattern length.

#include "Charcoding.h"
#include "Ovstrings.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// The 29 bytes that separate words for the whole-word test. Letters, digits,
// '_', '#', '$', '\\', '`' and every byte of 0x80 or more are not among them.
bool IsWordDelimiter(unsigned char byte);
// Whether line[start, end) may be taken as a match: it begins and ends on
// characters, and with wholeWords it has a delimiter (or the line's edge) on
// each side.
bool AcceptsMatch(const TCharCoding& coding, bool wholeWords, std::string_view line,
                  std::size_t start, std::size_t end, TCharStartMemo& memo);

enum class TSearchDirection { Forward, Backward };

struct TSearchMatch {
    int Column = -1;
    int Line = -1;
    bool Found() const { return Line >= 0; }
};

class TTextSearch {
public:
    // pattern is in coding, the coding of the lines searched; the coding is
    // borrowed and outlives the search. An empty pattern matches nowhere.
    TTextSearch(std::string_view pattern, bool caseSensitive, bool wholeWords,
                const TCharCoding& coding = CharCodingOf(TTextCoding::Cp949));

    int Length() const { return static_cast<int>(FPattern.size()); }
    // Where the pattern's last character begins: a match at q ends with the
    // character at q + LastCharOffset().
    int LastCharOffset() const { return FLastCharOffset; }

    // The lowest column q >= from where a match begins in line, or -1. from
    // may lie anywhere, negative or past the end.
    int FindForward(std::string_view line, int from) const;
    // The highest column q <= from where a match begins in line, or -1; a
    // from beyond the last possible start is taken as that start.
    int FindBackward(std::string_view line, int from) const;

    // The first match met walking from (column, line) towards endLine,
    // the start line scanned from column on (forward) or down from column
    // (backward), every other line whole. Lines outside the list are
    // skipped. The lines are taken in the search's coding.
    TSearchMatch Search(const TOVStringList& lines, int column, int line, int endLine,
                        TSearchDirection direction) const;

private:
    // A byte of the line may stand at pattern position k.
    bool MatchesAt(size_t k, unsigned char byte) const {
        return FTables[k][byte] == static_cast<uint8_t>(FPattern[k]);
    }
    bool MatchesWhole(const unsigned char* at) const;
    // Character start and whole-word tests of a match found at q; memo
    // carries what the scan of this line has learnt of its characters.
    bool Accept(std::string_view line, int q, TCharStartMemo& memo) const;

    const TCharCoding& FCoding;
    std::string FPattern; // folded where folding applies
    // Per pattern position: the identity table (exact bytes) or the fold table.
    std::vector<const uint8_t*> FTables;
    // Forward shift by the byte under the window's last position, and
    // backward shift by the byte under its first.
    std::array<int, 256> FForwardShift{};
    std::array<int, 256> FBackwardShift{};
    int FLastCharOffset = 0;
    bool FWholeWords = false;
    bool FPlainByte = false; // one exact byte: a memchr-class scan
};

} // namespace ov
