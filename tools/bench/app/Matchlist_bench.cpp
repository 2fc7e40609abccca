// Lists the lines of a file that match a pattern in the real main window
// (offscreen) and reports, on one line: how long after the list was asked
// for its first rows were there and when it was complete, the number of
// lines, the bytes the list's store holds a line, the anonymous memory the
// process gained meanwhile, and the longest time the window's event loop did
// not run (a 1 ms ticker) while the list filled.
//   bench_matchlist FILE PATTERN [--regex] [--case] [--during-index]
// The list is asked for once the file is wholly indexed, unless
// --during-index asks for it right after the first paint. Nothing is
// written: the process ends without closing its window.

#include "Benchapp.h"
#include "Commandline.h"
#include "Main.h"
#include "Matchlist.h"
#include "Qtuiservices.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;
using ov::bench::StatusKiB;

double Ms(TClock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FILE PATTERN [--regex] [--case] [--during-index]\n",
                     argv[0]);
        return 2;
    }
    ov::TFindOptions options;
    bool duringIndex = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--regex") == 0)
            options.Regex = true;
        else if (std::strcmp(argv[i], "--case") == 0)
            options.CaseSensitive = true;
        else if (std::strcmp(argv[i], "--during-index") == 0)
            duringIndex = true;
        else {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    const std::string pattern = argv[2];
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication application(argc, argv);
    ov::TConsoleUIServices console;
    ov::TUIServicesGuard installServices(&console);
    ov::bench::UseProgramFolder();
    ov::TMainForm form(ov::BuildCommandLine({argv[0], argv[1]}));
    form.resize(1000, 700);
    form.show();
    const ov::TMatchListPanel& list = *form.Controls().MatchList;
    TClock::time_point asked;
    TClock::time_point last;
    double firstRows = -1;
    double stall = 0;
    double call = 0;
    long anonBefore = 0;
    bool started = false;
    auto* ticker = new QTimer(&form);
    QObject::connect(ticker, &QTimer::timeout, &form, [&] {
        const TClock::time_point now = TClock::now();
        if (!started) {
            if (!duringIndex && form.Controls().Viewer->Loading())
                return;
            started = true;
            anonBefore = StatusKiB("RssAnon");
            asked = TClock::now();
            last = asked;
            form.ShowMatchList(pattern, options);
            call = Ms(TClock::now() - asked);
            last = TClock::now();
            return;
        }
        stall = std::max(stall, Ms(now - last));
        last = now;
        if (firstRows < 0 && list.Matches().Count() > 0)
            firstRows = Ms(now - asked);
        if (list.Running())
            return;
        const int count = list.Matches().Count();
        std::printf("the call %.1f ms, lines %d, first rows %.1f ms, complete %.1f ms, store %.2f bytes a line, "
                    "RssAnon +%.1f MiB (%.2f bytes a line), longest stall %.1f ms\n",
                    call, count, firstRows, Ms(now - asked),
                    count ? double(list.Matches().StoreBytes()) / count : 0.0,
                    (StatusKiB("RssAnon") - anonBefore) / 1024.0,
                    count ? (StatusKiB("RssAnon") - anonBefore) * 1024.0 / count : 0.0, stall);
        std::fflush(stdout);
        std::_Exit(0);
    });
    ticker->start(1);
    return QApplication::exec();
}
