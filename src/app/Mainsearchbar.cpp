// The search bar of the main window: it searches the shown view as the text
// is typed, from an anchor (the top row when the bar opened, then the match
// Enter went to), quietly: the entry turns red instead of a message box. It
// shares the find dialog's history and options, and sets the query that
// Find Next and Find Previous repeat.

#include "Main.h"

#include "Codepage.h"
#include "Find.h"
#include "Hexfind.h"
#include "Searchbar.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpedit.h"

#include <QTimer>

namespace ov {

namespace {

// The pause after a keystroke before a long file is searched, so that a
// word typed quickly starts one search, not one a letter.
constexpr int SearchBarPauseMs = 200;
// A hex view's file is searched on the window's thread; from this size on
// the bar waits for a pause in the typing.
constexpr int64_t SlowHexSearchBytes = int64_t(16) << 20;

} // namespace

void TMainForm::CreateSearchBar(QWidget* parent) {
    auto* bar = new TSearchBar(parent);
    FControls.SearchBar = bar;
    bar->hide();
    bar->OnTextChange = [this] { RunCommand([&] { SearchBarTextChange(); }); };
    bar->OnEnter = [this](bool backward) { RunCommand([&] { SearchBarEnter(backward); }); };
    bar->OnList = [this] {
        RunCommand([this] { ShowMatchList(FControls.SearchBar->Text(), SearchBarOptions()); });
    };
    bar->OnClose = [this] { RunCommand([&] { CloseSearchBar(); }); };
    bar->OnOptionChange = [this] {
        RunCommand([&] {
            GiveBarOptionsToDialog();
            SearchBarTextChange();
        });
    };
    bar->OnHistory = [this] {
        std::vector<QString> items;
        for (const std::string& item : FControls.fFind->History())
            items.push_back(QString::fromStdString(item));
        return items;
    };
    FControls.SearchBarTimer = new QTimer(this);
    FControls.SearchBarTimer->setSingleShot(true);
    FControls.SearchBarTimer->setInterval(SearchBarPauseMs);
    connect(FControls.SearchBarTimer, &QTimer::timeout, this,
            [this] { RunCommand([&] { RunSearchBarSearch(); }); });
}

void TMainForm::SearchBar1Click() {
    TSearchBar& bar = *FControls.SearchBar;
    if (!FControls.fFind->HistoryLoaded())
        LoadFindHistory();
    TakeDialogOptionsToBar();
    if (!FControls.HexViewer->isHidden()) {
        FBarHexAnchor = std::max<int64_t>(FControls.HexViewer->TopIndex(), 0) * HexBytesPerRow;
    } else {
        const TTextViewControl& view = *FControls.Viewer;
        const int row = std::max(view.TopIndex(), 0);
        FBarAnchor = view.WordWrap() && view.RowCount() > 0 ? view.WrapedToOrigin({0, row})
                                                            : TTextPoint{0, row};
    }
    bar.show();
    bar.edText->setFocus();
    bar.edText->selectAll();
}

void TMainForm::CloseSearchBar() {
    FControls.SearchBarTimer->stop();
    StopSearchBarSearch();
    FControls.SearchBar->hide();
    if (!FControls.HexViewer->isHidden())
        FControls.HexViewer->setFocus();
    else
        FControls.Viewer->setFocus();
}

TFindOptions TMainForm::SearchBarOptions() const {
    const TSearchBar& bar = *FControls.SearchBar;
    TFindOptions options;
    options.CaseSensitive = bar.cbCaseSensitive->Checked();
    options.WholeWords = bar.cbWholeWords->Checked();
    options.Regex = bar.cbRegex->Checked();
    options.WrapAround = bar.cbWrapAround->Checked();
    return options;
}

void TMainForm::TakeDialogOptionsToBar() {
    TSearchBar& bar = *FControls.SearchBar;
    const TfFind& dialog = *FControls.fFind;
    TSearchBarOptionsGuard guard(bar);
    bar.cbCaseSensitive->SetChecked(dialog.cbCaseSensitive->Checked());
    bar.cbWholeWords->SetChecked(dialog.cbWholeWords->Checked());
    bar.cbRegex->SetChecked(dialog.cbRegex->Checked());
    bar.cbWrapAround->SetChecked(dialog.cbWrapAround->Checked());
    bar.cbHexBytes->SetChecked(dialog.cbHexBytes->Checked());
}

void TMainForm::GiveBarOptionsToDialog() {
    const TSearchBar& bar = *FControls.SearchBar;
    TfFind& dialog = *FControls.fFind;
    dialog.cbCaseSensitive->SetChecked(bar.cbCaseSensitive->Checked());
    dialog.cbWholeWords->SetChecked(bar.cbWholeWords->Checked());
    dialog.cbRegex->SetChecked(bar.cbRegex->Checked());
    dialog.cbWrapAround->SetChecked(bar.cbWrapAround->Checked());
    dialog.cbHexBytes->SetChecked(bar.cbHexBytes->Checked());
}

// A long file waits for a pause in the typing; a search of the bar's that
// still runs is stopped at once, whatever follows.
void TMainForm::SearchBarTextChange() {
    StopSearchBarSearch();
    const bool hex = !FControls.HexViewer->isHidden();
    const bool slow = hex ? FControls.HexViewer->FileSize() >= SlowHexSearchBytes
                          : FControls.Viewer->WholeDocumentIsLong();
    if (slow && !FControls.SearchBar->Text().empty()) {
        ShowSearchBarOutcome(TSearchOutcome::None);
        FControls.SearchBarTimer->start();
        return;
    }
    RunSearchBarSearch();
}

void TMainForm::StopSearchBarSearch() {
    if (FBarSearchRunning != TBarSearch::None && FControls.Viewer->JobRunning())
        FControls.Viewer->Job().Cancel();
    FBarSearchRunning = TBarSearch::None;
    FHexBarJob.Cancel();
}

void TMainForm::RunSearchBarSearch() {
    FControls.SearchBarTimer->stop();
    StopSearchBarSearch();
    const std::string text = FControls.SearchBar->Text();
    if (text.empty()) {
        ShowSearchBarOutcome(TSearchOutcome::None);
        ClearMatchHighlight();
        return;
    }
    const TFindOptions options = SearchBarOptions();
    if (!FControls.HexViewer->isHidden()) {
        RunSearchBarHexSearch(options);
        return;
    }
    TTextViewControl& view = *FControls.Viewer;
    FSearch.SetQuery(text, options);
    SetMatchHighlight(text, options);
    // The anchor of a file read again or replaced may lie past its end.
    const TTextPoint from = FBarAnchor.Y < view.Lines().Count() ? FBarAnchor : TTextPoint{0, 0};
    FSearch.Search(view, text, options, from.X - 1, from.Y, TSearchReport::Quiet);
    if (FSearch.Outcome() == TSearchOutcome::Running)
        FBarSearchRunning = TBarSearch::Typed;
    ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
    ShowSearchBarOutcome(FSearch.Outcome(), FSearch.PatternError());
}

// A text is looked for as the bytes the character column shows it by, as
// the find dialog does; hexadecimal pairs while they are not yet whole
// count as a bad pattern.
bool TMainForm::RunSearchBarHexSearch(const TFindOptions& options) {
    const bool hexBytes = FControls.SearchBar->cbHexBytes->Checked();
    if (!SetHexSearch(FControls.SearchBar->Text(), options, hexBytes)) {
        ShowSearchBarOutcome(TSearchOutcome::BadPattern,
                             "16진수 바이트열이 올바르지 않습니다 (예: DE AD BE EF)");
        ClearMatchHighlight();
        return false;
    }
    const int64_t from = FBarHexAnchor < FControls.HexViewer->FileSize() ? FBarHexAnchor : 0;
    if (FControls.HexViewer->FileSize() >= SlowHexSearchBytes) {
        SearchHexInBackground(FHexSearch.Options, from);
        return false;
    }
    const bool found = HexSearch(FHexSearch.Options, from, TSearchReport::Quiet);
    ShowSearchBarOutcome(found ? TSearchOutcome::Found : TSearchOutcome::NotFound);
    return found;
}

// The worker reads its own opening of the file (or shares the copy of an
// unsized one), so closing the file meanwhile frees nothing under it; the
// next keystroke, Escape and closing the file cancel it.
void TMainForm::SearchHexInBackground(const TFindOptions& options, int64_t from) {
    const THexViewControl& view = *FControls.HexViewer;
    TSharedFile file = view.UnsizedFile() ? view.UnsizedFile() : OpenSharedFile(view.FileName());
    if (!file) {
        ShowSearchBarOutcome(TSearchOutcome::NotFound);
        return;
    }
    struct TResult {
        int64_t Hit = -1;
        bool Wrapped = false;
    };
    auto result = std::make_shared<TResult>();
    const int64_t size = view.FileSize();
    const std::string bytes = FHexSearch.Bytes;
    FHexBarJob.Run(
        [file, size, bytes, options, from, result](TJobControl& control) {
            const std::atomic<bool>* cancel = &control.CancelFlag();
            result->Hit = FindBytes(*file, size, bytes, options.CaseSensitive, from, false,
                                    1 << 20, cancel);
            if (result->Hit < 0 && options.WrapAround && !control.Cancelled()) {
                result->Hit =
                    FindBytes(*file, size, bytes, options.CaseSensitive, 0, false, 1 << 20, cancel);
                result->Wrapped = result->Hit >= 0;
            }
        },
        [this, result, length = int64_t(bytes.size())] {
            FHexSearch.Match = result->Hit;
            ShowSearchNote(result->Wrapped, false);
            if (result->Hit >= 0)
                FControls.HexViewer->SetMark(result->Hit, length);
            ShowSearchBarOutcome(result->Hit >= 0 ? TSearchOutcome::Found
                                                  : TSearchOutcome::NotFound);
            UpdateActions();
        });
    ShowSearchBarOutcome(TSearchOutcome::Running);
}

// Enter goes on to the next match (Shift+Enter: the one before) and puts
// the text into the find history; the search typed last runs first when it
// is still waiting for the pause.
void TMainForm::SearchBarEnter(bool backward) {
    const std::string text = FControls.SearchBar->Text();
    if (text.empty())
        return;
    FControls.fFind->AddToHistory(QString::fromStdString(text));
    if (FControls.SearchBarTimer->isActive()) {
        RunSearchBarSearch();
        return;
    }
    if (!FControls.HexViewer->isHidden()) {
        // The first match of a large file is still being looked for.
        if (FHexBarJob.Running())
            return;
        if (FHexSearch.Bytes.empty()) {
            RunSearchBarSearch();
            return;
        }
        const bool found = HexFindAgain(backward, TSearchReport::Quiet);
        if (found)
            FBarHexAnchor = FHexSearch.Match;
        ShowSearchBarOutcome(found ? TSearchOutcome::Found : TSearchOutcome::NotFound);
        return;
    }
    if (FSearch.Outcome() == TSearchOutcome::BadPattern)
        return;
    StopSearchBarSearch();
    TTextViewControl& view = *FControls.Viewer;
    FSearch.SetQuery(text, SearchBarOptions());
    SetMatchHighlight(text, SearchBarOptions());
    if (backward)
        FSearch.FindPrevious(view, TSearchReport::Quiet);
    else
        FSearch.FindNext(view, TSearchReport::Quiet);
    if (FSearch.Outcome() == TSearchOutcome::Running)
        FBarSearchRunning = TBarSearch::Stepped;
    if (FSearch.Outcome() == TSearchOutcome::Found)
        FBarAnchor = FSearch.LastRange().Start();
    ShowSearchNote(FSearch.Wrapped(), FSearch.WentBackward());
    ShowSearchBarOutcome(FSearch.Outcome(), FSearch.PatternError());
}

void TMainForm::ShowSearchBarOutcome(TSearchOutcome outcome, const std::string& error) {
    TSearchBar& bar = *FControls.SearchBar;
    bar.SetNoMatch(outcome == TSearchOutcome::NotFound || outcome == TSearchOutcome::BadPattern);
    switch (outcome) {
    case TSearchOutcome::NotFound:
        bar.SetNote(QStringLiteral("찾는 문자열이 없습니다"));
        break;
    case TSearchOutcome::BadPattern:
        bar.SetNote(QString::fromStdString(error));
        break;
    case TSearchOutcome::Running:
        bar.SetNote(QStringLiteral("찾는 중..."));
        break;
    default:
        bar.SetNote({});
        break;
    }
}

} // namespace ov
