#include "Searchstate.h"

#include "Messages.h"
#include "Regexsearch.h"
#include "Textsearch.h"
#include "Uiservices.h"

#include <climits>

namespace ov {

namespace {

// Where a search starts, in line coordinates.
TTextPoint SearchStart(const TOVSynTextViewer& view, const TFindOptions& options, int startColumn,
                       int startLine) {
    const TOVSynStringList& lines = view.Lines();
    const int lastLine = lines.Count() - 1;
    const TTextPoint endOfText{lines.GetLength(lastLine) - 1, lastLine};
    const bool fromMatch = startLine != -1;
    auto rowStart = [&view](int row) {
        return view.WordWrap() ? view.WrapedToOrigin({0, row}) : TTextPoint{0, row};
    };
    if (options.FromStart)
        return options.Backward ? endOfText : TTextPoint{0, 0};
    if (options.Backward) {
        if (fromMatch)
            return {startColumn - 1, startLine};
        // The bottom row of the window, or the end of the text when the
        // window reaches beyond it.
        const int bottom = view.TopIndex() + view.VisibleRows() - 1;
        return bottom > view.RowCount() - 1 ? endOfText : rowStart(bottom);
    }
    if (fromMatch)
        return {startColumn + 1, startLine};
    return rowStart(view.TopIndex());
}

// A backward search of a mapped text while it may still be indexed, on a
// worker: the lines indexed are searched over a second view of them, the
// lines beyond are read from the mapped bytes ahead of the index. It holds
// the mapping for as long as it lives.
class TBackwardSearch {
public:
    // False when the view's text is not mapped.
    bool Share(const TOVStringList& lines) {
        if (!FIndexed->ShareTakenLines(lines))
            return false;
        FLast = FIndexed->Count() - 1;
        FTail = lines.MappedTail(FLast);
        return true;
    }

    // The match the search of every line from start back gives (round the
    // end when the options say; from the end of the whole text for
    // FromStart); wrapped tells whether it was found only so.
    TDocumentHit Run(const TLineMatcher& matcher, const TFindOptions& options, TTextPoint start,
                     bool& wrapped, TJobControl& control) const {
        wrapped = false;
        const TTextPoint endOfIndexed{FIndexed->GetLength(FLast), FLast};
        const TTextPoint endOfText{INT_MAX, INT_MAX};
        TDocumentHit match;
        if (options.FromStart)
            match = Beyond(matcher, 0, endOfText, control);
        else if (start.Y > FLast) // a match not indexed yet
            match = Beyond(matcher, 0, start, control);
        if (!match.Found() && !control.Cancelled())
            match = Back(matcher, options.FromStart || start.Y > FLast ? endOfIndexed : start, 0,
                         control);
        if (match.Found() || !options.WrapAround || options.FromStart || control.Cancelled())
            return match;
        // Round the end down to the start's line, searched whole.
        match = Beyond(matcher, start.Y, endOfText, control);
        if (!match.Found() && !control.Cancelled() && start.Y <= FLast)
            match = Back(matcher, endOfIndexed, start.Y, control);
        wrapped = match.Found();
        return match;
    }

private:
    TDocumentHit Back(const TLineMatcher& matcher, TTextPoint from, int endLine,
                      TJobControl& control) const {
        return matcher.Search(*FIndexed, from.X, from.Y, endLine, TSearchDirection::Backward,
                              &control);
    }

    // The last match after the last line indexed, on a line from fromLine
    // on, at or before stop.
    TDocumentHit Beyond(const TLineMatcher& matcher, int fromLine, TTextPoint stop,
                        TJobControl& control) const {
        TDocumentHit found;
        // Column INT_MAX: the last line indexed is not searched again.
        matcher.ScanForward(
            FTail.Text, FLast, INT_MAX,
            [&](const TDocumentHit& hit) {
                if (hit.Line >= fromLine && (hit.Line < stop.Y || hit.Column <= stop.X))
                    found = hit;
                return true;
            },
            &control, stop.Y);
        return control.Cancelled() ? TDocumentHit() : found;
    }

