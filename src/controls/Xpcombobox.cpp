#include "Xpcombobox.h"

#include "Xpdraw.h"
#include "Xpedit.h"
#include "Xpglyphs.h"
#include "Xpstyle.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

namespace ov {

QImage XPComboButtonImage(TComboButtonState state, bool enabled) {
    const QImage& glyphs = ComboGlyphs();
    const TGlyphHalf half =
        state == TComboButtonState::Pressed ? TGlyphHalf::Right : TGlyphHalf::Left;
    QImage image = GlyphHalfImage(glyphs, half);
    if (!enabled)
        image = GreyedImage(image, glyphs.pixel(0, glyphs.height() - 1));
    return image;
}

TXPComboBox::TXPComboBox(QWidget* parent)
    : QComboBox(parent), FBorderColor(XPColorFromValue(kXPDefaultBorder)) {
    setStyle(XPControlStyle());
    setFrame(false);
}

void TXPComboBox::SetBorderColor(const QColor& color) {
    if (color == FBorderColor)
        return;
    FBorderColor = color;
    update();
}

void TXPComboBox::SetIcon(const QImage& icon) {
    FIcon = icon;
}

QRect TXPComboBox::GetBtnRect() const {
    return XPComboButtonRect(size());
}

void TXPComboBox::SetButtonPressed(bool pressed) {
    if (pressed == FButtonPressed)
        return;
    FButtonPressed = pressed;
    update(GetBtnRect());
}

void TXPComboBox::hidePopup() {
    QComboBox::hidePopup();
    SetButtonPressed(false);
}

QSize TXPComboBox::sizeHint() const {
    QSize hint = QComboBox::sizeHint();
    hint.setHeight(XPEditHeightForText(fontMetrics().height()) + 2);
    return hint;
}

QSize TXPComboBox::minimumSizeHint() const {
    QSize hint = QComboBox::minimumSizeHint();
    hint.setHeight(XPEditHeightForText(fontMetrics().height()) + 2);
    return hint;
}

void TXPComboBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    if (!isEditable())
        DrawText(painter);
    DrawBorder(painter);
    DrawButton(painter);
}

void TXPComboBox::DrawText(QPainter& painter) const {
    const QRect field = XPComboEditRect(size());
    QColor textColor =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    // A focused drop-down list shows its current text selected, as the stock
    // control does.
    if (hasFocus() && isEnabled()) {
        painter.fillRect(field, palette().color(QPalette::Highlight));
        textColor = palette().color(QPalette::HighlightedText);
    }
    painter.setFont(font());
    painter.setPen(textColor);
    painter.drawText(field.adjusted(2, 0, -1, 0), Qt::AlignVCenter | Qt::AlignLeft, currentText());
}

void TXPComboBox::DrawBorder(QPainter& painter) const {
    PaintXPBorder(painter, size(), FBorderColor, palette().color(QPalette::Base), 2);
}

void TXPComboBox::DrawButton(QPainter& painter) const {
    const QRect button = GetBtnRect();
    painter.fillRect(QRect(QPoint(button.left() - 2, button.top()), button.bottomRight()),
                     palette().color(QPalette::Base));
    const auto state = FButtonPressed ? TComboButtonState::Pressed : TComboButtonState::Normal;
    painter.drawImage(button, XPComboButtonImage(state, isEnabled()));
}

void TXPComboBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && GetBtnRect().contains(event->position().toPoint()))
        SetButtonPressed(true);
    QComboBox::mousePressEvent(event);
}

void TXPComboBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        SetButtonPressed(false);
    QComboBox::mouseReleaseEvent(event);
}

void TXPComboBox::changeEvent(QEvent* event) {
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::EnabledChange || event->type() == QEvent::FontChange)
        update();
}

} // namespace ov
