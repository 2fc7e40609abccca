#pragma once
// The flat look of the program's menus: the menu bar and every item of every
// menu (design-time items, recent files, language items, the pop-up menu)
// are painted by MainMenuDrawItem and MenuDrawItem. TMenuStyle hands them to
// Qt as a style proxy, so keyboard navigation, access keys, mouse tracking
// and item measuring stay Qt's own; only the pixels are the program's.

#include <QImage>
#include <QProxyStyle>
#include <QRect>
#include <QString>

class QPainter;

namespace ov {

// The colours of the menus.
struct TMenuColors {
    static constexpr QRgb SelectedBarItem = 0xFF1466CC;
    static constexpr QRgb ItemBackground = 0xFFFFFFFF;
    static constexpr QRgb Strip = 0xFF2F7EE3; // left strip; frame of the selected item
    static constexpr QRgb SelectedItem = 0xFF97BCF4;
    static constexpr QRgb Separator = 0xFFDCDCDC;
    static constexpr QRgb Frame = 0xFF9A9A9A;
};

constexpr int MenuStripWidth = 4;
constexpr int MenuIconLeft = 8;
constexpr int MenuIconSize = 16;
constexpr int MenuTextLeft = 28;
constexpr int MenuShortcutRight = 8;
constexpr int MenuSeparatorHeight = 9;

// ilMenu: 16 x 16 images drawn dark on transparency.
enum TMenuImage { miTick = 0, miBullet = 1 };
const QImage& MenuImage(TMenuImage image);

// Everything one menu item's look depends on.
struct TMenuItemLook {
    // The label, then optionally a tab and the shortcut text; "&" marks the
    // access key. "-" is a separator.
    QString Caption;
    bool Selected = false;
    bool Enabled = true;
    bool Checked = false;
    bool Radio = false;   // a checked radio item shows the bullet, others the tick
    bool SubMenu = false; // an arrow at the right edge
    QImage Image;         // the item's own 16 x 16 picture, shown when unchecked
};

// A top-level item of the menu bar; paints the whole rect.
void MainMenuDrawItem(QPainter& canvas, const QRect& rect, const QString& caption, bool selected);
// An item inside a menu; paints the whole rect.
void MenuDrawItem(QPainter& canvas, const QRect& rect, const TMenuItemLook& look);

class TMenuStyle : public QProxyStyle {
public:
    // base: the style everything but the menus comes from (taken over);
    // null for a fresh instance of the application's current style.
    explicit TMenuStyle(QStyle* base = nullptr);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override;
};

// Makes TMenuStyle the application's style and gives menus the dialogs'
// font (굴림, 12 pixels).
void InstallMenuStyle();

} // namespace ov
