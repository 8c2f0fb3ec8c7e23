#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <gtest/gtest.h>

using PLATFORM::StudioFrameworkService;

namespace {

struct PlacementCase {
    const char* name;
    const char* area;
    const char* position;
    int areaValue;
    int positionValue;
    // What placing does: "dock", "tab", "status", "none", or "error".
    const char* outcome;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

} // namespace

TEST_P(PlacementTest, StringsPlaceAsTheirTableEntry) {
    const PlacementCase& row = GetParam();
    EXPECT_EQ(StudioFrameworkService::areaValue(row.area), row.areaValue);
    EXPECT_EQ(StudioFrameworkService::positionValue(row.position), row.positionValue);

    OrbisTest::StudioFixture fixture;
    StudioFrameworkService& framework = *fixture.framework;
    OrbisTest::PanelComponent* panel = fixture.addPanel("panel");
    TAVI::ErrorHolder errors;
    const bool placed = framework.placeComponent(panel, row.area, row.position, errors);
    const std::string outcome = row.outcome;
    EXPECT_EQ(placed, outcome != "error");
    EXPECT_EQ(errors.hasError(), outcome == "error") << errors.what();
    if (outcome == "error") {
        EXPECT_EQ(errors.id(), "PLATFORM_BadDockPosition");
    }
    EXPECT_EQ(framework.isDocked(panel), outcome == "dock");
    if (outcome == "dock") {
        EXPECT_EQ(framework.getDockPosition(panel), row.positionValue);
    }
    EXPECT_EQ(framework.getTabIndex(panel, errors) != StudioFrameworkService::NoTab,
              outcome == "tab");
    EXPECT_EQ(framework.getStatusComponent() == panel, outcome == "status");
    if (outcome == "tab") {
        EXPECT_EQ(framework.getTabTitle(0, errors), "Title of panel");
    }
    EXPECT_EQ(panel->isVisible(), outcome == "dock" || outcome == "tab" || outcome == "status");
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlacementTest,
    ::testing::Values(PlacementCase{"DockLeft", "DockWidget", "Left", 0, 0, "dock"},
                      PlacementCase{"DockRight", "DockWidget", "Right", 0, 1, "dock"},
                      PlacementCase{"DockTop", "DockWidget", "Top", 0, 2, "dock"},
                      PlacementCase{"DockBottom", "DockWidget", "Bottom", 0, 3, "dock"},
                      PlacementCase{"DockCaseInsensitive", "dockwidget", "BOTTOM", 0, 3, "dock"},
                      PlacementCase{"DockAtAnOtherPosition", "DockWidget", "Middle", 0, 5, "error"},
                      PlacementCase{"Tab", "TabWidget", "Left", 1, 0, "tab"},
                      PlacementCase{"TabCaseInsensitive", "TABWIDGET", "", 1, 5, "tab"},
                      PlacementCase{"Status", "StatusWidget", "Right", 2, 1, "status"},
                      PlacementCase{"Invisible", "Invisible", "Left", 3, 0, "none"},
                      PlacementCase{"Unknown", "Unknown", "Left", 4, 0, "none"},
                      PlacementCase{"AnyOtherArea", "Floating", "Left", 6, 0, "none"},
                      PlacementCase{"EmptyArea", "", "", 6, 5, "none"}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) {
        return std::string(info.param.name);
    });

TEST(PlacementByStringTest, ATabAreaDoesNotChangeTheCurrentTab) {
    OrbisTest::StudioFixture fixture;
    StudioFrameworkService& framework = *fixture.framework;
    TAVI::ErrorHolder errors;
    framework.addTab(fixture.addPanel("diagram"), "", true, errors);
    OrbisTest::PanelComponent* panel = fixture.addPanel("panel");
    ASSERT_TRUE(framework.placeComponent(panel, "TabWidget", "Left", errors));
    EXPECT_EQ(framework.getTabIndex(panel, errors), 1u);
    EXPECT_EQ(framework.getCurrentTabIndex(errors), 0u);
}

TEST(PlacementByStringTest, PlacingAComponentTwiceIsRefused) {
    OrbisTest::StudioFixture fixture;
    StudioFrameworkService& framework = *fixture.framework;
    TAVI::ErrorHolder errors;
    OrbisTest::PanelComponent* panel = fixture.addPanel("panel");
    ASSERT_TRUE(framework.placeComponent(panel, "DockWidget", "Left", errors));
    EXPECT_FALSE(framework.placeComponent(panel, "TabWidget", "", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentAlreadyPlaced");
    EXPECT_TRUE(framework.isDocked(panel));
}