    std::shared_ptr<TOVSynStringList> FIndexed = std::make_shared<TOVSynStringList>();
    int FLast = -1;
    TOVStringList::TMappedTail FTail; // from the last line indexed on
};

} // namespace

// The end is the first byte of the match's last character, as the view
// addresses a character.
TTextRange MatchRange(const TOVSynStringList& lines, const TDocumentHit& match) {
    std::string shown;
    const std::string_view text = lines.ShownView(match.Line, shown);
    const TCharCoding& coding = lines.CharCoding();
    const std::size_t end = std::size_t(match.Column + match.Length);
    std::size_t last = std::size_t(match.Column);
    for (std::size_t p = last; p < end && p < text.size(); p = coding.NextChar(text, p))
        last = p;
    return TTextRange({match.Column, match.Line}, {static_cast<int>(last), match.Line});
}

std::unique_ptr<TLineMatcher> MakeLineMatcher(const std::string& text, const TFindOptions& options,
                                              const TCharCoding& coding, std::string& error) {
    error.clear();
    if (!options.Regex)
        return std::make_unique<TPlainMatcher>(coding.FromUtf8(text), options.CaseSensitive,
                                               options.WholeWords, coding);
    auto regex =
        std::make_unique<TRegexSearch>(text, options.CaseSensitive, options.WholeWords, coding);
    if (!regex->Valid()) {
        error = RegexErrorMessage(regex->Error());
        return nullptr;
    }
    return regex;
}

void TSearchState::SetQuery(const std::string& text, const TFindOptions& options) {
    FText = text;
    FOptions = options;
}

bool TSearchState::Find(TOVSynTextViewer& view, const std::string& text,
                        const TFindOptions& options) {
    SetQuery(text, options);
    return Search(view, FText, FOptions, -1, -1);
}

bool TSearchState::FindAgain(TOVSynTextViewer& view, bool reverse, TSearchReport report) {
    if (FText.empty())
        return false;
    FOptions.FromStart = false;
    TFindOptions options = FOptions;
    options.Backward = FOptions.Backward != reverse;
    // Onward from the match: past its end forward, before its start
    // backward; from the screen when nothing was found last or the match,
    // still selected, has scrolled out of sight.
    TTextPoint start = FLastMatch == NoTextPoint ? NoTextPoint
                       : options.Backward        ? FLastRange.Start()
                                                 : FLastRange.End();
    if (FLastMatch != NoTextPoint &&
        (view.SelStart() == FLastMatch || view.SelEnd() == FLastMatch)) {
        const int row = view.WordWrap() ? view.OriginToWraped(FLastMatch).Y : FLastMatch.Y;
        if (row < view.TopIndex() || row > view.TopIndex() + view.VisibleRows())
            start = NoTextPoint;
    }
    return Search(view, FText, options, start.X, start.Y, report);
}

bool TSearchState::Search(TOVSynTextViewer& view, const std::string& text,
                          const TFindOptions& options, int startColumn, int startLine,
                          TSearchReport report) {
    FWrapped = false;
    FWentBackward = options.Backward;
    FPatternError.clear();
    FOutcome = TSearchOutcome::NotFound;
    if (view.RowCount() == 0 || view.Lines().Count() == 0)
        return false;
    const TOVSynStringList& lines = view.Lines();
    std::shared_ptr<const TLineMatcher> matcher =
        MakeLineMatcher(text, options, lines.CharCoding(), FPatternError);
    if (!matcher) {
        FOutcome = TSearchOutcome::BadPattern;
        if (report == TSearchReport::MessageBox)
            UIServices().ShowMessage(FPatternError, LoadStr(SWarning), TMessageIcon::Warning);
        return false;
    }
    if (view.WholeDocumentIsLong()) {
        FOutcome = TSearchOutcome::Running;
        SearchInBackground(view, std::move(matcher), options, startColumn, startLine, report);
        return false;
    }
    const TTextPoint start = SearchStart(view, options, startColumn, startLine);
    bool wrapped = false;
    const TDocumentHit match = SearchLines(lines, *matcher, options, start, wrapped, nullptr);
    FWrapped = wrapped;
    return ShowMatch(view, match, options.Backward, report);
}

// Round the end: from the other end up to the line the search began on,
// which is searched whole (what lay beyond the start held no match).
TDocumentHit TSearchState::SearchLines(const TOVStringList& lines, const TLineMatcher& matcher,
                                       const TFindOptions& options, TTextPoint start,
                                       bool& wrapped, TJobControl* control) {
    const TSearchDirection direction =
        options.Backward ? TSearchDirection::Backward : TSearchDirection::Forward;
    const int lastLine = lines.Count() - 1;
    TDocumentHit match =
        matcher.Search(lines, start.X, start.Y, options.Backward ? 0 : lastLine, direction, control);
    wrapped = false;
    if (!match.Found() && options.WrapAround && !options.FromStart &&
        !(control && control->Cancelled())) {
        const TTextPoint from =
            options.Backward ? TTextPoint{lines.GetLength(lastLine), lastLine} : TTextPoint{0, 0};
        match = matcher.Search(lines, from.X, from.Y, std::clamp(start.Y, 0, lastLine), direction,
                               control);
        wrapped = match.Found();
    }
    return match;
}

// Neither direction waits for the index. Forward, the worker reads the
// mapped bytes from the start on, ahead of the index (and round from the
// first line when wrapping). Backward, the lines from the start back to the
// first are indexed already (the start is on the screen or at the last
// match) and are searched over a second view of them; what lies beyond the
// lines indexed (round the end, or all of the text from its end) is read
// ahead of the index, its last match kept. A match found beyond the lines
// indexed is shown once the index reaches its line.
void TSearchState::SearchInBackground(TOVSynTextViewer& view,
                                      std::shared_ptr<const TLineMatcher> matcher,
                                      const TFindOptions& options, int startColumn,
                                      int startLine, TSearchReport report) {
    TViewerJob& job = view.Job();
    struct TResult {
        TDocumentHit Match;
        bool Wrapped = false;
    };
    auto result = std::make_shared<TResult>();
    auto show = [this, &view, result, backward = options.Backward, report] {
        FWrapped = result->Wrapped;
        ShowMatchWhenIndexed(view, result->Match, backward, report);
    };
    const TTextPoint start = SearchStart(view, options, startColumn, startLine);
    if (options.Backward) {
        auto search = std::make_shared<TBackwardSearch>();
        if (!search->Share(view.Lines()))
            return;
        job.Run(
            [search, matcher, options, start, result](TJobControl& control) {
                result->Match = search->Run(*matcher, options, start, result->Wrapped, control);
            },
            show);
        return;
    }
    const TOVStringList::TMappedTail tail = view.Lines().MappedTail(start.Y);
    const TOVStringList::TMappedTail whole = view.Lines().MappedTail(0);
    const bool wrap = options.WrapAround && !options.FromStart;
    job.Run(
        [tail, whole, matcher, start, wrap, result](TJobControl& control) {
            auto first = [&](const TDocumentHit& hit) {
                result->Match = hit;
                return false;
            };
            matcher->ScanForward(tail.Text, start.Y, start.X, first, &control);
            if (result->Match.Found() || !wrap || control.Cancelled())
                return;
            matcher->ScanForward(whole.Text, 0, 0, first, &control, start.Y);
            result->Wrapped = result->Match.Found();
        },
        show);
}

void TSearchState::ShowMatchWhenIndexed(TOVSynTextViewer& view, TDocumentHit match,
                                        bool backward, TSearchReport report) {
    if (!match.Found() || match.Line < view.Lines().Count()) {
        ShowMatch(view, match, backward, report);
        if (OnBackgroundSearchEnd)
            OnBackgroundSearchEnd();
        return;
    }
    // A file cut short meanwhile may end before the line: then there is no
    // match to show.
    view.Job().Await(
        [&view, match] { return match.Line < view.Lines().Count() || !view.Loading(); },
        [&view] { return view.LoadProgress(); },
        [this, &view, match, backward, report] {
            ShowMatchWhenIndexed(view, match.Line < view.Lines().Count() ? match : TDocumentHit(),
                                 backward, report);
        });
}

bool TSearchState::ShowMatch(TOVSynTextViewer& view, const TDocumentHit& match, bool backward,
                             TSearchReport report) {
    FOutcome = match.Found() ? TSearchOutcome::Found : TSearchOutcome::NotFound;
    if (!match.Found()) {
        FWrapped = false;
        if (report == TSearchReport::MessageBox)
            UIServices().ShowMessage(LoadStr(SNotFound), LoadStr(SInformation),
                                     TMessageIcon::Information);
        FLastMatch = NoTextPoint;
        FLastRange = {};
        return false;
    }
    const TTextRange found = MatchRange(view.Lines(), match);
    view.SetSelection(found);
    const int row = view.WordWrap() ? view.OriginToWraped({0, match.Line}).Y : match.Line;
    view.SetTopIndex(backward ? row - view.VisibleRows() + 2 : row);
    FLastMatch = backward ? found.Start() : found.End();
    FLastRange = found;
    return true;
}

} // namespace ov
