#include "Xpcheckbox.h"
#include "Xpgroupbox.h"
#include "Xpradiobutton.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace ov {
namespace {

// A shown, active window, so that focus behaves as on a desktop.
class CheckControls : public ::testing::Test {
protected:
    void SetUp() override {
        FWindow = std::make_unique<QWidget>();
        FWindow->resize(300, 200);
    }
    void Show() {
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }
    std::unique_ptr<QWidget> FWindow;
};

TEST_F(CheckControls, DefaultsMatchTheStockLook) {
    TXPCheckBox check(FWindow.get());
    TXPRadioButton radio(FWindow.get());
    EXPECT_EQ(check.size(), QSize(121, 17));
    EXPECT_EQ(radio.size(), QSize(121, 17));
    EXPECT_FALSE(check.Checked());
    EXPECT_EQ(check.FocusedColor(), QColor(Qt::blue));
    EXPECT_EQ(radio.GroupIndex(), 0);
    EXPECT_TRUE(check.focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(radio.focusPolicy() & Qt::TabFocus);
}

TEST_F(CheckControls, CheckBoxTogglesOnReleaseInsideOnly) {
    Show();
    auto* check = new TXPCheckBox(QStringLiteral("대소문자 구분(&C)"), FWindow.get());
    check->show();
    int clicks = 0;
    check->OnClick = [&](TXPCheckBox* sender) {
        EXPECT_EQ(sender, check);
        ++clicks;
    };
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(check->hasFocus());

    // Press, move out, release: nothing changes.
    QTest::mousePress(check, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(check->IsPressed());
    QTest::mouseRelease(check, Qt::LeftButton, {}, QPoint(200, 8));
    EXPECT_TRUE(check->Checked());
    EXPECT_FALSE(check->IsPressed());
    EXPECT_EQ(clicks, 1);

    QTest::keyClick(check, Qt::Key_Space);
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(clicks, 2);

    // Setting the same value fires nothing.
    check->SetChecked(false);
    EXPECT_EQ(clicks, 2);
}

TEST_F(CheckControls, AccessKeyFocusesAndTogglesTheCheckBox) {
    auto* other = new TXPCheckBox(QStringLiteral("other"), FWindow.get());
    auto* check = new TXPCheckBox(QStringLiteral("온전한 단어만(&W)"), FWindow.get());
    check->move(0, 30);
    Show();
    other->setFocus();
    QTest::keyClick(FWindow.get(), Qt::Key_W, Qt::AltModifier);
    EXPECT_TRUE(check->hasFocus());
    EXPECT_TRUE(check->Checked());
}

TEST_F(CheckControls, FocusedCaptionUsesFocusedColour) {
    auto* check = new TXPCheckBox(QStringLiteral("x"), FWindow.get());
    check->SetFocusedColor(QColor(1, 2, 250));
    auto* other = new TXPCheckBox(QStringLiteral("y"), FWindow.get());
    other->move(0, 30);
    Show();
    other->setFocus();
    EXPECT_NE(check->Look().TextColor, QColor(1, 2, 250));
    check->setFocus();
    EXPECT_EQ(check->Look().TextColor, QColor(1, 2, 250));
}

TEST_F(CheckControls, DisabledCheckBoxCaptionIsGreyButRadioIsNot) {
    auto* check = new TXPCheckBox(QStringLiteral("a"), FWindow.get());
    auto* radio = new TXPRadioButton(QStringLiteral("b"), FWindow.get());
    const QColor radioColour = radio->Look().TextColor;
    check->setEnabled(false);
    radio->setEnabled(false);
    EXPECT_EQ(check->Look().TextColor, check->palette().color(QPalette::Disabled, QPalette::Text));
    EXPECT_EQ(radio->Look().TextColor, radioColour);
}

TEST_F(CheckControls, RadioGroupsFollowParentAndGroupIndex) {
    auto* groupA = new TXPGroupBox(QStringLiteral("검색 방향"), FWindow.get());
    auto* groupB = new TXPGroupBox(QStringLiteral("시작 위치"), FWindow.get());
    auto* down = new TXPRadioButton(QStringLiteral("아래로(&D)"), groupA);
    auto* up = new TXPRadioButton(QStringLiteral("위로(&U)"), groupA);
    auto* otherIndex = new TXPRadioButton(QStringLiteral("x"), groupA);
    otherIndex->SetGroupIndex(1);
    auto* cursor = new TXPRadioButton(QStringLiteral("현재 위치부터(&F)"), groupB);
    int downClicks = 0;
    down->OnClick = [&](TXPRadioButton*) { ++downClicks; };

    down->SetChecked(true);
    otherIndex->SetChecked(true);
    cursor->SetChecked(true);
    EXPECT_TRUE(down->Checked());
    EXPECT_TRUE(otherIndex->Checked());
    EXPECT_TRUE(cursor->Checked()); // different parent: both stay checked
    EXPECT_EQ(downClicks, 1);
    EXPECT_TRUE(down->focusPolicy() & Qt::TabFocus);

    up->SetChecked(true);
    EXPECT_FALSE(down->Checked());
    EXPECT_FALSE(down->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(otherIndex->Checked());
    EXPECT_TRUE(cursor->Checked());
    EXPECT_EQ(downClicks, 1); // being unchecked fires nothing
}

TEST_F(CheckControls, ClickingACheckedRadioChangesNothing) {
    auto* first = new TXPRadioButton(QStringLiteral("a"), FWindow.get());
    auto* second = new TXPRadioButton(QStringLiteral("b"), FWindow.get());
    second->move(0, 30);
    Show();
    first->SetChecked(true);
    int clicks = 0;
    first->OnClick = [&](TXPRadioButton*) { ++clicks; };
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(first->Checked());
    EXPECT_EQ(clicks, 0);

    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
}

TEST_F(CheckControls, RadioChecksOnReleaseInsideOnly) {
    auto* first = new TXPRadioButton(QStringLiteral("a"), FWindow.get());
    auto* second = new TXPRadioButton(QStringLiteral("b"), FWindow.get());
    second->move(0, 30);
    Show();
    // A focused radio that was unchecked by the program: the press itself
    // brings no focus change, so only a release inside checks it.
    second->setFocus();
    first->SetChecked(true);
    ASSERT_TRUE(second->hasFocus());
    ASSERT_FALSE(second->Checked());
    int clicks = 0;
    second->OnClick = [&](TXPRadioButton*) { ++clicks; };
    QTest::mousePress(second, Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseRelease(second, Qt::LeftButton, {}, QPoint(200, 8));
    EXPECT_FALSE(second->Checked());
    EXPECT_EQ(clicks, 0);
    QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
    EXPECT_EQ(clicks, 1);
}

TEST_F(CheckControls, RadioBecomesCheckedWhenItGetsTheFocus) {
    auto* first = new TXPRadioButton(QStringLiteral("a"), FWindow.get());
    auto* second = new TXPRadioButton(QStringLiteral("위로(&U)"), FWindow.get());
    second->move(0, 30);
    first->SetChecked(true);
    Show();
    QTest::keyClick(FWindow.get(), Qt::Key_U, Qt::AltModifier);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
}

TEST_F(CheckControls, ArrowKeysWalkTheGroupAndCheck) {
    auto* first = new TXPRadioButton(QStringLiteral("a"), FWindow.get());
    auto* second = new TXPRadioButton(QStringLiteral("b"), FWindow.get());
    auto* third = new TXPRadioButton(QStringLiteral("c"), FWindow.get());
    auto* otherGroup = new TXPRadioButton(QStringLiteral("d"), FWindow.get());
    otherGroup->SetGroupIndex(1);
    second->move(0, 20);
    third->move(0, 40);
    otherGroup->move(0, 60);
    first->SetChecked(true);
    otherGroup->SetChecked(true);
    Show();
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_TRUE(second->hasFocus());
    EXPECT_TRUE(second->Checked());
    EXPECT_FALSE(first->Checked());
    QTest::keyClick(second, Qt::Key_Right);
    EXPECT_TRUE(third->Checked());
    QTest::keyClick(third, Qt::Key_Down); // wraps within the group
    EXPECT_TRUE(first->Checked());
    EXPECT_TRUE(otherGroup->Checked());
    QTest::keyClick(first, Qt::Key_Up);
    EXPECT_TRUE(third->Checked());
}

} // namespace
} // namespace ov
