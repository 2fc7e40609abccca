#include "Threadtimer.h"

#include <QCoreApplication>
#include <QObject>

#include <algorithm>
#include <chrono>

namespace ov {

namespace {

const int kShortestWait = 10;

} // namespace

// The object the worker signals its ticks to. It lives on the interface
// thread; the worker emits Tick, which reaches Deliver through a queued
// connection made on the interface thread. The signal carries nothing, so
// the worker hands no data of ours across the threads: everything a tick
// needs is read on the interface thread. The receiver forgets its timer
// when the timer goes, and a tick that arrives after that is dropped.
//
// A tick handler may destroy the timer, also from a tick nested in another
// one (a handler that runs the event loop lets the next tick in). The
// receiver counts the deliveries on the stack and outlives the timer until
// the outermost one has returned; only then is it deleted.
class TTimerReceiver : public QObject {
    Q_OBJECT
public:
    TTimerReceiver() {
        ++FLiveCount;
        connect(this, &TTimerReceiver::Tick, this, &TTimerReceiver::Deliver, Qt::QueuedConnection);
    }
    ~TTimerReceiver() override { --FLiveCount; }

    // Called by the timer's destructor: deletes the receiver now, or once the
    // deliveries under way have returned.
    void Release() {
        Timer = nullptr;
        if (FDepth == 0)
            delete this;
    }

    TThreadTimer* Timer = nullptr;
    static std::atomic<int> FLiveCount;

signals:
    void Tick();

private:
    void Deliver() {
        if (Timer == nullptr)
            return;
        // The count comes down also when the handler throws (the application
        // shows the error and goes on), or the receiver would never be freed.
        struct TDepth {
            TTimerReceiver& Receiver;
            explicit TDepth(TTimerReceiver& receiver) : Receiver(receiver) { ++Receiver.FDepth; }
            ~TDepth() {
                if (--Receiver.FDepth == 0 && Receiver.Timer == nullptr)
                    Receiver.deleteLater();
            }
        } depth(*this);
        Timer->DeliverTick();
    }

    int FDepth = 0; // deliveries on the stack, nested ones included
};

std::atomic<int> TTimerThread::FLiveCount{0};
std::atomic<int> TTimerReceiver::FLiveCount{0};

int TThreadTimer::ReceiverCount() {
    return TTimerReceiver::FLiveCount.load();
}

TTimerThread::TTimerThread(std::shared_ptr<TTimerShared> shared, TTimerReceiver* receiver)
    : FShared(std::move(shared)), FReceiver(receiver) {
    ++FLiveCount;
    FThread = std::thread([this] { Run(); });
}

TTimerThread::~TTimerThread() {
    {
        std::lock_guard<std::mutex> lock(FShared->Mutex);
        FShared->Stopped.store(true);
    }
    FShared->Wake.notify_all();
    FThread.join();
    --FLiveCount;
}

void TTimerThread::Run() {
    while (!ShouldEnd()) {
        const auto wait =
            std::chrono::milliseconds(std::max(kShortestWait, FShared->Interval.load()));
        {
            std::unique_lock<std::mutex> lock(FShared->Mutex);
            FShared->Wake.wait_for(lock, wait, [this] { return ShouldEnd(); });
        }
        if (ShouldEnd())
            break;
        PostTick();
    }
}

void TTimerThread::PostTick() {
    if (FShared->TickPending.exchange(true))
        return;
    emit FReceiver->Tick();
}

TThreadTimer::TThreadTimer() : FReceiver(new TTimerReceiver) {
    FReceiver->Timer = this;
}

TThreadTimer::~TThreadTimer() {
    StopThread();
    FReceiver->Release();
}

void TThreadTimer::SetInterval(int milliseconds) {
    if (milliseconds == FInterval)
        return;
    FInterval = milliseconds;
    if (FShared)
        FShared->Interval.store(milliseconds);
}

void TThreadTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled)
        return;
    FEnabled = enabled;
    if (enabled)
        StartThread();
    else
        StopThread();
}

void TThreadTimer::StartThread() {
    StopThread();
    FShared = std::make_shared<TTimerShared>();
    FShared->Interval.store(FInterval);
    FThread = std::make_unique<TTimerThread>(FShared, FReceiver);
}

void TThreadTimer::StopThread() {
    FThread.reset(); // stops and joins the worker
    FShared.reset();
    // Ticks the worker posted before it ended are not delivered.
    QCoreApplication::removePostedEvents(FReceiver, QEvent::MetaCall);
}

void TThreadTimer::DeliverTick() {
    if (!FEnabled || !FShared)
        return;
    FShared->TickPending.store(false);
    if (!OnTimer)
        return;
    // The handler may switch the timer off or destroy it: nothing of the
    // timer is touched after it returns (the receiver that called us looks
    // after itself).
    const auto handler = OnTimer;
    handler(this);
}

} // namespace ov

#include "Threadtimer.moc"
