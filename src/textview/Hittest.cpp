#include "Hittest.h"

#include "Charwidths.h"
#include "Codeconv.h"

namespace ov {

namespace {

int BitmapColumn(std::string_view row, int offset, int tabWidth) {
    const int cell = offset / 8;
    int counter = -1;
    for (int p = 0; p < int(row.size()); ++p) {
        counter += row[std::size_t(p)] == '\t' ? tabWidth : 1;
        if (counter >= cell)
            return p;
    }
    return cell;
}

int OutlineColumn(std::string_view row, int offset, const TCharWidths& widths) {
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

int HitColumn(std::string_view row, int offset, TFontKind font, int tabWidth,
              const TCharWidths& widths) {
    int column = font == TFontKind::Bitmap ? BitmapColumn(row, offset, tabWidth)
                                           : OutlineColumn(row, offset, widths);
    if (IsTrailByte(row, column))
        --column;
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
