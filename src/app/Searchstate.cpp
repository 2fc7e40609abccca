#include "Searchstate.h"

#include "Messages.h"
#include "Regexsearch.h"
#include "Textsearch.h"
#include "Uiservices.h"

namespace ov {

namespace {

// Where a search starts, in line coordinates.
TTextPoint SearchStart(const TOVSynTextViewer& view, const TFindOptions& options, int startColumn,
                       int startLine) {
    const TOVSynStringList& lines = view.Lines();
    const int lastLine = lines.Count() - 1;
    const TTextPoint endOfText{lines.GetLength(lastLine) - 1, lastLine};
    const bool fromMatch = startColumn != -1 && startLine != -1;
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

// The first byte of the last character of the run column .. column + length
// - 1 of line: the end of a selection as the view addresses characters.
int LastCharColumn(const TOVSynStringList& lines, int line, int column, int length) {
    std::string shown;
    const std::string_view text = lines.ShownView(line, shown);
    const TCharCoding& coding = lines.CharCoding();
    const std::size_t end = std::size_t(column + length);
    std::size_t last = std::size_t(column);
    for (std::size_t p = last; p < end && p < text.size(); p = coding.NextChar(text, p))
        last = p;
    return static_cast<int>(last);
}

} // namespace

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

bool TSearchState::FindAgain(TOVSynTextViewer& view, bool reverse) {
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
    return Search(view, FText, options, start.X, start.Y);
}

bool TSearchState::Search(TOVSynTextViewer& view, const std::string& text,
                          const TFindOptions& options, int startColumn, int startLine) {
    FWrapped = false;
    FWentBackward = options.Backward;
    view.FinishLoading(); // a search may run to the last line
    if (view.RowCount() == 0 || view.Lines().Count() == 0)
        return false;
    const TOVSynStringList& lines = view.Lines();
    std::string error;
    const std::unique_ptr<TLineMatcher> matcher =
        MakeLineMatcher(text, options, lines.CharCoding(), error);
    if (!matcher) {
        UIServices().ShowMessage(error, LoadStr(SWarning), TMessageIcon::Warning);
        return false;
    }
    const TTextPoint start = SearchStart(view, options, startColumn, startLine);
    const TSearchDirection direction =
        options.Backward ? TSearchDirection::Backward : TSearchDirection::Forward;
    const int lastLine = lines.Count() - 1;
    TDocumentHit match =
        matcher->Search(lines, start.X, start.Y, options.Backward ? 0 : lastLine, direction);
    // Round the end: from the other end up to the line the search began on,
    // which is searched whole (what lay beyond the start held no match).
    if (!match.Found() && options.WrapAround && !options.FromStart) {
        const TTextPoint from =
            options.Backward ? TTextPoint{lines.GetLength(lastLine), lastLine} : TTextPoint{0, 0};
        match = matcher->Search(lines, from.X, from.Y, std::clamp(start.Y, 0, lastLine), direction);
        FWrapped = match.Found();
    }
    if (!match.Found()) {
        UIServices().ShowMessage(LoadStr(SNotFound), LoadStr(SInformation),
                                 TMessageIcon::Information);
        FLastMatch = NoTextPoint;
        FLastRange = {};
        return false;
    }
    // The end is the first byte of the match's last character, as the
    // view addresses a character.
    const TTextRange found(
        {match.Column, match.Line},
        {LastCharColumn(lines, match.Line, match.Column, match.Length), match.Line});
    view.SetSelection(found);
    const int row = view.WordWrap() ? view.OriginToWraped({0, match.Line}).Y : match.Line;
    view.SetTopIndex(options.Backward ? row - view.VisibleRows() + 2 : row);
    FLastMatch = options.Backward ? found.Start() : found.End();
    FLastRange = found;
    return true;
}

} // namespace ov
