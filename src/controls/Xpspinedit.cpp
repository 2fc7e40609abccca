#include "Xpspinedit.h"

#include "Xpdraw.h"
#include "Xpedit.h"
#include "Xpstyle.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace ov {

namespace {

void PaintArrowButton(QPainter& painter, const QRect& rect, bool up, bool enabled, bool pressed) {
    QImage image(rect.size(), QImage::Format_RGB32);
    {
        QPainter canvas(&image);
        const QColor top = pressed ? QColor(178, 200, 246) : QColor(232, 240, 255);
        const QColor bottom = pressed ? QColor(150, 178, 236) : QColor(182, 206, 250);
        for (int y = 0; y < rect.height(); ++y) {
            const double t = rect.height() > 1 ? double(y) / (rect.height() - 1) : 0.0;
            const QColor line(int(top.red() + (bottom.red() - top.red()) * t),
                              int(top.green() + (bottom.green() - top.green()) * t),
                              int(top.blue() + (bottom.blue() - top.blue()) * t));
            canvas.fillRect(0, y, rect.width(), 1, line);
        }
        XPFrameRect(canvas, QRect(QPoint(0, 0), rect.size()),
                    pressed ? QColor(110, 140, 200) : QColor(168, 190, 232));
        // A triangle of rows 5, 3 and 1 pixels wide.
        const int middle = rect.width() / 2;
        const int rows = std::min(3, std::max(1, rect.height() - 4));
        const int first = (rect.height() - rows) / 2;
        for (int row = 0; row < rows; ++row) {
            const int half = up ? row : rows - 1 - row;
            canvas.fillRect(middle - half, first + row, 2 * half + 1, 1, QColor(77, 97, 133));
        }
    }
    if (!enabled)
        image = GreyedImage(image, 0);
    painter.drawImage(rect.topLeft(), image);
}

} // namespace

int ClampSpinValue(int value, int minValue, int maxValue) {
    if (maxValue == minValue)
        return value;
    return std::clamp(value, std::min(minValue, maxValue), std::max(minValue, maxValue));
}

int SteppedSpinValue(int value, long long delta, int minValue, int maxValue) {
    const long long stepped =
        std::clamp<long long>(static_cast<long long>(value) + delta,
                              std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    return ClampSpinValue(static_cast<int>(stepped), minValue, maxValue);
}

void PaintXPSpinButtons(QPainter& painter, QSize size, bool enabled, bool upPressed,
                        bool downPressed) {
    const QRect up = XPSpinUpRect(size), down = XPSpinDownRect(size);
    painter.fillRect(QRect(QPoint(up.left() - 2, up.top()), down.bottomRight()),
                     painter.background());
    PaintArrowButton(painter, up, true, enabled, upPressed);
    PaintArrowButton(painter, down, false, enabled, downPressed);
}

TXPSpinEdit::TXPSpinEdit(QWidget* parent)
    : QAbstractSpinBox(parent), FBorderColor(XPColorFromValue(kXPDefaultBorder)) {
    setStyle(XPControlStyle());
    setFrame(false);
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        if (OnChange)
            OnChange(this);
    });
}

int TXPSpinEdit::ParsedValue(bool* ok) const {
    return text().trimmed().toInt(ok);
}

int TXPSpinEdit::Value() const {
    bool ok = false;
    const int value = ParsedValue(&ok);
    return ClampSpinValue(ok ? value : FMinValue, FMinValue, FMaxValue);
}

void TXPSpinEdit::SetValue(int value) {
    const QString text = QString::number(ClampSpinValue(value, FMinValue, FMaxValue));
    if (text != lineEdit()->text())
        lineEdit()->setText(text);
}

void TXPSpinEdit::SetMinValue(int minValue) {
    FMinValue = minValue;
    SetValue(Value());
}

void TXPSpinEdit::SetMaxValue(int maxValue) {
    FMaxValue = maxValue;
    SetValue(Value());
}

void TXPSpinEdit::SetEditorEnabled(bool enabled) {
    FEditorEnabled = enabled;
    lineEdit()->setReadOnly(!enabled);
}

void TXPSpinEdit::SetBorderColor(const QColor& color) {
    if (color == FBorderColor)
        return;
    FBorderColor = color;
    update();
}

void TXPSpinEdit::stepBy(int steps) {
    SetValue(SteppedSpinValue(Value(), static_cast<long long>(steps) * FIncrement, FMinValue,
                              FMaxValue));
    if (FEditorEnabled)
        lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TXPSpinEdit::stepEnabled() const {
    return isEnabled() ? (StepUpEnabled | StepDownEnabled) : StepNone;
}

QValidator::State TXPSpinEdit::validate(QString& input, int&) const {
    // Digits with an optional sign; range and emptiness are settled on exit.
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input[i];
        const bool sign = i == 0 && (c == u'-' || c == u'+');
        if (!sign && !c.isDigit())
            return QValidator::Invalid;
    }
    return input.size() <= 11 ? QValidator::Acceptable : QValidator::Invalid;
}

void TXPSpinEdit::fixup(QString& input) const {
    input = QString::number(Value());
}

QSize TXPSpinEdit::sizeHint() const {
    const QFontMetrics metrics = fontMetrics();
    return QSize(metrics.horizontalAdvance(QStringLiteral("0000000")) + 26,
                 XPEditHeightForText(metrics.height()) + 2);
}

QSize TXPSpinEdit::minimumSizeHint() const {
    return sizeHint();
}

void TXPSpinEdit::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor base = palette().color(QPalette::Base);
    painter.fillRect(rect(), base);
    PaintXPBorder(painter, size(), FBorderColor, base, 2);
    painter.setBackground(base);
    PaintXPSpinButtons(painter, size(), isEnabled(), FPressedButton > 0, FPressedButton < 0);
}

void TXPSpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    SetValue(Value());
}

void TXPSpinEdit::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && isEnabled()) {
        if (XPSpinUpRect(size()).contains(at))
            FPressedButton = 1;
        else if (XPSpinDownRect(size()).contains(at))
            FPressedButton = -1;
        update();
    }
    QAbstractSpinBox::mousePressEvent(event);
}

void TXPSpinEdit::mouseReleaseEvent(QMouseEvent* event) {
    FPressedButton = 0;
    update();
    QAbstractSpinBox::mouseReleaseEvent(event);
}

} // namespace ov
