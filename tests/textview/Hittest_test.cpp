#include "Charwidths.h"
#include "Hittest.h"
#include "Viewertestsupport.h"

#include <gtest/gtest.h>

namespace ov {
namespace {

TEST(HitTest, BitmapCellsFindTheByteUnderTheOffset) {
    const TBitmapCharWidths widths(4);
    auto hit = [&](std::string_view row, int offset) {
        return HitColumn(row, offset, TFontKind::Bitmap, 4, widths);
    };
    for (int cell = 0; cell < 5; ++cell)
        EXPECT_EQ(hit("abcde", cell * 8 + 3), cell);
    // Third cell of a tab of four cells: the tab.
    EXPECT_EQ(hit("\tx", 2 * 8), 0);
    EXPECT_EQ(hit("\tx", 4 * 8), 1);
    // Second half of a double-byte character: its first byte.
    EXPECT_EQ(hit("a\xB0\xA1z", 2 * 8 + 1), 1);
    EXPECT_EQ(hit("a\xB0\xA1z", 1 * 8 + 1), 1);
    // Past the end the cell number stands.
    EXPECT_EQ(hit("ab", 9 * 8), 9);
}

TEST(HitTest, OutlineWidthsFindTheCharacterWhoseRightEdgePassesTheOffset) {
    TQtTextDrawer drawer;
    const TOutlineCharWidths widths(drawer, 4);
    const int a = widths.SingleWidth('a');
    const int ga = widths.DoubleWidth(0xB0, 0xA1);
    auto hit = [&](std::string_view row, int offset) {
        return HitColumn(row, offset, TFontKind::Outline, 4, widths);
    };
    EXPECT_EQ(hit("a\xB0\xA1z", a - 1), 0);
    EXPECT_EQ(hit("a\xB0\xA1z", a), 1);
    EXPECT_EQ(hit("a\xB0\xA1z", a + ga - 1), 1);
    EXPECT_EQ(hit("a\xB0\xA1z", a + ga), 3);
    EXPECT_EQ(hit("a\xB0\xA1z", 10000), 5); // length + 1
}

TEST(HitTest, PointsOutsideTheTextGetSpecialValues) {
    EXPECT_EQ(ClassifyHit(3, 2, 10, 5), (TTextPoint{3, 2}));
    EXPECT_EQ(ClassifyHit(10, 2, 10, 5), (TTextPoint{HitPastRowEnd, 2}));
    EXPECT_EQ(ClassifyHit(-1, 2, 10, 5), (TTextPoint{HitLeftOfText, 2}));
    EXPECT_EQ(ClassifyHit(-1, -1, 0, 5), HitAboveRows);
    EXPECT_EQ(ClassifyHit(-1, 5, 0, 5), HitBelowRows);
}

TEST(HitTest, ViewerMapsClientPointsToRowsAndLines) {
    test::TViewerFixture fixture;
    TOVSynTextViewer& viewer = *fixture.Viewer;
    fixture.SetClientSize(200, fixture.HeightForRows(6));
    EXPECT_EQ(viewer.GetCharLocationAt(50, 10, false), NoTextPoint);
    viewer.SetWordWrap(true);
    fixture.SetText(std::string(40, 'a') + "\nbb\n");
    const int gutter = viewer.GetGutterWidth();
    const int perRow = (200 - gutter) / 8;
    const int pitch = viewer.LineHeight() + viewer.LineSpace();
    const int rowOneY = viewer.TopMargin() + pitch + 3;
    EXPECT_EQ(viewer.GetCharLocationAt(gutter + 8 * 2 + 1, rowOneY, false), (TTextPoint{2, 1}));
    EXPECT_EQ(viewer.GetCharLocationAt(gutter + 8 * 2 + 1, rowOneY, true),
              (TTextPoint{perRow + 2, 0}));
    EXPECT_EQ(viewer.GetCharLocationAt(gutter - 1, rowOneY, false), (TTextPoint{HitLeftOfText, 1}));
    EXPECT_EQ(viewer.GetCharLocationAt(gutter - 1, rowOneY, true), NoTextPoint);
    const int lastRowY = viewer.TopMargin() + (viewer.RowCount() - 1) * pitch + 1;
    EXPECT_EQ(viewer.GetCharLocationAt(199, lastRowY, false),
              (TTextPoint{HitPastRowEnd, viewer.RowCount() - 1}));
    EXPECT_EQ(viewer.GetCharLocationAt(50, lastRowY + pitch, false), HitBelowRows);
    EXPECT_EQ(viewer.GetCharLocationAt(50, -pitch, false), HitAboveRows);
}

} // namespace
} // namespace ov
