#pragma once
// The settings the options dialog edits, read from and written to the
// settings store in one fixed order. Qt-free, so the round trip of every key
// is tested without a dialog.

#include "Inifiles.h"
#include "Ovsynlangstyle.h"

#include <string>

namespace ov {

// The range of a spin field; values outside it are shown and written clamped.
struct TValueRange {
    int Min;
    int Max;
    int Clamp(int value) const { return value < Min ? Min : value > Max ? Max : value; }
};

constexpr TValueRange TopMarginRange{0, 200};
constexpr TValueRange LeftMarginRange{0, 200};
constexpr TValueRange LineSpaceRange{0, 50};
constexpr TValueRange TabWidthRange{0, 20};
constexpr TValueRange WheelRange{0, 100};
constexpr TValueRange AutoScrollRange{10, 1000000};

// What Escape does in the text view: the index of the ESC list's entry.
enum TEscapeAction : int { eaDeselect = 0, eaMinimize = 1, eaClose = 2 };

struct TOptionValues {
    int TopMargin = 2;
    int LeftMargin = 2;
    int LineSpace = 2;
    int TabWidth = 4;
    std::string FontName = "Verdana"; // code-page bytes
    int FontSize = 9;                 // points
    // Bitmap font base names; empty when none is chosen.
    std::string HanFont = "Default";
    std::string EngFont = "Default";
    std::string SpcFont = "Default";
    std::string KsgFont = "Default";
    // May lie outside the three actions when the file says so; it is then
    // written back as it was read.
    int ESC = eaDeselect;
    int Wheel = 3;
    int AutoScroll = 1500; // milliseconds
    TColor ForeColor = RGBColor(0x00, 0x00, 0x00);
    TColor BackColor = RGBColor(0xFF, 0xFF, 0xFF);
    TColor LineNumColor = RGBColor(0x66, 0x66, 0x66);
    TColor LineNumBack = RGBColor(0xFF, 0xFF, 0xFF);
    // The background of every match of the search shown (Style, MatchBack):
    // a light amber that every shipped style's text colours read on.
    TColor MatchBack = RGBColor(0xFF, 0xE0, 0x66);
    bool SynHighlighting = true;
    // A shown file that another program changes is read again (Option,
    // ReloadOnChange); off, a change shows at the next refresh.
    bool ReloadOnChange = false;

    bool operator==(const TOptionValues&) const = default;
};

// Reads every key; a missing or unreadable key gives the default above, a
// number outside its spin field's range comes back clamped.
TOptionValues ReadOptionValues(const TSettingsStore& settings);
// Writes every key, in the same order as they are read; spin values are
// clamped on the way. WFontStyle and every other key stay as they are.
void WriteOptionValues(TSettingsStore& settings, const TOptionValues& values);

} // namespace ov
