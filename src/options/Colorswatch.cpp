#include "Colorswatch.h"

#include "Qtcolor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ov {

TColorSwatch::TColorSwatch(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void TColorSwatch::SetColor(TColor color) {
    if (color == FColor)
        return;
    FColor = color;
    update();
}

void TColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(RgbFromColor(FColor)));
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    if (hasFocus()) {
        // Dotted in the colour that stands out from the fill.
        const QColor fill(RgbFromColor(FColor));
        painter.setPen(QPen(fill.lightness() < 128 ? Qt::white : Qt::black, 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}

void TColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    if (rect().contains(event->position().toPoint()) && OnMouseUp)
        OnMouseUp(this);
}

void TColorSwatch::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (OnMouseUp)
            OnMouseUp(this);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace ov
