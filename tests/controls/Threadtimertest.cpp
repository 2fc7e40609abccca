#include "Threadtimer.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace ov {
namespace {

// Waits until a separate probe timer of the same interval has ticked count
// times, so that a timer under test has had the chance to tick as well.
void LetTimersRun(int interval, int count) {
    TThreadTimer probe;
    probe.SetInterval(interval);
    int ticks = 0;
    probe.OnTimer = [&](TThreadTimer*) { ++ticks; };
    probe.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= count; }, 5000));
}

TEST(ThreadTimer, DefaultsAreThreeSecondsAndOff) {
    TThreadTimer timer;
    EXPECT_EQ(timer.Interval(), 3000);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(timer.ThreadPriority(), TThreadPriority::Normal);
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
}

TEST(ThreadTimer, TicksArriveOnTheInterfaceThread) {
    TThreadTimer timer;
    timer.SetInterval(10);
    int ticks = 0;
    bool allOnInterfaceThread = true;
    timer.OnTimer = [&](TThreadTimer* sender) {
        EXPECT_EQ(sender, &timer);
        allOnInterfaceThread &= QThread::currentThread() == QCoreApplication::instance()->thread();
        ++ticks;
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 5000));
    EXPECT_TRUE(allOnInterfaceThread);
}

TEST(ThreadTimer, DestroyingTheTimerEndsItsThreadAndItsTicks) {
    int ticks = 0;
    auto timer = std::make_unique<TThreadTimer>();
    timer->SetInterval(10);
    timer->OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer->SetEnabled(true);
    EXPECT_EQ(TTimerThread::LiveCount(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 5000));
    timer.reset();
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
    const int ticksAtEnd = ticks;
    LetTimersRun(10, 5);
    EXPECT_EQ(ticks, ticksAtEnd);
}

TEST(ThreadTimer, SwitchingOffStopsTicksAndOnAgainUsesOneThread) {
    TThreadTimer timer;
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 5000));
    timer.SetEnabled(false);
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
    const int ticksWhenOff = ticks;
    LetTimersRun(10, 5);
    EXPECT_EQ(ticks, ticksWhenOff);

    timer.SetEnabled(true);
    timer.SetEnabled(false);
    timer.SetEnabled(true);
    EXPECT_EQ(TTimerThread::LiveCount(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > ticksWhenOff; }, 5000));
}

TEST(ThreadTimer, HandlerMayDestroyItsOwnTimer) {
    auto timer = std::make_unique<TThreadTimer>();
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TThreadTimer*) {
        ++ticks;
        timer.reset();
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 1; }, 5000));
    EXPECT_EQ(timer, nullptr);
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
    LetTimersRun(10, 5);
    EXPECT_EQ(ticks, 1);
}

// A handler that runs the event loop lets the next tick in while it is still
// running; if that nested tick destroys the timer, the outer handler must be
// able to go on running the event loop and return safely.
TEST(ThreadTimer, NestedTickMayDestroyTheTimerWhileAnOuterTickRuns) {
    auto timer = std::make_unique<TThreadTimer>();
    timer->SetInterval(10);
    int ticks = 0;
    bool outerReturned = false;
    timer->OnTimer = [&](TThreadTimer*) {
        const int tick = ++ticks;
        if (tick == 1) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return timer == nullptr; }, 5000));
            // Whatever the nested tick left to the event loop runs now.
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            outerReturned = true;
        } else {
            timer.reset();
        }
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return outerReturned; }, 5000));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
}

// A handler that throws (the application shows the error and goes on) must
// leave nothing behind: the timer goes on ticking, and once it is gone, so
// is its tick receiver.
TEST(ThreadTimer, AThrowingHandlerLeavesNothingBehind) {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const int receivers = TThreadTimer::ReceiverCount();
    auto timer = std::make_unique<TThreadTimer>();
    timer->SetInterval(10);
    int ticks = 0;
    timer->OnTimer = [&](TThreadTimer*) {
        ++ticks;
        throw std::runtime_error("a tick that fails");
    };
    timer->SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 5000));
    timer.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TThreadTimer::ReceiverCount(), receivers);
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
}

TEST(ThreadTimer, BusyInterfaceThreadGetsMergedTicks) {
    TThreadTimer timer;
    timer.SetInterval(10);
    int ticks = 0;
    timer.OnTimer = [&](TThreadTimer*) { ++ticks; };
    timer.SetEnabled(true);
    // Block the interface thread for many intervals without running its loop.
    QThread::msleep(200);
    QCoreApplication::processEvents();
    EXPECT_LE(ticks, 2);
}

} // namespace
} // namespace ov
