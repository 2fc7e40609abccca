#pragma once
// Whole-glyph operations on 16 x 16 cells taken as 256-bit values.

#include "Unifonthex.h"

#include <bit>

namespace ov::fontgen {

inline TCell Full() {
    TCell cell;
    cell.fill(0xFFFF);
    return cell;
}

inline TCell And(const TCell& a, const TCell& b) {
    TCell r;
    for (int i = 0; i < 16; ++i)
        r[i] = a[i] & b[i];
    return r;
}

inline TCell Or(const TCell& a, const TCell& b) {
    TCell r;
    for (int i = 0; i < 16; ++i)
        r[i] = a[i] | b[i];
    return r;
}

inline TCell Minus(const TCell& a, const TCell& b) {
    TCell r;
    for (int i = 0; i < 16; ++i)
        r[i] = static_cast<uint16_t>(a[i] & ~b[i]);
    return r;
}

inline int Pixels(const TCell& a) {
    int n = 0;
    for (uint16_t row : a)
        n += std::popcount(row);
    return n;
}

// Fully inked 2 x 2 squares. Unifont's Hangul strokes are one pixel wide, so a
// composed syllable with more of them than the original has a stroke drawn
// twice, one pixel apart.
inline int SolidSquares(const TCell& a) {
    int n = 0;
    for (int r = 0; r + 1 < 16; ++r) {
        const unsigned both = a[r] & a[r + 1];
        n += std::popcount(static_cast<uint16_t>(both & both << 1));
    }
    return n;
}

inline bool IsThickened(const TCell& composed, const TCell& original) {
    return SolidSquares(composed) > SolidSquares(original);
}

} // namespace ov::fontgen
