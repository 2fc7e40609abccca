#include "Textrange.h"

namespace ov {

bool IsValidLocation(const TOVStringList& lines, int line, int column) {
    if (line < 0 || line >= lines.Count())
        return false;
    return column == 0 || (column > 0 && column < lines.GetLength(line));
}

bool TTextRange::IsValidIn(const TOVStringList& lines) const {
    return IsValidLocation(lines, FStart) && IsValidLocation(lines, FEnd);
}

std::string RangeText(const TOVStringList& lines, const TTextRange& range, int lastCharBytes,
                      std::string_view lineBreak) {
    std::size_t size = 0;
    ForEachRangePiece(lines, range, lastCharBytes, [&](std::string_view piece, bool breakBefore) {
        size += piece.size() + (breakBefore ? lineBreak.size() : 0);
    });
    std::string text;
    text.reserve(size);
    ForEachRangePiece(lines, range, lastCharBytes, [&](std::string_view piece, bool breakBefore) {
        if (breakBefore)
            text.append(lineBreak);
        text.append(piece);
    });
    return text;
}

} // namespace ov
