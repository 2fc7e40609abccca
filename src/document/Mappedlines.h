#pragma once
// The lines of a viewed 8-bit file read where the file is mapped: no copy of
// the text and no entry for every line, only where every 16th line starts
// (half a byte per line) and where each line longer than 16 KiB ends. The
// lines between are found again from their group's start when asked for,
// and the last group looked up is kept per thread, so that readers walking
// the lines in order (painting, search, copy) look at each byte about once
// more. Lines end as TLineSplitter ends them (CR LF, LF, CR; a line end at
// the very end adds no empty line). The mapping is never written: a line
// may hold NUL bytes, which its readers show as blanks (ShownByte in
// Ovstrings.h).
//
// The text of a line is not NUL-terminated: the byte after it is its line
// end, or the zero after the file's last byte.
//
// A file cut short while it is indexed (a log rotated by copying and
// truncating it) ends the index where the file now ends, within a block of
// the scan; the lines indexed before stay, reading as zeros past that end
// (the short lines of a group then read as one line of zeros and empty
// ones: their ends are no longer in the text).
//
// A large file is indexed in two steps: its first part at once, so that the
// first screen can be shown, and the rest by a worker thread (StartRest).
// The lines the worker finds become part of Count only when the owner's
// thread takes them (Take), so that Count never changes under a reader.
//
// A followed file grows in place (Grow): the slots are made for as far as
// the mapping can grow, the last line is found again with what follows it,
// and the readers' cached groups are dropped, since the last one ended at
// the old end of the text.

#include "Loadpolicy.h"
#include "Mappedfile.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
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
    // Takes what the file has grown by since the whole text was indexed: the
    // mapping grows in place, the last line is found again (a line without
    // its line end yet goes on in what was written after it), and the new
    // lines are indexed like the first part, the rest by the worker. Lines
    // before the last keep their text and place. False, with nothing
    // changed, while the index is still being built, when the file has not
    // grown or was cut short, or when it outgrew what the mapping can take
    // in place (the owner maps the file anew then). EOutOfMemory as the
    // first indexing.
    bool Grow();
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

    // The line's text (see above) and its length without the line end.
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
        // Lines whose ends went with a file cut short may read as one.
        return static_cast<int>(std::min<std::uint64_t>(end > start ? end - start : 0, INT_MAX - 8));
    }

    // The length of the longest line among first .. end - 1 (0 when there
    // are none), for lines taken: 0 <= first <= end <= Count(). The index
    // keeps every group's longest length as it finds the lines, so that a
    // whole group is answered without reading its text; only the lines of
    // the groups cut by the range, and those of groups with a line too long
    // to keep, are read.
    int Longest(int first, int end) const;

    // The lines that share one kept start.
    static constexpr int GroupBits = 4;
    static constexpr std::size_t GroupLines = std::size_t(1) << GroupBits;
    // A line longer than this (its end included) has its end kept, so that
    // finding the lines of its group never reads it whole.
    static constexpr std::uint64_t LongLine = 16 << 10;

