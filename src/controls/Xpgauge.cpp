#include "Xpgauge.h"

#include "Threadtimer.h"
#include "Xpdraw.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPointer>
#include <QResizeEvent>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace ov {

namespace {

const unsigned kDefaultBorder = 3947580; // red = green = blue = 60
const unsigned kDefaultBar = 3265326;    // red 46, green 211, blue 49
const int kMinimumHeight = 6;

// Milliseconds on a clock that never jumps.
qint64 TickCount() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QColor ShadowOf(const QColor& color) {
    return QColor(std::abs(color.red() - 60), std::abs(color.green() - 60),
                  std::abs(color.blue() - 60));
}

void PaintInnerShadow(QPainter& painter, QSize size, const QColor& background) {
    const QColor shadow = ShadowOf(background);
    const int w = size.width(), h = size.height();
    XPDrawLine(painter, 2, 1, w - 2, 1, shadow);
    XPDrawLine(painter, 1, 2, 1, h - 2, shadow);
    painter.fillRect(QRect(2, 2, 1, 1), shadow);
}

// The bar with its lighter top and bottom lines.
void PaintBar(QPainter& painter, QSize size, int right, const QColor& bar) {
    const int h = size.height();
    painter.fillRect(QRect(QPoint(3, 3), QPoint(right - 1, h - 4)), bar);
    const int barHeight = h - 6;
    const int lightLines = std::min(2, (barHeight + 1) / 2 - 1);
    for (int i = 0; i < lightLines; ++i) {
        const QColor light = XPLightened(bar, (lightLines - i) * 30);
        XPDrawLine(painter, 3, 3 + i, right, 3 + i, light);
        XPDrawLine(painter, 3, h - 4 - i, right, h - 4 - i, light);
    }
}

// Gaps of the control's colour that split a stepped bar into blocks.
void PaintBlockGaps(QPainter& painter, QSize size, int step, const QColor& background) {
    const int block = size.height() - 5;
    for (int j = 1; j <= step; ++j)
        painter.fillRect(QRect(j * block + 1, 3, 2, size.height() - 6), background);
}

} // namespace

int XPGaugeBlockCount(QSize size) {
    const int block = std::max(1, size.height() - 5);
    return std::max(0, (size.width() - 6) / block);
}

int XPGaugeStep(std::uint64_t progress, int totalSteps, std::uint64_t maxValue) {
    if (maxValue == 0 || totalSteps <= 0)
        return 0;
    const unsigned __int128 product =
        static_cast<unsigned __int128>(progress) * static_cast<unsigned>(totalSteps);
    return static_cast<int>(product / maxValue);
}

int XPGaugeBarRight(QSize size, int step, int totalSteps, bool smooth) {
    const int w = size.width(), h = size.height();
    if (smooth)
        return totalSteps > 0 ? (w - 6) * step / totalSteps + 3 : 3;
    const int right = (h - 5) * step + 3;
    return (w - 3) - right < h - 5 ? w - 3 : right;
}

void PaintXPGauge(QPainter& painter, QSize size, const TXPGaugeLook& look) {
    XPDrawRoundRect(painter, QRect(QPoint(0, 0), size), 5, 5, look.Border, look.Background);
    if (look.InnerShadow)
        PaintInnerShadow(painter, size, look.Background);
    if (look.Step <= 0)
        return;
    PaintBar(painter, size, XPGaugeBarRight(size, look.Step, look.TotalSteps, look.Smooth),
             look.Bar);
    if (!look.Smooth)
        PaintBlockGaps(painter, size, look.Step, look.Background);
}

TXPGauge::TXPGauge(QWidget* parent)
    : QWidget(parent), FBorderColor(XPColorFromValue(kDefaultBorder)),
      FBarColor(XPColorFromValue(kDefaultBar)) {
    setBackgroundRole(QPalette::Base);
    setMinimumHeight(kMinimumHeight);
    resize(100, 20);
}

TXPGauge::~TXPGauge() = default;

void TXPGauge::SetBorderColor(const QColor& color) {
    if (color == FBorderColor)
        return;
    FBorderColor = color;
    update();
}

void TXPGauge::SetInnerShadow(bool innerShadow) {
    if (innerShadow == FInnerShadow)
        return;
    FInnerShadow = innerShadow;
    update();
}

void TXPGauge::SetBarColor(const QColor& color) {
    if (color == FBarColor)
        return;
    FBarColor = color;
    update();
}

