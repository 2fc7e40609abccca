#include "Rowmarks.h"

#include "Charwidths.h"

#include <algorithm>
#include <cstring>

namespace ov {

int CharStartOf(const TCharCoding& coding, std::string_view text, int known, int q) {
    return int(coding.CharStart(text, std::size_t(known), std::size_t(q)));
}

int CharStartOf(std::string_view text, int known, int q) {
    return CharStartOf(CharCodingOf(TTextCoding::Cp949), text, known, q);
}

namespace {

// The next non-zero style byte in from .. end - 1, or end.
int NextMark(const TStyleByte* styles, int from, int end) {
    int p = from;
    while (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, styles + p, 8);
        if (word != 0)
            break;
        p += 8;
    }
    while (p < end && styles[p] == 0)
        ++p;
    return p;
}

void Push(TStyleStackRef stack, TStyleByte id) {
    if (stack.Top + 1 < stack.Capacity)
        stack.Ids[++stack.Top] = id;
}

void PopIfTop(TStyleStackRef stack, TStyleByte id) {
    if (stack.Top >= 0 && stack.Ids[stack.Top] == id)
        --stack.Top;
}

// Calls onMark(q, first, last) for each mark q in from .. to - 1 (from a
// character start; the marks of the characters that start there, which may
// reach to + 1), telling whether q is its character's first and last byte.
template <typename TOnMark>
void ForEachMark(const TCharCoding& coding, std::string_view text, const TStyleByte* styles,
                 int from, int to, TOnMark onMark) {
    const int length = int(text.size());
    const int end = std::min(length, to + 1);
    int known = from;
    for (int q = NextMark(styles, from, end); q < end; q = NextMark(styles, q + 1, end)) {
        const int start = CharStartOf(coding, text, known, q);
        if (start >= to)
            break;
        known = start;
        onMark(q, q == start, q == start + coding.CharLength(text, std::size_t(start)) - 1);
    }
}

} // namespace

void WalkMarks(std::string_view text, const TStyleByte* styles, int from, int to,
               TStyleStackRef stack, const TCharCoding& coding) {
    ForEachMark(coding, text, styles, from, to, [&](int q, bool first, bool last) {
        const TStyleByte id = styles[q];
        if (first && id > 0)
            Push(stack, id);
        if (last && id < 0)
            PopIfTop(stack, TStyleByte(-id));
    });
}

TMarkSummary ComposeSummaries(const TMarkSummary& first, const TMarkSummary& next) {
    TMarkSummary result = first;
    result.MaxOwnDepth = std::max(first.MaxOwnDepth, int(first.Pushes.size()) + next.MaxOwnDepth);
    for (TStyleByte id : next.Pops) {
        if (result.Pushes.empty())
            result.Pops.push_back(id);
        else if (result.Pushes.back() == id)
            result.Pushes.pop_back();
    }
    result.Pushes.insert(result.Pushes.end(), next.Pushes.begin(), next.Pushes.end());
    return result;
}

namespace {

bool Fits(TStyleStackRef stack, const TMarkSummary& summary) {
    return stack.Top + 1 + summary.MaxOwnDepth <= stack.Capacity;
}

void ApplySummary(TStyleStackRef stack, const TMarkSummary& summary) {
    for (TStyleByte id : summary.Pops)
        PopIfTop(stack, id);
    for (TStyleByte id : summary.Pushes)
        Push(stack, id);
}

} // namespace

TLineMarkIndex::TLineSummaries TLineMarkIndex::Summarize(const TCharCoding& coding,
                                                         std::string_view text,
                                                         const TStyleByte* styles) {
    TLineSummaries result;
    std::vector<TMarkSummary>& chunks = result.Chunks;
    const int length = int(text.size());
    // Chunk starts: the first character start at or after each multiple of
    // ChunkBytes.
    for (int p = 0, next = 0; p < length; p += coding.CharLength(text, std::size_t(p)))
        if (p >= next) {
            chunks.push_back({p, {}, {}, 0});
            next = (p / ChunkBytes + 1) * ChunkBytes;
        }
    for (std::size_t k = 0; k < chunks.size(); ++k) {
        TMarkSummary& chunk = chunks[k];
        const int end = k + 1 < chunks.size() ? chunks[k + 1].Start : length;
        ForEachMark(coding, text, styles, chunk.Start, end, [&](int q, bool first, bool last) {
            const TStyleByte id = styles[q];
            if (first && id > 0) {
                chunk.Pushes.push_back(id);
                chunk.MaxOwnDepth = std::max(chunk.MaxOwnDepth, int(chunk.Pushes.size()));
            }
            if (last && id < 0) {
                if (chunk.Pushes.empty())
                    chunk.Pops.push_back(TStyleByte(-id));
                else if (chunk.Pushes.back() == -id)
                    chunk.Pushes.pop_back();
            }
        });
    }
    for (std::size_t k = 0; k < chunks.size(); k += GroupChunks) {
        TMarkSummary group = chunks[k];
        for (std::size_t j = k + 1; j < std::min(chunks.size(), k + GroupChunks); ++j)
            group = ComposeSummaries(group, chunks[j]);
        result.Groups.push_back(std::move(group));
    }
    return result;
}

