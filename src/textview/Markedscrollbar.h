#pragma once
// TMarkedScrollBar: the text view's vertical scroll bar, with a tick along
// its groove wherever a row holds a match of the current search, so that the
// reader sees where in the file the matches lie and can drag to them.

#include <QScrollBar>

#include <vector>

namespace ov {

class TMarkedScrollBar : public QScrollBar {
public:
    explicit TMarkedScrollBar(QWidget* parent = nullptr);

    // rows: the display rows that hold a match, rising, out of rowCount
    // rows; color: the match colour. Empty rows: no ticks.
    void SetMarks(std::vector<int> rows, int rowCount, QRgb color);
    const std::vector<int>& MarkRows() const { return FRows; }
    // The pixel rows of the bar that carry a tick's top, rising, one for
    // each pixel row however many rows fall on it.
    std::vector<int> TickPixels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The part of the bar the rows are spread over.
    QRect Track() const;

    std::vector<int> FRows;
    int FRowCount = 0;
    QRgb FColor = 0;
};

} // namespace ov
