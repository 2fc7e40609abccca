// Scrolling and input of TOVSynTextViewer: the top row with its partial
// repaint, the scroll bars with the system scroll bar's meaning (range
// 0 .. Maximum, a page of Page, positions up to Maximum - Page + 1), the
// scroll codes, the wheel, resizing, keys and dropped files.

#include "Ovsyntextviewer.h"
#include "Qtinput.h"
#include "Textcanvas.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace ov {

void TOVSynTextViewer::SetTopIndex(int value) {
    // A row not indexed yet: the view goes as far as the index has come and
    // follows it there, the window answering meanwhile (wrapped rows need
    // every line first).
    FLoadFollower.AskTop(value, FRowCount, FLines->Loading() && (!FWordWrap || FWrapInParts));
    if (FWordWrap && !FWrapInParts && value >= FRowCount && FLines->Loading())
        FinishLoading();
    if (value == FTopIndex)
        return;
    const int old = FTopIndex;
    FTopIndex = ClampTopIndex(value, FRowCount, FVisibleRows);
    if (WrapShownRows()) {
        DrawScreen(true); // rows before the top changed their count
    } else if (!FLines->GetUpdating()) {
        const TRepaintPlan plan = PlanTopIndexRepaint(
            old, FTopIndex, FVisibleRows, FLineHeight + FLineSpace, FTopMargin, ClientHeight());
        if (plan.Kind == TRepaintPlan::Full) {
            DrawScreen(true);
        } else if (plan.Kind != TRepaintPlan::Nothing && !FBackBuffer.isNull()) {
            TTextCanvas canvas(FBackBuffer, &FTextDrawer);
            canvas.SetBackColor(RgbFromColor(FColor));
            MoveImageRows(FBackBuffer, plan.SourceY, plan.TargetY, plan.CopyHeight);
            canvas.FillRect(0, plan.FillTop, canvas.Width(), plan.FillBottom);
            DrawLines(canvas, plan.FirstRow, plan.RowCount);
            canvas.EndPainting();
            FlushToWindow();
        }
    }
    SetScrollPos(FTopIndex, sbVertical);
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

namespace {

// A disabled bar shows no thumb: an empty range leaves nothing to suggest a
// position, whatever the bar showed before. The view keeps its own position;
// this is no scroll request, so the bar's signals stay quiet.
void HideThumb(QScrollBar* bar) {
    QSignalBlocker quiet(bar);
    bar->setRange(0, 0);
}

} // namespace

void TOVSynTextViewer::UpdateScrollBar(unsigned kind) {
    if (kind == sbVertical || kind == sbBoth) {
        const TScrollRange range = VertScrollRange(FRowCount, FVisibleRows);
        QScrollBar* bar = verticalScrollBar();
        bar->setEnabled(range.Enabled);
        if (range.Enabled) {
            bar->setRange(0, range.LastPosition());
            bar->setPageStep(range.Page);
            // While the bar was disabled the top row moved without it: the
            // next step must start from the row shown.
            bar->setValue(std::max(FTopIndex, 0));
            FVertScrollPos = bar->value();
        } else {
            HideThumb(bar);
        }
    }
    if (kind == sbHorizontal || kind == sbBoth) {
        const TScrollRange range =
            HorzScrollRange(FWordWrap, ClientWidth() - GetGutterWidth(), FMaxStrWidth, HorzUnit());
        QScrollBar* bar = horizontalScrollBar();
        bar->setEnabled(range.Enabled);
        if (range.Enabled) {
            bar->setRange(0, range.LastPosition());
            bar->setPageStep(range.Page);
            // A shorter range (a wider text area) moves the box back: the
            // text goes with it, so that the next step starts from the box.
            if (bar->value() != FHorzScrollPos) {
                FHorzScrollPos = bar->value();
                FHorzOffset = (long long)FHorzScrollPos * std::max(HorzUnit(), 1);
            }
        } else {
            HideThumb(bar);
        }
    }
}

void TOVSynTextViewer::SetScrollPos(int pos, unsigned kind) {
    if (kind == sbVertical) {
        if (pos >= FRowCount || FRowCount < FVisibleRows)
            return;
        verticalScrollBar()->setValue(pos);
        FVertScrollPos = verticalScrollBar()->value();
    } else if (kind == sbHorizontal) {
        if (FWordWrap || ClientWidth() - GetGutterWidth() >= FMaxStrWidth)
            return;
        horizontalScrollBar()->setValue(pos);
        FHorzScrollPos = horizontalScrollBar()->value();
    }
}

// The text back at its left edge, with the bar and its recorded position.
void TOVSynTextViewer::ResetHorzScroll() {
    FHorzOffset = 0;
    FHorzScrollPos = 0;
    horizontalScrollBar()->setValue(0);
}

void TOVSynTextViewer::VertScroll(TScrollCode code, int trackPosition) {
    const int before = FVertScrollPos;
    SetScrollPos(ScrollTarget(FVertScrollPos, code, FVisibleRows, trackPosition), sbVertical);
    if (FVertScrollPos != before)
        SetTopIndex(FVertScrollPos);
}

void TOVSynTextViewer::HorzScroll(TScrollCode code, int trackPosition) {
    const int unit = HorzUnit() > 0 ? HorzUnit() : 1;
    const int page = (ClientWidth() - GetGutterWidth()) / unit;
    const int before = FHorzScrollPos;
    SetScrollPos(ScrollTarget(FHorzScrollPos, code, page, trackPosition), sbHorizontal);
    if (FHorzScrollPos != before) {
        FHorzOffset = (long long)FHorzScrollPos * unit;
        DrawScreen(true);
    }
}

// The bar has moved its slider already; the view decides the position and
// puts the slider there, so the bar never runs ahead of the view.
void TOVSynTextViewer::OnVertAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    VertScroll(ScrollCodeOfSliderAction(action), bar->sliderPosition());
    bar->setSliderPosition(FVertScrollPos);
}

