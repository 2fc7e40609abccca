// The commands of the main window that act on the views' contents: find,
// go to, bookmarks, export, view switches, auto-scroll, help and dialogs.
// Each is bound to its menu item or event; the bodies come with the views.

#include "Main.h"

#include "Qtcodepage.h"

#include <QAction>
#include <QPainter>
#include <QTimer>

namespace ov {

void TMainForm::SaveasHTML1Click() {}
void TMainForm::Edit1Click() {
    UpdateActions();
}
void TMainForm::Copy1Click() {}
void TMainForm::CopyAll1Click() {}
void TMainForm::GotoLine1Click() {}
void TMainForm::ToggleBookmarks1Click() {
    UpdateActions();
}
void TMainForm::ToggleBookmarkClick(int tag) {}
void TMainForm::GotoBookmarks1Click() {
    UpdateActions();
}
void TMainForm::GotoBookmarkClick(int tag) {}
void TMainForm::ShowBookmarks1Click() {}
void TMainForm::Find1Click() {}
void TMainForm::FindNext1Click() {}
void TMainForm::View1Click() {
    UpdateActions();
}
void TMainForm::WordWrap1Click() {
    Viewer->SetWordWrap(!Viewer->WordWrap());
}
void TMainForm::ShowLineNumber1Click() {
    Viewer->SetShowLineNum(!Viewer->ShowLineNum());
}
void TMainForm::UseFont1Click() {
    Viewer->SetUseBitmapFont(!Viewer->UseBitmapFont());
}
void TMainForm::AutoScroll2Click() {
    if (ScrollTimer->isActive())
        ScrollTimer->stop();
    else
        ScrollTimer->start();
}
void TMainForm::IncreaseSpeed1Click() {}
void TMainForm::DecreaseSpeed1Click() {}
void TMainForm::HexView1Click() {
    ShowHexView(HexViewer->isHidden());
}
void TMainForm::WindowOpacity1Click() {}
void TMainForm::SyntaxHighlighting1Click() {
    UpdateActions();
}
// The first item switches highlighting off, as does any item captioned
// "None"; every other item names its language by its caption.
void TMainForm::SynLangClick(QAction* item) {
    if (!item)
        return;
    if (item == None1 || item->text() == QLatin1String("None"))
        Viewer->SetSynLang(std::string());
    else
        Viewer->SetSynLang(AnsiFromQString(item->text()));
}
void TMainForm::ClearFindHistory1Click() {}
void TMainForm::Options1Click() {}
void TMainForm::HowtoAddLanguage1Click() {}
void TMainForm::Shortcuts1Click() {}
void TMainForm::VisitHomepage1Click() {}
void TMainForm::SendEmail1Click() {}
void TMainForm::About1Click() {}
void TMainForm::PopupMenu1Popup() {
    UpdateActions();
}
void TMainForm::ScrollTimerTimer() {}
void TMainForm::ViewerKeyDown(int key, Qt::KeyboardModifiers shift) {}
void TMainForm::HexViewerKeyDown(int key, Qt::KeyboardModifiers shift) {}
void TMainForm::ViewerDrawLine(QPainter& canvas, int index, int y, int lineNumWidth) {}
void TMainForm::sbCloseBookmarksClick() {}
void TMainForm::lbBookmarksDblClick() {}
void TMainForm::lbBookmarksKeyDown(int key, Qt::KeyboardModifiers shift) {}
void TMainForm::lbBookmarksDrawItem(QPainter& canvas, int index, const QRect& rect, bool selected) {
}

} // namespace ov
