#pragma once
// TXPanel: a panel that draws nothing itself; its painting is left to the
// OnPaint handler, which gets the panel's painter.

#include <QWidget>

#include <functional>

class QPainter;

namespace ov {

class TXPanel : public QWidget {
    Q_OBJECT
public:
    explicit TXPanel(QWidget* parent = nullptr);

    std::function<void(TXPanel* sender, QPainter& canvas)> OnPaint;

    QSize sizeHint() const override { return QSize(100, 100); }

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ov
