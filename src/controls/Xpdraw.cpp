#include "Xpdraw.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ov {

void XPDrawLine(QPainter& painter, int x1, int y1, int x2, int y2, const QColor& color) {
    if (y1 == y2) {
        if (x1 == x2)
            return;
        const int left = x2 > x1 ? x1 : x2 + 1;
        const int right = x2 > x1 ? x2 - 1 : x1;
        painter.fillRect(QRect(left, y1, right - left + 1, 1), color);
    } else if (x1 == x2) {
        int top = y2 > y1 ? y1 : y2 + 1;
        int bottom = y2 > y1 ? y2 - 1 : y1;
        painter.fillRect(QRect(x1, top, 1, bottom - top + 1), color);
    } else {
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(color);
        painter.drawLine(x1, y1, x2, y2);
        painter.restore();
    }
}

void XPFrameRect(QPainter& painter, const QRect& rect, const QColor& color) {
    if (rect.width() <= 0 || rect.height() <= 0)
        return;
    const int left = rect.left(), top = rect.top();
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    XPDrawLine(painter, left, top, right, top, color);
    XPDrawLine(painter, left, bottom - 1, right, bottom - 1, color);
    XPDrawLine(painter, left, top, left, bottom, color);
    XPDrawLine(painter, right - 1, top, right - 1, bottom, color);
}

namespace {

// How far the corner ellipse pushes the edge inwards on a row whose centre
// lies distance from the ellipse's centre line.
int CornerInset(double radiusX, double radiusY, double distance) {
    if (radiusX <= 0 || radiusY <= 0 || distance <= 0)
        return 0;
    const double ratio = distance / radiusY;
    const double reach = radiusX * std::sqrt(std::max(0.0, 1.0 - ratio * ratio));
    return static_cast<int>(std::lround(radiusX - reach));
}

} // namespace

TRoundRectSpan RoundRectRowSpan(const QRect& rect, int cornerWidth, int cornerHeight, int y) {
    const int top = rect.top(), bottom = rect.top() + rect.height();
    if (y < top || y >= bottom || rect.width() <= 0)
        return {1, 0};
    const double radiusX = std::min(cornerWidth, rect.width()) / 2.0;
    const double radiusY = std::min(cornerHeight, rect.height()) / 2.0;
    const double centre = y + 0.5;
    double distance = 0;
    if (centre < top + radiusY)
        distance = top + radiusY - centre;
    else if (centre > bottom - radiusY)
        distance = centre - (bottom - radiusY);
    const int inset = CornerInset(radiusX, radiusY, distance);
    return {rect.left() + inset, rect.left() + rect.width() - 1 - inset};
}

void XPDrawRoundRect(QPainter& painter, const QRect& rect, int cornerWidth, int cornerHeight,
                     const QColor& pen, const QColor& fill) {
    const int top = rect.top(), bottom = rect.top() + rect.height();
    auto spanOf = [&](int y) { return RoundRectRowSpan(rect, cornerWidth, cornerHeight, y); };
    for (int y = top; y < bottom; ++y) {
        const TRoundRectSpan span = spanOf(y);
        if (span.Left > span.Right)
            continue;
        if (fill.isValid())
            painter.fillRect(QRect(span.Left, y, span.Right - span.Left + 1, 1), fill);
        // Outline: every pixel of the row with a 4-neighbour outside the figure.
        const TRoundRectSpan above = spanOf(y - 1), below = spanOf(y + 1);
        for (int x = span.Left; x <= span.Right; ++x) {
            const bool edge = x == span.Left || x == span.Right || x < above.Left ||
                              x > above.Right || x < below.Left || x > below.Right;
            if (edge)
                painter.fillRect(QRect(x, y, 1, 1), pen);
        }
    }
}

QRgb GreyedPixel(QRgb pixel) {
    const int red = qRed(pixel), green = qGreen(pixel), blue = qBlue(pixel);
    const int high = std::max({red, green, blue});
    const int low = std::min({red, green, blue});
    const int level = high - (high - low) / 2;
    const int grey = level >= 250 ? 255 : level + 5;
    return qRgba(grey, grey, grey, qAlpha(pixel));
}

QImage GreyedImage(const QImage& image, QRgb transparentColor) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != (transparentColor & 0xFFFFFF))
                line[x] = GreyedPixel(line[x]);
        }
    }
    return result;
}

QImage ImageWithTransparentColor(const QImage& image, QRgb transparentColor) {
    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == (transparentColor & 0xFFFFFF))
                line[x] = 0;
        }
    }
    return result;
}

QColor XPLightened(const QColor& color, int amount) {
    return QColor(std::min(255, color.red() + amount), std::min(255, color.green() + amount),
                  std::min(255, color.blue() + amount));
}

} // namespace ov
