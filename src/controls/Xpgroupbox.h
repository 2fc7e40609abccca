#pragma once
// TXPGroupBox: a group box with a rounded frame in LineColor and its caption
// on a cut-out of the frame's top line. The caption is drawn in the
// WindowText colour of the palette (the dialogs colour it through there).

#include <QGroupBox>

class QPainter;

namespace ov {

// Where the parts of a group box of the given size and caption go, for a font
// whose text height of "0" is textHeight and a caption textWidth wide.
struct TXPGroupBoxLayout {
    QRect Frame;   // the rounded frame, from (0, h / 2 - 1) to (W, H)
    QRect Caption; // the cut-out: from (8, 0), the caption's width + 6, h high
};

TXPGroupBoxLayout XPGroupBoxLayout(QSize size, int textHeight, int textWidth);

void PaintXPGroupBox(QPainter& painter, QSize size, const QFont& font, const QString& caption,
                     const QColor& lineColor, const QColor& background, const QColor& captionColor);

class TXPGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit TXPGroupBox(QWidget* parent = nullptr);
    TXPGroupBox(const QString& caption, QWidget* parent = nullptr);

    QColor LineColor() const { return FLineColor; }
    void SetLineColor(const QColor& color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor FLineColor{128, 128, 128};
};

} // namespace ov
