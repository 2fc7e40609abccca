#pragma once
// TXPRadioButton: a radio button drawn with the RADIOBTN glyphs. Radio
// buttons form a group when they share a parent and a GroupIndex: checking
// one unchecks the others of its group. A checked radio button is a tab stop,
// an unchecked one is not; receiving the focus checks it. The arrow keys move
// the focus (and so the check) through the group, wrapping at its ends.
// OnClick fires only when the button becomes checked.

#include "Xpcheckcontrol.h"

#include <functional>

namespace ov {

class TXPRadioButton : public TXPCheckControl {
    Q_OBJECT
public:
    explicit TXPRadioButton(QWidget* parent = nullptr);
    TXPRadioButton(const QString& caption, QWidget* parent = nullptr);

    void SetChecked(bool checked) override;
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int groupIndex) { FGroupIndex = groupIndex; }

    std::function<void(TXPRadioButton* sender)> OnClick;

protected:
    void Click() override;
    void AccessKeyPressed() override;
    QImage GlyphFor(bool checked) const override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The radio buttons of this one's group (same parent, same GroupIndex),
    // this one included, in creation order.
    QList<TXPRadioButton*> Group() const;
    void UncheckGroupSiblings();

    int FGroupIndex = 0;
};

} // namespace ov
