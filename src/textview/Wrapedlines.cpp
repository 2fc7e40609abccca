#include "Wrapedlines.h"

#include "Charwidths.h"
#include "Ovstrings.h"
#include "System.h"

#include <algorithm>
#include <ranges>

namespace ov {

void TWrapedLines::WrapLine(std::string_view text, int line, const TCharWidths& widths,
                            int areaWidth, std::vector<TWrapedLine>& rows) {
    rows.push_back({0, line, 0});
    const int length = int(text.size());
    // Without any text area nothing of the line is visible: it is not cut
    // into a row per character.
    if (areaWidth <= 0 || widths.WrapEstimate(text) <= areaWidth) {
        rows.back().Length = length;
        return;
    }
    long long accumulated = 0;
    int charLength = 1;
    for (int p = 0; p < length; p += charLength) {
        const int width = widths.CharAt(text, std::size_t(p), charLength);
        accumulated += width;
        if (accumulated > areaWidth) {
            rows.back().Length = p - rows.back().Start;
            rows.push_back({p, line, 0});
            accumulated = width;
        }
    }
    rows.back().Length = length - rows.back().Start;
}

void TWrapedLines::Make(const TOVStringList& lines, const TCharWidths& widths, int areaWidth) {
    Begin(lines, 0);
    while (FEnd < FLineCount)
        WrapAfter(widths, areaWidth);
}

void TWrapedLines::TRowBlock::push_back(const TWrapedLine& row) {
    if (FFront + FSize == (FChunks.size() << FChunkShift))
        FChunks.push_back(std::make_unique_for_overwrite<TWrapedLine[]>(ChunkRows()));
    At(FSize++) = row;
}

void TWrapedLines::TRowBlock::push_front(const TWrapedLine& row) {
    if (FFront == 0) {
        FChunks.push_front(std::make_unique_for_overwrite<TWrapedLine[]>(ChunkRows()));
        FFront = ChunkRows();
    }
    --FFront;
    ++FSize;
    At(0) = row;
}

void TWrapedLines::TRowBlock::pop_back() {
    --FSize;
    if (FSize == 0) {
        clear();
        return;
    }
    // A chunk that no longer holds a row goes.
    if (((FFront + FSize) & (ChunkRows() - 1)) == 0)
        DropLastChunk();
}

// The allocator keeps freed chunks for reuse: the rows of a 10 GB log (2.6
// GB) would stay with the process after word wrap is turned off.
void TWrapedLines::TRowBlock::DropLastChunk() {
    ReleasePages(FChunks.back().get(), ChunkRows() * sizeof(TWrapedLine));
    FChunks.pop_back();
}

void TWrapedLines::TRowBlock::clear() {
    while (!FChunks.empty())
        DropLastChunk();
    FChunks.shrink_to_fit();
    FFront = FSize = 0;
}

void TWrapedLines::Clear() {
    FRows.clear();
    FLineRows.clear();
    FLineRows.shrink_to_fit();
    FLines = nullptr;
    FFirst = FEnd = FLineCount = 0;
}

void TWrapedLines::Begin(const TOVStringList& lines, int anchorLine) {
    FRows.clear();
    FLines = &lines;
    FLineCount = lines.Count();
    FFirst = FEnd = std::clamp(anchorLine, 0, FLineCount);
}

void TWrapedLines::Grow(int lineCount, int changedFrom) {
    // The rows of changed lines go; the lines are wrapped again as new ones.
    if (changedFrom < FEnd) {
        FEnd = std::max(changedFrom, FFirst);
        while (!FRows.empty() && FRows.back().Line >= FEnd)
            FRows.pop_back();
    }
    FLineCount = std::max(lineCount, FEnd);
}

void TWrapedLines::WrapAfter(const TCharWidths& widths, int areaWidth) {
    FLineRows.clear();
    WrapLine(FLines->GetView(FEnd), FEnd, widths, areaWidth, FLineRows);
    for (const TWrapedLine& row : FLineRows)
        FRows.push_back(row);
    ++FEnd;
}

void TWrapedLines::WrapBefore(const TCharWidths& widths, int areaWidth) {
    --FFirst;
    FLineRows.clear();
    WrapLine(FLines->GetView(FFirst), FFirst, widths, areaWidth, FLineRows);
    for (auto row = FLineRows.rbegin(); row != FLineRows.rend(); ++row)
        FRows.push_front(*row);
}

bool TWrapedLines::WrapSome(const TCharWidths& widths, int areaWidth, int maxLines) {
    for (int n = 0; n < maxLines; ++n) {
        if (FEnd < FLineCount)
            WrapAfter(widths, areaWidth);
        else if (FFirst > 0)
            WrapBefore(widths, areaWidth);
        else
            return false;
    }
    return !Complete();
}

void TWrapedLines::WrapAround(const TCharWidths& widths, int areaWidth, int firstLine,
                              int lastLine, int far) {
    if (!FLines || FLineCount == 0)
        return;
    firstLine = std::clamp(firstLine, 0, FLineCount - 1);
    lastLine = std::clamp(lastLine, firstLine, FLineCount - 1);
    if (firstLine < FFirst - far || firstLine > FEnd + far) {
        FRows.clear();
        FFirst = FEnd = firstLine;
    }
    while (FFirst > firstLine)
        WrapBefore(widths, areaWidth);
    while (FEnd <= lastLine)
        WrapAfter(widths, areaWidth);
}

TWrapedLine TWrapedLines::operator[](int row) const {
    if (row < FFirst)
        return {0, row, FLines->GetLength(row)};
    const int blockEnd = FFirst + int(FRows.size());
    if (row < blockEnd)
        return FRows[std::size_t(row - FFirst)];
    const int line = FEnd + (row - blockEnd);
    return {0, line, FLines->GetLength(line)};
}

TTextPoint TWrapedLines::RowStart(int row) const {
    const int blockEnd = FFirst + int(FRows.size());
    if (row >= FFirst && row < blockEnd) {
        const TWrapedLine& wraped = FRows[std::size_t(row - FFirst)];
        return {wraped.Start, wraped.Line};
    }
    return {0, row < FFirst ? row : FEnd + (row - blockEnd)};
}

int TWrapedLines::RowOf(TTextPoint linePoint) const {
    const int first = FirstRowOf(linePoint.Y);
    if (first < 0)
        return -1;
    int row = first;
    for (int r = first + 1; r < Count(); ++r) {
        const TWrapedLine next = (*this)[r];
        if (next.Line != linePoint.Y || next.Start > linePoint.X)
            break;
        row = r;
    }
    return row;
}

TTextPoint TWrapedLines::WrapedToOrigin(TTextPoint rowPoint) const {
    const int x = rowPoint.X;
    const int r = rowPoint.Y;
    if (r < 0 || r >= Count() || x < 0)
        return NoTextPoint;
    const TWrapedLine row = (*this)[r];
    if (x != 0 && x >= row.Length)
        return NoTextPoint;
    return {x + row.Start, row.Line};
}

int TWrapedLines::FirstRowOf(int line) const {
    if (line < 0 || line >= FLineCount)
        return -1;
    if (line < FFirst)
        return line;
    if (line >= FEnd)
        return FFirst + int(FRows.size()) + (line - FEnd);
    const std::size_t found = FirstBlockRow(line);
    if (found == FRows.size() || FRows[found].Line != line)
        return -1;
    return FFirst + int(found);
}

std::size_t TWrapedLines::FirstBlockRow(int line) const {
    const auto rows = std::views::iota(std::size_t(0), FRows.size());
    const auto found = std::ranges::partition_point(
        rows, [&](std::size_t row) { return FRows[row].Line < line; });
    return std::size_t(found - rows.begin());
}

TTextPoint TWrapedLines::OriginToWraped(TTextPoint linePoint) const {
    const int x = linePoint.X;
    const int l = linePoint.Y;
    if (l < 0 || l >= Count())
        return NoTextPoint;
    const int first = FirstRowOf(l);
    if (first < 0)
        return NoTextPoint;
    if (x == 0)
        return {0, first};
    for (int r = first; r < Count(); ++r) {
        const TWrapedLine row = (*this)[r];
        if (row.Line != l)
            break;
        if (row.Start < x && x <= row.Start + row.Length)
            return {x - row.Start, r};
    }
    return NoTextPoint;
}

} // namespace ov
