#include "Xpdraw.h"
#include "Xpglyphs.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace ov {
namespace {

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TEST(XPDraw, LinesExcludeTheirEndPointInEitherDirection) {
    QImage image = Blank(10, 10);
    {
        QPainter painter(&image);
        XPDrawLine(painter, 2, 1, 6, 1, Qt::black);
        XPDrawLine(painter, 6, 3, 2, 3, Qt::black);
        XPDrawLine(painter, 9, 2, 9, 5, Qt::black);
    }
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(image.pixel(x, 1) == qRgb(0, 0, 0), x >= 2 && x <= 5) << x;
        EXPECT_EQ(image.pixel(x, 3) == qRgb(0, 0, 0), x >= 3 && x <= 6) << x;
    }
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(image.pixel(9, y) == qRgb(0, 0, 0), y >= 2 && y <= 4) << y;
}

TEST(XPDraw, RoundRectSpansCutOnlyTheCorners) {
    const QRect rect(0, 0, 40, 20);
    // 5 x 5 corners: the outermost row loses one pixel at each end.
    EXPECT_EQ(RoundRectRowSpan(rect, 5, 5, 0).Left, 1);
    EXPECT_EQ(RoundRectRowSpan(rect, 5, 5, 0).Right, 38);
    EXPECT_EQ(RoundRectRowSpan(rect, 5, 5, 1).Left, 0);
    EXPECT_EQ(RoundRectRowSpan(rect, 5, 5, 10).Right, 39);
    EXPECT_EQ(RoundRectRowSpan(rect, 5, 5, 19).Left, 1);
    // 8 x 8 corners reach further in, symmetric top and bottom.
    for (int y = 0; y < 4; ++y) {
        EXPECT_EQ(RoundRectRowSpan(rect, 8, 8, y).Left, RoundRectRowSpan(rect, 8, 8, 19 - y).Left);
        EXPECT_GE(RoundRectRowSpan(rect, 8, 8, y).Left, RoundRectRowSpan(rect, 8, 8, y + 1).Left);
    }
    EXPECT_GT(RoundRectRowSpan(rect, 8, 8, 20).Left, RoundRectRowSpan(rect, 8, 8, 20).Right);
}

TEST(XPDraw, RoundRectFramesWithPenAndFillsInside) {
    QImage image = Blank(30, 12);
    {
        QPainter painter(&image);
        XPDrawRoundRect(painter, QRect(0, 0, 30, 12), 5, 5, Qt::black, Qt::red);
    }
    EXPECT_EQ(image.pixel(15, 0), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 11), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(0, 6), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(29, 6), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 6), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)); // the cut corner keeps the background
}

TEST(XPDraw, GreyRuleUsesMidLevelPlusFiveAndSaturates) {
    for (int red = 0; red < 256; red += 17) {
        for (int blue = 0; blue < 256; blue += 51) {
            const int green = (red + blue) / 2;
            const int high = std::max({red, green, blue}), low = std::min({red, green, blue});
            const int level = high - (high - low) / 2;
            const int expected = level >= 250 ? 255 : level + 5;
            const QRgb grey = GreyedPixel(qRgb(red, green, blue));
            EXPECT_EQ(qRed(grey), expected);
            EXPECT_EQ(qGreen(grey), expected);
            EXPECT_EQ(qBlue(grey), expected);
        }
    }
}

TEST(XPDraw, GreyedImageSkipsTheTransparentColour) {
    QImage image = Blank(2, 1);
    image.setPixel(1, 0, qRgb(100, 150, 200));
    const QImage grey = GreyedImage(image, qRgb(255, 255, 255));
    EXPECT_EQ(grey.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(grey.pixel(1, 0), qRgb(155, 155, 155)); // 200 - 100 / 2 + 5
}

TEST(XPGlyphs, ResourcesHaveTheirSizesAndColours) {
    ASSERT_EQ(CheckGlyphs().size(), QSize(26, 13));
    ASSERT_EQ(RadioGlyphs().size(), QSize(26, 13));
    ASSERT_EQ(ComboGlyphs().size(), QSize(30, 17));
    const QRgb border = qRgb(28, 81, 128);
    for (int box : {0, 13}) {
        EXPECT_EQ(CheckGlyphs().pixel(box, 0), border);
        EXPECT_EQ(CheckGlyphs().pixel(box + 12, 12), border);
        // The interior grows lighter toward the lower right and ends white.
        EXPECT_LT(qRed(CheckGlyphs().pixel(box + 1, 1)), qRed(CheckGlyphs().pixel(box + 11, 11)));
        EXPECT_EQ(CheckGlyphs().pixel(box + 11, 11), qRgb(255, 255, 255));
    }
    auto countMark = [](const QImage& half) {
        int count = 0;
        for (int y = 0; y < half.height(); ++y)
            for (int x = 0; x < half.width(); ++x)
                count += half.pixel(x, y) == qRgb(33, 161, 33);
        return count;
    };
    EXPECT_GT(countMark(GlyphHalfImage(CheckGlyphs(), TGlyphHalf::Left)), 10);
    EXPECT_EQ(countMark(GlyphHalfImage(CheckGlyphs(), TGlyphHalf::Right)), 0);
    EXPECT_EQ(RadioGlyphs().pixel(0, 0), qRgb(255, 0, 255));
    EXPECT_EQ(RadioGlyphs().pixel(25, 12), qRgb(255, 0, 255));
    const QImage transparent = TransparentGlyphImage(RadioGlyphs(), TGlyphHalf::Right);
    EXPECT_EQ(qAlpha(transparent.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(transparent.pixel(6, 6)), 255);
}

} // namespace
} // namespace ov
