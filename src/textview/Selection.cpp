#include "Selection.h"

#include "Hittest.h"

#include <algorithm>

namespace ov {

namespace {

// The earlier end of a drag at hit: a place before the text is the first
// row's start, the gutter the row's start, past a row's end the next row's
// start (which may lie past the rows).
TTextPoint EarlierEnd(TTextPoint hit) {
    if (hit.Y == HitAboveRows.Y)
        return {0, 0};
    if (hit.X == HitLeftOfText)
        return {0, hit.Y};
    if (hit.X == HitPastRowEnd)
        return {0, hit.Y + 1};
    return hit;
}

// The later end of a drag at hit: the byte before the character there. Below
// the text is the last row's last byte, the gutter the previous row's last
// byte (row -1 in the first row), past a row's end the row's last byte.
TTextPoint LaterEnd(TTextPoint hit, int rowCount, const std::function<int(int row)>& rowLength) {
    TTextPoint end;
    if (hit.Y == HitBelowRows.Y)
        end = {rowLength(rowCount - 1) - 1, rowCount - 1};
    else if (hit.X == HitLeftOfText)
        end = {hit.Y > 0 ? rowLength(hit.Y - 1) - 1 : 0, hit.Y - 1};
    else if (hit.X == HitPastRowEnd)
        end = {rowLength(hit.Y) - 1, hit.Y};
    else
        end = {hit.X - 1, hit.Y};
    end.X = std::max(end.X, 0);
    return end;
}

} // namespace

TTextRange DragSelection(TTextPoint anchor, TTextPoint pointer, int rowCount,
                         const std::function<int(int row)>& rowLength) {
    if (anchor == pointer || rowCount <= 0 || anchor == NoTextPoint || pointer == NoTextPoint)
        return {};
    const bool backward = IsBefore(pointer, anchor);
    const TTextPoint first = EarlierEnd(backward ? pointer : anchor);
    const TTextPoint last = LaterEnd(backward ? anchor : pointer, rowCount, rowLength);
    // A stretch that holds no character puts an end outside the rows (the
    // start of the row after the last, the end of the row before the first)
    // or its ends in reverse (from past one row's end to the next row's
    // gutter).
    if (first.Y < 0 || first.Y >= rowCount || last.Y < 0 || last.Y >= rowCount ||
        IsBefore(last, first))
        return {};
    return backward ? TTextRange(last, first) : TTextRange(first, last);
}

TRowSelection RowSelection(const TTextRange& selection, const TRowSpan& row) {
    TRowSelection result;
    if (!selection.ContainsLine(row.Line))
        return result;
    const TTextPoint s = selection.First();
    const TTextPoint e = selection.Last();
    const int end = std::max(row.Length, 1) - 1;
    result.First = row.Line == s.Y ? std::max(s.X - row.Start, 0) : 0;
    result.Last = row.Line == e.Y ? std::min(e.X - row.Start, end) : end;
    if (result.First > result.Last)
        return {};
    result.Spanning = s.Y != e.Y;
    return result;
}

} // namespace ov
