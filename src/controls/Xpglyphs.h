#pragma once
// The glyph bitmaps of the check box, the radio button and the combo box's
// drop-down button, loaded once from the program's resources. Each bitmap
// holds two images side by side.

#include <QImage>

namespace ov {

enum class TGlyphHalf { Left, Right };

// 26 x 13: checked box (left), empty box (right); drawn opaque.
const QImage& CheckGlyphs();
// 26 x 13: selected radio (left), empty radio (right); magenta is transparent.
const QImage& RadioGlyphs();
// 30 x 17: drop-down button normal (left), pressed (right).
const QImage& ComboGlyphs();

// One half of a two-image bitmap.
QImage GlyphHalfImage(const QImage& glyphs, TGlyphHalf half);

// The colour that stands for "no pixel" in the radio glyphs.
constexpr QRgb kGlyphTransparent = 0xFFFF00FF;

// One half as an image with alpha, its magenta pixels fully transparent.
QImage TransparentGlyphImage(const QImage& glyphs, TGlyphHalf half);

} // namespace ov
