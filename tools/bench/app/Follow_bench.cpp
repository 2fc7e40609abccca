// Follows a file in the main window while a writer thread of this process
// appends to it, and reports on one line how far the view fell behind the
// writer (the time from a line's write to the view counting it while it
// stands at the last line: maximum and 99th percentile over 10 ms samples),
// the lines written, and the anonymous memory (RssAnon) at the start, the end
// and its peak, with the peak resident size (VmHWM).
//   bench_follow FILE [LINES_PER_SECOND [SECONDS]]
// FILE is created (or emptied) first and written with lines of 100 bytes;
// the defaults are 100000 lines a second for 30 seconds. The window uses the
// platform Qt chooses (offscreen without a display), titled with FILE's
// name, so that a tool outside can ping it.

#include "Benchapp.h"
#include "Commandline.h"
#include "Files.h"
#include "Main.h"
#include "Qtuiservices.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

using ov::bench::StatusKiB;

constexpr int LineBytes = 100;
constexpr int BatchMs = 10;

// Appends batches of lines every BatchMs and keeps when each batch was
// written, so that the window can tell how old the last line it shows is.
class TWriter {
public:
    TWriter(std::string path, int linesPerSecond, int seconds)
        : FPath(std::move(path)), FBatchLines(std::max(1, linesPerSecond * BatchMs / 1000)),
          FBatches(seconds * 1000 / BatchMs), FWritten(static_cast<std::size_t>(FBatches)) {}
    void Start() { FThread = std::thread([this] { Run(); }); }
    void Join() { FThread.join(); }
    bool Done() const { return FDone.load(); }
    long long Lines() const { return FBatchesDone.load() * static_cast<long long>(FBatchLines); }
    // When line (0-based) was written; false when it has not been.
    bool WrittenAt(long long line, TClock::time_point& at) const {
        const long long batch = line / FBatchLines;
        if (batch >= FBatchesDone.load())
            return false;
        at = FWritten[static_cast<std::size_t>(batch)];
        return true;
    }

private:
    void Run() {
        const int handle = ::open(FPath.c_str(), O_WRONLY | O_APPEND);
        std::string batch;
        long long number = 0;
        TClock::time_point next = TClock::now();
        for (int b = 0; b < FBatches; ++b) {
            batch.clear();
            for (int i = 0; i < FBatchLines; ++i) {
                char head[32];
                const int n = std::snprintf(head, sizeof head, "line %09lld ", number++);
                batch.append(head, static_cast<std::size_t>(n));
                batch.append(static_cast<std::size_t>(LineBytes - 1 - n), 'x');
                batch.push_back('\n');
            }
            if (::write(handle, batch.data(), batch.size()) != static_cast<ssize_t>(batch.size()))
                break;
            FWritten[static_cast<std::size_t>(b)] = TClock::now();
            FBatchesDone.store(b + 1);
            next += std::chrono::milliseconds(BatchMs);
            std::this_thread::sleep_until(next);
        }
        ::close(handle);
        FDone.store(true);
    }

    std::string FPath;
    int FBatchLines;
    int FBatches;
    std::vector<TClock::time_point> FWritten;
    std::atomic<long long> FBatchesDone{0};
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [LINES_PER_SECOND [SECONDS]]\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const int rate = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 30;
    {
        const int handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (handle < 0 || ::write(handle, "start\n", 6) != 6)
            return 2;
        ::close(handle);
    }
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication application(argc, argv);
    ov::TConsoleUIServices console;
    ov::TUIServicesGuard installServices(&console);
    ov::bench::UseProgramFolder();
    ov::TMainForm form(ov::BuildCommandLine({argv[0], argv[1]}));
    form.SetWriteSettingsOnClose(false);
    form.show();
    const long anonStart = StatusKiB("RssAnon");
    long anonPeak = anonStart;
    std::vector<double> lags;
    TWriter writer(path, rate, seconds);
    QTimer::singleShot(200, &form, [&] {
        form.Menus().Follow1->trigger();
        writer.Start();
    });
    auto* sample = new QTimer(&form);
    QObject::connect(sample, &QTimer::timeout, &form, [&] {
        anonPeak = std::max(anonPeak, StatusKiB("RssAnon"));
        // Line 0 is "start"; the writer's line n is the view's line n + 1.
        // The newest line the view has is the oldest it lags by: a line
        // written after it is not shown yet.
        const long long shown = form.Controls().Viewer->Lines().Count() - 1;
        const long long written = writer.Lines();
        TClock::time_point at;
        double lag = 0;
        if (shown < written && writer.WrittenAt(shown, at))
            lag = std::chrono::duration<double, std::milli>(TClock::now() - at).count();
        if (written > 0)
            lags.push_back(lag);
        if (writer.Done() && shown >= written) {
            sample->stop();
            writer.Join();
            std::sort(lags.begin(), lags.end());
            const double p99 = lags.empty() ? 0 : lags[lags.size() * 99 / 100];
            std::printf("lines %lld, lag max %.0f ms p99 %.0f ms over %zu samples, RssAnon start "
                        "%.1f MiB end %.1f MiB peak %.1f MiB, VmHWM %.1f MiB, following %d\n",
                        written, lags.empty() ? 0 : lags.back(), p99, lags.size(),
                        anonStart / 1024.0, StatusKiB("RssAnon") / 1024.0, anonPeak / 1024.0,
                        StatusKiB("VmHWM") / 1024.0,
                        int(form.FollowMode() == ov::TMainForm::TFollowMode::On));
            std::fflush(stdout);
            std::_Exit(0);
        }
    });
    sample->start(BatchMs);
    return QApplication::exec();
}
