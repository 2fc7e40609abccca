#include "Hangulsets.h"
#include "Putbmpfont.h"
#include "Testsupport.h"
#include "Uiservices.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace ov {
namespace {

using test::TTempFolder;

constexpr QRgb Ink = 0xFF102030;
constexpr QRgb Paper = 0xFFF0E0D0;
constexpr QRgb Untouched = 0xFF00FF00;

// A glyph whose first two bytes name it, so that a drawn or composed glyph
// tells which stored glyph it came from.
std::string NamedGlyph(int name) {
    std::string glyph(32, '\0');
    glyph[0] = static_cast<char>(name >> 8);
    glyph[1] = static_cast<char>(name & 0xFF);
    return glyph;
}

int NameOf(const TBmpGlyph& glyph) {
    return glyph[0] << 8 | glyph[1];
}

// A Hangul file whose parts put their set and index into separate bytes:
// initials in bytes 0-1, vowels in 2-3, finals in 4-5 (set + 1, index).
// Glyph 0 of every set is blank. The short form leaves glyph 0 out.
std::string HanFile(bool shortForm) {
    std::string data;
    auto add = [&](int sets, int count, int byte) {
        for (int s = 0; s < sets; ++s)
            for (int g = shortForm ? 1 : 0; g < count; ++g) {
                std::string glyph(32, '\0');
                if (g != 0) {
                    glyph[byte] = static_cast<char>(s + 1);
                    glyph[byte + 1] = static_cast<char>(g);
                }
                data += glyph;
            }
    };
    add(8, 20, 0);
    add(4, 22, 2);
    add(4, 28, 4);
    return data;
}

struct TPartNames {
    int InitialSet, Initial, MedialSet, Medial, FinalSet, Final; // set -1: no part
};

TPartNames PartsIn(const TBmpGlyph& g) {
    return {g[0] - 1, g[1], g[2] - 1, g[3], g[4] - 1, g[5]};
}

class BitmapFonts : public testing::Test {
protected:
    void SetUp() override { ResetBitmapFonts(); }
    void TearDown() override { ResetBitmapFonts(); }

