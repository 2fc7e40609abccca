#include "Opendocument.h"

#include "Filelists.h"
#include "Ovstrings.h"

namespace ov {

void TOpenDocument::Opening(const std::string& path) {
    if (path != FFileName)
        FCodingChoice = TCodingChoice::Auto;
}

void TOpenDocument::LoadText(TOVStringList& lines, const std::string& path) {
    FEncoding = lines.LoadViewedFile(path, FCodingChoice);
}

void TOpenDocument::LoadText(TOVStringList& lines, const TSharedFile& file) {
    FEncoding = file ? lines.LoadViewedFile(*file, FCodingChoice) : std::nullopt;
}

void TOpenDocument::Close(int topIndex) {
    if (!FFileName.empty() && topIndex >= 0)
        RecordRecentFile(FRecentFiles, FFileName, topIndex, MaxRecentFiles);
    FEncoding.reset();
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
