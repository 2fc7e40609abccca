#include "Addressreader.h"

#include "Hexdigits.h"

#include <charconv>
#include <cstdio>

namespace ov {

namespace {

constexpr int MaxHexDigits = 16;

int64_t ReadHexDigits(std::string_view digits) {
    if (digits.empty() || digits.size() > MaxHexDigits)
        return -1;
    uint64_t value = 0;
    for (char c : digits) {
        int digit = HexDigitValue(c);
        if (digit < 0)
            return -1;
        value = value << 4 | uint64_t(digit);
    }
    return static_cast<int64_t>(value);
}

int64_t ReadDecimal(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return -1;
    for (char c : text)
        if (c < '0' || c > '9')
            return -1;
    // The magnitude is read unsigned so that the most negative value reads.
    uint64_t magnitude = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc() || end != text.data() + text.size())
        return -1;
    if (negative)
        return magnitude <= uint64_t(INT64_MAX) + 1 ? static_cast<int64_t>(0 - magnitude) : -1;
    return magnitude <= uint64_t(INT64_MAX) ? static_cast<int64_t>(magnitude) : -1;
}

} // namespace

int64_t ReadAddress(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    for (std::string_view prefix : {"0x", "0X", "$", "x", "X"})
        if (text.starts_with(prefix))
            return ReadHexDigits(text.substr(prefix.size()));
    return ReadDecimal(text);
}

bool IsAcceptedAddress(int64_t address, int64_t fileSize) {
    return address >= 0 && address <= fileSize;
}

int AddressDigits(int64_t fileSize) {
    int digits = 8;
    while (digits < MaxHexDigits && (uint64_t(fileSize) >> (4 * digits)) != 0)
        ++digits;
    return digits;
}

std::string AddressRangeText(int64_t fileSize) {
    const int digits = AddressDigits(fileSize);
    char text[64];
    std::snprintf(text, sizeof text, "0x%0*llX - 0x%0*llX", digits, 0ULL, digits,
                  static_cast<unsigned long long>(fileSize));
    return text;
}

} // namespace ov
