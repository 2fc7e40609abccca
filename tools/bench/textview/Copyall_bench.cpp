// Copy All of a whole file into the clipboard, as the Copy All command does
// it, for timing from outside (`/usr/bin/time -v`, hyperfine) against iconv on the same file.
// Run: bench_copyall FILE load|copy
//   load: loads FILE into a text view and exits (the baseline of "copy");
//   copy: loads it, then copies the whole document to the clipboard and
//         prints the milliseconds of the copy and the clipboard's size.

#include "Ovsyntextviewer.h"
#include "Qtuiservices.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[2], "load") != 0 && std::strcmp(argv[2], "copy") != 0)) {
        std::fprintf(stderr, "usage: bench_copyall FILE load|copy\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication app(argc, argv);
    // The large-copy question is answered Yes, as a user who copies does.
    ov::TScriptedUIServices answers;
    ov::TUIServicesGuard guard(&answers);
    ov::TOVSynTextViewer viewer;
    viewer.resize(1000, 800);
    viewer.Lines().LoadFromFile(argv[1]);
    if (std::strcmp(argv[2], "load") == 0)
        return viewer.Lines().Count() > 0 ? 0 : 1;
    QElapsedTimer timer;
    timer.start();
    viewer.CopyAll();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const qsizetype units = QGuiApplication::clipboard()->text().size();
    std::printf("lines %d, copy %.1f ms, clipboard %lld UTF-16 units (%.1f MB)\n",
                viewer.Lines().Count(), ms, (long long)units, double(units) * 2 / 1e6);
    return units > 0 ? 0 : 1;
}
