#pragma once
// TSearchState: what Find, Find Next and Find Previous remember between
// searches: the text and options of the last confirmed Find, and the match
// they go on from. It searches the document of the text view it is given for
// each call; it owns no view and holds no reference to one between calls.

#include "Linematcher.h"
#include "Ovsyntextviewer.h"

#include <functional>
#include <memory>
#include <string>

namespace ov {

struct TFindOptions {
    bool CaseSensitive = false;
    bool WholeWords = false;
    bool Backward = false;
    bool FromStart = false;
    // The text is a regular expression (Regexsearch.h).
    bool Regex = false;
    // A search that reaches the end (the start, backward) goes on from the
    // other end up to where it began. The find dialog has it on unless the
    // user turned it off.
    bool WrapAround = false;
};

// The matcher for text (UTF-8, as typed) under options, in coding; null
// when text is a regular expression that does not compile, with the Korean
// message for it in error.
std::unique_ptr<TLineMatcher> MakeLineMatcher(const std::string& text, const TFindOptions& options,
                                              const TCharCoding& coding, std::string& error);

// How a search tells that it found nothing or that its pattern is bad: a
// message box (Find, Find Next), or only by its Outcome (the search bar,
// which colours its entry instead).
enum class TSearchReport { MessageBox, Quiet };

// What the last search came to; Running while it goes on as the view's job.
enum class TSearchOutcome { None, Found, NotFound, BadPattern, Running };

// The selection that covers match, a match in lines (0 <= its line < Count):
// from its first byte to the first byte of its last character.
TTextRange MatchRange(const TOVSynStringList& lines, const TDocumentHit& match);

class TSearchState {
public:
    // The text of the last confirmed Find, UTF-8 as typed; empty before one.
    const std::string& Text() const { return FText; }
    const TFindOptions& Options() const { return FOptions; }
    // Where Find Next goes on from: the end of the last match found forward,
    // its start when found backward; none after a failed search.
    TTextPoint LastMatch() const { return FLastMatch; }
    // The whole last match (its end the first byte of its last character);
    // empty after a failed search.
    const TTextRange& LastRange() const { return FLastRange; }
    bool CanFindNext() const { return !FText.empty(); }

    // A Find confirmed in the dialog: remembered for Find Next, then run
    // from the screen.
    bool Find(TOVSynTextViewer& view, const std::string& text, const TFindOptions& options);
    // Find Next: the remembered text, onward in the remembered direction
    // from the last match while it is still selected and on screen,
    // otherwise from the screen. False without a word when nothing was
    // searched for yet. Find Previous is the same the other way; the
    // remembered direction stays.
    bool FindNext(TOVSynTextViewer& view, TSearchReport report = TSearchReport::MessageBox) {
        return FindAgain(view, false, report);
    }
    bool FindPrevious(TOVSynTextViewer& view, TSearchReport report = TSearchReport::MessageBox) {
        return FindAgain(view, true, report);
    }
    // Whether the last search found its match only by going round the end
    // (or the start, backward).
    bool Wrapped() const { return FWrapped; }
    // The direction of the last search that ran.
    bool WentBackward() const { return FWentBackward; }
    // Remembers text and options as a confirmed Find would, without
    // searching.
    void SetQuery(const std::string& text, const TFindOptions& options);

    // Searches view's lines for text (UTF-8, as typed) and selects and
    // shows the match; false with the not-found box when there is none,
    // false without a word on an empty view. startColumn and startLine are
    // -1 to start from the screen; otherwise the search starts just past
    // that point (backward: just before it), so a column of -1 takes the
    // whole line startLine. A regular expression that does not
    // compile is reported in a message box naming where it went wrong. A
    // long document (the view's WholeDocumentIsLong) is searched as the
    // view's job: false at once, the match or the box coming when the job
    // ends (then OnBackgroundSearchEnd), nothing after Escape.
    bool Search(TOVSynTextViewer& view, const std::string& text, const TFindOptions& options,
                int startColumn, int startLine,
                TSearchReport report = TSearchReport::MessageBox);
    std::function<void()> OnBackgroundSearchEnd;
    // How the last search ended (or that it still runs), and the Korean
    // message of a pattern that did not compile.
    TSearchOutcome Outcome() const { return FOutcome; }
    const std::string& PatternError() const { return FPatternError; }

private:
    bool FindAgain(TOVSynTextViewer& view, bool reverse, TSearchReport report);
    // The search of lines from start, round the end when the options say;
    // wrapped tells whether the match was found only so.
    static TDocumentHit SearchLines(const TOVStringList& lines, const TLineMatcher& matcher,
                                    const TFindOptions& options, TTextPoint start, bool& wrapped,
                                    TJobControl* control);
    void SearchInBackground(TOVSynTextViewer& view, std::shared_ptr<const TLineMatcher> matcher,
                            const TFindOptions& options, int startColumn, int startLine,
                            TSearchReport report);
    // Shows match, once the index has reached its line when it lies beyond.
    void ShowMatchWhenIndexed(TOVSynTextViewer& view, TDocumentHit match, bool backward,
                              TSearchReport report);
    // Selects and shows a match; the not-found box for none unless quiet.
    bool ShowMatch(TOVSynTextViewer& view, const TDocumentHit& match, bool backward,
                   TSearchReport report);

    std::string FText;
    TFindOptions FOptions;
    TTextPoint FLastMatch = NoTextPoint;
    // The whole last match (its end the first byte of its last character).
    TTextRange FLastRange;
    bool FWrapped = false;
    bool FWentBackward = false;
    TSearchOutcome FOutcome = TSearchOutcome::None;
    std::string FPatternError;
};

} // namespace ov
