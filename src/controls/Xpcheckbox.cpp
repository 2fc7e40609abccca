#include "Xpcheckbox.h"

#include "Xpglyphs.h"

#include <QKeyEvent>

namespace ov {

TXPCheckBox::TXPCheckBox(QWidget* parent) : TXPCheckControl(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

TXPCheckBox::TXPCheckBox(const QString& caption, QWidget* parent) : TXPCheckBox(parent) {
    SetCaption(caption);
}

void TXPCheckBox::SetChecked(bool checked) {
    if (checked == Checked())
        return;
    SetCheckedField(checked);
    update();
    if (OnClick)
        OnClick(this);
}

void TXPCheckBox::Click() {
    SetChecked(!Checked());
}

void TXPCheckBox::AccessKeyPressed() {
    setFocus(Qt::ShortcutFocusReason);
    SetChecked(!Checked());
}

QImage TXPCheckBox::GlyphFor(bool checked) const {
    return GlyphHalfImage(CheckGlyphs(), checked ? TGlyphHalf::Left : TGlyphHalf::Right);
}

QColor TXPCheckBox::CaptionColor() const {
    if (!isEnabled())
        return palette().color(QPalette::Disabled, QPalette::Text);
    return TXPCheckControl::CaptionColor();
}

void TXPCheckBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        SetChecked(!Checked());
        return;
    }
    TXPCheckControl::keyPressEvent(event);
}

} // namespace ov
