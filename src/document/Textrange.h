#pragma once
// Positions and ranges in a document. A position is a byte column and a line
// (a double-byte character is addressed by its first byte); a range is the
// stretch of text between two positions, both included. The selection of the
// text view, what is copied, a search match and a bookmark all travel as one
// of these, so every consumer orders and tests ends the same way.

#include "Ovstrings.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace ov {

// A text position: column (byte index) and line (index in the document) in
// line coordinates, or column within a display row and display row in the
// text view's row coordinates. (-1, -1) is no position.
struct TTextPoint {
    int X = -1;
    int Y = -1;
    friend bool operator==(const TTextPoint&, const TTextPoint&) = default;
};

constexpr TTextPoint NoTextPoint{-1, -1};

// Document order: by line, then by column.
constexpr bool IsBefore(TTextPoint a, TTextPoint b) {
    return a.Y < b.Y || (a.Y == b.Y && a.X < b.X);
}

// 0 <= line < lines.Count(), and column 0 or inside the line (column 0 is a
// valid place on an empty line too).
bool IsValidLocation(const TOVStringList& lines, int line, int column);
inline bool IsValidLocation(const TOVStringList& lines, TTextPoint point) {
    return IsValidLocation(lines, point.Y, point.X);
}

// Two inclusive ends, kept in the order they were given (Start is where a
// selection was anchored, End where it was extended to); First and Last give
// them in document order. The default value is no range, both ends (-1, -1).
class TTextRange {
public:
    constexpr TTextRange() = default;
    constexpr TTextRange(TTextPoint start, TTextPoint end) : FStart(start), FEnd(end) {}
    // The bytes column .. column + length - 1 of one line (a search match);
    // length 0 or less gives no range.
    static constexpr TTextRange OfBytes(int line, int column, int length) {
        if (length <= 0)
            return {};
        return {{column, line}, {column + length - 1, line}};
    }

    constexpr TTextPoint Start() const { return FStart; }
    constexpr TTextPoint End() const { return FEnd; }
    constexpr TTextPoint First() const { return IsBefore(FEnd, FStart) ? FEnd : FStart; }
    constexpr TTextPoint Last() const { return IsBefore(FEnd, FStart) ? FStart : FEnd; }

    // No range: a coordinate of either end is negative.
    constexpr bool IsEmpty() const { return FStart.X < 0 || FStart.Y < 0 || FEnd.X < 0 || FEnd.Y < 0; }
    // Both ends are valid locations of lines (IsValidLocation); never true
    // for an empty range.
    bool IsValidIn(const TOVStringList& lines) const;

    // (line, column) lies between First and Last, both included: on a middle
    // line every column, on the first line the columns from First on, on the
    // last line the columns up to Last. An empty range contains nothing.
    constexpr bool Contains(int line, int column) const {
        if (IsEmpty())
            return false;
        const TTextPoint s = First();
        const TTextPoint e = Last();
        if (line < s.Y || line > e.Y)
            return false;
        if (line == s.Y && column < s.X)
            return false;
        return line != e.Y || column <= e.X;
    }
    constexpr bool Contains(TTextPoint point) const { return Contains(point.Y, point.X); }
    // The range touches line (some column of it is contained).
    constexpr bool ContainsLine(int line) const {
        return !IsEmpty() && First().Y <= line && line <= Last().Y;
    }

    friend constexpr bool operator==(const TTextRange&, const TTextRange&) = default;

private:
    TTextPoint FStart;
    TTextPoint FEnd;
};

// The pieces of range's text in lines, in order: the part of each line from
// First through the character that starts at Last (lastCharBytes bytes of
// it, cut at the line's end). visit(piece, breakBefore) gets every piece;
// breakBefore is true for every line after the first. Nothing is visited for
// an empty range or one whose ends are not valid locations.
template <typename TVisit>
void ForEachRangePiece(const TOVStringList& lines, const TTextRange& range, int lastCharBytes,
                       TVisit visit);

// The pieces of ForEachRangePiece joined by lineBreak, no break after the
// last line.
std::string RangeText(const TOVStringList& lines, const TTextRange& range, int lastCharBytes,
                      std::string_view lineBreak);

// --- template ---------------------------------------------------------------

template <typename TVisit>
void ForEachRangePiece(const TOVStringList& lines, const TTextRange& range, int lastCharBytes,
                       TVisit visit) {
    if (!range.IsValidIn(lines))
        return;
    const TTextPoint s = range.First();
    const TTextPoint e = range.Last();
    std::string shown;
    auto head = [&](int line, std::size_t from, std::size_t to, bool breakBefore) {
        const std::string_view text = lines.ShownView(line, shown);
        to = to < text.size() ? to : text.size();
        visit(from < to ? text.substr(from, to - from) : std::string_view(), breakBefore);
    };
    const std::size_t lastEnd = std::size_t(e.X) + std::size_t(lastCharBytes > 0 ? lastCharBytes : 1);
    if (s.Y == e.Y) {
        head(s.Y, std::size_t(s.X), lastEnd, false);
        return;
    }
    head(s.Y, std::size_t(s.X), std::string_view::npos, false);
    for (int line = s.Y + 1; line < e.Y; ++line)
        visit(lines.ShownView(line, shown), true);
    head(e.Y, 0, lastEnd, true);
}

} // namespace ov
