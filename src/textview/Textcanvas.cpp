#include "Textcanvas.h"

#include "Putbmpfont.h"
#include "Qttextdraw.h"

#include <algorithm>
#include <cstring>

namespace ov {

TTextCanvas::TTextCanvas(QImage& image, TQtTextDrawer* drawer) : FImage(image), FDrawer(drawer) {}

void TTextCanvas::FillRect(int left, int top, int right, int bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, FImage.width());
    bottom = std::min(bottom, FImage.height());
    if (left >= right || top >= bottom)
        return;
    if (FImage.depth() != 32) {
        Painter().fillRect(left, top, right - left, bottom - top, QColor::fromRgb(FBack));
        return;
    }
    for (int y = top; y < bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(FImage.scanLine(y));
        std::fill(line + left, line + right, FBack);
    }
}

int TTextCanvas::DrawBitmapChar(int x, int y, uint8_t first, uint8_t second) {
    return PutBmpChar(FImage, x, y, first, second, FText, FBack);
}

int TTextCanvas::DrawOutlineChar(int x, int y, uint8_t first, uint8_t second) {
    if (!FDrawer)
        return 0;
    return FDrawer->DrawChar(Painter(), x, y, first, second, FText, FBack);
}

int TTextCanvas::DrawOutlineUnicode(int x, int y, char32_t code) {
    if (!FDrawer)
        return 0;
    return FDrawer->DrawUnicode(Painter(), x, y, code, FText, FBack);
}

void TTextCanvas::DrawUnicodeInBox(int x, int y, int width, int height, char32_t code) {
    if (FDrawer)
        FDrawer->DrawUnicodeInBox(Painter(), x, y, width, height, code, FText, FBack);
}

QPainter& TTextCanvas::Painter() {
    if (!FPainter) {
        FPainter.emplace(&FImage);
        if (FDrawer)
            FPainter->setFont(FDrawer->Font());
    }
    return *FPainter;
}

void TTextCanvas::EndPainting() {
    FPainter.reset();
}

void MoveImageRows(QImage& image, int sourceY, int targetY, int height) {
    if (sourceY < 0) {
        targetY -= sourceY;
        height += sourceY;
        sourceY = 0;
    }
    if (targetY < 0) {
        sourceY -= targetY;
        height += targetY;
        targetY = 0;
    }
    height = std::min({height, image.height() - sourceY, image.height() - targetY});
    if (height <= 0 || sourceY == targetY)
        return;
    const qsizetype stride = image.bytesPerLine();
    uchar* bits = image.bits();
    std::memmove(bits + targetY * stride, bits + sourceY * stride, std::size_t(height * stride));
}

} // namespace ov
