// Go to line or address, the ten bookmarks, their panel and their icons in
// the text view's gutter.

#include "Main.h"

#include "Bookmarks.h"
#include "Goto.h"
#include "Splitterbar.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cstdint>

namespace ov {

void TMainForm::CenterDialog(QWidget& dialog) const {
    dialog.move(CentredOver(frameGeometry(), dialog.size()));
}

void TMainForm::GotoLine1Click() {
    if (!FControls.HexViewer->isVisibleTo(this)) {
        TfGoto dialog(this);
        // While the lines are counted the dialog offers those known so far,
        // and a line beyond them is reached once the index gets there.
        if (FControls.Viewer->Loading())
            dialog.FollowCount([this] {
                return TfGoto::TLineCount{FControls.Viewer->RowCount(), FControls.Viewer->Loading()};
            });
        CenterDialog(dialog);
        const int line = dialog.Execute(FControls.Viewer->RowCount());
        if (line != -1)
            FControls.Viewer->SetTopIndex(line - 1);
        return;
    }
    TfGotoAddress dialog(this);
    // A large file widens the dialog: its size is known once it is prepared.
    dialog.Prepare(FControls.HexViewer->FileSize());
    CenterDialog(dialog);
    const int64_t address = dialog.Execute(FControls.HexViewer->FileSize());
    if (address != -1)
        FControls.HexViewer->SetTopIndex(address / 16);
}

void TMainForm::ToggleBookmarkClick(int tag) {
    ToggleBookmark(tag, FControls.Viewer->TopIndex());
}

void TMainForm::ToggleBookmark(int n, int top) {
    FBookmarks.Toggle(n, top);
    RebuildBookmarkList();
}

void TMainForm::GotoBookmarkClick(int tag) {
    GotoBookmark(tag);
}

void TMainForm::GotoBookmark(int n) {
    if (FBookmarks.IsSet(n))
        FControls.Viewer->SetTopIndex(FBookmarks.Row(n));
}

// The document line a bookmark quotes: the line where its display row
// begins. A row the document no longer has quotes nothing.
std::string_view TMainForm::BookmarkLine(int row) const {
    if (row < 0 || row >= FControls.Viewer->RowCount())
        return {};
    const int line =
        FControls.Viewer->WordWrap() ? FControls.Viewer->WrapedToOrigin({0, row}).Y : row;
    if (line < 0 || line >= FControls.Viewer->Lines().Count())
        return {};
    return FControls.Viewer->Lines().GetView(line);
}

void TMainForm::RebuildBookmarkList() {
    FControls.lbBookmarks->clear();
    bool any = false;
    for (int n = 0; n < BookmarkCount; ++n) {
        const int row = FBookmarks.Row(n);
        if (row == -1)
            continue;
        any = true;
        FControls.lbBookmarks->addItem(QString::fromStdString(
            BookmarkListItem(n, BookmarkLine(row), FControls.Viewer->Lines().CharCoding())));
    }
    const int margin = std::clamp(FSettings.ReadInteger("Option", "LeftMargin", 2), 0,
                                  int(UINT16_MAX) - (any ? FControls.Viewer->LineHeight() : 0));
    FControls.Viewer->SetLeftMargin(
        static_cast<uint16_t>(any ? margin + FControls.Viewer->LineHeight() - 2 : margin));
    FControls.Viewer->DrawScreen(true);
}

void TMainForm::ToggleBookmarks1Click() { UpdateActions(); }

void TMainForm::GotoBookmarks1Click() { UpdateActions(); }

void TMainForm::ShowBookmarks1Click() {
    const bool show = FControls.pBookmarks->isHidden();
    FControls.pBookmarks->setVisible(show);
    FControls.Splitter1->setVisible(show);
    if (show)
        FControls.lbBookmarks->setFocus();
    else if (!FControls.Viewer->isHidden())
        FControls.Viewer->setFocus();
    else if (!FControls.HexViewer->isHidden())
        FControls.HexViewer->setFocus();
}

// Not a menu command: the menu's mark is brought up to date here.
void TMainForm::sbCloseBookmarksClick() {
    ShowBookmarks1Click();
    UpdateActions();
}

void TMainForm::lbBookmarksDblClick() {
    const QListWidgetItem* item = FControls.lbBookmarks->currentItem();
    if (!item || !item->isSelected())
        return;
    const int n = BookmarkOfItem(item->text());
    if (n != -1)
        GotoBookmark(n);
}

void TMainForm::lbBookmarksKeyDown(int key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        lbBookmarksDblClick();
}

// Keys of the bookmark list reach the window's handler first; Enter goes no
// further.
bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FControls.lbBookmarks && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        lbBookmarksKeyDown(key->key(), key->modifiers());
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::lbBookmarksDrawItem(QPainter& canvas, int index, const QRect& rect, bool) {
    const QListWidgetItem* item = FControls.lbBookmarks->item(index);
    if (!item)
        return;
    canvas.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    BookmarkRowText(item->text(), FBookmarks.Rows()));
}

void TMainForm::ViewerDrawLine(QPainter& canvas, int index, int y, int lineNumWidth) {
    const int n = BookmarkAtRow(FBookmarks.Rows(), index);
    if (n < 0)
        return;
    canvas.drawImage(lineNumWidth, y + (FControls.Viewer->LineHeight() - BookmarkIconSize) / 2,
                     FBookmarkIcons[size_t(n)]);
}

} // namespace ov
