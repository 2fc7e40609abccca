// Checks the font files that the build generates from GNU Unifont into the
// Fonts folder beside the executable, and draws a sample page from them
// (bitmapfont_sample.png in the tests' build folder) for a person to judge.

#include "Codeconv.h"
#include "Codepage.h"
#include "Files.h"
#include "Hangulsets.h"
#include "Putbmpfont.h"
#include "Testsupport.h"
#include "Uiservices.h"
#include "Unifonthex.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>

namespace ov {
namespace {

const std::string FontFolder = std::string(ORVANE_BIN_DIR) + "/Fonts/";

class GeneratedFonts : public testing::Test {
protected:
    static void SetUpTestSuite() {
        TScriptedUIServices ui;
        TUIServicesGuard guard(&ui);
        ResetBitmapFonts();
        LoadFonts(FontFolder, "default.han", "default.eng", "default.ksg", "default.spc",
                  "hanja.fnt");
        FMessages = static_cast<int>(ui.Records.size());
    }
    static void TearDownTestSuite() { ResetBitmapFonts(); }

    void SetUp() override {
        if (!FileExists(FontFolder + "default.han"))
            GTEST_SKIP() << "font files not built (GNU Unifont missing?)";
    }

    static inline int FMessages = 0;
};

bool IsBlank(const TBmpGlyph& glyph) {
    return glyph == TBmpGlyph{};
}

TEST_F(GeneratedFonts, FilesHaveTheirSizesAndLoadSilently) {
    const std::pair<const char*, size_t> files[] = {{"default.han", 11520},
                                                    {"default.eng", 4096},
                                                    {"default.ksg", 8192},
                                                    {"default.spc", 36096},
                                                    {"hanja.fnt", 156416}};
    for (const auto& [name, size] : files)
        EXPECT_EQ(test::ReadBytes(FontFolder + name).size(), size) << name;
    EXPECT_EQ(FMessages, 0);
}

// Every double-byte code that CP949 assigns to a visible character draws a
// glyph with ink in it.
TEST_F(GeneratedFonts, EveryAssignedCodeHasAGlyph) {
    int syllables = 0, hanja = 0, symbols = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x41; trail <= 0xFE; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string wide = WideFromAnsi(bytes);
            if (wide.size() != 1 || wide[0] == 0xFFFD || wide[0] == 0x3000 || wide[0] == 0x3164)
                continue;
            uint16_t code = static_cast<uint16_t>(lead << 8 | trail);
            ASSERT_TRUE(ConvertCode(code)) << std::hex << lead << trail;
            TBmpGlyph glyph;
            EXPECT_EQ(GetBmpGlyph(code >> 8, code & 0xFF, glyph), 16);
            EXPECT_FALSE(IsBlank(glyph)) << std::hex << lead << trail;
            const bool syllable = wide[0] >= 0xAC00 && wide[0] <= 0xD7A3;
            syllables += syllable;
            hanja += lead >= 0xCA && lead <= 0xFD;
            symbols += !syllable && lead >= 0xA1 && lead <= 0xAC;
        }
    }
    EXPECT_EQ(syllables, 11172);
    EXPECT_EQ(hanja, 4888);
    EXPECT_GT(symbols, 980); // KS X 1001's symbols and later additions such as the euro
}

TBmpGlyph GlyphOfKs(uint16_t ks) {
    uint16_t code = ks;
    EXPECT_TRUE(ConvertCode(code));
    TBmpGlyph glyph;
    GetBmpGlyph(code >> 8, code & 0xFF, glyph);
    return glyph;
}

// The ideographic space and the Hangul filler are blank, not Unifont's dashed
// boxes; the soft hyphen is a plain hyphen, as wide as the English one.
TEST_F(GeneratedFonts, SpacesAreBlankAndTheSoftHyphenIsAHyphen) {
    EXPECT_TRUE(IsBlank(GlyphOfKs(0xA1A1)));
    EXPECT_TRUE(IsBlank(GlyphOfKs(0xA4D4)));
    const TBmpGlyph hyphen = GlyphOfKs(0xA1A9);
    TBmpGlyph english;
    GetBmpGlyph('-', 0, english);
    int ink = 0, englishInk = 0;
    for (int k = 0; k < 32; ++k) {
        ink += std::popcount(hyphen[k]);
        englishInk += std::popcount(english[k]);
    }
    EXPECT_GT(englishInk, 0);
    EXPECT_EQ(ink, englishInk);
}

