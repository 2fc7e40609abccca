// Metrics, document changes and word wrap of TOVSynTextViewer.

#include "Ovsyntextviewer.h"
#include "Putbmpfont.h"

#include <QElapsedTimer>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace ov {

// --- metrics ----------------------------------------------------------------

int TOVSynTextViewer::ClientWidth() const {
    return viewport()->width();
}
int TOVSynTextViewer::ClientHeight() const {
    return viewport()->height();
}

int TOVSynTextViewer::GetLineNumWidth() const {
    const int digitWidth = FUseBitmapFont ? BmpSingleWidth : FTextDrawer.CharWidth('0', 0);
    return LineNumberWidth(FShowLineNum, FRowCount, digitWidth);
}

uint16_t TOVSynTextViewer::GetGutterWidth() const {
    return uint16_t(GutterWidth(FLeftMargin, GetLineNumWidth()));
}

long long TOVSynTextViewer::GetMaxStrWidth() const {
    if (FWordWrap)
        return FMaxStrWidth;
    const int count = FLines->Count();
    const bool known = FWidestKnown.Lines >= 0 && FWidestKnown.Lines <= count;
    FWidestKnown = {WidestLine(known ? FWidestKnown.Lines : 0, count, known ? FWidestKnown.Width : 0), count};
    return FWidestKnown.Width;
}

long long TOVSynTextViewer::WidestLine(int first, int end, long long widest) const {
    const bool cp949 = FLines->Coding() == TTextCoding::Cp949;
    // With a bitmap font, a stretch of lines none of which has more bytes
    // than the widest found allows is passed whole: a mapped file tells the
    // longest of a stretch without reading its text. A long stretch is asked
    // about first, so that a long file of lines about as long as each other
    // is passed in a few questions.
    constexpr int stretch = int(TMappedLines::GroupLines);
    constexpr int longStretch = 256 * stretch;
    for (int i = first; i < end; ++i) {
        if (FUseBitmapFont && i % stretch == 0) {
            if (i % longStretch == 0) {
                const int stop = std::min(end, i + longStretch);
                if ((long long)FLines->LongestRow(i, stop) * BmpSingleWidth <= widest) {
                    i = stop - 1;
                    continue;
                }
            }
            const int stop = std::min(end, i + stretch);
            if ((long long)FLines->LongestRow(i, stop) * BmpSingleWidth <= widest) {
                i = stop - 1;
                continue;
            }
        }
        const int length = FLines->RowLength(i);
        if (FUseBitmapFont) {
            // No character of a bitmap font is wider than one cell a byte (a
            // double-width one has two bytes or more), so a line cannot beat
            // the widest found unless it has more bytes: most lines of a
            // long file are never decoded.
            const long long bound = (long long)length * BmpSingleWidth;
            if (bound <= widest)
                continue;
            if (cp949) {
                widest = bound;
                continue;
            }
        }
        widest = std::max(widest, Widths().RawWidth({FLines->RowText(i), std::size_t(length)}));
    }
    return widest;
}

int TOVSynTextViewer::HorzUnit() const {
    return FUseBitmapFont ? 40 : 5 * FTextDrawer.CharWidth('S', 0);
}

void TOVSynTextViewer::SetLineHeight() {
    FLineHeight = FUseBitmapFont ? BmpCellHeight : FTextDrawer.Height();
    UpdateVisibleRows();
    UpdateScrollBar(sbVertical);
}

void TOVSynTextViewer::UpdateVisibleRows() {
    FVisibleRows = CountVisibleRows(ClientHeight(), FTopMargin, FLineHeight, FLineSpace);
}

const TCharWidths& TOVSynTextViewer::Widths() const {
    return *FWidths;
}

void TOVSynTextViewer::ResetWidths() {
    FWidestKnown = {};
    FLineMarks.Invalidate(); // its chunk widths belong to the old widths
    if (FUseBitmapFont)
        FWidths = std::make_unique<TBitmapCharWidths>(FTabWidth);
    else
        FWidths = std::make_unique<TOutlineCharWidths>(FTextDrawer, FTabWidth);
    FWidths->SetCoding(FLines->CharCoding());
}

void TOVSynTextViewer::FontChanged() {
    FTextDrawer.SetFont(font());
    FontMetricsChanged();
}

