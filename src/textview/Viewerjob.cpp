#include "Viewerjob.h"

#include <QTimer>

#include <utility>

namespace ov {

namespace {

// How often a running step is looked at: often enough that its end is seen
// at once, seldom enough to cost nothing.
constexpr int TickInterval = 30;

} // namespace

TViewerJob::TViewerJob() = default;

TViewerJob::~TViewerJob() {
    Clear();
}

void TViewerJob::Await(std::function<bool()> ready, std::function<double()> progress,
                       std::function<void()> done) {
    Cancel();
    if (ready()) {
        done();
        return;
    }
    FReady = std::move(ready);
    FProgress = std::move(progress);
    FDone = std::move(done);
    StartTimer();
}

void TViewerJob::Run(TBackgroundJob::TWork work, std::function<void()> done) {
    Cancel();
    FWorker = std::make_unique<TBackgroundJob>(std::move(work));
    FDone = std::move(done);
    StartTimer();
}

void TViewerJob::Cancel() {
    if (!Running())
        return;
    Clear();
    Changed();
}

double TViewerJob::Progress() const {
    if (FWorker)
        return FWorker->Progress();
    return FProgress ? FProgress() : 0.0;
}

void TViewerJob::StartTimer() {
    if (!FTimer) {
        FTimer = std::make_unique<QTimer>();
        FTimer->setInterval(TickInterval);
        QObject::connect(FTimer.get(), &QTimer::timeout, [this] { Tick(); });
    }
    FTimer->start();
    Changed();
}

void TViewerJob::Tick() {
    const bool finished = FWorker ? FWorker->Done() : FReady && FReady();
    if (!finished) {
        Changed();
        return;
    }
    // The worker has returned: what it wrote is visible here, and it is
    // released before its done may start another.
    const std::unique_ptr<TBackgroundJob> worker = std::move(FWorker);
    std::function<void()> done = Clear();
    struct TTellEnd {
        const TViewerJob& Job;
        ~TTellEnd() {
            if (!Job.Running())
                Job.Changed();
        }
    } tellEnd{*this};
    if (worker)
        worker->Rethrow();
    done();
}

std::function<void()> TViewerJob::Clear() {
    if (FTimer)
        FTimer->stop();
    FWorker.reset(); // cancels and waits
    FReady = nullptr;
    FProgress = nullptr;
    return std::exchange(FDone, nullptr);
}

void TViewerJob::Changed() const {
    if (OnChange)
        OnChange();
}

} // namespace ov
