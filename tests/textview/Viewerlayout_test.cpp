#include "Viewerlayout.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(ViewerLayout, VisibleRowsCountAPartlyVisibleRow) {
    // pitch 18 (16 + 2), top margin 2
    EXPECT_EQ(CountVisibleRows(2 + 18 * 20, 2, 16, 2), 20);
    EXPECT_EQ(CountVisibleRows(2 + 18 * 20 + 1, 2, 16, 2), 21);
    EXPECT_EQ(CountVisibleRows(2 + 18 * 20 - 1, 2, 16, 2), 20);
    // No line height and no line space: no division, no rows.
    EXPECT_EQ(CountVisibleRows(300, 2, 0, 0), 0);
}

TEST(ViewerLayout, LineNumberAreaGrowsWithTheDigitsOfTheRowCount) {
    EXPECT_EQ(LineNumberWidth(true, 0, 8), 12);
    EXPECT_EQ(LineNumberWidth(true, 9, 8), 12);
    EXPECT_EQ(LineNumberWidth(true, 10, 8), 20);
    EXPECT_EQ(LineNumberWidth(true, 1000, 8), 36);
    EXPECT_EQ(LineNumberWidth(false, 1000, 8), 0);
    EXPECT_EQ(GutterWidth(2, LineNumberWidth(true, 1000, 8)), 38);
    for (int n : {0, 1, 9, 10, 99, 100, 123456, 2147483647})
        EXPECT_EQ(DecimalDigits(n), int(std::to_string(n).size())) << n;
}

TEST(ViewerLayout, TopIndexClampsToOnePastTheLastFullPage) {
    const int rows = 100, visible = 20;
    EXPECT_EQ(MaxTopIndex(rows, visible), rows - visible + 1);
    EXPECT_EQ(ClampTopIndex(500, rows, visible), 81);
    EXPECT_EQ(ClampTopIndex(-5, rows, visible), 0);
    EXPECT_EQ(ClampTopIndex(40, rows, visible), 40);
    // Everything fits, or nothing at all: always 0.
    EXPECT_EQ(ClampTopIndex(7, 10, 20), 0);
    EXPECT_EQ(ClampTopIndex(-1, 0, 20), 0);
    EXPECT_EQ(ClampTopIndex(3, 0, 20), 0);
}

TEST(ViewerLayout, ScrollRangesFollowTheSystemBar) {
    const TScrollRange vert = VertScrollRange(100, 20);
    EXPECT_TRUE(vert.Enabled);
    EXPECT_EQ(vert.Maximum, 100);
    EXPECT_EQ(vert.Page, 20);
    EXPECT_EQ(vert.LastPosition(), MaxTopIndex(100, 20));
    EXPECT_FALSE(VertScrollRange(10, 20).Enabled);

    // 400 pixels wide in units of 40: an exact multiple adds one unit.
    const TScrollRange horz = HorzScrollRange(false, 200, 400, 40);
    EXPECT_TRUE(horz.Enabled);
    EXPECT_EQ(horz.Maximum, 11);
    EXPECT_EQ(horz.Page, 5);
    EXPECT_EQ(HorzScrollRange(false, 200, 410, 40).Maximum, 10);
    EXPECT_FALSE(HorzScrollRange(true, 200, 400, 40).Enabled);
    EXPECT_FALSE(HorzScrollRange(false, 400, 400, 40).Enabled);
    EXPECT_TRUE(HorzScrollRange(false, 100, 400, 0).Enabled); // no unit: no division
    // A text area narrower than one unit has a page of 0: the system bar
    // then stops at its maximum, not one past it.
    const TScrollRange narrow = HorzScrollRange(false, 30, 400, 40);
    EXPECT_EQ(narrow.Page, 0);
    EXPECT_EQ(narrow.LastPosition(), narrow.Maximum);
}

TEST(ViewerLayout, ScrollCodesMoveFromTheLastPosition) {
    EXPECT_EQ(ScrollTarget(10, TScrollCode::LineBack, 20, 0), 9);
    EXPECT_EQ(ScrollTarget(10, TScrollCode::LineForward, 20, 0), 11);
    EXPECT_EQ(ScrollTarget(10, TScrollCode::PageBack, 20, 0), -10);
    EXPECT_EQ(ScrollTarget(10, TScrollCode::PageForward, 20, 0), 30);
    EXPECT_EQ(ScrollTarget(10, TScrollCode::Track, 20, 99990), 99990);
    EXPECT_EQ(ScrollTarget(10, TScrollCode::Other, 20, 5), 10);
}

TEST(ViewerLayout, SmallMovesShiftTheImageAndDrawOnlyTheUncoveredRows) {
    const int pitch = 18, margin = 2, height = 362, visible = 20;
    const TRepaintPlan down = PlanTopIndexRepaint(10, 13, visible, pitch, margin, height);
    EXPECT_EQ(down.Kind, TRepaintPlan::MoveDown);
    EXPECT_EQ(down.SourceY, margin + 3 * pitch);
    EXPECT_EQ(down.TargetY, margin);
    EXPECT_EQ(down.CopyHeight, height - 3 * pitch);
    EXPECT_EQ(down.FirstRow, 13 + visible - 3 - 1);
    EXPECT_EQ(down.RowCount, 4);
    EXPECT_EQ(down.FillTop, margin + (visible - 4) * pitch);
    EXPECT_EQ(down.FillBottom, height);

    const TRepaintPlan up = PlanTopIndexRepaint(13, 10, visible, pitch, margin, height);
    EXPECT_EQ(up.Kind, TRepaintPlan::MoveUp);
    EXPECT_EQ(up.TargetY, 3 * pitch);
    EXPECT_EQ(up.FillTop, 0);
    EXPECT_EQ(up.FillBottom, 3 * pitch);
    EXPECT_EQ(up.FirstRow, 10);
    EXPECT_EQ(up.RowCount, 3);

    EXPECT_EQ(PlanTopIndexRepaint(10, 30, visible, pitch, margin, height).Kind, TRepaintPlan::Full);
    EXPECT_EQ(PlanTopIndexRepaint(10, 10, visible, pitch, margin, height).Kind,
              TRepaintPlan::Nothing);
}

} // namespace
} // namespace ov
