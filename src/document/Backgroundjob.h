#pragma once
// A piece of work on a thread of its own, for a command that needs more of
// a document than the window's thread may read at once: the work reports how
// far it has come and looks at a cancel flag between steps. The job owns its
// thread; whatever the work reads must be owned by the work itself (shared
// copies of a mapped text, a result object it shares with its starter), so
// that closing the document while it runs frees nothing under it.
//
// No event loop here: the owner looks at Done from its own thread (a timer
// of the window) and reads the work's result after it.

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace ov {

// What a running work sees of its job.
class TJobControl {
public:
    bool Cancelled() const { return FCancel.load(std::memory_order_relaxed); }
    // The flag itself, for a scanner that takes a borrowed cancel flag; it
    // lives as long as the job.
    const std::atomic<bool>& CancelFlag() const { return FCancel; }
    // How far the work has come, 0 .. 1.
    void SetProgress(double progress) { FProgress.store(progress, std::memory_order_relaxed); }

private:
    friend class TBackgroundJob;
    std::atomic<bool> FCancel{false};
    std::atomic<double> FProgress{0.0};
};

class TBackgroundJob {
public:
    using TWork = std::function<void(TJobControl& control)>;
    // Starts work at once. An exception that leaves the work is kept for
    // the owner (Rethrow).
    explicit TBackgroundJob(TWork work);
    // Cancels and waits: the work stops at its next look at the flag.
    ~TBackgroundJob();
    TBackgroundJob(const TBackgroundJob&) = delete;
    TBackgroundJob& operator=(const TBackgroundJob&) = delete;

    // True once the work has returned; everything it wrote is then visible
    // to the caller.
    bool Done() const { return FDone.load(std::memory_order_acquire); }
    double Progress() const { return FControl.FProgress.load(std::memory_order_relaxed); }
    // Sets the cancel flag and waits for the work to return.
    void Cancel();
    // Waits for the work to return, without cancelling it.
    void Wait();
    // After Done: throws what the work threw, if anything.
    void Rethrow() const;

private:
    TJobControl FControl;
    std::atomic<bool> FDone{false};
    std::exception_ptr FError;
    std::thread FThread;
};

} // namespace ov
