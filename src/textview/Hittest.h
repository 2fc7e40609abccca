#pragma once
// Hit testing of the text view: which byte of a display row lies under a
// pixel offset, and the special values that tell where a point lies outside
// the text.

#include "Viewerlayout.h"

#include <climits>
#include <string_view>

namespace ov {

class TCharWidths;

// Special values of a row-coordinate hit (before any conversion to lines).
constexpr int HitLeftOfText = -2;      // column: the gutter or left of column 0
constexpr int HitPastRowEnd = INT_MAX; // column: right of the row's last byte
constexpr TTextPoint HitAboveRows{0, -2};
constexpr TTextPoint HitBelowRows{0, INT_MAX};

enum class TFontKind { Bitmap, Outline };

// The byte of row under offset pixels from the start of the text (0 or more).
// Bitmap fonts count cells: every byte one, a tab tabWidth; the first byte
// whose running count (from -1) reaches offset / 8 is hit, else offset / 8.
// An outline font sums character widths: the first character whose right
// edge passes offset is hit (a double-byte character by its first byte),
// else the row's length + 1. The characters are those of the widths' coding;
// in a coding other than CP949 bitmap cells are counted per character (its
// cells, a tab tabWidth), and a point past the row's end gives the row's
// length plus the missing cells.
int HitColumn(std::string_view row, long long offset, TFontKind font, int tabWidth,
              const TCharWidths& widths);

// Row coordinates of a hit at column of row (column -1: no column, the point
// lies left of the text): a column at or past the row's length becomes
// HitPastRowEnd, a negative one HitLeftOfText; rows above and below the text
// give HitAboveRows and HitBelowRows.
TTextPoint ClassifyHit(int column, int row, int rowLength, int rowCount);

} // namespace ov
