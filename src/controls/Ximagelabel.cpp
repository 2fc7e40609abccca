#include "Ximagelabel.h"

#include "Xpdraw.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace ov {

namespace {

const int kImageGap = 4;

QImage WithTransparentCorner(const QImage& image) {
    if (image.isNull())
        return image;
    return ImageWithTransparentColor(image, image.pixel(0, image.height() - 1));
}

} // namespace

TXImageLabelLayout XImageLabelLayout(QSize labelSize, QSize imageSize, int captionWidth,
                                     int textHeight, int leftMargin, int rightMargin,
                                     Qt::Alignment alignment) {
    const int imageWidth = imageSize.isEmpty() ? 0 : imageSize.width();
    TXImageLabelLayout layout;
    layout.Width = captionWidth + imageWidth + leftMargin + rightMargin + kImageGap;
    int offset = 0;
    if (alignment & Qt::AlignRight)
        offset = labelSize.width() - layout.Width;
    else if (alignment & Qt::AlignHCenter)
        offset = (labelSize.width() - layout.Width) / 2;
    int y = 0;
    if (alignment & Qt::AlignVCenter)
        y = (labelSize.height() - textHeight) / 2;
    else if (alignment & Qt::AlignBottom)
        y = labelSize.height() - textHeight;
    layout.Image = QPoint(offset + leftMargin, (labelSize.height() - imageSize.height()) / 2);
    layout.Caption = QPoint(offset + imageWidth + leftMargin + kImageGap, y);
    return layout;
}

TXImageLabel::TXImageLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

TXImageLabel::TXImageLabel(const QString& caption, QWidget* parent) : TXImageLabel(parent) {
    SetCaption(caption);
}

void TXImageLabel::SetCaption(const QString& caption) {
    setText(caption);
    AdjustBounds();
}

void TXImageLabel::SetAutoSize(bool autoSize) {
    if (autoSize == FAutoSize)
        return;
    FAutoSize = autoSize;
    AdjustBounds();
}

void TXImageLabel::SetImage(const QImage& image) {
    if (image == FImage)
        return;
    FImage = image;
    FTransparentImage = WithTransparentCorner(image);
    AdjustBounds();
    update();
}

void TXImageLabel::SetLeftMargin(int margin) {
    if (margin == FLeftMargin)
        return;
    FLeftMargin = margin;
    AdjustBounds();
    update();
}

void TXImageLabel::SetRightMargin(int margin) {
    if (margin == FRightMargin)
        return;
    FRightMargin = margin;
    AdjustBounds();
    update();
}

TXImageLabelLayout TXImageLabel::Layout() const {
    const QFontMetrics metrics(font());
    return XImageLabelLayout(size(), FImage.size(), metrics.horizontalAdvance(text()),
                             metrics.height(), FLeftMargin, FRightMargin, alignment());
}

void TXImageLabel::AdjustBounds() {
    if (!FAutoSize)
        return;
    const int newWidth = Layout().Width;
    if (alignment() & Qt::AlignRight)
        move(x() + width() - newWidth, y());
    resize(newWidth, height());
    updateGeometry();
}

QSize TXImageLabel::sizeHint() const {
    return QSize(Layout().Width, std::max(fontMetrics().height(), FImage.height()));
}

void TXImageLabel::DoDrawText(QPainter& painter) const {
    const TXImageLabelLayout layout = Layout();
    if (!FTransparentImage.isNull())
        painter.drawImage(layout.Image, FTransparentImage);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(layout.Caption.x(), layout.Caption.y() + fontMetrics().ascent(), text());
}

void TXImageLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DoDrawText(painter);
}

void TXImageLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
}

} // namespace ov
