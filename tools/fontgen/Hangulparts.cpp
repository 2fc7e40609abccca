#include "Hangulparts.h"

#include "Cellops.h"
#include "Hangulsets.h"

#include <algorithm>
#include <array>
#include <bit>
#include <map>

namespace ov::fontgen {

namespace {

// Unicode initial indexes of the two consonants whose vowels take their own
// sets (0 and 2): ㄱ and ㅋ.
constexpr int KiyeokL = 0, KhieukhL = 15;

struct TSyllable {
    int L, V, T; // Unicode indexes
    hangul::TParts Parts;
};

// The most frequent cell; ties go to the one with less ink, so a stray
// stroke of another part is not kept by chance.
TCell Mode(const std::vector<TCell>& cells) {
    std::map<TCell, int> counts;
    for (const TCell& c : cells)
        ++counts[c];
    TCell best{};
    int bestCount = 0;
    for (const auto& [cell, count] : counts) {
        if (count > bestCount || (count == bestCount && Pixels(cell) < Pixels(best))) {
            best = cell;
            bestCount = count;
        }
    }
    return best;
}

std::vector<TSyllable> AllSyllables() {
    std::vector<TSyllable> list;
    list.reserve(SyllableCount);
    for (int s = 0; s < SyllableCount; ++s) {
        const int l = s / (21 * 28), v = s / 28 % 21, t = s % 28;
        list.push_back({l, v, t, hangul::PartsOf(hangul::JohabOfSyllable(l, v, t))});
    }
    return list;
}

bool IsKiyeokLike(int l) {
    return l == KiyeokL || l == KhieukhL;
}

class TRecovery {
public:
    explicit TRecovery(const std::vector<TCell>& glyphs) : FGlyphs(glyphs), FList(AllSyllables()) {}

    THangulParts Run() {
        MarkLengthenedVowels();
        EstimateMedialsAwayFromKiyeok();
        EstimateFinals();
        EstimateInitials();
        EstimateMedialsAfterKiyeok();
        // The estimates follow the structure of the syllables; the rounds then
        // fit each part to every syllable that uses it, and the last two steps
        // remove ink that two parts would draw twice.
        for (int round = 0; round < 3; ++round)
            RefineRound();
        DropRedundantPixels();
        SettleOverlaps();
        return FParts;
    }

private:
    const TCell& Glyph(int l, int v, int t) const { return FGlyphs[(l * 21 + v) * 28 + t]; }

    // Unifont draws some vowels one row longer before a final ㄴ (and its
    // clusters): ink that the syllable with final ㄱ lacks starts above the
    // rows of that ㄱ. Those syllables would spoil the intersections.
    void MarkLengthenedVowels() {
        FLengthened.assign(SyllableCount, false);
        for (int v = 0; v < 21; ++v)
            for (int l = 0; l < 19; ++l)
                for (int t : {4, 5, 6}) {
                    const TCell& withKiyeok = Glyph(l, v, 1);
                    const int extraTop = TopRow(Minus(Glyph(l, v, t), withKiyeok));
                    const int kiyeokTop = TopRow(Minus(withKiyeok, Glyph(l, v, 0)));
                    FLengthened[(l * 21 + v) * 28 + t] = extraTop < kiyeokTop;
                }
    }

    static int TopRow(const TCell& cell) {
        for (int r = 0; r < 16; ++r)
            if (cell[r])
                return r;
        return 16;
    }

    bool Lengthened(int l, int v, int t) const { return FLengthened[(l * 21 + v) * 28 + t]; }

    // Vowel sets 1 and 3: the intersection over initials other than ㄱ and ㅋ
    // (and, with a final, over the finals) leaves the vowel alone.
    void EstimateMedialsAwayFromKiyeok() {
        for (int v = 0; v < 21; ++v) {
            TCell open = Full(), closed = Full();
            for (int l = 1; l < 19; ++l) {
                if (IsKiyeokLike(l))
                    continue;
                open = And(open, Glyph(l, v, 0));
                for (int t = 1; t < 28; ++t)
                    if (!Lengthened(l, v, t))
                        closed = And(closed, Glyph(l, v, t));
            }
            FParts.Medial[1][v + 1] = open;
            FParts.Medial[3][v + 1] = closed;
        }
    }

