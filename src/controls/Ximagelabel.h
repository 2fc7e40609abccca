#pragma once
// TXImageLabel: a one-line label with a small picture left of its plain
// caption. The picture is drawn transparently: its bottom-left pixel's colour
// is the transparent colour.
//
// Alignment moves picture and caption together: the run aligned is
// LeftMargin, the picture, 4 pixels, the caption and RightMargin, so a right
// or centre aligned label never pushes its caption past its own edge.

#include <QImage>
#include <QLabel>

class QPainter;

namespace ov {

struct TXImageLabelLayout {
    QPoint Image;   // top left of the picture
    QPoint Caption; // top left of the caption's text cell
    int Width = 0;  // the auto-size width
};

// The parts of a label of the given size: picture size (empty for none),
// caption width, text height, margins and alignment.
TXImageLabelLayout XImageLabelLayout(QSize labelSize, QSize imageSize, int captionWidth,
                                     int textHeight, int leftMargin, int rightMargin,
                                     Qt::Alignment alignment);

class TXImageLabel : public QLabel {
    Q_OBJECT
public:
    explicit TXImageLabel(QWidget* parent = nullptr);
    TXImageLabel(const QString& caption, QWidget* parent = nullptr);

    void SetCaption(const QString& caption);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);

    // Copies the picture; its bottom-left colour becomes transparent.
    const QImage& Image() const { return FImage; }
    void SetImage(const QImage& image);
    int LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(int margin);
    int RightMargin() const { return FRightMargin; }
    void SetRightMargin(int margin);

    TXImageLabelLayout Layout() const;
    void AdjustBounds();
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void DoDrawText(QPainter& painter) const;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QImage FImage;
    QImage FTransparentImage;
    int FLeftMargin = 4;
    int FRightMargin = 2;
    bool FAutoSize = true;
};

} // namespace ov
