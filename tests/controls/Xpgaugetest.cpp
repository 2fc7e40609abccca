#include "Xpgauge.h"
#include "Threadtimer.h"
#include "Xpdraw.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

namespace ov {
namespace {

const QRgb kBar = qRgb(46, 211, 49);

QImage Render(TXPGauge& gauge) {
    return gauge.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(XPGauge, GeometryOfSteppedBlocks) {
    EXPECT_EQ(XPGaugeBlockCount(QSize(100, 20)), 6);
    EXPECT_EQ(XPGaugeStep(50, 6, 100), 3);
    EXPECT_EQ(XPGaugeStep(100, 6, 100), 6);
    EXPECT_EQ(XPGaugeStep(UINT64_MAX, 1000, UINT64_MAX), 1000); // no 64-bit overflow
    EXPECT_EQ(XPGaugeBarRight(QSize(100, 20), 3, 6, false), 48);
    // Less than one block would remain: the bar runs to W - 3.
    EXPECT_EQ(XPGaugeBarRight(QSize(100, 20), 6, 6, false), 97);
    EXPECT_EQ(XPGaugeBarRight(QSize(100, 20), 47, 94, true), 50);
}

TEST(XPGauge, HalfwayShowsThreeBlocksOfThirteenPixels) {
    TXPGauge gauge;
    EXPECT_EQ(gauge.size(), QSize(100, 20));
    EXPECT_EQ(gauge.TotalStep(), 6);
    gauge.SetProgress(50);
    EXPECT_EQ(gauge.Step(), 3);
    const QImage image = Render(gauge);
    const QRgb background = gauge.palette().color(QPalette::Base).rgb();
    const int block = 20 - 5;
    for (int x = 3; x < 97; ++x) {
        const bool inBlock = x < 3 * block + 1 && (x - 3) % block < 13;
        EXPECT_EQ(image.pixel(x, 10), inBlock ? kBar : background) << "x = " << x;
    }
    // Two lighter lines at the top and bottom of the bar, the outer one lighter.
    const QColor bar = QColor::fromRgb(kBar);
    EXPECT_EQ(image.pixel(5, 3), XPLightened(bar, 60).rgb());
    EXPECT_EQ(image.pixel(5, 4), XPLightened(bar, 30).rgb());
    EXPECT_EQ(image.pixel(5, 16), XPLightened(bar, 60).rgb());
    EXPECT_EQ(image.pixel(5, 15), XPLightened(bar, 30).rgb());
    EXPECT_EQ(image.pixel(5, 5), kBar);
    // Frame and inner shadow.
    EXPECT_EQ(image.pixel(50, 0), qRgb(60, 60, 60));
    const QColor base = gauge.palette().color(QPalette::Base);
    const QRgb shadow =
        qRgb(std::abs(base.red() - 60), std::abs(base.green() - 60), std::abs(base.blue() - 60));
    EXPECT_EQ(image.pixel(50, 1), shadow);
    EXPECT_EQ(image.pixel(1, 10), shadow);
    EXPECT_EQ(image.pixel(2, 2), shadow);
}

TEST(XPGauge, RefusesOutOfRangeValues) {
    TXPGauge gauge;
    gauge.SetProgress(40);
    gauge.SetProgress(101);
    EXPECT_EQ(gauge.Progress(), 40u);
    gauge.SetMaxValue(0);
    EXPECT_EQ(gauge.MaxValue(), 100u);
    gauge.SetTotalStep(50); // stepped mode: fixed by the size
    EXPECT_EQ(gauge.TotalStep(), 6);
    gauge.SetSmooth(true);
    gauge.SetTotalStep(94);
    EXPECT_EQ(gauge.TotalStep(), 94);
    gauge.SetTotalStep(95);
    gauge.SetTotalStep(0);
    EXPECT_EQ(gauge.TotalStep(), 94);
    EXPECT_EQ(gauge.Step(), 40 * 94 / 100);
    gauge.resize(100, 3);
    EXPECT_EQ(gauge.height(), 6);
    // A smaller maximum pulls the progress down with it.
    gauge.SetMaxValue(30);
    EXPECT_EQ(gauge.Progress(), 30u);
}

TEST(XPGauge, ResizeRecountsBlocks) {
    TXPGauge gauge;
    gauge.resize(200, 20);
    EXPECT_EQ(gauge.TotalStep(), (200 - 6) / 15);
    gauge.resize(200, 30);
    EXPECT_EQ(gauge.TotalStep(), (200 - 6) / 25);
}

TEST(XPGauge, EstimatesRemainingTimeFromTimerTicks) {
    TXPGauge gauge;
    gauge.SetMaxValue(1000000);
    gauge.SetTimerInterval(20);
    std::vector<int> reports;
    gauge.OnRemainSeconds = [&](TXPGauge* sender) { reports.push_back(sender->RemainSeconds()); };
    gauge.Start();
    EXPECT_TRUE(gauge.TimerRunning());
    gauge.SetProgress(10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reports.empty(); }, 5000));
    // 10 units in at least 20 ms leaves 999990 units: at least 999990 * 20 / 10 ms.
    EXPECT_GE(reports.front(), 1999);

    gauge.Stop();
    EXPECT_FALSE(gauge.TimerRunning());
    EXPECT_EQ(gauge.RemainSeconds(), -1);
    EXPECT_EQ(reports.back(), -1);
    const size_t count = reports.size();
    gauge.Stop(); // no timer: nothing happens
    EXPECT_EQ(reports.size(), count);
}

// What runs while a tick lets the event loop in may delete the gauge; the
// tick must not touch it afterwards (the sanitizer build checks).
TEST(XPGauge, ATickMayLeadToTheGaugeBeingDeleted) {
    QObject context; // takes any deletion still queued along when the test ends
    QPointer<TXPGauge> gauge = new TXPGauge;
    gauge->SetMaxValue(1000000);
    gauge->SetTimerInterval(10);
    gauge->OnRemainSeconds = [&gauge, &context](TXPGauge*) {
        if (gauge && gauge->RemainSeconds() >= 0)
            QMetaObject::invokeMethod(
                &context, [&gauge] { delete gauge.data(); }, Qt::QueuedConnection);
    };
    gauge->Start();
    gauge->SetProgress(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return gauge.isNull(); }, 5000));
    EXPECT_EQ(TTimerThread::LiveCount(), 0);
}

TEST(XPGauge, PausedGaugeReportsNothingAndFullProgressEndsTheTimer) {
    TXPGauge gauge;
    gauge.SetTimerInterval(10);
    int reports = 0;
    gauge.OnRemainSeconds = [&](TXPGauge*) { ++reports; };
    gauge.Start();
    gauge.Pause();
    gauge.SetProgress(10);
    // Let a probe timer of the same interval tick several times.
    TThreadTimer probe;
    probe.SetInterval(10);
    int probeTicks = 0;
    probe.OnTimer = [&](TThreadTimer*) { ++probeTicks; };
    probe.SetEnabled(true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probeTicks >= 10; }, 5000));
    EXPECT_EQ(reports, 0);
    gauge.SetProgress(100);
    EXPECT_FALSE(gauge.TimerRunning());
}

} // namespace
} // namespace ov
