#include "Hittest.h"

#include "Charwidths.h"

#include <algorithm>
#include <climits>

namespace ov {

namespace {

int BitmapColumn(std::string_view row, long long offset, int tabWidth) {
    const long long cell = offset / 8;
    long long counter = -1;
    for (int p = 0; p < int(row.size()); ++p) {
        counter += row[std::size_t(p)] == '\t' ? tabWidth : 1;
        if (counter >= cell)
            return p;
    }
    return int(std::min<long long>(cell, INT_MAX));
}

// Cells of another coding than CP949: each character covers its cells; a
// point right of the row counts one column per cell past its end.
int CodedBitmapColumn(std::string_view row, long long offset, int tabWidth,
                      const TCharCoding& coding) {
    const long long cell = offset / 8;
    long long counter = -1;
    for (std::size_t p = 0; p < row.size(); p = coding.NextChar(row, p)) {
        counter += row[p] == '\t' ? tabWidth : coding.CharCells(row, p);
        if (counter >= cell)
            return int(p);
    }
    return int(std::min<long long>(row.size() + (cell - counter - 1), INT_MAX));
}

int OutlineColumn(std::string_view row, long long offset, const TCharWidths& widths) {
    long long right = 0;
    int length = 1;
    for (int p = 0; p < int(row.size()); p += length) {
        right += widths.CharAt(row, std::size_t(p), length);
        if (right > offset)
            return p + length - 1;
    }
    return int(row.size()) + 1;
}

} // namespace

int HitColumn(std::string_view row, long long offset, TFontKind font, int tabWidth,
              const TCharWidths& widths) {
    const TCharCoding& coding = widths.Coding();
    int column = 0;
    if (font == TFontKind::Outline)
        column = OutlineColumn(row, offset, widths);
    else if (coding.Coding() == TTextCoding::Cp949)
        column = BitmapColumn(row, offset, tabWidth);
    else
        column = CodedBitmapColumn(row, offset, tabWidth, coding);
    if (column >= 0 && std::size_t(column) < row.size())
        column = int(coding.CharStart(row, 0, std::size_t(column)));
    return column;
}

TTextPoint ClassifyHit(int column, int row, int rowLength, int rowCount) {
    if (column >= rowLength)
        column = HitPastRowEnd;
    else if (column < 0)
        column = HitLeftOfText;
    if (row < 0)
        return HitAboveRows;
    if (row >= rowCount)
        return HitBelowRows;
    return {column, row};
}

} // namespace ov
