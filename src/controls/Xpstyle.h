#pragma once
// The geometry of the combo box's and the spin field's parts, and a proxy
// style that hands that geometry to the stock widgets, so that their edit
// fields, pop-ups and arrow hit tests agree with what the styled controls
// draw. The proxy draws nothing itself: the controls paint themselves.

#include <QRect>

class QStyle;

namespace ov {

// The drop-down button of a combo box of the given size:
// (W - 17, 2) to (W - 2, H - 2), right and bottom excluded.
QRect XPComboButtonRect(QSize size);
// The text part: inside the three frames, up to the area cleared left of the
// button.
QRect XPComboEditRect(QSize size);

// The spin field's arrow buttons share the combo button's column: the upper
// half for up, the lower half for down.
QRect XPSpinUpRect(QSize size);
QRect XPSpinDownRect(QSize size);
QRect XPSpinEditRect(QSize size);

// One shared instance, owned by the application object.
QStyle* XPControlStyle();

} // namespace ov
