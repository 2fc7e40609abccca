#include "Xpstyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleOptionComplex>

namespace ov {

QRect XPComboButtonRect(QSize size) {
    return QRect(QPoint(size.width() - 17, 2), QPoint(size.width() - 3, size.height() - 3));
}

QRect XPComboEditRect(QSize size) {
    const int right = XPComboButtonRect(size).left() - 2;
    return QRect(QPoint(3, 3), QPoint(right - 1, size.height() - 4));
}

QRect XPSpinUpRect(QSize size) {
    const QRect column = XPComboButtonRect(size);
    return QRect(column.left(), column.top(), column.width(), column.height() / 2);
}

QRect XPSpinDownRect(QSize size) {
    const QRect column = XPComboButtonRect(size);
    const int half = column.height() / 2;
    return QRect(column.left(), column.top() + half, column.width(), column.height() - half);
}

QRect XPSpinEditRect(QSize size) {
    return XPComboEditRect(size);
}

namespace {

class TXPProxyStyle : public QProxyStyle {
public:
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const QSize size = option->rect.size();
        const QPoint origin = option->rect.topLeft();
        if (control == CC_ComboBox) {
            switch (part) {
            case SC_ComboBoxArrow:
                return XPComboButtonRect(size).translated(origin);
            case SC_ComboBoxEditField:
                return XPComboEditRect(size).translated(origin);
            case SC_ComboBoxFrame:
            case SC_ComboBoxListBoxPopup:
                return option->rect;
            default:
                break;
            }
        }
        if (control == CC_SpinBox) {
            switch (part) {
            case SC_SpinBoxUp:
                return XPSpinUpRect(size).translated(origin);
            case SC_SpinBoxDown:
                return XPSpinDownRect(size).translated(origin);
            case SC_SpinBoxEditField:
                return XPSpinEditRect(size).translated(origin);
            case SC_SpinBoxFrame:
                return option->rect;
            default:
                break;
            }
        }
        return QProxyStyle::subControlRect(control, option, part, widget);
    }

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        // The list drops below the box, as the stock Windows combo box does.
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

QStyle* XPControlStyle() {
    static TXPProxyStyle* style = [] {
        auto* created = new TXPProxyStyle;
        created->setParent(qApp);
        return created;
    }();
    return style;
}

} // namespace ov
