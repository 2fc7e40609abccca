#pragma once
// TXPGauge: a progress gauge drawn as a rounded box with a green bar, either
// in square blocks (stepped) or continuous (smooth), that can estimate the
// time remaining from the progress made between the ticks of a thread timer.

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>

class QPainter;

namespace ov {

class TThreadTimer;

// Number of square blocks that fit a stepped gauge: (W - 6) / (H - 5).
int XPGaugeBlockCount(QSize size);
// progress x totalSteps / maxValue, without overflow; 0 for a zero maximum.
int XPGaugeStep(std::uint64_t progress, int totalSteps, std::uint64_t maxValue);
// The bar's right edge (excluded) for the given step.
int XPGaugeBarRight(QSize size, int step, int totalSteps, bool smooth);

struct TXPGaugeLook {
    QColor Border;
    QColor Background;
    QColor Bar;
    bool InnerShadow = true;
    bool Smooth = false;
    int Step = 0;
    int TotalSteps = 1;
};

void PaintXPGauge(QPainter& painter, QSize size, const TXPGaugeLook& look);

class TXPGauge : public QWidget {
    Q_OBJECT
public:
    explicit TXPGauge(QWidget* parent = nullptr);
    ~TXPGauge() override;

    QColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(const QColor& color);
    bool InnerShadow() const { return FInnerShadow; }
    void SetInnerShadow(bool innerShadow);
    QColor BarColor() const { return FBarColor; }
    void SetBarColor(const QColor& color);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool smooth);

    // A value above MaxValue is ignored. Reaching MaxValue ends a running
    // remaining-time estimate (its timer is destroyed).
    std::uint64_t Progress() const { return FProgress; }
    void SetProgress(std::uint64_t progress);
    // 0 is refused; a maximum below the progress pulls the progress down to it.
    std::uint64_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::uint64_t maxValue);
    // In stepped mode the number of blocks that fit, recomputed from the size;
    // in smooth mode a resolution from 1 to W - 6, other values refused.
    int TotalStep() const;
    void SetTotalStep(int totalStep);
    // The filled part in steps: Progress x TotalStep / MaxValue.
    int Step() const;

    // Seconds left by the latest estimate, -1 when there is none.
    int RemainSeconds() const { return FRemainSeconds; }
    std::function<void(TXPGauge* sender)> OnRemainSeconds;

    // The interval of the timer that Start creates, 3000 ms unless set.
    int TimerInterval() const { return FTimerInterval; }
    void SetTimerInterval(int milliseconds) { FTimerInterval = milliseconds; }

    void Start();
    void Pause() { FPaused = true; }
    void Restart() { FPaused = false; }
    void Stop();
    bool TimerRunning() const { return FTimer != nullptr; }

    TXPGaugeLook Look() const;
    QSize sizeHint() const override { return QSize(100, 20); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool StepChanged();
    void ShowStepChange();
    void OnTimer();
    void FireRemainSeconds();

    QColor FBorderColor;
    bool FInnerShadow = true;
    QColor FBarColor;
    bool FSmooth = false;
    std::uint64_t FProgress = 0;
    std::uint64_t FMaxValue = 100;
    int FTotalStep = 1; // smooth mode only; stepped mode derives it from the size
    int FStep = 0;      // the step last shown
    int FRemainSeconds = -1;

    std::unique_ptr<TThreadTimer> FTimer;
    int FTimerInterval = 3000;
    bool FPaused = false;
    std::uint64_t FLastProgress = 0;
    qint64 FLastTick = 0;
};

} // namespace ov