// The KSG font's block elements fill the whole cell; its shades repeat their
// pattern as the symbol font's shade does rather than doubling every pixel.
TEST_F(GeneratedFonts, KsgShadesMatchTheSymbolShade) {
    TBmpGlyph fullBlock, solid, mediumShade;
    solid.fill(0xFF);
    GetBmpGlyph(0xD4, 0x80 + 0x08, fullBlock); // U+2588
    EXPECT_EQ(fullBlock, solid);
    GetBmpGlyph(0xD4, 0x80 + 0x12, mediumShade); // U+2592
    EXPECT_EQ(mediumShade, GlyphOfKs(0xA2C6));   // ▒
}

TEST_F(GeneratedFonts, PrintableAsciiHasInkAndControlsAreBlank) {
    for (int c = 0; c < 0x80; ++c) {
        TBmpGlyph glyph;
        EXPECT_EQ(GetBmpGlyph(static_cast<uint8_t>(c), 0, glyph), 8);
        const bool visible = c > 0x20 && c < 0x7F;
        EXPECT_EQ(!IsBlank(glyph), visible) << c;
    }
}

// Fully inked 2 x 2 squares of a glyph. Unifont's Hangul strokes are one pixel
// wide: a composed syllable with more squares than Unifont's has a stroke drawn
// twice, one pixel apart (a thick bar in 눈, a doubled ㄱ in 관).
int SolidSquares(const std::array<uint16_t, 16>& rows) {
    int squares = 0;
    for (int r = 0; r + 1 < 16; ++r)
        for (int c = 0; c + 1 < 16; ++c) {
            const unsigned two = 0xC000u >> c;
            squares += (rows[r] & two) == two && (rows[r + 1] & two) == two;
        }
    return squares;
}

// The composed syllables against Unifont's own: at least 78 % identical, under
// 5 differing pixels on average, no pixel inked by two parts where the
// syllable is blank (strokes of two parts never run into each other) and no
// stroke doubled. Only ㅞ before ㄴ may keep its bar one row higher with the
// short stroke of ㅓ touching it, as Unifont draws ㅞ before other finals.
TEST_F(GeneratedFonts, ComposedHangulIsCloseToUnifont) {
    fontgen::TUnifont unifont;
    if (!unifont.Load(fontgen::DefaultUnifontPath()))
        GTEST_SKIP() << "GNU Unifont not installed";
    const std::string han = test::ReadBytes(FontFolder + "default.han");
    ASSERT_EQ(han.size(), 11520u);
    auto partAt = [&han](int glyphIndex) {
        TBmpGlyph glyph;
        std::copy_n(han.begin() + glyphIndex * 32, 32, glyph.begin());
        return glyph;
    };

    int identical = 0, colliding = 0;
    std::string thickened;
    long different = 0;
    for (char16_t syllable = 0xAC00; syllable <= 0xD7A3; ++syllable) {
        const std::string ansi = AnsiFromWide(std::u16string(1, syllable));
        uint16_t code = static_cast<uint16_t>(static_cast<uint8_t>(ansi[0]) << 8 |
                                              static_cast<uint8_t>(ansi[1]));
        ASSERT_TRUE(ConvertCode(code));
        const TBmpGlyph composed = ComposeHangul(code);
        const fontgen::TUnifontGlyph* original = unifont.Find(syllable);
        ASSERT_TRUE(original && original->Width == 16);

        const hangul::TParts p = hangul::PartsOf(code);
        const TBmpGlyph a = partAt(p.InitialSet * 20 + p.Initial);
        const TBmpGlyph b = partAt(160 + p.MedialSet * 22 + p.Medial);
        const TBmpGlyph c = partAt(160 + 88 + p.FinalSet * 28 + p.Final);
        int pixels = 0;
        bool collides = false;
        std::array<uint16_t, 16> rows;
        for (int r = 0; r < 16; ++r) {
            const uint16_t row = static_cast<uint16_t>(composed[2 * r] << 8 | composed[2 * r + 1]);
            rows[r] = row;
            pixels += std::popcount(static_cast<uint16_t>(row ^ original->Rows[r]));
            for (int k = 2 * r; k <= 2 * r + 1; ++k) {
                const uint8_t shared = (a[k] & b[k]) | (a[k] & c[k]) | (b[k] & c[k]);
                const uint8_t blank = static_cast<uint8_t>(
                    ~(k % 2 ? original->Rows[r] & 0xFF : original->Rows[r] >> 8));
                collides = collides || (shared & blank);
            }
        }
        identical += pixels == 0;
        different += pixels;
        colliding += collides;
        if (SolidSquares(rows) > SolidSquares(original->Rows)) {
            const int vowel = (syllable - 0xAC00) / 28 % 21, final = (syllable - 0xAC00) % 28;
            if (vowel != 15 || final != 4)
                thickened += Utf8FromAnsi(ansi);
        }
    }
    EXPECT_GE(identical, 11172 * 78 / 100);
    EXPECT_LT(different / 11172.0, 5.0);
    EXPECT_EQ(colliding, 0);
    EXPECT_EQ(thickened, "") << "strokes drawn twice";
    std::printf("composed Hangul: %d of 11172 identical to Unifont, %.2f differing pixels "
                "on average\n",
                identical, different / 11172.0);
}