// Another font (or the other kind of font) draws the text: the rows, the
// widest line and the line height follow it. The horizontal bar is measured
// again in the new widths and units, and the text stays where it then says.
void TOVSynTextViewer::FontMetricsChanged() {
    const int oldTop = FTopIndex;
    ResetWidths();
    if (FWordWrap) {
        MakeWrapedLines(false);
    } else {
        MeasureWidest();
        UpdateScrollBar(sbHorizontal);
        if (horizontalScrollBar()->isEnabled()) {
            const int unit = std::max(HorzUnit(), 1);
            SetScrollPos(int(std::min<long long>(FHorzOffset / unit, INT_MAX)), sbHorizontal);
            FHorzOffset = (long long)FHorzScrollPos * unit;
        } else {
            ResetHorzScroll();
        }
    }
    SetLineHeight();
    KeepTopIndexInRange();
    DrawScreen(true);
    if (FTopIndex != oldTop && OnTopIndexChanged)
        OnTopIndexChanged(this);
}

// --- document -----------------------------------------------------------------

void TOVSynTextViewer::LinesChange() {
    FWidestKnown = {};
    FJob.Cancel(); // what it works on is gone
    StopBackgroundHighlighting(); // its marks would be of the old text
    // Highlighting that is not done in the background is made for the
    // whole document at once; wrapping goes a part at a time.
    if (FLines->Loading() && FHighlightActive && !FMarker.MarksInBackground(FLoadPolicy))
        FLines->FinishLoading();
    FLoadFollower.TakeLines(FLines->Count());
    if (FLines->Loading()) {
        StartLoadTimer();
    } else if (FLoadTimer) {
        FLoadTimer->stop();
    }
    InvalidateStyleRecord();
    if (&Widths().Coding() != &FLines->CharCoding())
        ResetWidths();
    if (FMatchMaker)
        RestartMatches();
    if (FWordWrap) {
        MakeWrapedLines(false);
    } else {
        MeasureWidest();
        SetLineHeight();
        FRowCount = FLines->Count();
        UpdateScrollBar(sbBoth);
    }
    const bool hadSelection = IsSelection();
    if (FLines->TextReplaced()) {
        FTopIndex = FRowCount > 0 ? 0 : -1;
        FSelAnchor = NoTextPoint;
        FSelection = {};
        ResetHorzScroll();
        SetScrollPos(FTopIndex, sbVertical);
    } else if (FRowCount > 0 && FTopIndex == -1) {
        FTopIndex = 0;
        SetScrollPos(0, sbVertical);
    } else if (FRowCount == 0) {
        // Rows removed without a whole-text replacement: nothing is shown.
        FTopIndex = -1;
    } else if (FTopIndex > MaxTopIndex(FRowCount, FVisibleRows)) {
        FTopIndex = MaxTopIndex(FRowCount, FVisibleRows);
        SetScrollPos(FTopIndex, sbVertical);
    }
    // Whatever the change, the selection never points past the lines.
    if (!FSelection.IsValidIn(*FLines))
        FSelection = {};
    // Highlighting off (or no language) means the highlighter never runs.
    if (FHighlightActive && FLines->Count() > 0)
        ExecuteHighlighter();
    DrawScreen(true);
    if (hadSelection && !IsSelection() && OnSelectionChange)
        OnSelectionChange(this);
    NotifyRowCount();
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::RefreshStyle() {
    if (!FEnableHighlighting || FSynLang.empty())
        return;
    FHighlightActive = true;
    FHighlighter->SetLang("");
    try {
        FHighlighter->SetLang(FSynLang);
    } catch (...) {
        UpdateHighlightState(true);
        DrawScreen(true);
        throw;
    }
    UpdateHighlightState(true);
    DrawScreen(true);
}

// --- word wrap ----------------------------------------------------------------

void TOVSynTextViewer::OnLoadTimer() {
    // The timer is stopped, never deleted, from its own tick.
    const bool wasLoading = FLines->Loading();
    try {
        FMeasuredInTick = false;
        FInLoadTick = true;
        FLines->TakeLoadedLines();
        FInLoadTick = false;
    } catch (...) {
        FInLoadTick = false;
        FLoadTimer->stop();
        if (OnLoadProgress)
            OnLoadProgress(this);
        throw; // the index had to stop early: the lines found stay shown
    }
    // Lines taken on an earlier tick may still wait to be measured: a tick
    // whose new lines did not measure a slice measures one.
    const bool measuring = FMeasuredInTick ? FWidestKnown.Lines < FLines->Count() : MeasureWidestSlice();
    FMeasuredInTick = false;
    if (!FLines->Loading()) {
        if (!measuring)
            FLoadTimer->stop();
        if (wasLoading)
            FollowPendingTop(); // reached, or as far as the file goes
    }
    if (OnLoadProgress)
        OnLoadProgress(this);
}

void TOVSynTextViewer::FollowPendingTop() {
    if (const std::optional<int> top = FLoadFollower.PendingTop())
        SetTopIndex(*top); // asks again while the row is still not indexed
}

void TOVSynTextViewer::FinishLoading() {
    if (!FLines->Loading())
        return;
    FLines->FinishLoading();
    if (FLoadTimer)
        FLoadTimer->stop();
    LinesAppended();
    if (OnLoadProgress)
        OnLoadProgress(this);
}

void TOVSynTextViewer::StartLoadTimer() {
    if (!FLoadTimer) {
        FLoadTimer = std::make_unique<QTimer>();
        FLoadTimer->setInterval(LoadInterval);
        connect(FLoadTimer.get(), &QTimer::timeout, this, &TOVSynTextViewer::OnLoadTimer);
    }
    if (!FLoadTimer->isActive())
        FLoadTimer->start();
}

// Lines found by the index, or taken from a file that grew (whose last line
// may have grown too: GrownFrom).
void TOVSynTextViewer::LinesAppended() {
    const int count = FLines->Count();
    const int taken = FLoadFollower.TakeLines(count);
    const int from = std::min(taken, FLines->GrownFrom());
    if (count <= from)
        return;
    MatchesGrown(FLines->GrownFrom());
    if (FLines->Loading())
        StartLoadTimer(); // a file that grew by more than its first part
    // A grown last line is measured again.
    FWidestKnown.Lines = std::min(FWidestKnown.Lines, from);
    // A wrap in parts takes appended lines and wraps a grown last line
    // again, going on where it was.
    if (FWordWrap && FWrapInParts) {
        const TTextPoint topText = TopText();
        FWrapedLines.Grow(count, from);
        TakeWrapedRows(topText);
        if (FTopIndex == -1) {
            FTopIndex = 0;
            SetScrollPos(0, sbVertical);
        }
        if (FWrapTimer)
            FWrapTimer->start();
        FollowPendingTop();
        DrawScreen(true);
        NotifyRowCount();
        if (OnTopIndexChanged)
            OnTopIndexChanged(this);
        return;
    }
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    InvalidateStyleRecord();
    if ((FInLoadTick || MeasuresInParts()) && FWidestKnown.Lines >= 0) {
        FMeasuredInTick = FInLoadTick;
        if (MeasureWidestSlice())
            StartLoadTimer(); // the rest on the next ticks
    } else if (FWidestKnown.Lines >= 0) {
        FMaxStrWidth = WidestLine(FWidestKnown.Lines, count, FWidestKnown.Width);
        FWidestKnown = {FMaxStrWidth, count};
    } else {
        FMaxStrWidth = WidestLine(from, count, FMaxStrWidth);
        FWidestKnown = {FMaxStrWidth, count};
    }
    FRowCount = count;
    UpdateScrollBar(sbBoth);
    if (FTopIndex == -1) {
        FTopIndex = 0;
        SetScrollPos(0, sbVertical);
    }
    FollowPendingTop();
    DrawScreen(true);
    NotifyRowCount();
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::MeasureWidest() {
    if (!MeasuresInParts()) {
        FMaxStrWidth = GetMaxStrWidth();
        return;
    }
    if (FWidestKnown.Lines < 0 || FWidestKnown.Lines > FLines->Count())
        FWidestKnown = {0, 0};
    FMaxStrWidth = FWidestKnown.Width;
    // One stretch now (the first screen of a new text), the rest on the
    // timer's ticks.
    if (MeasureWidestPart(0))
        StartLoadTimer();
}

bool TOVSynTextViewer::MeasuresInParts() const {
    return FLines->Loading() || FLines->MappedBytes() >= FLoadPolicy.FirstPartBytes;
}

bool TOVSynTextViewer::MeasureWidestSlice() {
    const long long old = FMaxStrWidth;
    const bool more = MeasureWidestPart(MeasureSliceMs);
    if (FMaxStrWidth != old)
        UpdateScrollBar(sbHorizontal);
    return more;
}

bool TOVSynTextViewer::MeasureWidestPart(int ms) {
    const int count = FLines->Count();
    if (FWordWrap || FWidestKnown.Lines < 0 || FWidestKnown.Lines >= count)
        return false;
    QElapsedTimer clock;
    clock.start();
    int at = FWidestKnown.Lines;
    long long widest = FWidestKnown.Width;
    do {
        const int stop = std::min(count, at + MeasureStretch);
        widest = WidestLine(at, stop, widest);
        at = stop;
    } while (at < count && !clock.hasExpired(ms));
    FWidestKnown = {widest, at};
    FMaxStrWidth = widest;
    return at < count;
}

bool TOVSynTextViewer::WrapsInParts() const {
    return MeasuresInParts();
}

bool TOVSynTextViewer::WrappingInBackground() const {
    return FWrapTimer && FWrapTimer->isActive();
}

TTextPoint TOVSynTextViewer::TopText() const {
    if (FTopIndex < 0)
        return {0, 0};
    if (!FWrapedLines.Empty() && FTopIndex < FWrapedLines.Count())
        return FWrapedLines.RowStart(FTopIndex);
    return {0, FTopIndex}; // not wrapped: rows are lines
}

void TOVSynTextViewer::StartWrapInParts(TTextPoint topText, int gutterFloor) {
    if (FLines->Count() == 0)
        topText = {0, 0};
    else if (topText.Y >= FLines->Count())
        topText = {0, FLines->Count() - 1};
    FWrapInParts = true;
    DropWrapedRows();
    FWrapedLines.Begin(*FLines, topText.Y);
    FRowCount = FWrapedLines.Count();
    FWrapGutter = std::max(int(GetGutterWidth()), gutterFloor);
    if (FTopIndex >= 0)
        FTopIndex = std::max(FWrapedLines.RowOf(topText), 0);
    WrapShownRows();
    if (!FWrapTimer) {
        FWrapTimer = std::make_unique<QTimer>();
        FWrapTimer->setInterval(0);
        connect(FWrapTimer.get(), &QTimer::timeout, this, &TOVSynTextViewer::OnWrapTimer);
    }
    FWrapTimer->start();
}

bool TOVSynTextViewer::TakeWrapedRows(TTextPoint topText) {
    const int oldTop = FTopIndex;
    const int oldCount = FRowCount;
    FRowCount = FWrapedLines.Count();
    if (FTopIndex >= 0 && FRowCount > 0)
        FTopIndex = std::max(FWrapedLines.RowOf(topText), 0);
    if (FRowCount == oldCount && FTopIndex == oldTop)
        return false;
    UpdateScrollBar(sbVertical);
    SetScrollPos(FTopIndex, sbVertical);
    return true;
}

bool TOVSynTextViewer::WrapShownRows() {
    if (!FWordWrap || !FWrapInParts || FRowCount == 0 || FTopIndex < 0)
        return false;
    const TTextPoint topText = TopText();
    FWrapedLines.WrapAround(Widths(), ClientWidth() - FWrapGutter, topText.Y - FVisibleRows,
                            topText.Y + 2 * FVisibleRows, WrapFarLines);
    return TakeWrapedRows(topText);
}

void TOVSynTextViewer::OnWrapTimer() {
    const int oldTop = FTopIndex;
    const int oldGutter = GetGutterWidth();
    const TTextPoint topText = TopText();
    QElapsedTimer clock;
    clock.start();
    bool more = true;
    while (more && clock.elapsed() < WrapSliceMs)
        more = FWrapedLines.WrapSome(Widths(), ClientWidth() - FWrapGutter, WrapStepLines);
    TakeWrapedRows(topText);
    if (GetGutterWidth() > FWrapGutter) {
        // More digits than the rows were made for: wrap again for the wider
        // gutter (it never narrows during the wrap, so this ends).
        StartWrapInParts(topText, GetGutterWidth());
        UpdateScrollBar(sbBoth);
        DrawScreen(true);
    } else {
        if (!more)
            FWrapTimer->stop();
        if (GetGutterWidth() != oldGutter)
            DrawScreen(true); // the line numbers' column changed
    }
    NotifyRowCount();
    if (FTopIndex != oldTop && OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::MakeWrapedLines(bool repaint) {
    if (WrapsInParts()) {
        const int oldTop = FTopIndex;
        StartWrapInParts(TopText(), 0);
        InvalidateStyleRecord();
        ResetHorzScroll();
        UpdateScrollBar(sbBoth);
        SetScrollPos(std::max(FTopIndex, 0), sbVertical);
        KeepTopIndexInRange();
        if (repaint)
            DrawScreen(true);
        NotifyRowCount();
        if (repaint && FTopIndex != oldTop && OnTopIndexChanged)
            OnTopIndexChanged(this);
        return;
    }
    FWrapInParts = false;
    if (FWrapTimer)
        FWrapTimer->stop();
    if (FLines->Loading()) {
        FLines->FinishLoading();
        if (FLoadTimer)
            FLoadTimer->stop();
        FLoadFollower.TakeLines(FLines->Count());
    }
    // The gutter grows with the digits of the row count, which the wrapping
    // decides: wrap again until the rows were made for the gutter they get,
    // so that no row reaches under the right edge.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int gutter = GetGutterWidth();
        FWrapedLines.Make(*FLines, Widths(), ClientWidth() - gutter);
        FRowCount = FWrapedLines.Count();
        if (GetGutterWidth() == gutter)
            break;
    }
    InvalidateStyleRecord();
    ResetHorzScroll();
    UpdateScrollBar(sbBoth);
    const bool moved = KeepTopIndexInRange();
    if (repaint)
        DrawScreen(true);
    NotifyRowCount();
    if (repaint && moved && OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::NotifyRowCount() {
    if (FRowCount == FNotifiedRowCount)
        return;
    FNotifiedRowCount = FRowCount;
    UpdateMatchTicks();
    if (OnRowCountChanged)
        OnRowCountChanged(this);
}

// Fewer rows than before (wider text area, narrower font) must not leave the
// top row past the last page, or below the text where nothing is drawn.
bool TOVSynTextViewer::KeepTopIndexInRange() {
    const int last = MaxTopIndex(FRowCount, FVisibleRows);
    if (FTopIndex <= last)
        return false;
    FTopIndex = last;
    SetScrollPos(FTopIndex, sbVertical);
    return true;
}

void TOVSynTextViewer::ClearWrapedLines() {
    FWrapInParts = false;
    if (FWrapTimer)
        FWrapTimer->stop();
    DropWrapedRows();
}

// Freeing the rows of a 10 GB log (some 200 million, in small blocks) takes
// the window's thread several hundred milliseconds: a large block is moved
// out and freed on a worker. The rows hold no text, only positions, so the
// worker touches nothing the window still uses.
void TOVSynTextViewer::DropWrapedRows() {
    constexpr std::size_t RowsFreedOnWorker = 1 << 20;
    if (FWrapedLines.RowsHeld() >= RowsFreedOnWorker) {
        auto rows = std::make_shared<TWrapedLines>(std::move(FWrapedLines));
        FRowsFreeing.reset(); // waits for an earlier block, long freed by now
        FRowsFreeing = std::make_unique<TBackgroundJob>(
            [rows = std::move(rows)](TJobControl&) mutable { rows.reset(); });
    }
    FWrapedLines.Clear();
}

TTextPoint TOVSynTextViewer::OriginToWraped(TTextPoint linePoint) const {
    return FWrapedLines.OriginToWraped(linePoint);
}

TTextPoint TOVSynTextViewer::WrapedToOrigin(TTextPoint rowPoint) const {
    return FWrapedLines.WrapedToOrigin(rowPoint);
}

TRowSpan TOVSynTextViewer::RowSpan(int row) const {
    if (FWordWrap) {
        const TWrapedLine wraped = FWrapedLines[row];
        return {wraped.Line, wraped.Start, wraped.Length};
    }
    return {row, 0, FLines->GetLength(row)};
}

} // namespace ov
