#include "platform/editlayout/SmartGuides.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace EditLayout;

namespace {

// A 20x10 item dragged by its top-left corner (offset 0, 0) among the candidates.
struct Feedback {
    bool snapped;
    double dx;
    double dy;
    std::vector<Guide> guides;
};

Feedback drag(const SmartGuides& guides, double x, double y) {
    Feedback f;
    f.snapped = guides.DragFeedback(x, y, f.guides, f.dx, f.dy);
    return f;
}

const Item dragged(LayoutRect(0, 0, 20, 10));

TEST(SmartGuidesTest, LeftEdgeSnapsToACandidatesLeftEdgeWithAGuideBetweenThem) {
    // Candidate: top 100, left 50, 40 wide, 30 high.
    SmartGuides guides(dragged, {Item(LayoutRect(100, 50, 40, 30))}, 0, 0);
    const Feedback f = drag(guides, 53, 0);
    EXPECT_TRUE(f.snapped);
    EXPECT_DOUBLE_EQ(f.dx, -3);
    EXPECT_DOUBLE_EQ(f.dy, 0);
    ASSERT_EQ(f.guides.size(), 1u);
    const Guide expected{Guide::Vertical, 50, 0, 130, LowEdge, LowEdge};
    EXPECT_EQ(f.guides[0], expected);
}

TEST(SmartGuidesTest, CentresSnapToCentresOnBothAxes) {
    // Candidate centre: (70, 115).
    SmartGuides guides(dragged, {Item(LayoutRect(100, 50, 40, 30))}, 0, 0);
    // The dragged centre is at (x + 10, y + 5): (72, 113) is 2 right and 2 up.
    const Feedback f = drag(guides, 62, 108);
    EXPECT_TRUE(f.snapped);
    EXPECT_DOUBLE_EQ(f.dx, -2);
    EXPECT_DOUBLE_EQ(f.dy, 2);
    ASSERT_EQ(f.guides.size(), 2u);
    EXPECT_EQ(f.guides[0], (Guide{Guide::Vertical, 70, 100, 130, Centre, Centre}));
    EXPECT_EQ(f.guides[1], (Guide{Guide::Horizontal, 115, 50, 90, Centre, Centre}));
}

TEST(SmartGuidesTest, TheSmallestCorrectionWinsAndEdgesMeetOppositeEdges) {
    // Right edge at 90 and another candidate's left edge at 24.
    SmartGuides guides(dragged, {Item(LayoutRect(0, 50, 40, 10)), Item(LayoutRect(40, 24, 10, 10))},
                       0, 0);
    // Dragged at x = 69: right edge 89 is 1 from 90; left edge 69 is far from 24 and 50.
    Feedback f = drag(guides, 69, 200);
    EXPECT_DOUBLE_EQ(f.dx, 1);
    ASSERT_EQ(f.guides.size(), 1u);
    EXPECT_EQ(f.guides[0].fromFeatureType, HighEdge);
    EXPECT_EQ(f.guides[0].toFeatureType, HighEdge);
    // Dragged at x = 1: its right edge 21 is 3 from 24 (a left edge), its left edge 1
    // is 1 from nothing within reach; 3 wins.
    f = drag(guides, 1, 200);
    EXPECT_DOUBLE_EQ(f.dx, 3);
    ASSERT_EQ(f.guides.size(), 1u);
    EXPECT_EQ(f.guides[0], (Guide{Guide::Vertical, 24, 40, 210, HighEdge, LowEdge}));
}

TEST(SmartGuidesTest, NothingWithinTheToleranceMeansNoSnapAndNoGuides) {
    SmartGuides guides(dragged, {Item(LayoutRect(100, 50, 40, 30))}, 0, 0);
    // Left edge 96 is 6 from the right edge 90; the rest lies farther.
    const Feedback f = drag(guides, 96, 500);
    EXPECT_FALSE(f.snapped);
    EXPECT_EQ(f.dx, 0);
    EXPECT_EQ(f.dy, 0);
    EXPECT_TRUE(f.guides.empty());
    guides.setTolerance(6);
    EXPECT_DOUBLE_EQ(drag(guides, 96, 500).dx, -6);
    double dx = 1, dy = 1;
    std::vector<Guide> out{Guide()};
    EXPECT_FALSE(guides.DragFeedback(std::numeric_limits<double>::quiet_NaN(), 0, out, dx, dy));
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(dx, 0);
}

TEST(SmartGuidesTest, AGuideSpansEveryItemAlignedAtItsPosition) {
    SmartGuides guides(dragged,
                       {Item(LayoutRect(100, 50, 10, 10)), Item(LayoutRect(-300, 50, 10, 10)),
                        Item(LayoutRect(400, 65, 10, 10))},
                       0, 0);
    const Feedback f = drag(guides, 51, 0);
    ASSERT_EQ(f.guides.size(), 1u);
    EXPECT_EQ(f.guides[0], (Guide{Guide::Vertical, 50, -300, 110, LowEdge, LowEdge}));
}

TEST(SmartGuidesTest, TheDraggedItemIsNoCandidateAndTheOffsetPlacesIt) {
    // The pointer holds the item 5 right and 5 below its corner.
    SmartGuides guides(dragged, {dragged, Item(LayoutRect(0, 100, 10, 10))}, 5, 5);
    EXPECT_EQ(guides.GetDragAffinities(7, 7), LayoutRect(2, 2, 20, 10));
    // Near its own starting place the item finds nothing to snap to.
    EXPECT_FALSE(drag(guides, 6, 200).snapped);
    const Feedback f = drag(guides, 107, 200);
    EXPECT_DOUBLE_EQ(f.dx, -2);
}

TEST(SmartGuidesTest, FeaturesLeftOutOfAnItemDoNotAttract) {
    SmartGuides guides(dragged, {Item(LayoutRect(100, 50, 40, 30), Item::Right | Item::Top)}, 0, 0);
    EXPECT_FALSE(drag(guides, 51, 500).snapped); // left edge left out
    EXPECT_TRUE(drag(guides, 71, 500).snapped);  // right edge 91 near 90
    guides.AddRectangleAffinities(LayoutRect(100, 50, 40, 30));
    EXPECT_TRUE(drag(guides, 51, 500).snapped);
}

TEST(SmartGuidesTest, CandidatesWithCoordinatesThatAreNotNumbersAreLeftOut) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    // Among the sorted features, a NaN misled the searches past the edge at 90.
    SmartGuides guides(dragged,
                       {Item(LayoutRect(0, 50, 10, 10)), Item(LayoutRect(nan, nan, 10, 10)),
                        Item(LayoutRect(0, 90, 10, 10)), Item(LayoutRect(0, -inf, inf, 10))},
                       0, 0);
    guides.AddRectangleAffinities(LayoutRect(20, 200, nan, 10));
    const Feedback f = drag(guides, 88, 500);
    EXPECT_TRUE(f.snapped);
    EXPECT_DOUBLE_EQ(f.dx, 2);
    ASSERT_EQ(f.guides.size(), 1u);
    EXPECT_EQ(f.guides[0], (Guide{Guide::Vertical, 90, 0, 510, LowEdge, LowEdge}));
    EXPECT_FALSE(drag(guides, 199, 500).snapped);
}

