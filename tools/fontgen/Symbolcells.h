#pragma once
// 16 x 16 cells for the symbol, Hanja and KSG font files, made from Unifont
// glyphs. A 16-pixel glyph is used as it is. An 8-pixel glyph is centred,
// except that box-drawing glyphs (U+2500-U+257F) extend their outer columns
// to the cell edges so that lines join the next cell, and the shades
// (U+2591-U+2593) repeat their pattern across the cell.

#include "Unifonthex.h"

namespace ov::fontgen {

// The cell of a code point; blank when Unifont has no glyph for it.
TCell UnicodeCell(const TUnifont& font, char32_t codePoint);

// The cell of a KS X 1001 code, decoded from CP949. Blank for unassigned
// codes and the Hangul filler. KS 0xA1A9 (the soft hyphen, which Unifont shows
// as a dashed box) is drawn as a hyphen.
TCell KsCell(const TUnifont& font, int lead, int trail);

// An 8-pixel glyph with every pixel doubled in width (block elements); the
// shades repeat their pattern instead, as in UnicodeCell.
TCell StretchedCell(const TUnifont& font, char32_t codePoint);

} // namespace ov::fontgen
