#include "Mappedlines.h"

#include "Errors.h"
#include "System.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ov {

namespace {

// Entries beyond this cannot be counted by a line list (an int count, and
// the index's sentinel).
constexpr std::uint64_t MaxLines = INT_MAX - 1;
// The longest line a list stores (as its arena copy would), line end included.
constexpr std::uint64_t MaxLineSpan = INT_MAX - 8 + 2;
// The text is scanned a block at a time; the worker checks for cancelling
// and publishes its lines after each block.
constexpr std::uint64_t ScanBlock = 1 << 20;

std::atomic<std::uint64_t> NextId{1};

// Bit i set where byte i of the 64 at p is c.
[[gnu::always_inline]] inline std::uint64_t Matches(const char* p, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const auto part = [p, wanted](int i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
        return std::uint64_t(unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted))));
    };
    return part(0) | part(1) << 16 | part(2) << 32 | part(3) << 48;
#else
    std::uint64_t bits = 0;
    for (int i = 0; i < 64; ++i)
        bits |= std::uint64_t(p[i] == c) << i;
    return bits;
#endif
}

// True when one of the 64 bytes at p is c.
[[gnu::always_inline]] inline bool HasByte(const char* p, char c) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    const auto part = [p, wanted](int i) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i)), wanted);
    };
    return _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(part(0), part(1)), _mm_or_si128(part(2), part(3)))) != 0;
#else
    return std::memchr(p, c, 64) != nullptr;
#endif
}

// Bit i set where byte i of the 64 at p ends a line: an LF, or a CR that no
// LF follows. The byte after them is looked at only when it is part of the
// text (lookahead). Without Crs the bytes hold no CR.
template <bool Crs>
[[gnu::always_inline]] inline std::uint64_t LineEnds(const char* p, bool lookahead) {
    const std::uint64_t lf = Matches(p, '\n');
    if constexpr (!Crs) {
        return lf;
    } else {
        const std::uint64_t cr = Matches(p, '\r');
        if (!cr)
            return lf;
        std::uint64_t lfAfter = lf >> 1;
        if ((cr >> 63) && lookahead && p[64] == '\n')
            lfAfter |= std::uint64_t(1) << 63;
        return lf | (cr & ~lfAfter);
    }
}

// The same for the n (1 .. 63) bytes at p.
std::uint64_t LineEndsOfPart(const char* p, unsigned n, bool lookahead) {
    char bytes[65] = {};
    std::memcpy(bytes, p, n);
    bytes[n] = lookahead ? p[n] : '\0';
    return LineEnds<true>(bytes, false) & ((std::uint64_t(1) << n) - 1);
}

int LowestBit(std::uint64_t bits) { return __builtin_ctzll(bits); }
int HighestBit(std::uint64_t bits) { return 63 - __builtin_clzll(bits); }
std::size_t BitCount(std::uint64_t bits) {
    return (bits & (bits - 1)) == 0 ? 1 : static_cast<std::size_t>(__builtin_popcountll(bits));
}

// The largest of the n values at p (0 for none).
std::uint16_t MostOf(const std::uint16_t* p, std::size_t n) {
    std::uint16_t most = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    if (n >= 8) {
        __m128i lanes = _mm_setzero_si128();
        for (; i + 8 <= n; i += 8) {
            const __m128i values = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            // The larger of two: what one exceeds the other by, added to it.
            lanes = _mm_add_epi16(_mm_subs_epu16(values, lanes), lanes);
        }
        std::uint16_t each[8];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(each), lanes);
        most = *std::max_element(each, each + 8);
    }
#endif
    for (; i < n; ++i)
        most = std::max(most, p[i]);
    return most;
}

// True when every set bit of bits but the lowest lies at most span bits
// above the set bit before it (span >= 1): no line that ends there is longer
// than span bytes, line end included.
bool SpansAtMost(std::uint64_t bits, unsigned span) {
    if (span >= 64)
        return true;
    // Bit i of covered is set when one of bits i - width .. i - 1 is.
    std::uint64_t covered = bits << 1;
    for (unsigned width = 1; width < span;) {
        const unsigned step = std::min(width, span - width);
        covered |= covered << step;
        width += step;
    }
    return (bits & (bits - 1) & ~covered) == 0;
}

} // namespace

constinit thread_local TMappedLines::TGroupCache TMappedLines::FCache;

