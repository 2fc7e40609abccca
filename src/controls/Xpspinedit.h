#pragma once
// TXPSpinEdit: the numeric field with up and down arrows used by the dialogs,
// drawn flat like TXPEdit (frame in BorderColor) with light blue arrow
// buttons in the column of the combo box's drop-down button.
//
// The value lives in the text, as in the stock spin edit: Value() reads the
// text (text that does not read as a number counts as MinValue) and clamps
// it to the range; SetValue clamps and writes the text. When the field loses
// the focus its text is rewritten as Value(). With EditorEnabled off the
// text cannot be typed; the arrows, the arrow keys and the wheel still work.

#include <QAbstractSpinBox>

#include <functional>

class QPainter;

namespace ov {

// value clamped to [minValue, maxValue]; a range with maxValue == minValue
// means "no range" and leaves value as it is.
int ClampSpinValue(int value, int minValue, int maxValue);

// value + delta clamped to the range, without overflow.
int SteppedSpinValue(int value, long long delta, int minValue, int maxValue);

// The arrow buttons for a field of the given size, up and down.
void PaintXPSpinButtons(QPainter& painter, QSize size, bool enabled, bool upPressed,
                        bool downPressed);

class TXPSpinEdit : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit TXPSpinEdit(QWidget* parent = nullptr);

    int Value() const;
    void SetValue(int value);
    int MinValue() const { return FMinValue; }
    void SetMinValue(int minValue);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int maxValue);
    int Increment() const { return FIncrement; }
    void SetIncrement(int increment) { FIncrement = increment; }
    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool enabled);
    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& color);

    // Fires whenever the text changes, typed or stepped.
    std::function<void(TXPSpinEdit* sender)> OnChange;

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    StepEnabled stepEnabled() const override;
    void paintEvent(QPaintEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int ParsedValue(bool* ok) const;

    int FMinValue = 0;
    int FMaxValue = 0;
    int FIncrement = 1;
    bool FEditorEnabled = true;
    QColor FBorderColor;
    int FPressedButton = 0; // -1 down, +1 up, 0 none
};

} // namespace ov
