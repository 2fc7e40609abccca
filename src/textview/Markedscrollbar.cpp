#include "Markedscrollbar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace ov {

namespace {

constexpr int TickHeight = 3;
constexpr int TickInset = 2;

} // namespace

TMarkedScrollBar::TMarkedScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {}

void TMarkedScrollBar::SetMarks(std::vector<int> rows, int rowCount, QRgb color) {
    if (rows == FRows && rowCount == FRowCount && color == FColor)
        return;
    FRows = std::move(rows);
    FRowCount = rowCount;
    FColor = color;
    update();
}

QRect TMarkedScrollBar::Track() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    QRect groove = style()->subControlRect(QStyle::CC_ScrollBar, &option,
                                           QStyle::SC_ScrollBarGroove, this);
    if (groove.height() <= 0)
        groove = rect();
    return groove;
}

std::vector<int> TMarkedScrollBar::TickPixels() const {
    std::vector<int> pixels;
    if (FRows.empty() || FRowCount <= 0)
        return pixels;
    const QRect track = Track();
    const int span = std::max(track.height() - TickHeight, 1);
    for (int row : FRows) {
        const int y = track.top() + int((long long)std::clamp(row, 0, FRowCount - 1) * span /
                                        std::max(FRowCount - 1, 1));
        if (pixels.empty() || pixels.back() != y)
            pixels.push_back(y);
    }
    return pixels;
}

// The groove and arrows first, then the ticks, then the thumb over them, so
// that the thumb stays whole however many ticks there are.
void TMarkedScrollBar::paintEvent(QPaintEvent* event) {
    const std::vector<int> pixels = isEnabled() ? TickPixels() : std::vector<int>();
    if (pixels.empty()) {
        QScrollBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QStyle::SubControls all = option.subControls;
    option.subControls = all & ~QStyle::SC_ScrollBarSlider;
    style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
    const QColor fill = QColor::fromRgb(FColor);
    const QColor edge = fill.darker(220);
    const int left = TickInset;
    const int width = std::max(this->width() - 2 * TickInset, 1);
    for (int y : pixels) {
        painter.fillRect(left, y, width, TickHeight, edge);
        painter.fillRect(left + 1, y + 1, std::max(width - 2, 1), TickHeight - 2, fill);
    }
    option.subControls = all & QStyle::SC_ScrollBarSlider;
    if (option.subControls)
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
}

} // namespace ov
