#pragma once
// Conversion of CP949 double-byte characters to the font code of the bitmap
// fonts: Johab for Hangul syllables, Johab rows 0xD9-0xDE for the KS X 1001
// symbols, 0xE0-0xF9 for the Hanja, 0xD480-0xD4FF for the program's own KSG
// glyphs and 0x2020 for codes that have no glyph. A font code is stored high
// byte first when it stands in a byte string.

#include <cstdint>
#include <string>
#include <string_view>

namespace ov {

constexpr int KsToJohabCount = 94 * 94;
constexpr int UhcToJohabCount = 8822;

// Font code of every KS X 1001 code, index (lead - 0xA1) * 94 + (trail - 0xA1).
extern const uint16_t KsToJohabTable[KsToJohabCount];
// Johab codes of the 8822 Hangul syllables outside KS X 1001, in syllable order
// (the order of the CP949 extension block).
extern const uint16_t UhcToJohabTable[UhcToJohabCount];

// Replaces a CP949 double-byte code (lead byte in the high byte) by its font
// code. Returns false for 0 and for extension-block codes past the table, which
// are then left unchanged. A malformed code outside every lead range becomes the
// first extension syllable, so it still draws as a glyph.
bool ConvertCode(uint16_t& code);

// The extension-block part of ConvertCode.
bool UhcToJohab(uint16_t& code);

// Appends two spaces, then replaces every double-byte character of text by its
// font code (high byte first). A lead byte at the very end pairs with the first
// appended space. Single bytes are left alone. Always true.
bool ConvertString(std::string& text);

// True when index is the second byte of a double-byte character of text;
// false for an index outside the text.
bool IsTrailByte(std::string_view text, int index);

} // namespace ov
