#include "Matchhighlight.h"

#include <algorithm>
#include <chrono>

namespace ov {

namespace {
constexpr std::chrono::milliseconds PublishInterval{50};
} // namespace

std::vector<TMatchRun> LineMatchRuns(const TLineMatcher& matcher, std::string_view line) {
    std::vector<TMatchRun> runs;
    ForEachLineMatch(matcher, line, [&runs](const TLineHit& hit) {
        const int end = hit.Column + hit.Length;
        if (!runs.empty() && hit.Column <= runs.back().End)
            runs.back().End = std::max(runs.back().End, end);
        else
            runs.push_back({hit.Column, end});
        return true;
    });
    return runs;
}

bool InMatchRuns(const std::vector<TMatchRun>& runs, int column) {
    auto after = std::upper_bound(runs.begin(), runs.end(), column,
                                  [](int c, const TMatchRun& run) { return c < run.Start; });
    return after != runs.begin() && column < std::prev(after)->End;
}

void TMatchTicks::Add(int line) {
    if (!FFirsts.empty() && (FFirsts.back() >> FShift) >= (line >> FShift))
        return;
    FFirsts.push_back(line);
    if (FFirsts.size() <= Limit)
        return;
    ++FShift;
    std::size_t kept = 0;
    for (int first : FFirsts) {
        if (kept == 0 || (FFirsts[kept - 1] >> FShift) != (first >> FShift))
            FFirsts[kept++] = first;
    }
    FFirsts.resize(kept);
}

void TMatchTicks::DropFrom(int line) {
    while (!FFirsts.empty() && FFirsts.back() >= line)
        FFirsts.pop_back();
}

std::vector<int> TMatchTicks::Lines() const {
    std::vector<int> lines;
    lines.reserve(FFirsts.size());
    for (int first : FFirsts)
        lines.push_back(int(static_cast<long long>(first >> FShift) << FShift));
    return lines;
}

void TMatchCounter::Start(TOVStringList::TMappedTail tail, std::unique_ptr<TLineMatcher> matcher) {
    Cancel();
    Run(std::move(tail), 0, std::move(matcher));
}

void TMatchCounter::Resume(TOVStringList::TMappedTail tail, int fromLine,
                           std::unique_ptr<TLineMatcher> matcher) {
    FJob.reset();
    Run(std::move(tail), fromLine, std::move(matcher));
}

void TMatchCounter::Run(TOVStringList::TMappedTail tail, int fromLine,
                        std::unique_ptr<TLineMatcher> matcher) {
    std::shared_ptr<const TLineMatcher> owned(std::move(matcher));
    // No worker runs now: what was kept is the worker's to go on with.
    FShared->Complete.store(false);
    FShared->FromLine = fromLine;
    FJob = std::make_unique<TBackgroundJob>(
        [shared = FShared, tail = std::move(tail), owned, fromLine](TJobControl& control) mutable {
        long long count = shared->Count.load(std::memory_order_relaxed);
        TMatchTicks ticks;
        {
            std::lock_guard lock(shared->Mutex);
            ticks = shared->Ticks;
        }
        int lastLine = -1;
        int previousLine = -1;
        long long beforeLast = count;
        auto publish = [&] {
            std::lock_guard lock(shared->Mutex);
            shared->Ticks = ticks;
            shared->Count.store(count, std::memory_order_relaxed);
            shared->Changed.store(true, std::memory_order_release);
        };
        // Handing over the ticks costs a copy: a few times a second is soon
        // enough for a bar redrawn at most ten times a second.
        auto lastPublish = std::chrono::steady_clock::now();
        owned->ScanForward(
            tail.Text, 0, 0,
            [&](const TDocumentHit& hit) {
            const int line = fromLine + hit.Line;
            if (line != lastLine) {
                previousLine = lastLine;
                lastLine = line;
                beforeLast = count;
                ticks.Add(line);
                const auto now = std::chrono::steady_clock::now();
                if (now - lastPublish >= PublishInterval) {
                    publish();
                    lastPublish = now;
                }
            }
            shared->Count.store(++count, std::memory_order_relaxed);
            return !control.Cancelled();
        },
            &control);
        // The text is let go of as soon as the work ends: a held mapping
        // keeps the file from growing in place.
        tail = {};
        owned.reset();
        shared->LastLine = lastLine;
        shared->PreviousLine = previousLine;
        shared->BeforeLast = beforeLast;
        publish();
        if (!control.Cancelled())
            shared->Complete.store(true, std::memory_order_release);
    });
}

int TMatchCounter::Hold(int line) {
    if (!FJob) {
        Cancel();
        return 0;
    }
    FJob.reset();
    TShared& shared = *FShared;
    // A count cut short went in order: every line before its last line with
    // a match (or before where it began) was counted whole.
    const bool complete = shared.Complete.load();
    const int resume =
        complete ? line : std::min(line, shared.LastLine >= 0 ? shared.LastLine : shared.FromLine);
    long long count = shared.Count.load();
    if (shared.LastLine >= resume) {
        if (shared.PreviousLine >= resume) {
            Cancel();
            return 0;
        }
        count = shared.BeforeLast;
    }
    std::lock_guard lock(shared.Mutex);
    shared.Ticks.DropFrom(resume);
    shared.Count.store(count);
    shared.Complete.store(false);
    shared.Changed.store(true);
    shared.LastLine = -1;
    shared.PreviousLine = -1;
    shared.BeforeLast = count;
    return resume;
}

void TMatchCounter::CountNow(const TOVStringList& lines, const TLineMatcher& matcher) {
    Cancel();
    long long count = 0;
    TMatchTicks ticks;
    std::string shown;
    for (int i = 0; i < lines.Count(); ++i) {
        ForEachLineMatch(matcher, lines.ShownView(i, shown), [&](const TLineHit&) {
            ++count;
            ticks.Add(i);
            return true;
        });
    }
    std::lock_guard lock(FShared->Mutex);
    FShared->Ticks = std::move(ticks);
    FShared->Count.store(count);
    FShared->Complete.store(true);
    FShared->Changed.store(true);
}

void TMatchCounter::Cancel() {
    FJob.reset();
    FShared = std::make_shared<TShared>();
}

long long TMatchCounter::Count() const {
    return FShared->Count.load(std::memory_order_relaxed);
}

bool TMatchCounter::Complete() const {
    return FShared->Complete.load(std::memory_order_acquire);
}

TMatchTicks TMatchCounter::Ticks() const {
    std::lock_guard lock(FShared->Mutex);
    return FShared->Ticks;
}

bool TMatchCounter::TakeChange() {
    return FShared->Changed.exchange(false, std::memory_order_acq_rel);
}

} // namespace ov
