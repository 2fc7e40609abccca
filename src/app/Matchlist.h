#pragma once
// TMatchListPanel: the panel below the text that lists every line of the
// shown document holding a match of a search, each with its line number and
// its matches marked. The list is virtual: it keeps only the line numbers
// (TMatchedLines) and reads each shown row's text from the view's document
// as it paints it, finding the matches again there.
//
// The lines are found in the background (a mapped file on a worker, ahead of
// its index; other documents a slice at a time on the window's thread), the
// caption telling how many so far and how far the search has come. Escape or
// the stop button stops it; what was found stays listed. Enter or a double
// click shows the row's line in the view with its first match selected.
//
// The panel borrows the view; the main window tells it when the document is
// read anew (DocumentReplaced) or grows at its end (DocumentGrew).

#include "Matchedlines.h"
#include "Searchstate.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>

class QLabel;
class QTimer;
class QToolButton;

namespace ov {

class TMatchListRows;

class TMatchListPanel : public QWidget {
public:
    TMatchListPanel(TOVSynTextViewer& view, QWidget* parent = nullptr);
    ~TMatchListPanel() override;

    // Lists the lines of the view's document that match text (UTF-8, as
    // typed) under options (their direction and start do not apply). False,
    // with the message box, for a regular expression that does not compile;
    // the list is then as it was.
    bool Start(const std::string& text, const TFindOptions& options);
    // Stops the search; the lines found so far stay.
    void Stop();
    // The document was read anew or closed: the same search runs again over
    // what it holds now.
    void DocumentReplaced();
    // The document's lines from line from on are new or longer (a followed
    // file grew): they are searched, the lines before keep their rows.
    void DocumentGrew(int from);
    // Before the document grows in place: a search running on a worker
    // holds the text, which cannot grow while another reader shares it, so
    // it stops; DocumentGrew (from INT_MAX when nothing grew) goes on with
    // it from where it got to.
    void HoldForGrowth();

    const std::string& Text() const { return FText; }
    const TFindOptions& Options() const { return FOptions; }
    const TMatchedLines& Matches() const { return FMatches; }
    bool Running() const { return FMatches.Running() || FGrewFrom >= 0; }
    // The caption's text: the count, and how far a running search has come.
    QString Caption() const;

    // The row with the cursor (-1 while the list is empty).
    int CurrentRow() const;
    void SetCurrentRow(int row);
    // Shows the current row's line in the view, its first match selected.
    void JumpToCurrent();

    // The close button was clicked.
    std::function<void()> OnClose;

    // The list's rows (focus goes there when the panel is shown).
    QWidget* Rows() const;

private:
    friend class TMatchListRows;
    void Tick();
    void Restart(int fromLine);
    void UpdateCaption();

    TOVSynTextViewer& FView;
    std::string FText;
    TFindOptions FOptions;
    TMatchedLines FMatches;
    // The matcher that paints: the worker's own is busy on its thread.
    std::unique_ptr<TLineMatcher> FPaintMatcher;
    // A growth that came while the search ran: the lines from there on are
    // searched again once it ends (-1: none).
    int FGrewFrom = -1;
    // The last search was stopped before its end: the list is not whole.
    bool FStopped = false;
    QLabel* FCaption = nullptr;
    QToolButton* FStopButton = nullptr;
    QToolButton* FCloseButton = nullptr;
    TMatchListRows* FRows = nullptr;
    QTimer* FTimer = nullptr;
};

} // namespace ov
