// Selection of TOVSynTextViewer: hit testing, the selection and its partial
// repaint, the mouse drag with its edge auto-scroll, and the selected text.

#include "Codepage.h"
#include "Hittest.h"
#include "Messages.h"
#include "Ovsyntextviewer.h"
#include "Selection.h"
#include "Textcanvas.h"
#include "Uiservices.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStringDecoder>
#include <QTimer>

#include <algorithm>

namespace ov {

bool TOVSynTextViewer::IsValidLocation(int line, int column) const {
    return ov::IsValidLocation(*FLines, line, column);
}

void TOVSynTextViewer::SetSelEnd(TTextPoint value) {
    SetSelection({FSelection.Start(), value});
}

void TOVSynTextViewer::SetSelection(const TTextRange& range) {
    const TTextRange before = FSelection;
    FSelection = range.IsValidIn(*FLines) ? range : TTextRange();
    // A cleared selection is drawn away too: the screen never shows a
    // selection that is not there.
    RepaintSelectionChange();
    if (FSelection != before && OnSelectionChange)
        OnSelectionChange(this);
}

void TOVSynTextViewer::SelectAndShow(const TTextRange& range) {
    SetSelection(range);
    if (!IsSelection())
        return;
    ShowLocation(FSelection.Last());
    ShowLocation(FSelection.First());
}

void TOVSynTextViewer::ShowLocation(TTextPoint linePoint) {
    if (!IsValidLocation(linePoint.Y, linePoint.X))
        return;
    const int row = FWordWrap ? OriginToWraped(linePoint).Y : linePoint.Y;
    // The last slot may be cut by the window's bottom edge: a row there is
    // not counted as shown.
    const int fullRows = std::max(FVisibleRows - 1, 1);
    if (row < FTopIndex)
        SetTopIndex(row);
    else if (row >= FTopIndex + fullRows)
        SetTopIndex(row - fullRows + 1);
}

void TOVSynTextViewer::Deselect() {
    FSelAnchor = NoTextPoint;
    SetSelection({});
}

namespace {

// The whole document as a range; empty for an empty one.
TTextRange WholeText(const TOVStringList& lines) {
    if (lines.Count() == 0)
        return {};
    const int last = lines.Count() - 1;
    return {{0, 0}, {std::max(lines.GetLength(last) - 1, 0), last}};
}

// Thrown out of a conversion whose job was cancelled.
struct TConversionCancelled {};

// range of lines in Unicode with LF line ends, lastBytes being the length
// of the character at its end. Converted piece by piece straight into the
// result, which is sized for the most units the bytes can give: no copy of
// the whole text in between, whatever its size. A cancelled control ends
// it with TConversionCancelled.
QString RangeUnicode(const TOVStringList& lines, const TTextRange& range, int lastBytes,
                     TJobControl* control) {
    const std::uint64_t total = std::uint64_t(range.Last().Y - range.First().Y) + 1;
    std::uint64_t pieces = 0;
    auto look = [&] {
        if (control && ++pieces % 4096 == 0) {
            if (control->Cancelled())
                throw TConversionCancelled();
            control->SetProgress(double(pieces) / double(2 * total));
        }
    };
    std::size_t bound = 0;
    ForEachRangePiece(lines, range, lastBytes, [&](std::string_view piece, bool breakBefore) {
        look();
        bound += piece.size() + (breakBefore ? 1 : 0);
    });
    QString text(qsizetype(bound), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    std::size_t used = 0;
    const TCharCoding& coding = lines.CharCoding();
    QStringDecoder utf8(QStringDecoder::Utf8);
    ForEachRangePiece(lines, range, lastBytes, [&](std::string_view piece, bool breakBefore) {
        look();
        if (breakBefore)
            out[used++] = u'\n';
        if (coding.Coding() == TTextCoding::Cp949) {
            used += WideFromAnsiTo(piece, out + used);
            return;
        }
        // The coding's own rule for bytes that form no character (one U+FFFD
        // each) holds in the copy too; well-formed UTF-8 never needs more
        // units than it has bytes.
        const std::string wellFormed = coding.ToUtf8(piece);
        QChar* start = reinterpret_cast<QChar*>(out + used);
        used += std::size_t(
            utf8.appendToBuffer(start, QByteArrayView(wellFormed.data(), qsizetype(wellFormed.size()))) -
            start);
    });
    text.truncate(qsizetype(used));
    return text;
}

} // namespace

void TOVSynTextViewer::SelectAll() {
    // Every line must be indexed first; until then the view stays as it is.
    FJob.Await([this] { return !FLines->Loading(); }, [this] { return LoadProgress(); },
               [this] { SetSelection(WholeText(*FLines)); });
}

int TOVSynTextViewer::CharBytesAt(int line, int column) const {
    const std::string_view text = FLines->GetView(line);
    if (column < 0 || std::size_t(column) >= text.size())
        return 1;
    const TCharCoding& coding = Coding();
    if (!coding.IsCharStart(text, std::size_t(column)))
        return 1;
    return coding.CharLength(text, std::size_t(column));
}

std::string TOVSynTextViewer::GetSelText() const {
    if (!FSelection.IsValidIn(*FLines))
        return {};
    const TTextPoint last = FSelection.Last();
    return RangeText(*FLines, FSelection, CharBytesAt(last.Y, last.X), "\r\n");
}

TTextPoint TOVSynTextViewer::GetCharLocationAt(int x, int y, bool toLine) const {
    if (FRowCount == 0)
        return NoTextPoint;
    const int gutter = GetGutterWidth();
    const int pitch = FLineHeight + FLineSpace;
    const int row = pitch > 0 ? (y - FTopMargin) / pitch + FTopIndex : FTopIndex;
    int column = -1;
    int rowLength = 0;
    if (row >= 0 && row < FRowCount) {
        const TRowSpan span = RowSpan(row);
        rowLength = span.Length;
        if (x > gutter)
            column = HitColumn(FLines->GetView(span.Line).substr(std::size_t(span.Start),
                                                                 std::size_t(span.Length)),
                               FHorzOffset + x - gutter,
                               FUseBitmapFont ? TFontKind::Bitmap : TFontKind::Outline, FTabWidth,
                               Widths());
    }
    if (!toLine)
        return ClassifyHit(column, row, rowLength, FRowCount);
    if (column < 0 || row < 0)
        return NoTextPoint;
    return FWordWrap ? WrapedToOrigin({column, row}) : TTextPoint{column, row};
}

void TOVSynTextViewer::RepaintSelectionChange() {
    if (FShownSelection == FSelection || FLines->GetUpdating() || FBackBuffer.isNull() ||
        FTopIndex < 0 || FLines->Count() == 0)
        return;
    const TTextRange before = FShownSelection;
    FShownSelection = FSelection;
    TTextCanvas canvas(FBackBuffer, &FTextDrawer);
    const int pitch = FLineHeight + FLineSpace;
    const int end = std::min(FTopIndex + FVisibleRows, FRowCount);
    int runStart = -1;
    auto drawRun = [&](int stop) {
        if (runStart < 0)
            return;
        const int top = (runStart - FTopIndex) * pitch + FTopMargin;
        canvas.SetBackColor(RgbFromColor(FColor));
        canvas.FillRect(0, top, canvas.Width(), top + (stop - runStart) * pitch);
        DrawLines(canvas, runStart, stop - runStart);
        runStart = -1;
    };
    for (int row = FTopIndex; row < end; ++row) {
        const TRowSpan span = RowSpan(row);
        if (RowSelection(before, span) == RowSelection(FSelection, span)) {
            drawRun(row);
        } else if (runStart < 0) {
            runStart = row;
        }
    }
    drawRun(end);
    canvas.EndPainting();
    FlushToWindow();
}

QString TOVSynTextViewer::GetSelUnicode() const {
    if (!FSelection.IsValidIn(*FLines))
        return {};
    const TTextPoint last = FSelection.Last();
    return RangeUnicode(*FLines, FSelection, CharBytesAt(last.Y, last.X), nullptr);
}

void TOVSynTextViewer::CopyToClipboard() {
    if (IsSelection())
        CopyRange(FSelection);
}

// A range of a large mapped document is converted on a worker, over a
// second view of the text that stays valid whatever becomes of the view's
// own; the clipboard takes it on the window's thread. The selection is
// left as it is.
void TOVSynTextViewer::CopyRange(const TTextRange& range) {
    if (!range.IsValidIn(*FLines))
        return;
    const TTextPoint last = range.Last();
    const int lastBytes = CharBytesAt(last.Y, last.X);
    if (!WholeDocumentIsLong()) {
        const QString text = RangeUnicode(*FLines, range, lastBytes, nullptr);
        if (!text.isEmpty())
            QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
        return;
    }
    FJob.Await([this] { return !FLines->Loading(); }, [this] { return LoadProgress(); },
               [this, range, lastBytes] {
        auto copy = std::make_shared<TOVSynStringList>();
        if (!range.IsValidIn(*FLines) || !copy->ShareMappedText(*FLines))
            return;
        auto text = std::make_shared<QString>();
        FJob.Run(
            [copy, range, lastBytes, text](TJobControl& control) {
                try {
                    *text = RangeUnicode(*copy, range, lastBytes, &control);
                } catch (const TConversionCancelled&) {
                }
            },
            [text] {
                if (!text->isEmpty())
                    QGuiApplication::clipboard()->setText(*text, QClipboard::Clipboard);
            });
    });
}

std::uint64_t TOVSynTextViewer::TextBytes() const {
    if (FLines->Mapped())
        return FLines->MappedBytes();
    // Each line and its line end.
    std::uint64_t bytes = 0;
    for (int i = 0; i < FLines->Count(); ++i)
        bytes += std::uint64_t(FLines->RowLength(i)) + 1;
    return bytes;
}

void TOVSynTextViewer::CopyAll() {
    // The question waits for the line count, which needs every line indexed.
    FJob.Await([this] { return !FLines->Loading(); }, [this] { return LoadProgress(); }, [this] {
        if (FLines->Count() == 0)
            return;
        if (FLines->Count() >= LargeCopyLines &&
            !UIServices().AskYesNo(LargeCopyQuestion(TextBytes()), LoadStr(SWarning),
                                   TMessageIcon::Warning))
            return;
        const TWaitCursor wait;
        CopyRange(WholeText(*FLines));
    });
}

// --- mouse ----------------------------------------------------------------------

void TOVSynTextViewer::mousePressEvent(QMouseEvent* event) {
    if (isVisible())
        setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton && FLines->Count() > 0) {
        FSelecting = true;
        Deselect();
        FSelAnchor = GetCharLocationAt(event->position().toPoint().x(),
                                       event->position().toPoint().y(), false);
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void TOVSynTextViewer::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && FLines->Count() > 0 && FSelecting) {
        FSelPointer = event->position().toPoint();
        UpdateSelScroll(FSelPointer);
        ExtendSelection(FSelPointer);
    }
    QAbstractScrollArea::mouseMoveEvent(event);
}

void TOVSynTextViewer::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const bool dragged = FSelecting;
        FSelecting = false;
        StopSelScroll();
        if (!FSelection.IsValidIn(*FLines))
            SetSelection({});
        // As in every X11 program, what the mouse selects can be pasted
        // elsewhere with the middle button.
        if (dragged && IsSelection() && QGuiApplication::clipboard()->supportsSelection())
            QGuiApplication::clipboard()->setText(GetSelUnicode(), QClipboard::Selection);
    }
    QAbstractScrollArea::mouseReleaseEvent(event);
}

