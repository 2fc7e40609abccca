#include "Codeconv.h"

namespace ov {

bool ConvertCode(uint16_t& code) {
    if (code == 0)
        return false;
    const unsigned lead = code >> 8;
    const unsigned trail = code & 0xFF;
    if (lead >= 0xA1 && lead <= 0xFE && trail >= 0xA1 && trail <= 0xFE) {
        code = KsToJohabTable[(lead - 0xA1) * 94 + (trail - 0xA1)];
        return true;
    }
    return UhcToJohab(code);
}

// The extension block fills the lead bytes 0x81-0xC6 with trail bytes
// 0x41-0x5A, 0x61-0x7A and 0x81-0xFE (178 per lead), except that from lead
// 0xA1 on only the 84 trails below 0xA1 belong to it. The arithmetic wraps at
// 16 bits on purpose: a trail byte outside those ranges gives a huge index
// that the final range check refuses.
bool UhcToJohab(uint16_t& code) {
    const uint16_t lead = code >> 8;
    const uint16_t trail = code & 0xFF;
    uint16_t offset;
    if (trail >= 0x41 && trail <= 0x5A)
        offset = trail - 0x41;
    else if (trail >= 0x61 && trail <= 0x7A)
        offset = trail - 0x47;
    else
        offset = static_cast<uint16_t>(trail - 0x4D);

    uint16_t index = 0;
    if (lead >= 0x81 && lead <= 0xA0)
        index = static_cast<uint16_t>((lead - 0x81) * 178 + offset);
    else if (lead >= 0xA1 && lead <= 0xC5)
        index = static_cast<uint16_t>((lead - 0xA1) * 84 + 5696 + offset);
    else if (lead == 0xC6 && trail >= 0x41 && trail <= 0x52)
        index = static_cast<uint16_t>(trail + 8739);

    if (index >= UhcToJohabCount)
        return false;
    code = UhcToJohabTable[index];
    return true;
}

bool ConvertString(std::string& text) {
    text += "  ";
    const size_t end = text.size() - 1;
    for (size_t p = 0; p < end; ++p) {
        const auto lead = static_cast<uint8_t>(text[p]);
        if (lead < 0x80)
            continue;
        auto code = static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(text[p + 1]));
        ConvertCode(code);
        text[p] = static_cast<char>(code >> 8);
        text[p + 1] = static_cast<char>(code & 0xFF);
        ++p;
    }
    return true;
}

bool IsTrailByte(std::string_view text, int index) {
    if (index < 0 || static_cast<size_t>(index) >= text.size())
        return false;
    int p = 0;
    while (p < index) {
        if (static_cast<uint8_t>(text[p]) >= 0x80) {
            if (index == p + 1)
                return true;
            p += 2;
        } else {
            ++p;
        }
    }
    return false;
}

} // namespace ov
