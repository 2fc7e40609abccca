// The view commands of the main window on an offscreen window: each command
// changes the view, and every menu mark agrees with the state afterwards.

#include "Main.h"

#include "Files.h"
#include "Testsupport.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <random>

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
    for (QAction* item : form.SyntaxHighlighting1->actions())
        if (item->text() == caption)
            return item;
    return nullptr;
}

// Every mark and state-dependent caption against the state it reports.
void ExpectMenusTellTheTruth(const TMainForm& form) {
    EXPECT_EQ(form.WordWrap1->isChecked(), form.Viewer->WordWrap());
    EXPECT_EQ(form.ShowLineNumber1->isChecked(), form.Viewer->ShowLineNum());
    EXPECT_EQ(form.HexView1->isChecked(), form.HexViewer->isVisibleTo(&form));
    EXPECT_EQ(form.AutoScroll2->isChecked(), form.ScrollTimer->isActive());
    EXPECT_EQ(form.UseFont1->text(), form.Viewer->UseBitmapFont()
                                         ? QStringLiteral("윈도우 글꼴 사용(&F)")
                                         : QStringLiteral("비트맵 글꼴 사용(&F)"));
    QAction* marked = form.SynLangGroup->checkedAction();
    if (form.Viewer->SynLang().empty())
        EXPECT_EQ(marked, form.None1);
    else
        EXPECT_EQ(marked, LanguageItem(form, QString::fromStdString(form.Viewer->SynLang())));
    bool open = !form.CurrentFileName.empty();
    EXPECT_EQ(form.Close1->isEnabled(), open);
    EXPECT_EQ(form.SaveasHTML1->isEnabled(), open);
    EXPECT_EQ(form.Edit1->menuAction()->isVisible(), open);
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
    const std::vector<QAction*> commands{form.WordWrap1, form.ShowLineNumber1, form.UseFont1,
                                         form.HexView1,  form.AutoScroll2,     form.None1,
                                         pascal,         c,                    form.Close1};
    for (int step = 0; step < 150; ++step) {
        QAction* item = commands[random() % commands.size()];
        if (item == form.Close1 && step % 3 == 0)
            item = nullptr; // reopen instead
        const bool wrap = form.Viewer->WordWrap();
        const bool lineNum = form.Viewer->ShowLineNum();
        const bool bitmap = form.Viewer->UseBitmapFont();
        const bool hex = form.HexViewer->isVisibleTo(&form);
        const bool scrolling = form.ScrollTimer->isActive();
        if (item)
            item->trigger();
        else
            form.OpenFile(FTextFile);
        EXPECT_EQ(form.Viewer->WordWrap(), wrap != (item == form.WordWrap1));
        EXPECT_EQ(form.Viewer->ShowLineNum(), lineNum != (item == form.ShowLineNumber1));
        EXPECT_EQ(form.Viewer->UseBitmapFont(), bitmap != (item == form.UseFont1));
        EXPECT_EQ(form.ScrollTimer->isActive(), scrolling != (item == form.AutoScroll2));
        if (item == form.HexView1) {
            EXPECT_NE(form.HexViewer->isVisibleTo(&form), hex);
        } else if (item == form.None1) {
            EXPECT_EQ(form.Viewer->SynLang(), "");
        } else if (item == pascal) {
            EXPECT_EQ(form.Viewer->SynLang(), "Pascal");
        }
        ExpectMenusTellTheTruth(form);
        // Opening a menu changes nothing either.
        emit form.View1->aboutToShow();
        emit form.SyntaxHighlighting1->aboutToShow();
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
    ASSERT_EQ(form.SynLangGroup->checkedAction(), LanguageItem(form, QStringLiteral("C")));
    form.Viewer->SetSynLang("pascal");
    emit form.SyntaxHighlighting1->aboutToShow();
    EXPECT_EQ(form.SynLangGroup->checkedAction(), nullptr);
}

} // namespace
} // namespace ov
