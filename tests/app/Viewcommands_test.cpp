// The view commands of the main window on an offscreen window: each command
// changes the view, and every menu mark agrees with the state afterwards.

#include "Main.h"

#include "About.h"
#include "Exporthtml.h"
#include "Files.h"
#include "Loadpolicy.h"
#include "Testsupport.h"
#include "Uiservices.h"
#include "Xlabel.h"
#include "Xpgauge.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenuBar>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QLabel>
#include <QScrollBar>
#include <QStatusBar>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace ov {
namespace {

class ViewCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride(FFolder.Path());
        FFolder.Write("langlink.ini", "C=c;h\nPascal=pas\n");
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "int line" + std::to_string(i) + " = " + std::string(i % 90, 'x') + ";\n";
        FTextFile = FFolder.Write("long.c", text);
    }
    void TearDown() override { SetExeFolderOverride(""); }

    static void ShowAndWait(TMainForm& form) {
        form.resize(500, 400);
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    test::TTempFolder FFolder;
    std::string FTextFile;
};

QAction* LanguageItem(const TMainForm& form, const QString& caption) {
    for (QAction* item : form.Menus().SyntaxHighlighting1->actions())
        if (item->text() == caption)
            return item;
    return nullptr;
}

// Every mark and state-dependent caption against the state it reports.
void ExpectMenusTellTheTruth(const TMainForm& form) {
    EXPECT_EQ(form.Menus().WordWrap1->isChecked(), form.Controls().Viewer->WordWrap());
    EXPECT_EQ(form.Menus().ShowLineNumber1->isChecked(), form.Controls().Viewer->ShowLineNum());
    EXPECT_EQ(form.Menus().HexView1->isChecked(), form.Controls().HexViewer->isVisibleTo(&form));
    EXPECT_EQ(form.Menus().AutoScroll2->isChecked(), form.Controls().ScrollTimer->isActive());
    EXPECT_EQ(form.Menus().Follow1->isChecked(),
              form.FollowMode() == TMainForm::TFollowMode::On);
    EXPECT_EQ(form.Menus().UseFont1->text(), form.Controls().Viewer->UseBitmapFont()
                                         ? QStringLiteral("윈도우 글꼴 사용(&F)")
                                         : QStringLiteral("비트맵 글꼴 사용(&F)"));
    QAction* marked = form.Menus().SynLangGroup->checkedAction();
    if (form.Controls().Viewer->SynLang().empty())
        EXPECT_EQ(marked, form.Menus().None1);
    else
        EXPECT_EQ(marked,
                  LanguageItem(form, QString::fromStdString(form.Controls().Viewer->SynLang())));
    bool open = !form.Document().FileName().empty();
    EXPECT_EQ(form.Menus().Close1->isEnabled(), open);
    EXPECT_EQ(form.Menus().SaveasHTML1->isEnabled(), open);
    EXPECT_EQ(form.Menus().Edit1->menuAction()->isVisible(), open);
}

// Random commands, each through its menu item as a click delivers it (the
// toolkit flips a checkable item's mark before the command runs). After each
// one the toggled state has flipped exactly once and no mark disagrees.
TEST_F(ViewCommandsTest, EveryToggleFlipsItsStateAndTheMarksAgree) {
    TMainForm form("orvane " + FTextFile);
    ShowAndWait(form);
    ExpectMenusTellTheTruth(form);
    std::mt19937 random(14);
    QAction* pascal = LanguageItem(form, QStringLiteral("Pascal"));
    QAction* c = LanguageItem(form, QStringLiteral("C"));
    ASSERT_TRUE(pascal && c);
    const std::vector<QAction*> commands{form.Menus().WordWrap1,
                                         form.Menus().ShowLineNumber1,
                                         form.Menus().UseFont1,
                                         form.Menus().HexView1,
                                         form.Menus().AutoScroll2,
                                         form.Menus().None1,
                                         pascal,
                                         c,
                                         form.Menus().Close1};
    for (int step = 0; step < 150; ++step) {
        QAction* item = commands[random() % commands.size()];
        if (item == form.Menus().Close1 && step % 3 == 0)
            item = nullptr; // reopen instead
        const bool wrap = form.Controls().Viewer->WordWrap();
        const bool lineNum = form.Controls().Viewer->ShowLineNum();
        const bool bitmap = form.Controls().Viewer->UseBitmapFont();
        const bool hex = form.Controls().HexViewer->isVisibleTo(&form);
        const bool scrolling = form.Controls().ScrollTimer->isActive();
        if (item)
            item->trigger();
        else
            form.OpenFile(FTextFile);
        EXPECT_EQ(form.Controls().Viewer->WordWrap(), wrap != (item == form.Menus().WordWrap1));
        EXPECT_EQ(form.Controls().Viewer->ShowLineNum(),
                  lineNum != (item == form.Menus().ShowLineNumber1));
        EXPECT_EQ(form.Controls().Viewer->UseBitmapFont(),
                  bitmap != (item == form.Menus().UseFont1));
        EXPECT_EQ(form.Controls().ScrollTimer->isActive(),
                  scrolling != (item == form.Menus().AutoScroll2));
        if (item == form.Menus().HexView1) {
            EXPECT_NE(form.Controls().HexViewer->isVisibleTo(&form), hex);
        } else if (item == form.Menus().None1) {
            EXPECT_EQ(form.Controls().Viewer->SynLang(), "");
        } else if (item == pascal) {
            EXPECT_EQ(form.Controls().Viewer->SynLang(), "Pascal");
        }
        ExpectMenusTellTheTruth(form);
        // Opening a menu changes nothing either.
        emit form.Menus().View1->aboutToShow();
        emit form.Menus().SyntaxHighlighting1->aboutToShow();
        ExpectMenusTellTheTruth(form);
        if (testing::Test::HasFailure()) {
            ADD_FAILURE() << "after step " << step << ": "
                          << (item ? item->text().toStdString() : "reopen");
            break;
        }
    }
}

