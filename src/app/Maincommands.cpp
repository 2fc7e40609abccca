// The commands of the main window that act on the views' contents: find,
// go to, bookmarks, export, view switches, auto-scroll, help and dialogs.
// Each is bound to its menu item or event; the bodies come with the views.

#include "Main.h"

#include <QPainter>

namespace ov {

void TMainForm::SaveasHTML1Click() {}
void TMainForm::Edit1Click() {}
void TMainForm::Copy1Click() {}
void TMainForm::CopyAll1Click() {}
void TMainForm::GotoLine1Click() {}
void TMainForm::ToggleBookmarks1Click() {}
void TMainForm::ToggleBookmarkClick(int tag) {}
void TMainForm::GotoBookmarks1Click() {}
void TMainForm::GotoBookmarkClick(int tag) {}
void TMainForm::ShowBookmarks1Click() {}
void TMainForm::Find1Click() {}
void TMainForm::FindNext1Click() {}
void TMainForm::View1Click() {}
void TMainForm::WordWrap1Click() {}
void TMainForm::ShowLineNumber1Click() {}
void TMainForm::UseFont1Click() {}
void TMainForm::AutoScroll2Click() {}
void TMainForm::IncreaseSpeed1Click() {}
void TMainForm::DecreaseSpeed1Click() {}
void TMainForm::HexView1Click() {}
void TMainForm::WindowOpacity1Click() {}
void TMainForm::SyntaxHighlighting1Click() {}
void TMainForm::SynLangClick(QAction* item) {}
void TMainForm::ClearFindHistory1Click() {}
void TMainForm::Options1Click() {}
void TMainForm::HowtoAddLanguage1Click() {}
void TMainForm::Shortcuts1Click() {}
void TMainForm::VisitHomepage1Click() {}
void TMainForm::SendEmail1Click() {}
void TMainForm::About1Click() {}
void TMainForm::PopupMenu1Popup() {}
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
