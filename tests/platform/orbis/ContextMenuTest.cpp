#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/host/HostFunctions.hpp"
#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/AbstractDomainImpl.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/zu/zuPrint.hpp"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <limits>

using namespace PLATFORM;
using OrbisTest::StudioFixture;

namespace {

class ContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        inRegisterHostFunction("test_menu_action",
                               [this](const std::vector<const vxArray*>& arguments) {
                                   std::string call;
                                   for (const vxArray* argument : arguments)
                                       call += "[" + argument->chars() + "]";
                                   calls.push_back(call);
                                   return std::vector<vxArrayPtr>();
                               });
        inRegisterHostFunction("test_menu_failure",
                               [](const std::vector<const vxArray*>&) -> std::vector<vxArrayPtr> {
                                   vxErrMsgIdAndTxt("Test:menuFailed", "the action failed");
                               });
    }
    void TearDown() override {
        inRegisterHostFunction("test_menu_action", {});
        inRegisterHostFunction("test_menu_failure", {});
    }

    std::string describe(const std::string& menu, const std::string& item) {
        const NOX::COSInterfacePtr value(framework().getContextMenuSchema(menu, item, errors));
        if (!value)
            return "<null>";
        vxArrayPtr array(ConvertPdxIToArray(value));
        return array->chars();
    }

    StudioFrameworkService& framework() { return *fixture.framework; }

    StudioFixture fixture;
    TAVI::ErrorHolder errors;
    std::vector<std::string> calls;
};

} // namespace

