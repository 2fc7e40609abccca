#include "Xpradiobutton.h"

#include "Xpglyphs.h"

#include <QFocusEvent>
#include <QKeyEvent>

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

QList<TXPRadioButton*> TXPRadioButton::Group() const {
    QList<TXPRadioButton*> group;
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return group;
    const auto siblings = parent->findChildren<TXPRadioButton*>(Qt::FindDirectChildrenOnly);
    for (TXPRadioButton* sibling : siblings) {
        if (sibling->FGroupIndex == FGroupIndex)
            group.append(sibling);
    }
    return group;
}

void TXPRadioButton::UncheckGroupSiblings() {
    for (TXPRadioButton* sibling : Group()) {
        if (sibling != this)
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

void TXPRadioButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool forward = key == Qt::Key_Down || key == Qt::Key_Right;
    const bool backward = key == Qt::Key_Up || key == Qt::Key_Left;
    if (!forward && !backward)
        return TXPCheckControl::keyPressEvent(event);
    const QList<TXPRadioButton*> group = Group();
    const qsizetype count = group.size();
    const qsizetype at = group.indexOf(this);
    for (qsizetype step = 1; step < count; ++step) {
        TXPRadioButton* next = group[(at + (forward ? step : count - step)) % count];
        if (next->isEnabled() && next->isVisible()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace ov
