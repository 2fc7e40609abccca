// Following the shown file as another program writes it, and reading it
// again when it changes: the watcher says that the file may have changed,
// the follower (Filefollow.h) what changed, and this decides what the views
// show. Nothing here asks the user anything: a log that is rotated or cut
// short is read again with a note in the status bar.

#include "Main.h"
#include "Matchlist.h"

#include "Files.h"
#include "Qtfilewatch.h"
#include "Uiservices.h"

#include <QLabel>
#include <QTime>
#include <QTimer>

#include <climits>

namespace ov {

namespace {

// A file read again was agreed to when it was opened: its size question is
// answered yes; everything else goes to the services in place.
class TAgreedReading : public TUIServices {
public:
    explicit TAgreedReading(TUIServices& outer) : FOuter(outer) {}
    bool AskYesNo(const std::string&, const std::string&, TMessageIcon) override { return true; }
    void ShowMessage(const std::string& text, const std::string& caption,
                     TMessageIcon icon) override {
        FOuter.ShowMessage(text, caption, icon);
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}

private:
    TUIServices& FOuter;
};

// Sets a flag for a scope and gives it back its value at the end, also
// when the scope ends by an exception.
struct TFlagScope {
    explicit TFlagScope(bool& flag) : Flag(flag), Before(flag) { Flag = true; }
    ~TFlagScope() { Flag = Before; }
    bool& Flag;
    bool Before;
};

} // namespace

void TMainForm::Follow1Click() {
    if (FFollowMode == TFollowMode::On) {
        SetFollowMode(TFollowMode::Off);
        return;
    }
    SetFollowMode(TFollowMode::On);
    ShownFileChanged();
    GoToEnd();
}

void TMainForm::SetFollowMode(TFollowMode mode) {
    FFollowMode = mode;
    UpdateWatching();
    UpdateActions();
}

void TMainForm::UpdateWatching() {
    if (!FControls.Watcher)
        FControls.Watcher = new TFileWatcher([this] { ShownFileChanged(); }, this);
    if (FReadingAgain)
        return;
    const bool watched = FDocument.IsOpen() &&
                         (FFollowMode != TFollowMode::Off ||
                          FSettings.ReadBool("Option", "ReloadOnChange", false));
    const std::string path = watched ? FDocument.FileName() : std::string();
    if (path == FControls.Watcher->Path())
        return;
    FControls.Watcher->Watch(path);
    FFollower = TFileFollower(path);
    FControls.FileNotePanel->clear();
    FControls.FileNotePanel->hide();
}

// Reading the file again restarts its index: while the index of the last
// reading is still being built, a fast writer would restart it again and
// again and the view would never reach the end. The change waits for it.
void TMainForm::ShownFileChanged() {
    if (!FDocument.IsOpen() || FReadingAgain || FFollower.Path() != FDocument.FileName())
        return;
    if (FControls.HexViewer->isHidden() && FControls.Viewer->Loading()) {
        FChangedWhileLoading = true;
        return;
    }
    const TFileChange change = FFollower.Check();
    const std::string name = ExtractFileName(FDocument.FileName());
    std::string note;
    switch (change) {
    case TFileChange::None:
        return;
    case TFileChange::Gone:
        note = "'" + name + "' 파일이 없어졌습니다. 보던 내용을 그대로 둡니다.";
        break;
    case TFileChange::Appended:
        break;
    case TFileChange::Rewritten:
        if (FFollowMode != TFollowMode::Off)
            note = "'" + name + "' 파일이 잘려 처음부터 다시 읽었습니다.";
        break;
    case TFileChange::Replaced:
        note = "'" + name + "' 파일이 새 파일로 바뀌어 다시 열었습니다.";
        break;
    }
    if (change == TFileChange::Appended && TakeAppendedText()) {
        // Taken in place.
    } else if (change != TFileChange::Gone) {
        ReadShownFileAgain(FFollowMode == TFollowMode::On);
    }
    if (!note.empty()) {
        FControls.FileNotePanel->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) +
                                         QString::fromUtf8(note));
        FControls.FileNotePanel->show();
    }
    UpdateActions();
}

