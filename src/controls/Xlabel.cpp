#include "Xlabel.h"

#include "Codepage.h"
#include "Qtcodepage.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

namespace ov {

namespace {

const int kColorTagLength = 9;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithTag(std::string_view text, size_t at, std::string_view tag) {
    if (text.size() - at < tag.size())
        return false;
    for (size_t i = 0; i < tag.size(); ++i) {
        if (LowerAscii(text[at + i]) != tag[i])
            return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The colour of "<cRRGGBB>" at position at, invalid if a pair is not hex.
QColor ColorTagValue(std::string_view text, size_t at) {
    int channels[3];
    for (int i = 0; i < 3; ++i) {
        const int high = HexDigit(text[at + 2 + 2 * i]);
        const int low = HexDigit(text[at + 3 + 2 * i]);
        if (high < 0 || low < 0)
            return QColor();
        channels[i] = high * 16 + low;
    }
    return QColor(channels[0], channels[1], channels[2]);
}

struct TStyleTag {
    std::string_view Tag;
    TMarkupKind Kind;
    TMarkupStyle Style;
};

const TStyleTag kStyleTags[] = {
    {"<b>", TMarkupKind::StyleOn, TMarkupStyle::Bold},
    {"</b>", TMarkupKind::StyleOff, TMarkupStyle::Bold},
    {"<i>", TMarkupKind::StyleOn, TMarkupStyle::Italic},
    {"</i>", TMarkupKind::StyleOff, TMarkupStyle::Italic},
    {"<u>", TMarkupKind::StyleOn, TMarkupStyle::Underline},
    {"</u>", TMarkupKind::StyleOff, TMarkupStyle::Underline},
};

// Reads the tag at position at, if there is one; returns the bytes it covers
// (0 when the "<" is plain text).
size_t ScanTag(std::string_view text, size_t at, std::vector<TMarkupToken>& tokens) {
    for (const TStyleTag& tag : kStyleTags) {
        if (StartsWithTag(text, at, tag.Tag)) {
            TMarkupToken token;
            token.Kind = tag.Kind;
            token.Style = tag.Style;
            tokens.push_back(token);
            return tag.Tag.size();
        }
    }
    if (StartsWithTag(text, at, "</c>")) {
        tokens.push_back({TMarkupKind::ColorEnd, {}, TMarkupStyle::Bold, QColor()});
        return 4;
    }
    if (!StartsWithTag(text, at, "<c"))
        return 0;
    if (text.size() - at < kColorTagLength || text[at + kColorTagLength - 1] != '>')
        return 1; // not a tag: only its "<" is lost
    const QColor color = ColorTagValue(text, at);
    if (color.isValid())
        tokens.push_back({TMarkupKind::Color, {}, TMarkupStyle::Bold, color});
    return kColorTagLength;
}

void ApplyStyle(QFont& font, TMarkupStyle style, bool on) {
    switch (style) {
    case TMarkupStyle::Bold:
        font.setBold(on);
        break;
    case TMarkupStyle::Italic:
        font.setItalic(on);
        break;
    case TMarkupStyle::Underline:
        font.setUnderline(on);
        break;
    }
}

} // namespace

std::vector<TMarkupToken> ScanMarkup(std::string_view caption) {
    std::vector<TMarkupToken> tokens;
    size_t at = 0;
    while (at < caption.size()) {
        if (caption[at] == '<') {
            const size_t covered = ScanTag(caption, at, tokens);
            if (covered > 0) {
                at += covered;
                continue;
            }
        }
        const bool pair =
            IsLeadByte(static_cast<unsigned char>(caption[at])) && at + 1 < caption.size();
        const size_t length = pair ? 2 : 1;
        tokens.push_back({TMarkupKind::Text, std::string(caption.substr(at, length)),
                          TMarkupStyle::Bold, QColor()});
        at += length;
    }
    return tokens;
}

TMarkupLayout LayoutMarkup(std::string_view caption, const QFont& font, const QColor& color) {
    TMarkupLayout layout;
    QFont current = font;
    QColor currentColor = color;
    QColor remembered = color;
    for (const TMarkupToken& token : ScanMarkup(caption)) {
        switch (token.Kind) {
        case TMarkupKind::StyleOn:
        case TMarkupKind::StyleOff:
            ApplyStyle(current, token.Style, token.Kind == TMarkupKind::StyleOn);
            break;
        case TMarkupKind::Color:
            remembered = currentColor;
            currentColor = token.Color;
            break;
        case TMarkupKind::ColorEnd:
            currentColor = remembered;
            break;
        case TMarkupKind::Text: {
            TMarkupGlyph glyph{QStringFromAnsi(token.Text), layout.Width, current, currentColor};
            glyph.Advance = QFontMetrics(current).horizontalAdvance(glyph.Text);
            layout.Width += glyph.Advance;
            layout.Glyphs.push_back(std::move(glyph));
            break;
        }
        }
    }
    return layout;
}

QString MarkupPlainText(const QString& caption) {
    QString plain;
    for (qsizetype at = 0; at < caption.size(); ++at) {
        if (caption[at] == u'<') {
            const qsizetype close = caption.indexOf(u'>', at + 1);
            if (close >= 0)
                at = close;
            continue;
        }
        plain += caption[at];
    }
    plain.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    plain.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    return plain;
}

QPoint AlignedTextOrigin(const QRect& rect, int labelWidth, int textWidth, int textHeight,
                         Qt::Alignment alignment) {
    int x = rect.left();
    if (alignment & Qt::AlignRight)
        x = labelWidth - textWidth;
    else if (alignment & Qt::AlignHCenter)
        x = (labelWidth - textWidth) / 2;
    int y = rect.top();
    if (alignment & Qt::AlignVCenter)
        y = rect.top() + (rect.height() - textHeight) / 2;
    else if (alignment & Qt::AlignBottom)
        y = rect.top() + rect.height() - textHeight;
    return QPoint(x, y);
}

TXLabel::TXLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

TXLabel::TXLabel(const QString& caption, QWidget* parent) : TXLabel(parent) {
    SetCaption(caption);
}

void TXLabel::SetCaption(const QString& caption) {
    setText(caption);
    AdjustBounds();
}

void TXLabel::SetAutoSize(bool autoSize) {
    if (autoSize == FAutoSize)
        return;
    FAutoSize = autoSize;
    AdjustBounds();
}

void TXLabel::SetTransparent(bool transparent) {
    setAutoFillBackground(!transparent);
}

QColor TXLabel::FontColor() const {
    return palette().color(foregroundRole());
}

int TXLabel::GetTextWidth(const QString& text) const {
    return LayoutMarkup(AnsiFromQString(text), font(), FontColor()).Width;
}

void TXLabel::AdjustBounds() {
    if (!FAutoSize)
        return;
    const int newWidth = GetTextWidth(text());
    if (alignment() & Qt::AlignRight)
        move(x() + width() - newWidth, y());
    resize(newWidth, height());
    updateGeometry();
}

QSize TXLabel::sizeHint() const {
    return QSize(GetTextWidth(text()), fontMetrics().height());
}

void TXLabel::DoDrawText(QPainter& painter, const QRect& rect) const {
    const TMarkupLayout layout = LayoutMarkup(AnsiFromQString(text()), font(), FontColor());
    const QPoint origin =
        AlignedTextOrigin(rect, width(), layout.Width, QFontMetrics(font()).height(), alignment());
    for (const TMarkupGlyph& glyph : layout.Glyphs) {
        // The font's own underline would stop at each character's fractional
        // width and leave gaps between the whole-pixel steps: the underline is
        // drawn here, across the full advance.
        QFont font = glyph.Font;
        font.setUnderline(false);
        const QFontMetrics metrics(font);
        const QPoint at(origin.x() + glyph.X, origin.y() + metrics.ascent());
        painter.setFont(font);
        painter.setPen(glyph.Color);
        painter.drawText(at, glyph.Text);
        if (glyph.Font.underline())
            painter.fillRect(QRect(at.x(), at.y() + metrics.underlinePos(), glyph.Advance,
                                   std::max(1, metrics.lineWidth())),
                             glyph.Color);
    }
}

void TXLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DoDrawText(painter, rect());
}

void TXLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        AdjustBounds();
}

} // namespace ov
