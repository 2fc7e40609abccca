#include "Main.h"

#include "Charsets.h"

#include "Files.h"
#include "Inifiles.h"
#include "Splitterbar.h"
#include "Testsupport.h"
#include "Uiservices.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace ov {
namespace {

// Every test runs with a temporary executable folder holding its own
// langlink.ini and (when a test writes one) Orvane.ini.
class MainFormTest : public testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride(FFolder.Path());
        FFolder.Write("langlink.ini", "C=c;cpp;h\nPascal=pas;dpr\n");
    }
    void TearDown() override { SetExeFolderOverride(""); }

    void WriteSettings(const std::string& text) { FFolder.Write("Orvane.ini", text); }
    TSettingsStore SavedSettings() const { return TSettingsStore(FFolder.File("Orvane.ini")); }
    bool SettingsWritten() const { return FileExists(FFolder.File("Orvane.ini")); }

    static void ShowAndWait(TMainForm& form) {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    test::TTempFolder FFolder;
};

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* item : menu->actions())
        captions << (item->isSeparator() ? QStringLiteral("-") : item->text());
    return captions;
}

QStringList Shortcuts(const QMenu* menu) {
    QStringList keys;
    for (const QAction* item : menu->actions())
        keys << item->shortcut().toString(QKeySequence::PortableText);
    return keys;
}

TEST_F(MainFormTest, WithoutSettingsTheDefaultBoundsApply) {
    TMainForm form;
    EXPECT_EQ(form.pos(), QPoint(10, 50));
    EXPECT_EQ(form.size(), QSize(500, 450));
    EXPECT_FALSE(form.windowState() & Qt::WindowMaximized);
    for (int bookmark : form.Bookmarks().Rows())
        EXPECT_EQ(bookmark, -1);
    EXPECT_TRUE(form.Document().FileName().empty());
    EXPECT_TRUE(form.Document().RecentFiles().empty());
}

TEST_F(MainFormTest, BoundsComeFromTheWindowSection) {
    WriteSettings("[Window]\nMax=0\nLeft=30\nTop=40\nWidth=640\nHeight=480\n");
    TMainForm form;
    EXPECT_EQ(form.geometry().topLeft(), QPoint(30, 40));
    EXPECT_EQ(form.size(), QSize(640, 480));
}

// Sizes and positions beyond the screens come only from a damaged file (or
// another machine's screens); taken as they are they cost gigabytes of back
// buffer, stall the program or put the window where nobody can reach it.
// Restored bounds are clamped to the available screen area.
TEST_F(MainFormTest, RestoredBoundsAreClampedToTheAvailableScreenArea) {
    const QRect area = QGuiApplication::primaryScreen()->availableVirtualGeometry();
    ASSERT_GT(area.width(), 100);
    auto expectInside = [&area](const TMainForm& form, const char* what) {
        EXPECT_TRUE(area.contains(QRect(form.pos(), form.size())))
            << what << ": " << form.pos().x() << "," << form.pos().y() << " "
            << form.width() << "x" << form.height();
    };
    WriteSettings("[Window]\nLeft=-2147483648\nTop=2147483647\nWidth=100000\nHeight=30000\n");
    TMainForm huge;
    EXPECT_EQ(huge.size(), area.size());
    expectInside(huge, "huge");
    WriteSettings("[Window]\nLeft=" + std::to_string(area.right() - 10) +
                  "\nTop=-5000\nWidth=300\nHeight=16384\n");
    TMainForm offside;
    EXPECT_EQ(offside.size(), QSize(300, area.height()));
    EXPECT_EQ(offside.pos(), QPoint(area.right() + 1 - 300, area.top()));
    expectInside(offside, "offside");
    // Bounds inside the area stay as they are.
    WriteSettings("[Window]\nLeft=" + std::to_string(area.left() + 7) + "\nTop=" +
                  std::to_string(area.top() + 9) + "\nWidth=200\nHeight=150\n");
    TMainForm inside;
    EXPECT_EQ(inside.pos(), area.topLeft() + QPoint(7, 9));
    EXPECT_EQ(inside.size(), QSize(200, 150));
}

TEST_F(MainFormTest, MaximizedRestoresToTheDesignBounds) {
    WriteSettings("[Window]\nMax=1\nLeft=30\nTop=40\nWidth=640\nHeight=480\n");
    TMainForm form;
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    ShowAndWait(form);
    EXPECT_TRUE(form.isMaximized());
    EXPECT_EQ(form.normalGeometry(), QRect(DesignLeft, DesignTop, DesignWidth, DesignHeight));
}

TEST_F(MainFormTest, CloseWritesTheWindowAsItIs) {
    WriteSettings("[Window]\nLeft=30\nTop=40\nWidth=640\nHeight=480\n"
                  "[Option]\nWordWrap=1\nShowLineNum=1\nTabWidth=8\n[Style]\nBitmapFont=0\n");
    {
        TMainForm form;
        ShowAndWait(form);
        form.move(33, 44);
        form.resize(700, 500);
        form.close();
    }
    TSettingsStore saved = SavedSettings();
    EXPECT_FALSE(saved.ReadBool("Window", "Max", true));
    EXPECT_EQ(saved.ReadInteger("Window", "Left", 0), 33);
    EXPECT_EQ(saved.ReadInteger("Window", "Top", 0), 44);
    EXPECT_EQ(saved.ReadInteger("Window", "Width", 0), 700);
    EXPECT_EQ(saved.ReadInteger("Window", "Height", 0), 500);
    EXPECT_TRUE(saved.ReadBool("Option", "WordWrap", false));
    EXPECT_TRUE(saved.ReadBool("Option", "ShowLineNum", false));
    EXPECT_FALSE(saved.ReadBool("Style", "BitmapFont", true));
    EXPECT_EQ(saved.ReadInteger("Option", "TabWidth", 0), 8);

    // The next start comes back where this one ended.
    TMainForm again;
    EXPECT_EQ(again.pos(), QPoint(33, 44));
    EXPECT_EQ(again.size(), QSize(700, 500));
}

