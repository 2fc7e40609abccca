#pragma once
// The style that is open at the end of each display row, as painting needs it
// to start in the middle of the document: the style ids of every byte from
// the start of the document are replayed on a stack of 64 entries (a positive
// id is pushed, a negative id -s pops when s is on top, 0 is ignored; pushes
// beyond 64 entries are dropped) and the answer is the bottom entry, the
// first style still open.
//
// The answer is recorded once per row (one byte) as the rows are first asked
// for, and the replay stack is kept where it stopped, so an answer costs the
// bytes of the rows not replayed yet, never a replay from the start. The record is only valid for
// the style bytes and rows it was made from: Invalidate after highlighting, wrapping or any change
// of the document.

#include "Ovstrings.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace ov {

// The bytes of one display row: Length bytes of line Line from Start.
struct TRowSpan {
    int Line = 0;
    int Start = 0;
    int Length = 0;
};

class TOpenStyleRecord {
public:
    using TRowSpanOf = std::function<TRowSpan(int row)>;

    static constexpr int StackSize = 64;

    void Invalidate();
    // The style open after the last byte of row (0 for row < 0). rows is the
    // number of display rows, rowSpan describes each of them; row must be
    // below rows.
    TStyleByte LastStyle(const TOVSynStringList& lines, int row, int rows,
                         const TRowSpanOf& rowSpan);

    // Replays bytes onto stack/depth; exposed for the tests' reference replay.
    static void Replay(const TStyleByte* styles, int count, TStyleByte* stack, int& depth);

private:
    // The answer for every row replayed so far; the replay goes on from
    // FStack, the stack after the last of them.
    std::vector<TStyleByte> FLastOfRow;
    TStyleByte FStack[StackSize] = {};
    int FDepth = 0;
};

} // namespace ov
