#include "Loadpolicy.h"

namespace ov {

void TWorkerGate::Hold() {
    std::lock_guard<std::mutex> lock(FMutex);
    FHeld = true;
}

void TWorkerGate::Release() {
    {
        std::lock_guard<std::mutex> lock(FMutex);
        FHeld = false;
    }
    FChanged.notify_all();
}

void TWorkerGate::Pass(const std::atomic<bool>& cancel) {
    std::unique_lock<std::mutex> lock(FMutex);
    FChanged.wait(lock, [&] { return !FHeld || cancel.load(); });
}

void TWorkerGate::Wake() {
    // Taking the lock orders the caller's cancel before a waiter's next look
    // at it: the waiter either sees it or is already waiting for this call.
    { std::lock_guard<std::mutex> lock(FMutex); }
    FChanged.notify_all();
}

} // namespace ov
