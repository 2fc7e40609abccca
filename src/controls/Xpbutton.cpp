#include "Xpbutton.h"

#include "Xpdraw.h"

#include <QEvent>
#include <QPainter>

namespace ov {

namespace {

const QColor kFrame(0, 59, 115);
const QColor kFace(255, 255, 255);
const QColor kPressedFace(235, 235, 235);
const QColor kDisabledFrame(201, 199, 186);
const QColor kDisabledFace(244, 244, 243);
const QColor kShadeA(224, 217, 207);
const QColor kShadeB(236, 233, 224);
const QColor kFocusOuter(89, 143, 217);
const QColor kFocusInner(115, 161, 211);

void PaintShading(QPainter& painter, int width, int height, bool pressed) {
    const int w = width, h = height;
    if (pressed) {
        XPDrawLine(painter, 2, 1, w - 2, 1, kShadeA);
        XPDrawLine(painter, 1, 2, 1, h - 2, kShadeA);
        XPDrawLine(painter, 1, 2, w - 1, 2, kShadeB);
        XPDrawLine(painter, 2, 1, 2, h - 2, kShadeB);
        return;
    }
    XPDrawLine(painter, 2, h - 2, w - 2, h - 2, kShadeA);
    XPDrawLine(painter, w - 2, 2, w - 2, h - 2, kShadeA);
    XPDrawLine(painter, 1, h - 3, w - 1, h - 3, kShadeB);
    XPDrawLine(painter, w - 3, 1, w - 3, h - 2, kShadeB);
}

void PaintFocusMark(QPainter& painter, int width, int height) {
    XPDrawLine(painter, 2, height - 2, width - 2, height - 2, kFocusOuter);
    XPDrawLine(painter, 1, height - 3, width - 1, height - 3, kFocusInner);
}

} // namespace

bool XPButtonShowsFocusMark(bool enabled, bool pressed, bool tabStop, bool focused,
                            bool isDefault) {
    return enabled && !pressed && tabStop && (focused || isDefault);
}

void PaintXPButtonFace(QPainter& painter, QSize size, const TXPButtonLook& look) {
    const QRect whole(QPoint(0, 0), size);
    if (!look.Enabled) {
        XPDrawRoundRect(painter, whole, 5, 5, kDisabledFrame, kDisabledFace);
        return;
    }
    XPDrawRoundRect(painter, whole, 5, 5, kFrame, look.Pressed ? kPressedFace : kFace);
    PaintShading(painter, size.width(), size.height(), look.Pressed);
    if (look.FocusMark)
        PaintFocusMark(painter, size.width(), size.height());
}

TXPButton::TXPButton(QWidget* parent) : QPushButton(parent) {}

TXPButton::TXPButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void TXPButton::SetButtonStyle(bool isDefault) {
    if (isDefault == QPushButton::isDefault())
        return;
    setDefault(isDefault);
    update();
}

TXPButtonLook TXPButton::Look() const {
    const bool tabStop = (focusPolicy() & Qt::TabFocus) != 0;
    TXPButtonLook look;
    look.Enabled = isEnabled();
    look.Pressed = isDown();
    look.FocusMark =
        XPButtonShowsFocusMark(look.Enabled, look.Pressed, tabStop, hasFocus(), isDefault());
    return look;
}

void TXPButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TXPButtonLook look = Look();
    PaintXPButtonFace(painter, size(), look);
    painter.setFont(font());
    painter.setPen(look.Enabled ? palette().color(QPalette::Active, QPalette::ButtonText)
                                : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextSingleLine, text());
}

void TXPButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange)
        update();
    QPushButton::changeEvent(event);
}

} // namespace ov
