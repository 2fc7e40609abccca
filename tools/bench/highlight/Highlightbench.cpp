// Highlighting speed, each measurement beside its reference on the same warm
// file:
//   Execute over a 100 MB C document  vs  wc -l of that file
//   --export-html of a 10 MB C file    vs  highlight -O html (when installed)
// The C definition is the shipped one (data/Syntax/C.syn) when present.
// Files are made once in a temporary folder and removed at exit.

#include "Exporthtml.h"
#include "Files.h"
#include "Ovstrings.h"
#include "Ovsynhighlighter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>

#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

// Used when the shipped definition is not there yet.
const char* const FallbackCSyntax =
    "CaseSensitive=1\r\nDelimiters=,;:.()[]{}+-*/%=<>!&|^~?#\r\n"
    "LineComment1=//\r\nBlockComment1S=/*\r\nBlockComment1E=*/\r\n"
    "StringChar1=\"\r\nStringChar2='\r\nEscapeChar1=\\\r\nEscapeChar2=\\\r\n"
    "#Item \"Keywords\"\r\nauto break case const continue default do else enum extern for goto "
    "if inline register restrict return sizeof static struct switch typedef union volatile "
    "while\r\n#Item \"Types\"\r\nchar double float int long short signed unsigned void size_t\r\n"
    "#Item \"Preprocessor\"\r\n#include #define #if #ifdef #ifndef #endif #else #elif #undef "
    "#pragma\r\n#Item \"Constants\"\r\nNULL true false EOF\r\n";

class TBenchFiles {
public:
    static TBenchFiles& Get() {
        static TBenchFiles files;
        return files;
    }
    const std::string& Program() const { return FProgram; }
    // A C file of at least megabytes MB, made on first use.
    const std::string& CFile(int megabytes) {
        std::string& path = FFiles[megabytes];
        if (path.empty()) {
            path = FProgram + "sample" + std::to_string(megabytes) + ".c";
            WriteCFile(path, static_cast<std::size_t>(megabytes) << 20);
        }
        return path;
    }
    ~TBenchFiles() {
        std::error_code ignored;
        fs::remove_all(FProgram, ignored);
    }

private:
    TBenchFiles() {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        FProgram = pattern + "/";
        const fs::path data = fs::path(ORVANE_SOURCE_DIR) / "data";
        fs::create_directories(FProgram + "Syntax");
        if (fs::exists(data / "Syntax" / "C.syn")) {
            fs::copy(data / "Syntax", FProgram + "Syntax", fs::copy_options::recursive);
        } else {
            ov::WriteWholeFile(FProgram + "Syntax/C.syn", FallbackCSyntax);
            ov::WriteWholeFile(FProgram + "Syntax/C.sty",
                               "Normal=#000000,#FFFFFF\r\nComment=#008000\r\nItem0=#0000FF\r\n");
        }
        ov::WriteWholeFile(FProgram + "langlink.ini", "C=c;h\r\n");
        ov::SetExeFolderOverride(FProgram);
    }

    // Functions with comments, strings, numbers and preprocessor lines, names
    // drawn with a fixed seed.
    static void WriteCFile(const std::string& path, std::size_t size) {
        std::mt19937 random(7);
        const char* const words[] = {"buffer", "count",  "node",  "value", "index",
                                     "result", "length", "table", "entry", "state"};
        auto name = [&] {
            return std::string(words[random() % 10]) + std::to_string(random() % 100);
        };
        std::string text;
        text.reserve(size + 4096);
        while (text.size() < size) {
            const std::string fn = name();
            text += "#include <stdio.h>\n#define LIMIT_" + fn + " " +
                    std::to_string(random() % 5000) + "\n\n/* " + fn +
                    ": walks the table and counts entries\n   that match. */\n"
                    "static int " +
                    fn + "(const char *" + name() + ", size_t " + name() + ")\n{\n";
            for (int line = 0; line < 12; ++line) {
                const std::string a = name(), b = name();
                switch (line % 4) {
                case 0:
                    text += "    int " + a + " = " + b + " * 0x1F + " +
                            std::to_string(random() % 1000) + ";\n";
                    break;
                case 1:
                    text += "    if (" + a + " > LIMIT_" + fn + ") { return -1; } // too many\n";
                    break;
                case 2:
                    text += "    printf(\"%s: %d\\n\", \"" + a + "\", " + b + ");\n";
                    break;
                default:
                    text += "    for (" + a + " = 0; " + a + " < " + b + "; ++" + a + ") " + b +
                            "[" + a + "] = '\\0';\n";
                }
            }
            text += "    return 0;\n}\n\n";
        }
        ov::WriteWholeFile(path, text);
    }

    std::string FProgram;
    std::map<int, std::string> FFiles;
};

double ChildrenCpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Runs a shell command and fails the benchmark when it does. The CPU time of
// the command (the shell included) is added to child_cpu_ms, so a loaded
// machine can be compared by CPU as well as by wall time.
void RunCommand(benchmark::State& state, const std::string& command, double& childCpu) {
    const double before = ChildrenCpuMilliseconds();
    if (std::system(command.c_str()) != 0)
        state.SkipWithError(("failed: " + command).c_str());
    childCpu += ChildrenCpuMilliseconds() - before;
}

void ReportChildCpu(benchmark::State& state, double childCpu) {
    state.counters["child_cpu_ms"] = benchmark::Counter(childCpu, benchmark::Counter::kAvgIterations);
}

void BM_ExecuteC100MB(benchmark::State& state) {
    const std::string& path = TBenchFiles::Get().CFile(100);
    ov::TOVSynStringList lines;
    lines.LoadFromFile(path);
    ov::TOVSynHighlighter highlighter(TBenchFiles::Get().Program() + "Syntax");
    highlighter.SetLang("C");
    for (auto _ : state)
        benchmark::DoNotOptimize(highlighter.Execute(lines));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_ExecuteC100MB)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(3);

void BM_WcLinesC100MB(benchmark::State& state) {
    const std::string& path = TBenchFiles::Get().CFile(100);
    double childCpu = 0;
    for (auto _ : state)
        RunCommand(state, "wc -l '" + path + "' > /dev/null", childCpu);
    ReportChildCpu(state, childCpu);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_WcLinesC100MB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

void BM_ExportHtmlC10MB(benchmark::State& state) {
    const std::string& path = TBenchFiles::Get().CFile(10);
    const std::string out = TBenchFiles::Get().Program() + "out.htm";
    std::ostringstream errors;
    for (auto _ : state) {
        if (ov::ExportHtmlCommand({path, out}, errors) != 0)
            state.SkipWithError(errors.str().c_str());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_ExportHtmlC10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime()->MinTime(3);

void BM_HighlightToolC10MB(benchmark::State& state) {
    if (std::system("command -v highlight > /dev/null 2>&1") != 0) {
        state.SkipWithError("highlight is not installed");
        for (auto _ : state) {
        }
        return;
    }
    const std::string& path = TBenchFiles::Get().CFile(10);
    const std::string out = TBenchFiles::Get().Program() + "tool.htm";
    double childCpu = 0;
    for (auto _ : state)
        RunCommand(state, "highlight -O html -i '" + path + "' -o '" + out + "'", childCpu);
    ReportChildCpu(state, childCpu);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}
BENCHMARK(BM_HighlightToolC10MB)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

} // namespace

BENCHMARK_MAIN();