    TTempFolder FFolder;
};

TEST_F(BitmapFonts, EverythingIsASolidBlockBeforeLoading) {
    TBmpGlyph glyph;
    for (const auto& [first, second] :
         {std::pair{0x41, 0}, {0x88, 0x61}, {0xD9, 0x31}, {0xE0, 0x31}, {0xD4, 0x80}}) {
        GetBmpGlyph(static_cast<uint8_t>(first), static_cast<uint8_t>(second), glyph);
        const int width = first < 0x80 ? 1 : 2;
        for (int r = 0; r < 16; ++r)
            for (int b = 0; b < width; ++b)
                EXPECT_EQ(glyph[r * 2 + b], 0xFF) << std::hex << first;
    }
}

TEST_F(BitmapFonts, GaAndGakTakeTheirSets) {
    ASSERT_TRUE(LoadHanFont(FFolder.Write("h.han", HanFile(false))));
    const TPartNames ga = PartsIn(ComposeHangul(0x8861));
    EXPECT_EQ(ga.InitialSet, 0);
    EXPECT_EQ(ga.Initial, 1);
    EXPECT_EQ(ga.MedialSet, 0);
    EXPECT_EQ(ga.Medial, 1);
    EXPECT_EQ(ga.FinalSet, -1); // blank final glyph

    const TPartNames gak = PartsIn(ComposeHangul(0x8862));
    EXPECT_EQ(gak.InitialSet, 5);
    EXPECT_EQ(gak.Initial, 1);
    EXPECT_EQ(gak.MedialSet, 2);
    EXPECT_EQ(gak.Medial, 1);
    EXPECT_EQ(gak.FinalSet, 0);
    EXPECT_EQ(gak.Final, 1);

    // 놘 (ㄴ ㅘ ㄴ): initial set 7, vowel set 3, final set of ㅘ is 0.
    const TPartNames nwan = PartsIn(ComposeHangul(hangul::JohabOfSyllable(2, 9, 4)));
    EXPECT_EQ(nwan.InitialSet, 7);
    EXPECT_EQ(nwan.Initial, 3);
    EXPECT_EQ(nwan.MedialSet, 3);
    EXPECT_EQ(nwan.Medial, 10);
    EXPECT_EQ(nwan.FinalSet, 0);
    EXPECT_EQ(nwan.Final, 4);

    // The fill code of all three fields draws nothing.
    const TBmpGlyph fill = ComposeHangul(0x8441);
    EXPECT_EQ(fill, TBmpGlyph{});
}

TEST_F(BitmapFonts, ShortAndLongHangulFilesDrawAlike) {
    ASSERT_EQ(HanFile(false).size(), 11520u);
    ASSERT_EQ(HanFile(true).size(), 11008u);
    ASSERT_TRUE(LoadHanFont(FFolder.Write("long.han", HanFile(false))));
    std::vector<TBmpGlyph> fromLong;
    for (int code = 0x8000; code < 0x10000; ++code)
        fromLong.push_back(ComposeHangul(static_cast<uint16_t>(code)));
    ResetBitmapFonts();
    ASSERT_TRUE(LoadHanFont(FFolder.Write("short.han", HanFile(true))));
    for (int code = 0x8000; code < 0x10000; ++code)
        ASSERT_EQ(ComposeHangul(static_cast<uint16_t>(code)), fromLong[code - 0x8000])
            << std::hex << code;
}

TEST_F(BitmapFonts, WrongSizeHangulFileWarnsOnceAndKeepsTheGlyphs) {
    TScriptedUIServices ui;
    TUIServicesGuard guard(&ui);
    FFolder.Write("good.han", HanFile(false));
    FFolder.Write("bad.han", HanFile(false) + "x");
    ASSERT_TRUE(LoadFonts(FFolder.Path(), "good.han", "none.eng", "none.ksg", "none.spc", "none"));
    const TBmpGlyph before = ComposeHangul(0x8862);
    EXPECT_TRUE(ui.Records.empty());

    EXPECT_TRUE(LoadFonts(FFolder.Path(), "bad.han", "none.eng", "none.ksg", "none.spc", "none"));
    ASSERT_EQ(ui.Records.size(), 1u);
    EXPECT_EQ(ui.Records[0].Text, "Invalid Font File\n" + FFolder.File("bad.han"));
    EXPECT_EQ(ui.Records[0].Caption, "Font Loading Error");
    EXPECT_EQ(ui.Records[0].Icon, TMessageIcon::Warning);
    EXPECT_FALSE(ui.Records[0].Question);
    EXPECT_EQ(ComposeHangul(0x8862), before);

    // An empty file is a wrong size too, not a missing one.
    FFolder.Write("empty.han", "");
    EXPECT_FALSE(LoadHanFont(FFolder.File("empty.han")));
    EXPECT_EQ(ui.Records.size(), 2u);
    EXPECT_EQ(ComposeHangul(0x8862), before);
}

// Folders, character devices and files larger than any table: nothing is
// read from what is not a regular file, a huge Hangul file is only a wrong
// size, and no loader writes beyond its table (the sanitizer build checks).
TEST_F(BitmapFonts, FoldersDevicesAndHugeFilesAreHandled) {
    TScriptedUIServices ui;
    TUIServicesGuard guard(&ui);
    ASSERT_TRUE(LoadHanFont(FFolder.Write("good.han", HanFile(false))));
    const TBmpGlyph before = ComposeHangul(0x8862);

    std::filesystem::create_directory(FFolder.File("dir.han"));
    EXPECT_TRUE(LoadFonts(FFolder.Path(), "dir.han", "dir.han", "dir.han", "dir.han", "dir.han"));
    for (auto* loader : {LoadHanFont, LoadEngFont, LoadKsgFont, LoadSpcFont, LoadHanjaFont}) {
        EXPECT_FALSE(loader(FFolder.File("dir.han")));
        EXPECT_FALSE(loader("/dev/zero"));
    }
    EXPECT_TRUE(ui.Records.empty());
    EXPECT_EQ(ComposeHangul(0x8862), before);

    const std::string huge(300000, '\x5A');
    FFolder.Write("huge", huge);
    EXPECT_TRUE(LoadFonts(FFolder.Path(), "huge", "huge", "huge", "huge", "huge"));
    ASSERT_EQ(ui.Records.size(), 1u);
    EXPECT_EQ(ui.Records[0].Text, "Invalid Font File\n" + FFolder.File("huge"));
    EXPECT_EQ(ComposeHangul(0x8862), before);
    TBmpGlyph glyph;
    for (const auto& [first, second] :
         {std::pair{0x41, 0}, {0xD4, 0xFF}, {0xDE, 0xFE}, {0xF9, 0xFE}}) {
        GetBmpGlyph(static_cast<uint8_t>(first), static_cast<uint8_t>(second), glyph);
        EXPECT_EQ(glyph[0], 0x5A) << std::hex << first;
    }
}

TEST_F(BitmapFonts, MissingFilesLeaveTablesAsTheyWere) {
    TScriptedUIServices ui;
    TUIServicesGuard guard(&ui);
    std::string hanja;
    for (int k = 0; k < 4888; ++k)
        hanja += NamedGlyph(k + 1);
    FFolder.Write("hanja.fnt", hanja);
    LoadFonts(FFolder.Path(), "a", "b", "c", "d", "hanja.fnt");
    TBmpGlyph glyph;
    GetBmpGlyph(0xF9, 0xFE, glyph);
    EXPECT_EQ(NameOf(glyph), 4888);

    std::filesystem::remove(FFolder.File("hanja.fnt"));
    LoadFonts(FFolder.Path(), "a", "b", "c", "d", "hanja.fnt");
    GetBmpGlyph(0xF9, 0xFE, glyph);
    EXPECT_EQ(NameOf(glyph), 4888);
    EXPECT_TRUE(ui.Records.empty());
}

TEST_F(BitmapFonts, FontCodesFindTheirSlots) {
    std::string spc, hanja, ksg;
    for (int k = 0; k < 1128; ++k)
        spc += NamedGlyph(k + 1);
    for (int k = 0; k < 4888; ++k)
        hanja += NamedGlyph(k + 1);
    for (int k = 0; k < 256; ++k)
        ksg += NamedGlyph(k + 1);
    ASSERT_TRUE(LoadSpcFont(FFolder.Write("s.spc", spc)));
    ASSERT_TRUE(LoadHanjaFont(FFolder.Write("hanja.fnt", hanja)));
    ASSERT_TRUE(LoadKsgFont(FFolder.Write("k.ksg", ksg)));

    // j: 0-77 for trails 0x31-0x7E, 78-187 for 0x91-0xFE.
    auto slotOf = [](uint8_t lead, uint8_t trail) {
        TBmpGlyph glyph;
        EXPECT_EQ(GetBmpGlyph(lead, trail, glyph), 16);
        return NameOf(glyph) - 1;
    };
    EXPECT_EQ(slotOf(0xD9, 0x31), 0);
    EXPECT_EQ(slotOf(0xD9, 0x7E), 77);
    EXPECT_EQ(slotOf(0xD9, 0x91), 78);
    EXPECT_EQ(slotOf(0xD9, 0xFE), 187);
    EXPECT_EQ(slotOf(0xDA, 0x31), 188);
    EXPECT_EQ(slotOf(0xDE, 0xFE), 1127);
    EXPECT_EQ(slotOf(0xE0, 0x31), 0);
    EXPECT_EQ(slotOf(0xF9, 0xFE), 4887);
    EXPECT_EQ(slotOf(0xD4, 0x80), 0x80);
    EXPECT_EQ(slotOf(0xD4, 0xFF), 0xFF);
    EXPECT_EQ(slotOf(0xD9, 0x80), -1); // no trail position: blank
}

TEST_F(BitmapFonts, ShortSymbolFileMovesItsSecondPart) {
    std::string full, shortFile;
    for (int k = 0; k < 1128; ++k)
        full += NamedGlyph(5000 + k);
    for (int k = 0; k < 1053; ++k)
        shortFile += NamedGlyph(k + 1);
    ASSERT_TRUE(LoadSpcFont(FFolder.Write("full.spc", full)));
    ASSERT_TRUE(LoadSpcFont(FFolder.Write("short.spc", shortFile)));
    auto nameAt = [](int slot) {
        TBmpGlyph glyph;
        GetBmpGlyph(static_cast<uint8_t>(0xD9 + slot / 188),
                    static_cast<uint8_t>(slot % 188 < 78 ? 0x31 + slot % 188 : 0x43 + slot % 188),
                    glyph);
        return NameOf(glyph);
    };
    EXPECT_EQ(nameAt(0), 1);
    EXPECT_EQ(nameAt(162), 163);
    EXPECT_EQ(nameAt(163), 164); // file glyphs 163-187 stay in place
    EXPECT_EQ(nameAt(187), 188);
    EXPECT_EQ(nameAt(188), 164); // and are copied again from slot 188 on
    EXPECT_EQ(nameAt(1077), 1053);
    EXPECT_EQ(nameAt(1078), 5000 + 1078); // previous content
    EXPECT_EQ(nameAt(1127), 5000 + 1127);

    // A file larger than the table fills it and goes no further.
    std::string huge;
    for (int k = 0; k < 1200; ++k)
        huge += NamedGlyph(k + 1);
    ASSERT_TRUE(LoadSpcFont(FFolder.Write("huge.spc", huge)));
    EXPECT_EQ(nameAt(1127), 1128);
}

QImage Canvas(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    image.fill(Untouched);
    return image;
}

// An English font whose glyph for byte c has row r = c ^ r.
std::string PatternedEnglish() {
    std::string data(4096, '\0');
    for (int c = 0; c < 256; ++c)
        for (int r = 0; r < 16; ++r)
            data[c * 16 + r] = static_cast<char>(c ^ r);
    return data;
}

TEST_F(BitmapFonts, PutBmpCharPaintsInkAndPaperExactly) {
    ASSERT_TRUE(LoadEngFont(FFolder.Write("e.eng", PatternedEnglish())));
    QImage image = Canvas(20, 20);
    EXPECT_EQ(PutBmpChar(image, 3, 2, "A", Ink, Paper), 8);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            QRgb expected = Untouched;
            if (x >= 3 && x < 11 && y >= 2 && y < 18) {
                const int row = 'A' ^ (y - 2);
                expected = (row << (x - 3)) & 0x80 ? Ink : Paper;
            }
            ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
        }
}

