#pragma once
// The highlighting marks of a large document, made on a worker thread while
// the document is shown, and held only for the rows around those shown. The
// view owns one; it borrows the view's document and highlighter, which
// outlive it, and is used on the view's thread only, which never waits for
// the worker (nor for the document's index).
//
// States:
//   Idle      every row's marks are in place, or nothing is highlighted:
//             painting needs nothing of the marker. Marks made at once
//             keep checkpoints too, from which a grown document is marked
//             on.
//   Scanning  the worker scans the whole document, or waits for its index
//             to be whole before it starts; its checkpoints arrive as it
//             goes (Poll).
//   Windowed  the worker is done: every row has a checkpoint shortly
//             before it.
// In both Scanning and Windowed only the lines of a window hold marks, made
// from the checkpoint before the lines shown (row 0 is always one). Lines
// far beyond the checkpoints a running worker has given are marked from a
// guess (nothing open a few hundred rows above them) and marked again from a
// checkpoint once the worker gets near them.
// Start leaves Idle, Cancel returns to it; Poll ends Scanning.

#include "Loadpolicy.h"
#include "Ovstrings.h"
#include "Viewerhighlighter.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace ov {

enum class TMarkerState { Idle, Scanning, Windowed };

class TBackgroundMarker {
public:
    // Lines at most this far after the last checkpoint are marked from it
    // at once, on the caller's thread.
    static constexpr int MaxScanRows = 4096;
    static constexpr std::uint64_t MaxScanBytes = 4 << 20;
    // A guessed window starts this many rows above the lines shown.
    static constexpr int GuessRows = 256;

    TBackgroundMarker(TOVSynStringList& lines, TViewerHighlighter& highlighter)
        : FLines(lines), FHighlighter(highlighter) {}
    TBackgroundMarker(const TBackgroundMarker&) = delete;
    TBackgroundMarker& operator=(const TBackgroundMarker&) = delete;

    TMarkerState State() const { return FState; }

    // Whether Start would mark the document in the background: a mapped
    // document of at least the policy's BackgroundHighlightBytes, and a
    // language the highlighter can hand to a worker.
    bool MarksInBackground(const TLoadPolicy& policy) const;
    // Marks the whole document again, after cancelling what ran: Scanning
    // when MarksInBackground (every style byte dropped; the worker starts
    // once the document is wholly indexed and passes the policy's gate
    // first); any other document is marked at once (Idle).
    TMarkerState Start(const TLoadPolicy& policy);
    // Before the document grows in place (TOVStringList::GrowMappedText):
    // takes the checkpoints the worker has made and stops it, so that it
    // lets go of the text. Poll starts it again from the last one.
    void Suspend();
    // After the document grew in place, lines from from on being new or
    // longer: marks on from the last checkpoint before the old end, as the
    // whole scan of the grown document marks. Marked at once: the new rows
    // at once (the whole document anew in the background once it reaches
    // the policy's BackgroundHighlightBytes); else Scanning, the worker
    // going on from there.
    void Grown(int from, const TLoadPolicy& policy);
    // Stops the worker and forgets the checkpoints and the window: Idle. The
    // marks held stay as they are; the caller marks again, or they belong to
    // a text that is being replaced.
    void Cancel();

    // Makes the marks of lines firstLine .. lastLine right for painting,
    // with rowsAhead more beyond them so that scrolling on does not scan at
    // every step: the window from the checkpoint before firstLine, or from a
    // guess when that lies too far before (WindowExact false), unless the
    // window holds them already. Idle: nothing. True when marks changed
    // (what the caller derived from them is stale).
    bool MarkLines(int firstLine, int lastLine, int rowsAhead);
    // Scanning: starts the worker once the document is wholly indexed,
    // takes the checkpoints it has made, and ends Scanning when it is done
    // (Windowed; Idle with every row marked at once when it gave nothing).
    // Never waits. True when the lines painted last should be painted again:
    // their window was a guess and can now be made from a checkpoint, or
    // every row was marked.
    bool Poll();
    // Scanning: whether the worker has finished (Poll then ends Scanning).
    // True in every other state.
    bool WorkerDone() const;
    // Scanning: waits for the worker (a held gate holds this too), then
    // Poll. For a caller that must have every checkpoint; the view never
    // calls it. Nothing while the document is still being indexed.
    void WaitForWorker();

    // The first line of the window, the row its marks start from; -1 when
    // Idle or before the first window.
    int WindowFirst() const { return FState != TMarkerState::Idle ? FWindowFirst : -1; }
    // The styles open for painting at WindowFirst's start, bottom first.
    const std::vector<TStyleByte>& WindowOpenStyles() const { return FWindowStart.OpenStyles; }
    // The window was made from a checkpoint, so its marks are the whole
    // scan's; false for a guess.
    bool WindowExact() const { return FWindowExact; }
    // The row of the last checkpoint known.
    int LastCheckpointRow() const { return FCheckpoints.empty() ? 0 : FCheckpoints.back().Row; }

private:
    // The checkpoint to mark firstLine from, or null when the worker has not
    // come near it yet.
    const TMarkCheckpoint* StartFor(int firstLine) const;
    // Starts the worker once the document is wholly indexed; true when it
    // could not start and every row was marked at once instead.
    bool StartWorker();
    void MarkAllAtOnce();

    TOVSynStringList& FLines;
    TViewerHighlighter& FHighlighter;
    TMarkerState FState = TMarkerState::Idle;
    std::shared_ptr<TWorkerGate> FGate;
    bool FWorkerStarted = false;
    // In order of their rows, the first row 0 (Scanning, Windowed, and Idle
    // after marking at once).
    std::vector<TMarkCheckpoint> FCheckpoints;
    // The lines whose marks are held now; -1 before the first window.
    int FWindowFirst = -1;
    int FWindowLast = -1;
    TMarkCheckpoint FWindowStart;
    bool FWindowExact = false;
    // The first line painting asked for last.
    int FShownFirst = 0;
};

} // namespace ov
