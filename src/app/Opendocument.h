#pragma once
// TOpenDocument: what the window knows of the file it shows, apart from the
// views that show it: its full path, how its 8-bit text is read, the
// encoding it was read in, and the recent-files list with the row each file
// was left at. The views are the window's; this is the state the open,
// reload, close and encoding commands share.

#include "Filecoding.h"
#include "Files.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace ov {

class TOVStringList;

class TOpenDocument {
public:
    // The full path of the shown file; empty while none is shown.
    const std::string& FileName() const { return FFileName; }
    bool IsOpen() const { return !FFileName.empty(); }
    // How text without a byte-order mark is read (보기 > 인코딩): Auto until
    // the user chooses; a choice holds for reloads of the file, is recorded
    // with its recent entry when it closes and comes back when it is opened
    // again.
    TCodingChoice CodingChoice() const { return FCodingChoice; }
    void SetCodingChoice(TCodingChoice choice) { FCodingChoice = choice; }
    // The encoding the shown text was read in; none while no text is shown.
    const std::optional<TFileEncoding>& Encoding() const { return FEncoding; }

    // path is about to be shown: another file than the one shown takes the
    // choice recorded with its recent entry (Auto for none), while the shown
    // file's own choice is still recorded by the Close that follows.
    void Opening(const std::string& path);
    // path (empty: none) is the shown file from now on.
    void SetFileName(const std::string& path) {
        FFileName = path;
        FClosingChoice.reset();
    }
    // Reads path into lines with the encoding choice and keeps the encoding.
    void LoadText(TOVStringList& lines, const std::string& path);
    // The same through an opening of the file (null: nothing loaded).
    void LoadText(TOVStringList& lines, const TSharedFile& file);
    // The shown file is closed with topIndex as its top row (-1: none to
    // keep): its recent entry records the row and its bookmark entry the
    // bookmarks, and the encoding is forgotten. The file name stays until
    // SetFileName.
    void Close(int topIndex, const std::array<int, 10>& bookmarks = NoBookmarks());

    // "path=top index" entries, oldest first, at most MaxRecentFiles.
    const std::vector<std::string>& RecentFiles() const { return FRecentFiles; }
    void SetRecentFiles(std::vector<std::string> entries);
    void ClearRecentFiles();
    // The bookmark entries (Filelists.h) of recent files, in no particular
    // order. Entries of files that are not in the recent list are dropped
    // whenever a file is closed.
    const std::vector<std::string>& BookmarkEntries() const { return FBookmarkEntries; }
    void SetBookmarkEntries(std::vector<std::string> entries);
    // The bookmarks path was left with; nothing for a file that is not in
    // the recent list, whose opening keeps the bookmarks as they are.
    std::optional<std::array<int, 10>> SavedBookmarks(const std::string& path) const;
    static std::array<int, 10> NoBookmarks();
    // The top row path was left at; 0 for a file not in the list.
    int SavedTopIndex(const std::string& path) const;
    // The path of entry index; empty when there is no such entry.
    std::string RecentPath(int index) const;

    static constexpr int MaxRecentFiles = 10;

private:
    std::string FFileName;
    TCodingChoice FCodingChoice = TCodingChoice();
    // Opening took another file's choice before the shown file was closed:
    // the shown file's own one, for Close to record.
    std::optional<TCodingChoice> FClosingChoice;
    std::optional<TFileEncoding> FEncoding;
    std::vector<std::string> FRecentFiles;
    std::vector<std::string> FBookmarkEntries;
};

} // namespace ov
