// UpdateActions: the menus' enabled states, check marks and state-dependent
// captions, derived in one place from the state of the window and its views.
// Nothing else in the window enables, disables or marks a menu item.

#include "Main.h"

#include "Messages.h"
#include "Qtcodepage.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTimer>

namespace ov {

void TMainForm::UpdateActions() {
    const bool open = !CurrentFileName.empty();
    const bool hex = !HexViewer->isHidden();

    // File menu and pop-up menu: what needs a file.
    for (QAction* item : {Close1, Close2, Refresh1, SaveasHTML1})
        item->setEnabled(open);
    // The Edit menu exists only while a file is open.
    Edit1->menuAction()->setVisible(open);

    // View menu.
    WordWrap1->setChecked(Viewer->WordWrap());
    ShowLineNumber1->setChecked(Viewer->ShowLineNum());
    HexView1->setChecked(hex);
    // The caption names the mode a click switches to.
    UseFont1->setText(
        QString::fromUtf8(LoadStr(Viewer->UseBitmapFont() ? SUseWindowFont : SUseBitmapFont)));
    AutoScroll2->setChecked(ScrollTimer->isActive());
    // The encoding choice reads a shown text file again; it means nothing
    // to the hex view.
    Encoding1->menuAction()->setEnabled(open && !hex);
    AutoDetect1->setChecked(CodingChoice == TCodingChoice::Auto);
    Cp9491->setChecked(CodingChoice == TCodingChoice::Cp949);
    Utf81->setChecked(CodingChoice == TCodingChoice::Utf8);
    SyntaxHighlighting1->menuAction()->setEnabled(open);
    UpdateLanguageMarks();

    // Edit menu: the marks of the set bookmarks, the panel's mark, and Find
    // Next once there is a text to find again.
    for (QMenu* menu : {ToggleBookmarks1, GotoBookmarks1})
        for (QAction* item : menu->actions())
            item->setChecked(Bookmarks[size_t(ItemTag(item))] != -1);
    ShowBookmarks1->setChecked(!pBookmarks->isHidden());
    FindNext1->setEnabled(!FindText.empty());
    // Copy needs a selection in the text view, Copy All a text in it; both
    // act on the text view only, so the hex view disables them.
    const bool text = !hex && Viewer->Lines().Count() > 0;
    for (QAction* item : {Copy1, Copy2})
        item->setEnabled(text && Viewer->IsSelection());
    for (QAction* item : {CopyAll1, CopyAll2})
        item->setEnabled(text);
}

// None1 while the view has no language; otherwise the first item whose
// caption is the language's name, letter case significant. A language with
// no item (a name that differs from its entry in letter case) marks nothing:
// a stale mark would name a language that is not in use.
void TMainForm::UpdateLanguageMarks() {
    const std::string& language = Viewer->SynLang();
    QAction* current = nullptr;
    if (language.empty()) {
        current = None1;
    } else {
        const QString caption = QStringFromAnsi(language);
        for (QAction* item : SyntaxHighlighting1->actions()) {
            if (item != None1 && !item->isSeparator() && item->text() == caption) {
                current = item;
                break;
            }
        }
    }
    for (QAction* item : SynLangGroup->actions())
        item->setChecked(item == current);
}

} // namespace ov