// A language set otherwise than by its item, with a name no item carries
// exactly, leaves no mark on another language.
TEST_F(ViewCommandsTest, ALanguageWithoutItsItemMarksNothing) {
    TMainForm form("orvane " + FTextFile);
    ShowAndWait(form);
    ASSERT_EQ(form.Menus().SynLangGroup->checkedAction(), LanguageItem(form, QStringLiteral("C")));
    form.Controls().Viewer->SetSynLang("pascal");
    emit form.Menus().SyntaxHighlighting1->aboutToShow();
    EXPECT_EQ(form.Menus().SynLangGroup->checkedAction(), nullptr);
}

std::string Rows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "row " + std::to_string(i) + "\n";
    return text;
}

void AppendTo(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::app) << text;
}

// A followed log through its life, each change told by a direct call
// instead of the watcher: appended lines show, the view standing at the
// last row; a half line shows and then completes; a reader who scrolls up
// stays where they went while the log grows, and End resumes; a log cut
// short is read from its start, one rotated by renaming is opened again by
// its name, and a deleted one keeps its text; each with a note in the
// status bar, never a message box. Last, the watcher itself brings an
// append.
TEST_F(ViewCommandsTest, AFollowedLogGrowsAtTheBottomAndSurvivesItsRotation) {
    TScriptedUIServices services;
    TUIServicesGuard guard(&services);
    const std::string log = FFolder.Write("app.log", Rows(100));
    TMainForm form("orvane " + log);
    ShowAndWait(form);
    TOVSynTextViewer& view = *form.Controls().Viewer;
    const auto lastTop = [&] { return std::max(0, view.RowCount() - view.VisibleRows() + 1); };
    const auto note = [&] { return form.Controls().FileNotePanel->text(); };
    form.Menus().Follow1->trigger();
    ExpectMenusTellTheTruth(form);
    ASSERT_EQ(form.FollowMode(), TMainForm::TFollowMode::On);
    EXPECT_EQ(view.TopIndex(), lastTop());

    AppendTo(log, "row 100\nrow 101\nhalf");
    form.ShownFileChanged();
    EXPECT_EQ(view.RowCount(), 103);
    EXPECT_EQ(view.TopIndex(), lastTop());
    EXPECT_EQ(view.Lines().GetView(102), "half");
    AppendTo(log, " done\n");
    form.ShownFileChanged();
    EXPECT_EQ(view.RowCount(), 103);
    EXPECT_EQ(view.Lines().GetView(102), "half done");
    EXPECT_EQ(form.LineStatus(), ViewLineStatus(view.TopIndex(), 103));

    QTest::keyClick(&view, Qt::Key_PageUp);
    EXPECT_EQ(form.FollowMode(), TMainForm::TFollowMode::Paused);
    ExpectMenusTellTheTruth(form);
    const int readerTop = view.TopIndex();
    AppendTo(log, Rows(10));
    form.ShownFileChanged();
    EXPECT_EQ(view.RowCount(), 113);
    EXPECT_EQ(view.TopIndex(), readerTop);
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(form.FollowMode(), TMainForm::TFollowMode::On);
    AppendTo(log, Rows(3));
    form.ShownFileChanged();
    EXPECT_EQ(view.TopIndex(), lastTop());
    EXPECT_TRUE(note().isEmpty());

    std::ofstream(log, std::ios::binary | std::ios::trunc) << "after the cut\n";
    form.ShownFileChanged();
    EXPECT_EQ(view.RowCount(), 1);
    EXPECT_EQ(view.Lines().GetView(0), "after the cut");
    EXPECT_TRUE(note().contains(QStringLiteral("잘려")));

    std::filesystem::rename(log, log + ".1");
    FFolder.Write("app.log", Rows(5));
    form.ShownFileChanged();
    EXPECT_EQ(view.RowCount(), 5);
    EXPECT_TRUE(note().contains(QStringLiteral("새 파일")));
    EXPECT_EQ(form.FollowMode(), TMainForm::TFollowMode::On);

    std::filesystem::remove(log);
    form.ShownFileChanged();
    EXPECT_EQ(view.RowCount(), 5);
    EXPECT_TRUE(note().contains(QStringLiteral("없어졌")));
    EXPECT_EQ(form.Document().FileName(), log);
    EXPECT_TRUE(services.Records.empty());

    FFolder.Write("app.log", Rows(7));
    AppendTo(log, Rows(2));
    QElapsedTimer waited;
    waited.start();
    while (view.RowCount() != 9 && waited.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_EQ(view.RowCount(), 9);
    EXPECT_EQ(view.TopIndex(), lastTop());
    ExpectMenusTellTheTruth(form);
}

// Read again on change, not followed: the same top line and the selection
// where its lines still exist; the option off, nothing is watched.
TEST_F(ViewCommandsTest, AChangedFileIsReadAgainAtTheSameLineWhenTheOptionSaysSo) {
    const std::string path = FFolder.Write("notes.txt", Rows(100));
    for (const bool reload : {false, true}) {
        FFolder.Write("Orvane.ini", std::string("[Option]\nReloadOnChange=") + (reload ? "1" : "0") + "\n");
        TMainForm form("orvane " + path);
        ShowAndWait(form);
        TOVSynTextViewer& view = *form.Controls().Viewer;
        view.SetTopIndex(30);
        view.SetSelection({{0, 31}, {3, 32}});
        std::ofstream(path, std::ios::binary | std::ios::trunc) << Rows(120);
        form.ShownFileChanged();
        EXPECT_EQ(view.RowCount(), reload ? 120 : 100);
        EXPECT_EQ(view.TopIndex(), 30);
        EXPECT_EQ(view.Selection(), (TTextRange{{0, 31}, {3, 32}}));
        EXPECT_EQ(form.FollowMode(), TMainForm::TFollowMode::Off);
        form.close();
        FFolder.Write("notes.txt", Rows(100));
    }
}

// One tick scrolls the visible view one row; at the end the view stays on its
// last page and the timer goes on until switched off. The timer drives it.
TEST_F(ViewCommandsTest, AutoScrollMovesOneRowPerTickInBothViews) {
    std::string text = FFolder.Write("rows.txt", Rows(100));
    std::string binary = FFolder.Write("rows.bin", std::string(100 * 16, '\0'));
    TMainForm form("orvane " + text);
    ShowAndWait(form);
    TOVSynTextViewer& view = *form.Controls().Viewer;
    const int last = view.RowCount() - view.VisibleRows() + 1;
    ASSERT_GT(last, 10);
    for (int tick = 1; tick <= last + 5; ++tick) {
        form.ScrollTimerTimer();
        ASSERT_EQ(view.TopIndex(), std::min(tick, last));
    }
    view.SetTopIndex(0);
    form.Menus().AutoScroll2->trigger();
    for (int press = 0; press < 70; ++press)
        form.Menus().IncreaseSpeed1->trigger();
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 30);
    QTRY_VERIFY_WITH_TIMEOUT(view.TopIndex() >= 3, 5000);

    // Still on: the hex view now moves, the text view stays.
    form.OpenFile(binary);
    ASSERT_TRUE(form.Controls().HexViewer->isVisibleTo(&form));
    EXPECT_TRUE(form.Controls().ScrollTimer->isActive());
    form.Menus().AutoScroll2->trigger();
    TOVHexViewer& hex = *form.Controls().HexViewer;
    hex.SetTopIndex(0);
    const int64_t hexLast = hex.RowCount() - hex.PageRows();
    ASSERT_GT(hexLast, 10);
    for (int64_t tick = 1; tick <= hexLast + 5; ++tick) {
        form.ScrollTimerTimer();
        ASSERT_EQ(hex.TopIndex(), std::min(tick, hexLast));
    }
}

