#include "Xpspinedit.h"
#include "Xpstyle.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace ov {
namespace {

TEST(XPSpinEdit, ClampingRules) {
    EXPECT_EQ(ClampSpinValue(500, 0, 200), 200);
    EXPECT_EQ(ClampSpinValue(-5, 0, 200), 0);
    EXPECT_EQ(ClampSpinValue(-5, 0, 0), -5); // equal bounds: no range
    EXPECT_EQ(SteppedSpinValue(INT_MAX, 1, 0, 0), INT_MAX);
    EXPECT_EQ(SteppedSpinValue(1000000, 1, 10, 1000000), 1000000);
}

class SpinEdit : public ::testing::Test {
protected:
    void SetUp() override {
        FWindow = std::make_unique<QWidget>();
        FSpin = new TXPSpinEdit(FWindow.get());
        FSpin->setGeometry(10, 10, 80, 21);
        FOther = new QLineEdit(FWindow.get());
        FOther->setGeometry(10, 50, 80, 21);
        FSpin->SetMinValue(10);
        FSpin->SetMaxValue(1000000);
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    std::unique_ptr<QWidget> FWindow;
    TXPSpinEdit* FSpin = nullptr;
    QLineEdit* FOther = nullptr;
};

TEST_F(SpinEdit, SetValueClampsAndShowsTheValue) {
    FSpin->SetValue(1500);
    EXPECT_EQ(FSpin->Value(), 1500);
    EXPECT_EQ(FSpin->text(), QStringLiteral("1500"));
    FSpin->SetValue(5);
    EXPECT_EQ(FSpin->text(), QStringLiteral("10"));
    FSpin->SetValue(20000000);
    EXPECT_EQ(FSpin->Value(), 1000000);
}

TEST_F(SpinEdit, TypedTextIsClampedWhenFocusLeaves) {
    FSpin->setFocus();
    FSpin->selectAll();
    QTest::keyClicks(FSpin, QStringLiteral("5"));
    EXPECT_EQ(FSpin->text(), QStringLiteral("5"));
    EXPECT_EQ(FSpin->Value(), 10); // already clamped when read
    FOther->setFocus();
    EXPECT_EQ(FSpin->text(), QStringLiteral("10"));

    FSpin->setFocus();
    FSpin->selectAll();
    QTest::keyClick(FSpin, Qt::Key_Backspace);
    EXPECT_EQ(FSpin->Value(), 10); // text that does not read counts as the minimum
    FOther->setFocus();
    EXPECT_EQ(FSpin->text(), QStringLiteral("10"));

    FSpin->setFocus();
    FSpin->selectAll();
    QTest::keyClicks(FSpin, QStringLiteral("2500"));
    FOther->setFocus();
    EXPECT_EQ(FSpin->text(), QStringLiteral("2500"));
}

TEST_F(SpinEdit, ArrowsStepWithinTheRangeEvenWhenTypingIsOff) {
    FSpin->SetMinValue(0);
    FSpin->SetMaxValue(200);
    FSpin->SetValue(199);
    FSpin->SetEditorEnabled(false);
    FSpin->setFocus();
    QTest::keyClicks(FSpin, QStringLiteral("7"));
    EXPECT_EQ(FSpin->text(), QStringLiteral("199"));
    QTest::keyClick(FSpin, Qt::Key_Up);
    EXPECT_EQ(FSpin->Value(), 200);
    QTest::keyClick(FSpin, Qt::Key_Up);
    EXPECT_EQ(FSpin->Value(), 200);
    QTest::mouseClick(FSpin, Qt::LeftButton, {}, XPSpinDownRect(FSpin->size()).center());
    EXPECT_EQ(FSpin->Value(), 199);
    QTest::mouseClick(FSpin, Qt::LeftButton, {}, XPSpinUpRect(FSpin->size()).center());
    EXPECT_EQ(FSpin->Value(), 200);
}

TEST_F(SpinEdit, ChangesAreReported) {
    int changes = 0;
    FSpin->OnChange = [&](TXPSpinEdit* sender) {
        EXPECT_EQ(sender, FSpin);
        ++changes;
    };
    FSpin->SetValue(42);
    EXPECT_EQ(changes, 1);
    FSpin->SetValue(42);
    EXPECT_EQ(changes, 1);
}

} // namespace
} // namespace ov
