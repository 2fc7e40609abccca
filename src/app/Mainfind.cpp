// Find, Find Next and Find Previous of the main window: the find dialog, its
// history and its wrap-around switch in the settings, the status bar's note
// that a search went round; the search itself is TSearchState's.

#include "Main.h"

#include "Codepage.h"
#include "Find.h"
#include "Hexfind.h"
#include "Matchlist.h"
#include "Messages.h"
#include "Searchbar.h"
#include "Splitterbar.h"
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
    const bool hex = !FControls.HexViewer->isHidden();
    // Words and expressions are of text lines; byte strings of the hex view.
    dialog.cbHexBytes->setEnabled(hex);
    dialog.cbRegex->setEnabled(!hex);
    dialog.cbWholeWords->setEnabled(!hex);
    CenterDialog(dialog);
    dialog.cbText->setFocus();
    dialog.cbText->lineEdit()->selectAll();
    const int answer = dialog.exec();
    // The bar shows the options as the dialog left them.
    if (!FControls.SearchBar->isHidden())
        TakeDialogOptionsToBar();
    if (answer != QDialog::Accepted)
        return;
    // The dialog's search takes the view's job over from the bar's.
    FBarSearchRunning = TBarSearch::None;
    TFindOptions options;
    options.CaseSensitive = dialog.cbCaseSensitive->Checked();
    options.WholeWords = dialog.cbWholeWords->Checked();
    options.Backward = !dialog.rbFoward->Checked();
    options.FromStart = !dialog.rbCursor->Checked();
    options.Regex = dialog.cbRegex->Checked();
    options.WrapAround = dialog.cbWrapAround->Checked();
    if (hex) {
        FindInHexView(dialog.Text(), options, dialog.cbHexBytes->Checked());
        return;
    }
    if (dialog.ListRequested()) {
        ShowMatchList(dialog.Text(), options);
        return;
    }
    FSearch.Find(*FControls.Viewer, dialog.Text(), options);
    ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
    SetMatchHighlight(FSearch.Text(), FSearch.Options());
}

void TMainForm::FindNext1Click() {
    if (!FControls.HexViewer->isHidden()) {
        HexFindAgain(false);
        return;
    }
    FSearch.FindNext(*FControls.Viewer);
    ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
    SetMatchHighlight(FSearch.Text(), FSearch.Options());
}

void TMainForm::FindPrevious1Click() {
    if (!FControls.HexViewer->isHidden()) {
        HexFindAgain(true);
        return;
    }
    FSearch.FindPrevious(*FControls.Viewer);
    ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
    SetMatchHighlight(FSearch.Text(), FSearch.Options());
}

void TMainForm::MatchList1Click() {
    if (!FControls.MatchList->isHidden()) {
        HideMatchList();
        return;
    }
    if (FSearch.CanFindNext())
        ShowMatchList(FSearch.Text(), FSearch.Options());
    else
        Find1Click();
}

void TMainForm::ShowMatchList(const std::string& text, const TFindOptions& options) {
    if (text.empty() || !FControls.HexViewer->isHidden())
        return;
    if (!FControls.MatchList->Start(text, options))
        return;
    FSearch.SetQuery(text, options);
    FControls.Splitter2->show();
    FControls.MatchList->show();
    FControls.MatchList->Rows()->setFocus();
}

void TMainForm::HideMatchList() {
    FControls.MatchList->Stop();
    FControls.MatchList->hide();
    FControls.Splitter2->hide();
    if (!FControls.Viewer->isHidden())
        FControls.Viewer->setFocus();
}

void TMainForm::ShowSearchNote(bool wrapped, bool backward) {
    if (!wrapped) {
        FControls.SearchNote->hide();
        return;
    }
    FControls.SearchNote->setText(backward ? QStringLiteral("처음에 이르러 끝에서부터 찾았습니다")
                                           : QStringLiteral("끝에 이르러 처음부터 찾았습니다"));
    FControls.SearchNote->show();
    FControls.SearchNoteTimer->start();
}

// A text is looked for as the bytes the character column shows it by (the
// code page); hexadecimal pairs as the bytes they give.
bool TMainForm::SetHexSearch(const std::string& text, const TFindOptions& options,
                             bool hexBytes) {
    std::string bytes;
    if (hexBytes) {
        const std::optional<std::string> parsed = ParseHexBytes(text);
        if (!parsed)
            return false;
        bytes = *parsed;
    } else {
        bytes = AnsiFromUtf8(text);
    }
    FHexSearch.Bytes = bytes;
    FHexSearch.Options = options;
    // A byte string has no letter case.
    if (hexBytes)
        FHexSearch.Options.CaseSensitive = true;
    FHexSearch.Match = -1;
    FControls.HexViewer->SetMatchBytes(FHexSearch.Bytes, FHexSearch.Options.CaseSensitive);
    return true;
}

