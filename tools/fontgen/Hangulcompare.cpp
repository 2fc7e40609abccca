#include "Cellops.h"
#include "Hangulparts.h"
#include "Hangulsets.h"

#include <algorithm>

namespace ov::fontgen {

namespace {

TCell Compose(const THangulParts& parts, const hangul::TParts& p) {
    return Or(Or(parts.Initial[p.InitialSet][p.Initial], parts.Medial[p.MedialSet][p.Medial]),
              parts.Final[p.FinalSet][p.Final]);
}

// Pixels that at least two parts ink.
TCell SharedInk(const THangulParts& parts, const hangul::TParts& p) {
    const TCell& a = parts.Initial[p.InitialSet][p.Initial];
    const TCell& b = parts.Medial[p.MedialSet][p.Medial];
    const TCell& c = parts.Final[p.FinalSet][p.Final];
    return Or(Or(And(a, b), And(a, c)), And(b, c));
}

} // namespace

std::vector<TCell> SyllablesOf(const TUnifont& font) {
    std::vector<TCell> glyphs;
    for (int s = 0; s < SyllableCount; ++s) {
        const TUnifontGlyph* glyph = font.Find(static_cast<char32_t>(0xAC00 + s));
        if (!glyph || glyph->Width != 16)
            return {};
        glyphs.push_back(glyph->Rows);
    }
    return glyphs;
}

TRecompositionStats CompareRecomposed(const THangulParts& parts,
                                      const std::vector<TCell>& syllables) {
    TRecompositionStats stats;
    long total = 0;
    for (int s = 0; s < SyllableCount; ++s) {
        const hangul::TParts p =
            hangul::PartsOf(hangul::JohabOfSyllable(s / (21 * 28), s / 28 % 21, s % 28));
        const TCell composed = Compose(parts, p);
        const TCell shared = SharedInk(parts, p);
        const TCell& original = syllables[s];
        int different = 0;
        for (int r = 0; r < 16; ++r)
            different += std::popcount(static_cast<uint16_t>(composed[r] ^ original[r]));
        total += different;
        stats.MaxDifferent = std::max(stats.MaxDifferent, different);
        stats.Identical += different == 0;
        stats.SharingInk += Pixels(shared) > 0;
        stats.Colliding += Pixels(Minus(shared, original)) > 0;
        stats.Thickened += IsThickened(composed, original);
    }
    stats.MeanDifferent = static_cast<double>(total) / SyllableCount;
    return stats;
}

std::string SerializeHangulParts(const THangulParts& parts) {
    std::string out;
    auto put = [&out](const TCell& cell) {
        for (uint16_t row : cell) {
            out += static_cast<char>(row >> 8);
            out += static_cast<char>(row & 0xFF);
        }
    };
    for (const auto& set : parts.Initial)
        for (const TCell& cell : set)
            put(cell);
    for (const auto& set : parts.Medial)
        for (const TCell& cell : set)
            put(cell);
    for (const auto& set : parts.Final)
        for (const TCell& cell : set)
            put(cell);
    return out;
}

} // namespace ov::fontgen
