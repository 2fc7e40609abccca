#include "Xpanel.h"
#include "Xpcombobox.h"
#include "Xpdraw.h"
#include "Xpedit.h"
#include "Xpglyphs.h"
#include "Xpgroupbox.h"
#include "Xpstyle.h"

#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(XPEdit, FrameIsBorderColourThenControlColour) {
    TXPEdit edit;
    edit.resize(121, 16);
    EXPECT_EQ(edit.BorderColor(), QColor(127, 157, 185));
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, QColor(250, 240, 230));
    edit.setPalette(palette);
    edit.SetAutoSize(false);
    edit.resize(121, 30);
    const QImage image = edit.grab().toImage();
    EXPECT_EQ(image.pixel(60, 0), qRgb(127, 157, 185));
    EXPECT_EQ(image.pixel(0, 15), qRgb(127, 157, 185));
    EXPECT_EQ(image.pixel(120, 29), qRgb(127, 157, 185));
    EXPECT_EQ(image.pixel(60, 1), qRgb(250, 240, 230));
    EXPECT_EQ(image.pixel(1, 15), qRgb(250, 240, 230));
    EXPECT_EQ(image.pixel(119, 28), qRgb(250, 240, 230));
}

TEST(XPEdit, AutoSizedHeightIsTextHeightPlusFour) {
    TXPEdit edit;
    QFont font = edit.font();
    font.setPixelSize(12);
    edit.setFont(font);
    EXPECT_EQ(edit.height(), QFontMetrics(font).height() + 4);
    font.setPixelSize(20);
    edit.setFont(font);
    EXPECT_EQ(edit.height(), QFontMetrics(font).height() + 4);
    const int fixedHeight = edit.height();
    edit.SetAutoSize(false);
    font.setPixelSize(12);
    edit.setFont(font);
    EXPECT_EQ(edit.height(), fixedHeight);
    EXPECT_EQ(XPEditHeightForText(12), 16);
}

TEST(XPComboBox, ButtonSitsInTheRightColumn) {
    const QSize size(162, 21);
    const QRect button = XPComboButtonRect(size);
    EXPECT_EQ(button.left(), 162 - 17);
    EXPECT_EQ(button.top(), 2);
    EXPECT_EQ(button.right() + 1, 162 - 2);
    EXPECT_EQ(button.bottom() + 1, 21 - 2);
    EXPECT_EQ(XPComboEditRect(size).right() + 1, button.left() - 2);
}

TEST(XPComboBox, DrawsFramesAndTheGlyphButtonInEveryState) {
    QWidget window;
    TXPComboBox combo(&window);
    combo.addItems({QStringLiteral("선택해제"), QStringLiteral("종료")});
    combo.setGeometry(10, 10, 162, 21);
    window.show();
    QImage image = combo.grab().toImage();
    EXPECT_EQ(image.pixel(80, 0), qRgb(127, 157, 185));
    const QRgb base = combo.palette().color(QPalette::Base).rgb();
    EXPECT_EQ(image.pixel(80, 1), base);
    EXPECT_EQ(image.pixel(80, 2), base);
    EXPECT_EQ(image.pixel(combo.GetBtnRect().left() - 1, 10), base);
    const QImage normal = XPComboButtonImage(TComboButtonState::Normal, true);
    EXPECT_EQ(image.copy(combo.GetBtnRect()), normal.convertToFormat(image.format()));

    // Disabled: the button turns grey.
    combo.setEnabled(false);
    image = combo.grab().toImage();
    const QRgb middle = image.pixel(combo.GetBtnRect().center());
    EXPECT_EQ(qRed(middle), qGreen(middle));
    EXPECT_EQ(qGreen(middle), qBlue(middle));
    combo.setEnabled(true);

    // A press on the button draws the pressed half until the list closes.
    QTest::mousePress(&combo, Qt::LeftButton, {}, combo.GetBtnRect().center());
    EXPECT_TRUE(combo.ButtonPressed());
    image = combo.grab().toImage();
    EXPECT_EQ(image.copy(combo.GetBtnRect()),
              XPComboButtonImage(TComboButtonState::Pressed, true).convertToFormat(image.format()));
    combo.hidePopup();
    EXPECT_FALSE(combo.ButtonPressed());
    // A press outside the button leaves it released.
    QTest::mousePress(&combo, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_FALSE(combo.ButtonPressed());
    combo.hidePopup();
}

TEST(XPComboBox, EditableFieldStaysInsideTheFrames) {
    QWidget window;
    TXPComboBox combo(&window);
    combo.setEditable(true);
    combo.setGeometry(0, 0, 162, 21);
    window.show();
    QApplication::processEvents();
    const QRect field = combo.lineEdit()->geometry();
    EXPECT_GE(field.left(), 3);
    EXPECT_GE(field.top(), 3);
    EXPECT_LE(field.right(), combo.GetBtnRect().left() - 3);
    EXPECT_LE(field.bottom(), 21 - 4);
    EXPECT_EQ(combo.ViewIcon(), false);
    combo.SetViewIcon(true);
    EXPECT_EQ(combo.ViewIcon(), false);
}

TEST(XPGroupBox, CaptionCutsTheFrameLine) {
    const TXPGroupBoxLayout layout = XPGroupBoxLayout(QSize(150, 80), 14, 40);
    EXPECT_EQ(layout.Frame, QRect(0, 6, 150, 74));
    EXPECT_EQ(layout.Caption, QRect(8, 0, 46, 14));

    QImage image(150, 80, QImage::Format_RGB32);
    image.fill(Qt::black);
    QFont font;
    font.setPixelSize(12);
    const int h = QFontMetrics(font).height();
    {
        QPainter painter(&image);
        PaintXPGroupBox(painter, image.size(), font, QStringLiteral("설정"), QColor(128, 128, 128),
                        QColor(240, 240, 240), QColor(18, 122, 237));
    }
    const int lineY = h / 2 - 1;
    EXPECT_EQ(image.pixel(120, lineY), qRgb(128, 128, 128)); // frame right of the caption
    EXPECT_EQ(image.pixel(0, 40), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(149, 40), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(75, 79), qRgb(128, 128, 128));
    EXPECT_EQ(image.pixel(75, 40), qRgb(240, 240, 240));
    EXPECT_NE(image.pixel(9, lineY), qRgb(128, 128, 128)); // cut out under the caption
    bool captionInk = false;
    for (int y = 0; y < h; ++y)
        for (int x = 8; x < 60; ++x)
            captionInk |= image.pixelColor(x, y).blue() - image.pixelColor(x, y).red() > 100;
    EXPECT_TRUE(captionInk);
}

TEST(XPanel, PaintingIsLeftToTheHandler) {
    TXPanel panel;
    EXPECT_EQ(panel.size(), QSize(100, 100));
    int calls = 0;
    panel.OnPaint = [&](TXPanel* sender, QPainter& canvas) {
        EXPECT_EQ(sender, &panel);
        canvas.fillRect(0, 0, 10, 10, Qt::red);
        ++calls;
    };
    const QImage image = panel.grab().toImage();
    EXPECT_GE(calls, 1);
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
}

} // namespace
} // namespace ov
