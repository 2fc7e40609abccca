#pragma once
// What the text view needs of its highlighter: the language, a highlighting
// run over the document, and the colours of a style id. The view owns one;
// tests hand in their own to paint hand-set style marks.

#include "Loadpolicy.h"
#include "Ovstrings.h"
#include "Ovsynhighlighter.h"
#include "Ovsynlangstyle.h"

#include <memory>
#include <string>
#include <vector>

namespace ov {

// A row from which marking goes on as the scan of the whole document does:
// what is open at the row's start (TScanState), how many of the whole scan's
// languages it had added by then (0: the set as it stands), and the styles
// open for painting there, bottom first (TOpenStyleRecord's stack).
struct TMarkCheckpoint {
    int Row = 0;
    TScanState State;
    int Languages = 0;
    std::vector<TStyleByte> OpenStyles;
};

class TViewerHighlighter {
public:
    virtual ~TViewerHighlighter() = default;
    // Reads the language's definitions when name differs from the current one.
    virtual void SetLang(const std::string& name) = 0;
    // Clears and re-marks every style byte of lines; false when there is no
    // language (the marks are then left alone).
    virtual bool Execute(TOVSynStringList& lines) = 0;
    // Text and background colour of a style id whose language slot exists.
    virtual TStyleColors GetStyles(TStyleByte id) const = 0;

    // Marks rows from.Row .. lastRow starting with what from says is open
    // there, from being row 0 with nothing open or a checkpoint of the
    // background job: all but the last UncertainRows as the whole scan marks
    // them (TOVSynHighlighter::ExecuteFrom). The set's languages become the
    // job's first from.Languages first.
    virtual bool ExecuteRows(TOVSynStringList& lines, const TMarkCheckpoint& /*from*/, int /*lastRow*/) {
        return Execute(lines);
    }
    // Marks every row from the last of checkpoints (row 0, with nothing open,
    // when there is none) to the end of lines as the whole scan does, and
    // appends a checkpoint (without open styles) about every few hundred
    // rows after it: so that a document that grows is marked on from the
    // last checkpoint before its old end. False without a language. Without
    // checkpoints of its own a highlighter marks the whole document and
    // leaves checkpoints as they are.
    virtual bool ExecuteOn(TOVSynStringList& lines, std::vector<TMarkCheckpoint>& /*checkpoints*/) {
        return Execute(lines);
    }
    // A language is set that a background job can scan.
    virtual bool CanMarkInBackground() const { return false; }
    // Starts scanning lines, a wholly loaded mapped document, on a worker
    // thread from the checkpoint from (one the job made, with its open
    // styles; row 0 with nothing open is the whole document) to its end,
    // keeping the marks of a few rows at a time; false when it cannot (the
    // caller runs Execute then). The worker reads the text only: lines may be
    // read and shown meanwhile, not grown. It passes gate, when there is one,
    // before it scans.
    virtual bool StartBackground(const TOVSynStringList& /*lines*/,
                                 std::shared_ptr<TWorkerGate> /*gate*/,
                                 const TMarkCheckpoint& /*from*/) {
        return false;
    }
    // The worker has finished (or failed, or was never started).
    virtual bool BackgroundDone() const { return true; }
    // Appends the checkpoints the job has made since the last call, in
    // order of their rows, about one every few hundred rows: from each,
    // ExecuteRows marks as the whole scan does. The worker goes on.
    virtual void TakeCheckpoints(std::vector<TMarkCheckpoint>& /*into*/) {}
    // After BackgroundDone: appends the last checkpoints and ends the job;
    // false when the job failed or was cancelled (its checkpoints then do
    // not reach the end; the caller runs Execute).
    virtual bool FinishBackground(std::vector<TMarkCheckpoint>& /*into*/) { return false; }
    // Stops and forgets a running job.
    virtual void CancelBackground() {}
};

// The program's highlighter on the shipped syntax folder and, when given,
// the user's own definitions (read first, file by file).
std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder,
                                                            const std::string& userFolder = {});

} // namespace ov
