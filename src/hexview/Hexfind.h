#pragma once
// Find in the hex view: a string of bytes, typed as hexadecimal digit pairs
// or taken from a text, looked for in a file of any size by reading it in
// blocks, never whole.

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

class TReadOnlyFile;

// The bytes of hexadecimal digit pairs such as "DE AD BE EF", "deadbeef" or
// "DE:AD-BE,EF" (blanks, ':', '-' and ',' may stand between pairs, a "0x"
// before a group is skipped); nothing for an empty text, a character that is
// no digit or separator, or a group with an odd count of digits.
std::optional<std::string> ParseHexBytes(std::string_view text);

// Where pattern begins in the first size bytes of file: the lowest offset
// >= from (forward) or the highest <= from (backward), or -1. Without
// caseSensitive ASCII letters match either case. A read that fails ends the
// search as not found. The file is read blockBytes at a time; a cancel flag
// that comes up (looked at before each block) ends the search as not found.
int64_t FindBytes(const TReadOnlyFile& file, int64_t size, std::string_view pattern,
                  bool caseSensitive, int64_t from, bool backward, int64_t blockBytes = 1 << 20,
                  const std::atomic<bool>* cancel = nullptr);

// For each byte of window, 1 when it lies inside a match of pattern that lies
// wholly within window, else 0 (same case rule as FindBytes). What this marks
// of a stretch of the file is exact when window reaches the pattern's length
// less one beyond that stretch on either side (or to the file's ends).
std::vector<unsigned char> MatchCoverage(std::string_view window, std::string_view pattern,
                                         bool caseSensitive);

} // namespace ov
