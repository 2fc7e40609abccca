#pragma once
// What the text view needs of its highlighter: the language, a highlighting
// run over the document, and the colours of a style id. The view owns one;
// tests hand in their own to paint hand-set style marks.

#include "Loadpolicy.h"
#include "Ovstrings.h"
#include "Ovsynlangstyle.h"

#include <memory>
#include <string>
#include <vector>

namespace ov {

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

    // Marks rows firstRow .. lastRow, firstRow being 0 or a checkpoint of the
    // background job (DeliverBackground): all but the last UncertainRows as
    // the whole scan marks them (TOVSynHighlighter::ExecuteRows).
    virtual bool ExecuteRows(TOVSynStringList& lines, int /*firstRow*/, int /*lastRow*/) {
        return Execute(lines);
    }
    // Starts scanning the whole of lines, a wholly loaded mapped document, on
    // a worker thread, keeping the marks of a few rows at a time; false when
    // it cannot (the caller runs Execute then). The worker reads the text
    // only: lines may be read and shown meanwhile. It passes gate, when
    // there is one, before it scans.
    virtual bool StartBackground(const TOVSynStringList& /*lines*/,
                                 std::shared_ptr<TWorkerGate> /*gate*/ = {}) {
        return false;
    }
    // The worker has finished (or failed, or was never started).
    virtual bool BackgroundDone() const { return true; }
    // Ends the job, giving its checkpoints: rows, in order and the first
    // being 0, from which ExecuteRows(lines, row, last) marks as the whole
    // scan does and before which no style is open for painting. The
    // languages the scan added are added here in the same slots. False when
    // the job gave nothing (the caller runs Execute then).
    virtual bool DeliverBackground(std::vector<int>& /*checkpoints*/) { return false; }
    // Stops and forgets a running job.
    virtual void CancelBackground() {}
};

// The program's highlighter on the shipped syntax folder and, when given,
// the user's own definitions (read first, file by file).
std::unique_ptr<TViewerHighlighter> CreateSyntaxHighlighter(const std::string& folder,
                                                            const std::string& userFolder = {});

} // namespace ov
