#pragma once
// Where painting stops drawing (the right edge of the window), the rest of a
// row still matters for the style stack that the next rows start with. For
// long lines this index keeps, per chunk of about ChunkBytes, what the
// chunk's marks do to the painting stack, so that the rest of a row costs a
// number of chunk summaries instead of a walk over every byte.
//
// Stack rules of painting: a positive mark on a character's first byte
// pushes; a negative mark on a character's last byte pops when it names the
// style on top; a CP949 lead byte at the end of its line has no last byte.
// Characters are those of the document's coding.
//
// The index borrows nothing; it is valid for the text and style bytes it was
// made from and must be invalidated when either changes.

#include "Ovstrings.h"

#include <string_view>

#include <unordered_map>
#include <vector>

namespace ov {

// The stack effect of a run of characters, independent of the stack it
// meets: first the pops that reach below the run's own pushes, each taken
// only when it names the style then on top, then the pushes that remain.
struct TMarkSummary {
    int Start = 0; // first byte (a character start)
    std::vector<TStyleByte> Pops;
    std::vector<TStyleByte> Pushes;
    int MaxOwnDepth = 0; // deepest the run's own pushes go
};

// The summary of a run followed by the run of next. Its MaxOwnDepth is a
// bound: never below the true depth, so a stack check with it stays safe.
TMarkSummary ComposeSummaries(const TMarkSummary& first, const TMarkSummary& next);

// A painting style stack: ids[0 .. top], capacity entries; a push onto a full
// stack is dropped.
struct TStyleStackRef {
    TStyleByte* Ids;
    int& Top;
    int Capacity;
};

// The start of the character that holds byte q of text, given a character
// start known <= q; CP949 unless a coding is given.
int CharStartOf(std::string_view text, int known, int q);
int CharStartOf(const TCharCoding& coding, std::string_view text, int known, int q);

// Applies the stack rules to the characters that start in from .. to - 1 of
// one line (from must be a character start).
void WalkMarks(std::string_view text, const TStyleByte* styles, int from, int to,
               TStyleStackRef stack,
               const TCharCoding& coding = CharCodingOf(TTextCoding::Cp949));

class TCharWidths;

class TLineMarkIndex {
public:
    static constexpr int ChunkBytes = 4096;
    // Chunks per group; a group's summary is the chunks' summaries composed.
    static constexpr int GroupChunks = 64;
    // Lines shorter than this are walked; an index would not pay.
    static constexpr int MinLineBytes = 32 * 1024;

    void Invalidate() { FLines.clear(); }

    // Applies the stack rules to the characters of line that start in
    // from .. to - 1 (from a character start), through the chunk summaries
    // where a whole chunk lies inside and cannot overflow the stack.
    void Apply(const TOVSynStringList& lines, int line, int from, int to, TStyleStackRef stack);

    // The start of the character that holds byte column of line, given a
    // character start known <= column. Long lines start the search at the
    // nearest chunk, so it never walks back over more than a chunk.
    int CharStartAt(const TOVSynStringList& lines, int line, int known, int column);

    // For a line drawn from x (left of the window, x < 0): skips the whole
    // chunks from the start of the line that end left of pixel 0 and at or
    // before column limit, applying their marks to stack. Returns the first
    // column not skipped (a character start) and moves x to its position.
    // The widths are those of the font the view draws with; the index must
    // be invalidated when they change.
    int SkipLeft(const TOVSynStringList& lines, int line, const TCharWidths& widths, int limit,
                 long long& x, TStyleStackRef stack);

private:
    struct TLineSummaries {
        std::vector<TMarkSummary> Chunks;
        std::vector<TMarkSummary> Groups;
        // Drawn pixel widths, filled on first use by SkipLeft.
        std::vector<long long> ChunkWidths;
        std::vector<long long> GroupWidths;
    };
    TLineSummaries& Summaries(const TOVSynStringList& lines, int line);
    static TLineSummaries Summarize(const TCharCoding& coding, std::string_view text,
                                    const TStyleByte* styles);

    std::unordered_map<int, TLineSummaries> FLines;
};

} // namespace ov
