#include "Errors.h"
#include "Highlighttestsupport.h"
#include "Ovsynlangstyle.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

using test::Crlf;
using test::TTempFolder;

TEST(ColorCode, EveryByteRoundTripsInEachPosition) {
    for (unsigned value = 0; value < 256; ++value) {
        for (int shift : {0, 8, 16}) {
            const TColor color = value << shift;
            const std::string code = ColorToHexCode(color);
            ASSERT_EQ(code.size(), 7u);
            EXPECT_EQ(HexCodeToColor(code), color) << code;
        }
    }
    EXPECT_EQ(ColorToHexCode(RGBColor(0x12, 0x34, 0x56)), "#123456");
    EXPECT_EQ(HexCodeToColor("#abcdef"), HexCodeToColor("#ABCDEF"));
    EXPECT_EQ(HexCodeToColor("#abcdef"), RGBColor(0xab, 0xcd, 0xef));
    EXPECT_EQ(ColorToHexCode(0x80000005), "#050000") << "the top byte is ignored";
    EXPECT_EQ(HexCodeToColor("x123456"), RGBColor(0x12, 0x34, 0x56)) << "first character unread";
    EXPECT_EQ(HexCodeToColor("#12345"), RGBColor(0x12, 0x34, 0x05)) << "a short last pair";
}

TEST(ColorCode, BadDigitsThrowWithTheConvertedText) {
    auto messageOf = [](std::string_view code) {
        try {
            HexCodeToColor(code);
        } catch (const EConvertError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageOf("#ZZ0000"), "'0xZZ' is not a valid integer value");
    EXPECT_EQ(messageOf("#00G000"), "'0xG0' is not a valid integer value");
    EXPECT_EQ(messageOf("#1234"), "'0x' is not a valid integer value");
    EXPECT_EQ(messageOf("#"), "'0x' is not a valid integer value");
}

class StyleFile : public testing::Test {
protected:
    void Load(const std::string& text) { Style.LoadFromFile(Folder.Write("Lang.sty", text)); }
    TTempFolder Folder;
    TOVSynLangStyle Style;
};

TEST_F(StyleFile, DefaultsAreBlackOnWhite) {
    for (const TStyleColors& colors : Style.Colors) {
        EXPECT_EQ(colors.Fore, ColorBlack);
        EXPECT_EQ(colors.Back, RGBColor(255, 255, 255));
    }
}

TEST_F(StyleFile, TextAndBackgroundColours) {
    Load(Crlf({"Normal=#000080,#FFFFF0", "comment=#00FF00", "Item0=#FF0000 #00FFFF",
               "Item9=\"#010203\",\"#040506\"", "String1=000080", "Number=,#111111"}));
    EXPECT_EQ(Style.Colors[StyleNormal].Fore, RGBColor(0, 0, 0x80));
    EXPECT_EQ(Style.Colors[StyleNormal].Back, RGBColor(255, 255, 240));
    EXPECT_EQ(Style.Colors[StyleComment].Fore, RGBColor(0, 255, 0));
    EXPECT_EQ(Style.Colors[StyleComment].Back, RGBColor(255, 255, 240)) << "Normal's background";
    EXPECT_EQ(Style.Colors[StyleItem0].Back, RGBColor(0, 255, 255));
    EXPECT_EQ(Style.Colors[StyleItem0 + 9].Fore, RGBColor(1, 2, 3));
    EXPECT_EQ(Style.Colors[StyleItem0 + 9].Back, RGBColor(4, 5, 6));
    EXPECT_EQ(Style.Colors[StyleString1].Fore, ColorBlack) << "no # keeps the default";
    EXPECT_EQ(Style.Colors[StyleNumber].Fore, ColorBlack) << "an empty first field";
    EXPECT_EQ(Style.Colors[StyleNumber].Back, RGBColor(0x11, 0x11, 0x11));
}

TEST_F(StyleFile, ABadCodeStopsTheLoadWithEarlierStylesRead) {
    EXPECT_THROW(Load(Crlf({"Normal=#102030", "Number=#GG0000", "Comment=#00FF00"})),
                 EConvertError);
    EXPECT_EQ(Style.Colors[StyleNormal].Fore, RGBColor(0x10, 0x20, 0x30));
    EXPECT_EQ(Style.Colors[StyleComment].Fore, ColorBlack);
}

TEST_F(StyleFile, SavedFilesReadBackAndWriteOnlyDifferingBackgrounds) {
    for (int i = 0; i < StyleCount; ++i)
        Style.Colors[i] = {RGBColor(i, 2 * i, 3 * i), RGBColor(0x20, 0x20, 0x20)};
    Style.Colors[4].Back = RGBColor(1, 1, 1);
    const std::string path = Folder.File("Out.sty");
    ASSERT_TRUE(Style.SaveToFile(path));
    const std::string text = test::ReadBytes(path);
    EXPECT_EQ(text.substr(0, 26), "Normal=#000000,#202020\r\nNu");
    EXPECT_NE(text.find("\r\nString2=#04080C,#010101\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nItem0=#070E15\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\nItem9=#102030\r\n"));

    TOVSynLangStyle reread;
    reread.LoadFromFile(path);
    for (int i = 0; i < StyleCount; ++i) {
        EXPECT_EQ(reread.Colors[i].Fore, Style.Colors[i].Fore) << i;
        EXPECT_EQ(reread.Colors[i].Back, Style.Colors[i].Back) << i;
    }
    EXPECT_FALSE(Style.SaveToFile(Folder.File("no/such/folder/x.sty")));
}

TEST_F(StyleFile, BadFilesLoadWithoutHarm) {
    Load("");
    Load(std::string(1 << 20, '#'));
    Load("Normal=\"#123456\r\nItem0=" + std::string(1 << 20, ',') + "\r\n");
    EXPECT_EQ(Style.Colors[StyleNormal].Fore, RGBColor(0x12, 0x34, 0x56));
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 97) & 0xFF);
    Load(binary);
}

TEST(StyleKeys, NamesOfTheStyles) {
    EXPECT_EQ(StyleKey(0), "Normal");
    EXPECT_EQ(StyleKey(6), "HTMLValue");
    EXPECT_EQ(StyleKey(7), "Item0");
    EXPECT_EQ(StyleKey(16), "Item9");
    EXPECT_EQ(FixedStyleName(7), nullptr);
}

} // namespace
} // namespace ov