private:
    // Entries in chunks that never move once made: a reader uses the
    // published entries while the worker adds more, and what is held beyond
    // the entries is at most one chunk. The slots for every chunk an index
    // can need are made at once.
    template <typename T, int Bits>
    class TChunks {
    public:
        static constexpr std::size_t Size = std::size_t(1) << Bits;
        void Reserve(std::size_t entries) {
            FSlots = entries / Size + 2;
            FChunks = std::make_unique<std::unique_ptr<T[]>[]>(FSlots);
        }
        // The chunk of entry at exists afterwards; false when at is beyond
        // every slot.
        bool Make(std::size_t at) {
            const std::size_t chunk = at >> Bits;
            if (chunk >= FSlots)
                return false;
            if (!FChunks[chunk])
                FChunks[chunk].reset(new T[Size]);
            return true;
        }
        bool Made(std::size_t at) const { return (at >> Bits) < FSlots && FChunks[at >> Bits]; }
        T& operator[](std::size_t at) const { return FChunks[at >> Bits][at & (Size - 1)]; }

    private:
        std::unique_ptr<std::unique_ptr<T[]>[]> FChunks;
        std::size_t FSlots = 0;
    };
    // The end of a line longer than LongLine: where the line after it starts
    // (or the end of the text, after the last line).
    struct TLongLine {
        std::uint64_t Next;
        std::size_t Line;
    };
    // The starts of the lines of one group as a reader's thread found them
    // last: Starts[i] for the group's line i, and the next group's first.
    struct TGroupCache {
        std::uint64_t Owner = 0; // an index's FId; 0 for none
        std::size_t Group = 0;
        std::size_t Known = 0;
        std::uint64_t Starts[GroupLines + 1] = {};
    };
    static constinit thread_local TGroupCache FCache;

    std::uint64_t Offset(int line) const {
        const auto at = static_cast<std::size_t>(line);
        const std::size_t group = at / GroupLines;
        const std::size_t inGroup = at % GroupLines;
        if (inGroup == 0)
            return FGroups[group];
        if (FCache.Owner != FId.load(std::memory_order_relaxed) || FCache.Group != group ||
            inGroup >= FCache.Known)
            FindGroup(group);
        return FCache.Starts[inGroup];
    }
    // Finds the starts of a group's lines into the thread's cache.
    void FindGroup(std::size_t group) const;
    // The kept end of a long line among the first longs; nothing when it
    // is not kept.
    std::optional<std::uint64_t> LongLineEnd(std::size_t line, std::size_t longs) const;
    // The length of the line from start to next (where the line after it
    // starts, or the end of the text) without its line end, as Length reads
    // it.
    int LineLength(std::uint64_t start, std::uint64_t next) const;
    int FinalCount() const {
        return FDone.load(std::memory_order_acquire) ? static_cast<int>(FPublished.load() - 1) : -1;
    }
    // Scans the bytes from .. to - 1 for line ends (the worker).
    void Scan(std::uint64_t from, std::uint64_t to);
    // The same, looking for CRs with Crs; without, it stops before the
    // first 64 bytes that hold a CR and before a last part shorter than 64
    // bytes. Returns where it stopped.
    template <bool Crs> std::uint64_t ScanFor(std::uint64_t from, std::uint64_t to);
    void AddEnds(std::uint64_t at, std::uint64_t ends);
    // The same when every one of the 64 bytes at at ends a line.
    void AddEveryByteEnds(std::uint64_t at);
    // Counts line starts, keeps every group's first (and the longest length
    // of the group it ends), checks the line that ends at next.
    void AddStart(std::uint64_t offset);
    void KeepGroupStart(std::size_t group, std::uint64_t offset);
    [[gnu::noinline]] void MakeGroupChunk(std::size_t group);
    void EndGroup(std::size_t group);
    void EndLine(std::uint64_t next);
    void Publish();
    // Scans up to the byte limit; false when it was cancelled.
    bool Index(std::uint64_t limit);
    // Adds the end of the text and publishes the whole index.
    void Close();
    // When the file now ends before FEnd, FEnd becomes its new end; true
    // when the scan has passed that end, which then ends the index (or the
    // last line start already published, if that lies beyond).
    bool StopAtShrunkEnd();
    void IndexRest();

    // Names the index in the readers' group caches; a new name once the text
    // grew.
    std::atomic<std::uint64_t> FId;
    std::unique_ptr<TMappedFile> FFile;
    std::uint64_t FFirstPart = UINT64_MAX;
    const char* FText = nullptr;
    std::int64_t FStartByte = 0; // of the text in the file
    std::uint64_t FSize = 0;
    std::uint64_t FEnd = 0; // where the index ends: FSize, or less once the file shrank (indexer)
    std::uint64_t FScanned = 0; // the next byte to look at (worker)
    std::atomic<std::uint64_t> FScannedShown{0}; // the same, for Progress
    // The start of every group's first line; the last start of a finished
    // index is the end of the text.
    TChunks<std::uint64_t, 13> FGroups;
    TChunks<TLongLine, 10> FLongs;
    // Every whole group's longest line length, LongestKept when it is that
    // long or longer.
    TChunks<std::uint16_t, 13> FLongest;
    static constexpr std::uint16_t LongestKept = UINT16_MAX;
    // What the worker has found; readers use only what is published.
    std::size_t FStarts = 0;
    std::uint64_t FLastStart = 0;
    std::size_t FLongCount = 0;
    int FGroupLongest = 0; // of the group's lines ended so far
    // The last published state, to which a file cut short goes back.
    std::atomic<std::size_t> FPublished{0};  // line starts
    std::atomic<std::uint64_t> FPublishedLast{0}; // the last of them
    std::atomic<std::size_t> FPublishedLongs{0};
    int FPublishedGroupLongest = 0;
    std::uint64_t FPublishedScanned = 0;
    std::atomic<bool> FDone{false};
    std::atomic<bool> FFailed{false};
    std::atomic<bool> FCancel{false};
    std::shared_ptr<TWorkerGate> FGate;
    std::thread FWorker;
    int FCount = 0;
};

} // namespace ov