TEST_F(MainFormTest, ClosingMaximizedKeepsTheEarlierBounds) {
    WriteSettings("[Window]\nMax=1\nLeft=30\nTop=40\nWidth=640\nHeight=480\n");
    {
        TMainForm form;
        ShowAndWait(form);
        form.close();
    }
    TSettingsStore saved = SavedSettings();
    EXPECT_TRUE(saved.ReadBool("Window", "Max", false));
    EXPECT_EQ(saved.ReadInteger("Window", "Left", 0), 30);
    EXPECT_EQ(saved.ReadInteger("Window", "Width", 0), 640);
}

TEST_F(MainFormTest, NoSettingsFileGivesTheDefaultSwitchesAtClose) {
    {
        TMainForm form;
        ShowAndWait(form);
        EXPECT_FALSE(form.Controls().Viewer->WordWrap());
        EXPECT_FALSE(form.Controls().Viewer->ShowLineNum());
        EXPECT_TRUE(form.Controls().Viewer->UseBitmapFont());
        EXPECT_EQ(form.Controls().Viewer->BackColor(), 0xFFFFFFu);
        EXPECT_EQ(form.Controls().Viewer->ForeColor(), 0x000000u);
        EXPECT_EQ(form.Controls().Viewer->LineNumColor(), 0x808080u);
        EXPECT_EQ(form.Controls().Viewer->LineNumBackColor(), 0xFFFFFFu);
        EXPECT_EQ(form.Controls().Viewer->TabWidth(), 4);
        EXPECT_EQ(form.Controls().Viewer->LeftMargin(), 2);
        EXPECT_EQ(form.Controls().Viewer->WheelScrollLines(), 3);
        EXPECT_EQ(form.Controls().Viewer->HanFont(), "Default.han");
        EXPECT_EQ(form.Controls().Viewer->SPCFont(), "Default.spc");
        EXPECT_TRUE(form.Controls().Viewer->EnabeHighlighting());
        EXPECT_EQ(form.Controls().HexViewer->Color(), QColor(Qt::white));
        form.close();
    }
    TSettingsStore saved = SavedSettings();
    EXPECT_EQ(saved.ReadSectionValues("Option"),
              (std::vector<std::string>{"WordWrap=0", "ShowLineNum=0", "FindWrapAround=1"}));
    EXPECT_EQ(saved.ReadSectionValues("Style"), std::vector<std::string>{"BitmapFont=1"});
}

TEST_F(MainFormTest, RecentAndFindHistoryAreWrittenBackAsHeld) {
    // "/tmp/a" is the key part of the line of "/tmp/a=b.c": both must survive.
    const std::vector<std::string> recent{"/tmp/old.txt=3", "/tmp/a=b.c=0", "/tmp/a=4",
                                          "/tmp/new.c=120"};
    std::string section = "[Recent]\n";
    for (const std::string& entry : recent)
        section += entry + "\n";
    WriteSettings(section + "[FindHistory]\n1=newest\n2=older\n");
    {
        TMainForm form;
        ShowAndWait(form);
        EXPECT_EQ(form.Document().RecentFiles(), recent);
        // The list is the only copy while the program runs.
        EXPECT_FALSE(form.Settings().SectionExists("Recent"));
        form.close();
    }
    TSettingsStore saved = SavedSettings();
    EXPECT_EQ(saved.ReadSectionValues("Recent"), recent);
    EXPECT_EQ(saved.ReadSectionValues("FindHistory"),
              (std::vector<std::string>{"1=newest", "2=older"}));
}

// A file's bookmarks come back with it in the next run: written beside the
// recent list at close and read back at start. A file new to the list keeps
// the bookmarks of the session as they are; a listed file brings its own.
TEST_F(MainFormTest, BookmarksOfEachFileSurviveARestart) {
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\n";
    const std::string a = FFolder.Write("a=b.log", text);
    const std::string b = FFolder.Write("b.log", text);
    const auto rows = [](std::initializer_list<std::pair<int, int>> set) {
        TBookmarks bookmarks;
        bookmarks.fill(-1);
        for (auto [n, row] : set)
            bookmarks[size_t(n)] = row;
        return bookmarks;
    };
    {
        TMainForm form;
        ShowAndWait(form);
        ASSERT_TRUE(form.OpenFile(a));
        form.ToggleBookmark(2, 5);
        form.ToggleBookmark(7, 9);
        ASSERT_TRUE(form.OpenFile(b));
        EXPECT_EQ(form.Bookmarks().Rows(), rows({{2, 5}, {7, 9}}));
        form.ToggleBookmark(2, 5);
        form.close();
    }
    std::vector<std::string> saved = SavedSettings().ReadSectionValues("RecentBookmarks");
    std::sort(saved.begin(), saved.end());
    EXPECT_EQ(saved, (std::vector<std::string>{a + "=2:5,7:9", b + "=7:9"}));
    {
        TMainForm form;
        ShowAndWait(form);
        EXPECT_FALSE(form.Settings().SectionExists("RecentBookmarks"));
        ASSERT_TRUE(form.OpenFile(b));
        EXPECT_EQ(form.Bookmarks().Rows(), rows({{7, 9}}));
        ASSERT_TRUE(form.OpenFile(a));
        EXPECT_EQ(form.Bookmarks().Rows(), rows({{2, 5}, {7, 9}}));
        ASSERT_EQ(form.Controls().lbBookmarks->count(), 2);
        EXPECT_EQ(form.Controls().lbBookmarks->item(0)->text(), QStringLiteral("2=line 5"));
        form.ToggleBookmark(2, 5);
        form.ToggleBookmark(7, 9);
        form.close();
    }
    // A file left without bookmarks leaves no line; b's stays as it was.
    EXPECT_EQ(SavedSettings().ReadSectionValues("RecentBookmarks"),
              std::vector<std::string>{b + "=7:9"});
}

