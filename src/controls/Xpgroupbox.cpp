#include "Xpgroupbox.h"

#include "Xpdraw.h"

#include <QPainter>

namespace ov {

namespace {

const int kCaptionLeft = 8;
const int kCaptionExtra = 6;
const int kCorner = 8;

int CaptionWidth(const QFontMetrics& metrics, const QString& caption) {
    return metrics.boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, caption)
        .width();
}

} // namespace

TXPGroupBoxLayout XPGroupBoxLayout(QSize size, int textHeight, int textWidth) {
    TXPGroupBoxLayout layout;
    const int frameTop = textHeight / 2 - 1;
    layout.Frame = QRect(0, frameTop, size.width(), size.height() - frameTop);
    layout.Caption = QRect(kCaptionLeft, 0, textWidth + kCaptionExtra, textHeight);
    return layout;
}

void PaintXPGroupBox(QPainter& painter, QSize size, const QFont& font, const QString& caption,
                     const QColor& lineColor, const QColor& background,
                     const QColor& captionColor) {
    const QFontMetrics metrics(font);
    // The text height of "0" is the font's line height, as for any one line.
    const int textHeight = metrics.height();
    const TXPGroupBoxLayout layout =
        XPGroupBoxLayout(size, textHeight, CaptionWidth(metrics, caption));
    painter.fillRect(QRect(QPoint(0, 0), size), background);
    XPDrawRoundRect(painter, layout.Frame, kCorner, kCorner, lineColor, background);
    if (caption.isEmpty())
        return;
    painter.fillRect(layout.Caption, background);
    painter.setFont(font);
    painter.setPen(captionColor);
    painter.drawText(layout.Caption,
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     caption);
}

TXPGroupBox::TXPGroupBox(QWidget* parent) : QGroupBox(parent) {}

TXPGroupBox::TXPGroupBox(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) {}

void TXPGroupBox::SetLineColor(const QColor& color) {
    if (color == FLineColor)
        return;
    FLineColor = color;
    update();
}

void TXPGroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintXPGroupBox(painter, size(), font(), title(), FLineColor, palette().color(QPalette::Window),
                    palette().color(QPalette::WindowText));
}

} // namespace ov
