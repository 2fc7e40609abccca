#pragma once
// Pixel-exact drawing primitives shared by the styled controls. They follow
// the conventions of the classic device-context calls the controls' looks are
// defined in: a line excludes its end point, a rectangle (left, top, right,
// bottom) excludes its right column and bottom row, and rounded rectangles
// are rasterised here rather than by QPainter, so that every control draws
// the same pixels on every platform and style.

#include <QColor>
#include <QImage>
#include <QRect>

class QPainter;

namespace ov {

// A colour value of the program: red in the low byte, then green, then blue.
inline QColor XPColorFromValue(unsigned value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
inline unsigned XPValueFromColor(const QColor& color) {
    return static_cast<unsigned>(color.red()) | static_cast<unsigned>(color.green()) << 8 |
           static_cast<unsigned>(color.blue()) << 16;
}

// Horizontal or vertical line from (x1, y1) up to but excluding (x2, y2).
// A diagonal line is drawn by QPainter without antialiasing.
void XPDrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color);

// The default frame colour of the edit, the combo box and the spin field:
// red 127, green 157, blue 185.
constexpr unsigned kXPDefaultBorder = 12164479;

// One-pixel frame just inside rect.
void XPFrameRect(QPainter& painter, const QRect& rect, const QColor& color);

// Horizontal extent of a rounded rectangle's row: the pixels from Left to
// Right inclusive belong to the figure. Empty when Left > Right.
struct TRoundRectSpan {
    int Left;
    int Right;
};

// The span of row y (absolute) of the rounded rectangle covering rect, with
// corner ellipses of cornerWidth x cornerHeight. Rows outside rect give an
// empty span.
TRoundRectSpan RoundRectRowSpan(const QRect& rect, int cornerWidth, int cornerHeight, int y);

// Fills a rounded rectangle with fill and outlines it (one pixel, inside the
// figure) with pen. An invalid fill colour leaves the inside untouched.
void XPDrawRoundRect(QPainter& painter, const QRect& rect, int cornerWidth, int cornerHeight,
                     const QColor& pen, const QColor& fill);

// The grey form of a glyph pixel used for disabled drop-down buttons: with
// max and min the largest and smallest channel, level = max - (max - min) / 2;
// the result is grey at level + 5, or white from level 250 up.
QRgb GreyedPixel(QRgb pixel);

// The image with every pixel but those of transparentColor greyed.
QImage GreyedImage(const QImage& image, QRgb transparentColor);

// The image with alpha, every pixel of transparentColor (alpha ignored) made
// fully transparent.
QImage ImageWithTransparentColor(const QImage& image, QRgb transparentColor);

// color lightened by amount on every channel, stopping at 255.
QColor XPLightened(const QColor& color, int amount);

} // namespace ov
