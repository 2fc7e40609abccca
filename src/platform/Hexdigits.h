#pragma once
// Hexadecimal digits as people type them: 0-9, a-f and A-F.

namespace ov {

// The value of one digit, or -1 for any other character.
inline int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace ov
