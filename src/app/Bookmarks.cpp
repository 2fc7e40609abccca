#include "Bookmarks.h"

#include "Messages.h"

#include <QColor>

namespace ov {

namespace {

// Digits of five by seven pixels, one row per byte, the leftmost pixel in
// bit 4.
constexpr unsigned char DigitGlyphs[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
};

constexpr QRgb IconBack = qRgb(0x1F, 0x3A, 0x68);
constexpr QRgb IconEdge = qRgb(0x0B, 0x1A, 0x36);
constexpr QRgb IconDigit = qRgb(0xFF, 0xFF, 0xFF);

} // namespace

bool TBookmarkSet::Any() const {
    for (int row : FRows)
        if (row != -1)
            return true;
    return false;
}

void TBookmarkSet::Toggle(int n, int row) {
    if (!InRange(n))
        return;
    int& bookmark = FRows[size_t(n)];
    bookmark = bookmark == row ? -1 : row;
}

void TBookmarkSet::SetRows(const TBookmarks& rows) {
    for (size_t n = 0; n < rows.size(); ++n)
        FRows[n] = rows[n] < 0 ? -1 : rows[n];
}

QImage BookmarkIcon(int n) {
    QImage icon(BookmarkIconSize, BookmarkIconSize, QImage::Format_ARGB32);
    icon.fill(IconBack);
    for (int i = 0; i < BookmarkIconSize; ++i) {
        icon.setPixel(i, 0, IconEdge);
        icon.setPixel(i, BookmarkIconSize - 1, IconEdge);
        icon.setPixel(0, i, IconEdge);
        icon.setPixel(BookmarkIconSize - 1, i, IconEdge);
    }
    // The corners are cut for a softer square.
    for (int x : {0, BookmarkIconSize - 1})
        for (int y : {0, BookmarkIconSize - 1})
            icon.setPixel(x, y, qRgba(0, 0, 0, 0));
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
            if (DigitGlyphs[n][row] & (0x10 >> column))
                icon.setPixel(3 + column, 1 + row, IconDigit);
    return icon;
}

int BookmarkAtRow(const TBookmarks& bookmarks, int index) {
    for (int n = 0; n < BookmarkCount; ++n)
        if (bookmarks[size_t(n)] == index)
            return n;
    return -1;
}

std::string BookmarkListItem(int n, std::string_view line, const TCharCoding& coding) {
    if (line.size() > size_t(BookmarkTextLimit))
        line = line.substr(0, coding.CharStart(line, 0, size_t(BookmarkTextLimit)));
    std::string shown;
    return std::to_string(n) + "=" + coding.ToUtf8(ShownText(line, shown));
}

int BookmarkOfItem(const QString& item) {
    const qsizetype equals = item.indexOf(QLatin1Char('='));
    bool ok = false;
    const int n = item.left(equals < 0 ? item.size() : equals).toInt(&ok);
    return ok ? n : -1;
}

QString BookmarkRowText(const QString& item, const TBookmarks& bookmarks) {
    const int n = BookmarkOfItem(item);
    const qsizetype equals = item.indexOf(QLatin1Char('='));
    const QString text = equals < 0 ? QString() : item.mid(equals + 1);
    const int index = n >= 0 && n < BookmarkCount ? bookmarks[size_t(n)] : -1;
    return QStringLiteral("%1%2, %3# %4 : %5")
        .arg(QString::fromUtf8(LoadStr(SBookmark)))
        .arg(n)
        .arg(QString::fromUtf8(LoadStr(SLine)))
        .arg(index, -6)
        .arg(text);
}

} // namespace ov