    // A final of set c: per vowel of set c, the intersection over initials
    // less the vowel drawn above it; the most frequent result wins.
    void EstimateFinals() {
        for (int c = 0; c < 4; ++c) {
            for (int t = 1; t < 28; ++t) {
                std::vector<TCell> candidates;
                for (int v = 0; v < 21; ++v) {
                    if (hangul::FinalSet[v + 1] != c)
                        continue;
                    TCell common = Full();
                    bool any = false;
                    for (int l = 0; l < 19; ++l) {
                        if (Lengthened(l, v, t))
                            continue;
                        common = And(common, Glyph(l, v, t));
                        any = true;
                    }
                    if (any)
                        candidates.push_back(Minus(common, FParts.Medial[3][v + 1]));
                }
                FParts.Final[c][t] = Mode(candidates);
            }
        }
    }

    // Ink that every initial other than ㄱ and ㅋ shares before this vowel and
    // final: the vowel and the final.
    TCell SharedByInitials(int v, int t) const {
        TCell common = Full();
        for (int l = 0; l < 19; ++l)
            if (!IsKiyeokLike(l))
                common = And(common, Glyph(l, v, t));
        return common;
    }

    // An initial of set s: the most frequent "syllable less vowel and final"
    // over the vowels that choose set s. ㄱ and ㅋ, whose vowels are not known
    // yet, take the intersection instead. Set 7 looks at ㅝ, ㅞ and ㅟ only.
    void EstimateInitials() {
        for (int s = 0; s < 8; ++s) {
            for (int l = 0; l < 19; ++l) {
                std::vector<TCell> candidates;
                TCell common = Full();
                for (const TSyllable& syl : FList) {
                    if (syl.L != l || syl.Parts.InitialSet != s)
                        continue;
                    if (s == 7 && (syl.V < 14 || syl.V > 16))
                        continue;
                    const TCell& glyph = Glyph(syl.L, syl.V, syl.T);
                    const TCell final = FParts.Final[syl.Parts.FinalSet][syl.T];
                    if (s == 7) {
                        // Unlike the vowel estimates, this keeps the bar of ㅜ
                        // out of the initial: every initial has it.
                        candidates.push_back(Minus(glyph, SharedByInitials(syl.V, syl.T)));
                        continue;
                    }
                    if (IsKiyeokLike(l)) {
                        common = And(common, Minus(glyph, final));
                    } else {
                        const TCell& medial = FParts.Medial[syl.Parts.MedialSet][syl.V + 1];
                        candidates.push_back(Minus(Minus(glyph, medial), final));
                    }
                }
                FParts.Initial[s][l + 1] =
                    IsKiyeokLike(l) && candidates.empty() ? common : Mode(candidates);
            }
        }
    }

    // Vowel sets 0 and 2 (after ㄱ and ㅋ): what ㄱ and ㅋ syllables share
    // once their initial and final are taken away.
    void EstimateMedialsAfterKiyeok() {
        for (int v = 0; v < 21; ++v) {
            TCell open = Full(), closed = Full();
            for (const TSyllable& syl : FList) {
                if (syl.V != v || !IsKiyeokLike(syl.L) || Lengthened(syl.L, syl.V, syl.T))
                    continue;
                const TCell& glyph = Glyph(syl.L, syl.V, syl.T);
                const TCell rest =
                    Minus(Minus(glyph, FParts.Initial[syl.Parts.InitialSet][syl.L + 1]),
                          FParts.Final[syl.Parts.FinalSet][syl.T]);
                if (syl.T == 0)
                    open = And(open, rest);
                else
                    closed = And(closed, rest);
            }
            FParts.Medial[0][v + 1] = open;
            FParts.Medial[2][v + 1] = closed;
        }
    }

