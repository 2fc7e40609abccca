// Follows a file in the main window while a writer thread of this process
// appends to it, and reports on one line how far the view fell behind the
// writer (the time from a line's write to the view counting it while it
// stands at the last line: maximum and 99th percentile over 10 ms samples),
// the lines written, and the anonymous memory (RssAnon) at the start, the end
// and its peak, with the peak resident size (VmHWM), and the language the
// view highlights with (FILE's extension chooses it).
//   bench_follow FILE [LINES_PER_SECOND [SECONDS [ROTATION]]]
// FILE is created (or emptied) first and written with numbered lines of 100
// bytes; the defaults are 100000 lines a second for 30 seconds. ROTATION,
// "rename" or "copytruncate", rotates FILE every second as a log rotator
// does (renamed to FILE.1 and a new FILE begun, or copied to FILE.1 and cut
// to nothing) while the writer goes on; the line then tells whether the view
// ended with the current file's lines, the last one written last, how many
// rotations there were, and the memory. The window uses the platform Qt
// chooses (offscreen without a display), titled with FILE's name, so that a
// tool outside can ping it.

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
#include <fstream>
#include <iterator>
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
enum class TRotation { None, Rename, CopyTruncate };

std::string LineHead(long long number) {
    char head[32];
    const int n = std::snprintf(head, sizeof head, "line %09lld ", number);
    return std::string(head, static_cast<std::size_t>(n));
}

class TWriter {
public:
    TWriter(std::string path, int linesPerSecond, int seconds, TRotation rotation)
        : FPath(std::move(path)), FBatchLines(std::max(1, linesPerSecond * BatchMs / 1000)),
          FBatches(seconds * 1000 / BatchMs), FRotation(rotation),
          FWritten(static_cast<std::size_t>(FBatches)) {}
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

    int Rotations() const { return FRotations; } // after Done
    const std::string& LastLine() const { return FLastLine; } // after Done

private:
    // Every second: the file is renamed and a new one begun, or copied and
    // cut to nothing (the writer's appends then go on at its new end).
    void Rotate(int& handle) {
        const std::string old = FPath + ".1";
        if (FRotation == TRotation::Rename) {
            ::close(handle);
            std::rename(FPath.c_str(), old.c_str());
            handle = ::open(FPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_TRUNC, 0644);
        } else {
            {
                std::ifstream in(FPath, std::ios::binary);
                std::ofstream(old, std::ios::binary | std::ios::trunc) << in.rdbuf();
            }
            if (::ftruncate(handle, 0) != 0)
                std::perror("ftruncate");
        }
        ++FRotations;
    }

    void Run() {
        int handle = ::open(FPath.c_str(), O_WRONLY | O_APPEND);
        std::string batch;
        long long number = 0;
        TClock::time_point next = TClock::now();
        for (int b = 0; b < FBatches; ++b) {
            if (FRotation != TRotation::None && b > 0 && b % (1000 / BatchMs) == 0)
                Rotate(handle);
            batch.clear();
            for (int i = 0; i < FBatchLines; ++i) {
                const std::string head = LineHead(number++);
                batch += head;
                batch.append(static_cast<std::size_t>(LineBytes - 1) - head.size(), 'x');
                batch.push_back('\n');
            }
            FLastLine = batch.substr(batch.size() - LineBytes, LineBytes - 1);
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
    TRotation FRotation;
    int FRotations = 0;
    std::string FLastLine;
    std::vector<TClock::time_point> FWritten;
    std::atomic<long long> FBatchesDone{0};
    std::atomic<bool> FDone{false};
    std::thread FThread;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [LINES_PER_SECOND [SECONDS [rename|copytruncate]]]\n",
                     argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const int rate = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int seconds = argc > 3 ? std::atoi(argv[3]) : 30;
    const std::string mode = argc > 4 ? argv[4] : "";
    if (!mode.empty() && mode != "rename" && mode != "copytruncate") {
        std::fprintf(stderr, "%s: no rotation named %s\n", argv[0], mode.c_str());
        return 2;
    }
    const TRotation rotation = mode.empty()            ? TRotation::None
                               : mode == "rename"      ? TRotation::Rename
                                                       : TRotation::CopyTruncate;
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
    TWriter writer(path, rate, seconds, rotation);
    const std::string language = [&] {
        const std::string name = form.Controls().Viewer->SynLang();
        return name.empty() ? std::string("none") : name;
    }();
    TClock::time_point writerDone;
    QTimer::singleShot(200, &form, [&] {
        form.Menus().Follow1->trigger();
        writer.Start();
    });
    auto* sample = new QTimer(&form);
    QObject::connect(sample, &QTimer::timeout, &form, [&] {
        anonPeak = std::max(anonPeak, StatusKiB("RssAnon"));
        if (rotation != TRotation::None) {
            // The end: the view holds the current file's lines, the last
            // written last; given 10 s after the writer stops.
            if (!writer.Done())
                return;
            if (writerDone == TClock::time_point())
                writerDone = TClock::now();
            const ov::TOVSynStringList& lines = form.Controls().Viewer->Lines();
            std::ifstream in(path, std::ios::binary);
            const auto fileLines = std::count(std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>(), '\n');
            const bool whole = lines.Count() == fileLines && lines.Count() > 0 &&
                               lines.GetView(lines.Count() - 1) == writer.LastLine();
            const double waited =
                std::chrono::duration<double, std::milli>(TClock::now() - writerDone).count();
            if (!whole && waited < 10000)
                return;
            sample->stop();
            writer.Join();
            std::printf("%s: lines %lld, rotations %d, end %s (view %d lines, file %lld) %.0f ms "
                        "after the last write, RssAnon start %.1f MiB end %.1f MiB peak %.1f MiB, "
                        "VmHWM %.1f MiB, following %d, language %s\n",
                        mode.c_str(), writer.Lines(), writer.Rotations(),
                        whole ? "whole" : "LOST LINES", lines.Count(), static_cast<long long>(fileLines),
                        waited, anonStart / 1024.0, StatusKiB("RssAnon") / 1024.0, anonPeak / 1024.0,
                        StatusKiB("VmHWM") / 1024.0,
                        int(form.FollowMode() == ov::TMainForm::TFollowMode::On), language.c_str());
            std::fflush(stdout);
            std::_Exit(whole ? 0 : 1);
        }
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
                        "%.1f MiB end %.1f MiB peak %.1f MiB, VmHWM %.1f MiB, following %d, "
                        "language %s\n",
                        written, lags.empty() ? 0 : lags.back(), p99, lags.size(),
                        anonStart / 1024.0, StatusKiB("RssAnon") / 1024.0, anonPeak / 1024.0,
                        StatusKiB("VmHWM") / 1024.0,
                        int(form.FollowMode() == ov::TMainForm::TFollowMode::On), language.c_str());
            std::fflush(stdout);
            std::_Exit(0);
        }
    });
    sample->start(BatchMs);
    return QApplication::exec();
}
