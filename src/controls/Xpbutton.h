#pragma once
// TXPButton: a push button with the flat look of the program's dialogs: a
// rounded frame, a white face with two pairs of shading lines, and a blue
// focus mark on the bottom edge of the focused or default button.

#include <QPushButton>

class QPainter;

namespace ov {

// Everything the look of a button depends on besides its size and caption.
struct TXPButtonLook {
    bool Enabled = true;
    bool Pressed = false;
    bool FocusMark = false;
};

// The focus mark shows on an enabled, released button that is a tab stop and
// either has the focus or is the default button.
bool XPButtonShowsFocusMark(bool enabled, bool pressed, bool tabStop, bool focused, bool isDefault);

// Face, frame, shading and focus mark of a button of the given size, drawn
// with its top left corner at (0, 0).
void PaintXPButtonFace(QPainter& painter, QSize size, const TXPButtonLook& look);

class TXPButton : public QPushButton {
    Q_OBJECT
public:
    explicit TXPButton(QWidget* parent = nullptr);
    explicit TXPButton(const QString& caption, QWidget* parent = nullptr);

    // Makes the button the default button or not; repaints when that changes.
    void SetButtonStyle(bool isDefault);
    TXPButtonLook Look() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
};

} // namespace ov
