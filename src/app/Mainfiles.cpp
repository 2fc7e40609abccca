// How a file gets into view: the extension table, the content test, the
// recent-files list and its menu entries, the caption and the line status.

#include "Main.h"

#include "Filelists.h"
#include "Files.h"
#include "Qtuiservices.h"
#include "Uiservices.h"
#include "Xpgauge.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>

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

bool IsBinaryFile(const std::string& path) {
    TReadOnlyFile file;
    if (!file.Open(path))
        return false;
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
    if (!LangLinks.LoadProgramTable()) {
        TOVApplication::ShowException("Cannot open file \"" + TLangLinks::ShippedFileName() + "\".");
        return false;
    }
    for (const std::string& name : LangLinks.Names())
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
    if (path != CurrentFileName)
        CodingChoice = TCodingChoice::Auto;
    std::optional<std::string> language = LangLinks.LanguageOfFile(path);
    bool binary = !language && IsBinaryFile(path);
    CloseCurrentFile();
    try {
        ShowFile(path, binary, language.value_or(std::string()));
    } catch (...) {
        SetCurrentFile(path);
        throw;
    }
    SetCurrentFile(path);
    return true;
}

void TMainForm::ShowFile(const std::string& path, bool binary, const std::string& language) {
    if (binary) {
        ShowHexView(true);
        HexViewer->SetFileName(path);
        return;
    }
    ShowHexView(false);
    LoadTextView(path, language);
    Viewer->SetTopIndex(GetSavedTopIndex(path));
    Viewer->setFocus();
}

void TMainForm::LoadTextView(const std::string& path, const std::string& language) {
    InUpdate(Viewer->Lines(), [&] {
        FileEncoding = Viewer->Lines().LoadViewedFile(path, CodingChoice);
        Viewer->SetSynLang(language);
    });
    UpdateEncodingPanel();
}

void TMainForm::UpdateEncodingPanel() {
    const bool shown = FileEncoding && !CurrentFileName.empty() && HexViewer->isHidden();
    EncodingPanel->setText(shown ? QString::fromLatin1(EncodingName(*FileEncoding)) : QString());
}

void TMainForm::AutoDetect1Click() {
    SetCodingChoice(TCodingChoice::Auto);
}

void TMainForm::Cp9491Click() {
    SetCodingChoice(TCodingChoice::Cp949);
}

void TMainForm::Utf81Click() {
    SetCodingChoice(TCodingChoice::Utf8);
}

void TMainForm::SetCodingChoice(TCodingChoice choice) {
    CodingChoice = choice;
    if (!CurrentFileName.empty() && HexViewer->isHidden())
        Refresh1Click();
    UpdateActions();
}

void TMainForm::CloseCurrentFile() {
    if (CurrentFileName.empty())
        return;
    int top = Viewer->IntendedTopIndex();
    if (top >= 0)
        RecordRecentFile(RecentFiles, CurrentFileName, top, MaxRecentFiles);
    HexViewer->CloseFile();
    FileEncoding.reset();
    Viewer->Lines().Clear();
    Viewer->SetSynLang(std::string());
    SetCurrentFile(std::string());
    Viewer->show();
    HexViewer->hide();
    BuildRecentMenu();
}

void TMainForm::SetCurrentFile(const std::string& path) {
    CurrentFileName = path;
    QString caption = QString::fromUtf8(ProgramTitle);
    if (!path.empty()) {
        caption = QString::fromUtf8(ExtractFileName(path)) + QStringLiteral(" - ") + caption;
    } else {
        StatusPanels[0]->setText(FormatLineStatus(0, 0));
    }
    QApplication::setApplicationDisplayName(caption);
    setWindowTitle(caption);
    UpdateEncodingPanel();
    UpdateActions();
}

