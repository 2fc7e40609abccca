// Find and Find Next of the main window: the find dialog, its history in the
// settings, the start point of each search and the scrolling to a match.

#include "Main.h"

#include "Find.h"
#include "Messages.h"
#include "Textsearch.h"
#include "Uiservices.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpradiobutton.h"

#include <QLineEdit>

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
    for (const std::string& line : Settings.ReadSectionValues(SFindHistory))
        items.push_back(LineValue(line));
    fFind->AppendHistory(items);
    fFind->SetHistoryLoaded(true);
}

void TMainForm::Find1Click() {
    if (!fFind->HistoryLoaded())
        LoadFindHistory();
    CenterDialog(*fFind);
    fFind->cbText->setFocus();
    fFind->cbText->lineEdit()->selectAll();
    if (fFind->exec() != QDialog::Accepted)
        return;
    FindText = fFind->Text();
    FindOptions.CaseSensitive = fFind->cbCaseSensitive->Checked();
    FindOptions.WholeWords = fFind->cbWholeWords->Checked();
    FindOptions.Backward = !fFind->rbFoward->Checked();
    FindOptions.FromStart = !fFind->rbCursor->Checked();
    SearchText(FindText, FindOptions, -1, -1);
}

void TMainForm::FindNext1Click() {
    if (FindText.empty())
        return;
    FindOptions.FromStart = false;
    TTextPoint start = LastMatch;
    if (LastMatch != NoTextPoint &&
        (Viewer->SelStart() == LastMatch || Viewer->SelEnd() == LastMatch)) {
        const int row = Viewer->WordWrap() ? Viewer->OriginToWraped(LastMatch).Y : LastMatch.Y;
        if (row < Viewer->TopIndex() || row > Viewer->TopIndex() + Viewer->VisibleRows())
            start = NoTextPoint;
    }
    SearchText(FindText, FindOptions, start.X, start.Y);
}

void TMainForm::ClearFindHistory1Click() {
    fFind->ClearHistory();
    Settings.EraseSection(SFindHistory);
}

TTextPoint TMainForm::SearchStart(const TFindOptions& options, int startColumn,
                                  int startLine) const {
    const TOVSynStringList& lines = Viewer->Lines();
    const int lastLine = lines.Count() - 1;
    const TTextPoint endOfText{lines.GetLength(lastLine) - 1, lastLine};
    const bool fromMatch = startColumn != -1 && startLine != -1;
    auto rowStart = [this](int row) {
        return Viewer->WordWrap() ? Viewer->WrapedToOrigin({0, row}) : TTextPoint{0, row};
    };
    if (options.FromStart)
        return options.Backward ? endOfText : TTextPoint{0, 0};
    if (options.Backward) {
        if (fromMatch)
            return {startColumn - 1, startLine};
        // The bottom row of the window, or the end of the text when the
        // window reaches beyond it.
        const int bottom = Viewer->TopIndex() + Viewer->VisibleRows() - 1;
        return bottom > Viewer->RowCount() - 1 ? endOfText : rowStart(bottom);
    }
    if (fromMatch)
        return {startColumn + 1, startLine};
    return rowStart(Viewer->TopIndex());
}

bool TMainForm::SearchText(const std::string& text, const TFindOptions& options, int startColumn,
                           int startLine) {
    Viewer->FinishLoading(); // a search may run to the last line
    if (Viewer->RowCount() == 0 || Viewer->Lines().Count() == 0)
        return false;
    const TOVSynStringList& lines = Viewer->Lines();
    const TTextPoint start = SearchStart(options, startColumn, startLine);
    const TSearchDirection direction =
        options.Backward ? TSearchDirection::Backward : TSearchDirection::Forward;
    const TCharCoding& coding = lines.CharCoding();
    const TTextSearch search(coding.FromUtf8(text), options.CaseSensitive, options.WholeWords,
                             coding);
    const TSearchMatch match = search.Search(lines, start.X, start.Y,
                                             options.Backward ? 0 : lines.Count() - 1, direction);
    if (!match.Found()) {
        UIServices().ShowMessage(LoadStr(SNotFound), LoadStr(SInformation),
                                 TMessageIcon::Information);
        LastMatch = NoTextPoint;
        return false;
    }
    // The end is the first byte of the match's last character, as the
    // view addresses a character.
    const TTextRange found({match.Column, match.Line},
                           {match.Column + search.LastCharOffset(), match.Line});
    Viewer->SetSelection(found);
    const int row = Viewer->WordWrap() ? Viewer->OriginToWraped({0, match.Line}).Y : match.Line;
    Viewer->SetTopIndex(options.Backward ? row - Viewer->VisibleRows() + 2 : row);
    LastMatch = options.Backward ? found.Start() : found.End();
    return true;
}

} // namespace ov
