#pragma once
// The arithmetic of the hex view, free of any window: which rows a file has,
// where a row and its columns lie on screen, how far the view may scroll and
// how 64-bit row numbers map onto an int-based scroll bar. The widget measures
// its font once and hands the widths in; everything here is plain integers.

#include <cstdint>
#include <string>
#include <string_view>

namespace ov {

inline constexpr int HexBytesPerRow = 16;
inline constexpr int MinAddressDigits = 8;

// Rows of a file: one per started 16 bytes. A negative size counts as empty.
int64_t HexRowCount(int64_t fileSize);

// Hex digits of the address column: eight while every row offset fits in
// eight digits, more only for files that need them.
int HexAddressDigits(int64_t fileSize);

// The row's byte offset as exactly digits upper-case hex digits and "h:".
std::string HexAddressText(int64_t offset, int digits);

// Two upper-case hex digits.
std::string HexByteText(unsigned char byte);

// The character column of one row: bytes 0 to 32 become '.', every other
// byte is kept, so the result is code-page text of the same length. A row
// that begins inside a character (its first byte is the second byte of a
// character that began on the row before) shows that byte as '.' too,
// rather than pair it with the byte after it.
std::string HexCharColumnBytes(std::string_view rowBytes, bool beginsInsideChar = false);

// Whether the row after rowBytes (a whole row of 16) begins inside a
// character, given whether rowBytes itself does: the row's characters are
// walked from its first one, a byte of 0x80 or more taking the next byte
// along.
bool HexNextRowBeginsInsideChar(std::string_view rowBytes, bool beginsInsideChar);

// A position begins inside a character when the bytes just before it end in
// a run of odd length of bytes that could start a character of two (0x80 or
// more): a byte below 0x80 always ends a character, so the characters after
// it pair up from there. leadRun counts the bytes before the position,
// nearest first, back to a byte below 0x80 or the start of the file.
inline bool HexBeginsInsideChar(int64_t leadRun) {
    return leadRun % 2 != 0;
}
// The number of bytes of 0x80 or more at the end of bytes.
int64_t HexTrailingLeadRun(std::string_view bytes);

// The top row a request ends at: below 0 becomes 0, above rowCount -
// pageRows becomes rowCount - pageRows, and a file that fits on one page
// always shows row 0.
int64_t ClampHexTopIndex(int64_t row, int64_t rowCount, int pageRows);

// Widths measured with the view's font, and the fixed margins.
struct THexMetrics {
    int LineHeight = 12;
    int LineSpacing = 2;
    int TextTop = 4;
    int TextLeft = 4;
    int CharWidth = 1;    // width of "A"
    int CellWidth = 1;    // width of "AA "
    int AddressWidth = 1; // width of the address text with its blank, e.g. "00000000h: "
};

// Where rows and columns lie in the client area.
class TOVHexLayout {
public:
    explicit TOVHexLayout(const THexMetrics& metrics = {}) : FMetrics(metrics) {}

    const THexMetrics& Metrics() const { return FMetrics; }
    void SetMetrics(const THexMetrics& metrics) { FMetrics = metrics; }

    // Distance from one row's top to the next.
    int RowPitch() const { return FMetrics.LineHeight + FMetrics.LineSpacing; }
    // Whole rows that fit in clientHeight; 0 for a client too small for one.
    int PageRows(int clientHeight) const;
    int RowY(int screenRow) const { return FMetrics.TextTop + screenRow * RowPitch(); }
    int RowOriginX(int horzOffset) const { return FMetrics.TextLeft - horzOffset; }
    // Left edge of hex cell 0 .. 15, relative to the row origin.
    int HexCellX(int position) const {
        return FMetrics.AddressWidth + position * FMetrics.CellWidth;
    }
    // The character column follows one empty cell after the sixteen hex cells.
    int CharColumnX() const { return FMetrics.AddressWidth + 17 * FMetrics.CellWidth; }
    // Width of a full row as the horizontal scroll bar counts it.
    int RowWidth() const {
        return FMetrics.AddressWidth + 16 * FMetrics.CellWidth + 20 * FMetrics.CharWidth;
    }

    // The horizontal bar in units of the width of "A". It is needed only
    // while clientWidth is less than a row; Max and Page then follow the
    // system bar's convention (the thumb reaches Max - Page + 1).
    struct THorzRange {
        bool Active = false;
        int Max = 0;
        int Page = 0;
        int LastPosition() const { return Max - Page + 1 < 0 ? 0 : Max - Page + 1; }
    };
    THorzRange HorzRange(int clientWidth) const;
    int HorzPageStep(int clientWidth) const;

private:
    THexMetrics FMetrics;
};

// Maps row numbers onto the positions of a scroll bar whose range is an int.
// While the last row position fits under Limit, a position is a row. Beyond
// that the bar runs from 0 to Limit and positions are spread evenly over the
// rows: PositionOfRow rounds down and RowOfPosition rounds up, so that a
// thumb dropped at a position stays there, position 0 is row 0 and Limit is
// the last row position. Row steps (keys, arrows, wheel) are made in rows,
// so every row stays reachable.
class TOVScrollScale {
public:
    static constexpr int DefaultLimit = 1 << 30;

    explicit TOVScrollScale(int limit = DefaultLimit) : FLimit(limit < 1 ? 1 : limit) {}

    // lastRow is the largest row position the bar must reach (0 or more).
    void SetLastRow(int64_t lastRow) { FLastRow = lastRow < 0 ? 0 : lastRow; }
    int64_t LastRow() const { return FLastRow; }
    bool Scaled() const { return FLastRow > FLimit; }
    int MaxPosition() const { return Scaled() ? FLimit : static_cast<int>(FLastRow); }

    // Rows outside 0 .. LastRow and positions outside 0 .. MaxPosition are
    // clamped first.
    int PositionOfRow(int64_t row) const;
    int64_t RowOfPosition(int position) const;
    // A page of rows as a step of the bar; at least 1.
    int PageStep(int pageRows) const;

private:
    int FLimit;
    int64_t FLastRow = 0;
};

} // namespace ov
