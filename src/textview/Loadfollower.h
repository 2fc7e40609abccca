#pragma once
// A document whose lines are still being indexed, as its view follows it:
// how many lines the view has taken account of, and a top row asked for
// beyond the lines indexed so far, which the view moves on to as the index
// reaches it. Plain state; the view owns the timer that takes the lines.

#include <climits>
#include <optional>

namespace ov {

class TLoadFollower {
public:
    // A top row asked for at the end of the document, whatever its length.
    static constexpr int End = INT_MAX;

    // The view took account of the document's count lines; returns how many
    // it had taken account of before.
    int TakeLines(int count) {
        const int before = FLinesShown;
        FLinesShown = count;
        return before;
    }

    // A top row asked for: kept while it lies beyond rowCount, the rows
    // indexed so far, and the index goes on; any other forgets the row
    // asked for before.
    void AskTop(int row, int rowCount, bool loading) {
        FPendingTop = loading && row >= rowCount ? std::optional<int>(row) : std::nullopt;
    }
    std::optional<int> PendingTop() const { return FPendingTop; }
    // The top row the view heads for, or top when it heads for none or for
    // the end, whose row is not known yet.
    int IntendedTop(int top) const {
        return FPendingTop && *FPendingTop != End ? *FPendingTop : top;
    }

private:
    int FLinesShown = 0;
    std::optional<int> FPendingTop;
};

} // namespace ov
