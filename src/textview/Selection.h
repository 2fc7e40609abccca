#pragma once
// Selection arithmetic of the text view, plain functions of their inputs:
// the ends a mouse drag selects, and what a display row shows of a
// selection (so that a change repaints only the rows it touches).

#include "Openstyles.h"
#include "Textrange.h"

#include <functional>

namespace ov {

// The ends of a drag from anchor to pointer, both hits in row coordinates
// with the special values of Hittest.h. The pointer works as a boundary
// between characters: dragging forward selects from the anchor up to, not
// including, the character under the pointer; dragging backward selects
// from the character under the pointer up to, not including, the anchor's.
// Special values become real places: above the rows the first row's start,
// below them the last row's last byte, left of the text the row's start (or,
// for a later end, the previous row's last byte), past a row's end the row's
// last byte (or, for an earlier end, the next row's start).
// rowLength(row) is the byte length of a display row (0 <= row < rowCount).
// The result is in row coordinates, Start the anchor's end; it is empty when
// anchor and pointer are the same place or when the dragged stretch holds no
// character.
TTextRange DragSelection(TTextPoint anchor, TTextPoint pointer, int rowCount,
                         const std::function<int(int row)>& rowLength);

// What one display row shows of a selection, in bytes of the row: the
// columns First .. Last of the row lie in the selection (none when First >
// Last; an empty row counts its one place, column 0), and Spanning says the
// selection covers more than one line, which lets a selected row end fill
// to the window's edge. Rows whose values are equal under two selections
// look the same under both.
struct TRowSelection {
    int First = 0;
    int Last = -1;
    bool Spanning = false;
    friend bool operator==(const TRowSelection&, const TRowSelection&) = default;
};

TRowSelection RowSelection(const TTextRange& selection, const TRowSpan& row);

} // namespace ov
