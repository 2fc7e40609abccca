#pragma once
// A thin bar that resizes the panel below it by dragging, as the bookmark
// panel's splitter does: the panel's height follows the mouse, kept at
// MinSize or more and never so large that the control above the bar gets
// less than MinSize.

#include <QWidget>

namespace ov {

// The panel height after the bar was dragged by deltaY pixels (negative is
// up) from a panel height of startHeight, with available the height the
// panel and the control above share.
int SplitterPanelHeight(int startHeight, int deltaY, int available, int minSize);

class TSplitterBar : public QWidget {
public:
    // The panel is borrowed; it must outlive the bar or be its sibling.
    TSplitterBar(QWidget* panel, QWidget* parent = nullptr);

    static constexpr int Thickness = 2;
    static constexpr int MinSize = 30;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* FPanel;
    bool FDragging = false;
    int FStartY = 0;
    int FStartHeight = 0;
};

} // namespace ov
