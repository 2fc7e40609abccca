#pragma once
// TXPEdit: a single-line edit without the stock 3-D border. Its two outer
// pixels on every side are the frame: one pixel in BorderColor, then one in
// the control's colour (the Base role of its palette).

#include <QLineEdit>

class QPainter;

namespace ov {

// The height an auto-sized edit takes for a font of the given text height.
inline int XPEditHeightForText(int textHeight) {
    return textHeight + 4;
}

// The outer frame in border and the inner frame in fill, around a control of
// the given size; innerFrames counts the frames of fill (1 for the edit, 2
// for the combo box).
void PaintXPBorder(QPainter& painter, QSize size, const QColor& border, const QColor& fill,
                   int innerFrames);

class TXPEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TXPEdit(QWidget* parent = nullptr);

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& color);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);

    // With AutoSize on, the height becomes the font's text height plus 4.
    void AdjustHeight();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void DrawBorder(QPainter& painter) const;

    QColor FBorderColor;
    bool FAutoSize = true;
};

} // namespace ov
