// Benchmarks of the text view on a highlighted C file of about 100 MB:
// one-row scrolling at the top and at the end (the cost must not depend on
// the position), LinesChange with each font and with word wrap, full-screen
// repaints at 1920 x 1080, and one row of 10 MB against one row as wide as
// the window. Run: bench_textview [--benchmark_filter=...]
// ORVANE_BENCH_MB sets the size of the generated file (default 100);
// ORVANE_BENCH_CODING=utf8 shows the same text as a UTF-8 document.

#include "Codepage.h"
#include "Files.h"
#include "Ovsyntextviewer.h"
#include "Qtuiservices.h"
#include "Textcanvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace ov {
namespace {

// The same kind of code as tools/bench/make_c_file.py writes: comments (one
// of them spanning two lines), strings, numbers and a CP949 comment.
std::string MakeCText(std::size_t size) {
    const std::string korean = "/* \xC7\xD1\xB1\xDB \xC1\xD6\xBC\xAE */";
    std::string text;
    text.reserve(size + 1024);
    for (int n = 0; text.size() < size; ++n) {
        text += "#include <stdio.h>\n#include <string.h>\n\n";
        text += "/* Copies at most n bytes of the source buffer into the destination\n"
                " * buffer and always terminates the destination with a zero byte. */\n";
        text += "static int copy_string_checked_" + std::to_string(n) +
                "(char *destination, const char *source, size_t count)\n{\n";
        text += "    size_t index = 0;\n    if (count == 0 || destination == NULL || source == "
                "NULL)\n        return -1; /* nothing to do */\n";
        text += "    while (index + 1 < count && source[index] != '\\0') {\n        "
                "destination[index] = source[index];\n        index++;\n    }\n";
        text += "    destination[index] = 0; // terminate the copied string here\n    "
                "printf(\"copied %zu bytes into the buffer\\n\", index);\n";
        text += "    " + korean + "\n    return (int)i * 0x1F + 3.5e2;\n}\n\n";
    }
    return text;
}

class TBenchView {
public:
    TBenchView() {
        const char* mb = std::getenv("ORVANE_BENCH_MB");
        const std::size_t size = std::size_t(mb ? std::atof(mb) : 100.0) * 1000 * 1000;
        SetExeFolderOverride(std::string(ORVANE_SOURCE_DIR) + "/data/");
        Viewer = std::make_unique<TOVSynTextViewer>(
            nullptr, CreateSyntaxHighlighter(std::string(ORVANE_SOURCE_DIR) + "/data/Syntax"));
        Viewer->show();
        Resize(1920, 1080);
        std::string text = MakeCText(size);
        Viewer->Lines().BeginUpdate();
        if (const char* coding = std::getenv("ORVANE_BENCH_CODING");
            coding && std::string(coding) == "utf8") {
            text = Utf8FromAnsi(text);
            Viewer->Lines().SetCoding(TTextCoding::Utf8);
        }
        Viewer->Lines().SetTextStr(text.c_str());
        Viewer->SetSynLang("C");
        Viewer->Lines().EndUpdate();
    }
    void Resize(int width, int height) {
        const int dw = Viewer->width() - Viewer->viewport()->width();
        const int dh = Viewer->height() - Viewer->viewport()->height();
        Viewer->resize(width + dw, height + dh);
        while (Viewer->ClientWidth() != width || Viewer->ClientHeight() != height)
            QApplication::processEvents();
    }
    std::unique_ptr<TOVSynTextViewer> Viewer;
};

TBenchView& View() {
    static TBenchView view;
    return view;
}

void SetFont(TOVSynTextViewer& viewer, bool bitmap) {
    if (!bitmap) {
        QFont font("Tahoma");
        font.setPixelSize(12);
        viewer.setFont(font);
    }
    viewer.SetUseBitmapFont(bitmap);
}

// Alternating one-row steps down and up around row top.
void ScrollSteps(benchmark::State& state, bool atEnd) {
    TOVSynTextViewer& viewer = *View().Viewer;
    SetFont(viewer, true);
    viewer.SetWordWrap(false);
    const int top = atEnd ? viewer.RowCount() - viewer.VisibleRows() - 10 : 10;
    // The first jump records the open styles up to the top row, once.
    static double firstJumpMs[2] = {-1, -1};
    QElapsedTimer timer;
    timer.start();
    viewer.SetTopIndex(top);
    if (firstJumpMs[atEnd] < 0)
        firstJumpMs[atEnd] = double(timer.nsecsElapsed()) / 1e6;
    viewer.SetTopIndex(top + 1);
    for (auto _ : state) {
        viewer.SetTopIndex(top);
        viewer.SetTopIndex(top + 1);
    }
    state.counters["rows"] = viewer.RowCount();
    state.counters["first_jump_ms"] = firstJumpMs[atEnd];
}
void BM_ScrollStepTop(benchmark::State& state) {
    ScrollSteps(state, false);
}
void BM_ScrollStepEnd(benchmark::State& state) {
    ScrollSteps(state, true);
}
BENCHMARK(BM_ScrollStepTop)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ScrollStepEnd)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint(benchmark::State& state) {
    TOVSynTextViewer& viewer = *View().Viewer;
    SetFont(viewer, state.range(0) != 0);
    viewer.SetWordWrap(false);
    viewer.SetTopIndex(viewer.RowCount() / 2);
    for (auto _ : state)
        viewer.DrawScreen(false);
    state.SetLabel(state.range(0) ? "bitmap fonts" : "outline font");
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// LinesChange as a notification of the whole document, highlighting
// included; range(0): bitmap fonts, range(1): word wrap.
void BM_LinesChange(benchmark::State& state) {
    TOVSynTextViewer& viewer = *View().Viewer;
    SetFont(viewer, state.range(0) != 0);
    viewer.SetWordWrap(state.range(1) != 0);
    for (auto _ : state)
        viewer.LinesChange();
    state.SetLabel(std::string(state.range(0) ? "bitmap" : "outline") +
                   (state.range(1) ? ", wrap" : ""));
    viewer.SetWordWrap(false);
}
BENCHMARK(BM_LinesChange)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->Args({0, 1})
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// The layout part of LinesChange alone (no highlighting run).
void BM_Layout(benchmark::State& state) {
    TOVSynTextViewer& viewer = *View().Viewer;
    SetFont(viewer, state.range(0) != 0);
    const bool wrap = state.range(1) != 0;
    viewer.SetWordWrap(wrap);
    for (auto _ : state) {
        if (wrap)
            viewer.MakeWrapedLines(false);
        else
            benchmark::DoNotOptimize(viewer.GetMaxStrWidth());
    }
    state.SetLabel(std::string(state.range(0) ? "bitmap" : "outline") +
                   (wrap ? ", MakeWrapedLines" : ", GetMaxStrWidth"));
    viewer.SetWordWrap(false);
}
BENCHMARK(BM_Layout)->Args({1, 0})->Args({0, 0})->Args({1, 1})->Args({0, 1})->Iterations(2)->Unit(
    benchmark::kMillisecond);

// One row of range(0) bytes of C text, highlighted, painted into a
// 1920-pixel-wide buffer; range(1) scrolls it right by that many pixels.
void BM_LongRow(benchmark::State& state) {
    static std::unique_ptr<TOVSynTextViewer> viewer;
    static std::size_t loaded = 0;
    const std::size_t length = std::size_t(state.range(0));
    if (!viewer) {
        viewer = std::make_unique<TOVSynTextViewer>(
            nullptr, CreateSyntaxHighlighter(std::string(ORVANE_SOURCE_DIR) + "/data/Syntax"));
        viewer->resize(1960, 200);
        viewer->show();
        viewer->SetSynLang("C");
    }
    if (loaded != length) {
        std::string line = MakeCText(length);
        std::replace(line.begin(), line.end(), '\n', ' ');
        line.resize(length);
        viewer->Lines().SetTextStr(line.c_str());
        loaded = length;
    }
    viewer->HorzScroll(TScrollCode::Track, int(state.range(1) / viewer->HorzUnit()));
    QImage image(1920, 40, QImage::Format_RGB32);
    TTextCanvas canvas(image, nullptr);
    for (auto _ : state)
        viewer->DrawLines(canvas, 0, 1);
    state.counters["offset"] = viewer->HorzOffset();
}
BENCHMARK(BM_LongRow)
    ->Args({240, 0})
    ->Args({10 * 1000 * 1000, 0})
    ->Args({10 * 1000 * 1000, 40 * 1000 * 1000})
    ->Unit(benchmark::kMicrosecond);

// One mouse-move step of a selection drag that moves the selection's end
// by one row (down and back up in turn), with word wrap off (0) or on (1):
// only the rows whose selection changed are drawn again.
void BM_DragStep(benchmark::State& state) {
    TOVSynTextViewer& viewer = *View().Viewer;
    SetFont(viewer, true);
    viewer.SetWordWrap(state.range(0) != 0);
    viewer.SetTopIndex(viewer.RowCount() / 2);
    const int pitch = viewer.LineHeight() + viewer.LineSpace();
    const int x = viewer.GetGutterWidth() + 8 * 6 + 4;
    auto rowY = [&](int row) { return viewer.TopMargin() + row * pitch + 5; };
    auto send = [&](QEvent::Type type, int y, Qt::MouseButtons buttons) {
        const QPointF at(x, y);
        QMouseEvent event(type, at, viewer.viewport()->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(viewer.viewport(), &event);
    };
    send(QEvent::MouseButtonPress, rowY(5), Qt::LeftButton);
    send(QEvent::MouseMove, rowY(20), Qt::LeftButton);
    int row = 20;
    for (auto _ : state) {
        row = row == 20 ? 21 : 20;
        send(QEvent::MouseMove, rowY(row), Qt::LeftButton);
    }
    send(QEvent::MouseButtonRelease, rowY(row), Qt::NoButton);
    state.counters["rows"] = viewer.RowCount();
    state.SetLabel(state.range(0) ? "word wrap" : "no wrap");
    viewer.Deselect();
    viewer.SetWordWrap(false);
}
BENCHMARK(BM_DragStep)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace ov

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication app(argc, argv);
    ov::InstallFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
