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

// The ten bookmarks of the window: each the display row of the text view it
// was set at, or none. Rows are plain numbers, kept as they are when the text
// or its wrapping changes. Numbers outside 0 to 9 name no bookmark.
class TBookmarkSet {
public:
    TBookmarkSet() { FRows.fill(-1); }
    // The row of bookmark n; -1 when it is not set.
    int Row(int n) const { return InRange(n) ? FRows[size_t(n)] : -1; }
    bool IsSet(int n) const { return Row(n) != -1; }
    bool Any() const;
    // Sets bookmark n to row, or clears it when it is there already.
    void Toggle(int n, int row);
    const TBookmarks& Rows() const { return FRows; }
    // All ten at once (a file's remembered bookmarks); negative rows are
    // unset.
    void SetRows(const TBookmarks& rows);

private:
    static bool InRange(int n) { return n >= 0 && n < BookmarkCount; }

    TBookmarks FRows;
};

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
