#pragma once
// Word wrap of the text view: each line of the document becomes one or more
// display rows that fit the text area. A row breaks before the character
// that does not fit (not at word boundaries) and never inside a double-byte
// character; every line, an empty one too, has at least one row.

#include "Viewerlayout.h"

#include <string_view>
#include <vector>

namespace ov {

class TCharWidths;
class TOVStringList;

// One display row: Length bytes of line Line from column Start.
struct TWrapedLine {
    int Start = 0;
    int Line = 0;
    int Length = 0;
    friend bool operator==(const TWrapedLine&, const TWrapedLine&) = default;
};

class TWrapedLines {
public:
    // Rebuilds the rows of every line of lines for a text area areaWidth
    // pixels wide. In an area narrower than a character every character gets
    // a row of its own (a line's first row is then empty); an area of 0 or
    // less keeps every line in one row.
    void Make(const TOVStringList& lines, const TCharWidths& widths, int areaWidth);
    void Clear();

    int Count() const { return int(FRows.size()); }
    bool Empty() const { return FRows.empty(); }
    // row must lie in 0 .. Count - 1.
    const TWrapedLine& operator[](int row) const { return FRows[std::size_t(row)]; }
    const std::vector<TWrapedLine>& Rows() const { return FRows; }

    // Row coordinates to line coordinates: (x + Start, Line) of the row when
    // the row exists and x is 0 or inside the row; else (-1, -1).
    TTextPoint WrapedToOrigin(TTextPoint rowPoint) const;
    // Line coordinates to row coordinates. A column on a row boundary maps to
    // the end of the earlier row, column 0 to the line's first row, the column
    // just past the line's end to the end of its last row; anything else
    // outside the line gives (-1, -1).
    TTextPoint OriginToWraped(TTextPoint linePoint) const;
    // The first row of line, or -1 when the line has no rows.
    int FirstRowOf(int line) const;

    // Splits one line's text into rows appended to rows.
    static void WrapLine(std::string_view text, int line, const TCharWidths& widths, int areaWidth,
                         std::vector<TWrapedLine>& rows);

private:
    std::vector<TWrapedLine> FRows;
};

} // namespace ov