TEST_F(MainFormTest, ReloadKeepsTheRecentListOutOfTheStore) {
    WriteSettings("[Recent]\n/tmp/a.txt=1\n[Style]\nBackColor=#FFFFFF\n");
    TMainForm form;
    ShowAndWait(form);
    WriteSettings("[Recent]\n/tmp/a.txt=1\n[Style]\nBackColor=#102030\nForeColor=#405060\n");
    form.ApplySettings(true);
    EXPECT_EQ(form.Controls().Viewer->BackColor(), 0x302010u);
    EXPECT_EQ(form.Controls().HexViewer->Color(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(form.Controls().HexViewer->FontColor(), QColor(0x40, 0x50, 0x60));
    EXPECT_FALSE(form.Settings().SectionExists("Recent"));
    EXPECT_EQ(form.Document().RecentFiles(), std::vector<std::string>{"/tmp/a.txt=1"});
}

TEST_F(MainFormTest, DamagedSettingsReadAsDefaults) {
    // Binary junk first; then sections whose values do not read. Height
    // reads, so the section itself is taken.
    static const char text[] = "\0\xff\xfe\n[Window]\nLeft=abc\nTop=\nWidth=1e3\nHeight=300\n"
                               "[Style]\nBackColor=#GG0000\nForeColor=red\nWFontSize=huge\n";
    WriteSettings(std::string(text, sizeof text - 1));
    TMainForm form;
    EXPECT_EQ(form.pos(), QPoint(10, 50));
    EXPECT_EQ(form.size(), QSize(500, 300));
    ShowAndWait(form);
    EXPECT_EQ(form.Controls().Viewer->BackColor(), 0xFFFFFFu);
    EXPECT_EQ(form.Controls().Viewer->ForeColor(), 0x000000u);
    EXPECT_EQ(form.Controls().Viewer->font().pixelSize(), 12); // the default 9 points at 96 dpi
}

TEST_F(MainFormTest, WindowFontStyleWordsAreMatchedWithCase) {
    WriteSettings("[Style]\nWFontName=Courier New\nWFontSize=12\nWFontStyle=bold,italic\n");
    TMainForm form;
    ShowAndWait(form);
    EXPECT_TRUE(form.Controls().Viewer->font().bold());
    EXPECT_TRUE(form.Controls().Viewer->font().italic());
    EXPECT_FALSE(form.Controls().Viewer->font().underline());
    EXPECT_EQ(form.Controls().Viewer->font().pixelSize(), 16);
    WriteSettings("[Style]\nWFontStyle=Bold under\n");
    TMainForm other;
    ShowAndWait(other);
    EXPECT_FALSE(other.Controls().Viewer->font().bold());
    EXPECT_TRUE(other.Controls().Viewer->font().underline());
}

// The five font files are read once per change of the settings: a damaged
// Hangul file gives one message naming it, not one per font setter, and
// settings that name the same files read nothing again.
TEST_F(MainFormTest, ADamagedHangulFontIsReportedOncePerSettingsChange) {
    TScriptedUIServices services;
    TUIServicesGuard install(&services);
    FFolder.Write("Fonts/bad.han", std::string(100, '\x55'));
    WriteSettings("[Style]\nHanFont=bad\n");
    auto fontMessages = [&services] {
        std::vector<std::string> texts;
        for (const auto& record : services.Records)
            if (record.Text.find("Invalid Font File") != std::string::npos)
                texts.push_back(record.Text);
        return texts;
    };
    TMainForm form;
    ShowAndWait(form);
    ASSERT_EQ(fontMessages().size(), 1u);
    EXPECT_NE(fontMessages()[0].find(FFolder.File("Fonts/bad.han")), std::string::npos)
        << fontMessages()[0];
    form.ApplySettings(false);
    form.ApplySettings(true);
    EXPECT_EQ(fontMessages().size(), 1u);
    WriteSettings("[Style]\nHanFont=bad\nEngFont=other\nSpcFont=other\n");
    form.ApplySettings(true);
    EXPECT_EQ(fontMessages().size(), 2u);
    EXPECT_EQ(form.Controls().Viewer->EngFont(), "other.eng");
}

TEST_F(MainFormTest, SnapshotRunsDoNotWriteTheSettings) {
    TMainForm form;
    form.SetWriteSettingsOnClose(false);
    ShowAndWait(form);
    form.close();
    EXPECT_FALSE(SettingsWritten());
}

TEST_F(MainFormTest, ShowSetsTheCaptionAndTheLanguageMenu) {
    TMainForm form;
    ShowAndWait(form);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Orvane 1.0 Beta"));
    EXPECT_EQ(Captions(form.Menus().SyntaxHighlighting1),
              (QStringList{"사용 안함(&N)", "-", "C", "Pascal"}));
    EXPECT_EQ(form.LangLinks().LanguageOf(".H"), std::optional<std::string>("C"));
    EXPECT_EQ(form.LangLinks().LanguageOf(".log"), std::optional<std::string>(""));
}

TEST_F(MainFormTest, WithoutLangLinkTheLaterShowStepsDoNotRun) {
    std::remove(FFolder.File("langlink.ini").c_str());
    std::string opened = FFolder.Write("b.txt", "text\n");
    WriteSettings("[Recent]\n/tmp/a.txt=4\n" + FFolder.File("B.TXT") +
                  "=7\n[Option]\nWordWrap=1\n");
    {
        TMainForm form;
        ShowAndWait(form);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Orvane 1.0 Beta"));
        EXPECT_TRUE(form.Document().RecentFiles().empty());
        EXPECT_TRUE(form.Settings().SectionExists("Recent"));
        // A file opened later is written once, with its new top index; the
        // entry of B.TXT, another file, stays.
        form.OpenFile(opened);
        form.close();
    }
    EXPECT_EQ(SavedSettings().ReadSectionValues("Recent"),
              (std::vector<std::string>{"/tmp/a.txt=4", FFolder.File("B.TXT") + "=7",
                                        opened + "=0"}));
}

TEST_F(MainFormTest, TheMenuTree) {
    TMainForm form;
    QStringList bar;
    for (const QAction* item : form.menuBar()->actions())
        bar << item->text();
    EXPECT_EQ(bar, (QStringList{"파일(&F)", "편집(&E)", "보기(&V)", "도구(&T)", "도움말(&H)"}));
    EXPECT_EQ(Captions(form.Menus().File1),
              (QStringList{"열기(&O)", "닫기(&C)", "-", "&HTML로 저장", "-", "새로고침(&R)", "-",
                           "종료(&X)"}));
    EXPECT_EQ(Shortcuts(form.Menus().File1),
              (QStringList{"Ctrl+O", "Ctrl+F4", "", "Alt+M", "", "F5", "", "Alt+X"}));
    EXPECT_EQ(
        Captions(form.Menus().Edit1),
        (QStringList{"복사(&C)", "전체 복사(&A)", "-", "줄 찾아가기(&G)", "-", "책갈피 지정(&T)",
                     "책갈피 찾아가기(&B)", "책갈피 보기(&S)", "-", "찾기(&F)", "다음 찾기(&N)",
                     "이전 찾기(&P)", "입력하며 찾기(&I)", "일치하는 줄 목록(&L)"}));
    EXPECT_EQ(Shortcuts(form.Menus().Edit1),
              (QStringList{"Ctrl+C", "Ctrl+A", "", "Alt+G", "", "", "", "B", "", "Ctrl+F", "F3",
                           "Shift+F3", "/", "Ctrl+Shift+F"}));
    EXPECT_EQ(Captions(form.Menus().View1),
              (QStringList{"워드랩(&W)", "줄번호 보기(&S)", "윈도우 글꼴 사용(&F)", "-",
                           "자동 스크롤(&A)", "-", "헥스 보기(&H)",
                           "끝 따라가기(&L)", "인코딩(&E)", "-",
                           "윈도우 투명하게(&O)", "-", "문법 강조(&X)"}));
    EXPECT_EQ(Shortcuts(form.Menus().View1), (QStringList{"Ctrl+W", "Ctrl+S", "Ctrl+B", "", "", "",
                                                          "Ctrl+H", "Ctrl+T", "", "", "", "",
                                                          ""}));
    EXPECT_EQ(Captions(form.Menus().Encoding1),
              (QStringList{"자동 감지(&A)", "-", "한국어(&K)", "유니코드(&U)", "일본어(&J)",
                           "중국어(&C)", "서유럽어(&W)", "중유럽어(&E)", "키릴 문자(&R)",
                           "그리스어(&G)", "터키어(&T)", "히브리어(&H)", "아랍어(&I)", "발트어(&B)",
                           "베트남어(&V)"}));
    EXPECT_EQ(
        Captions(form.Menus().AutoScroll1),
        (QStringList{"자동 스크롤(&A)", "-", "스크롤 속도 빠르게(&S)", "스크롤 속도 느리게(&D)"}));
    EXPECT_EQ(Shortcuts(form.Menus().AutoScroll1), (QStringList{"Space", "", "X", "Z"}));
    EXPECT_EQ(
        Captions(form.Menus().Tools1),
        (QStringList{"최근 파일 목록 지우기(&R)", "찾기 히스토리 지우기(&F)", "-", "옵션(&O)..."}));
    EXPECT_EQ(Captions(form.Menus().Help1),
              (QStringList{"새 언어 추가하기", "키보드 단축키 안내", "-", "홈페이지 가기",
                           "이메일 쓰기", "-", "프로그램 정보(&A)..."}));
    EXPECT_EQ(Captions(form.Menus().PopupMenu1),
              (QStringList{"복사(&C)", "전체 복사(&A)", "-", "열기(&O)", "닫기(&S)"}));
    for (const QAction* item : form.Menus().PopupMenu1->actions())
        EXPECT_TRUE(item->shortcut().isEmpty());
}

TEST_F(MainFormTest, BookmarkItemsCarryTheirTagsAndKeys) {
    TMainForm form;
    for (auto [menu, prefix] : {std::pair{form.Menus().ToggleBookmarks1, QStringLiteral("Ctrl+")},
                                std::pair{form.Menus().GotoBookmarks1, QString()}}) {
        ASSERT_EQ(menu->actions().size(), BookmarkCount);
        for (int n = 0; n < BookmarkCount; ++n) {
            const QAction* item = menu->actions().at(n);
            EXPECT_EQ(item->text(), QStringLiteral("책갈피 &%1").arg(n));
            EXPECT_EQ(ItemTag(item), n);
            EXPECT_EQ(item->shortcut(), QKeySequence(prefix + QString::number(n)));
        }
    }
}

TEST_F(MainFormTest, InitialStatesWithoutAFile) {
    TMainForm form;
    EXPECT_FALSE(form.Menus().Close1->isEnabled());
    EXPECT_FALSE(form.Menus().Close2->isEnabled());
    EXPECT_FALSE(form.Menus().SaveasHTML1->isEnabled());
    EXPECT_FALSE(form.Menus().Refresh1->isEnabled());
    EXPECT_FALSE(form.Menus().SyntaxHighlighting1->menuAction()->isEnabled());
    EXPECT_FALSE(form.Menus().Edit1->menuAction()->isVisible());
    EXPECT_TRUE(form.Menus().Open1->isEnabled());
    EXPECT_TRUE(form.Menus().None1->isCheckable());
    EXPECT_FALSE(form.Controls().ScrollTimer->isActive());
    EXPECT_EQ(form.Controls().ScrollTimer->interval(), 1500);
    EXPECT_EQ(form.ScrollStep(), 2000);
    EXPECT_FALSE(form.Controls().HexViewer->isVisibleTo(&form));
    EXPECT_TRUE(form.Controls().Viewer->isVisibleTo(&form));
}

TEST_F(MainFormTest, StatusBarAndBookmarkPanel) {
    TMainForm form;
    ShowAndWait(form);
    EXPECT_EQ(form.LineStatus(), QStringLiteral(" 줄 0 / 0"));
    EXPECT_EQ(form.Controls().StatusPanels[0]->width(), 150);
    EXPECT_FALSE(form.Controls().StatusPanels[1]->text().isEmpty());
    // At least the design height; more where the panels' font needs it.
    EXPECT_GE(form.Controls().StatusBar1->height(), 19);
    EXPECT_EQ(FormatLineStatus(12, 3400), QStringLiteral(" 줄 12 / 3400"));

    EXPECT_FALSE(form.Controls().pBookmarks->isVisible());
    EXPECT_FALSE(form.Controls().Splitter1->isVisible());
    EXPECT_EQ(form.Controls().pBookmarks->height(), 77);
    EXPECT_EQ(form.Controls().lBookmarksCaption->text(), QStringLiteral("  책갈피"));
    EXPECT_EQ(form.Controls().sbCloseBookmarks->size(), QSize(17, 15));
    form.Controls().lbBookmarks->addItem(QStringLiteral("0=x"));
    EXPECT_EQ(
        form.Controls().lbBookmarks->visualItemRect(form.Controls().lbBookmarks->item(0)).height(),
        13);
}

TEST_F(MainFormTest, TheTextViewOpensThePopupMenu) {
    TMainForm form;
    ShowAndWait(form);
    QWidget* surface = form.Controls().Viewer->viewport();
    QPoint at(20, 30);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, surface->mapToGlobal(at));
    QApplication::sendEvent(surface, &request);
    QTRY_VERIFY(form.Menus().PopupMenu1->isVisible());
    EXPECT_EQ(form.Menus().PopupMenu1->pos(), surface->mapToGlobal(at));
    form.Menus().PopupMenu1->hide();
}

TEST_F(MainFormTest, HugeFontSizesAreCapped) {
    WriteSettings("[Style]\nWFontSize=2147483647\n");
    TMainForm form;
    ShowAndWait(form);
    EXPECT_EQ(form.Controls().Viewer->font().pixelSize(), 400);
}

// A chain of folders deeper than any full path may be (PATH_MAX), made and
// entered one step at a time, since no call takes the whole path; the
// working folder is the deepest while it lives, and the chain is removed the
// same way, with the files named to the constructor.
class TDeepWorkingFolder {
public:
    TDeepWorkingFolder(const std::string& base, std::size_t depth, std::vector<std::string> files)
        : FFiles(std::move(files)) {
        FOld = std::filesystem::current_path();
        std::filesystem::current_path(base);
        for (std::size_t reached = base.size(); reached <= depth; reached += Step.size() + 1) {
            EXPECT_EQ(::mkdir(Step.c_str(), 0700), 0);
            EXPECT_EQ(::chdir(Step.c_str()), 0);
            ++FLevels;
        }
    }
    ~TDeepWorkingFolder() {
        for (const std::string& file : FFiles)
            ::unlink(file.c_str());
        for (; FLevels > 0; --FLevels) {
            EXPECT_EQ(::chdir(".."), 0);
            EXPECT_EQ(::rmdir(Step.c_str()), 0);
        }
        std::filesystem::current_path(FOld);
    }

private:
    const std::string Step = std::string(200, 'd');
    std::vector<std::string> FFiles;
    std::filesystem::path FOld;
    int FLevels = 0;
};

// `orvane deep.c` in a working folder 6,120 characters deep: the full path
// is longer than any call takes, so the file opens by its name.
TEST_F(MainFormTest, AFileBeyondTheLongestFullPathOpensFromTheWorkingFolder) {
    TDeepWorkingFolder deep(FFolder.Path(), 6120, {"deep.c"});
    ASSERT_GT(std::filesystem::current_path().native().size(), std::size_t(PATH_MAX));
    {
        std::ofstream out("deep.c");
        out << "int deep;\n";
    }
    TMainForm form;
    form.SetWriteSettingsOnClose(false);
    ShowAndWait(form);
    form.OpenFile("deep.c");
    ASSERT_EQ(form.Controls().Viewer->Lines().Count(), 1);
    EXPECT_EQ(form.Controls().Viewer->Lines().GetView(0), "int deep;");
    EXPECT_EQ(form.Controls().Viewer->SynLang(), "C");
    EXPECT_TRUE(form.windowTitle().contains(QStringLiteral("deep.c")));
}

TEST_F(MainFormTest, OpenAndDoubleClickAskForAFile) {
    std::string file = FFolder.Write("chosen.c", "int x;\n");
    TMainForm form;
    ShowAndWait(form);
    int asked = 0;
    std::optional<std::string> answer;
    form.SetOpenDialog([&] {
        ++asked;
        return answer;
    });
    form.Menus().Open1->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(form.Document().FileName().empty());
    answer = file;
    form.Menus().Open1->trigger();
    EXPECT_EQ(form.Document().FileName(), file);
    EXPECT_EQ(form.Controls().Viewer->SynLang(), "C");
    answer = FFolder.File("gone.txt");
    QTest::mouseDClick(form.Controls().Viewer->viewport(), Qt::LeftButton);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(form.Document().FileName(), file);
}

TEST_F(MainFormTest, EveryMenuItemCanBeTriggered) {
    TMainForm form;
    form.SetOpenDialog([] { return std::optional<std::string>(); });
    ShowAndWait(form);
    QList<QMenu*> menus = form.findChildren<QMenu*>();
    int triggered = 0;
    for (QMenu* menu : menus) {
        for (QAction* item : menu->actions()) {
            if (item->isSeparator() || item->menu() || item == form.Menus().Exit1)
                continue;
            // A command that runs a modal dialog gets it closed again.
            QTimer::singleShot(0, [] {
                if (QWidget* dialog = QApplication::activeModalWidget())
                    dialog->close();
            });
            item->trigger();
            ++triggered;
        }
    }
    EXPECT_GE(triggered, 40);
    EXPECT_TRUE(form.isVisible());
    form.Menus().Exit1->trigger();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(SettingsWritten());
}

TEST_F(MainFormTest, CommandLineFileIsOpenedAtShow) {
    std::string text = FFolder.Write("notes.txt", "hello world\nsecond line\n");
    TMainForm form("orvane " + text);
    ShowAndWait(form);
    EXPECT_EQ(form.Document().FileName(), text);
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 2);
    EXPECT_EQ(form.LineStatus(), QStringLiteral(" 줄 1 / 2"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("notes.txt - Orvane 1.0 Beta"));
    EXPECT_TRUE(form.Menus().Close1->isEnabled());
    EXPECT_TRUE(form.Menus().Edit1->menuAction()->isVisible());
    EXPECT_TRUE(form.Menus().SyntaxHighlighting1->menuAction()->isEnabled());
    EXPECT_TRUE(form.Controls().Viewer->isVisibleTo(&form));

    form.Menus().Close1->trigger();
    EXPECT_TRUE(form.Document().FileName().empty());
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Orvane 1.0 Beta"));
    EXPECT_EQ(form.LineStatus(), QStringLiteral(" 줄 0 / 0"));
    EXPECT_FALSE(form.Menus().Edit1->menuAction()->isVisible());
    EXPECT_EQ(form.Document().RecentFiles(), std::vector<std::string>{text + "=0"});
    EXPECT_EQ(Captions(form.Menus().File1).at(7), QStringLiteral("&1 notes.txt"));
}

TEST_F(MainFormTest, ReopenedFilesComeBackWhereTheyWereLeft) {
    std::string lines;
    for (int i = 0; i < 500; ++i)
        lines += "line " + std::to_string(i) + "\n";
    std::string a = FFolder.Write("a.txt", lines);
    std::string b = FFolder.Write("b.txt", lines);
    TMainForm form;
    ShowAndWait(form);
    form.OpenFile(a);
    form.Controls().Viewer->SetTopIndex(123);
    form.OpenFile(b);
    EXPECT_EQ(form.Controls().Viewer->TopIndex(), 0);
    form.OpenFile(a);
    EXPECT_EQ(form.Controls().Viewer->TopIndex(), 123);
    EXPECT_EQ(form.Document().RecentFiles(), (std::vector<std::string>{a + "=123", b + "=0"}));
    EXPECT_EQ(Captions(form.Menus().File1).mid(7, 3), (QStringList{"&1 b.txt", "&2 a.txt", "-"}));

    // Refresh reads the file again and shows it from its first line.
    form.Menus().Refresh1->trigger();
    EXPECT_EQ(form.Document().FileName(), a);
    EXPECT_EQ(form.Controls().Viewer->TopIndex(), 0);
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 500);
}

