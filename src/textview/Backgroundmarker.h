#pragma once
// The highlighting marks of a large document, made on a worker thread while
// its first screen is shown and afterwards held only for the rows around
// those shown. The view owns one; it borrows the view's document and
// highlighter, which outlive it, and is used on the view's thread only.
//
// States:
//   Idle      every row's marks are in place, or nothing is highlighted:
//             painting needs nothing of the marker.
//   Scanning  the highlighter's worker scans the whole document; the rows
//             before MarkedRows carry the whole scan's marks, made at once
//             as painting asks for them.
//   Windowed  the worker is done and gave checkpoints: only the lines of the
//             window hold marks, made from the checkpoint before them.
// Start leaves Idle, Cancel returns to it; TakeWorkerMarks ends Scanning.

#include "Loadpolicy.h"
#include "Ovstrings.h"
#include "Viewerhighlighter.h"

#include <cstdint>
#include <vector>

namespace ov {

enum class TMarkerState { Idle, Scanning, Windowed };

class TBackgroundMarker {
public:
    TBackgroundMarker(TOVSynStringList& lines, TViewerHighlighter& highlighter)
        : FLines(lines), FHighlighter(highlighter) {}
    TBackgroundMarker(const TBackgroundMarker&) = delete;
    TBackgroundMarker& operator=(const TBackgroundMarker&) = delete;

    TMarkerState State() const { return FState; }

    // Marks the whole document again, after cancelling what ran. A mapped
    // document of at least the policy's BackgroundHighlightBytes goes to the
    // highlighter's worker (Scanning, every style byte cleared; the worker
    // passes the policy's gate first); any other, or one the highlighter
    // cannot hand to a worker, is marked at once (Idle).
    TMarkerState Start(const TLoadPolicy& policy);
    // Stops the worker and forgets the checkpoints and the window: Idle. The
    // marks held stay as they are; the caller marks again, or they belong to
    // a text that is being replaced.
    void Cancel();

    // Makes the marks of lines firstLine .. lastLine right for painting,
    // with rowsAhead more beyond them so that scrolling on does not scan at
    // every step. Scanning: the rows from 0 up to them, or, for lines in the
    // document's far half, the worker's marks (TakeWorkerMarks), since the
    // worker started first and gets there sooner. Windowed: the window from
    // the checkpoint before firstLine, unless the window holds them already.
    // Idle: nothing. True when marks changed (what the caller derived from
    // them is stale).
    bool MarkLines(int firstLine, int lastLine, int rowsAhead);
    // Scanning: whether the worker has finished (the owner then takes its
    // marks). True in every other state.
    bool WorkerDone() const;
    // Scanning: waits for the worker (a held gate holds this too), then
    // Windowed with its checkpoints, the marks held so far dropped; when the
    // worker gave nothing, every row is marked at once (Idle). Nothing in
    // other states.
    void TakeWorkerMarks();

    // Scanning: the rows from 0 that carry their marks; 0 otherwise.
    int MarkedRows() const { return FState == TMarkerState::Scanning ? FMarkedRows : 0; }
    // Windowed: the window's first line, a checkpoint, before which no style
    // is open for painting; -1 otherwise or before the first window.
    int WindowFirst() const { return FState == TMarkerState::Windowed ? FWindowFirst : -1; }

private:
    bool MarkPrefix(int line, int rowsAhead);
    bool MarkWindow(int firstLine, int lastLine, int rowsAhead);

    TOVSynStringList& FLines;
    TViewerHighlighter& FHighlighter;
    TMarkerState FState = TMarkerState::Idle;
    int FMarkedRows = 0;
    // Rows, the first 0, from which the highlighter marks as the whole scan
    // does (Windowed).
    std::vector<int> FCheckpoints;
    // The lines whose marks are held now; -1 before the first window.
    int FWindowFirst = -1;
    int FWindowLast = -1;
};

} // namespace ov
