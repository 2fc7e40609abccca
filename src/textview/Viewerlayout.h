#pragma once
// The row and pixel arithmetic of the text view: visible rows, gutter,
// top-row clamping, scroll-bar ranges, scroll codes and the plan of a partial
// repaint. Plain functions of their inputs, so that they are tested without
// a window.

#include "Scrollinput.h"
#include "Textrange.h"

#include <cstdint>

namespace ov {

// Rows that fit a client area of clientHeight, a partly visible row counted.
// A pitch of 0 (no line height yet, no line space) gives 0 rows.
int CountVisibleRows(int clientHeight, int topMargin, int lineHeight, int lineSpace);

// Decimal digits of n; 1 for 0 and for negative n.
int DecimalDigits(int n);

// Width of the line-number area: 0 when hidden, else digits of rowCount
// times digitWidth plus 4.
int LineNumberWidth(bool showLineNum, int rowCount, int digitWidth);

// Everything left of the text: the left margin plus the line-number area.
inline int GutterWidth(int leftMargin, int lineNumWidth) {
    return leftMargin + lineNumWidth;
}

// The largest top row: one past the row that puts the last row at the bottom
// (the partly visible slot stays empty); 0 when everything fits.
int MaxTopIndex(int rowCount, int visibleRows);

// SetTopIndex's clamping: below 0 becomes 0 while rows exist, above the
// largest top row becomes it, and everything becomes 0 when all rows fit.
int ClampTopIndex(int requested, int rowCount, int visibleRows);

// Scroll-bar state with the system scroll bar's meaning: a range of
// 0 .. Maximum with a page of Page, so positions run 0 .. Maximum - Page + 1
// (0 .. Maximum for a page of 0).
struct TScrollRange {
    bool Enabled = false;
    int Maximum = 0;
    int Page = 0;
    int LastPosition() const {
        const int last = Page > 0 ? Maximum - Page + 1 : Maximum;
        return last > 0 ? last : 0;
    }
};

TScrollRange VertScrollRange(int rowCount, int visibleRows);
// textWidth is the client width minus the gutter. Disabled while wrapping or
// when the widest line fits; a unit of 0 counts as 1.
TScrollRange HorzScrollRange(bool wordWrap, int textWidth, long long maxStrWidth, int horzUnit);

// How SetTopIndex repaints after moving from oldTop to newTop.
struct TRepaintPlan {
    enum TKind { Nothing, Full, MoveUp, MoveDown } Kind = Nothing;
    int SourceY = 0;    // image rows copied from here ...
    int TargetY = 0;    // ... to here
    int CopyHeight = 0; // number of image rows copied (may be <= 0: nothing copied)
    int FillTop = 0;    // fill from this y ...
    int FillBottom = 0; // ... up to (excluded) this y, the whole width
    int FirstRow = 0;   // then DrawLines(FirstRow, RowCount)
    int RowCount = 0;
};

// Moving by fewer rows than visibleRows shifts the image and draws only the
// uncovered rows; a larger move (or no pitch) redraws everything.
TRepaintPlan PlanTopIndexRepaint(int oldTop, int newTop, int visibleRows, int pitch, int topMargin,
                                 int clientHeight);

} // namespace ov
