// Opens a file in the main window as the program does (offscreen) and
// reports, on one line: the time from the start of main to the end of the
// text view's first paint, the anonymous memory (RssAnon: what the program
// holds of its own, not the file's pages in the cache) at that moment and
// the largest seen, and the peak resident size (VmHWM).
//   bench_open FILE [--end [CUT]]
// --end also presses End after the first paint and reports when the view
// stands at the last line with the whole file indexed. With CUT (bytes),
// FILE itself is first cut to that size right after the first paint, as a
// log rotated by copying and truncating it is: it measures what a file cut
// short while indexed costs. Nothing else is written: the process ends
// without closing its window.
// Runtime files are taken from build/bin beside the benchmarks.

#include "Benchapp.h"
#include "Commandline.h"
#include "Files.h"
#include "Main.h"
#include "Qtuiservices.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include <unistd.h>

namespace {

using TClock = std::chrono::steady_clock;

using ov::bench::StatusKiB;

class TPaintWatch : public QObject {
public:
    TPaintWatch(TClock::time_point start, bool pressEnd, QWidget* viewer, std::string cutPath,
                long long cutTo)
        : FStart(start), FPressEnd(pressEnd), FViewer(viewer), FCutPath(std::move(cutPath)),
          FCutTo(cutTo) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint)
            return false;
        // The paint runs first; the figures are taken when it is done.
        QTimer::singleShot(0, this, [this] { Painted(); });
        watched->removeEventFilter(this);
        return false;
    }
    void Watch() { static_cast<QAbstractScrollArea*>(FViewer)->viewport()->installEventFilter(this); }

private:
    void Painted() {
        const double ms =
            std::chrono::duration<double, std::milli>(TClock::now() - FStart).count();
        const long anon = StatusKiB("RssAnon");
        FPeakAnon = std::max(FPeakAnon, anon);
        const int report = FPaints++;
        if (report == 0) {
            std::printf("first paint %.1f ms, RssAnon %.1f MiB", ms, anon / 1024.0);
            if (FPressEnd) {
                if (FCutTo >= 0 && ::truncate(FCutPath.c_str(), off_t(FCutTo)) != 0)
                    std::perror("truncate");
                QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
                QApplication::sendEvent(FViewer, &press);
                // End follows the index to the last line: done when the view
                // no longer loads.
                auto* poll = new QTimer(this);
                connect(poll, &QTimer::timeout, this, [this, poll] {
                    FPeakAnon = std::max(FPeakAnon, StatusKiB("RssAnon"));
                    if (static_cast<ov::TOVSynTextViewer*>(FViewer)->Loading())
                        return;
                    poll->stop();
                    QTimer::singleShot(0, this, [this] { Painted(); });
                });
                poll->start(5);
                return;
            }
        } else if (report == 1) {
            std::printf(", at the last line after End %.1f ms, RssAnon %.1f MiB", ms, anon / 1024.0);
        } else {
            return; // the fallback after a paint already reported
        }
        std::printf(", peak RssAnon %.1f MiB, VmHWM %.1f MiB\n", FPeakAnon / 1024.0,
                    StatusKiB("VmHWM") / 1024.0);
        std::fflush(stdout);
        // Ends without closing the window: a closed window would write its
        // settings beside the program.
        std::_Exit(0);
    }

    TClock::time_point FStart;
    bool FPressEnd;
    QWidget* FViewer;
    std::string FCutPath;
    long long FCutTo;
    int FPaints = 0;
    long FPeakAnon = 0;
};

} // namespace

int main(int argc, char** argv) {
    const TClock::time_point start = TClock::now();
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [--end [CUT]]\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication application(argc, argv);
    ov::TConsoleUIServices console;
    ov::TUIServicesGuard installServices(&console);
    ov::bench::UseProgramFolder();
    ov::TMainForm form(ov::BuildCommandLine({argv[0], argv[1]}));
    const bool pressEnd = argc > 2 && std::strcmp(argv[2], "--end") == 0;
    TPaintWatch watch(start, pressEnd, form.Controls().Viewer, argv[1],
                      pressEnd && argc > 3 ? std::atoll(argv[3]) : -1);
    watch.Watch();
    form.show();
    return QApplication::exec();
}
