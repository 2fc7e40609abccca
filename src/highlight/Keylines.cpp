#include "Keylines.h"

#include "Codepage.h"
#include "Ovstrings.h"

#include <cstring>

namespace ov {

namespace {

// Keys of the definition files are short; longer names are never asked for.
constexpr std::size_t MaxKeyLength = 32;

std::string UpperKey(std::string_view key) {
    std::string upper(key);
    for (char& c : upper)
        c = AnsiUpperChar(c);
    return upper;
}

} // namespace

TKeyLines::TKeyLines(const TOVStringList& lines) {
    for (int i = 0; i < lines.Count(); ++i) {
        std::string_view line = lines.GetView(i);
        std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals > MaxKeyLength)
            continue;
        FValues.try_emplace(UpperKey(line.substr(0, equals)), line.substr(equals + 1));
    }
}

std::string_view TKeyLines::Value(std::string_view key) const {
    auto found = FValues.find(UpperKey(key));
    return found == FValues.end() ? std::string_view() : found->second;
}

std::size_t CutLength(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    std::size_t length = 0;
    while (length < limit) {
        std::size_t step = IsLeadByte(static_cast<unsigned char>(text[length])) ? 2 : 1;
        if (length + step > limit)
            break;
        length += step;
    }
    return length;
}

void StoreCut(char* buffer, std::size_t size, std::string_view text) {
    std::size_t length = CutLength(text, size - 1);
    if (length > 0)
        std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

} // namespace ov
