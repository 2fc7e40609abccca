#pragma once
// Draws rows of the hex view onto the back buffer. Each screen row owns the
// band from its top to the next row's top: drawing a row first fills its
// band with the background and clips its text to it, so a row's pixels
// depend on that row alone. That is what lets the view move rows as pixels
// and redraw only the new ones with the same result as a full redraw.

#include "Ovhexlayout.h"

#include <QColor>
#include <QFont>
#include <QStaticText>

#include <array>
#include <bitset>
#include <unordered_map>

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

class QPainter;

namespace ov {

class TOVHexPainter {
public:
    void SetFont(const QFont& font);
    const QFont& Font() const { return FFont; }
    void SetColors(const QColor& background, const QColor& text) {
        FBackground = background;
        FText = text;
    }

    // The widths of the row layout in the current font, for an address of
    // addressDigits digits; margins and spacing are taken from base.
    THexMetrics Measure(const THexMetrics& base, int addressDigits);

    // The bytes offset .. offset + length - 1 of the file are marked (a
    // match of Find), in both columns, by inverting their cells; length 0
    // marks nothing.
    void SetMark(int64_t offset, int64_t length) {
        FMarkStart = offset;
        FMarkEnd = length > 0 ? offset + length : offset;
    }

    // Every match of the search: the byte at offset first + i is drawn on
    // the match colour in both columns when covered[i] is not 0; bytes
    // outside covered are drawn plain. An empty covered marks nothing. The
    // mark of SetMark is inverted on top.
    void SetMatches(int64_t first, std::vector<unsigned char> covered) {
        FMatchFirst = first;
        FMatchCovered = std::move(covered);
    }
    void SetMatchColor(const QColor& color) { FMatchColor = color; }

    // Sets font and pen; call once before DrawRow on a new painter.
    void Begin(QPainter& painter) const;

    // Draws screen row screenRow, which shows file row fileRow and holds
    // bytes (at most 16; empty draws the blank band), across width pixels.
    // beginsInsideChar: the row's first byte ends a character of the row
    // before (HexCharColumnBytes).
    void DrawRow(QPainter& painter, const TOVHexLayout& layout, int screenRow, int64_t fileRow,
                 std::string_view bytes, bool beginsInsideChar, int horzOffset, int addressDigits,
                 int width) const;

    // Fills the band of pixel rows y .. y + height - 1 with the background.
    void Clear(QPainter& painter, int y, int height, int width) const;

private:
    QFont FFont;
    QColor FBackground = Qt::white;
    QColor FText = Qt::black;
    int FAscent = 0;
    int FCharWidth = 1;
    int64_t FMarkStart = 0;
    int64_t FMarkEnd = 0;
    QColor FMatchColor = QColor(0xFF, 0xE0, 0x66);
    int64_t FMatchFirst = 0;
    std::vector<unsigned char> FMatchCovered;
    // The 256 two-digit cells, each laid out on first use and kept for the
    // font: most of a row's text. A view that is never shown lays out none.
    mutable std::array<QStaticText, 256> FHexCells;
    mutable std::bitset<256> FHexCellsMade;
    const QStaticText& HexCell(unsigned char byte) const;
    // The double-byte characters of the character column, each laid out on
    // first use and kept for the font (at most MaxWideCells, then begun
    // again): text is mostly a few hundred syllables over and over.
    static constexpr size_t MaxWideCells = 4096;
    mutable std::unordered_map<uint16_t, QStaticText> FWideCells;
    const QStaticText& WideCell(unsigned char lead, unsigned char trail) const;
};

} // namespace ov
