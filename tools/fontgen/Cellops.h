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

} // namespace ov::fontgen