void TXPGauge::SetSmooth(bool smooth) {
    if (smooth == FSmooth)
        return;
    // Smooth mode starts from the block count the gauge showed last.
    if (smooth)
        FTotalStep = std::max(1, XPGaugeBlockCount(size()));
    FSmooth = smooth;
    StepChanged();
    update();
}

void TXPGauge::SetProgress(std::uint64_t progress) {
    if (progress > FMaxValue || progress == FProgress)
        return;
    FProgress = progress;
    if (FProgress == FMaxValue)
        FTimer.reset();
    if (StepChanged())
        ShowStepChange();
}

void TXPGauge::SetMaxValue(std::uint64_t maxValue) {
    if (maxValue == 0 || maxValue == FMaxValue)
        return;
    FMaxValue = maxValue;
    FProgress = std::min(FProgress, FMaxValue);
    if (StepChanged())
        ShowStepChange();
}

void TXPGauge::SetTotalStep(int totalStep) {
    if (!FSmooth || totalStep <= 0 || totalStep > width() - 6 || totalStep == FTotalStep)
        return;
    FTotalStep = totalStep;
    if (StepChanged())
        ShowStepChange();
}

int TXPGauge::TotalStep() const {
    return FSmooth ? FTotalStep : XPGaugeBlockCount(size());
}

int TXPGauge::Step() const {
    return XPGaugeStep(FProgress, TotalStep(), FMaxValue);
}

bool TXPGauge::StepChanged() {
    const int step = Step();
    if (step == FStep)
        return false;
    FStep = step;
    return true;
}

// Painted at once, without running the event loop: progress is shown from
// inside timer ticks and loops, and a key let in here (Ctrl+F opening a modal
// dialog) would run that dialog inside the tick, and the timer that delivers
// the progress would stay blocked until the dialog closed.
void TXPGauge::ShowStepChange() {
    repaint();
}

TXPGaugeLook TXPGauge::Look() const {
    TXPGaugeLook look;
    look.Border = FBorderColor;
    look.Background = palette().color(QPalette::Base);
    look.Bar = FBarColor;
    look.InnerShadow = FInnerShadow;
    look.Smooth = FSmooth;
    look.Step = Step();
    look.TotalSteps = TotalStep();
    return look;
}

void TXPGauge::paintEvent(QPaintEvent*) {
    StepChanged();
    QPainter painter(this);
    PaintXPGauge(painter, size(), Look());
}

void TXPGauge::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    StepChanged();
}

void TXPGauge::Start() {
    FTimer.reset();
    FTimer = std::make_unique<TThreadTimer>();
    FProgress = 0;
    FLastProgress = 0;
    FPaused = false;
    if (StepChanged())
        update();
    FTimer->SetInterval(FTimerInterval);
    FTimer->OnTimer = [this](TThreadTimer*) { OnTimer(); };
    // Read just before the worker starts, so that the first tick never seems
    // to come sooner than one interval.
    FLastTick = TickCount();
    FTimer->SetEnabled(true);
}

void TXPGauge::Stop() {
    if (!FTimer)
        return;
    FTimer->OnTimer = nullptr;
    FTimer->SetEnabled(false);
    FTimer.reset();
    FRemainSeconds = -1;
    FireRemainSeconds();
}

void TXPGauge::OnTimer() {
    const qint64 now = TickCount();
    const qint64 elapsed = now - FLastTick;
    if (FPaused || elapsed <= 0)
        return;
    // Progress set back since the last tick counts as no progress.
    const double gained =
        FProgress >= FLastProgress ? static_cast<double>(FProgress - FLastProgress) : 0.0;
    const float speed = static_cast<float>(10.0 * gained / static_cast<double>(elapsed));
    FLastTick = now;
    FLastProgress = FProgress;
    if (speed <= 0)
        return;
    const double remaining = static_cast<double>(FMaxValue - FProgress);
    FRemainSeconds = static_cast<int>(std::min(remaining / speed * 10 * 0.001, 2147483647.0));
    FireRemainSeconds();
    // The events run here may delete the gauge: nothing of it is touched
    // once it is gone.
    const QPointer<TXPGauge> alive(this);
    QCoreApplication::processEvents();
    if (!alive)
        return;
    if (FRemainSeconds <= 2 && FTimer)
        FTimer->SetEnabled(false);
}

void TXPGauge::FireRemainSeconds() {
    if (OnRemainSeconds)
        OnRemainSeconds(this);
}

} // namespace ov
