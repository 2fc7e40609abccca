// Drives the real main window (offscreen) through a script of commands on a
// file and reports, for each command, how long it took to be done and the
// longest time the window's event loop did not run meanwhile: what a user
// sees as a window that does not answer. A timer of 1 ms stands for the
// event loop; a gap between two of its ticks is a time nothing else ran.
//   bench_script FILE [--lang NAME] [--goto LINE] [--find TEXT] [--back TEXT] [--no] [--no-marks]
//                [--skip WORDS]
// The script: open FILE; with --back, Find backward from the screen while
// the file is still indexed, of TEXT (a text on the first rows shown) and of
// the absent text (round the end, the whole file), each done when the view's
// job has ended, whether or not the index has; then End, Ctrl+Home, Go to line (LINE, or nine tenths
// of the rows), Find of a text that does not occur (TEXT, over the whole
// file), Find Next of the same text at once (beside the count of the
// Find's matches; --no-marks clears the marks after each Find so that no
// count runs), Copy all (Ctrl+A), word wrap on, word wrap off, and a switch to the
// language NAME ("none" for none; by default none when the file has a
// language, SQL when it has none). A command is done when no dialog is
// open, no line is being indexed, no background highlighting, view's job
// (find, select or copy all) or wrap of the rows not shown runs and the
// status bar's gauge is hidden, and that stays so for 200 ms; its time is
// taken when that began. Questions are
// answered yes, or after the open no with --no (a copy of a 10 GB file would
// not fit in memory). --skip leaves out the commands whose names hold one of the
// comma-separated words (--skip wrap,copy). Messages go to stderr. The
// anonymous memory (RssAnon) after each command is reported too, and where
// the view then stands. Nothing else is written: the process ends without
// closing its window.
// Runtime files are taken from build/bin beside the benchmarks.

#include "Benchapp.h"
#include "Commandline.h"
#include "Files.h"
#include "Find.h"
#include "Goto.h"
#include "Main.h"
#include "Qtuiservices.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpedit.h"
#include "Xpgauge.h"
#include "Xpradiobutton.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using TClock = std::chrono::steady_clock;