TEST_F(MainFormTest, ClosingTheWindowRecordsTheOpenFile) {
    std::string lines;
    for (int i = 0; i < 300; ++i)
        lines += "line\n";
    std::string file = FFolder.Write("open.txt", lines);
    {
        TMainForm form("orvane " + file);
        ShowAndWait(form);
        form.Controls().Viewer->SetTopIndex(42);
        form.close();
    }
    EXPECT_EQ(SavedSettings().ReadSectionValues("Recent"), std::vector<std::string>{file + "=42"});
    TMainForm again("orvane " + file);
    ShowAndWait(again);
    EXPECT_EQ(again.Controls().Viewer->TopIndex(), 42);
}

TEST_F(MainFormTest, SwitchingABinaryFileToTextLoadsIt) {
    std::string binary = FFolder.Write("data.bin", std::string("ab\0cd\nef", 8));
    TMainForm form;
    ShowAndWait(form);
    form.OpenFile(binary);
    EXPECT_TRUE(form.Controls().HexViewer->isVisibleTo(&form));
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 0);
    form.ShowHexView(false);
    EXPECT_TRUE(form.Controls().Viewer->isVisibleTo(&form));
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 2);
}

TEST_F(MainFormTest, BinaryFilesGoToTheHexView) {
    std::string binary = FFolder.Write("data.bin", std::string("\x01\x02\0\x03zzzz", 8));
    TMainForm form("\"/opt/my apps/orvane\" \"" + binary + "\"");
    ShowAndWait(form);
    EXPECT_EQ(form.Document().FileName(), binary);
    EXPECT_TRUE(form.Controls().HexViewer->isVisibleTo(&form));
    EXPECT_FALSE(form.Controls().Viewer->isVisibleTo(&form));
    EXPECT_EQ(form.Controls().HexViewer->FileName(), binary);
    EXPECT_EQ(form.LineStatus(), QStringLiteral(" 줄 1 / 1"));
}

