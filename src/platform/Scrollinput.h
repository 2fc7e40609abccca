// Input both viewers share, free of Qt: the scroll codes the bars, keys,
// wheel and timers send, where a code takes a bar, and the wheel's
// fractions of a notch gathered into whole notches.

#pragma once

#include <cstdint>

namespace ov {

// A line or page step either way, a thumb dragged to a position, or a
// request (to the top, to the end, the end of a drag) the views ignore.
enum class TScrollCode { LineBack, LineForward, PageBack, PageForward, Track, Other };

// Where code takes a bar at position with page positions to a page; Track
// goes to trackPosition and Other stays. The bar clamps the result.
template <class T>
constexpr T ScrollTarget(T position, TScrollCode code, T page, T trackPosition) {
    switch (code) {
    case TScrollCode::LineBack:
        return position - 1;
    case TScrollCode::LineForward:
        return position + 1;
    case TScrollCode::PageBack:
        return position - page;
    case TScrollCode::PageForward:
        return position + page;
    case TScrollCode::Track:
        return trackPosition;
    case TScrollCode::Other:
        break;
    }
    return position;
}

// Gathers wheel turns into notches. A turn of a whole notch or more counts
// as one notch at once and drops what had gathered; smaller turns
// (fine-grained wheels, touchpads) add up, each whole notch counting once
// and the rest kept for the next. Turning the other way starts over.
// Deltas are in eighths of a degree, positive away from the user.
class TWheelNotches {
public:
    static constexpr int Notch = 120;

    // LineBack (towards the top) or LineForward once a notch is complete,
    // Other while it is not.
    TScrollCode Turn(int delta);
    void Reset() { FRemainder = 0; }
    int Remainder() const { return FRemainder; }

private:
    int FRemainder = 0;
};

} // namespace ov
