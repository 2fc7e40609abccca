#include "Wrapedlines.h"

#include "Charwidths.h"
#include "Ovstrings.h"

#include <algorithm>

namespace ov {

void TWrapedLines::WrapLine(std::string_view text, int line, const TCharWidths& widths,
                            int areaWidth, std::vector<TWrapedLine>& rows) {
    rows.push_back({0, line, 0});
    const int length = int(text.size());
    // Without any text area nothing of the line is visible: it is not cut
    // into a row per character.
    if (areaWidth <= 0 || widths.WrapEstimate(text) <= areaWidth) {
        rows.back().Length = length;
        return;
    }
    long long accumulated = 0;
    int charLength = 1;
    for (int p = 0; p < length; p += charLength) {
        const int width = widths.CharAt(text, std::size_t(p), charLength);
        accumulated += width;
        if (accumulated > areaWidth) {
            rows.back().Length = p - rows.back().Start;
            rows.push_back({p, line, 0});
            accumulated = width;
        }
    }
    rows.back().Length = length - rows.back().Start;
}

void TWrapedLines::Make(const TOVStringList& lines, const TCharWidths& widths, int areaWidth) {
    FRows.clear();
    FRows.reserve(std::size_t(double(lines.Count()) * 1.03));
    for (int i = 0; i < lines.Count(); ++i)
        WrapLine(lines.GetView(i), i, widths, areaWidth, FRows);
}

void TWrapedLines::Clear() {
    FRows.clear();
    FRows.shrink_to_fit();
}

TTextPoint TWrapedLines::WrapedToOrigin(TTextPoint rowPoint) const {
    const int x = rowPoint.X;
    const int r = rowPoint.Y;
    if (r < 0 || r >= Count() || x < 0)
        return NoTextPoint;
    const TWrapedLine& row = FRows[std::size_t(r)];
    if (x != 0 && x >= row.Length)
        return NoTextPoint;
    return {x + row.Start, row.Line};
}

int TWrapedLines::FirstRowOf(int line) const {
    auto found = std::lower_bound(FRows.begin(), FRows.end(), line,
                                  [](const TWrapedLine& row, int l) { return row.Line < l; });
    if (found == FRows.end() || found->Line != line)
        return -1;
    return int(found - FRows.begin());
}

TTextPoint TWrapedLines::OriginToWraped(TTextPoint linePoint) const {
    const int x = linePoint.X;
    const int l = linePoint.Y;
    if (l < 0 || l >= Count())
        return NoTextPoint;
    const int first = FirstRowOf(l);
    if (first < 0)
        return NoTextPoint;
    if (x == 0)
        return {0, first};
    for (int r = first; r < Count() && FRows[std::size_t(r)].Line == l; ++r) {
        const TWrapedLine& row = FRows[std::size_t(r)];
        if (row.Start < x && x <= row.Start + row.Length)
            return {x - row.Start, r};
    }
    return NoTextPoint;
}

} // namespace ov
