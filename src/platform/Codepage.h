#pragma once
// The system code page of the program is always CP949. Everything that turns
// CP949 bytes into Unicode or back goes through here (glibc iconv); nothing
// else in the program talks to iconv.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace ov {

// True for a byte that starts a double-byte CP949 character.
inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// UTF-16 to CP949. A character without a CP949 equivalent becomes '?', as the
// system conversion does with its default character. Lone surrogates also
// become '?'.
std::string AnsiFromWide(std::u16string_view text);

// CP949 to UTF-16. A byte sequence that is not valid CP949 yields U+FFFD per
// offending byte; the rest of the text is still converted.
std::u16string WideFromAnsi(std::string_view text);
// WideFromAnsi into out, which has room for text.size() units (no CP949 text
// gives more units than bytes). Returns the number of units written.
std::size_t WideFromAnsiTo(std::string_view text, char16_t* out);

// UTF-8 (the encoding of the program's own source texts) to CP949 and back.
std::string AnsiFromUtf8(std::string_view text);
std::string Utf8FromAnsi(std::string_view text);
// Text of unknown origin to UTF-8: well-formed UTF-8 stays as it is, anything
// else is taken as CP949 (text written by older versions of the program or
// by tools of the code page).
std::string Utf8FromUtf8OrAnsi(std::string_view text);

// The CP949 double-byte code (lead byte in the high byte) of a Unicode
// character, or 0 when it has none (ASCII has single-byte codes and gives 0
// too). Where several codes give the character, the lowest is taken. The
// table behind it is made on first use (a few milliseconds) and then shared.
uint16_t Cp949CodeOf(char32_t code);

// Comparisons standing in for the system's string comparisons. Letters sort
// without regard to case first ("apple" before "Zebra"); texts that differ
// only in case put the small letter first; bytes >= 0x80 compare by value,
// after ASCII. A list sorted by AnsiCompare is therefore also in order for a
// binary search with AnsiCompareText. Result < 0, 0, > 0; 0 only for equal
// texts.
int AnsiCompare(const char* a, const char* b);
// As AnsiCompare, but ASCII letters compare without regard to case. The
// second byte of a double-byte character is never case-folded: many CP949
// characters end in a byte that reads as an ASCII letter.
int AnsiCompareText(const char* a, const char* b);
// Equality under AnsiCompareText's rule, for texts of known length.
bool AnsiSameText(std::string_view a, std::string_view b);
// Upper-cases ASCII letters in place; other bytes, including both bytes of a
// double-byte character, are left alone.
void AnsiUpperInPlace(char* text);
// One byte on its own: knows nothing of double-byte characters, so callers
// that walk text must skip the byte after a lead byte themselves.
char AnsiUpperChar(char c);

} // namespace ov
