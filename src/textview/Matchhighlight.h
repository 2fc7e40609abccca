#pragma once
// Every match of the current search, as the text view shows it. The rows
// painted are marked from the matches of their own lines, found on the
// window's thread for those lines only (TMatchRuns); the whole document is
// counted by a worker (TMatchCounter), which also notes where the matches lie
// (TMatchTicks) for the marks along the scroll bar. No widgets here.

#include "Backgroundjob.h"
#include "Linematcher.h"
#include "Ovstrings.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace ov {

// Makes the matcher of a search for a document of coding; null when the
// search cannot be made (it is then shown nowhere). A matcher serves one
// thread, so the view makes one for its rows and one for each count.
using TMatcherMaker = std::function<std::unique_ptr<TLineMatcher>(const TCharCoding& coding)>;

// Bytes Start .. End - 1 of a line lie inside some match.
struct TMatchRun {
    int Start = 0;
    int End = 0;
    friend bool operator==(const TMatchRun&, const TMatchRun&) = default;
};

// Every match of line, each looked for one byte after the start of the last
// (overlapping matches count, as Find Next steps through them), handed to
// found in order; the walk stops when found returns false.
template <class TFound>
void ForEachLineMatch(const TLineMatcher& matcher, std::string_view line, TFound&& found) {
    for (TLineHit hit = matcher.FindForward(line, 0); hit.Found();
         hit = matcher.FindForward(line, hit.Column + 1))
        if (!found(hit))
            return;
}

// The runs of line that matches cover, rising and apart (overlapping or
// touching matches make one run).
std::vector<TMatchRun> LineMatchRuns(const TLineMatcher& matcher, std::string_view line);
// Whether byte column lies in one of runs (as LineMatchRuns gives them).
bool InMatchRuns(const std::vector<TMatchRun>& runs, int column);

// Where the matches of a document lie, kept small whatever their number: the
// lines that hold one, rounded down to buckets of 2^Shift lines. Whenever
// more than Limit buckets would be kept the buckets double, so a million
// matching lines cost no more than a few thousand, still finer than a
// scroll bar has pixels. Lines are added in rising order.
class TMatchTicks {
public:
    static constexpr std::size_t Limit = 4096;
    void Add(int line);
    // Forgets the matches of lines from line on, as if they had never been
    // added (the buckets stay as wide as they became).
    void DropFrom(int line);
    // The first line of each bucket that holds a match, rising.
    std::vector<int> Lines() const;
    int Shift() const { return FShift; }
    bool Empty() const { return FFirsts.empty(); }

private:
    // The first matching line of each bucket, rising; a bucket is its first
    // line >> FShift.
    std::vector<int> FFirsts;
    int FShift = 0;
};

// Counts the matches of a whole document. Started on a mapped text, it runs
// on a worker of its own, beside whatever command the view runs; the window's
// thread looks at Count and Ticks while it goes. A document in memory is
// counted at once on the caller's thread.
class TMatchCounter {
public:
    TMatchCounter() = default;
    ~TMatchCounter() { Cancel(); }
    TMatchCounter(const TMatchCounter&) = delete;
    TMatchCounter& operator=(const TMatchCounter&) = delete;

    // Counts the matches of tail, whose first line is line 0, on a worker;
    // the matcher goes with the work.
    void Start(TOVStringList::TMappedTail tail, std::unique_ptr<TLineMatcher> matcher);
    // Counts the matches of lines now.
    void CountNow(const TOVStringList& lines, const TLineMatcher& matcher);
    // Stops a running count and forgets every result.
    void Cancel();
    // Before the mapped text grows at its end (its last line, line, may grow
    // too): stops the worker, which lets go of the text, keeping what it
    // counted before line. Returns the line to count on from (Resume), at
    // most line; 0 when nothing is kept, the count then starting over.
    int Hold(int line);
    // Counts on from fromLine, tail's first line, adding to what Hold kept.
    void Resume(TOVStringList::TMappedTail tail, int fromLine, std::unique_ptr<TLineMatcher> matcher);

    bool Running() const { return FJob && !FJob->Done(); }
    // The count so far; Complete once the whole document is counted.
    long long Count() const;
    bool Complete() const;
    TMatchTicks Ticks() const;
    // Whether the count or the ticks changed since the last call.
    bool TakeChange();

private:
    // What the worker writes and the window's thread reads; shared, so that
    // a cancelled worker never writes into a freed counter.
    struct TShared {
        mutable std::mutex Mutex;
        TMatchTicks Ticks;
        std::atomic<long long> Count{0};
        std::atomic<bool> Complete{false};
        std::atomic<bool> Changed{false};
        // Where the worker got to, for Hold; written by the worker, read once
        // it has returned. The last two lines with a match (-1 for none) and
        // the count before the last one's matches.
        int FromLine = 0;
        int LastLine = -1;
        int PreviousLine = -1;
        long long BeforeLast = 0;
    };
    void Run(TOVStringList::TMappedTail tail, int fromLine, std::unique_ptr<TLineMatcher> matcher);
    std::shared_ptr<TShared> FShared = std::make_shared<TShared>();
    std::unique_ptr<TBackgroundJob> FJob;
};

} // namespace ov
