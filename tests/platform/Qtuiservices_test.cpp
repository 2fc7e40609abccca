#include "Qtuiservices.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>

#include <optional>

using namespace ov;

namespace {

// Once the modal box is up: records the cursor shape over it and presses the
// given button. Polls instead of sleeping; gives up after ten seconds.
void AnswerBoxWhenShown(QMessageBox::StandardButton button, std::optional<Qt::CursorShape>& seen) {
    auto* poll = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box && clock->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (!box)
            return;
        if (const QCursor* cursor = QGuiApplication::overrideCursor())
            seen = cursor->shape();
        box->button(button)->click();
    });
    poll->start(5);
}

} // namespace

TEST(QtUIServices, BoxesShowTheArrowOverAWaitCursorAndRestoreIt) {
    TQtUIServices ui;
    ui.BeginWaitCursor();

    std::optional<Qt::CursorShape> seen;
    AnswerBoxWhenShown(QMessageBox::No, seen);
    EXPECT_FALSE(ui.AskYesNo("question", "caption", TMessageIcon::Information));
    EXPECT_EQ(seen, Qt::ArrowCursor);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

    seen.reset();
    AnswerBoxWhenShown(QMessageBox::Yes, seen);
    EXPECT_TRUE(ui.AskYesNo("question", "caption", TMessageIcon::Information));
    EXPECT_EQ(seen, Qt::ArrowCursor);

    seen.reset();
    AnswerBoxWhenShown(QMessageBox::Ok, seen);
    ui.ShowMessage("message", "caption", TMessageIcon::Warning);
    EXPECT_EQ(seen, Qt::ArrowCursor);

    ui.EndWaitCursor();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
