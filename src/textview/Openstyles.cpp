#include "Openstyles.h"

#include <cstring>

namespace ov {

void TOpenStyleRecord::Invalidate() {
    FStateOfRow.clear();
    FStates.clear();
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

bool TOpenStyleRecord::SameAsLastState() const {
    if (FStates.empty())
        return false;
    const TState& last = FStates.back();
    return int(last.size()) == FDepth &&
           (FDepth == 0 || std::memcmp(last.data(), FStack, std::size_t(FDepth)) == 0);
}

TStyleByte TOpenStyleRecord::LastStyle(const TOVSynStringList& lines, int row, int rows,
                                       const TRowSpanOf& rowSpan) {
    if (row < 0 || rows <= 0)
        return 0;
    if (row >= rows)
        row = rows - 1;
    while (int(FStateOfRow.size()) <= row) {
        const TRowSpan span = rowSpan(int(FStateOfRow.size()));
        if (span.Length > 0)
            Replay(lines.GetStyleBytes(span.Line) + span.Start, span.Length, FStack, FDepth);
        if (!SameAsLastState())
            FStates.emplace_back(FStack, FStack + FDepth);
        FStateOfRow.push_back(uint32_t(FStates.size() - 1));
    }
    const TState& state = FStates[FStateOfRow[std::size_t(row)]];
    return state.empty() ? 0 : state.front();
}

} // namespace ov