// On this file system "notes.txt" and "Notes.TXT" are two names; the first
// names no file, so nothing is opened (and no empty view claims that name).
TEST_F(MainFormTest, ANameInOtherLetterCaseOpensNothing) {
    FFolder.Write("Notes.TXT", "one\ntwo\nthree\n");
    TMainForm form("orvane " + FFolder.File("notes.txt"));
    ShowAndWait(form);
    EXPECT_EQ(form.Document().FileName(), "");
    EXPECT_EQ(form.Controls().Viewer->Lines().Count(), 0);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Orvane 1.0 Beta"));
}

// The recent entry of a file named relative to the folder the program was
// started in must still find it after a start from elsewhere.
TEST_F(MainFormTest, RelativeNamesAreKeptAsFullPaths) {
    std::string file = FFolder.Write("rel.txt", "text\n");
    QString startFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(FFolder.Path())));
    {
        TMainForm form("orvane ./rel.txt");
        ShowAndWait(form);
        EXPECT_EQ(form.Document().FileName(), file);
        form.close();
    }
    QDir::setCurrent(startFolder);
    EXPECT_EQ(SavedSettings().ReadSectionValues("Recent"), std::vector<std::string>{file + "=0"});
}

TEST_F(MainFormTest, DroppedFilesOpenOnlyTheFirst) {
    std::string first = FFolder.Write("first.txt", "1\n");
    std::string second = FFolder.Write("second.txt", "2\n");
    TMainForm form("orvane " + second);
    ShowAndWait(form);
    form.ViewerDropFiles({});
    EXPECT_EQ(form.Document().FileName(), second);
    form.ViewerDropFiles({first, second, FFolder.File("third.txt")});
    EXPECT_EQ(form.Document().FileName(), first);
    EXPECT_EQ(form.Document().RecentFiles(), std::vector<std::string>{second + "=0"});
}