    // Calls step(part, uses) for every part that the rounds may change, where
    // uses(syllable) tells whether the syllable is drawn with the part. Initial
    // set 7 stays as estimated: fitted to all its vowels it would settle at
    // the height Unifont gives it before ㅘ, ㅙ, ㅚ and ㅢ, where it runs into
    // the bar of ㅝ, ㅞ and ㅟ.
    template <class TStep> void ForEachPart(TStep step) {
        for (int s = 0; s < 7; ++s)
            for (int i = 1; i < 20; ++i)
                step(FParts.Initial[s][i], [s, i](const TSyllable& syl) {
                    return syl.Parts.InitialSet == s && syl.Parts.Initial == i;
                });
        for (int s = 0; s < 4; ++s)
            for (int m = 1; m < 22; ++m)
                step(FParts.Medial[s][m], [s, m](const TSyllable& syl) {
                    return syl.Parts.MedialSet == s && syl.Parts.Medial == m;
                });
        for (int s = 0; s < 4; ++s)
            for (int f = 1; f < 28; ++f)
                step(FParts.Final[s][f], [s, f](const TSyllable& syl) {
                    return syl.Parts.FinalSet == s && syl.Parts.Final == f;
                });
    }

    void RefineRound() {
        ForEachPart([this](TCell& part, auto uses) { Refine(part, uses); });
    }

    void DropRedundantPixels() {
        ForEachPart([this](TCell& part, auto uses) { DropRedundant(part, uses); });
    }

    struct TContext {
        const TCell* Target;
        TCell Others;
    };

    struct TScore {
        int Identical = -1;
        int Thickened = 0;
        long Different = 0;
        long Overlapping = 0;
        bool operator<(const TScore& o) const {
            if (Identical != o.Identical)
                return Identical < o.Identical;
            if (Thickened != o.Thickened)
                return Thickened > o.Thickened;
            if (Different != o.Different)
                return Different > o.Different;
            return Overlapping > o.Overlapping;
        }
    };

    TScore Score(const TCell& candidate, const std::vector<TContext>& contexts) const {
        TScore score{0, 0, 0, 0};
        for (const TContext& c : contexts) {
            score.Thickened += IsThickened(Or(candidate, c.Others), *c.Target);
            int different = 0;
            for (int r = 0; r < 16; ++r) {
                score.Overlapping +=
                    std::popcount(static_cast<uint16_t>(candidate[r] & c.Others[r]));
                different += std::popcount(
                    static_cast<uint16_t>((candidate[r] | c.Others[r]) ^ (*c.Target)[r]));
            }
            score.Identical += different == 0;
            score.Different += different;
        }
        return score;
    }

    std::array<TCell*, 3> PartsUsedBy(const TSyllable& syl) {
        return {&FParts.Initial[syl.Parts.InitialSet][syl.Parts.Initial],
                &FParts.Medial[syl.Parts.MedialSet][syl.Parts.Medial],
                &FParts.Final[syl.Parts.FinalSet][syl.Parts.Final]};
    }

    // Syllables that would lose pixel (r, bit) if part gave it up.
    int LossIfRemoved(const TCell* part, int r, uint16_t bit) {
        int loss = 0;
        for (const TSyllable& syl : FList) {
            const auto used = PartsUsedBy(syl);
            if (used[0] != part && used[1] != part && used[2] != part)
                continue;
            if (!(Glyph(syl.L, syl.V, syl.T)[r] & bit))
                continue;
            bool elsewhere = false;
            for (const TCell* other : used)
                if (other != part && ((*other)[r] & bit))
                    elsewhere = true;
            if (!elsewhere)
                ++loss;
        }
        return loss;
    }

    // Where two parts of a syllable ink the same pixel and the syllable is
    // blank there, the strokes would run into each other: the part whose
    // syllables miss that pixel least gives it up. Parts may still share a
    // pixel where Unifont's own strokes touch.
    void SettleOverlaps() {
        for (const TSyllable& syl : FList) {
            const auto used = PartsUsedBy(syl);
            const TCell& target = Glyph(syl.L, syl.V, syl.T);
            for (int a = 0; a < 3; ++a)
                for (int b = a + 1; b < 3; ++b)
                    for (int r = 0; r < 16; ++r) {
                        const uint16_t shared =
                            (*used[a])[r] & (*used[b])[r] & static_cast<uint16_t>(~target[r]);
                        for (int k = 0; k < 16; ++k) {
                            const uint16_t bit = static_cast<uint16_t>(0x8000 >> k);
                            if (!(shared & bit) || !((*used[a])[r] & (*used[b])[r] & bit))
                                continue;
                            TCell* loser =
                                LossIfRemoved(used[a], r, bit) <= LossIfRemoved(used[b], r, bit)
                                    ? used[a]
                                    : used[b];
                            (*loser)[r] &= static_cast<uint16_t>(~bit);
                        }
                    }
        }
    }

