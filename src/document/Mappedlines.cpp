#include "Mappedlines.h"

#include "Errors.h"
#include "System.h"

#include <climits>
#include <cstring>
#include <new>

namespace ov {

namespace {

// Entries beyond this cannot be counted by a line list (an int count, and
// the index's sentinel).
constexpr std::uint64_t MaxLines = INT_MAX - 1;
// The longest line a list stores (as its arena copy would).
constexpr std::uint64_t MaxLineLength = INT_MAX - 8;

std::size_t CountByte(const char* p, const char* end, char byte) {
    std::size_t count = 0;
    while ((p = static_cast<const char*>(std::memchr(p, byte, static_cast<std::size_t>(end - p))))) {
        ++count;
        ++p;
    }
    return count;
}

} // namespace

TMappedLines::TMappedLines(std::unique_ptr<TMappedFile> file, std::int64_t start)
    : FFile(std::move(file)) {
    char* text = FFile->Data() + start;
    const auto size = static_cast<std::uint64_t>(FFile->Size() - start);
    char* const end = text + size;
    FText = text;
    FBlockFirst.push_back(0);
    if (size == 0) {
        FStarts.push_back(0);
        return;
    }
    for (char* p = text; (p = static_cast<char*>(std::memchr(p, 0, static_cast<std::size_t>(end - p))));)
        *p++ = ' ';

    // One line per LF, plus a last line; CR-only text grows the vector.
    const std::uint64_t expected = CountByte(text, end, '\n') + 2;
    if (std::optional<std::int64_t> available = AvailableMemory();
        available && expected * sizeof(std::uint32_t) > static_cast<std::uint64_t>(*available / 2))
        ThrowOutOfMemory();
    try {
        FStarts.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(expected, MaxLines + 1)));
        auto add = [&](std::uint64_t offset) {
            if (FStarts.size() > MaxLines)
                ThrowOutOfMemory();
            while (FBlockFirst.size() <= (offset >> 32))
                FBlockFirst.push_back(static_cast<int>(FStarts.size()));
            FStarts.push_back(static_cast<std::uint32_t>(offset));
        };
        std::uint64_t lineStart = 0;
        add(0);
        const char* p = text;
        const char* nextLF = nullptr; // cached next LF / CR at or after p (end when none)
        const char* nextCR = nullptr;
        while (p < end) {
            if (nextLF < p) {
                nextLF = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
                if (!nextLF)
                    nextLF = end;
            }
            if (nextCR < p) {
                nextCR = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
                if (!nextCR)
                    nextCR = end;
            }
            const char* eol = std::min(nextLF, nextCR);
            if (static_cast<std::uint64_t>(eol - text) - lineStart > MaxLineLength)
                ThrowOutOfMemory();
            if (eol == end)
                break;
            p = eol + 1;
            if (*eol == '\r' && p < end && *p == '\n')
                ++p;
            if (p == end)
                break;
            lineStart = static_cast<std::uint64_t>(p - text);
            add(lineStart);
        }
        add(size);
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    FCount = static_cast<int>(FStarts.size() - 1);
}

} // namespace ov
