#pragma once
// The recent-files list of the main window as plain operations ("path=top
// index" entries, or "path=top index,encoding" for a file whose encoding was
// chosen by hand; oldest first; paths are the file system's bytes, UTF-8),
// and the content test that tells text from binary files.

#include "Filecoding.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ov {

// The path of a recent entry: the text before its last "=", since a path may
// itself hold "=" while the top index never does. The whole entry when it
// has no "=".
std::string_view RecentEntryPath(std::string_view entry);
// The decimal top index after the last "="; -1 when it does not read.
int RecentEntryTopIndex(std::string_view entry);
// The encoding named after the top index; Auto for none or an unknown name.
TCodingChoice RecentEntryCoding(std::string_view entry);
// The entry for path, compared exactly (names that differ in letter case
// are different files); -1 when none.
int IndexOfRecentFile(const std::vector<std::string>& list, std::string_view path);

// Records that path was closed at topIndex, read in the encoding coding
// chosen by hand (Auto: none). A listed path gets the new top index and
// encoding and changes places with the last entry; a new path is appended after
// the oldest entries are dropped so that at most maxCount remain. A path
// whose entry the settings file cannot hold unchanged (a line break, blanks
// at its ends or around its first "=", a leading ";") is not recorded.
void RecordRecentFile(std::vector<std::string>& list, const std::string& path, int topIndex,
                      int maxCount, TCodingChoice coding = TCodingChoice());

// The bookmarks of a recent file, one "path=n:row,n:row" line per file
// (bookmark number and the row it holds, set bookmarks only, in increasing
// number) in a section of their own beside the recent list. The path is the
// text before the last "=", as in a recent entry. A value grows by further
// comma-separated "name:value" items: a reader skips the items it does not
// know, so an older program reads a newer file.
//
// The entry of path with bookmarks (rows of -1 are unset); empty when none
// is set, or when the settings file could not hold the line unchanged.
std::string BookmarkEntry(const std::string& path, const std::array<int, 10>& bookmarks);
// The bookmarks of an entry: every item "n:row" with n from 0 to 9 and a row
// of 0 or more; other items are skipped. All unset for an entry without
// such an item.
std::array<int, 10> BookmarkEntryRows(std::string_view entry);

// The content test for a file with an unlisted extension, over up to the
// first 128 bytes read: text when LooksLikeText says so (well-formed UTF-8
// or CP949 without control bytes, or a byte-order mark); otherwise binary
// when a zero byte comes before the last byte, or when blanks are fewer than
// 3 % of the bytes read and no line feed came before the last byte.
bool LooksBinary(std::string_view head);

} // namespace ov
