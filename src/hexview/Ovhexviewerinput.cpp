// TOVHexViewer: window events, scroll bars, keys, mouse, wheel and drops.

#include "Ovhexviewer.h"
#include "Qtinput.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

namespace ov {

// Other (to the top, to the end) is not a request the view follows.
void TOVHexViewer::WMVScroll(TScrollCode code, int thumbPosition) {
    if (code == TScrollCode::Other)
        return;
    const int64_t before = FVertScrollPos;
    SetScrollPos(ScrollTarget<int64_t>(FVertScrollPos, code, FPageRows,
                                       FVertScale.RowOfPosition(thumbPosition)),
                 skVertical);
    if (FVertScrollPos != before)
        SetTopIndex(FVertScrollPos);
}

void TOVHexViewer::WMHScroll(TScrollCode code, int thumbPosition) {
    if (code == TScrollCode::Other)
        return;
    const int before = FHorzScrollPos;
    SetScrollPos(ScrollTarget<int64_t>(FHorzScrollPos, code,
                                       FLayout.HorzPageStep(viewport()->width()), thumbPosition),
                 skHorizontal);
    if (FHorzScrollPos != before) {
        FHorzOffset = FHorzScrollPos * FLayout.Metrics().CharWidth;
        DrawScreen();
    }
}

// The bar has already moved its slider by its own rule; the view decides
// instead, and the final value written back is the view's.
void TOVHexViewer::VerticalBarAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    WMVScroll(ScrollCodeOfSliderAction(action), bar->sliderPosition());
    bar->setSliderPosition(FVertScale.PositionOfRow(FVertScrollPos));
}

void TOVHexViewer::HorizontalBarAction(int action) {
    QScrollBar* bar = horizontalScrollBar();
    WMHScroll(ScrollCodeOfSliderAction(action), bar->sliderPosition());
    bar->setSliderPosition(FHorzScrollPos);
}

// A bar moved without a scroll action (its "scroll here" menu item): a
// thumb position like any other.
void TOVHexViewer::VerticalBarMoved(int value) {
    if (value == FVertScale.PositionOfRow(FVertScrollPos))
        return;
    WMVScroll(TScrollCode::Track, value);
    QSignalBlocker quiet(verticalScrollBar());
    verticalScrollBar()->setValue(FVertScale.PositionOfRow(FVertScrollPos));
}

void TOVHexViewer::HorizontalBarMoved(int value) {
    if (value == FHorzScrollPos)
        return;
    WMHScroll(TScrollCode::Track, value);
    QSignalBlocker quiet(horizontalScrollBar());
    horizontalScrollBar()->setValue(FHorzScrollPos);
}

// The view moves itself; the scroll area's own content shift is not used.
void TOVHexViewer::scrollContentsBy(int, int) {}

void TOVHexViewer::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.drawImage(0, 0, FBackBuffer);
    QRect covered(QPoint(0, 0), FBackBuffer.size());
    if (!covered.contains(viewport()->rect())) {
        QRegion rest = QRegion(viewport()->rect()).subtracted(covered);
        for (const QRect& part : rest)
            painter.fillRect(part, FColor);
    }
}

// Resize events arrive for the frame and for the viewport; only a change of
// the client size matters.
void TOVHexViewer::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    if (!FWindowCreated || viewport()->size() != FBackBuffer.size())
        WMSize();
}

void TOVHexViewer::WMSize() {
    FWindowCreated = true;
    FBackBuffer = QImage();
    FBackBuffer = QImage(viewport()->size(), QImage::Format_RGB32);
    ClearBackBuffer();
    Remeasure();
    SetPageRow();
    UpdateScrollBar(skBoth);
    Paint();
}

void TOVHexViewer::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        CMFontChanged();
}

void TOVHexViewer::CMFontChanged() {
    FPainter.SetFont(font());
    Remeasure();
    FHorzOffset = FHorzScrollPos * FLayout.Metrics().CharWidth;
    SetPageRow();
    // New widths and row heights change both bars' ranges.
    UpdateScrollBar(skBoth);
}

void TOVHexViewer::keyPressEvent(QKeyEvent* event) {
    KeyDown(event->key(), event->modifiers());
    event->accept();
}

void TOVHexViewer::KeyDown(int key, Qt::KeyboardModifiers shift) {
    if ((shift & ~Qt::KeypadModifier) == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_PageUp:
            SetTopIndex(std::max<int64_t>(FTopIndex - FPageRows, 0));
            break;
        case Qt::Key_PageDown:
            SetTopIndex(std::min<int64_t>(FTopIndex + FPageRows, FRowCount - FPageRows));
            break;
        case Qt::Key_End:
            SetTopIndex(FRowCount - FPageRows + 1);
            break;
        case Qt::Key_Home:
            SetTopIndex(0);
            break;
        case Qt::Key_Up:
            SetTopIndex(FTopIndex - 1);
            break;
        case Qt::Key_Down:
            SetTopIndex(FTopIndex + 1);
            break;
        case Qt::Key_Left:
            WMHScroll(TScrollCode::LineBack);
            break;
        case Qt::Key_Right:
            WMHScroll(TScrollCode::LineForward);
            break;
        default:
            break;
        }
    }
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TOVHexViewer::mousePressEvent(QMouseEvent* event) {
    if (isVisible())
        setFocus(Qt::MouseFocusReason);
    if (OnMouseDown) {
        QPoint at = event->position().toPoint();
        OnMouseDown(this, event->button(), event->modifiers(), at.x(), at.y());
    }
}

void TOVHexViewer::mouseDoubleClickEvent(QMouseEvent*) {
    if (OnDblClick)
        OnDblClick(this);
}

// Fractions of a notch (touchpads, fine-grained wheels) gather into whole
// notches as in the text view. Sideways wheels are not vertical scrolling.
void TOVHexViewer::wheelEvent(QWheelEvent* event) {
    event->accept();
    const TScrollCode code = FWheelNotches.Turn(event->angleDelta().y());
    if (code == TScrollCode::Other)
        return;
    for (int i = 0; i < FWheelLines; ++i)
        WMVScroll(code);
}

void TOVHexViewer::dragEnterEvent(QDragEnterEvent* event) {
    AcceptFileDrag(event);
}

void TOVHexViewer::dragMoveEvent(QDragMoveEvent* event) {
    AcceptFileDrag(event);
}

void TOVHexViewer::dropEvent(QDropEvent* event) {
    TakeFileDrop(event, [this](const std::vector<std::string>& files) {
        if (OnDropFiles)
            OnDropFiles(this, files);
    });
}

} // namespace ov