TEST_F(ContextMenuTest, DefinitionsAddHostFunctionItemsAndSeparatorsUnlessMalformed) {
    ASSERT_TRUE(framework().addDIGSchema(
        "TreeContextMenu", "Open = test_menu_action; - ;\nDelete=test_menu_action", errors));
    const ContextMenuSchema* menu = framework().getContextMenu("TreeContextMenu");
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->getItems().size(), 3u);
    EXPECT_EQ(menu->getItems()[0].label, "Open");
    EXPECT_TRUE(menu->getItems()[1].isSeparator());
    EXPECT_EQ(menu->getItems()[2].hostFunction, "test_menu_action");
    EXPECT_EQ(describe("TreeContextMenu", ""), "Open=test_menu_action\n-\nDelete=test_menu_action");
    EXPECT_EQ(describe("TreeContextMenu", "Delete"), "Delete=test_menu_action");

    // Adding to the menu again appends, and a label already there is replaced.
    ASSERT_TRUE(framework().addDIGSchema("TreeContextMenu",
                                         "Rename=test_menu_action;Open=test_menu_failure", errors));
    EXPECT_EQ(describe("TreeContextMenu", ""),
              "Open=test_menu_failure\n-\nDelete=test_menu_action\nRename=test_menu_action");
    EXPECT_FALSE(errors.hasError()) << errors.what();

    // A malformed definition changes nothing.
    framework().addDIGSchema("Menu", "Open=test_menu_action", errors);
    EXPECT_FALSE(framework().addDIGSchema("Menu", "Close=test_menu_action;Broken line", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_BadMenuDefinition");
    EXPECT_NE(errors.what().find("'Broken line'"), std::string::npos);
    errors.clear();
    EXPECT_FALSE(framework().addDIGSchema("Menu", "=test_menu_action", errors));
    EXPECT_FALSE(framework().addDIGSchema("Other", "Label=", errors));
    EXPECT_EQ(framework().getContextMenu("Other"), nullptr);
    EXPECT_EQ(describe("Menu", ""), "Open=test_menu_action");
}

TEST_F(ContextMenuTest, UnknownMenusItemsAndFailingActionsAreErrors) {
    framework().addDIGSchema("Menu", "Fails=test_menu_failure", errors);
    EXPECT_FALSE(framework().executeContextMenuItem("NoMenu", "Open", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ContextMenuNotFound");
    EXPECT_EQ(errors.what(), "The studio has no context menu named 'NoMenu'.");
    EXPECT_FALSE(framework().executeContextMenuItem("Menu", "Open", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ContextMenuItemNotFound");
    EXPECT_EQ(describe("Menu", "Open"), "<null>");
    EXPECT_EQ(describe("NoMenu", ""), "<null>");
    EXPECT_FALSE(framework().showContextMenu("NoMenu", 10, 10, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ContextMenuNotFound");

    ZuPrintCapture printed;
    EXPECT_FALSE(framework().executeContextMenuItem("Menu", "Fails", errors));
    EXPECT_NE(printed.text().find("Error in test_menu_failure"), std::string::npos);
    EXPECT_EQ(errors.id(), "Test:menuFailed");
    EXPECT_NE(errors.what().find("the action failed"), std::string::npos);
}

TEST_F(ContextMenuTest, ExecutingOrShowingAMenuRunsTheChosenItemOnly) {
    ContextMenuSchema menu("EditorContextMenu");
    int cut = 0;
    menu.addItem("Cut", [&] { ++cut; });
    menu.addSeparator();
    menu.addHostFunctionItem("Inspect", "test_menu_action");
    framework().addContextMenu(menu);
    // Executing runs the named item only.
    EXPECT_TRUE(framework().executeContextMenuItem("EditorContextMenu", "Cut", errors));
    EXPECT_EQ(cut, 1);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(framework().executeContextMenuItem("EditorContextMenu", "Inspect", errors));
    EXPECT_EQ(calls, std::vector<std::string>{"[EditorContextMenu][Inspect]"});
    EXPECT_EQ(cut, 1);
    EXPECT_FALSE(errors.hasError()) << errors.what();
    calls.clear();
    fixture.studio->show();

    ASSERT_TRUE(framework().showContextMenu("EditorContextMenu", 40, 50, errors));
    QMenu* popup = fixture.studio->getWindow()->findChild<QMenu*>("EditorContextMenu");
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    const QList<QAction*> actions = popup->actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Cut");
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), "Inspect");

    actions[2]->trigger();
    EXPECT_EQ(calls, std::vector<std::string>{"[EditorContextMenu][Inspect]"});
    actions[0]->trigger();
    EXPECT_EQ(cut, 2);
    popup->close();
}

TEST_F(ContextMenuTest, DomainImplementationsReachTheMenusOfTheirStudio) {
    framework().addDIGSchema("EditorContextMenu", "Inspect=test_menu_action", errors);
    AbstractDomainImpl impl(fixture.studio.get());
    EXPECT_TRUE(impl.executeContextMenuSchema("EditorContextMenu", "Inspect"));
    EXPECT_EQ(calls.size(), 1u);
    EXPECT_FALSE(impl.executeContextMenuSchema("EditorContextMenu", "Missing"));
    EXPECT_EQ(calls.size(), 1u);

    NOX::COSInterfacePtr schema(impl.getContextMenuSchema("EditorContextMenu", ""));
    ASSERT_TRUE(schema);
    EXPECT_EQ(vxArrayPtr(ConvertPdxIToArray(schema))->chars(), "Inspect=test_menu_action");
    EXPECT_FALSE(impl.getContextMenuSchema("Missing", ""));

    EXPECT_TRUE(impl.showContextMenu("EditorContextMenu", 12.9, 30.2));
    EXPECT_FALSE(impl.showContextMenu("Missing", 0, 0));

    AbstractDomainImpl orphan(nullptr);
    EXPECT_FALSE(orphan.executeContextMenuSchema("EditorContextMenu", "Inspect"));
}

TEST(ContextMenuCoordinateTest, ScreenCoordinatesGivenAsDoublesAreTruncatedAndKeptInRange) {
    EXPECT_EQ(StudioFrameworkService::toScreenCoordinate(12.9), 12);
    EXPECT_EQ(StudioFrameworkService::toScreenCoordinate(-3.7), -3);
    EXPECT_EQ(StudioFrameworkService::toScreenCoordinate(1e300), 1000000000);
    EXPECT_EQ(StudioFrameworkService::toScreenCoordinate(-1e300), -1000000000);
    EXPECT_EQ(StudioFrameworkService::toScreenCoordinate(std::numeric_limits<double>::quiet_NaN()),
              0);
    EXPECT_EQ(StudioFrameworkService::toScreenCoordinate(-std::numeric_limits<double>::infinity()),
              0);
}
