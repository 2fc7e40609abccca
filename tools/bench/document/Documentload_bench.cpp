// Loading a large file into the document, next to `wc -l` on the same warm
// file.
//   bench_document_load FILE            timings (Google Benchmark)
//   bench_document_load FILE --peak     one load, then the peak resident size
//   bench_document_load FILE --viewed   one load as the window opens a file,
//                                       up to the whole line index
//                                       (encoding detected), for timing as a whole process
// Make a test file with tools/bench/make_c_file.py, or the same text in
// UTF-8 and CP949 with tools/bench/make_mixed_text.py.

#include "Ovstrings.h"
#include "Uiservices.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string FileName;

void WcL(benchmark::State& state) {
    std::string command = "wc -l '" + FileName + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("wc failed");
}

void LoadSynStringList(benchmark::State& state) {
    for (auto _ : state) {
        ov::TOVSynStringList list;
        list.LoadFromFile(FileName);
        benchmark::DoNotOptimize(list.Count());
        state.counters["lines"] = list.Count();
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [--peak] [benchmark options]\n", argv[0]);
        return 2;
    }
    FileName = argv[1];
    if (argc > 2 && std::strcmp(argv[2], "--viewed") == 0) {
        ov::TOVSynStringList list;
        const std::optional<ov::TFileEncoding> encoding = list.LoadViewedFile(FileName);
        list.FinishLoading();
        std::printf("%s, lines %d\n", encoding ? ov::EncodingName(*encoding) : "not loaded",
                    list.Count());
        return encoding ? 0 : 1;
    }
    if (argc > 2 && std::strcmp(argv[2], "--peak") == 0) {
        ov::TOVSynStringList list;
        list.LoadFromFile(FileName);
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("lines %d, peak resident %.1f MiB\n", list.Count(), usage.ru_maxrss / 1024.0);
        return 0;
    }
    benchmark::RegisterBenchmark("wc -l", WcL)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);
    benchmark::RegisterBenchmark("TOVSynStringList::LoadFromFile", LoadSynStringList)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->MinTime(2);
    argv[1] = argv[0];
    int rest = argc - 1;
    benchmark::Initialize(&rest, argv + 1);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
