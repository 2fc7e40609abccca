#pragma once
// How a Johab Hangul code maps onto the 8 x 4 x 4 part sets of the Hangul font
// file: which initial, vowel and final glyph, and from which set of each. Kept
// apart from the drawing code so that the font generator shares the same
// tables. Indexes 0 mean "no part"; glyph 0 of every set is blank.

#include <cstdint>

namespace ov::hangul {

constexpr int InitialSets = 8, InitialCount = 20;
constexpr int MedialSets = 4, MedialCount = 22;
constexpr int FinalSets = 4, FinalCount = 28;

// By the 5-bit fields of the Johab code (bits 14-10, 9-5, 4-0).
constexpr uint8_t InitialIndex[32] = {0,  0,  1,  2,  3,  4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14,
                                      15, 16, 17, 18, 19, 0, 0, 0, 0, 0, 0, 0,  0,  0,  0,  0};
constexpr uint8_t MedialIndex[32] = {0, 0, 0,  1,  2,  3,  4,  5,  0, 0, 6,  7,  8,  9,  10, 11,
                                     0, 0, 12, 13, 14, 15, 16, 17, 0, 0, 18, 19, 20, 21, 0,  0};
constexpr uint8_t FinalIndex[32] = {0,  0,  1, 2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                    15, 16, 0, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 0,  0};

// Initial set by vowel index, without and with a final.
constexpr uint8_t InitialSetNoFinal[MedialCount] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 3,
                                                    3, 3, 1, 2, 4, 4, 4, 2, 1, 3, 0};
constexpr uint8_t InitialSetWithFinal[MedialCount] = {0, 5, 5, 5, 5, 5, 5, 5, 5, 6, 7,
                                                      7, 7, 6, 6, 7, 7, 7, 6, 6, 7, 5};
// Vowel set by initial index, without and with a final.
constexpr uint8_t MedialSetNoFinal[InitialCount] = {0, 0, 1, 1, 1, 1, 1, 1, 1, 1,
                                                    1, 1, 1, 1, 1, 1, 0, 1, 1, 1};
constexpr uint8_t MedialSetWithFinal[InitialCount] = {0, 2, 3, 3, 3, 3, 3, 3, 3, 3,
                                                      3, 3, 3, 3, 3, 3, 2, 3, 3, 3};
// Final set by vowel index.
constexpr uint8_t FinalSet[MedialCount] = {0, 0, 2, 0, 2, 1, 2, 1, 2, 3, 0,
                                           2, 1, 3, 3, 1, 2, 1, 3, 3, 1, 1};

// One syllable's parts: glyph index and set of each.
struct TParts {
    int Initial, InitialSet;
    int Medial, MedialSet;
    int Final, FinalSet;
};

constexpr TParts PartsOf(uint16_t johab) {
    TParts parts{};
    parts.Initial = InitialIndex[(johab >> 10) & 0x1F];
    parts.Medial = MedialIndex[(johab >> 5) & 0x1F];
    parts.Final = FinalIndex[johab & 0x1F];
    const bool withFinal = parts.Final != 0;
    parts.InitialSet =
        withFinal ? InitialSetWithFinal[parts.Medial] : InitialSetNoFinal[parts.Medial];
    parts.MedialSet =
        withFinal ? MedialSetWithFinal[parts.Initial] : MedialSetNoFinal[parts.Initial];
    parts.FinalSet = ::ov::hangul::FinalSet[parts.Medial];
    return parts;
}

// Johab code of a modern syllable from its Unicode indexes (initial 0-18,
// vowel 0-20, final 0-27): the initial field counts from 2, the vowel fields
// skip the values 8-9, 16-17 and 24-25, the final field skips 18.
constexpr uint16_t JohabOfSyllable(int initial, int vowel, int final) {
    constexpr uint8_t vowelField[21] = {3,  4,  5,  6,  7,  10, 11, 12, 13, 14, 15,
                                        18, 19, 20, 21, 22, 23, 26, 27, 28, 29};
    const int finalField = final == 0 ? 1 : final <= 16 ? final + 1 : final + 2;
    return static_cast<uint16_t>(0x8000 | (initial + 2) << 10 | vowelField[vowel] << 5 |
                                 finalField);
}

} // namespace ov::hangul
