#pragma once
// The colours of one language: a text and a background colour for each of its
// 17 styles, read from and written to the language's .sty file, and the
// colour codes (#RRGGBB) of the .sty and settings files.
//
// Style index: 0 Normal, 1 Number, 2 Comment, 3 String1, 4 String2,
// 5 LineNum, 6 HTMLValue, 7 .. 16 the syntax definition's items 0 .. 9.
// Style id: language slot * 17 + style index, a signed byte.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace ov {

// Red in the low byte, then green, then blue; top byte 0. A value with the
// top bit set names a system colour.
using TColor = std::uint32_t;

constexpr int StyleCount = 17;
constexpr int FixedStyleCount = 7;

enum TStyleIndex : int {
    StyleNormal = 0,
    StyleNumber = 1,
    StyleComment = 2,
    StyleString1 = 3,
    StyleString2 = 4,
    StyleLineNum = 5,
    StyleHTMLValue = 6,
    StyleItem0 = 7,
};

constexpr TColor ColorBlack = 0x000000;
constexpr TColor ColorWhite = 0xFFFFFF;

constexpr TColor RGBColor(unsigned red, unsigned green, unsigned blue) {
    return (red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16;
}

// "Normal" .. "HTMLValue" for 0 .. 6; nullptr otherwise.
const char* FixedStyleName(int styleIndex);
// The .sty key of a style index 0 .. 16: the fixed name or "Item0" .. "Item9".
std::string StyleKey(int styleIndex);

// Reads the three digit pairs after the first character (which is not
// examined) as hexadecimal numbers. A pair that is empty or not hexadecimal
// throws EConvertError "'0x..' is not a valid integer value"; a pair cut
// short by the end of the code is read with the digit it has.
TColor HexCodeToColor(std::string_view code);
// "#RRGGBB" in upper-case digits; the top byte is ignored.
std::string ColorToHexCode(TColor color);

struct TStyleColors {
    TColor Fore = ColorBlack;
    TColor Back = ColorWhite;
};

class TOVSynLangStyle {
public:
    TOVSynLangStyle() { Init(); }

    // Every style black on white.
    void Init();
    // A missing file leaves the colours as they are. A bad colour code
    // throws EConvertError with the styles before it loaded and the rest at
    // their defaults.
    void LoadFromFile(const std::string& fileName);
    // 17 lines ended by CR LF; a background is written for Normal and for
    // the styles whose background differs from Normal's. Returns false when
    // the file cannot be written (an existing file is then left whole).
    bool SaveToFile(const std::string& fileName) const;

    // Read and written directly by the options dialog.
    std::array<TStyleColors, StyleCount> Colors;
};

} // namespace ov