// X and Z move the interval 30 ms at a time within 30 .. 1000000, from a
// speed that starts at 2000 whatever Option/AutoScroll says, and never switch
// auto-scroll on or off.
TEST_F(ViewCommandsTest, SpeedKeysStepWithinTheirBounds) {
    FFolder.Write("Orvane.ini", "[Option]\nAutoScroll=700\n");
    TMainForm form;
    ShowAndWait(form);
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 700);
    form.Menus().DecreaseSpeed1->trigger();
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 2030);
    form.Menus().IncreaseSpeed1->trigger();
    for (int press = 1; press <= 65; ++press) {
        form.Menus().IncreaseSpeed1->trigger();
        EXPECT_EQ(form.Controls().ScrollTimer->interval(), 2000 - 30 * press);
    }
    form.Menus().IncreaseSpeed1->trigger();
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 30);
    form.Menus().IncreaseSpeed1->trigger();
    EXPECT_EQ(form.ScrollStep(), 30);
    form.ApplySettings(false);
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 700);
    EXPECT_EQ(form.ScrollStep(), 30);
    form.SetScrollStep(999990);
    form.Menus().DecreaseSpeed1->trigger();
    form.Menus().DecreaseSpeed1->trigger();
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 1000000);
    EXPECT_FALSE(form.Controls().ScrollTimer->isActive());
    EXPECT_FALSE(form.Menus().AutoScroll2->isChecked());
}

