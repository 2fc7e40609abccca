#include "Charwidths.h"

#include "Qttextdraw.h"

#include <cstring>

namespace ov {

int TCharWidths::CodedCharAt(std::string_view text, std::size_t p, int& length) const {
    // The only coding besides CP949 is UTF-8; it is decoded once here
    // rather than asked for length and value in two calls.
    char32_t code = 0;
    length = Utf8CharAt(text, p, code);
    return UnicodeWidth(code, UnicodeCells(code));
}

long long TCharWidths::RawWidth(std::string_view text) const {
    long long width = 0;
    if (FMultiByte) {
        int length = 1;
        for (std::size_t p = 0; p < text.size(); p += std::size_t(length)) {
            const auto byte = static_cast<uint8_t>(text[p]);
            length = 1;
            width += byte < 0x80 ? FSingle[byte] : CodedCharAt(text, p, length);
        }
        return width;
    }
    for (std::size_t p = 0; p < text.size();) {
        const auto byte = static_cast<uint8_t>(text[p]);
        if (byte >= 0x80) {
            const auto trail = p + 1 < text.size() ? static_cast<uint8_t>(ShownByte(text[p + 1])) : 0;
            width += DoubleWidth(byte, trail);
            p += 2;
        } else {
            width += FSingle[byte];
            ++p;
        }
    }
    return width;
}

long long TCharWidths::DrawnWidth(std::string_view text) const {
    long long width = 0;
    int length = 1;
    for (std::size_t p = 0; p < text.size(); p += length)
        width += CharAt(text, p, length);
    return width;
}

namespace {

long long CountTabs(std::string_view text) {
    long long tabs = 0;
    const char* end = text.data() + text.size();
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '\t', std::size_t(end - p)))); ++p)
        ++tabs;
    return tabs;
}

} // namespace

long long TCharWidths::WrapEstimate(std::string_view text) const {
    return RawWidth(text) + CountTabs(text) * FTab;
}

long long TBitmapCharWidths::WrapEstimate(std::string_view text) const {
    return ((long long)text.size() + CountTabs(text) * (FTab / 8 - 1)) * 8;
}

TBitmapCharWidths::TBitmapCharWidths(int tabWidth) {
    FSingle.fill(8);
    FTab = tabWidth * 8;
}

TOutlineCharWidths::TOutlineCharWidths(const TQtTextDrawer& drawer, int tabWidth)
    : FDrawer(drawer) {
    for (int byte = 0; byte < 0x80; ++byte)
        FSingle[byte] = drawer.CharWidth(static_cast<uint8_t>(byte), 0);
    FSingle['\t'] = drawer.CharWidth(' ', 0);
    FSingle[0] = FSingle[static_cast<uint8_t>(ShownByte(0))];
    FTab = tabWidth * drawer.CharWidth(' ', 0);
}

int TOutlineCharWidths::DoubleWidth(uint8_t lead, uint8_t trail) const {
    return FDrawer.CharWidth(lead, trail);
}

int TOutlineCharWidths::UnicodeWidth(char32_t code, int cells) const {
    return cells == 0 ? 0 : FDrawer.UnicodeWidth(code);
}

} // namespace ov
