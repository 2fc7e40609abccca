#include "Splitterbar.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(SplitterBar, PanelHeightFollowsTheDragWithinLimits) {
    const int minSize = TSplitterBar::MinSize;
    EXPECT_EQ(SplitterPanelHeight(77, -20, 400, minSize), 97);
    EXPECT_EQ(SplitterPanelHeight(77, 20, 400, minSize), 57);
    EXPECT_EQ(SplitterPanelHeight(77, 70, 400, minSize), minSize);
    EXPECT_EQ(SplitterPanelHeight(77, -500, 400, minSize), 400 - minSize);
    // Too little room for both: the panel keeps its minimum.
    EXPECT_EQ(SplitterPanelHeight(77, 0, 40, minSize), minSize);
}

} // namespace
} // namespace ov
