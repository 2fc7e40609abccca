#include "Ovhexpainter.h"

#include "Codepage.h"
#include "Qtcodepage.h"

#include <QFontMetrics>
#include <QPainter>

namespace ov {

void TOVHexPainter::SetFont(const QFont& font) {
    FFont = font;
    FWideCells.clear();
    FHexCellsMade.reset();
}

const QStaticText& TOVHexPainter::HexCell(unsigned char byte) const {
    QStaticText& cell = FHexCells[byte];
    if (!FHexCellsMade[byte]) {
        std::string hex = HexByteText(byte);
        cell.setTextFormat(Qt::PlainText);
        cell.setText(QString::fromLatin1(hex.data(), 2));
        cell.prepare(QTransform(), FFont);
        FHexCellsMade.set(byte);
    }
    return cell;
}

const QStaticText& TOVHexPainter::WideCell(unsigned char lead, unsigned char trail) const {
    const auto key = static_cast<uint16_t>(lead << 8 | trail);
    auto found = FWideCells.find(key);
    if (found != FWideCells.end())
        return found->second;
    if (FWideCells.size() >= MaxWideCells)
        FWideCells.clear();
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    QStaticText& cell = FWideCells[key];
    cell.setTextFormat(Qt::PlainText);
    cell.setText(QStringFromAnsi(std::string_view(pair, 2)));
    cell.prepare(QTransform(), FFont);
    return cell;
}

THexMetrics TOVHexPainter::Measure(const THexMetrics& base, int addressDigits) {
    QFontMetrics metrics(FFont);
    THexMetrics result = base;
    result.LineHeight = metrics.height();
    result.CharWidth = std::max(metrics.horizontalAdvance(QStringLiteral("A")), 1);
    result.CellWidth = std::max(metrics.horizontalAdvance(QStringLiteral("AA ")), 1);
    QString address = QString(addressDigits, QLatin1Char('0')) + QStringLiteral("h: ");
    result.AddressWidth = metrics.horizontalAdvance(address);
    FAscent = metrics.ascent();
    FCharWidth = result.CharWidth;
    return result;
}

void TOVHexPainter::Begin(QPainter& painter) const {
    painter.setFont(FFont);
    painter.setPen(FText);
}

void TOVHexPainter::DrawRow(QPainter& painter, const TOVHexLayout& layout, int screenRow,
                            int64_t fileRow, std::string_view bytes, bool beginsInsideChar,
                            int horzOffset, int addressDigits, int width) const {
    int top = layout.RowY(screenRow);
    QRect band(0, top, width, layout.RowPitch());
    painter.fillRect(band, FBackground);
    if (bytes.empty())
        return;
    painter.save();
    painter.setClipRect(band);
    int x0 = layout.RowOriginX(horzOffset);
    int baseline = top + FAscent;
    const int64_t rowStart = fileRow * HexBytesPerRow;
    // The matches of the search, under the text.
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int64_t at = rowStart + static_cast<int64_t>(i) - FMatchFirst;
        if (at < 0 || at >= static_cast<int64_t>(FMatchCovered.size()) ||
            FMatchCovered[size_t(at)] == 0)
            continue;
        const int height = layout.RowPitch();
        painter.fillRect(QRect(x0 + layout.HexCellX(static_cast<int>(i)), top, 2 * FCharWidth,
                               height),
                         FMatchColor);
        painter.fillRect(QRect(x0 + layout.CharColumnX() + static_cast<int>(i) * FCharWidth, top,
                               FCharWidth, height),
                         FMatchColor);
    }
    std::string address = HexAddressText(fileRow * HexBytesPerRow, addressDigits);
    painter.drawText(x0, baseline, QString::fromLatin1(address.data(), address.size()));
    for (size_t i = 0; i < bytes.size(); ++i)
        painter.drawStaticText(x0 + layout.HexCellX(static_cast<int>(i)), top,
                               HexCell(static_cast<unsigned char>(bytes[i])));
    // The character column keeps every character over its own bytes, one
    // cell a byte: a double-byte character is drawn at its first byte, so a
    // glyph narrower or wider than two cells never shifts what follows it
    // away from its cells (and from its marks). Runs of single bytes are
    // drawn in one piece.
    const std::string shown = HexCharColumnBytes(bytes, beginsInsideChar);
    const int charX = x0 + layout.CharColumnX();
    size_t run = 0;
    const auto drawRun = [&](size_t end) {
        if (end > run)
            painter.drawText(charX + static_cast<int>(run) * FCharWidth, baseline,
                             QStringFromAnsi(std::string_view(shown).substr(run, end - run)));
    };
    for (size_t p = 0; p < shown.size();) {
        if (IsLeadByte(static_cast<unsigned char>(shown[p])) && p + 1 < shown.size()) {
            drawRun(p);
            painter.drawStaticText(charX + static_cast<int>(p) * FCharWidth, top,
                                   WideCell(static_cast<unsigned char>(shown[p]),
                                            static_cast<unsigned char>(shown[p + 1])));
            p += 2;
            run = p;
        } else {
            ++p;
        }
    }
    drawRun(shown.size());
    // The marked bytes of this row: their hex cells (two digits) and their
    // places in the character column, inverted so that they read on any
    // colours.
    const int64_t from = std::max(FMarkStart, rowStart) - rowStart;
    const int64_t to = std::min(FMarkEnd, rowStart + static_cast<int64_t>(bytes.size())) - rowStart;
    if (from < to) {
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        const int height = layout.RowPitch();
        for (int64_t i = from; i < to; ++i) {
            const int cell = x0 + layout.HexCellX(static_cast<int>(i));
            painter.fillRect(QRect(cell, top, 2 * FCharWidth, height), Qt::white);
            painter.fillRect(QRect(x0 + layout.CharColumnX() + static_cast<int>(i) * FCharWidth, top,
                                   FCharWidth, height),
                             Qt::white);
        }
    }
    painter.restore();
}

void TOVHexPainter::Clear(QPainter& painter, int y, int height, int width) const {
    if (height > 0)
        painter.fillRect(QRect(0, y, width, height), FBackground);
}

} // namespace ov