TLineMarkIndex::TLineSummaries& TLineMarkIndex::Summaries(const TOVSynStringList& lines, int line) {
    auto found = FLines.find(line);
    if (found != FLines.end())
        return found->second;
    return FLines
        .emplace(line,
                 Summarize(lines.CharCoding(), lines.GetView(line), lines.GetStyleBytes(line)))
        .first->second;
}

void TLineMarkIndex::Apply(const TOVSynStringList& lines, int line, int from, int to,
                           TStyleStackRef stack) {
    const std::string_view text = lines.GetView(line);
    const TStyleByte* styles = lines.GetStyleBytes(line);
    if (to - from < 2 * ChunkBytes || int(text.size()) < MinLineBytes) {
        WalkMarks(text, styles, from, to, stack, lines.CharCoding());
        return;
    }
    const TLineSummaries& summaries = Summaries(lines, line);
    const std::vector<TMarkSummary>& chunks = summaries.Chunks;
    const std::size_t count = chunks.size();
    auto startOf = [&](std::size_t k) { return k < count ? chunks[k].Start : int(text.size()); };
    auto applyChunk = [&](std::size_t k) {
        if (Fits(stack, chunks[k]))
            ApplySummary(stack, chunks[k]);
        else
            WalkMarks(text, styles, chunks[k].Start, startOf(k + 1), stack, lines.CharCoding());
    };
    std::size_t k =
        std::size_t(std::lower_bound(chunks.begin(), chunks.end(), from,
                                     [](const TMarkSummary& c, int p) { return c.Start < p; }) -
                    chunks.begin());
    WalkMarks(text, styles, from, std::min(startOf(k), to), stack, lines.CharCoding());
    while (k < count && startOf(k + 1) <= to) {
        const std::size_t groupEnd = k + GroupChunks;
        if (k % GroupChunks == 0 && startOf(groupEnd) <= to) {
            const TMarkSummary& group = summaries.Groups[k / GroupChunks];
            if (Fits(stack, group))
                ApplySummary(stack, group);
            else
                for (std::size_t j = k; j < std::min(groupEnd, count); ++j)
                    applyChunk(j);
            k = std::min(groupEnd, count);
        } else {
            applyChunk(k++);
        }
    }
    WalkMarks(text, styles, startOf(k), to, stack, lines.CharCoding());
}

int TLineMarkIndex::CharStartAt(const TOVSynStringList& lines, int line, int known, int column) {
    const std::string_view text = lines.GetView(line);
    if (int(text.size()) >= MinLineBytes && column - known > ChunkBytes) {
        const std::vector<TMarkSummary>& chunks = Summaries(lines, line).Chunks;
        auto after = std::upper_bound(chunks.begin(), chunks.end(), column,
                                      [](int p, const TMarkSummary& c) { return p < c.Start; });
        if (after != chunks.begin())
            known = std::max(known, (after - 1)->Start);
    }
    return CharStartOf(lines.CharCoding(), text, known, column);
}

int TLineMarkIndex::SkipLeft(const TOVSynStringList& lines, int line, const TCharWidths& widths,
                             int limit, long long& x, TStyleStackRef stack) {
    const std::string_view text = lines.GetView(line);
    if (int(text.size()) < MinLineBytes)
        return 0;
    TLineSummaries& summaries = Summaries(lines, line);
    const std::vector<TMarkSummary>& chunks = summaries.Chunks;
    const std::size_t count = chunks.size();
    auto startOf = [&](std::size_t k) { return k < count ? chunks[k].Start : int(text.size()); };
    if (summaries.ChunkWidths.empty()) {
        for (std::size_t k = 0; k < count; ++k)
            summaries.ChunkWidths.push_back(widths.DrawnWidth(
                text.substr(std::size_t(startOf(k)), std::size_t(startOf(k + 1) - startOf(k)))));
        for (std::size_t k = 0; k < count; k += GroupChunks) {
            long long sum = 0;
            for (std::size_t j = k; j < std::min(count, k + GroupChunks); ++j)
                sum += summaries.ChunkWidths[j];
            summaries.GroupWidths.push_back(sum);
        }
    }
    const TStyleByte* styles = lines.GetStyleBytes(line);
    auto skipChunk = [&](std::size_t k) {
        if (Fits(stack, chunks[k]))
            ApplySummary(stack, chunks[k]);
        else
            WalkMarks(text, styles, chunks[k].Start, startOf(k + 1), stack, lines.CharCoding());
        x += summaries.ChunkWidths[k];
    };
    std::size_t k = 0;
    while (k < count) {
        const std::size_t groupEnd = std::min(k + GroupChunks, count);
        const std::size_t group = k / GroupChunks;
        if (k % GroupChunks == 0 && startOf(groupEnd) <= limit &&
            x + summaries.GroupWidths[group] <= 0) {
            if (Fits(stack, summaries.Groups[group])) {
                ApplySummary(stack, summaries.Groups[group]);
                x += summaries.GroupWidths[group];
            } else {
                for (std::size_t j = k; j < groupEnd; ++j)
                    skipChunk(j);
            }
            k = groupEnd;
        } else if (startOf(k + 1) <= limit && x + summaries.ChunkWidths[k] <= 0) {
            skipChunk(k++);
        } else {
            break;
        }
    }
    return startOf(k);
}

} // namespace ov