// A file named on the command line that is not there is said so, by the
// name given; the window opens empty.
TEST_F(MainFormTest, MissingCommandLineFilesAreReported) {
    TScriptedUIServices services;
    TUIServicesGuard guard(&services);
    TMainForm form("orvane " + FFolder.File("missing.txt"));
    ShowAndWait(form);
    EXPECT_TRUE(form.Document().FileName().empty());
    ASSERT_EQ(services.Records.size(), 1u);
    EXPECT_NE(services.Records[0].Text.find(FFolder.File("missing.txt")), std::string::npos);
    EXPECT_FALSE(services.Records[0].Question);
}

TEST_F(MainFormTest, RecentMenuShowsTheFiveNewest) {
    std::string recent = "[Recent]\n";
    for (int i = 0; i < 7; ++i)
        recent += "/tmp/f" + std::to_string(i) + "&x.txt=" + std::to_string(i) + "\n";
    WriteSettings(recent);
    TMainForm form;
    ShowAndWait(form);
    QList<QAction*> items = form.Menus().File1->actions();
    ASSERT_EQ(items.size(), 8 + MaxRecentMenuItems + 1);
    for (int n = 0; n < MaxRecentMenuItems; ++n) {
        int index = 6 - n;
        EXPECT_EQ(items[7 + n]->text(), QStringLiteral("&%1 f%2&&x.txt").arg(n + 1).arg(index));
        EXPECT_EQ(ItemTag(items[7 + n]), index);
    }
    EXPECT_TRUE(items[7 + MaxRecentMenuItems]->isSeparator());
    EXPECT_EQ(items.back(), form.Menus().Exit1);

    form.Menus().ClearRecentFiels1->trigger();
    EXPECT_EQ(form.Menus().File1->actions().size(), 8);
    EXPECT_TRUE(form.Document().RecentFiles().empty());
}

