#include "Viewerstandins.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace ov {

TTextViewerStandIn::TTextViewerStandIn(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    FForeColor = palette().color(QPalette::Text);
    ApplyBackColor(palette().color(QPalette::Base));
    resize(350, 350);
}

void TTextViewerStandIn::SetBackColor(const QColor& color) {
    if (color != FBackColor)
        ApplyBackColor(color);
}

void TTextViewerStandIn::ApplyBackColor(const QColor& color) {
    FBackColor = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Window, color);
    setPalette(colors);
}

void TTextViewerStandIn::keyPressEvent(QKeyEvent* event) {
    if (OnKeyDown)
        OnKeyDown(this, event->key(), event->modifiers());
    QFrame::keyPressEvent(event);
}

void TTextViewerStandIn::mouseDoubleClickEvent(QMouseEvent* event) {
    if (OnDblClick)
        OnDblClick(this);
    QFrame::mouseDoubleClickEvent(event);
}

} // namespace ov
