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
    if (!HexViewer->isVisibleTo(this)) {
        Viewer->FinishLoading(); // the dialog offers every line
        TfGoto dialog(this);
        CenterDialog(dialog);
        const int line = dialog.Execute(Viewer->RowCount());
        if (line != -1)
            Viewer->SetTopIndex(line - 1);
        return;
    }
    TfGotoAddress dialog(this);
    // A large file widens the dialog: its size is known once it is prepared.
    dialog.Prepare(HexViewer->FileSize());
    CenterDialog(dialog);
    const int64_t address = dialog.Execute(HexViewer->FileSize());
    if (address != -1)
        HexViewer->SetTopIndex(address / 16);
}

void TMainForm::ToggleBookmarkClick(int tag) {
    ToggleBookmark(tag, Viewer->TopIndex());
}

void TMainForm::ToggleBookmark(int n, int top) {
    if (n < 0 || n >= BookmarkCount)
        return;
    int& bookmark = Bookmarks[size_t(n)];
    bookmark = bookmark == top ? -1 : top;
    RebuildBookmarkList();
}

void TMainForm::GotoBookmarkClick(int tag) {
    GotoBookmark(tag);
}

void TMainForm::GotoBookmark(int n) {
    if (n >= 0 && n < BookmarkCount && Bookmarks[size_t(n)] != -1)
        Viewer->SetTopIndex(Bookmarks[size_t(n)]);
}

// The document line a bookmark quotes: the line where its display row
// begins. A row the document no longer has quotes nothing.
std::string_view TMainForm::BookmarkLine(int row) const {
    if (row < 0 || row >= Viewer->RowCount())
        return {};
    const int line = Viewer->WordWrap() ? Viewer->WrapedToOrigin({0, row}).Y : row;
    if (line < 0 || line >= Viewer->Lines().Count())
        return {};
    return Viewer->Lines().GetView(line);
}

void TMainForm::RebuildBookmarkList() {
    lbBookmarks->clear();
    bool any = false;
    for (int n = 0; n < BookmarkCount; ++n) {
        const int row = Bookmarks[size_t(n)];
        if (row == -1)
            continue;
        any = true;
        lbBookmarks->addItem(QString::fromStdString(
            BookmarkListItem(n, BookmarkLine(row), Viewer->Lines().CharCoding())));
    }
    const int margin = std::clamp(Settings.ReadInteger("Option", "LeftMargin", 2), 0,
                                  int(UINT16_MAX) - (any ? Viewer->LineHeight() : 0));
    Viewer->SetLeftMargin(static_cast<uint16_t>(any ? margin + Viewer->LineHeight() - 2 : margin));
    Viewer->DrawScreen(true);
}

void TMainForm::ToggleBookmarks1Click() { UpdateActions(); }

void TMainForm::GotoBookmarks1Click() { UpdateActions(); }

void TMainForm::ShowBookmarks1Click() {
    const bool show = pBookmarks->isHidden();
    pBookmarks->setVisible(show);
    Splitter1->setVisible(show);
    if (show)
        lbBookmarks->setFocus();
    else if (!Viewer->isHidden())
        Viewer->setFocus();
    else if (!HexViewer->isHidden())
        HexViewer->setFocus();
}

// Not a menu command: the menu's mark is brought up to date here.
void TMainForm::sbCloseBookmarksClick() {
    ShowBookmarks1Click();
    UpdateActions();
}

void TMainForm::lbBookmarksDblClick() {
    const QListWidgetItem* item = lbBookmarks->currentItem();
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
    if (watched == lbBookmarks && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        lbBookmarksKeyDown(key->key(), key->modifiers());
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::lbBookmarksDrawItem(QPainter& canvas, int index, const QRect& rect, bool) {
    const QListWidgetItem* item = lbBookmarks->item(index);
    if (!item)
        return;
    canvas.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    BookmarkRowText(item->text(), Bookmarks));
}

void TMainForm::ViewerDrawLine(QPainter& canvas, int index, int y, int lineNumWidth) {
    const int n = BookmarkAtRow(Bookmarks, index);
    if (n < 0)
        return;
    canvas.drawImage(lineNumWidth, y + (Viewer->LineHeight() - BookmarkIconSize) / 2,
                     ilBookmark[size_t(n)]);
}

} // namespace ov