// An installed program (its files in ../share/orvane, none beside it) keeps
// its settings in the XDG configuration folder, made at the first close; a
// folder that cannot be made gives the defaults and one status-bar notice,
// and the close writes nothing anywhere.
TEST(InstalledMainForm, SettingsLiveInTheConfigFolderOrTheUserIsTold) {
    test::TTempFolder prefix;
    test::TTempFolder home;
    prefix.Write("share/orvane/langlink.ini", "C=c\n");
    prefix.Write("bin/.keep", "");
    SetExeFolderOverride(prefix.File("bin"));
    const QString notice = QStringLiteral("설정을 저장할 수 없습니다");
    {
        test::TEnvVar config("XDG_CONFIG_HOME", home.File("cfg").c_str());
        TMainForm form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_FALSE(form.Controls().StatusPanels[1]->text().contains(notice));
        EXPECT_EQ(form.LangLinks().Names(), std::vector<std::string>{"C"})
            << "the shipped table was read";
        form.move(33, 44);
        form.close();
        TSettingsStore saved(home.File("cfg/orvane/Orvane.ini"));
        EXPECT_EQ(saved.ReadInteger("Window", "Left", -1), 33);
        EXPECT_FALSE(FileExists(prefix.File("bin/Orvane.ini")));
    }
    {
        home.Write("blocked", "a file where the folder should be");
        test::TEnvVar config("XDG_CONFIG_HOME", home.File("blocked/cfg").c_str());
        TMainForm form;
        EXPECT_EQ(form.pos(), QPoint(10, 50));
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_TRUE(form.Controls().StatusPanels[1]->text().contains(notice))
            << form.Controls().StatusPanels[1]->text().toStdString();
        form.close();
        EXPECT_EQ(test::ReadBytes(home.File("blocked")), "a file where the folder should be");
        EXPECT_FALSE(FileExists(prefix.File("bin/Orvane.ini")));
    }
    {
        // A settings file the user made read-only is read, named in the
        // notice and left byte for byte, with its mode.
        const std::string kept = "[Window]\nLeft=21\n";
        const std::string file = home.Write("cfg/orvane/Orvane.ini", kept);
        ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
        test::TEnvVar config("XDG_CONFIG_HOME", home.File("cfg").c_str());
        TMainForm form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_TRUE(form.Controls().StatusPanels[1]->text().contains(notice))
            << form.Controls().StatusPanels[1]->text().toStdString();
        EXPECT_TRUE(form.Controls().StatusPanels[1]->text().contains(QString::fromStdString(file)));
        form.move(55, 66);
        form.close();
        EXPECT_EQ(test::ReadBytes(file), kept);
        struct stat st;
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0444u);
    }
    SetExeFolderOverride("");
}

} // namespace
} // namespace ov

