// Find, Find Next and Find Previous of the main window: the find dialog, its
// history and its wrap-around switch in the settings, the status bar's note
// that a search went round; the search itself is TSearchState's.

#include "Main.h"

#include "Find.h"
#include "Messages.h"
#include "Textsearch.h"
#include "Uiservices.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpradiobutton.h"

#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace ov {

namespace {

constexpr const char* SFindHistory = "FindHistory";

// The value of a "key=value" line of the settings (the whole line when it
// has no "=").
std::string LineValue(const std::string& line) {
    size_t equals = line.find('=');
    return equals == std::string::npos ? line : line.substr(equals + 1);
}

} // namespace

void TMainForm::LoadFindHistory() {
    std::vector<std::string> items;
    for (const std::string& line : FSettings.ReadSectionValues(SFindHistory))
        items.push_back(LineValue(line));
    FControls.fFind->AppendHistory(items);
    FControls.fFind->SetHistoryLoaded(true);
}

void TMainForm::Find1Click() {
    TfFind& dialog = *FControls.fFind;
    if (!dialog.HistoryLoaded())
        LoadFindHistory();
    CenterDialog(dialog);
    dialog.cbText->setFocus();
    dialog.cbText->lineEdit()->selectAll();
    if (dialog.exec() != QDialog::Accepted)
        return;
    TFindOptions options;
    options.CaseSensitive = dialog.cbCaseSensitive->Checked();
    options.WholeWords = dialog.cbWholeWords->Checked();
    options.Backward = !dialog.rbFoward->Checked();
    options.FromStart = !dialog.rbCursor->Checked();
    options.Regex = dialog.cbRegex->Checked();
    options.WrapAround = dialog.cbWrapAround->Checked();
    FSearch.Find(*FControls.Viewer, dialog.Text(), options);
    ShowSearchNote();
}

void TMainForm::FindNext1Click() {
    FSearch.FindNext(*FControls.Viewer);
    ShowSearchNote();
}

void TMainForm::FindPrevious1Click() {
    FSearch.FindPrevious(*FControls.Viewer);
    ShowSearchNote();
}

void TMainForm::ShowSearchNote() {
    if (!FSearch.Wrapped()) {
        FControls.SearchNote->hide();
        return;
    }
    FControls.SearchNote->setText(FSearch.WentBackward()
                                      ? QStringLiteral("처음에 이르러 끝에서부터 찾았습니다")
                                      : QStringLiteral("끝에 이르러 처음부터 찾았습니다"));
    FControls.SearchNote->show();
    FControls.SearchNoteTimer->start();
}

void TMainForm::ClearFindHistory1Click() {
    FControls.fFind->ClearHistory();
    FSettings.EraseSection(SFindHistory);
}

bool TMainForm::SearchText(const std::string& text, const TFindOptions& options, int startColumn,
                           int startLine) {
    const bool found = FSearch.Search(*FControls.Viewer, text, options, startColumn, startLine);
    ShowSearchNote();
    return found;
}

} // namespace ov
