#include "Backgroundjob.h"

namespace ov {

TBackgroundJob::TBackgroundJob(TWork work) {
    FThread = std::thread([this, work = std::move(work)] {
        try {
            work(FControl);
        } catch (...) {
            FError = std::current_exception();
        }
        FDone.store(true, std::memory_order_release);
    });
}

TBackgroundJob::~TBackgroundJob() {
    Cancel();
}

void TBackgroundJob::Cancel() {
    FControl.FCancel.store(true, std::memory_order_relaxed);
    if (FThread.joinable())
        FThread.join();
}

void TBackgroundJob::Wait() {
    if (FThread.joinable())
        FThread.join();
}

void TBackgroundJob::Rethrow() const {
    if (FError)
        std::rethrow_exception(FError);
}

} // namespace ov