// The extra keys arrive as the views get them.
TEST_F(ViewCommandsTest, CtrlKeysMoveBothViews) {
    std::string text = FFolder.Write("rows.txt", Rows(100));
    TMainForm form("orvane " + text);
    ShowAndWait(form);
    TOVSynTextViewer& view = *form.Controls().Viewer;
    QTest::keyClick(&view, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(view.TopIndex(), 5);
    QTest::keyClick(&view, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(view.TopIndex(), 0);
    QTest::keyClick(&view, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(view.TopIndex(), 0);
    QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.TopIndex(), view.RowCount() - view.VisibleRows() + 1);
    QTest::keyClick(&view, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.TopIndex(), 0);

    form.Menus().HexView1->trigger();
    TOVHexViewer& hex = *form.Controls().HexViewer;
    ASSERT_GT(hex.RowCount(), hex.PageRows());
    QTest::keyClick(&hex, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(hex.TopIndex(), hex.RowCount() - hex.PageRows());
    QTest::keyClick(&hex, Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(hex.TopIndex(), hex.RowCount() - hex.PageRows() - 5);
    QTest::keyClick(&hex, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(hex.TopIndex(), 0);
}

// Option/ESC is read at each press: 0 clears the selection, 1 minimizes, 2
// closes the window, anything else does nothing; Escape with a modifier
// does nothing at all.
TEST_F(ViewCommandsTest, EscapeDoesWhatTheOptionSays) {
    TMainForm form("orvane " + FTextFile);
    ShowAndWait(form);
    TOVSynTextViewer& view = *form.Controls().Viewer;
    auto press = [&](const char* value, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        FFolder.Write("Orvane.ini", std::string("[Option]\nESC=") + value + "\n");
        form.ApplySettings(true);
        view.SelectAll();
        QTest::keyClick(&view, Qt::Key_Escape, modifiers);
    };
    press("0", Qt::ShiftModifier);
    EXPECT_TRUE(view.IsSelection());
    press("7");
    EXPECT_TRUE(view.IsSelection());
    EXPECT_TRUE(form.isVisible());
    press("0");
    EXPECT_FALSE(view.IsSelection());
    press("1");
    EXPECT_TRUE(form.windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(view.IsSelection());
    form.showNormal();
    press("2", Qt::ControlModifier);
    EXPECT_TRUE(form.isVisible());
    press("2");
    EXPECT_FALSE(form.isVisible());
}

// The see-through switch has no mark; the help pages come from the program's
// folder; the maker's links are a web page and a mail address.
TEST_F(ViewCommandsTest, OpacityHelpPagesAndLinks) {
    TMainForm form;
    std::vector<QUrl> opened;
    form.SetShellOpen([&](const QUrl& url) { opened.push_back(url); });
    ShowAndWait(form);
    form.Menus().WindowOpacity1->trigger();
    EXPECT_TRUE(form.SeeThrough());
    EXPECT_NEAR(form.windowOpacity(), 220 / 255.0, 0.01);
    EXPECT_FALSE(form.Menus().WindowOpacity1->isChecked());
    form.Menus().WindowOpacity1->trigger();
    EXPECT_EQ(form.windowOpacity(), 1.0);

    form.Menus().Shortcuts1->trigger();
    form.Menus().HowtoAddLanguage1->trigger();
    form.Menus().VisitHomepage1->trigger();
    form.Menus().SendEmail1->trigger();
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(FFolder.File("shortcut.htm"))));
    EXPECT_EQ(opened[1], QUrl::fromLocalFile(QString::fromStdString(FFolder.File("addlang.htm"))));
    EXPECT_TRUE(opened[2].scheme().startsWith(QLatin1String("http")));
    EXPECT_EQ(opened[3].scheme(), QStringLiteral("mailto"));
}

// The about box runs modally, centred over the window; its two link labels
// open the maker's mail and home page, and Escape closes it.
TEST_F(ViewCommandsTest, TheAboutBox) {
    TMainForm form;
    std::vector<QUrl> opened;
    form.SetShellOpen([&](const QUrl& url) { opened.push_back(url); });
    ShowAndWait(form);
    bool looked = false;
    QTimer::singleShot(0, &form, [&] {
        auto* box = dynamic_cast<TfAbout*>(form.Controls().AboutBox);
        ASSERT_TRUE(box && box->isVisible());
        looked = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("프로그램 정보"));
        EXPECT_EQ(box->size(), QSize(320, 208));
        EXPECT_EQ(box->pos(), CentredOver(form.frameGeometry(), box->size()));
        EXPECT_EQ(box->XLabel1->GetOnlyText(), QStringLiteral("Orvane 1.0 Beta"));
        for (TXLabel* label : {box->XLabel1, box->XLabel2, box->XLabel3, box->XLabel4})
            EXPECT_EQ(label->width(), label->GetTextWidth(label->text()));
        QTest::mouseClick(box->XLabel3, Qt::LeftButton);
        QTest::mouseClick(box->XLabel4, Qt::LeftButton);
        QTest::mouseClick(box->XLabel2, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_Escape);
    });
    form.Menus().About1->trigger();
    EXPECT_TRUE(looked);
    EXPECT_EQ(form.Controls().AboutBox, nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(opened[1].scheme().startsWith(QLatin1String("http")));
    EXPECT_EQ(CentredOver(QRect(100, 50, 817, 642), QSize(320, 208)), QPoint(348, 267));
}

// After a long file, closing it or opening a short one leaves the bars
// disabled with no thumb that would suggest something to scroll.
TEST_F(ViewCommandsTest, DisabledBarsShowNoThumb) {
    std::string wide = FFolder.Write("wide.txt", Rows(300) + std::string(3000, 'w') + "\n");
    std::string small = FFolder.Write("small.txt", "one\n");
    TMainForm form("orvane " + wide);
    ShowAndWait(form);
    QScrollBar* vertical = form.Controls().Viewer->verticalScrollBar();
    QScrollBar* horizontal = form.Controls().Viewer->horizontalScrollBar();
    for (bool close : {true, false}) {
        form.OpenFile(wide);
        form.Controls().Viewer->SetTopIndex(150);
        ASSERT_TRUE(vertical->isEnabled() && horizontal->isEnabled());
        horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
        ASSERT_GT(horizontal->value(), 0);
        if (close)
            form.Menus().Close1->trigger();
        else
            form.OpenFile(small);
        for (QScrollBar* bar : {vertical, horizontal}) {
            EXPECT_FALSE(bar->isEnabled());
            EXPECT_EQ(bar->maximum(), 0);
            EXPECT_EQ(bar->value(), 0);
        }
    }
}

// F5 on a file deleted meanwhile says so and keeps the view as it was.
TEST_F(ViewCommandsTest, RefreshOfAVanishedFileKeepsTheView) {
    TScriptedUIServices services;
    TUIServicesGuard guard(&services);
    TMainForm form("orvane " + FTextFile);
    ShowAndWait(form);
    form.Controls().Viewer->SetTopIndex(40);
    std::filesystem::remove(FTextFile);
    form.Menus().Refresh1->trigger();
    ASSERT_EQ(services.Records.size(), 1u);
    EXPECT_NE(services.Records[0].Text.find("long.c"), std::string::npos);
    EXPECT_EQ(form.Document().FileName(), FTextFile);
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 200);
    EXPECT_EQ(form.Controls().Viewer->TopIndex(), 40);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("long.c - Orvane 1.0 Beta"));
    EXPECT_TRUE(form.Menus().Close1->isEnabled());
}

// Another program cuts the shown file short: painting, moving to the end,
// copying everything and saving the page go on over what is left.
TEST_F(ViewCommandsTest, AFileCutShortWhileShownKeepsTheProgramAlive) {
    TScriptedUIServices services;
    TUIServicesGuard guard(&services);
    std::string text;
    for (int i = 0; i < 4000; ++i)
        text += "int value" + std::to_string(i) + " = " + std::to_string(i * 7) + "; /* 값 */\n";
    const std::string path = FFolder.Write("cut.c", text);
    TMainForm form("orvane " + path);
    ShowAndWait(form);
    ASSERT_EQ(form.Controls().Viewer->Lines().Count(), 4000);
    ASSERT_EQ(::truncate(path.c_str(), 10), 0);
    QTest::keyClick(form.Controls().Viewer, Qt::Key_End, Qt::ControlModifier);
    EXPECT_FALSE(form.Controls().Viewer->grab().isNull());
    form.Menus().CopyAll1->trigger();
    QTest::keyClick(form.Controls().Viewer, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_FALSE(form.Controls().Viewer->grab().isNull());
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 4000);
    EXPECT_EQ(form.Controls().Viewer->Lines().GetView(0).substr(0, 10), "int value0");
}

// A file larger than the part indexed at once: the window shows at once,
// the rows and the gauge follow the background index, End and a reopened
// file's place are reached as the index gets there, and find searches the
// whole file.
TEST_F(ViewCommandsTest, ALargeFileShowsAtOnceAndItsLinesFollow) {
    // The index stops after a small first part until the gate is released,
    // whatever the machine's speed.
    auto gate = std::make_shared<TWorkerGate>();
    TLoadPolicy policy;
    policy.FirstPartBytes = 64 << 10;
    policy.Gate = gate;
    // The file named on the command line opens when the window is shown.
    auto showWithPolicy = [&](TMainForm& form) {
        form.Controls().Viewer->SetLoadPolicy(policy);
        ShowAndWait(form);
    };
    std::string text;
    const int total = 200000;
    for (int i = 0; i < total; ++i)
        text += "log line " + std::to_string(i) + (i == total - 1 ? " needle" : "") + "\n";
    const std::string path = FFolder.Write("big.log", text);
    {
        gate->Hold();
        TMainForm form("orvane " + path);
        showWithPolicy(form);
        EXPECT_LT(form.Controls().Viewer->RowCount(), total);
        EXPECT_TRUE(form.Controls().Viewer->Loading());
        EXPECT_TRUE(form.Controls().LoadGauge->isVisible());
        gate->Release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Controls().Viewer->Loading(); }, 20000));
        EXPECT_EQ(form.Controls().Viewer->RowCount(), total);
        EXPECT_FALSE(form.Controls().LoadGauge->isVisible());
        EXPECT_EQ(form.Controls().StatusPanels[0]->text().contains(QString::number(total)), true);
    }
    {
        gate->Hold();
        TMainForm form("orvane " + path);
        showWithPolicy(form);
        ASSERT_TRUE(form.Controls().Viewer->Loading());
        // End goes to the end indexed so far and follows the index there.
        QTest::keyClick(form.Controls().Viewer, Qt::Key_End);
        EXPECT_GT(form.Controls().Viewer->TopIndex(), 0);
        EXPECT_LT(form.Controls().Viewer->TopIndex(), total / 2);
        gate->Release();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Controls().Viewer->Loading(); }, 20000));
        EXPECT_GE(form.Controls().Viewer->TopIndex() + form.Controls().Viewer->VisibleRows(), total);
        EXPECT_GT(form.Controls().Viewer->TopIndex(), total - 100);
        form.close(); // records the place
    }
    {
        // Closed before the index reached the saved place, the file keeps it.
        gate->Hold();
        TMainForm form("orvane " + path);
        showWithPolicy(form);
        EXPECT_LT(form.Controls().Viewer->TopIndex(), total / 2);
        form.close();
        gate->Release();
    }
    {
        TMainForm form("orvane " + path);
        showWithPolicy(form);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Controls().Viewer->Loading(); }, 20000));
        EXPECT_GT(form.Controls().Viewer->TopIndex(), total / 2); // the saved place, reached when indexed
        form.Controls().Viewer->SetTopIndex(0);
        EXPECT_TRUE(form.SearchText("needle", {}, -1, -1));
        EXPECT_EQ(form.Controls().Viewer->SelStart().Y, total - 1);
    }
}

