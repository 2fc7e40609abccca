#include "Optionvalues.h"

#include "Errors.h"

namespace ov {

namespace {

constexpr const char* SOption = "Option";
constexpr const char* SStyle = "Style";

int ReadClamped(const TSettingsStore& settings, const char* key, int defaultValue,
                TValueRange range) {
    return range.Clamp(settings.ReadInteger(SOption, key, defaultValue));
}

// A code that does not read as a colour gives the default, as an unreadable
// number does: a damaged file must not keep the dialog from opening.
TColor ReadColor(const TSettingsStore& settings, const char* key, TColor defaultColor) {
    try {
        return HexCodeToColor(settings.ReadString(SStyle, key, ColorToHexCode(defaultColor)));
    } catch (const EConvertError&) {
        return defaultColor;
    }
}

} // namespace

TOptionValues ReadOptionValues(const TSettingsStore& settings) {
    const TOptionValues defaults;
    TOptionValues values;
    values.TopMargin = ReadClamped(settings, "TopMargin", defaults.TopMargin, TopMarginRange);
    values.LeftMargin = ReadClamped(settings, "LeftMargin", defaults.LeftMargin, LeftMarginRange);
    values.LineSpace = ReadClamped(settings, "LineSpace", defaults.LineSpace, LineSpaceRange);
    values.TabWidth = ReadClamped(settings, "TabWidth", defaults.TabWidth, TabWidthRange);
    values.FontName = settings.ReadString(SStyle, "WFontName", defaults.FontName);
    values.FontSize = settings.ReadInteger(SStyle, "WFontSize", defaults.FontSize);
    values.HanFont = settings.ReadString(SStyle, "HanFont", defaults.HanFont);
    values.EngFont = settings.ReadString(SStyle, "EngFont", defaults.EngFont);
    values.SpcFont = settings.ReadString(SStyle, "SpcFont", defaults.SpcFont);
    values.KsgFont = settings.ReadString(SStyle, "KsgFont", defaults.KsgFont);
    values.ESC = settings.ReadInteger(SOption, "ESC", defaults.ESC);
    values.Wheel = ReadClamped(settings, "Wheel", defaults.Wheel, WheelRange);
    values.AutoScroll = ReadClamped(settings, "AutoScroll", defaults.AutoScroll, AutoScrollRange);
    values.ForeColor = ReadColor(settings, "ForeColor", defaults.ForeColor);
    values.BackColor = ReadColor(settings, "BackColor", defaults.BackColor);
    values.LineNumColor = ReadColor(settings, "LineNumColor", defaults.LineNumColor);
    values.LineNumBack = ReadColor(settings, "LineNumBack", defaults.LineNumBack);
    values.MatchBack = ReadColor(settings, "MatchBack", defaults.MatchBack);
    values.SynHighlighting = settings.ReadBool(SStyle, "SynHighlighting", defaults.SynHighlighting);
    values.ReloadOnChange = settings.ReadBool(SOption, "ReloadOnChange", defaults.ReloadOnChange);
    return values;
}

void WriteOptionValues(TSettingsStore& settings, const TOptionValues& values) {
    settings.WriteInteger(SOption, "TopMargin", TopMarginRange.Clamp(values.TopMargin));
    settings.WriteInteger(SOption, "LeftMargin", LeftMarginRange.Clamp(values.LeftMargin));
    settings.WriteInteger(SOption, "LineSpace", LineSpaceRange.Clamp(values.LineSpace));
    settings.WriteInteger(SOption, "TabWidth", TabWidthRange.Clamp(values.TabWidth));
    settings.WriteString(SStyle, "WFontName", values.FontName);
    settings.WriteInteger(SStyle, "WFontSize", values.FontSize);
    settings.WriteString(SStyle, "HanFont", values.HanFont);
    settings.WriteString(SStyle, "EngFont", values.EngFont);
    settings.WriteString(SStyle, "SpcFont", values.SpcFont);
    settings.WriteString(SStyle, "KsgFont", values.KsgFont);
    settings.WriteInteger(SOption, "ESC", values.ESC);
    settings.WriteInteger(SOption, "Wheel", WheelRange.Clamp(values.Wheel));
    settings.WriteInteger(SOption, "AutoScroll", AutoScrollRange.Clamp(values.AutoScroll));
    settings.WriteString(SStyle, "ForeColor", ColorToHexCode(values.ForeColor));
    settings.WriteString(SStyle, "BackColor", ColorToHexCode(values.BackColor));
    settings.WriteString(SStyle, "LineNumColor", ColorToHexCode(values.LineNumColor));
    settings.WriteString(SStyle, "LineNumBack", ColorToHexCode(values.LineNumBack));
    settings.WriteString(SStyle, "MatchBack", ColorToHexCode(values.MatchBack));
    settings.WriteBool(SStyle, "SynHighlighting", values.SynHighlighting);
    settings.WriteBool(SOption, "ReloadOnChange", values.ReloadOnChange);
}

} // namespace ov
