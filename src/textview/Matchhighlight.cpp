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
    const int bucket = line >> FShift;
    if (!FBuckets.empty() && FBuckets.back() >= bucket)
        return;
    FBuckets.push_back(bucket);
    if (FBuckets.size() <= Limit)
        return;
    ++FShift;
    std::size_t kept = 0;
    for (int old : FBuckets) {
        const int wider = old >> 1;
        if (kept == 0 || FBuckets[kept - 1] != wider)
            FBuckets[kept++] = wider;
    }
    FBuckets.resize(kept);
}

std::vector<int> TMatchTicks::Lines() const {
    std::vector<int> lines;
    lines.reserve(FBuckets.size());
    for (int bucket : FBuckets)
        lines.push_back(int(static_cast<long long>(bucket) << FShift));
    return lines;
}

void TMatchCounter::Start(TOVStringList::TMappedTail tail, std::unique_ptr<TLineMatcher> matcher) {
    Cancel();
    std::shared_ptr<const TLineMatcher> owned(std::move(matcher));
    FJob = std::make_unique<TBackgroundJob>(
        [shared = FShared, tail = std::move(tail), owned](TJobControl& control) {
        long long count = 0;
        int lastLine = -1;
        TMatchTicks ticks;
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
            if (hit.Line != lastLine) {
                lastLine = hit.Line;
                ticks.Add(hit.Line);
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
        if (control.Cancelled())
            return;
        publish();
        shared->Complete.store(true, std::memory_order_release);
    });
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
