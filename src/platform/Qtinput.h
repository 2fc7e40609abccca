// The Qt side of the input both viewers share: a scroll bar's action as a
// scroll code, and the local files a drag carries and a drop hands over.

#pragma once

#include "Scrollinput.h"

#include <functional>
#include <string>
#include <vector>

class QDropEvent;
class QMimeData;

namespace ov {

// QAbstractSlider::SliderAction as a scroll code; the actions the views do
// not follow (to minimum, to maximum, none) are Other.
TScrollCode ScrollCodeOfSliderAction(int action);

// The local files of a drag or drop in the order it lists them, as the
// system's 8-bit names; other URLs are left out. Empty for no data.
std::vector<std::string> DroppedLocalFiles(const QMimeData* data);

// The file drop both views take. A drag that carries local files is
// accepted, on entering and on moving alike (both events are drop events);
// any other is left to the widget's default. A drop of local files is
// accepted and its paths handed to onFiles in the order the drop lists them;
// a drop without any calls nothing.
using TDroppedFilesEvent = std::function<void(const std::vector<std::string>& files)>;
void AcceptFileDrag(QDropEvent* event);
void TakeFileDrop(QDropEvent* event, const TDroppedFilesEvent& onFiles);

} // namespace ov