void TMainForm::FindInHexView(const std::string& text, const TFindOptions& options,
                              bool hexBytes) {
    if (!SetHexSearch(text, options, hexBytes)) {
        UIServices().ShowMessage("16진수 바이트열이 올바르지 않습니다. 두 자리씩 적어 주십시오 "
                                 "(예: DE AD BE EF).",
                                 LoadStr(SWarning), TMessageIcon::Warning);
        return;
    }
    const THexViewControl& view = *FControls.HexViewer;
    const int64_t top = std::max<int64_t>(view.TopIndex(), 0) * HexBytesPerRow;
    const int64_t from = options.FromStart ? (options.Backward ? view.FileSize() - 1 : 0)
                         : options.Backward
                             ? top + int64_t(std::max(view.PageRows(), 1)) * HexBytesPerRow - 1
                             : top;
    HexSearch(FHexSearch.Options, from);
    FHexSearch.Options.FromStart = false;
}

bool TMainForm::HexFindAgain(bool reverse, TSearchReport report) {
    if (FHexSearch.Bytes.empty())
        return false;
    // Finding again brings back the marks Escape cleared, as in the text.
    FControls.HexViewer->SetMatchBytes(FHexSearch.Bytes, FHexSearch.Options.CaseSensitive);
    TFindOptions options = FHexSearch.Options;
    options.Backward = options.Backward != reverse;
    const THexViewControl& view = *FControls.HexViewer;
    const int64_t top = std::max<int64_t>(view.TopIndex(), 0) * HexBytesPerRow;
    const int64_t from = FHexSearch.Match >= 0 ? FHexSearch.Match + (options.Backward ? -1 : 1)
                         : options.Backward
                             ? top + int64_t(std::max(view.PageRows(), 1)) * HexBytesPerRow - 1
                             : top;
    return HexSearch(options, from, report);
}

bool TMainForm::HexSearch(const TFindOptions& options, int64_t from, TSearchReport report) {
    THexViewControl& view = *FControls.HexViewer;
    const std::string& bytes = FHexSearch.Bytes;
    int64_t hit = view.FindBytes(bytes, options.CaseSensitive, from, options.Backward);
    bool wrapped = false;
    if (hit < 0 && options.WrapAround && !options.FromStart) {
        hit = view.FindBytes(bytes, options.CaseSensitive,
                             options.Backward ? view.FileSize() - 1 : 0, options.Backward);
        wrapped = hit >= 0;
    }
    ShowSearchNote(wrapped, options.Backward);
    if (hit < 0) {
        if (report == TSearchReport::MessageBox)
            UIServices().ShowMessage(LoadStr(SNotFound), LoadStr(SInformation),
                                     TMessageIcon::Information);
        FHexSearch.Match = -1;
        return false;
    }
    FHexSearch.Match = hit;
    view.SetMark(hit, static_cast<int64_t>(bytes.size()));
    return true;
}

// The view asks for a matcher for each document it is given, in that
// document's coding; a regular expression that does not compile marks
// nothing (its Find has said why).
void TMainForm::SetMatchHighlight(const std::string& text, const TFindOptions& options) {
    if (text.empty()) {
        ClearMatchHighlight();
        return;
    }
    if (text == FMatchText && options.CaseSensitive == FMatchOptions.CaseSensitive &&
        options.WholeWords == FMatchOptions.WholeWords && options.Regex == FMatchOptions.Regex)
        return;
    FMatchText = text;
    FMatchOptions = options;
    FControls.Viewer->SetMatchHighlight([text, options](const TCharCoding& coding) {
        std::string error;
        return MakeLineMatcher(text, options, coding, error);
    });
}

void TMainForm::ClearMatchHighlight() {
    FMatchText.clear();
    FControls.Viewer->ClearMatchHighlight();
    FControls.HexViewer->ClearMatchBytes();
}

// "일치 1,234개"; "일치 1,234+개" while the count goes on.
void TMainForm::UpdateMatchPanel() {
    const TOVSynTextViewer& view = *FControls.Viewer;
    if (!view.MatchHighlightActive() || view.Lines().Count() == 0) {
        FControls.MatchPanel->hide();
        return;
    }
    const TOVSynTextViewer::TMatchCount count = view.MatchCount();
    std::string digits = std::to_string(count.Count);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), ",");
    FControls.MatchPanel->setText(QStringLiteral("일치 %1%2개")
                                      .arg(QString::fromStdString(digits),
                                           count.Complete ? QString() : QStringLiteral("+")));
    FControls.MatchPanel->show();
}

void TMainForm::ClearFindHistory1Click() {
    FControls.fFind->ClearHistory();
    FSettings.EraseSection(SFindHistory);
}

bool TMainForm::SearchText(const std::string& text, const TFindOptions& options, int startColumn,
                           int startLine) {
    const bool found = FSearch.Search(*FControls.Viewer, text, options, startColumn, startLine);
    ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
    return found;
}

} // namespace ov
