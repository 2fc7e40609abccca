#pragma once
// Recovery of an 8 x 4 x 4 Hangul part font (initials, vowels and finals in
// the sets the drawing code chooses) from a font of the 11172 precomposed
// syllables, such as Unifont's, and measurement of how well the parts
// recompose the original syllables.

#include "Unifonthex.h"

#include <string>
#include <vector>

namespace ov::fontgen {

constexpr int SyllableCount = 11172;

struct THangulParts {
    TCell Initial[8][20]{};
    TCell Medial[4][22]{};
    TCell Final[4][28]{};
};

struct TRecompositionStats {
    int Identical = 0;        // syllables recomposed pixel for pixel
    double MeanDifferent = 0; // differing pixels per syllable
    int MaxDifferent = 0;
    int SharingInk = 0; // syllables in which two parts ink the same pixel
    int Colliding = 0;  // ... a pixel that the original leaves blank
    int Thickened = 0;  // syllables with a stroke twice as thick as the original's
};

// Syllable glyphs in Unicode order (U+AC00 + index); empty when the font lacks
// any of them or one is not 16 pixels wide.
std::vector<TCell> SyllablesOf(const TUnifont& font);

// Derives the parts: first estimates built from intersections of syllables
// that share a part, then rounds that refit each part to the syllables using
// it while the others stay fixed. No two parts of a syllable ink the same
// pixel where the original syllable is blank. Glyph 0 of every set stays
// blank.
THangulParts RecoverHangulParts(const std::vector<TCell>& syllables);

// Composes every syllable from parts and compares it with the original.
TRecompositionStats CompareRecomposed(const THangulParts& parts,
                                      const std::vector<TCell>& syllables);

// The 11520-byte file layout: initial sets 0-7, vowel sets 0-3, final sets 0-3.
std::string SerializeHangulParts(const THangulParts& parts);

} // namespace ov::fontgen
