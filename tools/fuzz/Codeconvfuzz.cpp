// libFuzzer target of the code conversion from CP949 to the font's codes.
// ConvertString keeps single bytes, turns every double-byte character into
// the code ConvertCode gives it, and agrees with IsTrailByte on where the
// characters start; ConvertCode never reads outside its tables.

#include "Codeconv.h"
#include "Fuzzsupport.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string converted = text;
    FUZZ_CHECK(ov::ConvertString(converted));
    FUZZ_CHECK(converted.size() == text.size() + 2);
    const std::string padded = text + "  ";
    for (std::size_t p = 0; p < text.size(); ++p) {
        const auto lead = uint8_t(padded[p]);
        if (size <= 2048 || p % 97 == 0) {
            FUZZ_CHECK(!ov::IsTrailByte(text, int(p)) || p > 0);
        }
        if (lead < 0x80) {
            FUZZ_CHECK(converted[p] == padded[p]);
            continue;
        }
        uint16_t code = uint16_t(lead << 8 | uint8_t(padded[p + 1]));
        ov::ConvertCode(code);
        FUZZ_CHECK(uint8_t(converted[p]) == code >> 8);
        FUZZ_CHECK(uint8_t(converted[p + 1]) == (code & 0xFF));
        if (p + 1 < text.size() && (size <= 2048 || p % 97 == 0)) {
            FUZZ_CHECK(!ov::IsTrailByte(text, int(p)));
            FUZZ_CHECK(ov::IsTrailByte(text, int(p + 1)));
        }
        ++p;
    }
    // The two bytes of the input read as one code, whatever they are.
    if (size >= 2) {
        uint16_t code = uint16_t(data[0] << 8 | data[1]);
        const bool changed = ov::ConvertCode(code);
        FUZZ_CHECK(changed || code == uint16_t(data[0] << 8 | data[1]));
    }
    return 0;
}
