#pragma once
// TXPCheckControl: what the styled check box and radio button share: a 13 x 13
// glyph at the left, the caption from x = 17, the focused caption in
// FocusedColor, press-move-release clicking and the caption's access key.
// The two controls differ in their glyphs, in what a click does and in how
// Checked spreads (see TXPCheckBox and TXPRadioButton).

#include <QImage>
#include <QWidget>

class QPainter;

namespace ov {

// The glyph's place in a control of the given size: (0, (H - 13) / 2), 13 x 13.
QRect XPCheckGlyphRect(QSize size);
// The caption's rectangle: (17, 0) to (W, H).
QRect XPCheckCaptionRect(QSize size);

// Everything the painting of one of these controls depends on.
struct TXPCheckLook {
    QImage Glyph;     // 13 x 13, may carry transparency
    QString Caption;  // "&" marks the access key
    QColor TextColor; // font colour, focused colour or grey text
    QColor Background;
};

void PaintXPCheckControl(QPainter& painter, QSize size, const QFont& font,
                         const TXPCheckLook& look);

class TXPCheckControl : public QWidget {
    Q_OBJECT
public:
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool checked) = 0;

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    QColor FocusedColor() const { return FFocusedColor; }
    void SetFocusedColor(const QColor& color);

    // True between a press and the release that ends it.
    bool IsPressed() const { return FPressed; }
    TXPCheckLook Look() const;

    QSize sizeHint() const override;

protected:
    explicit TXPCheckControl(QWidget* parent);

    void SetCheckedField(bool checked) { FChecked = checked; }
    // A complete click (press and release inside the control) or the access key.
    virtual void Click() = 0;
    virtual void AccessKeyPressed() = 0;
    virtual QImage GlyphFor(bool checked) const = 0;
    virtual QColor CaptionColor() const;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool FChecked = false;
    bool FPressed = false;
    QString FCaption;
    QColor FFocusedColor;
    int FShortcutId = 0;
};

} // namespace ov
