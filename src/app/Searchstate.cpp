#include "Searchstate.h"

#include "Messages.h"
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

} // namespace

void TSearchState::SetQuery(const std::string& text, const TFindOptions& options) {
    FText = text;
    FOptions = options;
}

bool TSearchState::Find(TOVSynTextViewer& view, const std::string& text,
                        const TFindOptions& options) {
    SetQuery(text, options);
    return Search(view, FText, FOptions, -1, -1);
}

bool TSearchState::FindNext(TOVSynTextViewer& view) {
    if (FText.empty())
        return false;
    FOptions.FromStart = false;
    TTextPoint start = FLastMatch;
    if (FLastMatch != NoTextPoint &&
        (view.SelStart() == FLastMatch || view.SelEnd() == FLastMatch)) {
        const int row = view.WordWrap() ? view.OriginToWraped(FLastMatch).Y : FLastMatch.Y;
        if (row < view.TopIndex() || row > view.TopIndex() + view.VisibleRows())
            start = NoTextPoint;
    }
    return Search(view, FText, FOptions, start.X, start.Y);
}

bool TSearchState::Search(TOVSynTextViewer& view, const std::string& text,
                          const TFindOptions& options, int startColumn, int startLine) {
    view.FinishLoading(); // a search may run to the last line
    if (view.RowCount() == 0 || view.Lines().Count() == 0)
        return false;
    const TOVSynStringList& lines = view.Lines();
    const TTextPoint start = SearchStart(view, options, startColumn, startLine);
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
        FLastMatch = NoTextPoint;
        return false;
    }
    // The end is the first byte of the match's last character, as the
    // view addresses a character.
    const TTextRange found({match.Column, match.Line},
                           {match.Column + search.LastCharOffset(), match.Line});
    view.SetSelection(found);
    const int row = view.WordWrap() ? view.OriginToWraped({0, match.Line}).Y : match.Line;
    view.SetTopIndex(options.Backward ? row - view.VisibleRows() + 2 : row);
    FLastMatch = options.Backward ? found.Start() : found.End();
    return true;
}

} // namespace ov
