// Pixel checks of the menus' look on an offscreen rendering of a real menu:
// Qt lays the items out and hands them to the style as it does on screen.

#include "Menustyle.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace ov {
namespace {

QRgb Grey() {
    return QApplication::palette().color(QPalette::Disabled, QPalette::Text).rgb();
}

// Counts the pixels of area (clipped to the image) that match.
int Count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& match) {
    int count = 0;
    const QRect clipped = area & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
        for (int x = clipped.left(); x <= clipped.right(); ++x)
            count += match(image.pixel(x, y) | 0xFF000000u);
    return count;
}

auto Is(QRgb colour) {
    return [colour](QRgb pixel) { return pixel == (colour | 0xFF000000u); };
}

class MenuLookTest : public testing::Test {
protected:
    void SetUp() override {
        // Without antialiasing every text pixel has exactly the pen's colour.
        QFont font(QStringLiteral("굴림"));
        font.setPixelSize(12);
        font.setStyleStrategy(QFont::NoAntialias);
        Menu.setFont(font);
        Menu.setStyle(&Style);
        Open = Menu.addAction(QStringLiteral("열기(&O)"));
        Open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
        Close = Menu.addAction(QStringLiteral("닫기(&C)"));
        Close->setShortcut(QKeySequence(QStringLiteral("Ctrl+F4")));
        Close->setEnabled(false);
        Separator = Menu.addSeparator();
        Wrap = Menu.addAction(QStringLiteral("워드랩(&W)"));
        Wrap->setCheckable(true);
        Wrap->setChecked(true);
        auto* group = new QActionGroup(&Menu);
        Language = Menu.addAction(QStringLiteral("C"));
        Language->setCheckable(true);
        group->addAction(Language);
        Language->setChecked(true);
    }

    QImage Render(QAction* active) {
        Menu.popup(QPoint(0, 0));
        Menu.setActiveAction(active);
        const QImage image = Menu.grab().toImage().convertToFormat(QImage::Format_RGB32);
        Menu.hide();
        return image;
    }

    // The label and the shortcut part of an item's row.
    static QRect LabelArea(const QRect& item) {
        return QRect(item.left() + MenuTextLeft, item.top(), 60, item.height());
    }
    static QRect ShortcutArea(const QRect& item) {
        return QRect(item.right() - 60, item.top(), 50, item.height());
    }

    TMenuStyle Style{nullptr};
    QMenu Menu;
    QAction* Open = nullptr;
    QAction* Close = nullptr;
    QAction* Separator = nullptr;
    QAction* Wrap = nullptr;
    QAction* Language = nullptr;
};

TEST_F(MenuLookTest, SelectedAndPlainItems) {
    const QImage image = Render(Open);
    const QRect selected = Menu.actionGeometry(Open);
    const int middle = selected.center().y();
    // Left strip, frame from 3 pixels in, light fill, right strip.
    EXPECT_EQ(image.pixel(selected.left(), middle), TMenuColors::Strip);
    EXPECT_EQ(image.pixel(selected.left() + 3, selected.top()), TMenuColors::Strip);
    EXPECT_EQ(image.pixel(selected.left() + 3, middle), TMenuColors::Strip);
    EXPECT_EQ(image.pixel(selected.left() + 3, selected.bottom()), TMenuColors::Strip);
    EXPECT_EQ(image.pixel(selected.left() + 5, selected.top() + 1), TMenuColors::SelectedItem);
    EXPECT_EQ(image.pixel(selected.right() - 3, middle), TMenuColors::Strip);
    EXPECT_EQ(image.pixel(selected.right() - 4, selected.top() + 1), TMenuColors::SelectedItem);
    EXPECT_GT(Count(image, LabelArea(selected), Is(0xFFFFFFFF)), 10);
    EXPECT_GT(Count(image, ShortcutArea(selected), Is(0xFFFFFFFF)), 10);
    EXPECT_EQ(Count(image, selected, Is(0xFF000000)), 0);

    // Unselected, enabled: black label, grey shortcut on white.
    const QRect plain = Menu.actionGeometry(Open).translated(0, 0);
    const QImage other = Render(Wrap);
    EXPECT_EQ(other.pixel(plain.left() + 1, plain.center().y()), TMenuColors::Strip);
    EXPECT_EQ(other.pixel(plain.left() + 5, plain.top() + 1), TMenuColors::ItemBackground);
    EXPECT_GT(Count(other, LabelArea(plain), Is(0xFF000000)), 10);
    EXPECT_GT(Count(other, ShortcutArea(plain), Is(Grey())), 10);
    EXPECT_EQ(Count(other, ShortcutArea(plain), Is(0xFF000000)), 0);
}