TMappedLines::TMappedLines(std::unique_ptr<TMappedFile> file, std::int64_t start,
                           std::uint64_t firstPart, std::shared_ptr<TWorkerGate> gate)
    : FId(NextId.fetch_add(1)), FFile(std::move(file)), FFirstPart(firstPart), FGate(std::move(gate)) {
    FText = FFile->Data() + start;
    FStartByte = start;
    FSize = static_cast<std::uint64_t>(FFile->Size() - start);
    FEnd = FSize;
    try {
        // Every slot a finished index can need, made now, so that the worker
        // never moves what a reader looks at.
        // The text may grow as far as the mapping can (Grow).
        const auto capacity = std::max(
            FSize, static_cast<std::uint64_t>(std::max<std::int64_t>(FFile->Capacity() - start, 0)));
        FGroups.Reserve(static_cast<std::size_t>((capacity + 2) / GroupLines + 2));
        FLongs.Reserve(static_cast<std::size_t>(capacity / LongLine + 2));
        FLongest.Reserve(static_cast<std::size_t>((capacity + 2) / GroupLines + 2));
        AddStart(0);
        Publish();
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

void TMappedLines::MakeGroupChunk(std::size_t group) {
    // The index must fit in half of what the system can still give.
    constexpr std::size_t chunk = decltype(FGroups)::Size;
    const std::uint64_t bytes = (group / chunk + 1) * chunk * sizeof(std::uint64_t);
    if (std::optional<std::int64_t> available = AvailableMemory();
        available && bytes > static_cast<std::uint64_t>(*available / 2))
        ThrowOutOfMemory();
    if (!FGroups.Make(group))
        ThrowOutOfMemory();
}

inline void TMappedLines::KeepGroupStart(std::size_t group, std::uint64_t offset) {
    if (!FGroups.Made(group)) [[unlikely]]
        MakeGroupChunk(group);
    FGroups[group] = offset;
}

inline void TMappedLines::EndGroup(std::size_t group) {
    if (!FLongest.Made(group) && !FLongest.Make(group)) [[unlikely]]
        ThrowOutOfMemory();
    FLongest[group] = static_cast<std::uint16_t>(std::min<int>(FGroupLongest, LongestKept));
    FGroupLongest = 0;
}

void TMappedLines::AddStart(std::uint64_t offset) {
    if (FStarts > MaxLines)
        ThrowOutOfMemory();
    if (FStarts % GroupLines == 0) {
        if (FStarts > 0)
            EndGroup(FStarts / GroupLines - 1);
        KeepGroupStart(FStarts / GroupLines, offset);
    }
    ++FStarts;
    FLastStart = offset;
}

void TMappedLines::EndLine(std::uint64_t next) {
    const std::uint64_t span = next - FLastStart;
    if (span <= LongLine)
        return;
    if (span > MaxLineSpan || !FLongs.Make(FLongCount))
        ThrowOutOfMemory();
    FLongs[FLongCount++] = {next, FStarts - 1};
}

void TMappedLines::Scan(std::uint64_t from, std::uint64_t to) {
    // Text without CRs (most logs) is scanned for LFs alone, in one pass, up
    // to the first 64 bytes that hold a CR; from there on CRs count too.
    ScanFor<true>(ScanFor<false>(from, to), to);
}

template <bool Crs> std::uint64_t TMappedLines::ScanFor(std::uint64_t from, std::uint64_t to) {
    const char* const text = FText;
    std::uint64_t at = from;
    for (; at + 64 <= to; at += 64) {
        if constexpr (!Crs) {
            if (HasByte(text + at, '\r'))
                return at;
        }
        std::uint64_t ends = LineEnds<Crs>(text + at, at + 64 < FEnd);
        if (ends) {
            // A line end at the very end of the text starts no line: the
            // end of the text closes the last line (Close).
            if (at + 64 == FEnd)
                ends &= ~(std::uint64_t(1) << 63);
            AddEnds(at, ends);
        }
    }
    if (!Crs || at >= to)
        return at;
    const auto n = static_cast<unsigned>(to - at);
    std::uint64_t ends = LineEndsOfPart(text + at, n, at + n < FEnd);
    if (at + n == FEnd)
        ends &= ~(std::uint64_t(1) << (n - 1));
    AddEnds(at, ends);
    return to;
}

int TMappedLines::LineLength(std::uint64_t start, std::uint64_t next) const {
    std::uint64_t end = next;
    if (end > start) {
        if (FText[end - 1] == '\n') {
            --end;
            if (end > start && FText[end - 1] == '\r')
                --end;
        } else if (FText[end - 1] == '\r') {
            --end;
        }
    }
    return static_cast<int>(std::min<std::uint64_t>(end - start, INT_MAX - 8));
}

void TMappedLines::AddEveryByteEnds(std::uint64_t at) {
    EndLine(at + 1);
    if (FStarts + 64 > MaxLines + 1)
        ThrowOutOfMemory();
    // Only the first line may be longer than the longest so far: it may have
    // begun before these bytes; the others are empty.
    int longest = FGroupLongest;
    if (at + 1 - FLastStart > static_cast<std::uint64_t>(longest) + 1)
        longest = std::max(longest, LineLength(FLastStart, at + 1));
    // The end at byte i starts line FStarts + i; every 16th is a group's first.
    for (std::size_t i = (GroupLines - FStarts % GroupLines) % GroupLines; i < 64; i += GroupLines) {
        const std::size_t group = (FStarts + i) / GroupLines;
        FGroupLongest = longest;
        EndGroup(group - 1);
        longest = 0;
        KeepGroupStart(group, at + i + 1);
    }
    FGroupLongest = longest;
    FStarts += 64;
    FLastStart = at + 64;
}

void TMappedLines::AddEnds(std::uint64_t at, std::uint64_t ends) {
    if (!ends)
        return;
    if (ends == ~std::uint64_t(0)) {
        AddEveryByteEnds(at);
        return;
    }
    // The first end closes the line begun before these bytes; the others
    // close lines shorter than 64 bytes.
    EndLine(at + LowestBit(ends) + 1);
    std::size_t left = BitCount(ends);
    if (FStarts + left > MaxLines + 1)
        ThrowOutOfMemory();
    std::uint64_t start = FLastStart;
    std::size_t starts = FStarts;
    int longest = FGroupLongest;
    // The ends are taken a group at a time: those up to the one after
    // which the next group's first line starts. Short lines and runs of
    // empty ones cost a few operations a group, not a pass a line.
    for (std::uint64_t rest = ends; rest;) {
        const std::size_t toClose = (GroupLines - starts % GroupLines) % GroupLines + 1;
        std::uint64_t part = rest;
        if (left > toClose) {
            const int low = LowestBit(rest);
            if (const std::uint64_t run = rest >> low; (run & (run + 1)) == 0) {
                // One run of line ends (empty lines of one byte's end).
                part = ((std::uint64_t(1) << toClose) - 1) << low;
            } else {
                std::uint64_t after = rest;
                for (std::size_t i = 0; i < toClose; ++i)
                    after &= after - 1;
                part = rest ^ after;
            }
        }
        const std::size_t taken = std::min(left, toClose);
        // A line is shorter than its span by its line end, one byte or
        // two: only a line whose span exceeds the longest so far by more
        // than one byte is measured. The first line may have begun before
        // these bytes; when no later span of the part exceeds that bound,
        // none of them is looked at.
        const std::uint64_t first = at + LowestBit(part) + 1;
        if (first - start > static_cast<std::uint64_t>(longest) + 1)
            longest = std::max(longest, LineLength(start, first));
        if (!SpansAtMost(part, static_cast<unsigned>(longest) + 1)) {
            std::uint64_t lineStart = first;
            for (std::uint64_t bits = part & (part - 1); bits; bits &= bits - 1) {
                const std::uint64_t next = at + LowestBit(bits) + 1;
                if (next - lineStart > static_cast<std::uint64_t>(longest) + 1)
                    longest = std::max(longest, LineLength(lineStart, next));
                lineStart = next;
            }
        }
        start = at + HighestBit(part) + 1;
        starts += taken;
        left -= taken;
        rest ^= part;
        if (taken == toClose) {
            // The last end of the part closed its group: the line after it
            // is the next group's first.
            const std::size_t group = (starts - 1) / GroupLines;
            FGroupLongest = longest;
            EndGroup(group - 1);
            longest = 0;
            KeepGroupStart(group, start);
        }
    }
    FGroupLongest = longest;
    FStarts = starts;
    FLastStart = start;
}

void TMappedLines::Publish() {
    // A grown text's last line, scanned again, is published only once its
    // end is found again: until then the old end stays.
    if (FStarts < FPublished.load(std::memory_order_relaxed))
        return;
    FPublishedLast.store(FLastStart, std::memory_order_relaxed);
    FPublishedLongs.store(FLongCount, std::memory_order_relaxed);
    FPublishedGroupLongest = FGroupLongest;
    FPublished.store(FStarts, std::memory_order_release);
    FPublishedScanned = FScanned;
}

void TMappedLines::Close() {
    if (FLastStart < FEnd) {
        EndLine(FEnd);
        FGroupLongest = std::max(FGroupLongest, LineLength(FLastStart, FEnd));
        AddStart(FEnd);
    }
    Publish();
    FDone.store(true, std::memory_order_release);
}

bool TMappedLines::Index(std::uint64_t limit) {
    if (FEnd == 0) {
        Publish();
        FDone.store(true, std::memory_order_release);
        return true;
    }
    while (FScanned < limit) {
        if (FCancel.load(std::memory_order_relaxed))
            return false;
        // The first part ends at its limit, however small, so that the
        // worker indexes the rest.
        const std::uint64_t blockEnd = std::min({FEnd, FScanned + ScanBlock, limit});
        Scan(FScanned, blockEnd);
        FScanned = blockEnd;
        // A file cut short reads as zeros past its new end: the index ends
        // there rather than count the vanished part as one long line.
        if (StopAtShrunkEnd() || FScanned >= FEnd) {
            Close();
            return true;
        }
        Publish();
        FScannedShown.store(FScanned, std::memory_order_relaxed);
    }
    return true;
}

bool TMappedLines::StopAtShrunkEnd() {
    const std::int64_t now = FFile->CurrentSize() - FStartByte;
    if (now < 0 || static_cast<std::uint64_t>(now) >= FEnd)
        return false;
    const std::uint64_t shrunk = static_cast<std::uint64_t>(now);
    if (FScanned < shrunk) {
        FEnd = shrunk; // the scan goes on up to there
        return false;
    }
    // What was found since the last publishing goes, and the bytes from
    // there up to the new end are scanned again: published lines stay,
    // even when one starts past the new end.
    FStarts = FPublished.load(std::memory_order_relaxed);
    FLastStart = FPublishedLast.load(std::memory_order_relaxed);
    FLongCount = FPublishedLongs.load(std::memory_order_relaxed);
    FGroupLongest = FPublishedGroupLongest;
    // A grown text's scan may have moved the last published start and the
    // last long line's end; both go back to where they were published.
    if (FStarts % GroupLines == 1)
        FGroups[FStarts / GroupLines] = FLastStart;
    if (FLongCount > 0 && FLongs[FLongCount - 1].Line + 2 == FStarts)
        FLongs[FLongCount - 1].Next = FLastStart;
    FEnd = std::max(shrunk, FLastStart);
    if (FPublishedScanned < FEnd)
        Scan(FPublishedScanned, FEnd);
    FScanned = FEnd;
    return true;
}

bool TMappedLines::Grow() {
    if (Pending() || FEnd != FSize || FStarts < 2)
        return false;
    const std::int64_t grown = FFile->Grow() - FStartByte;
    if (grown <= 0 || static_cast<std::uint64_t>(grown) <= FSize)
        return false;
    if (FWorker.joinable())
        FWorker.join();
    // The last start is the end of the text; the last line goes on, as its
    // end may be the first new byte (a half line, or a CR whose LF comes
    // now). Its end, when kept as a long line's, goes with it. Its bytes
    // before the old last one hold no line end: the scan takes up again at
    // that byte (a line end there was not counted as one; a CR there may
    // pair with an LF now), however long the line has become.
    --FStarts;
    const int last = static_cast<int>(FStarts - 1);
    FLastStart = Offset(last);
    FGroupLongest = 0;
    for (int line = last / int(GroupLines) * int(GroupLines); line < last; ++line)
        FGroupLongest = std::max(FGroupLongest, Length(line));
    if (FLongCount > 0 && FLongs[FLongCount - 1].Line == FStarts - 1)
        --FLongCount;
    // The readers' cached copies of the last group end at the old end of the
    // text: a new name makes every thread find its groups again.
    FId.store(NextId.fetch_add(1), std::memory_order_relaxed);
    FScanned = FSize > 0 ? std::max(FLastStart, FSize - 1) : FLastStart;
    FSize = static_cast<std::uint64_t>(grown);
    FEnd = FSize;
    FDone.store(false, std::memory_order_release);
    try {
        Index(std::min(FSize, FFirstPart > UINT64_MAX - FScanned ? UINT64_MAX : FScanned + FFirstPart));
    } catch (const std::bad_alloc&) {
        ThrowOutOfMemory();
    }
    StartRest();
    Take();
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

int TMappedLines::Longest(int first, int end) const {
    int longest = 0;
    int line = first;
    const auto read = [&](int to) {
        for (; line < to; ++line)
            longest = std::max(longest, Length(line));
    };
    constexpr int group = static_cast<int>(GroupLines);
    // The kept length of the last line's group may change while the text
    // grows (Grow finds that line again): that group is read.
    const int kept = std::min(end, FCount > 0 ? (FCount - 1) / group * group : 0);
    read(std::min(end, (first + group - 1) / group * group));
    constexpr std::size_t chunk = decltype(FLongest)::Size;
    while (line + group <= kept) {
        // The whole groups of one chunk at once; a run that holds a group
        // with a line too long to keep is taken group by group.
        const auto at = static_cast<std::size_t>(line / group);
        const std::size_t stop = std::min((at / chunk + 1) * chunk, static_cast<std::size_t>(kept / group));
        const std::uint16_t* const lengths = &FLongest[at];
        const std::uint16_t most = MostOf(lengths, stop - at);
        if (most != LongestKept) {
            longest = std::max<int>(longest, most);
            line = static_cast<int>(stop) * group;
            continue;
        }
        for (std::size_t i = 0; i < stop - at; ++i) {
            if (lengths[i] == LongestKept) {
                read(line + group);
            } else {
                longest = std::max<int>(longest, lengths[i]);
                line += group;
            }
        }
    }
    read(end);
    return longest;
}

std::optional<std::uint64_t> TMappedLines::LongLineEnd(std::size_t line, std::size_t longs) const {
    std::size_t low = 0, high = longs;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (FLongs[middle].Line < line)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < longs && FLongs[low].Line == line)
        return FLongs[low].Next;
    return std::nullopt;
}

void TMappedLines::FindGroup(std::size_t group) const {
    TGroupCache& cache = FCache;
    const std::size_t published = FPublished.load(std::memory_order_acquire);
    const std::size_t first = group * GroupLines;
    // Starts after the published ones are not looked for; the group ends
    // where the next begins, or at the last published start.
    const std::size_t known = std::min(GroupLines + 1, published - first);
    const std::uint64_t limit = first + GroupLines < published
                                    ? FGroups[group + 1]
                                    : FPublishedLast.load(std::memory_order_relaxed);
    const std::size_t longs = FPublishedLongs.load(std::memory_order_relaxed);
    cache.Owner = FId.load(std::memory_order_relaxed);
    cache.Group = group;
    cache.Known = known;
    std::uint64_t* const starts = cache.Starts;
    std::size_t found = 1;
    std::uint64_t lineStart = starts[0] = FGroups[group];
    std::uint64_t at = lineStart;
    // The line ends are found as the worker found them; a text that changed
    // since (a file cut short) gives fewer, and the starts not found are
    // the group's end.
    // A group without CRs (most) is scanned for LFs alone; one that spans
    // long lines is not searched through for them.
    const bool crs = limit - at > 4 * LongLine ||
                     std::memchr(FText + at, '\r', static_cast<std::size_t>(limit - at)) != nullptr;
    while (found < known && at < limit) {
        const auto n = static_cast<unsigned>(std::min<std::uint64_t>(64, limit - at));
        const char* const bytes = FText + at;
        std::uint64_t ends;
        if (n == 64) {
            ends = crs ? LineEnds<true>(bytes, at + n < limit) : LineEnds<false>(bytes, false);
        } else if (at + 64 <= FSize) {
            // The mapping goes on: 64 bytes are read, those past the group
            // left out (a CR at its end ends a line, whatever follows).
            ends = (crs ? LineEnds<true>(bytes, false) : LineEnds<false>(bytes, false)) &
                   ((std::uint64_t(1) << n) - 1);
            if (bytes[n - 1] == '\r')
                ends |= std::uint64_t(1) << (n - 1);
        } else {
            ends = LineEndsOfPart(bytes, n, false);
        }
        for (; ends && found < known; ends &= ends - 1) {
            const std::uint64_t next = at + LowestBit(ends) + 1;
            if (next >= limit) {
                at = limit;
                break;
            }
            starts[found++] = lineStart = next;
        }
        if (found >= known || at >= limit)
            break;
        at += n;
        if (at - lineStart > LongLine) {
            // A long line is not read through: its end is kept.
            if (std::optional<std::uint64_t> next = LongLineEnd(first + found - 1, longs)) {
                at = std::min(*next, limit);
                if (at < limit)
                    starts[found++] = lineStart = at;
            }
        }
    }
    for (; found < known; ++found)
        starts[found] = limit;
}

} // namespace ov
