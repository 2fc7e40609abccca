#pragma once
// TXPCheckBox: a check box drawn with the CHECKBTN glyphs. A click, the space
// bar while focused, or the caption's access key toggles Checked; every
// change of Checked fires OnClick.

#include "Xpcheckcontrol.h"

#include <functional>

namespace ov {

class TXPCheckBox : public TXPCheckControl {
    Q_OBJECT
public:
    explicit TXPCheckBox(QWidget* parent = nullptr);
    TXPCheckBox(const QString& caption, QWidget* parent = nullptr);

    void SetChecked(bool checked) override;

    std::function<void(TXPCheckBox* sender)> OnClick;

protected:
    void Click() override;
    void AccessKeyPressed() override;
    QImage GlyphFor(bool checked) const override;
    QColor CaptionColor() const override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace ov
