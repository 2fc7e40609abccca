#include "Qttextdraw.h"

#include "Codepage.h"

#include <QPainter>

#include <algorithm>

namespace ov {

TQtTextDrawer::TQtTextDrawer() : FMetrics(QFont()) {
    SetFont(QFont());
}

void TQtTextDrawer::SetFont(const QFont& font) {
    FFont = font;
    FMetrics = QFontMetrics(font);
    FHeight = FMetrics.height();
    FWidths.assign(65536, -1);
    FChars.assign(65536, 0);
    FPrepared.clear();
    FUnicodeWidths.clear();
    FBoxHeight = 0;
}

char16_t TQtTextDrawer::Decode(uint16_t key) const {
    char16_t& cached = FChars[key];
    if (cached != 0)
        return cached;
    char16_t unit = u'\uFFFD';
    if (key < 0x80) {
        unit = key == '\t' ? u' ' : char16_t(key);
    } else {
        const char bytes[2] = {char(key >> 8), char(key & 0xFF)};
        const std::u16string wide = WideFromAnsi(std::string_view(bytes, (key & 0xFF) ? 2 : 1));
        if (wide.size() == 1)
            unit = wide[0];
    }
    if (unit == 0)
        unit = u' ';
    cached = unit;
    return unit;
}

int TQtTextDrawer::CharWidth(uint8_t first, uint8_t second) const {
    const uint16_t key = Key(first, second);
    int16_t& cached = FWidths[key];
    if (cached < 0)
        cached = int16_t(FMetrics.horizontalAdvance(QChar(Decode(key))));
    return cached;
}

int TQtTextDrawer::TextWidth(std::string_view text) const {
    int width = 0;
    for (std::size_t p = 0; p < text.size();) {
        const auto first = static_cast<uint8_t>(text[p]);
        if (first >= 0x80) {
            const auto second = p + 1 < text.size() ? static_cast<uint8_t>(text[p + 1]) : 0;
            width += CharWidth(first, second);
            p += 2;
        } else {
            width += CharWidth(first, 0);
            ++p;
        }
    }
    return width;
}

const QStaticText& TQtTextDrawer::Prepared(uint16_t key) {
    auto found = FPrepared.find(key);
    if (found != FPrepared.end())
        return found->second;
    QStaticText text(QString(QChar(Decode(key))));
    text.setTextFormat(Qt::PlainText);
    text.setPerformanceHint(QStaticText::AggressiveCaching);
    text.prepare(QTransform(), FFont);
    return FPrepared.emplace(key, std::move(text)).first->second;
}

int TQtTextDrawer::DrawChar(QPainter& painter, int x, int y, uint8_t first, uint8_t second,
                            QRgb textColor, QRgb backColor) {
    const uint16_t key = Key(first, second);
    const int width = CharWidth(first, second);
    painter.fillRect(x, y, width, FHeight, QColor::fromRgb(backColor));
    if (key != ' ' && key != '\t') {
        painter.setPen(QColor::fromRgb(textColor));
        painter.drawStaticText(x, y, Prepared(key));
    }
    return width;
}

namespace {

QString StringOf(char32_t code) {
    if (code == 0 || code == '\t')
        code = ' ';
    return QString::fromUcs4(&code, 1);
}

} // namespace

int TQtTextDrawer::UnicodeWidth(char32_t code) const {
    auto found = FUnicodeWidths.find(code);
    if (found != FUnicodeWidths.end())
        return found->second;
    const int width = FMetrics.horizontalAdvance(StringOf(code));
    FUnicodeWidths.emplace(code, width);
    return width;
}

int TQtTextDrawer::DrawUnicode(QPainter& painter, int x, int y, char32_t code, QRgb textColor,
                               QRgb backColor) {
    const int width = UnicodeWidth(code);
    if (width > 0)
        painter.fillRect(x, y, width, FHeight, QColor::fromRgb(backColor));
    painter.setFont(FFont);
    painter.setPen(QColor::fromRgb(textColor));
    // A zero-width character (a combining mark) is drawn where it stands,
    // so that it lands on the character before it.
    painter.drawText(QPoint(x, y + FMetrics.ascent()), StringOf(code));
    return width;
}

void TQtTextDrawer::DrawUnicodeInBox(QPainter& painter, int x, int y, int width, int height,
                                     char32_t code, QRgb textColor, QRgb backColor) {
    if (FBoxHeight != height) {
        FBoxFont = FFont;
        FBoxFont.setPixelSize(std::max(1, height * 13 / 16));
        FBoxHeight = height;
    }
    const QString text = StringOf(code);
    const QFontMetrics metrics(FBoxFont);
    const int advance = metrics.horizontalAdvance(text);
    int left = x;
    int boxWidth = width;
    if (width > 0) {
        painter.fillRect(x, y, width, height, QColor::fromRgb(backColor));
    } else {
        boxWidth = height / 2;
        left = x - boxWidth;
    }
    painter.save();
    painter.setClipRect(left, y, boxWidth, height);
    painter.setFont(FBoxFont);
    painter.setPen(QColor::fromRgb(textColor));
    const int baseline = y + (height - metrics.height()) / 2 + metrics.ascent();
    if (width > 0 && advance > boxWidth) {
        painter.translate(left, baseline);
        painter.scale(double(boxWidth) / advance, 1.0);
        painter.drawText(QPoint(0, 0), text);
    } else if (width > 0) {
        painter.drawText(QPoint(left + (boxWidth - advance) / 2, baseline), text);
    } else {
        painter.drawText(QPoint(x, baseline), text);
    }
    painter.restore();
}

} // namespace ov
