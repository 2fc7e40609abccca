#pragma once
// The lines of a viewed 8-bit file read where the file is mapped: no copy of
// the text, only where each line starts, as 32-bit offsets within blocks of
// 4 GiB (a file of any size costs 4 bytes per line). Lines end as
// TLineSplitter ends them (CR LF, LF, CR; a line end at the very end adds no
// empty line). The mapping is never written: a line may hold NUL bytes,
// which its readers show as blanks (ShownByte in Ovstrings.h).
//
// The text of a line is not NUL-terminated: the byte after it is its line
// end, or the zero after the file's last byte.
//
// A file cut short while it is indexed (a log rotated by copying and
// truncating it) ends the index where the file now ends, within a block of
// the scan; the lines indexed before stay, reading as zeros past that end.
//
// A large file is indexed in two steps: its first part at once, so that the
// first screen can be shown, and the rest by a worker thread (StartRest).
// The lines the worker finds become part of Count only when the owner's
// thread takes them (Take), so that Count never changes under a reader.

#include "Loadpolicy.h"
#include "Mappedfile.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

namespace ov {

class TMappedLines {
public:
    // Indexes the text from byte start of file on (after a byte-order mark),
    // up to about firstPart bytes. EOutOfMemory when the index would not fit
    // in half of the memory the system can still give, or when a line or the
    // line count exceeds what a line list can count. The worker passes gate,
    // when there is one, before it indexes the rest.
    TMappedLines(std::unique_ptr<TMappedFile> file, std::int64_t start,
                 std::uint64_t firstPart = UINT64_MAX, std::shared_ptr<TWorkerGate> gate = {});
    // Stops the worker (within one block of scanning) and waits for it.
    ~TMappedLines();
    TMappedLines(const TMappedLines&) = delete;
    TMappedLines& operator=(const TMappedLines&) = delete;

    // Lines taken so far.
    int Count() const { return FCount; }
    // Bytes of text (after a byte-order mark) when the file was mapped.
    std::uint64_t Bytes() const { return FSize; }
    // True until the whole text is indexed and taken.
    bool Pending() const { return FCount != FinalCount(); }
    // Indexes the rest on a worker thread; nothing when nothing is left.
    void StartRest();
    // Takes the lines the worker has found; true when Count grew.
    // EOutOfMemory, once, when the worker had to stop early (the lines found
    // before stay).
    bool Take();
    // Waits for the worker and takes every line.
    void Finish();
    // How far the index has come, 0 .. 1.
    double Progress() const;

    const char* Text(int line) const { return FText + Offset(line); }
    int Length(int line) const {
        const std::uint64_t start = Offset(line);
        std::uint64_t end = Offset(line + 1);
        // The line end is the one or two bytes before the next start.
        if (end > start && FText[end - 1] == '\n') {
            --end;
            if (end > start && FText[end - 1] == '\r')
                --end;
        } else if (end > start && FText[end - 1] == '\r') {
            --end;
        }
        return static_cast<int>(end - start);
    }

private:
    // The index grows in chunks, never moved once filled: no copy of a
    // growing vector, a bound of one chunk on what is held beyond the
    // lines, and entries a reader may use while the worker adds more.
    static constexpr int ChunkBits = 16;
    static constexpr std::size_t ChunkLines = std::size_t(1) << ChunkBits;

    std::uint64_t Offset(int line) const {
        std::uint64_t block = 0;
        if (FBlockSlots > 1) {
            // Blocks not reached yet hold INT_MAX, above every line.
            while (block + 1 < FBlockSlots &&
                   FBlockFirst[block + 1].load(std::memory_order_relaxed) <= line)
                ++block;
        }
        const auto at = static_cast<std::size_t>(line);
        return block << 32 | FChunks[at >> ChunkBits][at & (ChunkLines - 1)];
    }
    int FinalCount() const {
        return FDone.load(std::memory_order_acquire) ? static_cast<int>(FPublished.load() - 1) : -1;
    }
    void Add(std::uint64_t offset);
    // Scans up to the byte limit; false when it was cancelled.
    bool Index(std::uint64_t limit);
    // When the file now ends before FEnd, FEnd becomes its new end; true
    // when the scan has passed that end, which then ends the index (or the
    // last line start already published, if that lies beyond).
    bool StopAtShrunkEnd();
    void IndexRest();

    std::unique_ptr<TMappedFile> FFile;
    const char* FText = nullptr;
    std::int64_t FStartByte = 0; // of the text in the file
    std::uint64_t FSize = 0;
    std::uint64_t FEnd = 0; // where the index ends: FSize, or less once the file shrank (indexer)
    std::uint64_t FScanned = 0; // the next byte to look at (worker)
    std::atomic<std::uint64_t> FScannedShown{0}; // the same, for Progress
    // Line starts (the low 32 bits of their offsets); the last entry of a
    // finished index is the end of the text.
    std::unique_ptr<std::unique_ptr<std::uint32_t[]>[]> FChunks;
    std::size_t FChunkSlots = 0;
    std::size_t FStarts = 0;                 // entries written (worker)
    std::atomic<std::size_t> FPublished{0};  // entries a reader may use
    std::uint64_t FLastStart = 0;
    // The first line of each 4 GiB block.
    std::unique_ptr<std::atomic<int>[]> FBlockFirst;
    std::size_t FBlockSlots = 0;
    std::atomic<bool> FDone{false};
    std::atomic<bool> FFailed{false};
    std::atomic<bool> FCancel{false};
    std::shared_ptr<TWorkerGate> FGate;
    std::thread FWorker;
    int FCount = 0;
};

} // namespace ov
