#include "Selection.h"

namespace ov {

void OrderSelection(TTextPoint a, TTextPoint b, TTextPoint& first, TTextPoint& last) {
    if (a.Y < b.Y || (a.Y == b.Y && a.X <= b.X)) {
        first = a;
        last = b;
    } else {
        first = b;
        last = a;
    }
}

bool IsInSelection(TTextPoint a, TTextPoint b, int line, int column) {
    TTextPoint s, e;
    OrderSelection(a, b, s, e);
    if (s.Y != e.Y)
        return (line == s.Y && column >= s.X) || (line == e.Y && column <= e.X) ||
               (s.Y < line && line < e.Y);
    return line == s.Y && s.X <= column && column <= e.X;
}

} // namespace ov
