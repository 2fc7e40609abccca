#pragma once
// Key=Value lookup over the lines of a definition file. A key is the text
// before a line's first "=", compared without regard to ASCII case; the first
// line with the key wins; the value is the rest of the line, untrimmed.
// Shared by the .syn and .sty readers.

#include <string>
#include <string_view>
#include <unordered_map>

namespace ov {

class TOVStringList;

class TKeyLines {
public:
    // The values are views into lines' texts: lines must outlive this object
    // and stay unchanged.
    explicit TKeyLines(const TOVStringList& lines);

    // Empty when the key is absent.
    std::string_view Value(std::string_view key) const;

private:
    std::unordered_map<std::string, std::string_view> FValues;
};

// The length of text cut to at most limit bytes without splitting a
// double-byte character.
std::size_t CutLength(std::string_view text, std::size_t limit);

// Copies text into a buffer of size bytes, cut with CutLength to size - 1
// bytes, and terminates it.
void StoreCut(char* buffer, std::size_t size, std::string_view text);

} // namespace ov
