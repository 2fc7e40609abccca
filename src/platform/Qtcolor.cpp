#include "Qtcolor.h"

#include <QGuiApplication>
#include <QPalette>

namespace ov {

namespace {

QPalette::ColorRole RoleOfSystemColor(unsigned index, QPalette::ColorGroup& group) {
    group = QPalette::Active;
    switch (index) {
    case 4:  // menu
    case 15: // button face
    case 22: // 3-D light
        return QPalette::Button;
    case 7: // menu text
    case 8: // window text
        return QPalette::Text;
    case 9:  // caption text
    case 18: // button text
        return QPalette::ButtonText;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 16: // button shadow
        return QPalette::Mid;
    case 17: // grey text
        group = QPalette::Disabled;
        return QPalette::Text;
    case 20: // button highlight
        return QPalette::Light;
    case 21: // 3-D dark shadow
        return QPalette::Shadow;
    case 23:
        return QPalette::ToolTipText;
    case 24:
        return QPalette::ToolTipBase;
    default: // 5 window and everything else
        return QPalette::Base;
    }
}

} // namespace

QRgb RgbFromColor(TColor color) {
    if (color & 0x80000000u) {
        QPalette::ColorGroup group;
        const QPalette::ColorRole role = RoleOfSystemColor(color & 0xFF, group);
        return QGuiApplication::palette().color(group, role).rgb() | 0xFF000000u;
    }
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor ColorFromRgb(QRgb rgb) {
    return TColor(qRed(rgb)) | (TColor(qGreen(rgb)) << 8) | (TColor(qBlue(rgb)) << 16);
}

} // namespace ov
