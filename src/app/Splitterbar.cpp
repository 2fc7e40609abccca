#include "Splitterbar.h"

#include <QMouseEvent>

#include <algorithm>

namespace ov {

int SplitterPanelHeight(int startHeight, int deltaY, int available, int minSize) {
    int height = startHeight - deltaY;
    height = std::min(height, available - minSize);
    return std::max(height, minSize);
}

TSplitterBar::TSplitterBar(QWidget* panel, QWidget* parent) : QWidget(parent), FPanel(panel) {
    setFixedHeight(Thickness);
    setCursor(Qt::SplitVCursor);
}

void TSplitterBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    FDragging = true;
    FStartY = event->globalPosition().toPoint().y();
    FStartHeight = FPanel->height();
}

void TSplitterBar::mouseMoveEvent(QMouseEvent* event) {
    if (!FDragging || !parentWidget())
        return;
    int delta = event->globalPosition().toPoint().y() - FStartY;
    // What the panel and the control above may share: the parent minus the
    // bar itself and any fixed strips below the panel.
    int available = FPanel->geometry().bottom() + 1 - Thickness;
    FPanel->setFixedHeight(SplitterPanelHeight(FStartHeight, delta, available, MinSize));
}

void TSplitterBar::mouseReleaseEvent(QMouseEvent* event) {
    FDragging = false;
}

} // namespace ov
