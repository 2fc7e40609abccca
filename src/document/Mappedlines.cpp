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
// The longest line a list stores (as its arena copy would), line end included.
constexpr std::uint64_t MaxLineSpan = INT_MAX - 8 + 2;
// The text is scanned a block at a time, each block read from memory once
// and then looked at from the cache for NUL, CR and LF.
constexpr std::uint64_t ScanBlock = 1 << 20;

} // namespace

TMappedLines::TMappedLines(std::unique_ptr<TMappedFile> file, std::int64_t start)
    : FFile(std::move(file)) {
    char* text = FFile->Data() + start;
    FText = text;
    FBlockFirst.push_back(0);
    try {
        Index(text, static_cast<std::uint64_t>(FFile->Size() - start));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    FCount = static_cast<int>(FStarts - 1);
}

void TMappedLines::Add(std::uint64_t offset) {
    if (FStarts > MaxLines || offset - FLastStart > MaxLineSpan)
        ThrowOutOfMemory();
    if (FStarts == FChunks.size() * ChunkLines) {
        // The index must fit in half of what the system can still give.
        const std::uint64_t bytes = (FChunks.size() + 1) * ChunkLines * sizeof(std::uint32_t);
        if (std::optional<std::int64_t> available = AvailableMemory();
            available && bytes > static_cast<std::uint64_t>(*available / 2))
            ThrowOutOfMemory();
        FChunks.emplace_back(new std::uint32_t[ChunkLines]);
    }
    while (FBlockFirst.size() <= (offset >> 32))
        FBlockFirst.push_back(static_cast<int>(FStarts));
    FChunks[FStarts >> ChunkBits][FStarts & (ChunkLines - 1)] = static_cast<std::uint32_t>(offset);
    ++FStarts;
    FLastStart = offset;
}

void TMappedLines::Index(char* text, std::uint64_t size) {
    Add(0);
    if (size == 0)
        return;
    std::uint64_t p = 0; // the next byte to look at
    for (std::uint64_t blockStart = 0; blockStart < size && p < size; blockStart += ScanBlock) {
        const std::uint64_t blockEnd = std::min(size, blockStart + ScanBlock);
        for (char* nul = text + blockStart;
             (nul = static_cast<char*>(std::memchr(nul, 0, static_cast<std::size_t>(text + blockEnd - nul))));)
            *nul++ = ' ';
        if (p >= blockEnd)
            continue; // a CR LF that ended the last block took this one's first byte
        const char* const end = text + blockEnd;
        const char* cursor = text + p;
        const bool crs = std::memchr(cursor, '\r', static_cast<std::size_t>(end - cursor)) != nullptr;
        while (cursor < end) {
            const char* eol;
            if (!crs) {
                eol = static_cast<const char*>(std::memchr(cursor, '\n', static_cast<std::size_t>(end - cursor)));
            } else {
                const char* lf = static_cast<const char*>(std::memchr(cursor, '\n', static_cast<std::size_t>(end - cursor)));
                const char* cr = static_cast<const char*>(std::memchr(cursor, '\r', static_cast<std::size_t>((lf ? lf : end) - cursor)));
                eol = cr ? cr : lf;
            }
            if (!eol) {
                cursor = end;
                break;
            }
            cursor = eol + 1;
            // A CR at the block's end may pair with an LF beyond it; the byte
            // after the text is the zero guard, never an LF.
            if (*eol == '\r' && *cursor == '\n' && cursor < text + size)
                ++cursor;
            if (cursor >= text + size)
                break;
            Add(static_cast<std::uint64_t>(cursor - text));
        }
        p = static_cast<std::uint64_t>(cursor - text);
    }
    Add(size);
}

} // namespace ov
