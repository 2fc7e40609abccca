#include "Optionvalues.h"

#include <gtest/gtest.h>

#include <random>

namespace ov {
namespace {

std::vector<std::string> KeysInOrder(const TSettingsStore& settings) {
    std::vector<std::string> keys;
    for (const std::string& line : settings.GetStrings()) {
        if (!line.empty())
            keys.push_back(std::string(NameOfLine(line)));
    }
    return keys;
}

TEST(OptionValues, AnEmptyStoreReadsTheDialogsDefaultsAndWritesEveryKeyInOrder) {
    TSettingsStore settings;
    const TOptionValues values = ReadOptionValues(settings);
    EXPECT_EQ(values, TOptionValues{});
    EXPECT_EQ(values.FontName, "Verdana");
    EXPECT_EQ(ColorToHexCode(values.LineNumColor), "#666666");

    WriteOptionValues(settings, values);
    const std::vector<std::string> expected = {
        "[Option]",  "TopMargin", "LeftMargin", "LineSpace",    "TabWidth",    "ESC",
        "Wheel",     "AutoScroll", "ReloadOnChange", "[Style]",   "WFontName",    "WFontSize",   "HanFont",
        "EngFont",   "SpcFont",   "KsgFont",    "ForeColor",    "BackColor",   "LineNumColor",
        "LineNumBack", "MatchBack", "SynHighlighting"};
    EXPECT_EQ(KeysInOrder(settings), expected);
    EXPECT_EQ(settings.ReadString("Style", "LineNumColor", ""), "#666666");
    EXPECT_EQ(settings.ReadString("Style", "SynHighlighting", ""), "1");
    EXPECT_EQ(settings.ReadString("Option", "AutoScroll", ""), "1500");
    EXPECT_EQ(settings.ReadString("Option", "ReloadOnChange", ""), "0");
}

// Every key survives write and read with values drawn across (and beyond)
// its range: in range they come back as written, outside it clamped.
TEST(OptionValues, EveryKeyRoundTripsAndOutOfRangeNumbersComeBackClamped) {
    std::mt19937 random(15);
    auto any = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const std::pair<int TOptionValues::*, TValueRange> spins[] = {
        {&TOptionValues::TopMargin, TopMarginRange},   {&TOptionValues::LeftMargin, LeftMarginRange},
        {&TOptionValues::LineSpace, LineSpaceRange},   {&TOptionValues::TabWidth, TabWidthRange},
        {&TOptionValues::Wheel, WheelRange},           {&TOptionValues::AutoScroll, AutoScrollRange}};
    for (int round = 0; round < 200; ++round) {
        TOptionValues written;
        for (const auto& [field, range] : spins)
            written.*field = any(range.Min - 1000, range.Max + 1000);
        written.FontName = round % 2 ? "\xB1\xBC\xB8\xB2" : "DejaVu Sans"; // 굴림 in CP949
        written.FontSize = any(-5, 80);
        written.HanFont = round % 3 ? "Default" : "";
        written.EngFont = "e" + std::to_string(round);
        written.SpcFont = "Spc";
        written.KsgFont = round % 5 ? "" : "K";
        written.ESC = any(-1, 4);
        for (TColor* color : {&written.ForeColor, &written.BackColor, &written.LineNumColor,
                              &written.LineNumBack, &written.MatchBack})
            *color = static_cast<TColor>(any(0, 0xFFFFFF));
        written.SynHighlighting = round % 2 == 0;
        written.ReloadOnChange = round % 3 == 0;

        TSettingsStore settings;
        settings.SetStrings({"[Style]", "WFontStyle=bold", "[Window]", "Max=1"});
        WriteOptionValues(settings, written);
        const TSettingsStore reread = [&] {
            TSettingsStore copy;
            copy.SetStrings(settings.GetStrings());
            return copy;
        }();
        TOptionValues expected = written;
        for (const auto& [field, range] : spins)
            expected.*field = range.Clamp(written.*field);
        ASSERT_EQ(ReadOptionValues(reread), expected) << "round " << round;
        EXPECT_EQ(reread.ReadString("Style", "WFontStyle", ""), "bold");
        EXPECT_TRUE(reread.ReadBool("Window", "Max", false));
    }
}

TEST(OptionValues, HandEditedValuesReadAsTheDialogShowsThem) {
    TSettingsStore settings;
    settings.SetStrings({"[Option]", "TopMargin=500", "LeftMargin=-4", "LineSpace=51",
                         "TabWidth=abc", "Wheel=101", "AutoScroll=5", "ESC=7", "[Style]",
                         "ForeColor=#12GG56", "BackColor=#0a0B0c", "WFontSize=x",
                         "SynHighlighting=0", "HanFont="});
    const TOptionValues values = ReadOptionValues(settings);
    EXPECT_EQ(values.TopMargin, 200);
    EXPECT_EQ(values.LeftMargin, 0);
    EXPECT_EQ(values.LineSpace, 50);
    EXPECT_EQ(values.TabWidth, 4); // unreadable: the default
    EXPECT_EQ(values.Wheel, 100);
    EXPECT_EQ(values.AutoScroll, 10);
    EXPECT_EQ(values.ESC, 7);
    EXPECT_EQ(values.ForeColor, TOptionValues{}.ForeColor); // bad code: the default
    EXPECT_EQ(values.BackColor, RGBColor(0x0A, 0x0B, 0x0C));
    EXPECT_EQ(values.FontSize, 9);
    EXPECT_FALSE(values.SynHighlighting);
    EXPECT_EQ(values.HanFont, "");

    WriteOptionValues(settings, values);
    EXPECT_EQ(settings.ReadString("Option", "TopMargin", ""), "200");
    EXPECT_EQ(settings.ReadString("Option", "AutoScroll", ""), "10");
    EXPECT_EQ(settings.ReadString("Option", "ESC", ""), "7");
    EXPECT_EQ(settings.ReadString("Style", "BackColor", ""), "#0A0B0C");
}

} // namespace
} // namespace ov