TEST_F(BitmapFonts, SpaceCodeIsOneNarrowCell) {
    ASSERT_TRUE(LoadEngFont(FFolder.Write("e.eng", PatternedEnglish())));
    QImage image = Canvas(32, 16);
    EXPECT_EQ(PutBmpChar(image, 0, 0, 0x20, 0x20, Ink, Paper), 8);
    for (int x = 8; x < 32; ++x)
        EXPECT_EQ(image.pixel(x, 5), Untouched);
    EXPECT_NE(image.pixel(0, 5), Untouched);
}

TEST_F(BitmapFonts, CellsAreClippedAtEveryEdge) {
    QImage reference = Canvas(48, 48);
    PutBmpChar(reference, 16, 16, 0x88, 0x61, Ink, Paper); // solid block before loading
    for (const auto& [x, y] : {std::pair{-5, 3}, {40, 3}, {3, -7}, {3, 40}, {-20, 3}, {60, 60}}) {
        QImage image = Canvas(48, 48);
        EXPECT_EQ(PutBmpChar(image, x, y, 0x88, 0x61, Ink, Paper), 16);
        for (int py = 0; py < 48; ++py)
            for (int px = 0; px < 48; ++px) {
                const bool inside = px >= x && px < x + 16 && py >= y && py < y + 16;
                ASSERT_EQ(image.pixel(px, py), inside ? Ink : Untouched) << x << "," << y;
            }
    }
}

