#pragma once
// TViewerJob: the one command of a view that runs longer than the window may
// wait (a search of a whole file, every line selected or copied, a page
// written), run so that the window keeps answering. A step either waits on
// the window's thread for a condition to come true (the index reaching a
// line, or its end) or runs a work on a worker (TBackgroundJob); then its
// done runs on the window's thread, and may start the next step. One job at
// a time: starting a step while another runs cancels that one. A cancelled
// step never runs its done, so the view stays as it was.
//
// A step whose condition already holds runs its done at once, inside the
// call that starts it: commands on what is already at hand keep their order
// of events.

#include "Backgroundjob.h"

#include <functional>
#include <memory>

class QTimer;

namespace ov {

class TViewerJob {
public:
    TViewerJob();
    // Cancels what runs.
    ~TViewerJob();
    TViewerJob(const TViewerJob&) = delete;
    TViewerJob& operator=(const TViewerJob&) = delete;

    // Runs done once ready() holds: at once when it holds now, otherwise on
    // the tick that finds it. progress() says how far the wait has come
    // (0 .. 1; unset: nothing shown).
    void Await(std::function<bool()> ready, std::function<double()> progress,
               std::function<void()> done);
    // Runs work on a worker, then done on the window's thread. An exception
    // from the work is thrown from the tick that finds it done, instead of
    // done.
    void Run(TBackgroundJob::TWork work, std::function<void()> done);
    // Stops what runs and forgets its done; nothing when idle.
    void Cancel();
    bool Running() const { return FReady || FWorker; }
    // How far the running step has come, 0 .. 1.
    double Progress() const;

    // A step started, made progress, or the job ended (by its done or a
    // cancel); on the window's thread.
    std::function<void()> OnChange;

private:
    void StartTimer();
    void Tick();
    // Forgets the running step; its done is handed back.
    std::function<void()> Clear();
    void Changed() const;

    std::function<bool()> FReady;
    std::function<double()> FProgress;
    std::unique_ptr<TBackgroundJob> FWorker;
    std::function<void()> FDone;
    std::unique_ptr<QTimer> FTimer;
};

} // namespace ov
