#include "Symbolcells.h"

#include "Codepage.h"

#include <string>

namespace ov::fontgen {

namespace {

bool IsBoxDrawing(char32_t c) {
    return c >= 0x2500 && c <= 0x257F;
}
bool IsShade(char32_t c) {
    return c >= 0x2591 && c <= 0x2593;
}

uint16_t WidenBoxRow(uint16_t row8) {
    const uint16_t left = row8 & 0x8000 ? 0xF000 : 0;
    const uint16_t right = row8 & 0x0100 ? 0x000F : 0;
    return static_cast<uint16_t>(row8 >> 4 | left | right);
}

} // namespace

TCell UnicodeCell(const TUnifont& font, char32_t codePoint) {
    const TUnifontGlyph* glyph = font.Find(codePoint);
    TCell cell{};
    if (!glyph)
        return cell;
    if (glyph->Width == 16)
        return glyph->Rows;
    for (int r = 0; r < 16; ++r) {
        const uint16_t row = glyph->Rows[r];
        if (IsBoxDrawing(codePoint) && !IsShade(codePoint))
            cell[r] = WidenBoxRow(row);
        else if (IsShade(codePoint))
            cell[r] = static_cast<uint16_t>(row | row >> 8);
        else
            cell[r] = static_cast<uint16_t>(row >> 4);
    }
    return cell;
}

TCell KsCell(const TUnifont& font, int lead, int trail) {
    if (lead == 0xA1 && trail == 0xA9)
        return UnicodeCell(font, U'-');
    const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
    const std::u16string wide = WideFromAnsi(bytes);
    // The Hangul filler (KS 0xA4D4) stands for a missing letter and is blank;
    // Unifont shows it, like other invisible characters, as a dashed box.
    if (wide.size() != 1 || wide[0] == 0xFFFD || wide[0] == 0x3164)
        return TCell{};
    return UnicodeCell(font, wide[0]);
}

TCell StretchedCell(const TUnifont& font, char32_t codePoint) {
    const TUnifontGlyph* glyph = font.Find(codePoint);
    if (!glyph || glyph->Width == 16 || IsShade(codePoint))
        return UnicodeCell(font, codePoint);
    TCell cell{};
    for (int r = 0; r < 16; ++r) {
        uint16_t wide = 0;
        for (int b = 0; b < 8; ++b)
            if (glyph->Rows[r] & (0x8000 >> b))
                wide |= static_cast<uint16_t>(0xC000 >> (2 * b));
        cell[r] = wide;
    }
    return cell;
}

} // namespace ov::fontgen