// Lines appended to a mapped text are taken in place: the lines shown stay
// as they are, the new ones are indexed on (and highlighted on from the old
// end), and the view moves only when it follows. The hex view takes the new
// size alone; the text, when it was read, grows with it or is read again
// when the text view shows.
bool TMainForm::TakeAppendedText() {
    TFlagScope moving(FMovingView);
    const bool hex = !FControls.HexViewer->isHidden();
    if (hex && !FControls.HexViewer->Grow())
        return false;
    bool grew = false;
    if (!hex || FControls.Viewer->Lines().Count() > 0) {
        // The list of matching lines lets go of the text while it grows, then
        // searches what is new.
        FControls.MatchList->HoldForGrowth();
        const int from = std::max(0, FControls.Viewer->Lines().Count() - 1);
        grew = FControls.Viewer->GrowText();
        FControls.MatchList->DocumentGrew(grew ? from : INT_MAX);
        if (!grew && hex)
            FControls.Viewer->Lines().Clear();
    }
    if (!hex && !grew)
        return false;
    if (FFollowMode == TFollowMode::On)
        GoToEnd();
    ViewerTopIndexChanged();
    return true;
}

// The text view's top row and selection stay where their lines still
// exist; a file that no longer reads, or now reads as binary, is shown as
// opening it would show it.
void TMainForm::ReadShownFileAgain(bool toEnd) {
    const std::string path = FDocument.FileName();
    if (!ViewedFileExists(path) || !ViewedFileReadable(path))
        return;
    TFlagScope reading(FReadingAgain);
    TFlagScope moving(FMovingView);
    TAgreedReading agreed(UIServices());
    TUIServicesGuard quiet(&agreed);
    if (!FControls.HexViewer->isHidden()) {
        const int64_t top = FControls.HexViewer->TopIndex();
        FControls.HexViewer->CloseFile();
        FControls.HexViewer->SetFileName(path);
        // The text, if it was read, is read again when the text view shows.
        FControls.Viewer->Lines().Clear();
        if (toEnd)
            GoToEnd();
        else
            FControls.HexViewer->SetTopIndex(top);
        ViewerTopIndexChanged();
        return;
    }
    const int top = FControls.Viewer->IntendedTopIndex();
    const TTextRange selection = FControls.Viewer->Selection();
    InUpdate(FControls.Viewer->Lines(), [&] {
        FControls.Viewer->Lines().Clear();
        FControls.Viewer->SetSynLang(std::string());
        OpenFile(path);
    });
    if (toEnd) {
        GoToEnd();
        return;
    }
    FControls.Viewer->SetTopIndex(top);
    if (!selection.IsEmpty() && selection.End().Y < FControls.Viewer->Lines().Count())
        FControls.Viewer->SetSelection(selection);
}

void TMainForm::ShownFileLoaded() {
    if (!FChangedWhileLoading || FControls.Viewer->Loading())
        return;
    FChangedWhileLoading = false;
    QTimer::singleShot(0, this, [this] { ShownFileChanged(); });
}

void TMainForm::ResumeFollowingAtEnd(int key) {
    if (key == Qt::Key_End && FFollowMode == TFollowMode::Paused)
        SetFollowMode(TFollowMode::On);
}

bool TMainForm::ViewAtEnd() const {
    if (!FControls.HexViewer->isHidden())
        return FControls.HexViewer->TopIndex() >=
               FControls.HexViewer->RowCount() - FControls.HexViewer->PageRows();
    const TTextViewControl& view = *FControls.Viewer;
    return view.TopIndex() >= std::max(0, view.RowCount() - view.VisibleRows() + 1);
}

void TMainForm::GoToEnd() {
    TFlagScope moving(FMovingView);
    if (!FControls.HexViewer->isHidden()) {
        FControls.HexViewer->SetTopIndex(FControls.HexViewer->RowCount() -
                                         FControls.HexViewer->PageRows());
        return;
    }
    TTextViewControl& view = *FControls.Viewer;
    view.SetTopIndex(view.Loading() ? INT_MAX : view.RowCount() - view.VisibleRows() + 1);
}

} // namespace ov
