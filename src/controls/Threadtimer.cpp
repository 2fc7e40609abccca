#include "Threadtimer.h"

#include <QObject>

#include <algorithm>
#include <chrono>

namespace ov {

namespace {

const int kShortestWait = 10;

} // namespace

// The object the worker posts its ticks to. It lives on the interface thread
// and forgets its timer when the timer goes; a tick that arrives after that
// is dropped. If the timer is destroyed by its own tick handler, the receiver
// is still inside its event handling and is deleted later, by the event loop.
class TTimerReceiver : public QObject {
public:
    TThreadTimer* Timer = nullptr;

    void Deliver(int generation) {
        if (Timer != nullptr)
            Timer->DeliverTick(generation);
    }
};

std::atomic<int> TTimerThread::FLiveCount{0};

TTimerThread::TTimerThread(std::shared_ptr<TTimerShared> shared, TTimerReceiver* receiver,
                           int generation)
    : FShared(std::move(shared)), FReceiver(receiver), FGeneration(generation) {
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
    TTimerReceiver* receiver = FReceiver;
    const int generation = FGeneration;
    QMetaObject::invokeMethod(
        receiver, [receiver, generation] { receiver->Deliver(generation); }, Qt::QueuedConnection);
}

TThreadTimer::TThreadTimer() : FReceiver(new TTimerReceiver) {
    FReceiver->Timer = this;
}

TThreadTimer::~TThreadTimer() {
    StopThread();
    FReceiver->Timer = nullptr;
    if (FDeliveryDepth > 0)
        FReceiver->deleteLater();
    else
        delete FReceiver;
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
    FThread = std::make_unique<TTimerThread>(FShared, FReceiver, ++FGeneration);
}

void TThreadTimer::StopThread() {
    FThread.reset(); // stops and joins the worker
    FShared.reset();
}

void TThreadTimer::DeliverTick(int generation) {
    if (!FEnabled || generation != FGeneration || !FShared)
        return;
    FShared->TickPending.store(false);
    if (!OnTimer)
        return;
    // The handler may switch the timer off or destroy it: nothing of the
    // timer is touched after it returns, and the receiver that called us is
    // kept alive until its event has been handled.
    const auto handler = OnTimer;
    TTimerReceiver* receiver = FReceiver;
    ++FDeliveryDepth;
    handler(this);
    if (receiver->Timer == this)
        --FDeliveryDepth;
}

} // namespace ov
