#include "Ovsyntextviewer.h"

#include "Files.h"
#include "Putbmpfont.h"
#include "Selection.h"

#include <QScrollBar>

#include <algorithm>

namespace ov {

TOVSynTextViewer::TOVSynTextViewer(QWidget* parent, std::unique_ptr<TViewerHighlighter> highlighter)
    : QAbstractScrollArea(parent), FLines(std::make_unique<TOVSynStringList>()),
      FHighlighter(std::move(highlighter)) {
    resize(350, 350);
    setFocusPolicy(Qt::StrongFocus);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &TOVSynTextViewer::OnVertAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            &TOVSynTextViewer::OnHorzAction);

    LoadBitmapFonts();
    if (!FHighlighter)
        FHighlighter = CreateSyntaxHighlighter(ExeFolder() + "Syntax");
    FTextDrawer.SetFont(font());
    ResetWidths();
    // The line height is known from the start, so that the row pitch never
    // depends on which setter ran first.
    SetLineHeight();
    FLines->OnChange = [this](TOVStringList*) { LinesChange(); };
    UpdateScrollBar(sbBoth);
}

TOVSynTextViewer::~TOVSynTextViewer() {
    FLines->OnChange = nullptr;
    ClearWrapedLines();
}

void TOVSynTextViewer::SetLines(const TOVStringList& source) {
    FLines->Assign(source);
}

// --- properties -----------------------------------------------------------

void TOVSynTextViewer::SetWordWrap(bool value) {
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    ClearWrapedLines();
    InvalidateStyleRecord();
    FMaxStrWidth = GetMaxStrWidth();
    FRowCount = FLines->Count();
    UpdateScrollBar(sbBoth);
    if (FTopIndex > MaxTopIndex(FRowCount, FVisibleRows))
        FTopIndex = MaxTopIndex(FRowCount, FVisibleRows);
    SetScrollPos(FTopIndex, sbVertical);
    DrawScreen(true);
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::SetUseBitmapFont(bool value) {
    if (FUseBitmapFont == value)
        return;
    FUseBitmapFont = value;
    ResetWidths();
    if (FWordWrap)
        MakeWrapedLines(false);
    else
        FMaxStrWidth = GetMaxStrWidth();
    SetLineHeight();
    DrawScreen(true);
}

void TOVSynTextViewer::SetEnableHighlighting(bool value) {
    if (FEnableHighlighting == value)
        return;
    FEnableHighlighting = value;
    UpdateHighlightState(true);
    DrawScreen(true);
}

void TOVSynTextViewer::SetSynLang(const std::string& value) {
    if (FSynLang == value)
        return;
    FSynLang = value;
    FHighlighter->SetLang(value);
    UpdateHighlightState(!FLines->GetUpdating());
    DrawScreen(true);
}

void TOVSynTextViewer::UpdateHighlightState(bool execute) {
    if (!FEnableHighlighting || FSynLang.empty()) {
        FHighlightActive = false;
        FColor = FBackColor;
        return;
    }
    FHighlightActive = true;
    FColor = FHighlighter->GetStyles(0).Back;
    if (execute)
        ExecuteHighlighter();
}

void TOVSynTextViewer::ExecuteHighlighter() {
    InvalidateStyleRecord();
    FHighlighter->Execute(*FLines);
}

void TOVSynTextViewer::SetTabWidth(uint16_t value) {
    if (FTabWidth == value)
        return;
    FTabWidth = value;
    ResetWidths();
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    FMaxStrWidth = GetMaxStrWidth();
    UpdateScrollBar(sbHorizontal);
    DrawScreen(true);
}

void TOVSynTextViewer::SetShowLineNum(bool value) {
    if (FShowLineNum == value)
        return;
    FShowLineNum = value;
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    UpdateScrollBar(sbHorizontal);
    DrawScreen(true);
}

void TOVSynTextViewer::SetLeftMargin(uint16_t value) {
    if (FLeftMargin == value)
        return;
    FLeftMargin = value;
    if (FWordWrap) {
        MakeWrapedLines(true);
        return;
    }
    UpdateScrollBar(sbHorizontal);
    DrawScreen(true);
}

void TOVSynTextViewer::SetTopMargin(uint16_t value) {
    if (FTopMargin == value)
        return;
    FTopMargin = value;
    UpdateVisibleRows();
    UpdateScrollBar(sbVertical);
    DrawScreen(true);
}

void TOVSynTextViewer::SetLineSpace(uint16_t value) {
    if (FLineSpace == value)
        return;
    FLineSpace = value;
    UpdateVisibleRows();
    UpdateScrollBar(sbVertical);
    DrawScreen(true);
}

void TOVSynTextViewer::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    setFrameStyle(value == TBorderStyle::Single ? QFrame::StyledPanel | QFrame::Sunken
                                                : QFrame::NoFrame);
}

void TOVSynTextViewer::SetColor(TColor value) {
    if (FColor == value)
        return;
    FColor = value;
    DrawScreen(true);
}

void TOVSynTextViewer::SetBackColor(TColor value) {
    if (FBackColor == value)
        return;
    FBackColor = value;
    if (!FHighlightActive) {
        FColor = value;
        DrawScreen(true);
    }
}

void TOVSynTextViewer::SetForeColor(TColor value) {
    if (FForeColor == value)
        return;
    FForeColor = value;
    if (!FHighlightActive)
        DrawScreen(true);
}

void TOVSynTextViewer::SetLineNumColor(TColor value) {
    if (FLineNumColor == value)
        return;
    FLineNumColor = value;
    DrawScreen(true);
}