void TMainForm::ShowHexView(bool hex) {
    if (hex && HexViewer->isHidden()) {
        HexViewer->show();
        Viewer->hide();
        HexViewer->setFocus();
        if (!CurrentFileName.empty() && HexViewer->FileName().empty())
            HexViewer->SetFileName(CurrentFileName);
    } else if (!hex && Viewer->isHidden()) {
        Viewer->show();
        HexViewer->hide();
        Viewer->setFocus();
        if (!CurrentFileName.empty() && Viewer->Lines().Count() == 0)
            LoadTextView(HexViewer->FileName(),
                         LangLinks.LanguageOfFile(HexViewer->FileName()).value_or(std::string()));
    }
    ViewerTopIndexChanged();
    UpdateEncodingPanel();
    UpdateActions();
}

int TMainForm::GetSavedTopIndex(const std::string& path) const {
    int index = IndexOfRecentFile(RecentFiles, path);
    return index < 0 ? 0 : RecentEntryTopIndex(RecentFiles[static_cast<size_t>(index)]);
}

// The recent entries stand between the separator after Refresh1 and Exit1,
// newest first, followed by their own separator. Removed items are deleted
// later, since the clicked one may still be delivering its signal.
void TMainForm::BuildRecentMenu() {
    while (File1->actions().size() > FileMenuDesignItems) {
        QAction* item = File1->actions().at(FileMenuDesignItems - 1);
        File1->removeAction(item);
        item->deleteLater();
    }
    if (RecentFiles.empty())
        return;
    int shown = 0;
    for (int index = static_cast<int>(RecentFiles.size()) - 1;
         index >= 0 && shown < MaxRecentMenuItems; --index) {
        std::string path(RecentEntryPath(RecentFiles[static_cast<size_t>(index)]));
        auto* item = new QAction(
            QStringLiteral("&%1 ").arg(++shown) + MenuText(ExtractFileName(path)), File1);
        item->setData(index);
        connect(item, &QAction::triggered, this,
                [this, index] { RunCommand([&] { RecentFileClick(index); }); });
        File1->insertAction(Exit1, item);
    }
    auto* separator = new QAction(File1);
    separator->setSeparator(true);
    File1->insertAction(Exit1, separator);
}

void TMainForm::RecentFileClick(int tag) {
    if (tag >= 0 && tag < static_cast<int>(RecentFiles.size()))
        OpenFile(std::string(RecentEntryPath(RecentFiles[static_cast<size_t>(tag)])));
}

void TMainForm::Open1Click() {
    std::optional<std::string> path = OpenDialog ? OpenDialog() : std::nullopt;
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
    if (CurrentFileName.empty())
        return;
    TReadOnlyFile probe;
    if (!ViewedFileExists(CurrentFileName) || !probe.Open(CurrentFileName)) {
        const std::string name = ExtractFileName(CurrentFileName);
        UIServices().ShowMessage(
            ViewedFileExists(CurrentFileName)
                ? "'" + name + "' 파일을 읽을 수 없습니다.\n보고 있던 내용을 그대로 둡니다."
                : "'" + name + "' 파일이 없습니다. 지워졌거나 옮겨졌습니다.\n보고 있던 내용을 그대로 둡니다.",
            ProgramTitle, TMessageIcon::Warning);
        return;
    }
    probe.Close();
    if (!HexViewer->FileName().empty()) {
        HexViewer->CloseFile();
        HexViewer->SetFileName(CurrentFileName);
    }
    std::string path = CurrentFileName;
    InUpdate(Viewer->Lines(), [&] {
        Viewer->Lines().Clear();
        Viewer->SetSynLang(std::string());
        OpenFile(path);
    });
}

void TMainForm::ClearRecentFiels1Click() {
    RecentFiles.clear();
    BuildRecentMenu();
}

void TMainForm::ViewerLoadProgress() {
    LoadGauge->SetProgress(static_cast<std::uint64_t>(Viewer->LoadProgress() * LoadGauge->MaxValue()));
    ViewerTopIndexChanged();
}

void TMainForm::ViewerTopIndexChanged() {
    LoadGauge->setVisible(HexViewer->isHidden() && Viewer->Loading());
    if (!HexViewer->isHidden())
        StatusPanels[0]->setText(ViewLineStatus(HexViewer->TopIndex(), HexViewer->RowCount()));
    else
        StatusPanels[0]->setText(ViewLineStatus(Viewer->TopIndex(), Viewer->RowCount()));
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
