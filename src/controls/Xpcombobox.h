#pragma once
// TXPComboBox: a combo box with a one-pixel frame in BorderColor, two frames
// of the control's colour inside it, and a light blue drop-down button drawn
// from the COMBOBTN glyphs (pressed while the left button is held on it,
// grey while the control is disabled).

#include <QComboBox>
#include <QImage>

class QPainter;

namespace ov {

enum class TComboButtonState { Normal, Pressed };

// The button image for the state: a half of COMBOBTN, greyed when disabled
// (the bitmap's bottom-left colour stays as it is).
QImage XPComboButtonImage(TComboButtonState state, bool enabled);

class TXPComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TXPComboBox(QWidget* parent = nullptr);

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& color);

    // Kept for completeness of the control's properties; no icon is ever shown:
    // the setter of ViewIcon ignores every value.
    const QImage& Icon() const { return FIcon; }
    void SetIcon(const QImage& icon);
    bool ViewIcon() const { return false; }
    void SetViewIcon(bool) {}

    QRect GetBtnRect() const;
    bool ButtonPressed() const { return FButtonPressed; }

    void hidePopup() override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawBorder(QPainter& painter) const;
    void DrawButton(QPainter& painter) const;
    void DrawText(QPainter& painter) const;
    void SetButtonPressed(bool pressed);

    QColor FBorderColor;
    QImage FIcon;
    bool FButtonPressed = false;
};

} // namespace ov
