#include "Backgroundmarker.h"

#include "Ovsynhighlighter.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ov {

bool TBackgroundMarker::MarksInBackground(const TLoadPolicy& policy) const {
    return FLines.Mapped() && FLines.MappedBytes() >= policy.BackgroundHighlightBytes &&
           FHighlighter.CanMarkInBackground();
}

TMarkerState TBackgroundMarker::Start(const TLoadPolicy& policy) {
    Cancel();
    if (!MarksInBackground(policy)) {
        FHighlighter.ExecuteOn(FLines, FCheckpoints);
        return FState;
    }
    FState = TMarkerState::Scanning;
    FGate = policy.Gate;
    FCheckpoints.assign(1, TMarkCheckpoint{0, TScanState{}, 1, {}});
    FLines.WindowMarks(0); // the rows shown are marked as they are painted
    StartWorker();
    return FState;
}

void TBackgroundMarker::Cancel() {
    FHighlighter.CancelBackground();
    if (FState != TMarkerState::Idle)
        FLines.StreamMarks(nullptr);
    FState = TMarkerState::Idle;
    FGate.reset();
    FWorkerStarted = false;
    FCheckpoints.clear();
    FWindowFirst = FWindowLast = -1;
    FWindowStart = {};
    FWindowExact = false;
}

void TBackgroundMarker::MarkAllAtOnce() {
    FHighlighter.CancelBackground();
    FLines.StreamMarks(nullptr);
    FState = TMarkerState::Idle;
    FCheckpoints.clear();
    FWindowFirst = FWindowLast = -1;
    FHighlighter.ExecuteOn(FLines, FCheckpoints);
}

void TBackgroundMarker::Suspend() {
    if (FState != TMarkerState::Scanning || !FWorkerStarted)
        return;
    FHighlighter.TakeCheckpoints(FCheckpoints);
    FHighlighter.CancelBackground();
    FWorkerStarted = false;
}

void TBackgroundMarker::Grown(int from, const TLoadPolicy& policy) {
    // A checkpoint is kept while the rows before it are the old text's, and
    // the row before it too, whose marks may depend on how it goes on (an
    // unclosed construct ends at the end of the text).
    const int kept = std::max(from - 1, 0);
    while (FCheckpoints.size() > 1 && FCheckpoints.back().Row > kept)
        FCheckpoints.pop_back();
    if (FState == TMarkerState::Idle) {
        // Marked at once: on from the last checkpoint kept, unless the text
        // has grown too large to hold every row's marks.
        if (MarksInBackground(policy)) {
            Start(policy);
            return;
        }
        FHighlighter.ExecuteOn(FLines, FCheckpoints);
        return;
    }
    // The worker goes on from the last checkpoint kept once the index is
    // whole; the rows shown are marked again.
    FHighlighter.CancelBackground();
    FState = TMarkerState::Scanning;
    FWorkerStarted = false;
    FWindowFirst = FWindowLast = -1;
    FWindowExact = false;
    StartWorker();
}

bool TBackgroundMarker::StartWorker() {
    if (FWorkerStarted || FLines.Loading())
        return false;
    if (!FHighlighter.StartBackground(FLines, FGate, FCheckpoints.back())) {
        MarkAllAtOnce();
        return true;
    }
    FWorkerStarted = true;
    return false;
}

bool TBackgroundMarker::WorkerDone() const {
    return FState != TMarkerState::Scanning || (FWorkerStarted && FHighlighter.BackgroundDone());
}

bool TBackgroundMarker::Poll() {
    if (FState != TMarkerState::Scanning)
        return false;
    if (StartWorker())
        return true; // marked at once
    if (!FWorkerStarted)
        return false;
    const bool guessed = FWindowFirst >= 0 && !FWindowExact;
    if (FHighlighter.BackgroundDone()) {
        if (!FHighlighter.FinishBackground(FCheckpoints)) {
            MarkAllAtOnce();
            return true;
        }
        FState = TMarkerState::Windowed;
        return guessed;
    }
    FHighlighter.TakeCheckpoints(FCheckpoints);
    return guessed && StartFor(FShownFirst) != nullptr;
}

void TBackgroundMarker::WaitForWorker() {
    if (FState != TMarkerState::Scanning)
        return;
    Poll();
    if (!FWorkerStarted)
        return;
    while (!FHighlighter.BackgroundDone())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    Poll();
}

const TMarkCheckpoint* TBackgroundMarker::StartFor(int firstLine) const {
    const auto after = std::upper_bound(
        FCheckpoints.begin(), FCheckpoints.end(), firstLine,
        [](int line, const TMarkCheckpoint& checkpoint) { return line < checkpoint.Row; });
    const TMarkCheckpoint& before = *(after - 1);
    if (FState == TMarkerState::Windowed)
        return &before; // as near as they come
    if (firstLine - before.Row > MaxScanRows)
        return nullptr;
    std::uint64_t bytes = 0;
    for (int row = before.Row; row < firstLine; ++row) {
        bytes += std::uint64_t(FLines.RowLength(row)) + 1;
        if (bytes > MaxScanBytes)
            return nullptr;
    }
    return &before;
}

bool TBackgroundMarker::MarkLines(int firstLine, int lastLine, int rowsAhead) {
    if (FState == TMarkerState::Idle)
        return false;
    if (FState == TMarkerState::Scanning && FWorkerStarted)
        FHighlighter.TakeCheckpoints(FCheckpoints);
    FShownFirst = firstLine;
    const int count = FLines.Count();
    const TMarkCheckpoint* from = StartFor(firstLine);
    const int certainEnd =
        FWindowLast == count - 1 ? FWindowLast : FWindowLast - TOVSynHighlighter::UncertainRows;
    if (FWindowFirst >= 0 && firstLine >= FWindowFirst && lastLine <= certainEnd &&
        (FWindowExact || !from))
        return false;
    const int to = std::min(count - 1, lastLine + TOVSynHighlighter::UncertainRows + rowsAhead);
    if (from) {
        FWindowStart = *from;
    } else {
        // The worker is far from here: guess that nothing is open a little
        // above, and mark again from a checkpoint once it comes near.
        FWindowStart = TMarkCheckpoint{std::max(0, firstLine - GuessRows), TScanState{}, 0, {}};
    }
    FWindowExact = from != nullptr;
    FLines.WindowMarks(FWindowStart.Row);
    FHighlighter.ExecuteRows(FLines, FWindowStart, to);
    FWindowFirst = FWindowStart.Row;
    FWindowLast = to;
    return true;
}

} // namespace ov
