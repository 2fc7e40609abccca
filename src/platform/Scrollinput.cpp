#include "Scrollinput.h"

#include <cstdlib>

namespace ov {

TScrollCode TWheelNotches::Turn(int delta) {
    if (delta == 0)
        return TScrollCode::Other;
    if (std::abs(delta) < Notch) {
        if (FRemainder != 0 && (FRemainder < 0) != (delta < 0))
            FRemainder = 0;
        FRemainder += delta;
        if (std::abs(FRemainder) < Notch)
            return TScrollCode::Other;
        // What goes beyond the notch starts the next one.
        FRemainder -= delta < 0 ? -Notch : Notch;
    } else {
        FRemainder = 0;
    }
    return delta < 0 ? TScrollCode::LineForward : TScrollCode::LineBack;
}

} // namespace ov