// The index of a large file goes on under every modal dialog, also one
// opened by a key that came in while the window was showing the index's
// progress.
TEST_F(ViewCommandsTest, TheIndexGoesOnUnderAModalDialog) {
    auto gate = std::make_shared<TWorkerGate>();
    TLoadPolicy policy;
    policy.FirstPartBytes = 64 << 10;
    policy.Gate = gate;
    // About three times the first part (indexed in blocks of 1 MiB), so
    // that the first progress shown moves the gauge.
    std::string text;
    const int total = 200000;
    for (int i = 0; i < total; ++i)
        text += "log line " + std::to_string(i) + "\n";
    const std::string path = FFolder.Write("big.log", text);
    for (const char* command : {"Find1", "Options1", "About1"}) {
        gate->Hold();
        TMainForm form("orvane " + path);
        form.Controls().Viewer->SetLoadPolicy(policy); // the file opens when shown
        ShowAndWait(form);
        ASSERT_TRUE(form.Controls().Viewer->Loading());
        QAction* item = command == std::string("Find1")      ? form.Menus().Find1
                        : command == std::string("Options1") ? form.Menus().Options1
                                                             : form.Menus().About1;
        bool posted = false;
        const auto showProgress = form.Controls().Viewer->OnLoadProgress;
        form.Controls().Viewer->OnLoadProgress = [&](TOVSynTextViewer* sender) {
            if (!posted) {
                posted = true;
                QMetaObject::invokeMethod(item, &QAction::trigger, Qt::QueuedConnection);
            }
            showProgress(sender);
        };
        bool released = false;
        QString statusUnderDialog;
        QElapsedTimer clock;
        QTimer watch;
        watch.setInterval(20);
        QObject::connect(&watch, &QTimer::timeout, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            if (!released) {
                released = true;
                clock.start();
                gate->Release();
            } else if (!form.Controls().Viewer->Loading()) {
                statusUnderDialog = form.LineStatus();
                dialog->close();
            } else if (clock.elapsed() > 10000) {
                dialog->close();
            }
        });
        watch.start();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return released && !QApplication::activeModalWidget(); }, 30000))
            << command;
        EXPECT_TRUE(posted) << command;
        EXPECT_EQ(statusUnderDialog, ViewLineStatus(0, total)) << command;
    }
}

