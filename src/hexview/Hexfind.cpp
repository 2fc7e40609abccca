#include "Hexfind.h"

#include "Files.h"
#include "Hexdigits.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace ov {

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == ':' || c == '-' || c == ',';
}

unsigned char Fold(unsigned char byte) {
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 'a' + 'A') : byte;
}

bool SameBytes(const char* a, std::string_view pattern, bool caseSensitive) {
    for (size_t k = 0; k < pattern.size(); ++k) {
        const auto x = static_cast<unsigned char>(a[k]);
        const auto y = static_cast<unsigned char>(pattern[k]);
        if (caseSensitive ? x != y : Fold(x) != Fold(y))
            return false;
    }
    return true;
}

// The matches of pattern in block, lowest first (forward) or highest first,
// among starts first .. last; -1 when none.
int64_t ScanBlock(const std::vector<char>& block, int64_t length, std::string_view pattern,
                  bool caseSensitive, int64_t first, int64_t last, bool backward) {
    const auto size = static_cast<int64_t>(pattern.size());
    last = std::min(last, length - size);
    const auto matches = [&](int64_t at) {
        for (int64_t k = 0; k < size; ++k) {
            const auto a = static_cast<unsigned char>(block[size_t(at + k)]);
            const auto b = static_cast<unsigned char>(pattern[size_t(k)]);
            if (caseSensitive ? a != b : Fold(a) != Fold(b))
                return false;
        }
        return true;
    };
    if (!backward) {
        for (int64_t at = std::max<int64_t>(first, 0); at <= last; ++at)
            if (matches(at))
                return at;
    } else {
        for (int64_t at = last; at >= std::max<int64_t>(first, 0); --at)
            if (matches(at))
                return at;
    }
    return -1;
}

} // namespace

std::optional<std::string> ParseHexBytes(std::string_view text) {
    std::string bytes;
    size_t p = 0;
    while (p < text.size()) {
        if (IsSeparator(text[p])) {
            ++p;
            continue;
        }
        if (text.substr(p, 2) == "0x" || text.substr(p, 2) == "0X")
            p += 2;
        size_t end = p;
        while (end < text.size() && HexDigitValue(text[end]) >= 0)
            ++end;
        if (end == p || (end - p) % 2 != 0 || (end < text.size() && !IsSeparator(text[end])))
            return std::nullopt;
        for (; p < end; p += 2)
            bytes += static_cast<char>(HexDigitValue(text[p]) * 16 + HexDigitValue(text[p + 1]));
    }
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

int64_t FindBytes(const TReadOnlyFile& file, int64_t size, std::string_view pattern,
                  bool caseSensitive, int64_t from, bool backward, int64_t blockBytes,
                  const std::atomic<bool>* cancel) {
    // Consecutive blocks overlap by the pattern's length less one, so no
    // match is cut by a block's edge.
    const int64_t step = std::max<int64_t>(blockBytes, 1);
    const auto length = static_cast<int64_t>(pattern.size());
    if (length == 0 || size < length)
        return -1;
    const int64_t lastStart = size - length;
    if (!backward && from > lastStart)
        return -1;
    if (backward && from < 0)
        return -1;
    from = std::clamp<int64_t>(from, 0, lastStart);
    std::vector<char> block(size_t(step + length));
    // Each block covers the starts start .. start + step - 1.
    int64_t start = backward ? std::max<int64_t>(from - step + 1, 0) : from;
    for (;;) {
        if (cancel && cancel->load(std::memory_order_relaxed))
            return -1;
        const int64_t want = std::min(step + length - 1, size - start);
        const int64_t got = file.ReadAt(start, block.data(), want);
        if (got < 0)
            return -1;
        const int64_t last = backward ? from - start : step - 1;
        const int64_t hit = ScanBlock(block, got, pattern, caseSensitive, 0, last, backward);
        if (hit >= 0)
            return start + hit;
        if (backward) {
            if (start == 0)
                return -1;
            from = start - 1;
            start = std::max<int64_t>(start - step, 0);
        } else {
            start += step;
            if (start > lastStart || got < want)
                return -1;
        }
    }
}

std::vector<unsigned char> MatchCoverage(std::string_view window, std::string_view pattern,
                                         bool caseSensitive) {
    std::vector<unsigned char> covered(window.size(), 0);
    const size_t length = pattern.size();
    if (length == 0 || window.size() < length)
        return covered;
    // Matches may overlap: a byte is covered while it lies before the end of
    // the last match that began at or before it.
    size_t coveredEnd = 0;
    for (size_t at = 0; at < window.size(); ++at) {
        if (at + length <= window.size() && SameBytes(window.data() + at, pattern, caseSensitive))
            coveredEnd = at + length;
        covered[at] = at < coveredEnd ? 1 : 0;
    }
    return covered;
}

} // namespace ov
