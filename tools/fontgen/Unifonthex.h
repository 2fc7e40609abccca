#pragma once
// Reading GNU Unifont's .hex format ("XXXX:hexdigits" per line, 32 digits for
// an 8 x 16 glyph, 64 for a 16 x 16 glyph) for the font generator and the
// tests that compare with it.

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace ov::fontgen {

// Sixteen rows, most significant bit = leftmost pixel. An 8-pixel glyph keeps
// its pixels in the high byte of each row.
using TCell = std::array<uint16_t, 16>;

struct TUnifontGlyph {
    int Width = 0; // 8 or 16
    TCell Rows{};
};

class TUnifont {
public:
    // False when the file cannot be read; malformed lines are skipped.
    bool Load(const std::string& path);
    // Null when the font has no glyph for the code point.
    const TUnifontGlyph* Find(char32_t codePoint) const;
    size_t Size() const { return FGlyphs.size(); }

private:
    std::unordered_map<char32_t, TUnifontGlyph> FGlyphs;
};

// The Unifont file the build makes the font files from (CMake's
// ORVANE_UNIFONT_HEX, by default that of the Debian package), overridable with
// the environment variable of the same name.
std::string DefaultUnifontPath();

} // namespace ov::fontgen
