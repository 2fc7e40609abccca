#include "Xpradiobutton.h"

#include "Xpglyphs.h"

#include <QFocusEvent>

namespace ov {

TXPRadioButton::TXPRadioButton(QWidget* parent) : TXPCheckControl(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

TXPRadioButton::TXPRadioButton(const QString& caption, QWidget* parent) : TXPRadioButton(parent) {
    SetCaption(caption);
}

void TXPRadioButton::SetChecked(bool checked) {
    if (checked == Checked())
        return;
    SetCheckedField(checked);
    setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
    update();
    if (!checked)
        return;
    UncheckGroupSiblings();
    if (OnClick)
        OnClick(this);
}

void TXPRadioButton::UncheckGroupSiblings() {
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    const auto siblings = parent->findChildren<TXPRadioButton*>(Qt::FindDirectChildrenOnly);
    for (TXPRadioButton* sibling : siblings) {
        if (sibling != this && sibling->FGroupIndex == FGroupIndex)
            sibling->SetChecked(false);
    }
}

void TXPRadioButton::Click() {
    if (!Checked())
        SetChecked(true);
}

void TXPRadioButton::AccessKeyPressed() {
    setFocus(Qt::ShortcutFocusReason);
    Click();
}

QImage TXPRadioButton::GlyphFor(bool checked) const {
    return TransparentGlyphImage(RadioGlyphs(), checked ? TGlyphHalf::Left : TGlyphHalf::Right);
}

void TXPRadioButton::focusInEvent(QFocusEvent* event) {
    TXPCheckControl::focusInEvent(event);
    // Getting the focus back with the window is no choice of the user.
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        SetChecked(true);
}

} // namespace ov