void TOVSynTextViewer::SetLineNumBackColor(TColor value) {
    if (FLineNumBackColor == value)
        return;
    FLineNumBackColor = value;
    DrawScreen(true);
}

void TOVSynTextViewer::SetHanFont(const std::string& value) {
    if (FHanFont == value)
        return;
    FHanFont = value;
    LoadBitmapFonts();
    if (FUseBitmapFont)
        DrawScreen(true);
}

void TOVSynTextViewer::SetEngFont(const std::string& value) {
    if (FEngFont == value)
        return;
    FEngFont = value;
    LoadBitmapFonts();
    if (FUseBitmapFont)
        DrawScreen(true);
}

void TOVSynTextViewer::SetKSGFont(const std::string& value) {
    if (FKSGFont == value)
        return;
    FKSGFont = value;
    LoadBitmapFonts();
    if (FUseBitmapFont)
        DrawScreen(true);
}

void TOVSynTextViewer::SetSPCFont(const std::string& value) {
    if (FSPCFont == value)
        return;
    FSPCFont = value;
    LoadBitmapFonts();
    if (FUseBitmapFont)
        DrawScreen(true);
}

void TOVSynTextViewer::LoadBitmapFonts() {
    LoadFonts(ExeFolder() + "Fonts/", FHanFont, FEngFont, FKSGFont, FSPCFont, "hanja.fnt");
}

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

int TOVSynTextViewer::GetMaxStrWidth() const {
    if (FWordWrap)
        return FMaxStrWidth;
    long long widest = 0;
    for (int i = 0; i < FLines->Count(); ++i) {
        const long long width = FUseBitmapFont ? (long long)FLines->GetLength(i) * BmpSingleWidth
                                               : Widths().RawWidth(FLines->GetView(i));
        widest = std::max(widest, width);
    }
    return int(std::min<long long>(widest, 0x7FFFFFFF));
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
    if (FUseBitmapFont)
        FWidths = std::make_unique<TBitmapCharWidths>(FTabWidth);
    else
        FWidths = std::make_unique<TOutlineCharWidths>(FTextDrawer, FTabWidth);
}

void TOVSynTextViewer::FontChanged() {
    FTextDrawer.SetFont(font());
    ResetWidths();
    if (FWordWrap)
        MakeWrapedLines(false);
    else
        FMaxStrWidth = GetMaxStrWidth();
    SetLineHeight();
    DrawScreen(true);
}

// --- document -----------------------------------------------------------------

void TOVSynTextViewer::LinesChange() {
    InvalidateStyleRecord();
    if (FWordWrap) {
        MakeWrapedLines(false);
    } else {
        FMaxStrWidth = GetMaxStrWidth();
        SetLineHeight();
        FRowCount = FLines->Count();
        UpdateScrollBar(sbBoth);
    }
    if (FLines->TextReplaced()) {
        FTopIndex = FRowCount > 0 ? 0 : -1;
        FSelAnchor = FSelStart = FSelEnd = NoTextPoint;
        FHorzOffset = 0;
        SetScrollPos(FTopIndex, sbVertical);
        SetScrollPos(0, sbHorizontal);
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
    if (FLines->Count() > 0)
        ExecuteHighlighter();
    DrawScreen(true);
    if (OnTopIndexChanged)
        OnTopIndexChanged(this);
}

void TOVSynTextViewer::RefreshStyle() {
    if (!FEnableHighlighting || FSynLang.empty())
        return;
    FHighlightActive = true;
    FHighlighter->SetLang("");
    FHighlighter->SetLang(FSynLang);
    FColor = FHighlighter->GetStyles(0).Back;
    ExecuteHighlighter();
    DrawScreen(true);
}

// --- word wrap ----------------------------------------------------------------

void TOVSynTextViewer::MakeWrapedLines(bool repaint) {
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
    FHorzOffset = 0;
    UpdateScrollBar(sbBoth);
    if (repaint)
        DrawScreen(true);
}

void TOVSynTextViewer::ClearWrapedLines() {
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
        const TWrapedLine& wraped = FWrapedLines[row];
        return {wraped.Line, wraped.Start, wraped.Length};
    }
    return {row, 0, FLines->GetLength(row)};
}

// --- selection ------------------------------------------------------------------

bool TOVSynTextViewer::IsSelection() const {
    return HasSelection(FSelStart, FSelEnd);
}

bool TOVSynTextViewer::IsValidLocation(int line, int column) const {
    if (line < 0 || line >= FLines->Count())
        return false;
    return column == 0 || (column >= 0 && column < FLines->GetLength(line));
}

bool TOVSynTextViewer::IsLocationInSelText(int line, int column) const {
    return IsInSelection(FSelStart, FSelEnd, line, column);
}

void TOVSynTextViewer::SetSelEnd(TTextPoint value) {
    if (IsValidLocation(FSelStart.Y, FSelStart.X) && IsValidLocation(value.Y, value.X)) {
        FSelEnd = value;
        DrawScreen(true);
    } else {
        FSelStart = FSelEnd = NoTextPoint;
    }
}

void TOVSynTextViewer::Deselect() {
    FSelAnchor = FSelStart = FSelEnd = NoTextPoint;
    DrawScreen(true);
}

void TOVSynTextViewer::SelectAll() {
    if (FLines->Count() == 0)
        return;
    const int last = FLines->Count() - 1;
    FSelStart = {0, 0};
    SetSelEnd({std::max(FLines->GetLength(last) - 1, 0), last});
}

} // namespace ov
