#pragma once
// The lines of a viewed 8-bit file read where the file is mapped: no copy of
// the text, only where each line starts, as 32-bit offsets within blocks of
// 4 GiB (a file of any size costs 4 bytes per line). Lines end as
// TLineSplitter ends them (CR LF, LF, CR; a line end at the very end adds no
// empty line); NUL bytes are patched to spaces in the program's private view.
//
// The text of a line is not NUL-terminated: the byte after it is its line
// end, or the zero after the file's last byte.

#include "Mappedfile.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace ov {

class TMappedLines {
public:
    // Indexes the text from byte start of file on (after a byte-order
    // mark). EOutOfMemory when the index would not fit in half of the memory
    // the system can still give, or when a line or the line count exceeds
    // what a line list can count.
    TMappedLines(std::unique_ptr<TMappedFile> file, std::int64_t start);

    int Count() const { return FCount; }
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
    // Bytes held for the index.
    std::size_t IndexBytes() const {
        return FChunks.size() * ChunkLines * sizeof(std::uint32_t) + FBlockFirst.size() * sizeof(int);
    }

private:
    // The index grows in chunks, never moved once filled: no copy of a
    // growing vector (twice the memory for a moment) and a bound of one
    // chunk on what is held beyond the lines.
    static constexpr int ChunkBits = 16;
    static constexpr std::size_t ChunkLines = std::size_t(1) << ChunkBits;

    std::uint64_t Offset(int line) const {
        std::uint64_t block = 0;
        if (FBlockFirst.size() > 1)
            block = static_cast<std::uint64_t>(
                std::upper_bound(FBlockFirst.begin(), FBlockFirst.end(), line) -
                FBlockFirst.begin() - 1);
        const auto at = static_cast<std::size_t>(line);
        return block << 32 | FChunks[at >> ChunkBits][at & (ChunkLines - 1)];
    }
    void Add(std::uint64_t offset);
    void Index(char* text, std::uint64_t size);

    std::unique_ptr<TMappedFile> FFile;
    const char* FText = nullptr;
    // Count + 1 line starts, the last being the end of the text: the low 32
    // bits of each offset.
    std::vector<std::unique_ptr<std::uint32_t[]>> FChunks;
    std::size_t FStarts = 0; // entries filled
    std::uint64_t FLastStart = 0;
    // The first line of each 4 GiB block (FBlockFirst[0] is 0).
    std::vector<int> FBlockFirst;
    int FCount = 0;
};

} // namespace ov
