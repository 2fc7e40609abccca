#include "Opendocument.h"

#include "Filelists.h"
#include "Ovstrings.h"

namespace ov {

void TOpenDocument::Opening(const std::string& path) {
    if (path == FFileName)
        return;
    if (!FFileName.empty())
        FClosingChoice = FCodingChoice;
    const int index = IndexOfRecentFile(FRecentFiles, path);
    FCodingChoice = index < 0 ? TCodingChoice()
                              : RecentEntryCoding(FRecentFiles[static_cast<size_t>(index)]);
}

void TOpenDocument::LoadText(TOVStringList& lines, const std::string& path) {
    FEncoding = lines.LoadViewedFile(path, FCodingChoice);
}

void TOpenDocument::LoadText(TOVStringList& lines, const TSharedFile& file) {
    FEncoding = file ? lines.LoadViewedFile(*file, FCodingChoice) : std::nullopt;
}

namespace {

int IndexOfBookmarkEntry(const std::vector<std::string>& entries, std::string_view path) {
    return IndexOfRecentFile(entries, path);
}

} // namespace

void TOpenDocument::Close(int topIndex, const std::array<int, 10>& bookmarks) {
    FEncoding.reset();
    const TCodingChoice choice = FClosingChoice.value_or(FCodingChoice);
    FClosingChoice.reset();
    if (FFileName.empty() || topIndex < 0)
        return;
    RecordRecentFile(FRecentFiles, FFileName, topIndex, MaxRecentFiles, choice);
    if (const int index = IndexOfBookmarkEntry(FBookmarkEntries, FFileName); index >= 0)
        FBookmarkEntries.erase(FBookmarkEntries.begin() + index);
    std::erase_if(FBookmarkEntries, [this](const std::string& entry) {
        return IndexOfRecentFile(FRecentFiles, RecentEntryPath(entry)) < 0;
    });
    if (IndexOfRecentFile(FRecentFiles, FFileName) < 0)
        return;
    if (std::string entry = BookmarkEntry(FFileName, bookmarks); !entry.empty())
        FBookmarkEntries.push_back(std::move(entry));
}

void TOpenDocument::ClearRecentFiles() {
    FRecentFiles.clear();
    FBookmarkEntries.clear();
}

void TOpenDocument::SetBookmarkEntries(std::vector<std::string> entries) {
    FBookmarkEntries = std::move(entries);
}

std::optional<std::array<int, 10>> TOpenDocument::SavedBookmarks(const std::string& path) const {
    if (IndexOfRecentFile(FRecentFiles, path) < 0)
        return std::nullopt;
    const int index = IndexOfBookmarkEntry(FBookmarkEntries, path);
    return index < 0 ? NoBookmarks()
                     : BookmarkEntryRows(FBookmarkEntries[static_cast<size_t>(index)]);
}

std::array<int, 10> TOpenDocument::NoBookmarks() {
    std::array<int, 10> none;
    none.fill(-1);
    return none;
}

void TOpenDocument::SetRecentFiles(std::vector<std::string> entries) {
    FRecentFiles = std::move(entries);
}

int TOpenDocument::SavedTopIndex(const std::string& path) const {
    const int index = IndexOfRecentFile(FRecentFiles, path);
    return index < 0 ? 0 : RecentEntryTopIndex(FRecentFiles[static_cast<size_t>(index)]);
}

std::string TOpenDocument::RecentPath(int index) const {
    if (index < 0 || index >= static_cast<int>(FRecentFiles.size()))
        return {};
    return std::string(RecentEntryPath(FRecentFiles[static_cast<size_t>(index)]));
}

} // namespace ov
