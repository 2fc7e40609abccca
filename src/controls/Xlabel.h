#pragma once
// TXLabel: a one-line label whose caption carries a small markup: <b>, <i>,
// <u> and their closing tags switch bold, italic and underline; <cRRGGBB>
// colours the text that follows and </c> returns to the colour remembered
// at the latest valid colour tag (one level only). Tags are recognised in
// any letter case; everything else, "<" and "&" included, is text.
//
// The caption is scanned as CP949 bytes, the program's code page: a byte of
// 0x80 or more starts a two-byte character, which is drawn and measured as
// one unit.

#include <QColor>
#include <QLabel>

#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace ov {

enum class TMarkupKind { Text, StyleOn, StyleOff, Color, ColorEnd };
enum class TMarkupStyle { Bold, Italic, Underline };

struct TMarkupToken {
    TMarkupKind Kind = TMarkupKind::Text;
    std::string Text;                        // Text: one character, 1 or 2 bytes
    TMarkupStyle Style = TMarkupStyle::Bold; // StyleOn, StyleOff
    QColor Color;                            // Color: the new colour
};

// The caption cut into characters and tags. A colour tag with a pair that is
// not hexadecimal yields nothing; a "<c" that is not a nine-character tag
// loses its "<" and the scan goes on after it.
std::vector<TMarkupToken> ScanMarkup(std::string_view caption);

// One character as drawn: its text, its position from the start of the run,
// the font and colour it is drawn in and how far it moves the pen on.
struct TMarkupGlyph {
    QString Text;
    int X = 0;
    QFont Font;
    QColor Color;
    int Advance = 0;
};

struct TMarkupLayout {
    std::vector<TMarkupGlyph> Glyphs;
    int Width = 0;
};

// Lays the caption out from x = 0 with font and its colour as the starting
// state. Widths are the sum of each character's advance.
TMarkupLayout LayoutMarkup(std::string_view caption, const QFont& font, const QColor& color);

// The caption without markup: every run from "<" to the next ">" is dropped
// (a "<" with no ">" after it is dropped alone), "&lt;" becomes "<" and
// "&gt;" becomes ">" (matched with case).
QString MarkupPlainText(const QString& caption);

// Where a run of the given width and text height starts inside rect, for the
// horizontal and vertical parts of alignment; labelWidth is the width the
// right and centre alignments measure from.
QPoint AlignedTextOrigin(const QRect& rect, int labelWidth, int textWidth, int textHeight,
                         Qt::Alignment alignment);

class TXLabel : public QLabel {
    Q_OBJECT
public:
    explicit TXLabel(QWidget* parent = nullptr);
    TXLabel(const QString& caption, QWidget* parent = nullptr);

    // Sets the caption and, with AutoSize on, resizes the label to it. (The
    // stock setText repaints but does not resize.)
    void SetCaption(const QString& caption);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return !autoFillBackground(); }
    void SetTransparent(bool transparent);

    int GetTextWidth(const QString& text) const;
    QString GetOnlyText() const { return MarkupPlainText(text()); }

    // With AutoSize on, the width becomes the caption's drawn width; the
    // height stays, and a right-aligned label keeps its right edge.
    void AdjustBounds();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void DoDrawText(QPainter& painter, const QRect& rect) const;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QColor FontColor() const;

    bool FAutoSize = true;
};

} // namespace ov