// The line panel is as wide as its text needs (a 5 GB file in the hex view
// at its end) and no panel is cut at the bottom of the bar.
TEST_F(ViewCommandsTest, StatusPanelsHoldTheirText) {
    std::string huge = FFolder.File("huge.bin");
    {
        std::ofstream out(huge, std::ios::binary);
        out.write("\0\1", 2);
    }
    std::filesystem::resize_file(huge, 5LL << 30);
    TMainForm form("orvane " + huge);
    ShowAndWait(form);
    ASSERT_TRUE(form.Controls().HexViewer->isVisibleTo(&form));
    QTest::keyClick(form.Controls().HexViewer, Qt::Key_End, Qt::ControlModifier);
    QLabel* panel = form.Controls().StatusPanels[0];
    ASSERT_TRUE(panel->text().endsWith(QStringLiteral("/ 335544320")));
    QTRY_VERIFY(panel->contentsRect().width() >=
                panel->fontMetrics().horizontalAdvance(panel->text()));
    for (QLabel* each : form.Controls().StatusPanels) {
        EXPECT_GE(each->y(), 0);
        EXPECT_LE(each->geometry().bottom(), form.Controls().StatusBar1->rect().bottom());
        EXPECT_GE(each->contentsRect().height(), each->fontMetrics().height());
    }
}

// The line panel tells the shown view's top row and row count after
// whatever changed them: word wrap on and off, the other font, a narrower
// window while rows are wrapped, a scroll.
TEST_F(ViewCommandsTest, TheLinePanelFollowsEveryChangeOfTheRows) {
    std::string text;
    for (int i = 0; i < 51; ++i)
        text += std::string(300, char('a' + i % 26)) + "\n";
    TMainForm form("orvane " + FFolder.Write("wide.txt", text));
    ShowAndWait(form);
    auto tellsTheView = [&] {
        return form.LineStatus() == ViewLineStatus(form.Controls().Viewer->TopIndex(),
                                                   form.Controls().Viewer->RowCount());
    };
    ASSERT_EQ(form.Controls().Viewer->RowCount(), 51);
    EXPECT_TRUE(tellsTheView());
    form.Menus().WordWrap1->trigger();
    EXPECT_GT(form.Controls().Viewer->RowCount(), 51);
    EXPECT_TRUE(tellsTheView()) << form.LineStatus().toStdString();
    form.Menus().UseFont1->trigger();
    EXPECT_TRUE(tellsTheView()) << form.LineStatus().toStdString();
    form.Controls().Viewer->SetTopIndex(form.Controls().Viewer->RowCount());
    const int rows = form.Controls().Viewer->RowCount();
    form.resize(form.width() / 2, form.height());
    QTRY_VERIFY(form.Controls().Viewer->RowCount() > rows);
    EXPECT_TRUE(tellsTheView()) << form.LineStatus().toStdString();
    form.resize(form.width() * 3, form.height());
    QTRY_VERIFY(form.Controls().Viewer->RowCount() < rows);
    EXPECT_TRUE(tellsTheView()) << form.LineStatus().toStdString();
    form.Menus().WordWrap1->trigger();
    EXPECT_EQ(form.Controls().Viewer->RowCount(), 51);
    EXPECT_TRUE(tellsTheView()) << form.LineStatus().toStdString();
}

// A file without lines has no first row to show: both views say 0 / 0, as
// the window does without a file.
TEST_F(ViewCommandsTest, AnEmptyFileShowsNoRows) {
    TMainForm form("orvane " + FFolder.Write("empty.txt", ""));
    ShowAndWait(form);
    ASSERT_FALSE(form.Document().FileName().empty());
    EXPECT_EQ(form.LineStatus(), FormatLineStatus(0, 0));
    form.Menus().HexView1->trigger();
    ASSERT_TRUE(form.Controls().HexViewer->isVisibleTo(&form));
    EXPECT_EQ(form.LineStatus(), FormatLineStatus(0, 0));
}

// The kernel's files report a size of 0 and are made as they are read.
TEST_F(ViewCommandsTest, FilesThatReportNoSizeAreReadToTheirEnd) {
    const std::string path = "/proc/self/status";
    std::ifstream in(path);
    std::string first;
    ASSERT_TRUE(std::getline(in, first));
    TMainForm form("orvane " + path);
    ShowAndWait(form);
    ASSERT_GT(form.Controls().Viewer->Lines().Count(), 5);
    EXPECT_EQ(std::string(form.Controls().Viewer->Lines().Get(0)), first);
    form.Menus().HexView1->trigger();
    EXPECT_GT(form.Controls().HexViewer->FileSize(), 100);
}

