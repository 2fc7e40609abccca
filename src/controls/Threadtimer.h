#pragma once
// TThreadTimer: a timer whose clock is a worker thread (TTimerThread) rather
// than the event loop, so that it keeps time while the interface thread is
// busy. The tick handler OnTimer always runs on the interface thread: the
// worker only emits a queued signal to a receiver object that lives there, and
// at most one tick waits in the queue at a time (ticks that fall due while
// one is pending are merged into it).
//
// Threads: every switch-on starts one worker; switching off, or destroying
// the timer, stops that worker and waits for it to end, so no worker outlives
// its timer and no tick is delivered after the timer was switched off. The
// handler may switch the timer off or destroy it.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ov {

class TThreadTimer;
class TTimerReceiver;

// State shared by one worker and its timer. Written by the interface thread,
// read by the worker; the mutex and condition let a stop wake a waiting
// worker at once.
struct TTimerShared {
    std::atomic<bool> Stopped{false};
    std::atomic<int> Interval{3000};
    std::atomic<bool> TickPending{false};
    std::mutex Mutex;
    std::condition_variable Wake;
};

// Ordinary threads on Linux all run at one priority without privileges, so
// the priority is kept as a property of the timer but changes nothing.
enum class TThreadPriority { Idle, Lowest, Lower, Normal, Higher, Highest, TimeCritical };

// The worker: waits the interval (at least 10 ms), posts a tick, and again,
// until its shared Stopped flag is set. Destroying it stops it and joins it.
class TTimerThread {
public:
    TTimerThread(std::shared_ptr<TTimerShared> shared, TTimerReceiver* receiver);
    ~TTimerThread();
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;

    // Workers of all timers that exist, for checks that none is left behind.
    static int LiveCount() { return FLiveCount.load(); }

private:
    void Run();
    bool ShouldEnd() const { return FShared->Stopped.load(); }
    void PostTick();

    std::shared_ptr<TTimerShared> FShared;
    TTimerReceiver* FReceiver; // lives on the interface thread, outlives this thread
    std::thread FThread;
    static std::atomic<int> FLiveCount;
};

class TThreadTimer {
public:
    TThreadTimer();
    ~TThreadTimer();
    TThreadTimer(const TThreadTimer&) = delete;
    TThreadTimer& operator=(const TThreadTimer&) = delete;

    // Milliseconds between ticks; the worker waits at least 10.
    int Interval() const { return FInterval; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    TThreadPriority ThreadPriority() const { return FPriority; }
    void SetThreadPriority(TThreadPriority priority) { FPriority = priority; }

    std::function<void(TThreadTimer* sender)> OnTimer;

    // Tick receivers not yet freed (one per timer, kept a little longer by a
    // tick under way), for checks that none is left behind.
    static int ReceiverCount();

private:
    friend class TTimerReceiver;
    void StartThread();
    void StopThread();
    void DeliverTick();

    int FInterval = 3000;
    bool FEnabled = false;
    TThreadPriority FPriority = TThreadPriority::Normal;
    std::shared_ptr<TTimerShared> FShared;
    std::unique_ptr<TTimerThread> FThread;
    TTimerReceiver* FReceiver;
};

} // namespace ov