void TOVSynTextViewer::OnHorzAction(int action) {
    QScrollBar* bar = horizontalScrollBar();
    HorzScroll(ScrollCodeOfSliderAction(action), bar->sliderPosition());
    bar->setSliderPosition(FHorzScrollPos);
}

void TOVSynTextViewer::scrollContentsBy(int, int) {}

// A purely horizontal wheel turn has no vertical meaning; fractions of a
// notch gather into whole ones.
void TOVSynTextViewer::wheelEvent(QWheelEvent* event) {
    event->accept();
    const TScrollCode code = FWheelNotches.Turn(event->angleDelta().y());
    if (code == TScrollCode::Other)
        return;
    for (int k = 0; k < FWheelScrollLines; ++k)
        VertScroll(code);
}

void TOVSynTextViewer::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    WMSize();
}

void TOVSynTextViewer::WMSize() {
    const int oldTop = FTopIndex;
    FBackBuffer = QImage();
    if (viewport()->width() > 0 && viewport()->height() > 0) {
        FBackBuffer = QImage(viewport()->size(), QImage::Format_RGB32);
        FBackBuffer.fill(RgbFromColor(FColor));
    }
    UpdateVisibleRows();
    if (FWordWrap)
        MakeWrapedLines(false);
    else
        UpdateScrollBar(sbBoth);
    // The view stays inside its rows: a top row past the last page moves
    // back, and a horizontal offset goes when the text fits.
    KeepTopIndexInRange();
    SetScrollPos(FTopIndex, sbVertical);
    if (!horizontalScrollBar()->isEnabled())
        ResetHorzScroll();
    DrawScreen(false);
    if (FTopIndex != oldTop && OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::paintEvent(QPaintEvent*) {
    if ((FTopIndex == -1 || FLines->Count() == 0) && !FBackBuffer.isNull())
        FBackBuffer.fill(RgbFromColor(FColor));
    QPainter painter(viewport());
    painter.drawImage(0, 0, FBackBuffer);
}

void TOVSynTextViewer::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FontChanged();
}

void TOVSynTextViewer::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (modifiers == Qt::NoModifier && FLines->Count() > 0) {
        const int last = FRowCount - FVisibleRows + 1;
        switch (key) {
        case Qt::Key_Down:
            SetTopIndex(FTopIndex + 1);
            break;
        case Qt::Key_Up:
            SetTopIndex(FTopIndex - 1);
            break;
        case Qt::Key_PageDown:
            SetTopIndex(FTopIndex + FVisibleRows > last ? last : FTopIndex + FVisibleRows - 1);
            break;
        case Qt::Key_PageUp:
            SetTopIndex(FTopIndex - FVisibleRows < 0 ? 0 : FTopIndex - (FVisibleRows - 1));
            break;
        case Qt::Key_Home:
            SetTopIndex(0);
            break;
        case Qt::Key_End:
            SetTopIndex(FLines->Loading() ? TLoadFollower::End : last);
            break;
        case Qt::Key_Left:
            if (!FWordWrap)
                HorzScroll(TScrollCode::LineBack);
            break;
        case Qt::Key_Right:
            if (!FWordWrap)
                HorzScroll(TScrollCode::LineForward);
            break;
        default:
            break;
        }
    }
    if (OnKeyDown)
        OnKeyDown(this, key, event->modifiers());
    event->accept();
}

void TOVSynTextViewer::dragEnterEvent(QDragEnterEvent* event) {
    AcceptFileDrag(event);
}

void TOVSynTextViewer::dragMoveEvent(QDragMoveEvent* event) {
    AcceptFileDrag(event);
}

// The paths go to OnDropFiles in the order the drop lists them.
void TOVSynTextViewer::dropEvent(QDropEvent* event) {
    TakeFileDrop(event, [this](const std::vector<std::string>& files) {
        if (OnDropFiles)
            OnDropFiles(this, files);
    });
}

} // namespace ov
