// Paging through a large file in the hex view, next to `xxd -s OFFSET -l 4096`
// on the same (warm) file. The view is shown offscreen at 800 x 600.
//   bench_hexview FILE                  timings (Google Benchmark)
//   bench_hexview FILE --peak           page through the file, then the peak resident size
//   bench_hexview FILE --snapshot OUT   the last page as a PNG
// A 5 GB test file without using 5 GB of disk: a sparse file with data at
// both ends, e.g.
//   truncate -s 5000000000 big.bin
//   head -c 1048576 /dev/urandom | dd of=big.bin conv=notrunc status=none
//   head -c 1048576 /dev/urandom | dd of=big.bin bs=1048576 seek=4767 conv=notrunc status=none

#include "Ovhexpage.h"
#include "Ovhexviewer.h"
#include "Qtuiservices.h"

#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::string FileName;
std::unique_ptr<ov::TOVHexViewer> Viewer;

std::unique_ptr<ov::TOVHexViewer> ShownViewer() {
    auto viewer = std::make_unique<ov::TOVHexViewer>();
    viewer->show();
    QSize frame = viewer->size() - viewer->viewport()->size();
    viewer->resize(QSize(800, 600) + frame);
    QApplication::processEvents();
    viewer->SetFileName(FileName);
    return viewer;
}

void Xxd(benchmark::State& state) {
    long long offset = (Viewer->RowCount() - Viewer->PageRows()) * 16;
    std::string command =
        "xxd -s " + std::to_string(offset) + " -l 4096 '" + FileName + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("xxd failed");
}

// One open, one size query, the first page read and drawn, then the jump
// to the last row: one open, one read of a page, one full draw.
void OpenAndJumpToEnd(benchmark::State& state) {
    for (auto _ : state) {
        Viewer->CloseFile();
        Viewer->SetFileName(FileName);
        Viewer->SetTopIndex(Viewer->RowCount());
    }
    state.counters["rows/page"] = Viewer->PageRows();
}

// A jump of a whole page or more: a full read and redraw.
void JumpBetweenEnds(benchmark::State& state) {
    int64_t targets[2] = {0, Viewer->RowCount()};
    int i = 0;
    for (auto _ : state)
        Viewer->SetTopIndex(targets[i++ & 1]);
}

// One row down and back up: one row read, the rest moved as pixels, d + 1 rows drawn.
void ScrollOneRow(benchmark::State& state) {
    int64_t middle = Viewer->RowCount() - Viewer->PageRows() - 10;
    Viewer->SetTopIndex(middle);
    int step = 1;
    for (auto _ : state) {
        Viewer->SetTopIndex(Viewer->TopIndex() + step);
        step = -step;
    }
}

// The page read alone, without drawing.
void ReadLastPage(benchmark::State& state) {
    ov::TOVHexPage page;
    page.SetRows(Viewer->PageRows());
    int64_t top = Viewer->RowCount() - Viewer->PageRows();
    for (auto _ : state)
        benchmark::DoNotOptimize(page.Load(FileName, Viewer->FileSize(), top, 0, page.Rows()));
}

int PeakMode() {
    for (int64_t row = 0; row < Viewer->RowCount(); row += Viewer->RowCount() / 1000 + 1)
        Viewer->SetTopIndex(row);
    for (int i = 0; i < 1000; ++i)
        Viewer->SetTopIndex(Viewer->TopIndex() + 1);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "rows %lld, page buffer %lld bytes, back buffer %lld bytes, peak resident %.1f MiB\n",
        static_cast<long long>(Viewer->RowCount()),
        static_cast<long long>(Viewer->PageBufferSize()),
        static_cast<long long>(Viewer->BackBuffer().sizeInBytes()), usage.ru_maxrss / 1024.0);
    return 0;
}

int Run(int argc, char** argv) {
    FileName = argv[1];
    Viewer = ShownViewer();
    if (Viewer->RowCount() == 0) {
        std::fprintf(stderr, "%s: cannot read or empty\n", argv[1]);
        return 1;
    }
    if (argc > 2 && std::strcmp(argv[2], "--peak") == 0)
        return PeakMode();
    if (argc > 3 && std::strcmp(argv[2], "--snapshot") == 0) {
        Viewer->SetTopIndex(Viewer->RowCount());
        return Viewer->BackBuffer().save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
    }
    benchmark::RegisterBenchmark("xxd -s OFFSET -l 4096", Xxd)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("TOVHexViewer open + jump to last row", OpenAndJumpToEnd)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("TOVHexViewer jump first <-> last page", JumpBetweenEnds)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("TOVHexViewer scroll one row", ScrollOneRow)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("TOVHexPage read last page", ReadLastPage)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    argv[1] = argv[0];
    int benchArgc = argc - 1;
    benchmark::Initialize(&benchArgc, argv + 1);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [--peak | --snapshot OUT.png | benchmark options]\n",
                     argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication app(argc, argv);
    ov::InstallFontSubstitutions();
    int result = Run(argc, argv);
    Viewer.reset(); // widgets go before the application
    return result;
}