// Whatever the two bytes, a cell covers exactly its 8 or 16 columns.
TEST_F(BitmapFonts, EveryCodeStaysInsideItsCell) {
    ASSERT_TRUE(LoadEngFont(FFolder.Write("e.eng", PatternedEnglish())));
    QImage image = Canvas(24, 16);
    for (int code = 0; code < 0x10000; ++code) {
        const auto first = static_cast<uint8_t>(code >> 8);
        const int width = PutBmpChar(image, 0, 0, first, static_cast<uint8_t>(code), Ink, Paper);
        ASSERT_EQ(width, first < 0x80 ? 8 : 16) << std::hex << code;
        for (int y = 0; y < 16; ++y)
            for (int x = width; x < 24; ++x)
                ASSERT_EQ(image.pixel(x, y), Untouched) << std::hex << code;
    }
}

TEST_F(BitmapFonts, OtherImageFormatsGetTheSamePixels) {
    ASSERT_TRUE(LoadEngFont(FFolder.Write("e.eng", PatternedEnglish())));
    QImage direct = Canvas(24, 20);
    QImage packed = Canvas(24, 20, QImage::Format_RGB888);
    for (QImage* image : {&direct, &packed}) {
        PutBmpChar(*image, -2, 1, "Z", Ink, Paper);
        PutBmpChar(*image, 6, 3, "\x88\x61", Ink, Paper);
    }
    EXPECT_EQ(packed.convertToFormat(QImage::Format_RGB32), direct);
}

} // namespace
} // namespace ov
