// The commands of the main window that act on the views' contents: find,
// go to, bookmarks, export, view switches, auto-scroll, help and dialogs.
// Each is bound to its menu item or event.

#include "Main.h"

#include "About.h"
#include "Appfolders.h"
#include "Files.h"
#include "Qtcodepage.h"
#include "Qtdesktop.h"
#include "Searchbar.h"

#include <QAction>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>

namespace ov {

namespace {

// The auto-scroll speed: the timer's interval in milliseconds, one step of
// X or Z apart.
constexpr int ScrollStepChange = 30;
constexpr int FastestScrollStep = 30;
constexpr int SlowestScrollStep = 1000000;
// Ctrl+Up and Ctrl+Down move this many rows.
constexpr int CtrlScrollRows = 5;
constexpr int SeeThroughAlpha = 220;

constexpr Qt::KeyboardModifiers TypingModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// The maker's addresses, opened by the Help menu and the about box.
constexpr const char* HomepageUrl = "https://orvane.example.org/";
constexpr const char* MailUrl = "mailto:orvane@orvane.example.org";

} // namespace

void TMainForm::OpenHelpPage(const char* name) {
    FShellOpen(QUrl::fromLocalFile(QFile::decodeName(RuntimePath(name).c_str())));
}

void TMainForm::OpenHomepage() {
    FShellOpen(QUrl(QString::fromLatin1(HomepageUrl)));
}

void TMainForm::OpenMail() {
    FShellOpen(QUrl(QString::fromLatin1(MailUrl)));
}

void TMainForm::Edit1Click() {
    UpdateActions();
}
void TMainForm::Copy1Click() {
    FControls.Viewer->CopyToClipboard();
}
void TMainForm::CopyAll1Click() {
    FControls.Viewer->CopyAll();
}
void TMainForm::View1Click() {
    UpdateActions();
}
void TMainForm::WordWrap1Click() {
    FControls.Viewer->SetWordWrap(!FControls.Viewer->WordWrap());
}
void TMainForm::ShowLineNumber1Click() {
    FControls.Viewer->SetShowLineNum(!FControls.Viewer->ShowLineNum());
}
void TMainForm::UseFont1Click() {
    FControls.Viewer->SetUseBitmapFont(!FControls.Viewer->UseBitmapFont());
}
void TMainForm::AutoScroll2Click() {
    if (FControls.ScrollTimer->isActive())
        FControls.ScrollTimer->stop();
    else
        FControls.ScrollTimer->start();
}
void TMainForm::IncreaseSpeed1Click() {
    FScrollStep = std::max(FScrollStep - ScrollStepChange, FastestScrollStep);
    FControls.ScrollTimer->setInterval(FScrollStep);
}
void TMainForm::DecreaseSpeed1Click() {
    FScrollStep = std::min(FScrollStep + ScrollStepChange, SlowestScrollStep);
    FControls.ScrollTimer->setInterval(FScrollStep);
}
void TMainForm::HexView1Click() {
    ShowHexView(FControls.HexViewer->isHidden());
}
void TMainForm::WindowOpacity1Click() {
    FSeeThrough = !FSeeThrough;
    setWindowOpacity(FSeeThrough ? SeeThroughAlpha / 255.0 : 1.0);
}
void TMainForm::SyntaxHighlighting1Click() {
    UpdateActions();
}
// The first item switches highlighting off, as does any item captioned
// "None"; every other item names its language by its caption.
void TMainForm::SynLangClick(QAction* item) {
    if (!item)
        return;
    if (item == FMenus.None1 || item->text() == QLatin1String("None"))
        FControls.Viewer->SetSynLang(std::string());
    else
        FControls.Viewer->SetSynLang(AnsiFromQString(item->text()));
}
void TMainForm::HowtoAddLanguage1Click() {
    OpenHelpPage("addlang.htm");
}
void TMainForm::Shortcuts1Click() {
    OpenHelpPage("shortcut.htm");
}
void TMainForm::VisitHomepage1Click() {
    OpenHomepage();
}
void TMainForm::SendEmail1Click() {
    OpenMail();
}
void TMainForm::About1Click() {
    TfAbout box(this);
    box.OnOpenMail = [this] { OpenMail(); };
    box.OnOpenHomepage = [this] { OpenHomepage(); };
    box.move(CentredOver(frameGeometry(), box.size()));
    FControls.AboutBox = &box;
    box.exec();
    FControls.AboutBox = nullptr;
}
void TMainForm::PopupMenu1Popup() {
    UpdateActions();
}
void TMainForm::ScrollTimerTimer() {
    if (!FControls.HexViewer->isHidden())
        FControls.HexViewer->SetTopIndex(FControls.HexViewer->TopIndex() + 1);
    else
        FControls.Viewer->SetTopIndex(FControls.Viewer->TopIndex() + 1);
}
// Ctrl with any other modifiers moves the view; plain Escape stops the
// view's long command when one runs, else clears the marks of every match
// when they are shown, otherwise does what Option/ESC says (0 clear the selection, 1 minimize, 2 close the window;
// any other value nothing), read at each press.
void TMainForm::ViewerKeyDown(int key, Qt::KeyboardModifiers shift) {
    ResumeFollowingAtEnd(key);
    if (shift & Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_End:
            // While a large file is still indexed, the view follows the
            // index to its end.
            FControls.Viewer->SetTopIndex(FControls.Viewer->Loading()
                                              ? INT_MAX
                                              : FControls.Viewer->RowCount() -
                                                    FControls.Viewer->VisibleRows() + 1);
            break;
        case Qt::Key_Home:
            FControls.Viewer->SetTopIndex(0);
            break;
        case Qt::Key_Up:
            FControls.Viewer->SetTopIndex(FControls.Viewer->TopIndex() - CtrlScrollRows);
            break;
        case Qt::Key_Down:
            FControls.Viewer->SetTopIndex(FControls.Viewer->TopIndex() + CtrlScrollRows);
            break;
        default:
            break;
        }
        return;
    }
    if (key != Qt::Key_Escape || (shift & TypingModifiers))
        return;
    // Escape stops a long command first, the view left as it was, then
    // closes the search bar.
    if (FControls.Viewer->JobRunning()) {
        FControls.Viewer->Job().Cancel();
        if (FBarSearchRunning != TBarSearch::None) {
            FBarSearchRunning = TBarSearch::None;
            ShowSearchBarOutcome(TSearchOutcome::None);
        }
        return;
    }
    if (!FControls.SearchBar->isHidden()) {
        CloseSearchBar();
        return;
    }
    // Then it clears the matches marked, until the next search.
    if (FControls.Viewer->MatchHighlightActive()) {
        ClearMatchHighlight();
        return;
    }
    switch (FSettings.ReadInteger("Option", "ESC", 0)) {
    case 0:
        FControls.Viewer->Deselect();
        break;
    case 1:
        showMinimized();
        break;
    case 2:
        close();
        break;
    default:
        break;
    }
}
// Ctrl with any other modifiers moves the view. Ctrl+End aims at
// RowCount - PageRows, one row short of the text view's last page; the view
// clamps every target.
void TMainForm::HexViewerKeyDown(int key, Qt::KeyboardModifiers shift) {
    ResumeFollowingAtEnd(key);
    if (key == Qt::Key_Escape && !(shift & TypingModifiers) && !FControls.SearchBar->isHidden()) {
        CloseSearchBar();
        return;
    }
    // Then it clears the matches marked, until the next search.
    if (key == Qt::Key_Escape && !(shift & TypingModifiers) &&
        FControls.HexViewer->MatchBytesActive()) {
        ClearMatchHighlight();
        return;
    }
    if (!(shift & Qt::ControlModifier))
        return;
    switch (key) {
    case Qt::Key_End:
        FControls.HexViewer->SetTopIndex(FControls.HexViewer->RowCount() -
                                         FControls.HexViewer->PageRows());
        break;
    case Qt::Key_Home:
        FControls.HexViewer->SetTopIndex(0);
        break;
    case Qt::Key_Up:
        FControls.HexViewer->SetTopIndex(FControls.HexViewer->TopIndex() - CtrlScrollRows);
        break;
    case Qt::Key_Down:
        FControls.HexViewer->SetTopIndex(FControls.HexViewer->TopIndex() + CtrlScrollRows);
        break;
    default:
        break;
    }
}

} // namespace ov
