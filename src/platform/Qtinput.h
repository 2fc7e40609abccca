// The Qt side of the input both viewers share: a scroll bar's action as a
// scroll code, and the local files a drag carries.

#pragma once

#include "Scrollinput.h"

#include <string>
#include <vector>

class QMimeData;

namespace ov {

// QAbstractSlider::SliderAction as a scroll code; the actions the views do
// not follow (to minimum, to maximum, none) are Other.
TScrollCode ScrollCodeOfSliderAction(int action);

// The local files of a drag or drop in the order it lists them, as the
// system's 8-bit names; other URLs are left out. Empty for no data.
std::vector<std::string> DroppedLocalFiles(const QMimeData* data);

} // namespace ov
