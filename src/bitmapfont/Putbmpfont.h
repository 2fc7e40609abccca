#pragma once
// The Korean bitmap fonts: glyph tables shared by the whole process, their
// loaders, composition of Hangul syllables from initial, vowel and final parts
// (the 8 x 4 x 4 scheme) and drawing of one character cell into a QImage.
//
// Every single byte is an 8 x 16 cell, every double-byte character a 16 x 16
// cell. Until a table has been loaded from a file its glyphs are solid blocks;
// a loaded table keeps its glyphs until the next successful load. The tables
// are used from the user-interface thread only.

#include <QImage>

#include <array>
#include <cstdint>
#include <string>

namespace ov {

// A 16 x 16 glyph as the font files store it: two bytes per row, first byte =
// left 8 pixels, most significant bit = leftmost pixel, bit set = ink. An
// 8 x 16 glyph uses the first byte of each row only.
using TBmpGlyph = std::array<uint8_t, 32>;

constexpr int BmpCellHeight = 16;
constexpr int BmpSingleWidth = 8;  // single byte
constexpr int BmpDoubleWidth = 16; // double-byte character

// Loads the files that exist among folder + han, eng, ksg and spc, then
// folder + hanja. Missing files are skipped silently; a Hangul file of a wrong
// size shows "Invalid Font File" once, with the file's path on a second line,
// and keeps the previous Hangul glyphs.
// folder ends with '/'. Returns true.
bool LoadFonts(const std::string& folder, const std::string& han, const std::string& eng,
               const std::string& ksg, const std::string& spc, const std::string& hanja);

// Single loaders; each returns true when the file was read into its table.
// Hangul: 11520 bytes, or the 11008-byte short form without glyph 0 of each set.
bool LoadHanFont(const std::string& path);
// English: up to 4096 bytes (256 glyphs of 16 bytes).
bool LoadEngFont(const std::string& path);
// KSG: up to 8192 bytes (256 glyphs of 32 bytes; slots 0x80-0xFF are drawn).
bool LoadKsgFont(const std::string& path);
// Special symbols: 36096 bytes, or the 33696-byte short form; other sizes are
// copied from slot 0 and never beyond the table.
bool LoadSpcFont(const std::string& path);
// Hanja: up to 156416 bytes (4888 glyphs).
bool LoadHanjaFont(const std::string& path);

// Puts every table back into its never-loaded state (solid blocks).
void ResetBitmapFonts();

// The Hangul syllable of a Johab code, OR-ed from its three parts. Fields that
// name no part add nothing.
TBmpGlyph ComposeHangul(uint16_t code);

// The glyph of one character, font code already applied: first < 0x80 is a
// single byte (8 pixels wide, second ignored); otherwise first and second are
// the font code (16 pixels wide). The code 0x2020 is the space glyph, 8 pixels.
// Returns the width in pixels that the glyph covers (8 or 16).
int GetBmpGlyph(uint8_t first, uint8_t second, TBmpGlyph& glyph);

// Draws one character cell with its top-left corner at (x, y): ink pixels in
// textColor, the others in backColor, so the cell is opaque. Bytes as for
// GetBmpGlyph. Parts of the cell outside target are clipped (x and y may be
// negative). Fastest on 32-bit images (RGB32, ARGB32, ARGB32_Premultiplied);
// colours are written as given. Returns the width in pixels painted (8 or 16).
int PutBmpChar(QImage& target, int x, int y, uint8_t first, uint8_t second, QRgb textColor,
               QRgb backColor);

// The same for a character given as bytes: s[1] is read only when s[0] >= 0x80.
inline int PutBmpChar(QImage& target, int x, int y, const char* s, QRgb textColor, QRgb backColor) {
    const auto first = static_cast<uint8_t>(s[0]);
    const auto second = first >= 0x80 ? static_cast<uint8_t>(s[1]) : uint8_t{0};
    return PutBmpChar(target, x, y, first, second, textColor, backColor);
}

} // namespace ov
