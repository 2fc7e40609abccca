#pragma once
// The program's colour values on the screen. A colour value holds red in the
// low byte, then green, then blue; a value with the top bit set names a system
// colour by index (5 window background, 8 window text, ...), which is taken
// from the application's palette.

#include <QRgb>

#include <cstdint>

namespace ov {

using TColor = std::uint32_t;

constexpr TColor clWindow = 0x80000005;
constexpr TColor clWindowText = 0x80000008;
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clGrayText = 0x80000011;

// An opaque QRgb. Unknown system colour indexes give the window background.
QRgb RgbFromColor(TColor color);

// The colour value of an opaque QRgb (never a system colour).
TColor ColorFromRgb(QRgb rgb);

} // namespace ov
