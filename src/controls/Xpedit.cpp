#include "Xpedit.h"

#include "Xpdraw.h"

#include <QEvent>
#include <QPainter>

namespace ov {

void PaintXPBorder(QPainter& painter, QSize size, const QColor& border, const QColor& fill,
                   int innerFrames) {
    QRect frame(QPoint(0, 0), size);
    XPFrameRect(painter, frame, border);
    for (int i = 0; i < innerFrames; ++i) {
        frame.adjust(1, 1, -1, -1);
        XPFrameRect(painter, frame, fill);
    }
}

TXPEdit::TXPEdit(QWidget* parent)
    : QLineEdit(parent), FBorderColor(XPColorFromValue(kXPDefaultBorder)) {
    setFrame(false);
    // The stock edit keeps one pixel of vertical margin of its own, so a
    // one-pixel contents margin puts the text two pixels inside the window,
    // as the two-pixel frame demands.
    setContentsMargins(1, 1, 1, 1);
    AdjustHeight();
}

void TXPEdit::SetBorderColor(const QColor& color) {
    if (color == FBorderColor)
        return;
    FBorderColor = color;
    update();
}

void TXPEdit::SetAutoSize(bool autoSize) {
    if (autoSize == FAutoSize)
        return;
    FAutoSize = autoSize;
    AdjustHeight();
}

void TXPEdit::AdjustHeight() {
    if (!FAutoSize)
        return;
    resize(width(), XPEditHeightForText(fontMetrics().height()));
    updateGeometry();
}

QSize TXPEdit::sizeHint() const {
    QSize hint = QLineEdit::sizeHint();
    if (FAutoSize)
        hint.setHeight(XPEditHeightForText(fontMetrics().height()));
    return hint;
}

QSize TXPEdit::minimumSizeHint() const {
    QSize hint = QLineEdit::minimumSizeHint();
    if (FAutoSize)
        hint.setHeight(XPEditHeightForText(fontMetrics().height()));
    return hint;
}

void TXPEdit::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Base));
    }
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    DrawBorder(painter);
}

void TXPEdit::DrawBorder(QPainter& painter) const {
    PaintXPBorder(painter, size(), FBorderColor, palette().color(QPalette::Base), 1);
}

void TXPEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustHeight();
}

} // namespace ov
