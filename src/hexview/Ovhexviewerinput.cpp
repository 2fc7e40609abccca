// TOVHexViewer: window events, scroll bars, keys, mouse, wheel and drops.

#include "Ovhexviewer.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QUrl>
#include <QWheelEvent>

#include <optional>

namespace ov {

namespace {

using TScrollRequest = TOVHexViewer::TScrollRequest;

TScrollRequest RequestOfAction(int action) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        return TScrollRequest::LineBack;
    case QAbstractSlider::SliderSingleStepAdd:
        return TScrollRequest::LineForward;
    case QAbstractSlider::SliderPageStepSub:
        return TScrollRequest::PageBack;
    case QAbstractSlider::SliderPageStepAdd:
        return TScrollRequest::PageForward;
    case QAbstractSlider::SliderMove:
        return TScrollRequest::Thumb;
    default:
        return TScrollRequest::Other;
    }
}

// Where a line, page or thumb request takes a bar at position current;
// nothing for the requests that leave it where it is.
std::optional<int64_t> RequestedPosition(TScrollRequest request, int64_t current, int64_t page,
                                         int64_t thumb) {
    switch (request) {
    case TScrollRequest::LineBack:
        return current - 1;
    case TScrollRequest::LineForward:
        return current + 1;
    case TScrollRequest::PageBack:
        return current - page;
    case TScrollRequest::PageForward:
        return current + page;
    case TScrollRequest::Thumb:
        return thumb;
    case TScrollRequest::Other:
        break;
    }
    return std::nullopt;
}

std::vector<std::string> LocalFiles(const QMimeData* data) {
    std::vector<std::string> files;
    if (!data)
        return files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    }
    return files;
}

} // namespace

void TOVHexViewer::WMVScroll(TScrollRequest request, int thumbPosition) {
    std::optional<int64_t> position = RequestedPosition(request, FVertScrollPos, FPageRows,
                                                        FVertScale.RowOfPosition(thumbPosition));
    if (!position)
        return;
    int64_t before = FVertScrollPos;
    SetScrollPos(*position, skVertical);
    if (FVertScrollPos != before)
        SetTopIndex(FVertScrollPos);
}

void TOVHexViewer::WMHScroll(TScrollRequest request, int thumbPosition) {
    std::optional<int64_t> position = RequestedPosition(
        request, FHorzScrollPos, FLayout.HorzPageStep(viewport()->width()), thumbPosition);
    if (!position)
        return;
    int before = FHorzScrollPos;
    SetScrollPos(*position, skHorizontal);
    if (FHorzScrollPos != before) {
        FHorzOffset = FHorzScrollPos * FLayout.Metrics().CharWidth;
        DrawScreen();
    }
}

// The bar has already moved its slider by its own rule; the view decides
// instead, and the final value written back is the view's.
void TOVHexViewer::VerticalBarAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    WMVScroll(RequestOfAction(action), bar->sliderPosition());
    bar->setSliderPosition(FVertScale.PositionOfRow(FVertScrollPos));
}

void TOVHexViewer::HorizontalBarAction(int action) {
    QScrollBar* bar = horizontalScrollBar();
    WMHScroll(RequestOfAction(action), bar->sliderPosition());
    bar->setSliderPosition(FHorzScrollPos);
}

// A bar moved without a scroll action (its "scroll here" menu item): a
// thumb position like any other.
void TOVHexViewer::VerticalBarMoved(int value) {
    if (value == FVertScale.PositionOfRow(FVertScrollPos))
        return;
    WMVScroll(TScrollRequest::Thumb, value);
    QSignalBlocker quiet(verticalScrollBar());
    verticalScrollBar()->setValue(FVertScale.PositionOfRow(FVertScrollPos));
}

void TOVHexViewer::HorizontalBarMoved(int value) {
    if (value == FHorzScrollPos)
        return;
    WMHScroll(TScrollRequest::Thumb, value);
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
            WMHScroll(TScrollRequest::LineBack);
            break;
        case Qt::Key_Right:
            WMHScroll(TScrollRequest::LineForward);
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

// Every wheel event is a fixed number of line steps, whatever its size, so
// a fine-grained touchpad event scrolls as far as a notch. Sideways wheels
// are not vertical scrolling.
void TOVHexViewer::wheelEvent(QWheelEvent* event) {
    event->accept();
    int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    for (int i = 0; i < FWheelLines; ++i)
        WMVScroll(delta < 0 ? TScrollRequest::LineForward : TScrollRequest::LineBack);
}

void TOVHexViewer::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void TOVHexViewer::dragMoveEvent(QDragMoveEvent* event) {
    if (!LocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void TOVHexViewer::dropEvent(QDropEvent* event) {
    std::vector<std::string> files = LocalFiles(event->mimeData());
    if (files.empty())
        return;
    event->acceptProposedAction();
    if (OnDropFiles)
        OnDropFiles(this, files);
}

} // namespace ov
