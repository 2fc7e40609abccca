// UpdateActions: the menus' enabled states, check marks and state-dependent
// captions, derived in one place from the state of the window and its views.
// Nothing else in the window enables, disables or marks a menu item.

#include "Main.h"
#include "Matchlist.h"

#include "Messages.h"
#include "Searchbar.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Qtcodepage.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTimer>

namespace ov {

void TMainForm::UpdateActions() {
    const bool open = FDocument.IsOpen();
    const bool hex = !FControls.HexViewer->isHidden();

    // File menu and pop-up menu: what needs a file.
    for (QAction* item : {FMenus.Close1, FMenus.Close2, FMenus.Refresh1, FMenus.SaveasHTML1})
        item->setEnabled(open);
    // The Edit menu exists only while a file is open.
    FMenus.Edit1->menuAction()->setVisible(open);

    // View menu.
    FMenus.WordWrap1->setChecked(FControls.Viewer->WordWrap());
    FMenus.ShowLineNumber1->setChecked(FControls.Viewer->ShowLineNum());
    FMenus.HexView1->setChecked(hex);
    FMenus.Follow1->setEnabled(open);
    FMenus.Follow1->setChecked(FFollowMode == TFollowMode::On);
    // The caption names the mode a click switches to.
    FMenus.UseFont1->setText(QString::fromUtf8(
        LoadStr(FControls.Viewer->UseBitmapFont() ? SUseWindowFont : SUseBitmapFont)));
    FMenus.AutoScroll2->setChecked(FControls.ScrollTimer->isActive());
    // The encoding choice reads a shown text file again; it means nothing
    // to the hex view.
    FMenus.Encoding1->menuAction()->setEnabled(open && !hex);
    // 자동 감지 is marked while no encoding is chosen by hand; the encoding
    // the shown text was read in is marked whether detected or chosen.
    FMenus.AutoDetect1->setChecked(FDocument.CodingChoice() == TCodingChoice());
    std::optional<TFileEncoding> inUse = FDocument.Encoding();
    if (inUse == TFileEncoding::Utf8Bom)
        inUse = TFileEncoding::Utf8;
    for (QAction* item : FMenus.EncodingItems)
        item->setChecked(inUse && item->data().toInt() == static_cast<int>(*inUse));
    FMenus.SyntaxHighlighting1->menuAction()->setEnabled(open);
    UpdateLanguageMarks();

    // Edit menu: the marks of the set bookmarks, the panel's mark, and Find
    // Next and Find Previous once there is a text to find again.
    for (QMenu* menu : {FMenus.ToggleBookmarks1, FMenus.GotoBookmarks1})
        for (QAction* item : menu->actions())
            item->setChecked(FBookmarks.IsSet(ItemTag(item)));
    FMenus.ShowBookmarks1->setChecked(!FControls.pBookmarks->isHidden());
    const bool canFindNext = hex ? !FHexSearch.Bytes.empty() : FSearch.CanFindNext();
    FMenus.FindNext1->setEnabled(canFindNext);
    FMenus.FindPrevious1->setEnabled(canFindNext);
    // The search bar searches the shown view: words and expressions the
    // text view, byte strings the hex view.
    FMenus.SearchBar1->setEnabled(open);
    FControls.SearchBar->cbWholeWords->setEnabled(!hex);
    FControls.SearchBar->cbRegex->setEnabled(!hex);
    FControls.SearchBar->cbHexBytes->setVisible(hex);
    FControls.SearchBar->bList->setVisible(!hex);
    FMenus.MatchList1->setEnabled(!hex && FDocument.IsOpen());
    FMenus.MatchList1->setChecked(!FControls.MatchList->isHidden());
    // Copy needs a selection in the text view, Copy All a text in it; both
    // act on the text view only, so the hex view disables them.
    const bool text = !hex && FControls.Viewer->Lines().Count() > 0;
    for (QAction* item : {FMenus.Copy1, FMenus.Copy2})
        item->setEnabled(text && FControls.Viewer->IsSelection());
    for (QAction* item : {FMenus.CopyAll1, FMenus.CopyAll2})
        item->setEnabled(text);
}

// None1 while the view has no language; otherwise the first item whose
// caption is the language's name, letter case significant. A language with
// no item (a name that differs from its entry in letter case) marks nothing:
// a stale mark would name a language that is not in use.
void TMainForm::UpdateLanguageMarks() {
    const std::string& language = FControls.Viewer->SynLang();
    QAction* current = nullptr;
    if (language.empty()) {
        current = FMenus.None1;
    } else {
        const QString caption = QStringFromAnsi(language);
        for (QAction* item : FMenus.SyntaxHighlighting1->actions()) {
            if (item != FMenus.None1 && !item->isSeparator() && item->text() == caption) {
                current = item;
                break;
            }
        }
    }
    for (QAction* item : FMenus.SynLangGroup->actions())
        item->setChecked(item == current);
}

} // namespace ov
