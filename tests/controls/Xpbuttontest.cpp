#include "Xpbutton.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace ov {
namespace {

const QRgb kShadeA = qRgb(224, 217, 207);
const QRgb kShadeB = qRgb(236, 233, 224);
const QRgb kFocusOuter = qRgb(89, 143, 217);
const QRgb kFocusInner = qRgb(115, 161, 211);
const QSize kSize(75, 25);

QImage PaintFace(const TXPButtonLook& look) {
    QImage image(kSize, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    PaintXPButtonFace(painter, kSize, look);
    return image;
}

int W() {
    return kSize.width();
}
int H() {
    return kSize.height();
}

TEST(XPButton, ReleasedButtonHasBottomAndRightShading) {
    const QImage image = PaintFace({true, false, false});
    EXPECT_EQ(image.pixel(W() / 2, 0), qRgb(0, 59, 115));
    EXPECT_EQ(image.pixel(W() / 2, H() / 2), qRgb(255, 255, 255));
    // Colour A along row H - 2 from x = 2 to W - 3, and down column W - 2.
    EXPECT_EQ(image.pixel(2, H() - 2), kShadeA);
    EXPECT_EQ(image.pixel(W() - 3, H() - 2), kShadeA);
    EXPECT_EQ(image.pixel(W() - 2, H() - 3 - 1), kShadeA);
    EXPECT_EQ(image.pixel(W() - 2, 2), kShadeA);
    // Colour B along row H - 3 and column W - 3; B is drawn last.
    EXPECT_EQ(image.pixel(1, H() - 3), kShadeB);
    EXPECT_EQ(image.pixel(W() - 3, 1), kShadeB);
    EXPECT_EQ(image.pixel(W() - 3, H() / 2), kShadeB);
    // The top and left edges stay white.
    EXPECT_EQ(image.pixel(W() / 2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(1, H() / 2), qRgb(255, 255, 255));
}

TEST(XPButton, PressedButtonShadesTopAndLeftOnGreyFace) {
    const QImage image = PaintFace({true, true, false});
    EXPECT_EQ(image.pixel(W() / 2, H() / 2), qRgb(235, 235, 235));
    EXPECT_EQ(image.pixel(W() / 2, 1), kShadeA);
    EXPECT_EQ(image.pixel(1, H() / 2), kShadeA);
    EXPECT_EQ(image.pixel(W() / 2, 2), kShadeB);
    EXPECT_EQ(image.pixel(2, H() / 2), kShadeB);
    EXPECT_EQ(image.pixel(W() / 2, H() - 2), qRgb(235, 235, 235));
}

TEST(XPButton, FocusMarkCoversTheBottomShading) {
    const QImage image = PaintFace({true, false, true});
    for (int x = 2; x <= W() - 3; ++x)
        EXPECT_EQ(image.pixel(x, H() - 2), kFocusOuter) << x;
    for (int x = 1; x <= W() - 2; ++x)
        EXPECT_EQ(image.pixel(x, H() - 3), kFocusInner) << x;
    EXPECT_EQ(image.pixel(W() - 2, H() / 2), kShadeA);
}

TEST(XPButton, DisabledButtonIsFlatWithoutShadingOrFocus) {
    const QImage image = PaintFace({false, false, true});
    EXPECT_EQ(image.pixel(W() / 2, 0), qRgb(201, 199, 186));
    for (int y = 1; y < H() - 1; ++y)
        for (int x = 1; x < W() - 1; ++x)
            ASSERT_EQ(image.pixel(x, y), qRgb(244, 244, 243)) << x << "," << y;
}

TEST(XPButton, FocusMarkRule) {
    EXPECT_TRUE(XPButtonShowsFocusMark(true, false, true, true, false));
    EXPECT_TRUE(XPButtonShowsFocusMark(true, false, true, false, true));
    EXPECT_FALSE(XPButtonShowsFocusMark(true, false, true, false, false));
    EXPECT_FALSE(XPButtonShowsFocusMark(false, false, true, true, true));
    EXPECT_FALSE(XPButtonShowsFocusMark(true, true, true, true, true));
    EXPECT_FALSE(XPButtonShowsFocusMark(true, false, false, true, true));
}

TEST(XPButton, DefaultButtonShowsTheMarkAndDisabledCaptionIsGrey) {
    QWidget window;
    TXPButton button(QStringLiteral("가기"), &window);
    button.resize(49, 22);
    EXPECT_FALSE(button.Look().FocusMark);
    button.SetButtonStyle(true);
    EXPECT_TRUE(button.isDefault());
    EXPECT_TRUE(button.Look().FocusMark);
    button.setDown(true);
    EXPECT_FALSE(button.Look().FocusMark);
    button.setDown(false);

    // The caption is drawn in the grey-text colour when disabled.
    QPalette palette = button.palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0, 0, 255));
    palette.setColor(QPalette::Active, QPalette::ButtonText, QColor(255, 0, 0));
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, QColor(255, 0, 0));
    button.setPalette(palette);
    button.setText(QStringLiteral("WWWWW"));
    // Text pixels are blended with the face; count the strongly tinted ones.
    auto countInk = [&](bool red) {
        const QImage image = button.grab().toImage();
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const int tint = red ? std::min(c.red() - c.blue(), c.red() - c.green())
                                     : std::min(c.blue() - c.red(), c.blue() - c.green());
                count += tint > 100;
            }
        return count;
    };
    EXPECT_GT(countInk(true), 0);
    EXPECT_EQ(countInk(false), 0);
    button.setEnabled(false);
    EXPECT_EQ(countInk(true), 0);
    EXPECT_GT(countInk(false), 0);
}

TEST(XPButton, ClickAndDoubleClickBothCount) {
    TXPButton button(QStringLiteral("OK"));
    button.resize(60, 22);
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton);
    EXPECT_GE(clicks, 2);
}

} // namespace
} // namespace ov
