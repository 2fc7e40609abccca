// Painting of TOVSynTextViewer: every row goes into the back buffer, the
// window only shows a copy of it.
//
// Colour priorities for one character: the selection colours win over the
// style colours; the style colours come from the style stack (a positive
// mark opens a style, a negative mark colours its character and closes the
// style when it is on top, no mark continues the open style); without
// highlighting the view's own ForeColor and BackColor apply. A character of a
// match of the highlighted search takes the match colour as its background
// and keeps its text colour; the selection still wins.

#include "Codeconv.h"
#include "Codepage.h"
#include "Ovsyntextviewer.h"
#include "Putbmpfont.h"
#include "Textcanvas.h"

#include <algorithm>
#include <utility>

namespace ov {

void TOVSynTextViewer::DrawScreen(bool invalidate) {
    if (FLines->GetUpdating())
        return;
    WrapShownRows();
    ForgetShownMatches();
    if (!FBackBuffer.isNull()) {
        FShownSelection = FSelection;
        TTextCanvas canvas(FBackBuffer, &FTextDrawer);
        canvas.SetBackColor(RgbFromColor(FColor));
        canvas.FillRect(0, 0, canvas.Width(), canvas.Height());
        if (FLines->Count() > 0 && FTopIndex != -1)
            DrawLines(canvas, FTopIndex, FVisibleRows);
    }
    // Copying the image to the window and invalidating the window are one
    // request here, whatever invalidate says: the viewport repaints from
    // the image.
    FlushToWindow();
}

void TOVSynTextViewer::FlushToWindow() {
    viewport()->update();
}

void TOVSynTextViewer::DrawLines(TTextCanvas& canvas, int first, int count) {
    if (first < 0 || first >= FRowCount || first > FTopIndex + FVisibleRows)
        return;
    if (FUseBitmapFont && !FFontsLoaded)
        LoadBitmapFonts();
    FPaintColors.Reset(FForeColor, FBackColor);
    FMatchRgb = RgbFromColor(FMatchColor);
    const int gutter = GetGutterWidth();
    const int lineNumWidth = GetLineNumWidth();
    const int pitch = FLineHeight + FLineSpace;
    FStyleTop = -1;
    if (FHighlightActive && FMarker.State() != TMarkerState::Idle &&
        FMarker.MarkLines(RowSpan(first).Line, RowSpan(std::min(first + count, FRowCount) - 1).Line,
                          FVisibleRows))
        InvalidateStyleRecord();
    if (FHighlightActive)
        PushStyle(canvas, GetLastStyle(first - 1));
    int y = (first - FTopIndex) * pitch + FTopMargin;
    for (int i = first; i < first + count && i < FRowCount; ++i) {
        DrawRow(canvas, i, y, gutter);
        if (FShowLineNum)
            DrawLineNumber(canvas, i, y, lineNumWidth);
        if (OnDrawLine) {
            OnDrawLine(this, canvas.Painter(), i, y, lineNumWidth);
            canvas.EndPainting();
        }
        y += pitch;
    }
}

void TOVSynTextViewer::DrawRow(TTextCanvas& canvas, int row, int y, int gutter) {
    const TRowSpan span = RowSpan(row);
    const char* text = FLines->Get(span.Line) + span.Start;
    const TStyleByte* styles = std::as_const(*FLines).GetStyleBytes(span.Line) + span.Start;
    FRowRuns = FRowMatcher ? &MatchRunsOf(span.Line) : nullptr;
    if (FRowRuns && FRowRuns->empty())
        FRowRuns = nullptr;
    const int right = canvas.Width();
    const int pitch = FLineHeight + FLineSpace;
    // 64-bit until the first character that reaches the image: a long
    // line's far right lies more than 2^31 pixels from its start.
    long long x = (long long)gutter - FHorzOffset;
    if (span.Length == 0 && IsLocationInSelText(span.Line, span.Start)) {
        canvas.SetBackColor(SelectionBack());
        canvas.FillRect(int(std::max<long long>(x, 0)), y, right, y + pitch);
    }
    int width = 0;
    int first = 0;
    if (FHorzOffset > 0 && span.Length >= TLineMarkIndex::MinLineBytes && x < 0) {
        // Far right in a long line: whole chunks left of the window are
        // skipped; the row's last character is always painted.
        TStyleByte unused[StyleStackSize];
        int unusedTop = -1;
        const TStyleStackRef stack = FHighlightActive
                                         ? TStyleStackRef{FStyleStack, FStyleTop, StyleStackSize}
                                         : TStyleStackRef{unused, unusedTop, StyleStackSize};
        first = FLineMarks.SkipLeft(*FLines, span.Line, Widths(),
                                    FLineMarks.CharStartAt(*FLines, span.Line, 0, span.Length - 1),
                                    x, stack);
    }
    const std::string_view rowText(text, std::size_t(span.Length));
    for (int p = first, length = 1; p < span.Length; p += length) {
        if (x >= right) {
            // Nothing more is drawn on this row; only the marks still count.
            SkipPastEdge(canvas, span, text, styles, p);
            return;
        }
        bool selected = false;
        ApplyCharColors(canvas, span, styles, p, selected);
        // Characters wholly left of the image are only measured.
        width = Widths().CharAt(rowText, std::size_t(p), length);
        if (x + width > 0)
            width = DrawChar(canvas, text, p, length, span.Length, int(x), y);
        if (selected) {
            // Left of the image every edge is as good as -1.
            const int left = int(std::max<long long>(x, -1));
            const int end = int(std::max<long long>(x + width, -1));
            const bool lastOfRow = p + length >= span.Length;
            canvas.FillRect(left, y + FLineHeight, end, y + pitch);
            if (lastOfRow && FSelection.Start().Y != FSelection.End().Y)
                canvas.FillRect(end, y, right, y + pitch);
        }
        const int last = p + length - 1;
        if (FHighlightActive && last < span.Length) {
            const TStyleByte id = styles[last];
            if (id < 0 && FStyleTop >= 0 && FStyleStack[FStyleTop] == -id)
                PopStyle();
        }
        x += width;
    }
}

void TOVSynTextViewer::SkipPastEdge(TTextCanvas& canvas, const TRowSpan& span, const char* text,
                                    const TStyleByte* styles, int p) {
    const int end = span.Length;
    const int lastChar =
        FLineMarks.CharStartAt(*FLines, span.Line, span.Start + p, span.Start + end - 1) -
        span.Start;
    if (FHighlightActive)
        FLineMarks.Apply(*FLines, span.Line, span.Start + p, span.Start + lastChar,
                         {FStyleStack, FStyleTop, StyleStackSize});
    // The last character sets the colours the row ends with.
    bool selected = false;
    ApplyCharColors(canvas, span, styles, lastChar, selected);
    const int lastByte =
        lastChar +
        FLines->CharCoding().CharLength(std::string_view(text, std::size_t(end)), std::size_t(lastChar)) - 1;
    if (FHighlightActive && lastByte < end) {
        const TStyleByte id = styles[lastByte];
        if (id < 0 && FStyleTop >= 0 && FStyleStack[FStyleTop] == -id)
            PopStyle();
    }
}

void TOVSynTextViewer::ApplyCharColors(TTextCanvas& canvas, const TRowSpan& span,
                                       const TStyleByte* styles, int p, bool& selected) {
    if (FHighlightActive) {
        const TStyleByte id = styles[p];
        if (id == 0)
            RestoreLastStyle(canvas);
        else if (id > 0)
            PushStyle(canvas, id);
        else
            SetStyle(canvas, TStyleByte(-id));
    } else {
        canvas.SetTextColor(FPaintColors.Fore);
        canvas.SetBackColor(FPaintColors.Back);
    }
    // A match keeps the text's colour and takes the match background.
    if (FRowRuns && InMatchRuns(*FRowRuns, span.Start + p))
        canvas.SetBackColor(FMatchRgb);
    selected = IsLocationInSelText(span.Line, span.Start + p);
    if (selected) {
        canvas.SetBackColor(SelectionBack());
        canvas.SetTextColor(SelectionText());
    }
}

int TOVSynTextViewer::DrawChar(TTextCanvas& canvas, const char* text, int p, int length,
                               int rowLength, int x, int y) {
    // A mapped line's NUL bytes are drawn as blanks, also as a trail byte.
    const auto first = static_cast<uint8_t>(ShownByte(text[p]));
    if (first == '\t') {
        int width = 0;
        for (int k = 0; k < FTabWidth; ++k)
            width += FUseBitmapFont ? canvas.DrawBitmapChar(x + width, y, ' ', 0)
                                    : canvas.DrawOutlineChar(x + width, y, ' ', 0);
        return FUseBitmapFont ? FTabWidth * BmpSingleWidth : width;
    }
    if (first >= 0x80 && FLines->Coding() != TTextCoding::Cp949)
        return DrawCodedChar(canvas, std::string_view(text, std::size_t(rowLength)), p, x, y);
    if (length == 1)
        return FUseBitmapFont ? (canvas.DrawBitmapChar(x, y, first, 0), BmpSingleWidth)
                              : canvas.DrawOutlineChar(x, y, first, 0);
    const bool hasTrail = p + 1 < rowLength;
    if (!FUseBitmapFont)
        return canvas.DrawOutlineChar(x, y, first,
                                      hasTrail ? static_cast<uint8_t>(ShownByte(text[p + 1])) : 0);
    // A lead byte at the end of the line pairs with a space.
    uint16_t code =
        uint16_t(first << 8 | (hasTrail ? static_cast<uint8_t>(ShownByte(text[p + 1])) : 0x20));
    ConvertCode(code);
    canvas.DrawBitmapChar(x, y, uint8_t(code >> 8), uint8_t(code & 0xFF));
    return BmpDoubleWidth;
}

// A character of a UTF-8 document. With the bitmap fonts a character that
// CP949 has is drawn with its CP949 glyph, so Korean looks the same whatever
// the file's coding; any other character is drawn with the outline font
// into its cells. Bytes that form no character show U+FFFD.
int TOVSynTextViewer::DrawCodedChar(TTextCanvas& canvas, std::string_view row, int p, int x, int y) {
    const char32_t code = FLines->CharCoding().CharCode(row, std::size_t(p));
    if (!FUseBitmapFont)
        return canvas.DrawOutlineUnicode(x, y, code);
    if (uint16_t font = Cp949CodeOf(code)) {
        ConvertCode(font);
        canvas.DrawBitmapChar(x, y, uint8_t(font >> 8), uint8_t(font & 0xFF));
        return BmpDoubleWidth;
    }
    const int width = UnicodeCells(code) * BmpSingleWidth;
    canvas.DrawUnicodeInBox(x, y, width, BmpCellHeight, code);
    return width;
}

void TOVSynTextViewer::DrawLineNumber(TTextCanvas& canvas, int row, int y, int lineNumWidth) {
    if (FHighlightActive) {
        SetStyle(canvas, StyleLineNum);
    } else {
        canvas.SetTextColor(RgbFromColor(FLineNumColor));
        canvas.SetBackColor(RgbFromColor(FLineNumBackColor));
    }
    canvas.FillRect(0, y, lineNumWidth, y + FLineHeight + FLineSpace);
    const std::string number = std::to_string(row + 1);
    int x = 2;
    for (char digit : number) {
        if (FUseBitmapFont) {
            canvas.DrawBitmapChar(x, y, uint8_t(digit), 0);
            x += BmpSingleWidth;
        } else {
            x += canvas.DrawOutlineChar(x, y, uint8_t(digit), 0);
        }
    }
}

// --- style stack ---------------------------------------------------------------

TStyleByte TOVSynTextViewer::GetLastStyle(int row) {
    if (const int windowFirst = FMarker.WindowFirst(); windowFirst >= 0) {
        // The window's first line starts with the styles its checkpoint
        // says are open.
        const int first = FWordWrap ? OriginToWraped({0, windowFirst}).Y : windowFirst;
        TStyleByte stack[TOpenStyleRecord::StackSize] = {};
        const std::vector<TStyleByte>& open = FMarker.WindowOpenStyles();
        int depth = int(std::min<std::size_t>(open.size(), TOpenStyleRecord::StackSize));
        std::copy_n(open.begin(), depth, stack);
        for (int r = first; r <= std::min(row, FRowCount - 1); ++r) {
            const TRowSpan span = RowSpan(r);
            if (span.Length > 0)
                TOpenStyleRecord::Replay(std::as_const(*FLines).GetStyleBytes(span.Line) + span.Start,
                                         span.Length, stack, depth);
        }
        return depth > 0 ? stack[0] : TStyleByte(0);
    }
    return FOpenStyles.LastStyle(*FLines, row, FRowCount, [this](int r) { return RowSpan(r); });
}

void TOVSynTextViewer::PushStyle(TTextCanvas& canvas, TStyleByte id) {
    if (id == 0)
        return;
    // A style opened beyond the stack's depth still colours its character
    // but is not remembered.
    if (FStyleTop + 1 < StyleStackSize)
        FStyleStack[++FStyleTop] = id;
    SetStyle(canvas, id);
}

void TOVSynTextViewer::PopStyle() {
    if (FStyleTop >= 0)
        --FStyleTop;
}

void TOVSynTextViewer::SetStyle(TTextCanvas& canvas, TStyleByte id) {
    const TPaintColors::TPair& colors = FPaintColors.Style(id, *FHighlighter);
    canvas.SetTextColor(colors.Fore);
    canvas.SetBackColor(colors.Back);
}

void TOVSynTextViewer::RestoreLastStyle(TTextCanvas& canvas) {
    SetStyle(canvas, FStyleTop < 0 ? TStyleByte(0) : FStyleStack[FStyleTop]);
}

QRgb TOVSynTextViewer::StyleFore(TStyleByte id) const {
    return FPaintColors.Style(id, *FHighlighter).Fore;
}

QRgb TOVSynTextViewer::StyleBack(TStyleByte id) const {
    return FPaintColors.Style(id, *FHighlighter).Back;
}

const TPaintColors::TPair& TPaintColors::Style(TStyleByte id,
                                               const TViewerHighlighter& highlighter) {
    TPair& pair = Styles[static_cast<uint8_t>(id)];
    if (!pair.Known) {
        const TStyleColors colors = highlighter.GetStyles(id);
        pair = {RgbFromColor(colors.Fore), RgbFromColor(colors.Back), true};
    }
    return pair;
}

void TPaintColors::Reset(TColor fore, TColor back) {
    Fore = RgbFromColor(fore);
    Back = RgbFromColor(back);
    for (TPair& pair : Styles)
        pair.Known = false;
}

QRgb TOVSynTextViewer::SelectionBack() const {
    return FHighlightActive ? StyleFore(0) : FPaintColors.Fore;
}

QRgb TOVSynTextViewer::SelectionText() const {
    return FHighlightActive ? StyleBack(0) : FPaintColors.Back;
}

} // namespace ov