// Draws CP949 text line by line the way the text view does with bitmap fonts.
void DrawLine(QImage& image, int y, const std::string& utf8, QRgb ink, QRgb paper) {
    const std::string text = AnsiFromUtf8(utf8);
    int x = 8;
    for (size_t p = 0; p < text.size(); ++p) {
        const auto lead = static_cast<uint8_t>(text[p]);
        if (lead >= 0x80 && p + 1 < text.size()) {
            uint16_t code = static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(text[++p]));
            ConvertCode(code);
            PutBmpChar(image, x, y, code >> 8, code & 0xFF, ink, paper);
            x += 16;
        } else {
            x += PutBmpChar(image, x, y, lead, 0, ink, paper);
        }
    }
}

TEST_F(GeneratedFonts, SamplePage) {
    const char* lines[] = {
        "동해 물과 백두산이 마르고 닳도록 하느님이 보우하사 우리나라 만세.",
        "무궁화 삼천리 화려 강산, 대한 사람 대한으로 길이 보전하세.",
        "꽃 밭 읽다 넓은 값 삶 흙 앉아 뷁 쀍 왜 웨 위 의 과 귀 퀘 뭘 쌍 꾼",
        "다람쥐 헌 쳇바퀴에 타고파. 키스의 고유조건은 입술끼리 만나야 하고.",
        "관광 안내: 눈 오는 겨울, 문화 운동 준비로 분주한 군민과 원래의 권리 확인.",
        "漢字 大韓民國 國語 文學 天地玄黃 宇宙洪荒 日月盈仄 寒來暑往",
        "※ ☆ ★ ○ ● ◎ ◇ ◆ □ ■ △ ▲ → ← ↑ ↓ ± × ÷ ≠ ≤ ≥ ∞ ℃ ① ② ③ ㉠ ㈜ №",
        "ㄱ ㄴ ㄷ ㄹ ㅁ ㅂ ㅅ ㅇ ㅈ ㅊ ㅋ ㅌ ㅍ ㅎ ㅏ ㅑ ㅓ ㅕ ㅗ ㅛ ㅜ ㅠ ㅡ ㅣ",
        "The quick brown fox jumps over the lazy dog. 0123456789 {}[]()<>;:'\"~!@#$%^&*",
        "┌─┬─┐ ┏━┳━┓ ▒▒▒▒ ▤▥▨▧▦▩ ♨☎☞♪♬ ¶†‡",
        "│가│나│ ┃다┃라┃ ▒▒▒▒",
        "├─┼─┤ ┣━╋━┫ ▒▒▒▒",
        "└─┴─┘ ┗━┻━┛      int main() { return 0; } // 주석",
    };
    const int height = 16 * (static_cast<int>(std::size(lines)) + 2) + 8;
    QImage page(8 + 16 * 48, height, QImage::Format_RGB32);
    page.fill(0xFFFFFFFF);
    int y = 8;
    for (const char* line : lines) {
        DrawLine(page, y, line, 0xFF000000, 0xFFFFFFFF);
        y += 16;
    }
    DrawLine(page, y + 8, "선택된 글자 반전 표시: 한글 漢字 ABC", 0xFFFFFFFF, 0xFF000080);

    const std::string path = std::string(ORVANE_BIN_DIR) + "/../tests/bitmapfont_sample.png";
    EXPECT_TRUE(page.save(QString::fromStdString(path)));
    EXPECT_TRUE(page.scaled(page.size() * 2)
                    .save(QString::fromStdString(std::string(ORVANE_BIN_DIR) +
                                                 "/../tests/bitmapfont_sample_2x.png")));
}

} // namespace
} // namespace ov
