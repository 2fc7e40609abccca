#pragma once
// Reading and checking the byte address typed into the go-to-address
// dialog. Addresses are 64-bit: the hex view shows files of any size.

#include <cstdint>
#include <string>
#include <string_view>

namespace ov {

// The typed text as a signed 64-bit number, or -1 when it does not read:
// optional leading blanks, then either decimal digits with an optional sign,
// or one of the prefixes "0x", "0X", "$", "x", "X" and 1 to 16 hexadecimal
// digits of either case (no sign; 16 digits with the top bit set read as a
// negative number). Nothing may follow the digits; an empty text and a
// decimal number outside the signed 64-bit range do not read.
int64_t ReadAddress(std::string_view text);

// An address the dialog accepts: 0 up to and including fileSize. -1 and
// every other negative value are refused.
bool IsAcceptedAddress(int64_t address, int64_t fileSize);

// The number of hexadecimal digits the dialog shows for a file: as many as
// fileSize needs, at least 8.
int AddressDigits(int64_t fileSize);

// "0x00000000 - 0x00001000" for a file of 4096 bytes: both ends in upper
// case with AddressDigits digits; the upper end is the size itself.
std::string AddressRangeText(int64_t fileSize);

} // namespace ov
