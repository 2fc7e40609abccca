#pragma once
// What Find needs of a pattern, whatever kind it is: the run of a line that
// matches first at or after a column, or last at or before one, and the walk
// over the lines of a document that uses them. The plain text search and the
// regular expression are both line matchers; a match never crosses a line
// break and always begins and ends on a character boundary of the lines'
// coding.
//
// A matcher keeps scratch space for its matching: one thread at a time uses
// one matcher.

#include "Backgroundjob.h"
#include "Ovstrings.h"
#include "Textsearch.h"

#include <climits>
#include <functional>
#include <string_view>
#include <vector>

namespace ov {

// A match inside one line: its first byte and its length in bytes (never 0).
struct TLineHit {
    int Column = -1;
    int Length = 0;
    bool Found() const { return Column >= 0; }
};

// A match in a document: its line, its first byte and its length.
struct TDocumentHit {
    int Line = -1;
    int Column = -1;
    int Length = 0;
    bool Found() const { return Line >= 0; }
};

// Takes each match a scan finds, in the order of the scan; returns whether
// the scan goes on.
using THitSink = std::function<bool(const TDocumentHit& hit)>;

class TLineMatcher {
public:
    virtual ~TLineMatcher() = default;

    // The match that begins lowest at a column >= from, or none. from may
    // lie anywhere, negative or past the end.
    virtual TLineHit FindForward(std::string_view line, int from) const = 0;
    // The match that begins highest at a column <= from, or none; from may
    // lie anywhere.
    virtual TLineHit FindBackward(std::string_view line, int from) const = 0;

    // The first match met walking from (column, line) towards endLine: the
    // start line from column on (forward) or down from column (backward),
    // every other line whole. Lines outside the list are skipped; NUL bytes
    // read as blanks. control, when given, is asked every few thousand
    // lines and told how far the walk has come; a cancelled walk finds
    // nothing.
    TDocumentHit Search(const TOVStringList& lines, int column, int line, int endLine,
                        TSearchDirection direction, TJobControl* control = nullptr) const;

    // Every match forward from (column, line) up to endLine in text, the
    // bytes of a file from the first byte of that line to the end of the
    // text, split into lines as a mapped file's index splits them (CR LF,
    // LF, CR; a line end at the very end adds no line) and numbered from
    // line on: a match is found and placed before the index has reached its
    // line. NUL bytes read as blanks. control, when given, is asked between
    // lines about every few hundred kilobytes and told how far the scan has
    // come; a cancelled scan returns without a word. A line too long for a
    // line list ends the scan, as it ends the index.
    void ScanForward(std::string_view text, int line, int column, const THitSink& found,
                     TJobControl* control = nullptr, int endLine = INT_MAX) const;
};

// The plain search as a line matcher. In UTF-8 text Hangul matches whether
// written as syllables or as conjoining jamo: the pattern's other forms
// (HangulForm) are looked for too, and the nearest match of any form wins,
// with its own length.
class TPlainMatcher : public TLineMatcher {
public:
    TPlainMatcher(std::string_view pattern, bool caseSensitive, bool wholeWords,
                  const TCharCoding& coding);
    TLineHit FindForward(std::string_view line, int from) const override;
    TLineHit FindBackward(std::string_view line, int from) const override;

private:
    std::vector<TTextSearch> FForms; // the pattern as given first
};

} // namespace ov
