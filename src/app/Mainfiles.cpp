// How a file gets into view: the extension table, the content test, the
// recent-files list and its menu entries, the caption and the line status.

#include "Main.h"
#include "Matchlist.h"

#include "Filelists.h"
#include "Files.h"
#include "Qtuiservices.h"
#include "Uiservices.h"
#include "Xpgauge.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTimer>

#include <string_view>

namespace ov {

namespace {

constexpr int ContentTestBytes = 128;
// Open1 .. Refresh1 with their separators, and Exit1.
constexpr int FileMenuDesignItems = 8;

// The menu shows "&" literally: a file name's own ampersands are doubled.
QString MenuText(const std::string& utf8) {
    return QString::fromUtf8(utf8).replace(QLatin1Char('&'), QLatin1String("&&"));
}

bool IsBinaryFile(const TReadOnlyFile& file) {
    char head[ContentTestBytes];
    int64_t read = file.ReadAt(0, head, ContentTestBytes);
    return read > 0 && LooksBinary(std::string_view(head, static_cast<size_t>(read)));
}

// The name itself when it cannot be made absolute, or would be too long to
// open as such.
std::string FullFileName(std::string_view name) {
    return AbsoluteFileName(name);
}

} // namespace

bool TMainForm::LoadLangLinks() {
    if (!FLangLinks.LoadProgramTable()) {
        TOVApplication::ShowException("Cannot open file \"" + TLangLinks::ShippedFileName() +
                                      "\".");
        return false;
    }
    for (const std::string& name : FLangLinks.Names())
        AddLanguageItem(name);
    return true;
}

// A missing file is skipped and the file shown so far stays; the caller
// says so where the user named the file. A relative name (from the command
// line) is taken from the current folder and kept as a full path, so that
// its recent entry opens it from anywhere. Names are exact: a name that
// differs from a file only in letter case names no file here.
bool TMainForm::OpenFile(const std::string& requested) {
    std::string path = FullFileName(requested);
    if (!ViewedFileExists(path))
        return false;
    FDocument.Opening(path);
    std::optional<std::string> language = FLangLinks.LanguageOfFile(path);
    // One opening serves the test and the view: some files give their
    // content once.
    const TSharedFile file = OpenSharedFile(path);
    bool binary = !language && file && IsBinaryFile(*file);
    CloseCurrentFile();
    const std::optional<TBookmarks> bookmarks = FDocument.SavedBookmarks(path);
    if (bookmarks)
        FBookmarks.SetRows(*bookmarks);
    try {
        ShowFile(path, file, binary, language.value_or(std::string()));
    } catch (...) {
        SetCurrentFile(path);
        throw;
    }
    SetCurrentFile(path);
    if (bookmarks)
        RebuildBookmarkList();
    return true;
}

void TMainForm::ShowFile(const std::string& path, const TSharedFile& file, bool binary,
                         const std::string& language) {
    if (binary) {
        ShowHexView(true);
        FControls.HexViewer->SetFile(path, file);
        return;
    }
    ShowHexView(false);
    LoadTextView(file, language);
    FControls.Viewer->SetTopIndex(FDocument.SavedTopIndex(path));
    FControls.Viewer->setFocus();
}

void TMainForm::LoadTextView(const TSharedFile& file, const std::string& language) {
    InUpdate(FControls.Viewer->Lines(), [&] {
        FDocument.LoadText(FControls.Viewer->Lines(), file);
        FControls.Viewer->SetSynLang(language);
    });
    FControls.MatchList->DocumentReplaced();
    UpdateEncodingPanel();
}

void TMainForm::UpdateEncodingPanel() {
    const std::optional<TFileEncoding>& encoding = FDocument.Encoding();
    const bool shown = encoding && FDocument.IsOpen() && FControls.HexViewer->isHidden();
    FControls.EncodingPanel->setText(shown ? QString::fromLatin1(EncodingName(*encoding))
                                           : QString());
}

void TMainForm::AutoDetect1Click() {
    SetCodingChoice(TCodingChoice());
}

void TMainForm::SetCodingChoice(TCodingChoice choice) {
    FDocument.SetCodingChoice(choice);
    if (FDocument.IsOpen() && FControls.HexViewer->isHidden()) {
        // The text read again starts at the line that was at the top (a
        // reload by F5 starts at the first).
        TOVSynTextViewer& viewer = *FControls.Viewer;
        const int top = viewer.IntendedTopIndex();
        const int topLine = viewer.WordWrap() && top < viewer.RowCount() ? viewer.RowSpan(top).Line
                                                                         : top;
        const std::string path = FDocument.FileName();
        Refresh1Click();
        if (FDocument.FileName() == path && topLine > 0)
            viewer.SetTopIndex(viewer.WordWrap() ? viewer.OriginToWraped({0, topLine}).Y : topLine);
    }
    UpdateActions();
}

void TMainForm::CloseCurrentFile() {
    if (!FDocument.IsOpen())
        return;
    FDocument.Close(FControls.Viewer->IntendedTopIndex(), FBookmarks.Rows());
    // Closing stops the view's job; the search bar stays open, its search
    // of the old file forgotten.
    FControls.SearchBarTimer->stop();
    FBarSearchRunning = TBarSearch::None;
    FHexBarJob.Cancel();
    ShowSearchBarOutcome(TSearchOutcome::None);
    FControls.HexViewer->CloseFile();
    FControls.Viewer->Lines().Clear();
    FControls.Viewer->SetSynLang(std::string());
    FControls.MatchList->DocumentReplaced();
    SetCurrentFile(std::string());
    FControls.Viewer->show();
    FControls.HexViewer->hide();
    BuildRecentMenu();
}

void TMainForm::SetCurrentFile(const std::string& path) {
    FDocument.SetFileName(path);
    QString caption = QString::fromUtf8(ProgramTitle);
    if (!path.empty()) {
        caption = QString::fromUtf8(ExtractFileName(path)) + QStringLiteral(" - ") + caption;
    } else {
        FControls.StatusPanels[0]->setText(FormatLineStatus(0, 0));
    }
    QApplication::setApplicationDisplayName(caption);
    setWindowTitle(caption);
    UpdateEncodingPanel();
    if (path.empty() && !FReadingAgain)
        FFollowMode = TFollowMode::Off;
    UpdateWatching();
    UpdateActions();
}

void TMainForm::ShowHexView(bool hex) {
    if (hex && FControls.HexViewer->isHidden()) {
        // The list is of the text's lines.
        HideMatchList();
        FControls.HexViewer->show();
        FControls.Viewer->hide();
        FControls.HexViewer->setFocus();
        if (FDocument.IsOpen() && FControls.HexViewer->FileName().empty())
            FControls.HexViewer->SetFileName(FDocument.FileName());
    } else if (!hex && FControls.Viewer->isHidden()) {
        FControls.Viewer->show();
        FControls.HexViewer->hide();
        FControls.Viewer->setFocus();
        if (FDocument.IsOpen() && FControls.Viewer->Lines().Count() == 0)
            LoadTextView(
                FControls.HexViewer->UnsizedFile() ? FControls.HexViewer->UnsizedFile()
                                                   : OpenSharedFile(FControls.HexViewer->FileName()),
                FLangLinks.LanguageOfFile(FControls.HexViewer->FileName()).value_or(std::string()));
    }
    ViewerTopIndexChanged();
    UpdateEncodingPanel();
    UpdateActions();
}

// The recent entries stand between the separator after Refresh1 and Exit1,
// newest first, followed by their own separator. Removed items are deleted
// later, since the clicked one may still be delivering its signal.
void TMainForm::BuildRecentMenu() {
    while (FMenus.File1->actions().size() > FileMenuDesignItems) {
        QAction* item = FMenus.File1->actions().at(FileMenuDesignItems - 1);
        FMenus.File1->removeAction(item);
        item->deleteLater();
    }
    const std::vector<std::string>& recent = FDocument.RecentFiles();
    if (recent.empty())
        return;
    int shown = 0;
    for (int index = static_cast<int>(recent.size()) - 1;
         index >= 0 && shown < MaxRecentMenuItems; --index) {
        std::string path(RecentEntryPath(recent[static_cast<size_t>(index)]));
        auto* item = new QAction(
            QStringLiteral("&%1 ").arg(++shown) + MenuText(ExtractFileName(path)), FMenus.File1);
        item->setData(index);
        connect(item, &QAction::triggered, this,
                [this, index] { RunCommand([&] { RecentFileClick(index); }); });
        FMenus.File1->insertAction(FMenus.Exit1, item);
    }
    auto* separator = new QAction(FMenus.File1);
    separator->setSeparator(true);
    FMenus.File1->insertAction(FMenus.Exit1, separator);
}

void TMainForm::RecentFileClick(int tag) {
    const std::string path = FDocument.RecentPath(tag);
    if (!path.empty())
        OpenFile(path);
}

void TMainForm::Open1Click() {
    std::optional<std::string> path = FOpenDialog ? FOpenDialog() : std::nullopt;
    if (path)
        OpenFile(*path);
}

void TMainForm::ViewerDblClick() {
    Open1Click();
}

void TMainForm::Close1Click() {
    CloseCurrentFile();
}

// The outer bracket ends after OpenFile has restored the saved top index;
// the view takes the whole new text from its first row then, so a refreshed
// file is shown from its first line.
//
// A file that is gone or can no longer be read is said so, and the view keeps
// what it showed: clearing it would leave an empty view under the caption
// of the file.
void TMainForm::Refresh1Click() {
    if (!FDocument.IsOpen())
        return;
    const std::string& file = FDocument.FileName();
    if (!ViewedFileExists(file) || !ViewedFileReadable(file)) {
        const std::string name = ExtractFileName(file);
        UIServices().ShowMessage(
            ViewedFileExists(file)
                ? "'" + name + "' 파일을 읽을 수 없습니다.\n보고 있던 내용을 그대로 둡니다."
                : "'" + name + "' 파일이 없습니다. 지워졌거나 옮겨졌습니다.\n보고 있던 내용을 그대로 둡니다.",
            ProgramTitle, TMessageIcon::Warning);
        return;
    }
    if (!FControls.HexViewer->FileName().empty()) {
        FControls.HexViewer->CloseFile();
        FControls.HexViewer->SetFileName(FDocument.FileName());
    }
    std::string path = FDocument.FileName();
    InUpdate(FControls.Viewer->Lines(), [&] {
        FControls.Viewer->Lines().Clear();
        FControls.Viewer->SetSynLang(std::string());
        OpenFile(path);
    });
}

void TMainForm::ClearRecentFiels1Click() {
    FDocument.ClearRecentFiles();
    BuildRecentMenu();
}

// The gauge shows the progress of the view's long command while one runs,
// otherwise that of the index.
void TMainForm::ViewerLoadProgress() {
    const double progress = FControls.Viewer->JobRunning() ? FControls.Viewer->Job().Progress()
                                                           : FControls.Viewer->LoadProgress();
    FControls.LoadGauge->SetProgress(
        static_cast<std::uint64_t>(progress * double(FControls.LoadGauge->MaxValue())));
    ViewerTopIndexChanged();
    ShownFileLoaded();
}

// A reader who scrolls away from the end while the file is followed stays
// where they went: following pauses. Moves of the window's own, and the
// view following a top row the index has not reached yet, do not count.
void TMainForm::ViewerTopIndexChanged() {
    if (FFollowMode == TFollowMode::On && !FMovingView && !ViewAtEnd() &&
        (!FControls.HexViewer->isHidden() || !FControls.Viewer->Loading()))
        SetFollowMode(TFollowMode::Paused);
    FControls.LoadGauge->setVisible(FControls.HexViewer->isHidden() &&
                                    (FControls.Viewer->Loading() || FControls.Viewer->JobRunning()));
    if (!FControls.HexViewer->isHidden())
        FControls.StatusPanels[0]->setText(
            ViewLineStatus(FControls.HexViewer->TopIndex(), FControls.HexViewer->RowCount()));
    else
        FControls.StatusPanels[0]->setText(
            ViewLineStatus(FControls.Viewer->TopIndex(), FControls.Viewer->RowCount()));
}

void TMainForm::ViewerDropFiles(const std::vector<std::string>& files) {
    if (files.empty())
        return;
    CloseCurrentFile();
    OpenFile(files.front());
}

void TMainForm::Exit1Click() {
    close();
}

} // namespace ov
