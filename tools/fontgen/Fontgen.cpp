// Writes the five bitmap font files of the program from GNU Unifont.
//
//   ov_fontgen UNIFONT.hex OUTPUT-FOLDER [--stats]
//
// default.eng (4096 bytes): Unifont's 8 x 16 glyphs for 0x20-0x7E; every other
//   slot, control characters included, is blank.
// default.spc (36096 bytes) and hanja.fnt (156416 bytes): each KS X 1001 code
//   of the symbol rows 0xA1-0xAC and the Hanja rows 0xCA-0xFD is decoded from
//   CP949 to Unicode and drawn with Unifont's glyph (see Symbolcells.h for how
//   8-pixel glyphs fill a 16-pixel cell). Unassigned codes stay blank.
// default.ksg (8192 bytes): the program's own 128 glyphs (font codes
//   0xD480-0xD4FF, slots 0x80-0xFF): the 32 block elements U+2580-U+259F
//   stretched to the full cell (the shades repeated), then the 96 arrows
//   U+2190-U+21EF.
// default.han (11520 bytes): initial, vowel and final parts recovered from
//   Unifont's 11172 precomposed syllables (Hangulparts.h).
//
// --stats prints how faithfully the Hangul parts recompose the syllables.

#include "Codepage.h"
#include "Hangulparts.h"
#include "Symbolcells.h"
#include "Unifonthex.h"

#include <cstdio>
#include <string>

using namespace ov::fontgen;

namespace {

void PutCell(std::string& out, const TCell& cell) {
    for (uint16_t row : cell) {
        out += static_cast<char>(row >> 8);
        out += static_cast<char>(row & 0xFF);
    }
}

std::string EnglishFont(const TUnifont& font) {
    std::string out(256 * 16, '\0');
    for (int c = 0x20; c <= 0x7E; ++c) {
        const TUnifontGlyph* glyph = font.Find(static_cast<char32_t>(c));
        if (!glyph)
            continue;
        for (int r = 0; r < 16; ++r)
            out[c * 16 + r] = static_cast<char>(glyph->Rows[r] >> 8);
    }
    return out;
}

// 94 cells per KS row, rows first to last, in font-code order.
std::string KsRowsFont(const TUnifont& font, int firstRow, int lastRow) {
    std::string out;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = 0; column < 94; ++column)
            PutCell(out, KsCell(font, row, 0xA1 + column));
    return out;
}

std::string KsgFont(const TUnifont& font) {
    std::string out(128 * 32, '\0');
    for (int k = 0; k < 32; ++k)
        PutCell(out, StretchedCell(font, static_cast<char32_t>(0x2580 + k)));
    for (int k = 0; k < 96; ++k)
        PutCell(out, UnicodeCell(font, static_cast<char32_t>(0x2190 + k)));
    return out;
}

bool WriteFile(const std::string& path, const std::string& data, size_t expected) {
    if (data.size() != expected) {
        std::fprintf(stderr, "%s: %zu bytes instead of %zu\n", path.c_str(), data.size(), expected);
        return false;
    }
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(data.data(), 1, data.size(), out) == data.size();
    return std::fclose(out) == 0 && written;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s UNIFONT.hex OUTPUT-FOLDER [--stats]\n", argv[0]);
        return 2;
    }
    TUnifont font;
    if (!font.Load(argv[1])) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::vector<TCell> syllables = SyllablesOf(font);
    if (syllables.empty()) {
        std::fprintf(stderr, "%s lacks 16 x 16 Hangul syllables\n", argv[1]);
        return 1;
    }
    const THangulParts parts = RecoverHangulParts(syllables);
    if (argc > 3 && std::string(argv[3]) == "--stats") {
        const TRecompositionStats stats = CompareRecomposed(parts, syllables);
        std::printf("identical %d of %d (%.1f %%), mean %.2f differing pixels, max %d; "
                    "parts share ink in %d, collide where the original is blank in %d; "
                    "strokes thickened in %d\n",
                    stats.Identical, SyllableCount, 100.0 * stats.Identical / SyllableCount,
                    stats.MeanDifferent, stats.MaxDifferent, stats.SharingInk, stats.Colliding,
                    stats.Thickened);
    }

    const std::string folder = std::string(argv[2]) + "/";
    const bool ok = WriteFile(folder + "default.han", SerializeHangulParts(parts), 11520) &&
                    WriteFile(folder + "default.eng", EnglishFont(font), 4096) &&
                    WriteFile(folder + "default.ksg", KsgFont(font), 8192) &&
                    WriteFile(folder + "default.spc", KsRowsFont(font, 0xA1, 0xAC), 36096) &&
                    WriteFile(folder + "hanja.fnt", KsRowsFont(font, 0xCA, 0xFD), 156416);
    return ok ? 0 : 1;
}