double Ms(TClock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

using ov::bench::StatusKiB;

// Answers every question alike (yes until told otherwise); messages go to
// stderr.
class TBenchUIServices : public ov::TUIServices {
public:
    void SetAnswer(bool yes) { FYes = yes; }
    bool AskYesNo(const std::string& text, const std::string& caption, ov::TMessageIcon) override {
        std::fprintf(stderr, "question (%s): %s: %s\n", FYes ? "yes" : "no", caption.c_str(), text.c_str());
        return FYes;
    }
    void ShowMessage(const std::string& text, const std::string& caption, ov::TMessageIcon) override {
        std::fprintf(stderr, "message: %s: %s\n", caption.c_str(), text.c_str());
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool Interactive() const override { return false; }

private:
    bool FYes = true;
};

struct TOptions {
    std::string File;
    std::string Language; // empty: chosen by the file
    long Line = -1;
    std::string Find = "없는문자열QZX";
    std::string Back; // empty: no backward finds
    bool Yes = true;
    // Every Find clears the marks of its matches at once, so that no count
    // runs beside the next command.
    bool Marks = true;
    std::vector<std::string> Skipped;
};

class TScript : public QObject {
public:
    TScript(ov::TMainForm& form, TOptions options, TBenchUIServices& answers)
        : FForm(form), FOptions(std::move(options)), FAnswers(answers) {
        FViewer = form.Controls().Viewer;
        static_cast<QAbstractScrollArea*>(FViewer)->viewport()->installEventFilter(this);
        Add("open", [this] { FForm.OpenFile(FOptions.File); }, TDone::Painted);
        if (!FOptions.Back.empty()) {
            Add("Find backward (on screen)", [this] { FindBackward(FOptions.Back); }, TDone::JobEnded);
            Add("Find backward (absent)", [this] { FindBackward(FOptions.Find); }, TDone::JobEnded);
        }
        Add("End", [this] {
            FAnswers.SetAnswer(FOptions.Yes); // the file itself is always opened
            Key(Qt::Key_End, Qt::NoModifier);
        });
        Add("Ctrl+Home", [this] { Key(Qt::Key_Home, Qt::ControlModifier); });
        Add("Alt+G far line", [this] {
            WhenModal([this](QWidget* dialog) {
                auto* go = dynamic_cast<ov::TfGoto*>(dialog);
                if (!go) {
                    dialog->close();
                    return;
                }
                const long line = FOptions.Line > 0 ? FOptions.Line : std::max(1L, FViewer->RowCount() * 9L / 10);
                go->Edit1->setText(QString::number(line));
                go->Button1->click();
            });
            FForm.Menus().GotoLine1->trigger();
        });
        Add("Find (absent text)", [this] {
            WhenModal([this](QWidget* dialog) {
                auto* find = dynamic_cast<ov::TfFind*>(dialog);
                if (!find) {
                    dialog->close();
                    return;
                }
                find->cbText->setEditText(QString::fromStdString(FOptions.Find));
                find->rbFoward->SetChecked(true);
                find->rbEntire->SetChecked(true);
                find->bFind->click();
            });
            FForm.Menus().Find1->trigger();
            if (!FOptions.Marks)
                FForm.ClearMatchHighlight();
        });
        // Right after the Find: the count of its matches runs beside it.
        Add("Find again (F3)", [this] {
            FForm.Menus().FindNext1->trigger();
            if (!FOptions.Marks)
                FForm.ClearMatchHighlight();
        });
        Add("Ctrl+A copy all", [this] { FForm.Menus().CopyAll1->trigger(); });
        Add("word wrap on", [this] { FForm.Menus().WordWrap1->trigger(); });
        Add("word wrap off", [this] { FForm.Menus().WordWrap1->trigger(); });
        Add("language switch", [this] { SwitchLanguage(); });
        FTicker.setTimerType(Qt::PreciseTimer);
        FTicker.setInterval(1);
        connect(&FTicker, &QTimer::timeout, this, [this] { Tick(); });
    }

    void Start() {
        std::printf("%s\n%-20s %12s %14s %10s %14s %12s %12s\n", FOptions.File.c_str(), "command",
                    "done (ms)", "longest (ms)", ">100 ms", "RssAnon (MiB)", "top row", "rows");
        std::fflush(stdout);
        FLastTick = TClock::now();
        FTicker.start();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            FPainted = true;
        return false;
    }

private:
    // When a command is done: at its first paint, once everything is idle,
    // or once the view's job has ended (the index may go on).
    enum class TDone { Painted, Idle, JobEnded };
    struct TStep {
        const char* Name;
        std::function<void()> Run;
        TDone Done;
    };

    void Add(const char* name, std::function<void()> run, TDone done = TDone::Idle) {
        for (const std::string& word : FOptions.Skipped)
            if (std::strstr(name, word.c_str()))
                return;
        FSteps.push_back({name, std::move(run), done});
    }

    // From the screen backward, round the end, through the Find dialog.
    void FindBackward(const std::string& text) {
        WhenModal([text](QWidget* dialog) {
            auto* find = dynamic_cast<ov::TfFind*>(dialog);
            if (!find) {
                dialog->close();
                return;
            }
            find->cbText->setEditText(QString::fromStdString(text));
            find->rbBackward->SetChecked(true);
            find->rbCursor->SetChecked(true);
            find->cbWrapAround->SetChecked(true);
            find->bFind->click();
        });
        FForm.Menus().Find1->trigger();
        if (!FOptions.Marks)
            FForm.ClearMatchHighlight();
    }

    void Key(int key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(FViewer, &press);
    }

    void WhenModal(std::function<void(QWidget*)> act) { FModalAct = std::move(act); }

    void SwitchLanguage() {
        std::string name = FOptions.Language;
        if (name.empty())
            name = FViewer->HighlightActive() ? "none" : "SQL";
        QAction* chosen = nullptr;
        if (name == "none") {
            chosen = FForm.Menus().None1;
        } else {
            for (QAction* item : FForm.Menus().SyntaxHighlighting1->actions())
                if (item->text() == QString::fromStdString(name))
                    chosen = item;
        }
        std::fprintf(stderr, "language: %s%s\n", name.c_str(), chosen ? "" : " (not found)");
        if (chosen)
            chosen->trigger();
    }

    bool Idle() const {
        return !QApplication::activeModalWidget() && !FModalAct && !FViewer->Loading() &&
               !FViewer->HighlightingInBackground() && !FViewer->JobRunning() &&
               !FViewer->WrappingInBackground() && !FForm.Controls().LoadGauge->isVisible();
    }

    void Tick() {
        const TClock::time_point now = TClock::now();
        const double gap = Ms(now - FLastTick);
        FLastTick = now;
        if (FRunning) {
            FLongest = std::max(FLongest, gap);
            FStalls += gap > 100;
        }
        if (FModalAct) {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                auto act = std::move(FModalAct);
                FModalAct = nullptr;
                act(dialog);
                return;
            }
        }
        if (FRunning) {
            const TStep& step = FSteps[FNext - 1];
            const bool noDialog = !QApplication::activeModalWidget() && !FModalAct;
            const bool done = step.Done == TDone::Painted    ? FPainted && noDialog
                              : step.Done == TDone::JobEnded ? noDialog && !FViewer->JobRunning()
                                                             : Idle();
            if (!done) {
                FQuietSince = {};
                if (now - FStarted > std::chrono::minutes(10))
                    Report(now, "(timed out)");
                return;
            }
            if (FQuietSince == TClock::time_point{})
                FQuietSince = now;
            const bool painted = step.Done == TDone::Painted;
            if (!painted && now - FQuietSince < std::chrono::milliseconds(200))
                return;
            Report(painted ? now : FQuietSince, "");
            return;
        }
        if (FNext == FSteps.size()) {
            std::fflush(stdout);
            // Ends without closing the window: a closed window would write
            // its settings beside the program.
            std::_Exit(0);
        }
        // The command runs from the event loop, outside the ticker (a timer
        // does not fire again while its handler runs, even in a dialog's
        // loop): its time on the loop's thread is a gap before the next tick.
        FRunning = true;
        FLongest = 0;
        FStalls = 0;
        FPainted = false;
        FQuietSince = {};
        FStarted = TClock::now();
        const std::size_t step = FNext++;
        QTimer::singleShot(0, this, [this, step] {
            FLastTick = TClock::now();
            FSteps[step].Run();
        });
    }

    void Report(TClock::time_point done, const char* note) {
        FRunning = false;
        std::printf("%-20s %12.1f %14.1f %10d %14.1f %12d %12d %s\n", FSteps[FNext - 1].Name,
                    Ms(done - FStarted), FLongest, FStalls, StatusKiB("RssAnon") / 1024.0,
                    FViewer->TopIndex() + 1, FViewer->RowCount(), note);
        std::fflush(stdout);
    }

    ov::TMainForm& FForm;
    TOptions FOptions;
    TBenchUIServices& FAnswers;
    ov::TOVSynTextViewer* FViewer = nullptr;
    std::vector<TStep> FSteps;
    std::size_t FNext = 0;
    QTimer FTicker;
    TClock::time_point FLastTick, FStarted, FQuietSince;
    bool FRunning = false;
    bool FPainted = false;
    double FLongest = 0;
    int FStalls = 0;
    std::function<void(QWidget*)> FModalAct;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [--lang NAME] [--goto LINE] [--find TEXT] [--back TEXT] [--no] [--no-marks] [--skip WORDS]\n",
                     argv[0]);
        return 2;
    }
    TOptions options;
    options.File = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const bool valued = i + 1 < argc;
        if (option == "--lang" && valued)
            options.Language = argv[++i];
        else if (option == "--goto" && valued)
            options.Line = std::atol(argv[++i]);
        else if (option == "--find" && valued)
            options.Find = argv[++i];
        else if (option == "--back" && valued)
            options.Back = argv[++i];
        else if (option == "--no")
            options.Yes = false;
        else if (option == "--no-marks")
            options.Marks = false;
        else if (option == "--skip" && valued) {
            const std::string words = argv[++i];
            for (std::size_t from = 0; from <= words.size();) {
                const std::size_t comma = std::min(words.find(',', from), words.size());
                options.Skipped.push_back(words.substr(from, comma - from));
                from = comma + 1;
            }
        }
        else {
            std::fprintf(stderr, "unknown option %s\n", option.c_str());
            return 2;
        }
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ov::TOVApplication application(argc, argv);
    TBenchUIServices answers;
    ov::TUIServicesGuard installServices(&answers);
    ov::bench::UseProgramFolder();
    ov::TMainForm form(ov::BuildCommandLine({argv[0]}));
    TScript script(form, options, answers);
    form.show();
    QTimer::singleShot(0, &script, [&script] { script.Start(); });
    return QApplication::exec();
}
