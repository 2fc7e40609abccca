#include "Backgroundmarker.h"

#include "Ovsynhighlighter.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace ov {

TMarkerState TBackgroundMarker::Start(const TLoadPolicy& policy) {
    Cancel();
    if (FLines.MappedBytes() >= policy.BackgroundHighlightBytes &&
        FHighlighter.StartBackground(FLines, policy.Gate)) {
        FState = TMarkerState::Scanning;
        FMarkedRows = 0;
        FLines.ClearStyles(); // the rows shown are marked as they are painted
        return FState;
    }
    FHighlighter.Execute(FLines);
    return FState;
}

void TBackgroundMarker::Cancel() {
    FHighlighter.CancelBackground();
    if (FState == TMarkerState::Windowed)
        FLines.StreamMarks(nullptr);
    FState = TMarkerState::Idle;
    FMarkedRows = 0;
    FCheckpoints.clear();
    FWindowFirst = FWindowLast = -1;
}

bool TBackgroundMarker::WorkerDone() const {
    return FState != TMarkerState::Scanning || FHighlighter.BackgroundDone();
}

void TBackgroundMarker::TakeWorkerMarks() {
    if (FState != TMarkerState::Scanning)
        return;
    while (!FHighlighter.BackgroundDone())
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::vector<int> checkpoints;
    if (FHighlighter.DeliverBackground(checkpoints)) {
        // From now on the rows shown are marked from the checkpoint before
        // them; the first screen's marks go.
        FState = TMarkerState::Windowed;
        FCheckpoints.swap(checkpoints);
        FLines.WindowMarks(0);
        FWindowFirst = FWindowLast = -1;
    } else {
        FState = TMarkerState::Idle;
        FHighlighter.Execute(FLines);
    }
}

bool TBackgroundMarker::MarkLines(int firstLine, int lastLine, int rowsAhead) {
    bool changed = false;
    if (FState == TMarkerState::Scanning)
        changed = MarkPrefix(lastLine, rowsAhead); // may take the worker's marks
    if (FState == TMarkerState::Windowed)
        changed = MarkWindow(firstLine, lastLine, rowsAhead) || changed;
    return changed;
}

bool TBackgroundMarker::MarkPrefix(int line, int rowsAhead) {
    const int count = FLines.Count();
    if (FMarkedRows >= count || line < FMarkedRows - TOVSynHighlighter::UncertainRows)
        return false;
    if (line >= count / 2) {
        TakeWorkerMarks();
        return true;
    }
    // Twice as far each time, so that scrolling on costs one scan of the
    // rows passed, not one per step.
    const int want = std::max(line + TOVSynHighlighter::UncertainRows + rowsAhead, FMarkedRows * 2);
    const int last = std::min(want, count - 1);
    FHighlighter.ExecuteRows(FLines, 0, last);
    FMarkedRows = last + 1;
    return true;
}

bool TBackgroundMarker::MarkWindow(int firstLine, int lastLine, int rowsAhead) {
    const int count = FLines.Count();
    const int certainEnd =
        FWindowLast == count - 1 ? FWindowLast : FWindowLast - TOVSynHighlighter::UncertainRows;
    if (FWindowFirst >= 0 && firstLine >= FWindowFirst && lastLine <= certainEnd)
        return false;
    const int from = *(std::upper_bound(FCheckpoints.begin(), FCheckpoints.end(), firstLine) - 1);
    const int to = std::min(count - 1, lastLine + TOVSynHighlighter::UncertainRows + rowsAhead);
    FLines.WindowMarks(from);
    FHighlighter.ExecuteRows(FLines, from, to);
    FWindowFirst = from;
    FWindowLast = to;
    return true;
}

} // namespace ov
