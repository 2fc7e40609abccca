#pragma once
// Drawing and measuring CP949 text in an outline font, one character at a
// time, the way the text view draws with a window font: every character is
// an opaque cell of its own advance width and the font's height, and the
// width of a text is the sum of its characters' widths (no kerning).
//
// Widths and prepared glyph runs are cached per character for the font last
// set. User-interface thread only.

#include <QFont>
#include <QFontMetrics>
#include <QRgb>
#include <QStaticText>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

class QPainter;

namespace ov {

class TQtTextDrawer {
public:
    TQtTextDrawer();

    void SetFont(const QFont& font);
    const QFont& Font() const { return FFont; }

    // Width of one character: a single byte (first < 0x80, second ignored) or
    // a double-byte character (second 0 for a lead byte without its trail).
    int CharWidth(uint8_t first, uint8_t second) const;
    // Sum of the character widths of text.
    int TextWidth(std::string_view text) const;
    // The font's text height (ascent plus descent).
    int Height() const { return FHeight; }

    // Draws one character with its cell's top-left corner at (x, y), the cell
    // filled with backColor first. The painter must paint on the target.
    // Returns the character's width.
    int DrawChar(QPainter& painter, int x, int y, uint8_t first, uint8_t second, QRgb textColor,
                 QRgb backColor);

    // The same for a character given by its Unicode value (text that is not
    // CP949): its advance in the font, found by the toolkit's font fallback
    // when the font lacks it.
    int UnicodeWidth(char32_t code) const;
    int DrawUnicode(QPainter& painter, int x, int y, char32_t code, QRgb textColor, QRgb backColor);
    // Draws code centred in the box of width x height pixels at (x, y), in a
    // size of this font that fits the box's height, squeezed to the box's
    // width when wider; the box is filled with backColor first. A box of
    // width 0 (a character that takes no cell, such as a combining mark)
    // draws over the height x height / 2 pixels before x, unfilled.
    void DrawUnicodeInBox(QPainter& painter, int x, int y, int width, int height, char32_t code,
                          QRgb textColor, QRgb backColor);

private:
    uint16_t Key(uint8_t first, uint8_t second) const {
        return first >= 0x80 ? uint16_t(first << 8 | second) : first;
    }
    char16_t Decode(uint16_t key) const;
    const QStaticText& Prepared(uint16_t key);

    QFont FFont;
    QFontMetrics FMetrics;
    int FHeight = 0;
    // -1 = not measured yet; indexed by Key().
    mutable std::vector<int16_t> FWidths;
    mutable std::vector<char16_t> FChars;
    std::unordered_map<uint16_t, QStaticText> FPrepared;
    mutable std::unordered_map<char32_t, int> FUnicodeWidths;
    QFont FBoxFont;
    int FBoxHeight = 0;
};

} // namespace ov
