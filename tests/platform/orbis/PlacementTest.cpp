#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <gtest/gtest.h>

using PLATFORM::StudioFrameworkService;

// Each area and position string places the component as its table entry says: "dock",
// "tab", "status", "none" (left unplaced), or "error".
TEST(PlacementTest, StringsPlaceAsTheirTableEntry) {
    struct Case {
        const char* area;
        const char* position;
        int areaValue;
        int positionValue;
        std::string outcome;
    };
    const Case cases[] = {
        {"DockWidget", "Left", 0, 0, "dock"},
        {"DockWidget", "Right", 0, 1, "dock"},
        {"DockWidget", "Top", 0, 2, "dock"},
        {"DockWidget", "Bottom", 0, 3, "dock"},
        {"dockwidget", "BOTTOM", 0, 3, "dock"},
        {"DockWidget", "Middle", 0, 5, "error"},
        {"TabWidget", "Left", 1, 0, "tab"},
        {"TABWIDGET", "", 1, 5, "tab"},
        {"StatusWidget", "Right", 2, 1, "status"},
        {"Invisible", "Left", 3, 0, "none"},
        {"Unknown", "Left", 4, 0, "none"},
        {"Floating", "Left", 6, 0, "none"},
        {"", "", 6, 5, "none"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(std::string(row.area) + " " + row.position);
        EXPECT_EQ(StudioFrameworkService::areaValue(row.area), row.areaValue);
        EXPECT_EQ(StudioFrameworkService::positionValue(row.position), row.positionValue);

        OrbisTest::StudioFixture fixture;
        StudioFrameworkService& framework = *fixture.framework;
        OrbisTest::PanelComponent* panel = fixture.addPanel("panel");
        TAVI::ErrorHolder errors;
        const bool placed = framework.placeComponent(panel, row.area, row.position, errors);
        EXPECT_EQ(placed, row.outcome != "error");
        EXPECT_EQ(errors.hasError(), row.outcome == "error") << errors.what();
        if (row.outcome == "error") {
            EXPECT_EQ(errors.id(), "PLATFORM_BadDockPosition");
        }
        EXPECT_EQ(framework.isDocked(panel), row.outcome == "dock");
        if (row.outcome == "dock") {
            EXPECT_EQ(framework.getDockPosition(panel), row.positionValue);
        }
        EXPECT_EQ(framework.getTabIndex(panel, errors) != StudioFrameworkService::NoTab,
                  row.outcome == "tab");
        EXPECT_EQ(framework.getStatusComponent() == panel, row.outcome == "status");
        if (row.outcome == "tab") {
            EXPECT_EQ(framework.getTabTitle(0, errors), "Title of panel");
        }
        EXPECT_EQ(panel->isVisible(),
                  row.outcome == "dock" || row.outcome == "tab" || row.outcome == "status");
    }
}

TEST(PlacementTest, ATabAreaKeepsTheCurrentTabAndASecondPlacementIsRefused) {
    OrbisTest::StudioFixture fixture;
    StudioFrameworkService& framework = *fixture.framework;
    TAVI::ErrorHolder errors;
    framework.addTab(fixture.addPanel("diagram"), "", true, errors);
    OrbisTest::PanelComponent* panel = fixture.addPanel("panel");
    ASSERT_TRUE(framework.placeComponent(panel, "TabWidget", "Left", errors));
    EXPECT_EQ(framework.getTabIndex(panel, errors), 1u);
    EXPECT_EQ(framework.getCurrentTabIndex(errors), 0u);
    EXPECT_FALSE(framework.placeComponent(panel, "DockWidget", "Left", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentAlreadyPlaced");
    EXPECT_FALSE(framework.isDocked(panel));
    EXPECT_EQ(framework.getTabIndex(panel, errors), 1u);
}
