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
// and then looked at from the cache for NUL, CR and LF; the worker checks
// for cancelling and publishes its lines after each block.
constexpr std::uint64_t ScanBlock = 1 << 20;

} // namespace

TMappedLines::TMappedLines(std::unique_ptr<TMappedFile> file, std::int64_t start,
                           std::uint64_t firstPart, std::shared_ptr<TWorkerGate> gate)
    : FFile(std::move(file)), FGate(std::move(gate)) {
    FText = FFile->Data() + start;
    FStartByte = start;
    FSize = static_cast<std::uint64_t>(FFile->Size() - start);
    FEnd = FSize;
    try {
        // Every slot a finished index can need, made now, so that the worker
        // never moves what a reader looks at.
        FChunkSlots = static_cast<std::size_t>((FSize + 2) / ChunkLines + 2);
        FChunks = std::make_unique<std::unique_ptr<std::uint32_t[]>[]>(FChunkSlots);
        FBlockSlots = static_cast<std::size_t>((FSize >> 32) + 1);
        FBlockFirst = std::make_unique<std::atomic<int>[]>(FBlockSlots);
        for (std::size_t i = 0; i < FBlockSlots; ++i)
            FBlockFirst[i].store(i == 0 ? 0 : INT_MAX);
        Add(0);
        Index(std::min(FSize, firstPart));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    Take();
}

TMappedLines::~TMappedLines() {
    FCancel.store(true);
    if (FGate)
        FGate->Wake();
    if (FWorker.joinable())
        FWorker.join();
}

void TMappedLines::Add(std::uint64_t offset) {
    if (FStarts > MaxLines || offset - FLastStart > MaxLineSpan)
        ThrowOutOfMemory();
    const std::size_t chunk = FStarts >> ChunkBits;
    if (chunk >= FChunkSlots)
        ThrowOutOfMemory();
    if (!FChunks[chunk]) {
        // The index must fit in half of what the system can still give.
        const std::uint64_t bytes = (chunk + 1) * ChunkLines * sizeof(std::uint32_t);
        if (std::optional<std::int64_t> available = AvailableMemory();
            available && bytes > static_cast<std::uint64_t>(*available / 2))
            ThrowOutOfMemory();
        FChunks[chunk].reset(new std::uint32_t[ChunkLines]);
    }
    for (std::size_t block = static_cast<std::size_t>(offset >> 32);
         block > 0 && block < FBlockSlots &&
         FBlockFirst[block].load(std::memory_order_relaxed) == INT_MAX;
         --block)
        FBlockFirst[block].store(static_cast<int>(FStarts), std::memory_order_relaxed);
    FChunks[chunk][FStarts & (ChunkLines - 1)] = static_cast<std::uint32_t>(offset);
    ++FStarts;
    FLastStart = offset;
}

bool TMappedLines::Index(std::uint64_t limit) {
    const char* const text = FText;
    if (FEnd == 0) {
        FPublished.store(FStarts, std::memory_order_release);
        FDone.store(true, std::memory_order_release);
        return true;
    }
    while (FScanned < limit) {
        if (FCancel.load(std::memory_order_relaxed))
            return false;
        const std::uint64_t blockStart = FScanned;
        // The first part ends at its limit, however small, so that the
        // worker indexes the rest.
        const std::uint64_t blockEnd = std::min({FEnd, blockStart + ScanBlock, limit});
        const char* const end = text + blockEnd;
        const char* cursor = text + blockStart;
        const bool crs = std::memchr(cursor, '\r', static_cast<std::size_t>(end - cursor)) != nullptr;
        bool last = false;
        while (cursor < end) {
            const char* eol;
            const char* lf = static_cast<const char*>(
                std::memchr(cursor, '\n', static_cast<std::size_t>(end - cursor)));
            if (!crs) {
                eol = lf;
            } else {
                const char* cr = static_cast<const char*>(
                    std::memchr(cursor, '\r', static_cast<std::size_t>((lf ? lf : end) - cursor)));
                eol = cr ? cr : lf;
            }
            if (!eol) {
                cursor = end;
                break;
            }
            cursor = eol + 1;
            // A CR at the block's end may pair with an LF beyond it; the byte
            // after the text is the zero guard, never an LF.
            if (*eol == '\r' && *cursor == '\n' && cursor < text + FEnd)
                ++cursor;
            if (cursor >= text + FEnd) {
                last = true;
                break;
            }
            Add(static_cast<std::uint64_t>(cursor - text));
        }
        FScanned = last ? FEnd : static_cast<std::uint64_t>(cursor - text);
        // A file cut short reads as zeros past its new end: the index ends
        // there rather than count the vanished part as one long line.
        if (StopAtShrunkEnd() || FScanned >= FEnd) {
            if (FLastStart < FEnd)
                Add(FEnd);
            FPublished.store(FStarts, std::memory_order_release);
            FDone.store(true, std::memory_order_release);
            return true;
        }
        FPublished.store(FStarts, std::memory_order_release);
        FScannedShown.store(FScanned, std::memory_order_relaxed);
    }
    return true;
}

bool TMappedLines::StopAtShrunkEnd() {
    const std::int64_t now = FFile->CurrentSize() - FStartByte;
    if (now < 0 || static_cast<std::uint64_t>(now) >= FEnd)
        return false;
    // Lines found past the new end, not yet published, go; a published line
    // start past it (the file shrank between the size check and the
    // publishing) ends the index there instead.
    const std::uint64_t shrunk = static_cast<std::uint64_t>(now);
    if (FScanned < shrunk) {
        FEnd = shrunk; // the scan goes on up to there
        return false;
    }
    const std::size_t published = FPublished.load(std::memory_order_relaxed);
    while (FStarts > std::max<std::size_t>(published, 1) && Offset(static_cast<int>(FStarts - 1)) > shrunk)
        --FStarts;
    FLastStart = Offset(static_cast<int>(FStarts - 1));
    for (std::size_t block = 1; block < FBlockSlots; ++block)
        if (FBlockFirst[block].load(std::memory_order_relaxed) >= static_cast<int>(FStarts))
            FBlockFirst[block].store(INT_MAX, std::memory_order_relaxed);
    FEnd = std::max(shrunk, FLastStart);
    FScanned = FEnd;
    return true;
}

void TMappedLines::StartRest() {
    if (FDone.load() || FWorker.joinable())
        return;
    FWorker = std::thread([this] { IndexRest(); });
}

void TMappedLines::IndexRest() {
    if (FGate)
        FGate->Pass(FCancel);
    try {
        Index(FEnd);
    } catch (...) {
        // The lines found so far stay; Take tells the owner.
        FFailed.store(true);
        FDone.store(true, std::memory_order_release);
    }
}

bool TMappedLines::Take() {
    const std::size_t published = FPublished.load(std::memory_order_acquire);
    // Every published start but the last begins a whole line; a finished
    // index's last start is the end of the text.
    const int count = published > 0 ? static_cast<int>(published - 1) : 0;
    const bool grew = count > FCount;
    FCount = std::max(FCount, count);
    if (FFailed.exchange(false))
        ThrowOutOfMemory();
    return grew;
}

void TMappedLines::Finish() {
    if (!FDone.load())
        StartRest();
    if (FWorker.joinable())
        FWorker.join();
    Take();
}

double TMappedLines::Progress() const {
    return FSize == 0 || FDone.load() ? 1.0 : double(FScannedShown.load()) / double(FSize);
}

} // namespace ov
