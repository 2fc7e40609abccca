#include "Xpcheckcontrol.h"

#include <QEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace ov {

namespace {

const int kGlyphSize = 13;
const int kCaptionLeft = 17;
const QSize kDefaultSize(121, 17);

} // namespace

QRect XPCheckGlyphRect(QSize size) {
    return QRect(0, (size.height() - kGlyphSize) / 2, kGlyphSize, kGlyphSize);
}

QRect XPCheckCaptionRect(QSize size) {
    return QRect(kCaptionLeft, 0, std::max(0, size.width() - kCaptionLeft), size.height());
}

void PaintXPCheckControl(QPainter& painter, QSize size, const QFont& font,
                         const TXPCheckLook& look) {
    painter.fillRect(QRect(QPoint(0, 0), size), look.Background);
    painter.drawImage(XPCheckGlyphRect(size).topLeft(), look.Glyph);
    painter.setFont(font);
    painter.setPen(look.TextColor);
    painter.drawText(XPCheckCaptionRect(size),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     look.Caption);
}

TXPCheckControl::TXPCheckControl(QWidget* parent) : QWidget(parent), FFocusedColor(Qt::blue) {
    resize(kDefaultSize);
}

void TXPCheckControl::SetCaption(const QString& caption) {
    if (caption == FCaption)
        return;
    FCaption = caption;
    if (FShortcutId != 0)
        releaseShortcut(FShortcutId);
    const QKeySequence key = QKeySequence::mnemonic(caption);
    FShortcutId = key.isEmpty() ? 0 : grabShortcut(key);
    updateGeometry();
    update();
}

void TXPCheckControl::SetFocusedColor(const QColor& color) {
    if (color == FFocusedColor)
        return;
    FFocusedColor = color;
    update();
}

QColor TXPCheckControl::CaptionColor() const {
    return palette().color(QPalette::Active, QPalette::WindowText);
}

TXPCheckLook TXPCheckControl::Look() const {
    TXPCheckLook look;
    look.Glyph = GlyphFor(FChecked);
    look.Caption = FCaption;
    look.TextColor = hasFocus() ? FFocusedColor : CaptionColor();
    look.Background = palette().color(QPalette::Window);
    return look;
}

QSize TXPCheckControl::sizeHint() const {
    const int captionWidth = fontMetrics().horizontalAdvance(QString(FCaption).remove('&'));
    return QSize(std::max(kDefaultSize.width(), kCaptionLeft + captionWidth + 2),
                 std::max(kDefaultSize.height(), fontMetrics().height()));
}

bool TXPCheckControl::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && isEnabled()) {
        AccessKeyPressed();
        return true;
    }
    return QWidget::event(event);
}

void TXPCheckControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintXPCheckControl(painter, size(), font(), Look());
}

void TXPCheckControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !isEnabled())
        return QWidget::mousePressEvent(event);
    FPressed = true;
    setFocus(Qt::MouseFocusReason);
}

void TXPCheckControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    const bool wasPressed = FPressed;
    FPressed = false;
    if (wasPressed && rect().contains(event->position().toPoint()))
        Click();
}

void TXPCheckControl::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void TXPCheckControl::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void TXPCheckControl::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::PaletteChange)
        update();
}

} // namespace ov
