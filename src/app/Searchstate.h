#pragma once
// TSearchState: what Find and Find Next remember between searches: the
// text and options of the last confirmed Find, and where Find Next goes on
// from. It searches the document of the text view it is given for each call;
// it owns no view and holds no reference to one between calls.

#include "Ovsyntextviewer.h"

#include <string>

namespace ov {

struct TFindOptions {
    bool CaseSensitive = false;
    bool WholeWords = false;
    bool Backward = false;
    bool FromStart = false;
};

class TSearchState {
public:
    // The text of the last confirmed Find, UTF-8 as typed; empty before one.
    const std::string& Text() const { return FText; }
    const TFindOptions& Options() const { return FOptions; }
    // Where Find Next goes on from: the end of the last match found forward,
    // its start when found backward; none after a failed search.
    TTextPoint LastMatch() const { return FLastMatch; }
    bool CanFindNext() const { return !FText.empty(); }

    // A Find confirmed in the dialog: remembered for Find Next, then run
    // from the screen.
    bool Find(TOVSynTextViewer& view, const std::string& text, const TFindOptions& options);
    // Find Next: the remembered text, onward in the remembered direction
    // from the last match while it is still selected and on screen,
    // otherwise from the screen. False without a word when nothing was
    // searched for yet.
    bool FindNext(TOVSynTextViewer& view);
    // Remembers text and options as a confirmed Find would, without
    // searching.
    void SetQuery(const std::string& text, const TFindOptions& options);

    // Searches view's lines for text (UTF-8, as typed) and selects and
    // shows the match; false with the not-found box when there is none,
    // false without a word on an empty view. startColumn and startLine are
    // -1 to start from the screen.
    bool Search(TOVSynTextViewer& view, const std::string& text, const TFindOptions& options,
                int startColumn, int startLine);

private:
    std::string FText;
    TFindOptions FOptions;
    TTextPoint FLastMatch = NoTextPoint;
};

} // namespace ov
