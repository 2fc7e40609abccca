#include "Unifonthex.h"

#include <cstdlib>
#include <fstream>

namespace ov::fontgen {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool ParseBits(const std::string& digits, TUnifontGlyph& glyph) {
    if (digits.size() != 32 && digits.size() != 64)
        return false;
    glyph.Width = digits.size() == 32 ? 8 : 16;
    const size_t perRow = digits.size() / 16;
    for (size_t row = 0; row < 16; ++row) {
        unsigned value = 0;
        for (size_t k = 0; k < perRow; ++k) {
            const int digit = HexDigit(digits[row * perRow + k]);
            if (digit < 0)
                return false;
            value = value << 4 | static_cast<unsigned>(digit);
        }
        glyph.Rows[row] = static_cast<uint16_t>(glyph.Width == 8 ? value << 8 : value);
    }
    return true;
}

} // namespace

bool TUnifont::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos || colon == 0)
            continue;
        char* end = nullptr;
        const unsigned long code = std::strtoul(line.c_str(), &end, 16);
        if (end != line.c_str() + colon)
            continue;
        std::string digits = line.substr(colon + 1);
        while (!digits.empty() && (digits.back() == '\r' || digits.back() == ' '))
            digits.pop_back();
        TUnifontGlyph glyph;
        if (ParseBits(digits, glyph))
            FGlyphs[static_cast<char32_t>(code)] = glyph;
    }
    return !FGlyphs.empty();
}

const TUnifontGlyph* TUnifont::Find(char32_t codePoint) const {
    const auto it = FGlyphs.find(codePoint);
    return it == FGlyphs.end() ? nullptr : &it->second;
}

std::string DefaultUnifontPath() {
    const char* overridden = std::getenv("ORVANE_UNIFONT_HEX");
    return overridden && *overridden ? overridden : ORVANE_UNIFONT_HEX;
}

} // namespace ov::fontgen
