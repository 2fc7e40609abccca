#include "Xpanel.h"

#include <QPainter>

namespace ov {

TXPanel::TXPanel(QWidget* parent) : QWidget(parent) {
    resize(100, 100);
}

void TXPanel::paintEvent(QPaintEvent*) {
    if (!OnPaint)
        return;
    QPainter painter(this);
    OnPaint(this, painter);
}

} // namespace ov
