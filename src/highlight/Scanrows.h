#pragma once
// Row access shared by the scanners: the current row's text, length and
// style bytes, reloaded only when the scan moves to another row, and the
// loop head of every scan (the bounds and the step to the next row).

#include "Ovstrings.h"
#include "Ovsynhighlighter.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace ov {

class TOVSynHighlighter::TFrame {
public:
    // Pushes frame onto the state; the scanner resumes when the state to
    // resume has a frame like it next (anything else ends the resuming).
    TFrame(TOVSynHighlighter& owner, TScanFrame frame) : FOwner(owner), FIndex(owner.FState.Depth) {
        if (const TScanFrame* next = owner.NextToResume()) {
            FResuming = next->Kind == frame.Kind && next->Slot == frame.Slot;
            if (FResuming) {
                frame.Variant = next->Variant;
                ++owner.FResumeAt;
            } else {
                owner.FResumeAt = owner.FResume.Depth;
            }
        }
        if (FIndex < TScanState::MaxDepth)
            owner.FState.Frames[std::size_t(FIndex)] = frame;
        ++owner.FState.Depth;
    }
    ~TFrame() { --FOwner.FState.Depth; }
    TFrame(const TFrame&) = delete;
    TFrame& operator=(const TFrame&) = delete;

    // The scan starts inside this scanner: it skips its opening.
    bool Resuming() const { return FResuming; }
    int Variant() const {
        return FIndex < TScanState::MaxDepth ? FOwner.FState.Frames[std::size_t(FIndex)].Variant : 0;
    }
    void SetVariant(int variant) {
        if (FIndex < TScanState::MaxDepth)
            FOwner.FState.Frames[std::size_t(FIndex)].Variant = std::int8_t(variant);
    }

private:
    TOVSynHighlighter& FOwner;
    int FIndex;
    bool FResuming = false;
};

} // namespace ov

namespace ov::scan {

struct TRow {
    explicit TRow(TOVSynHighlighter& owner) : FOwner(&owner) {}

    // The row as shown (a NUL byte as a blank). Runs are measured against
    // Length: a mapped row is not NUL-terminated.
    const char* Text = nullptr;
    int Length = 0;
    int Index = -1;

    void Load(TOVSynStringList& lines, int row) {
        if (row == Index)
            return;
        Index = row;
        FLines = &lines;
        lines.ScanReached(row);
        FOwner->RowReached(row);
        const std::string_view text = lines.ShownRowText(row, FShown);
        Text = text.data();
        Length = static_cast<int>(text.size());
        FStyles = nullptr;
    }
    // The head of a scan's loop: loads the row pos stands in; at or past its
    // end moves pos to the next row's start instead and returns false, so
    // that the loop looks at its bounds again.
    bool Enter(TOVSynStringList& lines, TScanPos& pos) {
        Load(lines, pos.Row);
        if (pos.Col < Length)
            return true;
        ++pos.Row;
        pos.Col = 0;
        return false;
    }
    std::string_view Rest(int col) const { return {Text + col, std::size_t(Length - col)}; }
    // The row's style bytes are stored at its first mark, so rows the scan
    // only reads cost nothing.
    void Mark(int col, int style) {
        if (!FStyles)
            FStyles = FLines->RowStyles(Index);
        FStyles[col] = static_cast<TStyleByte>(style);
    }
    // +style on the first byte, -style on the last; a one-byte run keeps -style.
    void MarkRun(int col, int length, int style) {
        Mark(col, style);
        Mark(col + length - 1, -style);
    }

private:
    TOVSynHighlighter* FOwner;
    TOVSynStringList* FLines = nullptr;
    TStyleByte* FStyles = nullptr;
    std::shared_ptr<const std::string> FShown; // the row's copy when it holds a NUL
};

inline bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// A scan goes on while the position lies before the end of the last row,
// that of the document or an earlier one where the scan must stop, and
// nobody cancelled it; a scan that ends on its own closer goes on while its
// row is one of the rows to scan (ContainsRow).
class TBounds {
public:
    TBounds(const TOVSynStringList& lines, int lastRow, const std::atomic<bool>* cancel)
        : FLast(std::min(lines.Count() - 1, lastRow)),
          FLastLength(FLast >= 0 ? lines.RowLength(FLast) : 0), FCancel(cancel) {}
    bool Contains(const TScanPos& pos) const {
        return (pos.Row < FLast || (pos.Row == FLast && pos.Col < FLastLength)) && !Cancelled(FCancel);
    }
    bool ContainsRow(int row) const { return row <= FLast && !Cancelled(FCancel); }
    int LastRow() const { return FLast; }

private:
    int FLast;
    int FLastLength;
    const std::atomic<bool>* FCancel;
};

inline bool StartsWithText(std::string_view text, const char* prefix) {
    return prefix[0] != '\0' && text.starts_with(prefix);
}

inline char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (prefix.empty() || text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (LowerAscii(text[i]) != LowerAscii(prefix[i]))
            return false;
    }
    return true;
}

} // namespace ov::scan
