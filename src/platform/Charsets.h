#pragma once
// Conversion between any two character sets that glibc iconv knows by name
// ("JOHAB", "CP949", "UTF-8", ...), for tools and tests that check the
// program's own tables against the system's. The program's text itself goes
// through Codepage.h.

#include <optional>
#include <string>
#include <string_view>

namespace ov {

// The whole text converted, or nullopt when a character set is unknown or the
// text has a sequence that cannot be converted.
std::optional<std::string> ConvertCharset(std::string_view text, const char* fromCharset,
                                          const char* toCharset);

} // namespace ov