namespace ov {
namespace {

// The encoding panel names what the file was read as; 인코딩 reads it again
// as chosen, its marks follow, and the next file is detected afresh.
TEST_F(MainFormTest, EncodingPanelAndChoiceFollowTheShownFile) {
    const std::string utf8 = FFolder.Write("a.c", "int x; /* \xED\x95\x9C\xEA\xB8\x80 */\n");
    const std::string other = FFolder.Write("b.c", std::string("\xFE\xFF\0a", 4));
    TMainForm form;
    form.SetWriteSettingsOnClose(false);
    ShowAndWait(form);
    form.OpenFile(utf8);
    EXPECT_EQ(form.Controls().EncodingPanel->text(), QStringLiteral("UTF-8"));
    EXPECT_EQ(form.Controls().Viewer->TextCoding(), TTextCoding::Utf8);
    form.UpdateActions();
    EXPECT_TRUE(form.Menus().AutoDetect1->isChecked());
    form.Menus().Cp9491->trigger();
    EXPECT_EQ(form.Controls().EncodingPanel->text(), QStringLiteral("CP949"));
    EXPECT_EQ(form.Controls().Viewer->TextCoding(), TTextCoding::Cp949);
    EXPECT_TRUE(form.Menus().Cp9491->isChecked());
    EXPECT_FALSE(form.Menus().AutoDetect1->isChecked());
    form.OpenFile(other);
    EXPECT_EQ(form.Controls().EncodingPanel->text(), QStringLiteral("UTF-16 BE"));
    EXPECT_EQ(form.Document().CodingChoice(), TCodingChoice());
    form.Menus().HexView1->trigger();
    EXPECT_EQ(form.Controls().EncodingPanel->text(), QString());
    EXPECT_FALSE(form.Menus().Encoding1->menuAction()->isEnabled());
}

// The encodings stand in the menu by group; the one in use is marked,
// choosing another reads the file again in it at the same top line, and the
// choice comes back with the file's recent entry (also from the settings
// file) while a file without one is detected afresh.
TEST_F(MainFormTest, EncodingMenuGroupsRereadsAndRemembersTheChoice) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "行 " + std::to_string(i) + " 東京都の天気は晴れです。\n";
    const std::string japanese = FFolder.Write("sjis.txt", *ConvertCharset(text, "UTF-8", "SHIFT_JIS"));
    const std::string other = FFolder.Write("other.txt", "plain\n");
    auto item = [](TMainForm& form, TFileEncoding encoding) -> QAction* {
        for (QAction* action : form.Menus().EncodingItems)
            if (action->data().toInt() == static_cast<int>(encoding))
                return action;
        return nullptr;
    };
    {
        TMainForm form;
        ShowAndWait(form);
        std::vector<QString> groups;
        for (QAction* action : form.Menus().Encoding1->actions())
            if (action->menu())
                groups.push_back(action->text());
        EXPECT_EQ(groups.size(), 13u);
        EXPECT_EQ(groups.front(), QStringLiteral("한국어(&K)"));
        EXPECT_EQ(form.Menus().EncodingItems.size(), AllEncodings().size() - 1); // no UTF-8 BOM

        form.OpenFile(japanese);
        EXPECT_EQ(form.Controls().EncodingPanel->text(), QStringLiteral("Shift_JIS"));
        EXPECT_EQ(form.Controls().Viewer->Lines().GetView(1), "行 1 東京都の天気は晴れです。");
        form.UpdateActions();
        EXPECT_TRUE(form.Menus().AutoDetect1->isChecked());
        EXPECT_TRUE(item(form, TFileEncoding::ShiftJis)->isChecked());
        form.Controls().Viewer->SetTopIndex(120);
        item(form, TFileEncoding::EucJp)->trigger();
        EXPECT_EQ(form.Controls().EncodingPanel->text(), QStringLiteral("EUC-JP"));
        EXPECT_EQ(form.Controls().Viewer->TopIndex(), 120);
        EXPECT_FALSE(form.Menus().AutoDetect1->isChecked());
        EXPECT_TRUE(item(form, TFileEncoding::EucJp)->isChecked());
        EXPECT_FALSE(item(form, TFileEncoding::ShiftJis)->isChecked());

        form.OpenFile(other);
        EXPECT_EQ(form.Document().CodingChoice(), TCodingChoice());
        EXPECT_EQ(form.Document().RecentFiles().back(), japanese + "=120,EUC-JP");
        form.OpenFile(japanese);
        EXPECT_EQ(form.Controls().EncodingPanel->text(), QStringLiteral("EUC-JP"));
        EXPECT_EQ(form.Controls().Viewer->TopIndex(), 120);
        form.close();
    }
    // Written back on close and read again by the next window.
    TMainForm again;
    ShowAndWait(again);
    again.OpenFile(japanese);
    EXPECT_EQ(again.Controls().EncodingPanel->text(), QStringLiteral("EUC-JP"));
    again.Menus().AutoDetect1->trigger();
    EXPECT_EQ(again.Controls().EncodingPanel->text(), QStringLiteral("Shift_JIS"));
}

} // namespace
} // namespace ov
