#pragma once
// TMatchedLines: the numbers of the lines of a document that hold a match of
// a pattern, in order, for a list of matching lines. Only the numbers are
// kept (four bytes a line, at most twice that while the store grows); whoever
// shows a line reads its text from the document and finds the match again.
//
// A mapped text is scanned on a worker (TLineMatcher::ScanForward, ahead of
// the index); a list's own lines, which another thread may not read, are
// scanned on the owner's thread a slice at a time (ScanSlice). The worker
// hands its lines over under a lock; Take, on the owner's thread, moves them
// into the store. The store is read only on the owner's thread.
//
// A text that grows (a followed file) is scanned again from its old last
// line on (Start with that line): lines from there on are dropped first.

#include "Backgroundjob.h"
#include "Linematcher.h"
#include "Ovstrings.h"

#include <memory>
#include <mutex>
#include <vector>

namespace ov {

class TMatchedLines {
public:
    TMatchedLines() = default;
    ~TMatchedLines() { Cancel(); }
    TMatchedLines(const TMatchedLines&) = delete;
    TMatchedLines& operator=(const TMatchedLines&) = delete;

    // The lines taken so far.
    int Count() const { return static_cast<int>(FLines.size()); }
    int Line(int i) const { return FLines[static_cast<std::size_t>(i)]; }
    // The index of the first line taken that is >= line (Count when none).
    int IndexOf(int line) const;
    // Bytes the store holds (its capacity), for the memory it costs.
    std::size_t StoreBytes() const { return FLines.capacity() * sizeof(int); }

    // Forgets every line and stops what runs.
    void Clear();
    // Drops the lines from fromLine on, then scans tail (the mapped text from
    // the first byte of fromLine) on a worker with matcher, which the scan
    // shares and nobody else uses meanwhile.
    void StartMapped(std::shared_ptr<const TLineMatcher> matcher,
                     TOVStringList::TMappedTail tail, int fromLine);
    // Drops the lines from fromLine on; ScanSlice then goes through the
    // lines of a list from there.
    void StartSlices(std::shared_ptr<const TLineMatcher> matcher, int fromLine);
    // Scans lines on this thread for about budgetMs; true once the scan
    // has reached the end of lines (it is then no longer Running).
    bool ScanSlice(const TOVStringList& lines, int budgetMs);
    // Stops the worker (what it found stays taken or pending; Take takes
    // it) or the slices.
    void Cancel();

    // Stops the scan as Cancel does and says where a scan that goes on
    // from it must start: the first line it may not have wholly looked at
    // (INT_MAX when none ran). Lines found stay.
    int Suspend();

    // A scan has been started and not everything it found is taken yet:
    // a worker stays Running until the Take after its end.
    bool Running() const;
    // Whether the scan runs on a worker (else by slices).
    bool OnWorker() const { return FJob != nullptr; }
    // How far the scan has come, 0 .. 1.
    double Progress() const;
    // Moves the lines the worker has found since the last call into the
    // store; true when it grew. Ends a finished worker (after its lines are
    // taken) and throws what it threw.
    bool Take();

private:
    void DropFrom(int fromLine);

    std::vector<int> FLines;
    // The worker's lines not yet taken, under FLock.
    std::mutex FLock;
    std::vector<int> FPending;
    std::unique_ptr<TBackgroundJob> FJob;
    // The first line of the worker's scan.
    int FScanFrom = 0;
    // The slices: the matcher and the next line to look at (-1: none run).
    std::shared_ptr<const TLineMatcher> FSliceMatcher;
    int FSliceNext = -1;
    double FSliceProgress = 0;
};

} // namespace ov
