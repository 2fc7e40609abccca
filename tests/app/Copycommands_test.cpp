// The copy commands of the main window on an offscreen window: a mouse drag
// enables Copy at once, so that its shortcut works, and the clipboard gets
// the Korean text of a CP949 file in Unicode.

#include "Main.h"

#include "Files.h"
#include "Testsupport.h"
#include "Uiservices.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace ov {
namespace {

class CopyCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        SetExeFolderOverride(FFolder.Path());
        FFolder.Write("langlink.ini", "C=c;h\n");
        // "한글 text" and "둘째 줄" in CP949.
        FTextFile =
            FFolder.Write("korean.txt", "\xC7\xD1\xB1\xDB text\n\xB5\xD1\xC2\xB0 \xC1\xD9\n");
    }
    void TearDown() override { SetExeFolderOverride(""); }

    // The middle of the cell of column in row, bitmap fonts.
    static QPoint Cell(const TOVSynTextViewer& view, int column, int row) {
        return {view.GetGutterWidth() + 8 * column + 4,
                view.TopMargin() + row * (view.LineHeight() + view.LineSpace()) + 5};
    }
    static void Drag(TOVSynTextViewer& view, QPoint from, QPoint to) {
        QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, view.viewport()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view.viewport(), &move);
        QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
    }

    test::TTempFolder FFolder;
    std::string FTextFile;
};

TEST_F(CopyCommandsTest, DragEnablesCopyAndTheShortcutsCopyKoreanText) {
    TMainForm form("orvane " + FTextFile);
    form.resize(500, 400);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    TOVSynTextViewer& view = *form.Controls().Viewer;
    ASSERT_EQ(view.Lines().Count(), 2);
    EXPECT_FALSE(form.Menus().Copy1->isEnabled());
    EXPECT_FALSE(form.Menus().Copy2->isEnabled());
    EXPECT_TRUE(form.Menus().CopyAll1->isEnabled());

    // From the second cell of "한" to the middle of "t": "한글 ".
    Drag(view, Cell(view, 1, 0), Cell(view, 5, 0));
    EXPECT_TRUE(form.Menus().Copy1->isEnabled());
    EXPECT_TRUE(form.Menus().Copy2->isEnabled());
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("한글 "));

    // Copy All leaves the selection as it was.
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("한글 text\n둘째 줄"));
    EXPECT_EQ(view.Selection(), TTextRange({0, 0}, {4, 0}));

    // The pop-up menu's items do the same.
    Drag(view, Cell(view, 0, 1), Cell(view, 4, 1));
    form.Menus().Copy2->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("둘째"));

    // A click clears the selection and disables Copy; its shortcut then
    // leaves the clipboard alone.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, Cell(view, 2, 1));
    EXPECT_FALSE(view.IsSelection());
    EXPECT_FALSE(form.Menus().Copy1->isEnabled());
    QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("둘째"));

    // A selection that the next file replaces goes, and Copy with it.
    view.SelectAll();
    EXPECT_TRUE(form.Menus().Copy1->isEnabled());
    form.OpenFile(FFolder.Write("other.txt", "x\n"));
    EXPECT_FALSE(view.IsSelection());
    EXPECT_FALSE(form.Menus().Copy1->isEnabled());
}

} // namespace
} // namespace ov
