#pragma once
// The pieces of the ten bookmarks that need no window: their icons, the
// items of the bookmark list and the rows drawn for them.

#include "Charcoding.h"

#include <QImage>
#include <QString>

#include <array>
#include <string>
#include <string_view>

namespace ov {

constexpr int BookmarkCount = 10;
constexpr int BookmarkIconSize = 10;
// The most bytes of a line that a list item quotes.
constexpr int BookmarkTextLimit = 199;

using TBookmarks = std::array<int, BookmarkCount>;

// Icon n (0 to 9): the digit n in white on a dark square, 10 x 10 pixels.
QImage BookmarkIcon(int n);

// The bookmark whose icon marks display row index: the lowest n set to it,
// or -1.
int BookmarkAtRow(const TBookmarks& bookmarks, int index);

// The list item of bookmark n: "n=" and at most BookmarkTextLimit bytes of
// the line (in coding), never half a character, as UTF-8.
std::string BookmarkListItem(int n, std::string_view line, const TCharCoding& coding);

// The bookmark number before the item's first "=", or -1 when that is not
// a decimal number.
int BookmarkOfItem(const QString& item);

// The drawn row of an item: "책갈피", the number, ", 줄# ", the stored top
// index left-aligned in six places, " : " and the quoted text.
QString BookmarkRowText(const QString& item, const TBookmarks& bookmarks);

} // namespace ov
