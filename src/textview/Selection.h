#pragma once
// Selection arithmetic in line coordinates: the ends are inclusive and may be
// given in either order; (-1, -1) in both ends is no selection.

#include "Viewerlayout.h"

namespace ov {

// The two ends ordered by (line, column).
void OrderSelection(TTextPoint a, TTextPoint b, TTextPoint& first, TTextPoint& last);

// True when (line, column) lies between the ordered ends, both included. On a
// middle line every column is inside; on the first line columns from the
// first end on, on the last line columns up to the last end.
bool IsInSelection(TTextPoint a, TTextPoint b, int line, int column);

// Every coordinate of both ends is 0 or more.
inline bool HasSelection(TTextPoint a, TTextPoint b) {
    return a.X >= 0 && a.Y >= 0 && b.X >= 0 && b.Y >= 0;
}

} // namespace ov
