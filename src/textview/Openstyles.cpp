#include "Openstyles.h"

#include <cstring>

namespace ov {

void TOpenStyleRecord::Invalidate() {
    FLastOfRow.clear();
    FDepth = 0;
}

void TOpenStyleRecord::Replay(const TStyleByte* styles, int count, TStyleByte* stack, int& depth) {
    const TStyleByte* end = styles + count;
    const TStyleByte* p = styles;
    while (p < end) {
        // Marks are sparse: skip runs of zero bytes a word at a time.
        while (end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            if (word != 0)
                break;
            p += 8;
        }
        if (p >= end)
            break;
        const TStyleByte id = *p++;
        if (id > 0) {
            if (depth < StackSize)
                stack[depth++] = id;
        } else if (id < 0 && depth > 0 && stack[depth - 1] == -id) {
            --depth;
        }
    }
}

TStyleByte TOpenStyleRecord::LastStyle(const TOVSynStringList& lines, int row, int rows,
                                       const TRowSpanOf& rowSpan) {
    if (row < 0 || rows <= 0)
        return 0;
    if (row >= rows)
        row = rows - 1;
    while (int(FLastOfRow.size()) <= row) {
        const TRowSpan span = rowSpan(int(FLastOfRow.size()));
        if (span.Length > 0)
            Replay(lines.GetStyleBytes(span.Line) + span.Start, span.Length, FStack, FDepth);
        FLastOfRow.push_back(FDepth > 0 ? FStack[0] : TStyleByte(0));
    }
    return FLastOfRow[std::size_t(row)];
}

} // namespace ov
