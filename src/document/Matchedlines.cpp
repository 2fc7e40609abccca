#include "Matchedlines.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace ov {

namespace {

// Lines a slice goes through between two looks at the clock.
constexpr int SliceCheckLines = 1024;

} // namespace

int TMatchedLines::IndexOf(int line) const {
    return static_cast<int>(std::lower_bound(FLines.begin(), FLines.end(), line) - FLines.begin());
}

void TMatchedLines::DropFrom(int fromLine) {
    Cancel();
    Take();
    FLines.resize(static_cast<std::size_t>(IndexOf(fromLine)));
}

void TMatchedLines::Clear() {
    Cancel();
    {
        std::lock_guard lock(FLock);
        FPending.clear();
    }
    FJob.reset();
    std::vector<int>().swap(FLines);
}

void TMatchedLines::StartMapped(std::shared_ptr<const TLineMatcher> matcher,
                                TOVStringList::TMappedTail tail, int fromLine) {
    DropFrom(fromLine);
    FScanFrom = fromLine;
    FJob = std::make_unique<TBackgroundJob>(
        [this, matcher = std::move(matcher), tail = std::move(tail), fromLine](TJobControl& control) {
            int last = -1;
            matcher->ScanForward(
                tail.Text, fromLine, 0,
                [this, &last](const TDocumentHit& hit) {
                    // Only a line's first match is listed; the rest of the
                    // line is looked through by the scan all the same.
                    if (hit.Line != last) {
                        last = hit.Line;
                        std::lock_guard lock(FLock);
                        FPending.push_back(hit.Line);
                    }
                    return true;
                },
                &control);
            control.SetProgress(1.0);
        });
}

void TMatchedLines::StartSlices(std::shared_ptr<const TLineMatcher> matcher, int fromLine) {
    DropFrom(fromLine);
    FSliceMatcher = std::move(matcher);
    FSliceNext = std::max(fromLine, 0);
    FSliceProgress = 0;
}

bool TMatchedLines::ScanSlice(const TOVStringList& lines, int budgetMs) {
    if (!FSliceMatcher)
        return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(budgetMs);
    const int count = lines.Count();
    std::string shown;
    for (int looked = 1; FSliceNext < count; ++FSliceNext, ++looked) {
        if (FSliceMatcher->FindForward(lines.ShownView(FSliceNext, shown), 0).Found())
            FLines.push_back(FSliceNext);
        if (looked % SliceCheckLines == 0 && std::chrono::steady_clock::now() >= deadline) {
            ++FSliceNext;
            FSliceProgress = double(FSliceNext) / count;
            return false;
        }
    }
    FSliceMatcher.reset();
    FSliceNext = -1;
    FSliceProgress = 1;
    return true;
}

void TMatchedLines::Cancel() {
    if (FJob)
        FJob->Cancel();
    FSliceMatcher.reset();
    FSliceNext = -1;
}

int TMatchedLines::Suspend() {
    if (FSliceMatcher) {
        const int next = FSliceNext;
        Cancel();
        return next;
    }
    if (!FJob)
        return INT_MAX;
    Cancel();
    Take();
    // The worker goes in order: a line found was looked at far enough, and
    // so was every line before it.
    return Count() > 0 && Line(Count() - 1) >= FScanFrom ? Line(Count() - 1) + 1 : FScanFrom;
}

bool TMatchedLines::Running() const {
    return FJob != nullptr || FSliceMatcher != nullptr;
}

double TMatchedLines::Progress() const {
    if (FJob)
        return FJob->Progress();
    return FSliceMatcher ? FSliceProgress : 1.0;
}

bool TMatchedLines::Take() {
    const bool done = FJob && FJob->Done();
    std::vector<int> pending;
    {
        std::lock_guard lock(FLock);
        pending.swap(FPending);
    }
    const bool grew = !pending.empty();
    FLines.insert(FLines.end(), pending.begin(), pending.end());
    if (done) {
        std::unique_ptr<TBackgroundJob> job = std::move(FJob);
        job->Rethrow();
    }
    return grew;
}

} // namespace ov
