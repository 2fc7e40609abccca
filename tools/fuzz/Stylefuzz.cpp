// libFuzzer target of the .sty reader and the colour codes. A colour code
// either reads as a colour or throws the conversion error; a colour written
// as a code reads back as itself. Any .sty file loads (or reports a bad
// code), and the colours loaded, saved and loaded again are the same.

#include "Errors.h"
#include "Files.h"
#include "Fuzzsupport.h"
#include "Ovsynlangstyle.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

namespace {

bool SameColors(const ov::TOVSynLangStyle& a, const ov::TOVSynLangStyle& b) {
    for (int i = 0; i < ov::StyleCount; ++i)
        if (a.Colors[i].Fore != b.Colors[i].Fore || a.Colors[i].Back != b.Colors[i].Back)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string code = provider.ConsumeRandomLengthString(12);
    try {
        const ov::TColor color = ov::HexCodeToColor(code);
        FUZZ_CHECK(color <= 0xFFFFFF);
        FUZZ_CHECK(ov::HexCodeToColor(ov::ColorToHexCode(color)) == color);
    } catch (const ov::EConvertError&) {
    }
    const ov::TColor any = provider.ConsumeIntegral<uint32_t>();
    const std::string written = ov::ColorToHexCode(any);
    FUZZ_CHECK(written.size() == 7 && written[0] == '#');
    FUZZ_CHECK(ov::HexCodeToColor(written) == (any & 0xFFFFFF));

    const std::string path = fuzz::Folder() + "Lang.sty";
    ov::WriteWholeFile(path, provider.ConsumeRemainingBytesAsString());
    ov::TOVSynLangStyle style;
    try {
        style.LoadFromFile(path);
    } catch (const ov::EConvertError&) {
        // The styles before the bad code loaded; the rest are defaults.
    }
    for (const ov::TStyleColors& colors : style.Colors)
        FUZZ_CHECK(colors.Fore <= 0xFFFFFF && colors.Back <= 0xFFFFFF);
    const std::string saved = fuzz::Folder() + "Saved.sty";
    FUZZ_CHECK(style.SaveToFile(saved));
    ov::TOVSynLangStyle again;
    again.LoadFromFile(saved);
    FUZZ_CHECK(SameColors(style, again));
    return 0;
}