// /proc/kmsg gives each kernel message once, to whichever opening reads it
// first: the content test and the view read one opening, so the window shows
// what the kernel gave. (The test writes its own message through /dev/kmsg,
// which needs root; another reader of /proc/kmsg may take a message first,
// so it tries a few times.)
TEST_F(ViewCommandsTest, AFileThatGivesItsContentOnceShowsWhatItGave) {
    TReadOnlyFile earlier; // takes what was waiting
    std::ofstream kernel("/dev/kmsg");
    if (!earlier.Open("/proc/kmsg") || !kernel)
        GTEST_SKIP() << "/proc/kmsg cannot be read or /dev/kmsg written here";
    const std::string message = "orvane " + std::to_string(::getpid()) + " once";
    bool shown = false;
    for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
        kernel << "<6>" << message << std::endl;
        TMainForm form("orvane /proc/kmsg");
        form.SetWriteSettingsOnClose(false);
        ShowAndWait(form);
        const TOVStringList& lines = form.Controls().Viewer->Lines();
        for (int i = 0; i < lines.Count(); ++i)
            shown = shown || lines.GetView(i).find(message) != std::string_view::npos;
    }
    if (!shown) {
        // Where another reader of the kernel log (a logging daemon of the
        // host) takes every message first, no opening sees it: not a fault
        // of the window.
        kernel << "<6>" << message << std::endl;
        TReadOnlyFile direct;
        const int64_t size = direct.Open("/proc/kmsg") ? direct.Size() : 0;
        std::string content(static_cast<std::size_t>(std::max<int64_t>(size, 0)), '\0');
        if (content.empty() || direct.ReadAt(0, content.data(), size) <= 0 ||
            content.find(message) == std::string::npos)
            GTEST_SKIP() << "the kernel log does not hand its messages to this process";
    }
    EXPECT_TRUE(shown);
}

// The keyboard help page lists every shortcut of the menus, each in the row
// of its item (or of its submenu, for the numbered bookmark items), and no
// key that no item has.
TEST_F(ViewCommandsTest, TheShortcutPageMatchesTheMenus) {
    const QString page =
        QString::fromStdString(test::ReadBytes(ORVANE_SOURCE_DIR "/data/shortcut.htm"));
    const qsizetype start = page.indexOf(QLatin1String("<table id=\"menu-keys\">"));
    ASSERT_GE(start, 0);
    const QString table = page.mid(start, page.indexOf(QLatin1String("</table>"), start) - start);
    const QStringList rows = table.split(QLatin1String("<tr>"), Qt::SkipEmptyParts);
    const QRegularExpression key(QStringLiteral("<kbd>([^<]*)</kbd>"));
    const QRegularExpression accessKey(QStringLiteral("\\(&.\\)|&|\\.\\.\\."));
    auto plain = [&](QString caption) { return caption.remove(accessKey).trimmed(); };

    TMainForm form;
    QSet<QString> menuKeys;
    std::function<void(QMenu*)> walk = [&](QMenu* menu) {
        for (QAction* item : menu->actions()) {
            if (item->menu()) {
                walk(item->menu());
                continue;
            }
            const QString shortcut = item->shortcut().toString(QKeySequence::PortableText);
            if (shortcut.isEmpty())
                continue;
            menuKeys.insert(shortcut);
            const QString cell = QStringLiteral("<kbd>%1</kbd>").arg(shortcut);
            QStringList found;
            for (const QString& row : rows)
                if (row.contains(cell))
                    found << row;
            ASSERT_EQ(found.size(), 1) << shortcut.toStdString();
            EXPECT_TRUE(found[0].contains(plain(item->text())) ||
                        found[0].contains(plain(menu->title())))
                << shortcut.toStdString() << " " << found[0].toStdString();
        }
    };
    for (QAction* top : form.menuBar()->actions())
        walk(top->menu());
    EXPECT_GE(menuKeys.size(), 38);
    for (auto match = key.globalMatch(table); match.hasNext();) {
        const QString listed = match.next().captured(1);
        EXPECT_TRUE(menuKeys.contains(listed)) << listed.toStdString();
    }
}

class SaveAsHtmlTest : public ViewCommandsTest {
protected:
    void SetUp() override {
        ViewCommandsTest::SetUp();
        FFolder.Write("langlink.ini", "HTML=htm;html\nC=c;h\n");
        std::filesystem::create_directories(FFolder.File("Syntax"));
        for (const char* name : {"HTML", "JS", "CSS", "C"})
            for (const char* extension : {".syn", ".sty"})
                std::filesystem::copy_file(std::string(ORVANE_SOURCE_DIR "/data/Syntax/") + name +
                                               extension,
                                           FFolder.File(std::string("Syntax/") + name + extension));
    }
    std::string ExportedByCommand(const std::string& input) {
        std::string out = FOut.File("command.htm");
        std::ostringstream errors;
        EXPECT_EQ(ExportHtmlCommand({input, out}, errors), 0) << errors.str();
        return test::ReadBytes(out);
    }
    test::TTempFolder FOut;
    TScriptedUIServices FServices;
    TUIServicesGuard FGuard{&FServices};
};