    // Drops the pixels of a part that every syllable using it gets from
    // another part anyway.
    template <class TUses> void DropRedundant(TCell& part, TUses uses) {
        TCell alwaysCovered = Full();
        for (const TSyllable& syl : FList)
            if (uses(syl))
                alwaysCovered = And(alwaysCovered, OthersOf(syl, part));
        part = Minus(part, alwaysCovered);
    }

    static TCell MajorityVote(const std::vector<TContext>& contexts) {
        int wantInk[256] = {}, wantBlank[256] = {};
        for (const TContext& c : contexts)
            for (int r = 0; r < 16; ++r)
                for (int b = 0; b < 16; ++b) {
                    const uint16_t bit = static_cast<uint16_t>(0x8000 >> b);
                    if (c.Others[r] & bit)
                        continue;
                    if ((*c.Target)[r] & bit)
                        ++wantInk[r * 16 + b];
                    else
                        ++wantBlank[r * 16 + b];
                }
        TCell vote{};
        for (int r = 0; r < 16; ++r)
            for (int b = 0; b < 16; ++b)
                if (wantInk[r * 16 + b] > wantBlank[r * 16 + b])
                    vote[r] |= static_cast<uint16_t>(0x8000 >> b);
        return vote;
    }

    // The candidates for a part are its present value, the per-pixel majority
    // vote (a pixel is inked when, among the syllables whose other parts leave
    // it blank, more want ink there than not) and, for every syllable using
    // the part, the exact piece that would make that syllable right. The
    // candidate that recomposes the most syllables exactly wins, then the one
    // that leaves the fewest syllables with a stroke drawn twice, then the one
    // with the fewest wrong pixels, then the one that shares the fewest pixels
    // with other parts. Counting pixels alone would prefer a stroke doubled
    // one row apart (where Unifont moves it before some finals) to a stroke
    // one row off, which reads far better.
    template <class TUses> void Refine(TCell& part, TUses uses) {
        std::vector<TContext> contexts;
        for (const TSyllable& syl : FList)
            if (uses(syl))
                contexts.push_back({&Glyph(syl.L, syl.V, syl.T), OthersOf(syl, part)});
        std::vector<TCell> candidates{part, MajorityVote(contexts)};
        for (const TContext& c : contexts)
            candidates.push_back(Minus(*c.Target, c.Others));
        std::sort(candidates.begin(), candidates.end());
        candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

        TCell best{};
        TScore bestScore = Score(best, contexts);
        for (const TCell& candidate : candidates) {
            const TScore score = Score(candidate, contexts);
            if (bestScore < score) {
                best = candidate;
                bestScore = score;
            }
        }
        part = best;
    }

    TCell OthersOf(const TSyllable& syl, const TCell& part) const {
        const TCell* pieces[3] = {&FParts.Initial[syl.Parts.InitialSet][syl.Parts.Initial],
                                  &FParts.Medial[syl.Parts.MedialSet][syl.Parts.Medial],
                                  &FParts.Final[syl.Parts.FinalSet][syl.Parts.Final]};
        TCell r{};
        for (const TCell* piece : pieces)
            if (piece != &part)
                r = Or(r, *piece);
        return r;
    }

    const std::vector<TCell>& FGlyphs;
    std::vector<TSyllable> FList;
    std::vector<bool> FLengthened;
    THangulParts FParts;
};

} // namespace

THangulParts RecoverHangulParts(const std::vector<TCell>& syllables) {
    return TRecovery(syllables).Run();
}

} // namespace ov::fontgen