TEST_F(MenuLookTest, ADisabledSelectedItemHasAGreyLabelAndAWhiteShortcut) {
    const QImage image = Render(Close);
    const QRect item = Menu.actionGeometry(Close);
    EXPECT_EQ(image.pixel(item.left() + 5, item.top() + 1), TMenuColors::SelectedItem);
    EXPECT_GT(Count(image, LabelArea(item), Is(Grey())), 10);
    EXPECT_EQ(Count(image, LabelArea(item), Is(0xFFFFFFFF)), 0);
    EXPECT_GT(Count(image, ShortcutArea(item), Is(0xFFFFFFFF)), 10);
}

// The tick of a checked toggle and the bullet of a checked radio item stand
// in the icon column one pixel below centre, pixel for pixel.
TEST_F(MenuLookTest, CheckedItemsShowTheTickOrTheBullet) {
    const QImage image = Render(nullptr);
    const std::pair<QAction*, TMenuImage> items[] = {{Wrap, miTick}, {Language, miBullet}};
    for (const auto& [action, glyph] : items) {
        const QRect item = Menu.actionGeometry(action);
        const QPoint origin(item.left() + MenuIconLeft,
                            item.top() + (item.height() - MenuIconSize) / 2 + 1);
        const QImage& expected = MenuImage(glyph);
        int dark = 0;
        for (int y = 0; y < MenuIconSize; ++y) {
            for (int x = 0; x < MenuIconSize; ++x) {
                const bool ink = qAlpha(expected.pixel(x, y)) == 255;
                dark += ink;
                ASSERT_EQ(image.pixel(origin + QPoint(x, y)),
                          ink ? 0xFF000000 : TMenuColors::ItemBackground)
                    << action->text().toStdString() << " at " << x << "," << y;
            }
        }
        EXPECT_GT(dark, 15);
    }
    EXPECT_NE(MenuImage(miTick), MenuImage(miBullet));
}

TEST_F(MenuLookTest, ASeparatorIsOneGreyLineFourPixelsDown) {
    const QImage image = Render(nullptr);
    const QRect item = Menu.actionGeometry(Separator);
    EXPECT_EQ(item.height(), MenuSeparatorHeight);
    const int right = item.left() + item.width();
    for (int y = item.top(); y <= item.bottom(); ++y) {
        EXPECT_EQ(image.pixel(item.left(), y), TMenuColors::Strip);
        for (int x = item.left() + MenuStripWidth; x < right; ++x) {
            const bool line = y == item.top() + 4 && x >= item.left() + 8 && x < right - 4;
            ASSERT_EQ(image.pixel(x, y), line ? TMenuColors::Separator : TMenuColors::ItemBackground)
                << x << "," << y;
        }
    }
}

TEST(MenuBarLook, TheSelectedBarItemIsBlueWithWhiteCaption) {
    QImage image(60, 20, QImage::Format_RGB32);
    QFont font(QStringLiteral("굴림"));
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    for (bool selected : {false, true}) {
        image.fill(Qt::magenta);
        {
            QPainter painter(&image);
            painter.setFont(font);
            MainMenuDrawItem(painter, image.rect(), QStringLiteral("보기(&V)"), selected);
        }
        const QRgb fill = selected ? TMenuColors::SelectedBarItem
                                   : QApplication::palette().color(QPalette::Button).rgb();
        EXPECT_EQ(image.pixel(0, 0), fill);
        EXPECT_EQ(image.pixel(59, 19), fill);
        EXPECT_GT(Count(image, image.rect(), Is(selected ? 0xFFFFFFFF : 0xFF000000)), 20);
        EXPECT_EQ(Count(image, image.rect(), Is(0xFFFF00FF)), 0);
    }
}

} // namespace
} // namespace ov
