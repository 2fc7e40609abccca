// Drawing speed of the bitmap fonts with the generated font files loaded
// (solid blocks when they are missing, which draw at the same speed).

#include "Codeconv.h"
#include "Putbmpfont.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void LoadGeneratedFonts() {
    static const bool loaded =
        ov::LoadFonts(std::string(ORVANE_BIN_DIR) + "/Fonts/", "default.han", "default.eng",
                      "default.ksg", "default.spc", "hanja.fnt");
    (void)loaded;
}

// Font codes of all 11172 syllables, in the order CP949 lists them.
std::vector<uint16_t> HangulCodes() {
    std::vector<uint16_t> codes;
    for (int k = 0; k < ov::UhcToJohabCount; ++k)
        codes.push_back(ov::UhcToJohabTable[k]);
    for (int k = (0xB0 - 0xA1) * 94; k < (0xC9 - 0xA1) * 94; ++k)
        codes.push_back(ov::KsToJohabTable[k]);
    return codes;
}

void BM_PutBmpCharHangul(benchmark::State& state) {
    LoadGeneratedFonts();
    const std::vector<uint16_t> codes = HangulCodes();
    QImage image(1920, 1080, QImage::Format_RGB32);
    size_t k = 0;
    int x = 0, y = 0;
    for (auto _ : state) {
        const uint16_t code = codes[k++ % codes.size()];
        ov::PutBmpChar(image, x, y, code >> 8, code & 0xFF, 0xFF000000, 0xFFFFFFFF);
        x += 16;
        if (x >= 1920) {
            x = 0;
            y = (y + 16) % 1072;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_PutBmpCharHangul);

void BM_PutBmpCharAscii(benchmark::State& state) {
    LoadGeneratedFonts();
    QImage image(1920, 1080, QImage::Format_RGB32);
    int c = 0x20, x = 0, y = 0;
    for (auto _ : state) {
        ov::PutBmpChar(image, x, y, static_cast<uint8_t>(c), 0, 0xFF000000, 0xFFFFFFFF);
        c = c == 0x7E ? 0x20 : c + 1;
        x += 8;
        if (x >= 1920) {
            x = 0;
            y = (y + 16) % 1072;
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
}
BENCHMARK(BM_PutBmpCharAscii);

// A whole 1920 x 1080 view of Hangul cells: 120 x 68 cells, the last row cut.
void BM_FillScreenWithHangul(benchmark::State& state) {
    LoadGeneratedFonts();
    const std::vector<uint16_t> codes = HangulCodes();
    QImage image(1920, 1080, QImage::Format_RGB32);
    size_t k = 0;
    for (auto _ : state) {
        for (int y = 0; y < 1080; y += 16)
            for (int x = 0; x < 1920; x += 16) {
                const uint16_t code = codes[k++ % codes.size()];
                ov::PutBmpChar(image, x, y, code >> 8, code & 0xFF, 0xFF000000, 0xFFFFFFFF);
            }
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 120 * 68);
}
BENCHMARK(BM_FillScreenWithHangul)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