TEST(SmartGuidesTest, ADraggedItemWithNoFinitePlaceSnapsNowhere) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Item> candidates{Item(LayoutRect(0, 50, 10, 10))};
    // The y axis alone would align exactly, with guides whose x extent is NaN.
    const SmartGuides byNaNOffset(dragged, candidates, nan, 0);
    const SmartGuides ofInfiniteWidth(Item(LayoutRect(0, 0, inf, 10)), candidates, 0, 0);
    for (const SmartGuides* guides : {&byNaNOffset, &ofInfiniteWidth}) {
        double dx = 1, dy = 1;
        std::vector<Guide> out{Guide()};
        EXPECT_FALSE(guides->DragFeedback(51, 0, out, dx, dy));
        EXPECT_TRUE(out.empty());
        EXPECT_EQ(dx, 0);
        EXPECT_EQ(dy, 0);
    }
}

TEST(SmartGuidesTest, ACandidateGivenWithANegativeSizeCoversTheSamePlace) {
    // x 50 to 90, y 50 to 100, given from the other corner; only its left edge attracts.
    SmartGuides guides(dragged, {Item(LayoutRect(100, 90, -40, -50), Item::Left)}, 0, 0);
    const Feedback f = drag(guides, 51, 0);
    EXPECT_TRUE(f.snapped);
    EXPECT_DOUBLE_EQ(f.dx, -1);
    ASSERT_EQ(f.guides.size(), 1u);
    EXPECT_EQ(f.guides[0], (Guide{Guide::Vertical, 50, 0, 100, LowEdge, LowEdge}));
    EXPECT_FALSE(drag(guides, 89, 0).snapped);
}

TEST(SmartGuidesTest, ManyCandidatesStillFindTheNearest) {
    std::vector<Item> grid;
    for (int i = 0; i < 10000; ++i)
        grid.emplace_back(LayoutRect((i / 100) * 60.0, (i % 100) * 100.0, 80, 40));
    SmartGuides guides(dragged, grid, 0, 0);
    // Left edges lie at multiples of 100; 4998 is 2 left of 5000.
    const Feedback f = drag(guides, 4998, 3);
    EXPECT_DOUBLE_EQ(f.dx, 2);
    EXPECT_DOUBLE_EQ(f.dy, -3);
    ASSERT_FALSE(f.guides.empty());
    // One vertical guide at x = 5000 spans the whole column of 100 items.
    EXPECT_EQ(f.guides[0], (Guide{Guide::Vertical, 5000, 0, 99 * 60.0 + 40, LowEdge, LowEdge}));
}

} // namespace
