#include "Menustyle.h"

#include "Qtcolor.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

namespace ov {

namespace {

// Rows of a 16 x 16 glyph, 'X' for a dark pixel; the glyph stands at
// (left, top).
QImage GlyphImage(std::initializer_list<const char*> rows, int left, int top) {
    QImage image(MenuIconSize, MenuIconSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = top;
    for (const char* row : rows) {
        for (int x = 0; row[x] != '\0'; ++x) {
            if (row[x] == 'X')
                image.setPixel(left + x, y, qRgb(0, 0, 0));
        }
        ++y;
    }
    return image;
}

// Draws text in one line inside rect with "&" marking the access key.
void DrawMenuText(QPainter& canvas, const QRect& rect, const QString& text, Qt::Alignment align,
                  const QColor& color) {
    canvas.setPen(color);
    canvas.drawText(rect, int(align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic),
                    text);
}

// The arrow of an item that opens a submenu: a small triangle pointing right.
void DrawSubMenuArrow(QPainter& canvas, const QRect& rect, const QColor& color) {
    const int left = rect.right() - 10;
    const int middle = rect.top() + rect.height() / 2;
    for (int column = 0; column < 4; ++column)
        canvas.fillRect(left + column, middle - 3 + column, 1, 7 - 2 * column, color);
}

// Combo boxes of some styles draw their lists with menu items too; those
// keep their own look.
bool IsMenu(const QWidget* widget) {
    return qobject_cast<const QMenu*>(widget) != nullptr;
}

QColor ButtonFace() {
    return QColor(RgbFromColor(clBtnFace));
}

QColor GrayText() {
    return QColor(RgbFromColor(clGrayText));
}

} // namespace

const QImage& MenuImage(TMenuImage image) {
    static const QImage tick = GlyphImage({"......X",
                                           ".....XX",
                                           "X...XXX",
                                           "XX.XXX.",
                                           "XXXXX..",
                                           ".XXX...",
                                           "..X...."},
                                          5, 5);
    static const QImage bullet = GlyphImage({".XXXX.",
                                             "XXXXXX",
                                             "XXXXXX",
                                             "XXXXXX",
                                             "XXXXXX",
                                             ".XXXX."},
                                            5, 5);
    return image == miBullet ? bullet : tick;
}

void MainMenuDrawItem(QPainter& canvas, const QRect& rect, const QString& caption, bool selected) {
    canvas.fillRect(rect, ButtonFace());
    if (selected)
        canvas.fillRect(rect, QColor::fromRgb(TMenuColors::SelectedBarItem));
    DrawMenuText(canvas, rect, caption, Qt::AlignHCenter, selected ? Qt::white : Qt::black);
}

// Painting priorities: the white item with its blue left strip; over it the
// selection (light blue fill, right strip, frame); then the check or image;
// then the separator line or the texts.
void MenuDrawItem(QPainter& canvas, const QRect& rect, const TMenuItemLook& look) {
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width();
    canvas.fillRect(rect, QColor::fromRgb(TMenuColors::ItemBackground));
    canvas.fillRect(left, top, MenuStripWidth, rect.height(), QColor::fromRgb(TMenuColors::Strip));
    QColor textColor = Qt::black;
    if (look.Selected) {
        canvas.fillRect(QRect(left + MenuStripWidth, top, rect.width() - MenuStripWidth,
                              rect.height()),
                        QColor::fromRgb(TMenuColors::SelectedItem));
        canvas.fillRect(right - MenuStripWidth, top, MenuStripWidth, rect.height(),
                        QColor::fromRgb(TMenuColors::Strip));
        canvas.setPen(QColor::fromRgb(TMenuColors::Strip));
        canvas.drawRect(QRect(left + 3, top, right - (left + 3), rect.height()).adjusted(0, 0, -1, -1));
        textColor = Qt::white;
    }
    const int iconTop = top + (rect.height() - MenuIconSize) / 2;
    if (look.Checked)
        canvas.drawImage(left + MenuIconLeft, iconTop + 1,
                         MenuImage(look.Radio ? miBullet : miTick));
    else if (!look.Image.isNull())
        canvas.drawImage(left + MenuIconLeft, iconTop, look.Image);

    if (look.Caption == QStringLiteral("-")) {
        canvas.fillRect(left + 8, top + 4, std::max(0, right - 4 - (left + 8)), 1,
                        QColor::fromRgb(TMenuColors::Separator));
        return;
    }
    QRect textRect(left + MenuTextLeft, top, std::max(0, right - left - MenuTextLeft),
                   rect.height());
    const qsizetype tab = look.Caption.indexOf(u'\t');
    const QString label = tab < 0 ? look.Caption : look.Caption.left(tab);
    const QString shortcut = tab < 0 ? QString() : look.Caption.mid(tab + 1, 255);
    if (!look.Enabled)
        textColor = GrayText();
    DrawMenuText(canvas, textRect, label, Qt::AlignLeft, textColor);
    if (!shortcut.isEmpty()) {
        textRect.setRight(textRect.right() - MenuShortcutRight);
        DrawMenuText(canvas, textRect, shortcut, Qt::AlignRight,
                     look.Selected ? QColor(Qt::white) : GrayText());
    }
    if (look.SubMenu)
        DrawSubMenuArrow(canvas, rect, textColor);
}

TMenuStyle::TMenuStyle(QStyle* base)
    : QProxyStyle(base ? base : QStyleFactory::create(QApplication::style()->name())) {}

void TMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                             QPainter* painter, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuItem && item && IsMenu(widget)) {
        TMenuItemLook look;
        look.Caption = item->menuItemType == QStyleOptionMenuItem::Separator ? QStringLiteral("-")
                                                                             : item->text;
        look.Enabled = item->state & State_Enabled;
        look.Selected = item->state & State_Selected;
        look.Checked = item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked;
        look.Radio = item->checkType == QStyleOptionMenuItem::Exclusive;
        look.SubMenu = item->menuItemType == QStyleOptionMenuItem::SubMenu;
        if (!item->icon.isNull())
            look.Image = item->icon.pixmap(MenuIconSize, MenuIconSize).toImage();
        painter->save();
        painter->setFont(item->font);
        MenuDrawItem(*painter, item->rect, look);
        painter->restore();
        return;
    }
    if (element == CE_MenuBarItem && item) {
        painter->save();
        painter->setFont(item->font);
        MainMenuDrawItem(*painter, item->rect, item->text,
                         (item->state & State_Enabled) &&
                             (item->state & (State_Selected | State_Sunken)));
        painter->restore();
        return;
    }
    if (element == CE_MenuBarEmptyArea) {
        painter->fillRect(option->rect, ButtonFace());
        return;
    }
    if (element == CE_MenuEmptyArea) {
        painter->fillRect(option->rect, QColor::fromRgb(TMenuColors::ItemBackground));
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                               QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_PanelMenuBar:
        painter->fillRect(option->rect, ButtonFace());
        return;
    case PE_PanelMenu:
        painter->fillRect(option->rect, QColor::fromRgb(TMenuColors::ItemBackground));
        return;
    case PE_FrameMenu:
        painter->setPen(QColor::fromRgb(TMenuColors::Frame));
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

// Items are as wide as their texts with the icon column, the gap before the
// shortcut and the margins; Qt adds the widest shortcut itself.
QSize TMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                   const QSize& size, const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type == CT_MenuItem && item && IsMenu(widget)) {
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return QSize(size.width(), MenuSeparatorHeight);
        const int textHeight = item->fontMetrics.height();
        int width = MenuTextLeft + size.width() + MenuShortcutRight + 8;
        if (item->text.contains(u'\t'))
            width += 16;
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
            width += 12;
        return QSize(width, std::max(textHeight + 6, MenuIconSize + 4));
    }
    if (type == CT_MenuBarItem && item)
        return QSize(size.width() + 14, std::max(size.height() + 6, 19));
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                            const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
        return 1;
    case PM_MenuVMargin:
        return 2;
    case PM_MenuBarPanelWidth:
    case PM_MenuBarItemSpacing:
    case PM_MenuBarHMargin:
    case PM_MenuBarVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

int TMenuStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                          QStyleHintReturn* returnData) const {
    // Disabled items take the highlight as the mouse or the arrows reach
    // them, and show it in their own way (grey label, white shortcut).
    if (hint == SH_Menu_AllowActiveAndDisabled)
        return 1;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void InstallMenuStyle() {
    QApplication::setStyle(new TMenuStyle);
    QFont menuFont(QStringLiteral("굴림"));
    menuFont.setPixelSize(12);
    QApplication::setFont(menuFont, "QMenu");
    QApplication::setFont(menuFont, "QMenuBar");
}

} // namespace ov