// The menu writes the bytes the command-line export writes, whether or not
// the view shows its highlighting, and the view keeps its own document.
TEST_F(SaveAsHtmlTest, TheMenuWritesWhatTheExportWrites) {
    std::string page = FFolder.Write(
        "page.html", "<html><head><style>p { color: red; }</style>\n<script>\nvar a = \"x\"; "
                     "/* open\nstill */ if (a < 3) {}\n</script></head>\n<body>\t<b>&amp;</b>"
                     "  two  blanks</body></html>\n");
    for (const char* settings : {"", "[Style]\nSynHighlighting=0\n"}) {
        FFolder.Write("Orvane.ini", settings);
        TMainForm form("orvane " + page);
        std::vector<std::string> proposed;
        form.SetSaveHtmlDialog([&](const std::string& name) {
            proposed.push_back(name);
            return std::optional<std::string>(FOut.File("menu.htm"));
        });
        ShowAndWait(form);
        ASSERT_EQ(form.Controls().Viewer->SynLang(), "HTML");
        form.Menus().SaveasHTML1->trigger();
        EXPECT_EQ(proposed, std::vector<std::string>{page + ".htm"});
        EXPECT_EQ(test::ReadBytes(FOut.File("menu.htm")), ExportedByCommand(page)) << settings;
        EXPECT_EQ(FServices.WaitDepth, 0);
        EXPECT_GE(FServices.WaitCount, 1);
        EXPECT_TRUE(FServices.Records.empty());
    }
}

TEST_F(SaveAsHtmlTest, TheDialogProposesAndAFailureIsToldAndHarmsNothing) {
    std::string source = FFolder.Write("a.c", "int main() { return 0; }\n");
    std::string other = FFolder.Write("b.c", "int b;\n");
    TMainForm form("orvane " + source);
    std::vector<std::string> proposed;
    std::optional<std::string> answer;
    form.SetSaveHtmlDialog([&](const std::string& name) {
        proposed.push_back(name);
        return answer;
    });
    ShowAndWait(form);
    form.Menus().SaveasHTML1->trigger(); // cancelled
    EXPECT_TRUE(std::filesystem::is_empty(FOut.Path()));
    answer = FOut.File("x/y.htm"); // a folder that does not exist
    form.Menus().SaveasHTML1->trigger();
    ASSERT_EQ(FServices.Records.size(), 1u);
    EXPECT_NE(FServices.Records[0].Text.find("y.htm"), std::string::npos);
    EXPECT_EQ(FServices.Records[0].Icon, TMessageIcon::Error);
    EXPECT_EQ(FServices.WaitDepth, 0);
    form.OpenFile(other);
    form.Menus().SaveasHTML1->trigger();
    EXPECT_EQ(proposed, (std::vector<std::string>{source + ".htm", source + ".htm",
                                                  FOut.File("x/b.c.htm")}));

    // No language: the message, no dialog, no file.
    form.Menus().None1->trigger();
    form.Menus().SaveasHTML1->trigger();
    EXPECT_EQ(proposed.size(), 3u);
    ASSERT_EQ(FServices.Records.size(), 3u);
    EXPECT_EQ(FServices.Records.back().Text,
              "문법 강조가 적용된 상태에서만 HTML로 저장 할 수 있습니다.");
}

// A named pipe that no program reads is not waited on: the save fails at
// once and says why, and the pipe stays a pipe.
TEST_F(SaveAsHtmlTest, APipeNobodyReadsIsToldNotWaitedOn) {
    const std::string source = FFolder.Write("a.c", "int main() { return 0; }\n");
    const std::string pipe = FOut.File("page.htm");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    TMainForm form("orvane " + source);
    form.SetSaveHtmlDialog([&](const std::string&) { return std::optional<std::string>(pipe); });
    ShowAndWait(form);
    form.Menus().SaveasHTML1->trigger();
    ASSERT_EQ(FServices.Records.size(), 1u);
    EXPECT_NE(FServices.Records[0].Text.find("page.htm"), std::string::npos);
    EXPECT_NE(FServices.Records[0].Text.find(TWriteResult{ENXIO}.Reason()), std::string::npos)
        << FServices.Records[0].Text;
    struct stat st;
    ASSERT_EQ(::lstat(pipe.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// The shown file is never written: not under its own name, nor through a
// hard link or a symbolic link to it. Each is refused with a message, and the
// file keeps its bytes; another name is written.
TEST_F(SaveAsHtmlTest, ThePageNeverReplacesTheShownFile) {
    const std::string text = "int main() { return 0; }\n";
    std::string source = FFolder.Write("doc.c", text);
    std::filesystem::create_hard_link(source, FOut.File("hard.c"));
    std::filesystem::create_symlink(source, FOut.File("soft.htm"));
    TMainForm form("orvane " + source);
    std::string answer;
    form.SetSaveHtmlDialog([&](const std::string&) { return std::optional<std::string>(answer); });
    ShowAndWait(form);
    for (const std::string& target : {source, FOut.File("hard.c"), FOut.File("soft.htm")}) {
        FServices.Records.clear();
        answer = target;
        form.Menus().SaveasHTML1->trigger();
        ASSERT_EQ(FServices.Records.size(), 1u) << target;
        EXPECT_NE(FServices.Records[0].Text.find(ExtractFileName(target)), std::string::npos);
        EXPECT_EQ(test::ReadBytes(source), text) << target;
        EXPECT_FALSE(form.SaveAsHtml(target));
        EXPECT_EQ(test::ReadBytes(source), text) << target;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(FOut.File("soft.htm")));
    FServices.Records.clear();
    EXPECT_TRUE(form.SaveAsHtml(FOut.File("page.htm")));
    EXPECT_TRUE(FServices.Records.empty());
}

} // namespace
} // namespace ov