// A drag whose release goes elsewhere (a menu or another window took the
// pointer) ends here, so that no edge scrolling outlives it.
void TOVSynTextViewer::focusOutEvent(QFocusEvent* event) {
    FSelecting = false;
    StopSelScroll();
    QAbstractScrollArea::focusOutEvent(event);
}

// The second press of a double click: no word is selected, and no drag
// starts from it.
void TOVSynTextViewer::mouseDoubleClickEvent(QMouseEvent*) {
    FSelAnchor = NoTextPoint;
    FSelection = {};
    if (OnDblClick)
        OnDblClick(this);
}

// The selection from the anchor to the client point, as a drag to there
// selects it.
void TOVSynTextViewer::ExtendSelection(QPoint pointer) {
    const TTextPoint hit = GetCharLocationAt(pointer.x(), pointer.y(), false);
    const TTextRange rows = DragSelection(FSelAnchor, hit, FRowCount,
                                          [this](int row) { return RowSpan(row).Length; });
    if (rows.IsEmpty()) {
        SetSelection({});
        return;
    }
    if (!FWordWrap) {
        SetSelection(rows);
        return;
    }
    SetSelection({WrapedToOrigin(rows.Start()), WrapedToOrigin(rows.End())});
}

// Near or past an edge of the client area a drag scrolls on its own, one
// step per tick, toward that edge; a side edge wins over the top and bottom.
// The direction is fixed when the timer starts and the timer stops when the
// pointer comes back inside.
void TOVSynTextViewer::UpdateSelScroll(QPoint pointer) {
    constexpr int edge = 16;
    TSelScroll direction = TSelScroll::None;
    if (pointer.y() > ClientHeight() - edge)
        direction = TSelScroll::Down;
    else if (pointer.y() < edge)
        direction = TSelScroll::Up;
    if (pointer.x() > ClientWidth() - edge)
        direction = TSelScroll::Right;
    else if (pointer.x() < edge)
        direction = TSelScroll::Left;
    if (direction == TSelScroll::None) {
        StopSelScroll();
        return;
    }
    if (FSelScrollTimer)
        return;
    FSelScrollDirection = direction;
    FSelScrollTimer = std::make_unique<QTimer>();
    FSelScrollTimer->setInterval(SelScrollInterval);
    connect(FSelScrollTimer.get(), &QTimer::timeout, this, &TOVSynTextViewer::OnScrollTimer);
    FSelScrollTimer->start();
}

void TOVSynTextViewer::StopSelScroll() {
    FSelScrollTimer.reset();
}

// One step toward the edge; the selection follows to the row now under the
// pointer, so that holding the pointer still past the edge keeps selecting.
void TOVSynTextViewer::OnScrollTimer() {
    switch (FSelScrollDirection) {
    case TSelScroll::Up:
        VertScroll(TScrollCode::LineBack);
        break;
    case TSelScroll::Down:
        VertScroll(TScrollCode::LineForward);
        break;
    case TSelScroll::Left:
        HorzScroll(TScrollCode::LineBack);
        break;
    case TSelScroll::Right:
        HorzScroll(TScrollCode::LineForward);
        break;
    case TSelScroll::None:
        break;
    }
    if (FSelecting && FLines->Count() > 0)
        ExtendSelection(FSelPointer);
}

} // namespace ov
