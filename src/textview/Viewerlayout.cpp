#include "Viewerlayout.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace ov {

int CountVisibleRows(int clientHeight, int topMargin, int lineHeight, int lineSpace) {
    const int pitch = lineHeight + lineSpace;
    if (pitch <= 0)
        return 0;
    const int height = clientHeight - topMargin;
    return height / pitch + (height % pitch != 0 ? 1 : 0);
}

int DecimalDigits(int n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

int LineNumberWidth(bool showLineNum, int rowCount, int digitWidth) {
    return showLineNum ? DecimalDigits(rowCount) * digitWidth + 4 : 0;
}

int MaxTopIndex(int rowCount, int visibleRows) {
    if (visibleRows >= rowCount)
        return 0;
    return rowCount - visibleRows + 1;
}

int ClampTopIndex(int requested, int rowCount, int visibleRows) {
    int top = requested;
    if (top < 0 && rowCount != 0)
        top = 0;
    if (top > rowCount - visibleRows + 1)
        top = rowCount - visibleRows + 1;
    if (visibleRows >= rowCount)
        top = 0;
    return top;
}

TScrollRange VertScrollRange(int rowCount, int visibleRows) {
    if (rowCount < visibleRows)
        return {false, 0, 0};
    return {true, rowCount, visibleRows};
}

TScrollRange HorzScrollRange(bool wordWrap, int textWidth, long long maxStrWidth, int horzUnit) {
    if (wordWrap || textWidth >= maxStrWidth)
        return {false, 0, 0};
    const int unit = horzUnit > 0 ? horzUnit : 1;
    const long long maximum = maxStrWidth / unit + (maxStrWidth % unit == 0 ? 1 : 0);
    return {true, int(std::min<long long>(maximum, INT_MAX)), textWidth > 0 ? textWidth / unit : 0};
}

TRepaintPlan PlanTopIndexRepaint(int oldTop, int newTop, int visibleRows, int pitch, int topMargin,
                                 int clientHeight) {
    TRepaintPlan plan;
    const int distance = std::abs(newTop - oldTop);
    if (distance == 0)
        return plan;
    if (distance >= visibleRows || pitch <= 0) {
        plan.Kind = TRepaintPlan::Full;
        return plan;
    }
    const int shift = pitch * distance;
    plan.CopyHeight = clientHeight - shift;
    if (newTop < oldTop) {
        plan.Kind = TRepaintPlan::MoveUp;
        plan.SourceY = 0;
        plan.TargetY = shift;
        plan.FillTop = 0;
        plan.FillBottom = shift;
        plan.FirstRow = newTop;
        plan.RowCount = distance;
    } else {
        plan.Kind = TRepaintPlan::MoveDown;
        plan.SourceY = topMargin + shift;
        plan.TargetY = topMargin;
        plan.FillTop = topMargin + pitch * visibleRows - (distance + 1) * pitch;
        plan.FillBottom = clientHeight;
        plan.FirstRow = newTop + visibleRows - distance - 1;
        plan.RowCount = distance + 1;
    }
    return plan;
}

} // namespace ov
