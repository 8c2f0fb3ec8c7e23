#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/nimb/Listener.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QAbstractButton>
#include <QDockWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>

#include <gtest/gtest.h>

using namespace PLATFORM;
using OrbisTest::PanelComponent;
using OrbisTest::StudioFixture;

namespace {

constexpr std::uint32_t NoTab = StudioFrameworkService::NoTab;

QTabWidget* tabWidgetOf(Studio& studio) {
    return qobject_cast<QTabWidget*>(studio.getWindow()->centralWidget());
}

// Records the tab indices raised on "TabCloseEvents"; optionally removes the tab's components.
class TabCloseRecorder : public NIMB::Listener {
public:
    explicit TabCloseRecorder(StudioFrameworkService* framework) : framework(framework) {}
    void onTabClosed(Util::IntRequest request) {
        indices.push_back(request.value);
        if (!removeComponents)
            return;
        TAVI::ErrorHolder errors;
        for (StudioComponentBase* component :
             framework->getTabComponents(static_cast<std::uint32_t>(request.value), errors))
            framework->removeComponent(component, errors);
    }

    StudioFrameworkService* framework;
    std::vector<int> indices;
    bool removeComponents = false;
};

class StudioFrameworkServiceTest : public ::testing::Test {
protected:
    StudioFixture fixture;
    StudioFrameworkService& framework() { return *fixture.framework; }
    TAVI::ErrorHolder errors;
};

} // namespace

TEST_F(StudioFrameworkServiceTest,
       IsRegisteredUnderItsNameWithTheTabCloseServiceAndTitlesTheWindow) {
    TAVI::ErrorHolder lookup;
    EXPECT_EQ(fixture.studio->getService2("StudioFrameworkService", lookup), fixture.framework);
    EXPECT_NE(dynamic_cast<StudioEventService<Util::IntRequest>*>(
                  fixture.studio->getService2("TabCloseEvents", lookup)),
              nullptr);
    EXPECT_FALSE(lookup.hasError());
    framework().setTitle("Block diagrams");
    EXPECT_EQ(fixture.studio->getWindow()->windowTitle(), "Block diagrams");
    EXPECT_EQ(framework().getTitle(), "Block diagrams");
}

TEST_F(StudioFrameworkServiceTest, DocksOnFourSidesAndRefusesOtherPositions) {
    PanelComponent* left = fixture.addPanel("left");
    PanelComponent* right = fixture.addPanel("right");
    PanelComponent* top = fixture.addPanel("top");
    PanelComponent* bottom = fixture.addPanel("bottom");
    PanelComponent* nowhere = fixture.addPanel("nowhere");

    EXPECT_TRUE(framework().addDockWidget(left, "Models", StudioFrameworkService::Left, errors));
    EXPECT_TRUE(framework().addDockWidget(right, "", StudioFrameworkService::Right, errors));
    EXPECT_TRUE(framework().addDockWidget(top, "", StudioFrameworkService::Top, errors));
    EXPECT_TRUE(framework().addDockWidget(bottom, "", StudioFrameworkService::Bottom, errors));
    EXPECT_FALSE(errors.hasError()) << errors.what();

    EXPECT_FALSE(framework().addDockWidget(nowhere, "", 5, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_BadDockPosition");
    EXPECT_FALSE(framework().isDocked(nowhere));

    StudioWindow* window = fixture.studio->getWindow();
    const QList<QDockWidget*> docks = window->findChildren<QDockWidget*>();
    ASSERT_EQ(docks.size(), 4);
    std::map<std::string, std::pair<Qt::DockWidgetArea, QString>> placed;
    for (QDockWidget* dock : docks)
        placed[dock->objectName().toStdString()] = {window->dockWidgetArea(dock),
                                                    dock->windowTitle()};
    EXPECT_EQ(placed["left"].first, Qt::LeftDockWidgetArea);
    EXPECT_EQ(placed["right"].first, Qt::RightDockWidgetArea);
    EXPECT_EQ(placed["top"].first, Qt::TopDockWidgetArea);
    EXPECT_EQ(placed["bottom"].first, Qt::BottomDockWidgetArea);
    EXPECT_EQ(placed["left"].second, "Models");
    // An empty title takes the component's display title.
    EXPECT_EQ(placed["right"].second, "Title of right");
    EXPECT_EQ(framework().getDockPosition(top), StudioFrameworkService::Top);
    EXPECT_TRUE(left->isVisible());
    EXPECT_FALSE(nowhere->isVisible());
}

TEST_F(StudioFrameworkServiceTest, AComponentIsPlacedOnceUntilDetached) {
    PanelComponent* panel = fixture.addPanel("panel");
    ASSERT_TRUE(framework().addDockWidget(panel, "", StudioFrameworkService::Left, errors));

    EXPECT_EQ(framework().addTab(panel, "", true, errors), NoTab);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentAlreadyPlaced");
    errors.clear();
    EXPECT_FALSE(framework().addDockWidget(panel, "", StudioFrameworkService::Right, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentAlreadyPlaced");
    EXPECT_NE(errors.what().find("'panel'"), std::string::npos);
    errors.clear();
    EXPECT_FALSE(framework().setStatusWidget(panel, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentAlreadyPlaced");
    EXPECT_EQ(framework().getDockPosition(panel), StudioFrameworkService::Left);

    // Detached, the dock goes but the component and its widget stay.
    errors.clear();
    ASSERT_TRUE(framework().detachComponent(panel, errors));
    EXPECT_TRUE(fixture.studio->getWindow()->findChildren<QDockWidget*>().isEmpty());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(panel->getWidget()->getQWidget()->parentWidget(), nullptr);
    EXPECT_EQ(framework().getComponent("panel", errors), panel);

    EXPECT_EQ(framework().addTab(panel, "", true, errors), 0u);
    EXPECT_FALSE(errors.hasError()) << errors.what();
    EXPECT_TRUE(panel->isVisible());
    // Detaching what is not placed changes nothing.
    ASSERT_TRUE(framework().detachComponent(panel, errors));
    EXPECT_TRUE(framework().detachComponent(panel, errors));
    EXPECT_EQ(framework().getTabCount(), 0u);
}

TEST_F(StudioFrameworkServiceTest, TabsKeepTitlesIndicesAndTheCurrentTab) {
    PanelComponent* first = fixture.addPanel("first");
    PanelComponent* second = fixture.addPanel("second");
    PanelComponent* third = fixture.addPanel("third");
    EXPECT_EQ(framework().getCurrentTabIndex(errors), NoTab);

    EXPECT_EQ(framework().addTab(first, "One", false, errors), 0u);
    EXPECT_EQ(framework().addTab(second, "", false, errors), 1u);
    EXPECT_EQ(framework().addTab(third, "Three", true, errors), 2u);
    EXPECT_EQ(framework().getTabCount(), 3u);
    EXPECT_EQ(framework().getCurrentTabIndex(errors), 2u);
    EXPECT_EQ(framework().getTabTitle(1, errors), "Title of second");
    EXPECT_EQ(framework().getTabIndex(second, errors), 1u);

    EXPECT_TRUE(framework().setCurrentTab(1, errors));
    EXPECT_EQ(framework().getCurrentTabIndex(errors), 1u);
    EXPECT_EQ(tabWidgetOf(*fixture.studio)->currentIndex(), 1);
    EXPECT_TRUE(framework().setTabTitle(0, "Renamed", errors));
    EXPECT_EQ(tabWidgetOf(*fixture.studio)->tabText(0), "Renamed");
    EXPECT_FALSE(errors.hasError()) << errors.what();

    const std::vector<StudioComponentBase*> inSecond = framework().getTabComponents(1, errors);
    ASSERT_EQ(inSecond.size(), 1u);
    EXPECT_EQ(inSecond[0], second);

    // Removing a tab's component drops the tab; later tabs move down.
    ASSERT_TRUE(framework().removeComponent(first, errors));
    EXPECT_EQ(framework().getTabCount(), 2u);
    EXPECT_EQ(framework().getTabIndex(third, errors), 1u);
    EXPECT_FALSE(errors.hasError()) << errors.what();
}

TEST_F(StudioFrameworkServiceTest, TabIndicesOutOfRangeAreErrors) {
    PanelComponent* panel = fixture.addPanel("panel");
    framework().addTab(panel, "", true, errors);
    ASSERT_FALSE(errors.hasError());

    EXPECT_FALSE(framework().setCurrentTab(1, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_TabIndexOutOfRange");
    EXPECT_EQ(errors.what(), "The tab index 1 (the window has 1 tabs) is out of range.");
    errors.clear();
    EXPECT_FALSE(framework().setTabTitle(NoTab, "x", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_TabIndexOutOfRange");
    errors.clear();
    EXPECT_TRUE(framework().getTabComponents(7, errors).empty());
    EXPECT_EQ(errors.id(), "PLATFORM_TabIndexOutOfRange");
    errors.clear();
    EXPECT_FALSE(framework().replaceTab(fixture.addPanel("other"), 3, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_TabIndexOutOfRange");
    EXPECT_EQ(framework().getCurrentTabIndex(errors), 0u);
    EXPECT_EQ(framework().getTabTitle(0, errors), "Title of panel");
}

TEST_F(StudioFrameworkServiceTest, ReplaceTabShowsTheNewcomerAndDetachesWhatTheTabShowed) {
    PanelComponent* shown = fixture.addPanel("shown");
    PanelComponent* other = fixture.addPanel("other");
    PanelComponent* newcomer = fixture.addPanel("newcomer");
    framework().addTab(shown, "Diagram", true, errors);
    framework().addTab(other, "", false, errors);

    ASSERT_TRUE(framework().replaceTab(newcomer, 0, errors));
    EXPECT_FALSE(errors.hasError()) << errors.what();
    EXPECT_EQ(framework().getTabCount(), 2u);
    const std::vector<StudioComponentBase*> inTab = framework().getTabComponents(0, errors);
    ASSERT_EQ(inTab.size(), 1u);
    EXPECT_EQ(inTab[0], newcomer);
    EXPECT_EQ(framework().getTabIndex(newcomer, errors), 0u);
    // The displaced component stays in the studio, out of every tab.
    EXPECT_EQ(framework().getTabIndex(shown, errors), NoTab);
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(framework().getComponent("shown", errors), shown);
    EXPECT_EQ(shown->getWidget()->getQWidget()->parentWidget(), nullptr);
    EXPECT_EQ(shown->life->terminated, 0);
    // The tab keeps its title and stays current.
    EXPECT_EQ(framework().getTabTitle(0, errors), "Diagram");
    EXPECT_EQ(framework().getCurrentTabIndex(errors), 0u);

    // Replacing a tab with what it shows already changes nothing.
    EXPECT_TRUE(framework().replaceTab(newcomer, 0, errors));
    // A component shown in another tab must be detached first.
    EXPECT_FALSE(framework().replaceTab(other, 0, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentAlreadyPlaced");
}

TEST_F(StudioFrameworkServiceTest, ShowAndHideFollowTheComponentAndTheStudioToggles) {
    PanelComponent* docked = fixture.addPanel("docked");
    PanelComponent* tabbed = fixture.addPanel("tabbed");
    framework().addDockWidget(docked, "", StudioFrameworkService::Left, errors);
    framework().addTab(tabbed, "", true, errors);

    EXPECT_TRUE(framework().hideComponent(docked, errors));
    EXPECT_FALSE(docked->isVisible());
    EXPECT_TRUE(fixture.studio->getWindow()->findChild<QDockWidget*>()->isHidden());
    EXPECT_TRUE(framework().hideComponent(tabbed, errors));
    EXPECT_FALSE(tabbed->isVisible());
    EXPECT_TRUE(framework().showComponent(tabbed, errors));
    EXPECT_TRUE(tabbed->isVisible());

    EXPECT_TRUE(fixture.studio->toggleComponent("docked", errors));
    EXPECT_TRUE(docked->isVisible());
    EXPECT_FALSE(fixture.studio->toggleComponent("docked", errors));
    EXPECT_FALSE(docked->isVisible());
    EXPECT_FALSE(errors.hasError()) << errors.what();

    EXPECT_FALSE(fixture.studio->toggleComponent("no such component", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentNotFound");
}

TEST_F(StudioFrameworkServiceTest, StatusAreaHoldsOneComponentAndRemovingReleasesOne) {
    PanelComponent* first = fixture.addPanel("first");
    PanelComponent* second = fixture.addPanel("second");
    ASSERT_TRUE(framework().setStatusWidget(first, errors));
    EXPECT_EQ(framework().getStatusComponent(), first);
    EXPECT_TRUE(first->isVisible());
    ASSERT_TRUE(framework().setStatusWidget(second, errors));
    EXPECT_EQ(framework().getStatusComponent(), second);
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(first->getWidget()->getQWidget()->parentWidget(), nullptr);
    EXPECT_TRUE(second->getWidget()->getQWidget()->parentWidget() != nullptr);

    // Removing a docked component terminates and releases it, and its dock goes.
    PanelComponent* panel = fixture.addPanel("panel");
    const auto life = panel->life;
    framework().addDockWidget(panel, "", StudioFrameworkService::Bottom, errors);
    ASSERT_TRUE(framework().removeComponent(panel, errors));
    EXPECT_EQ(life->terminated, 1);
    EXPECT_EQ(life->destroyed, 1);
    EXPECT_TRUE(fixture.studio->getWindow()->findChildren<QDockWidget*>().isEmpty());
    EXPECT_EQ(framework().getComponents().size(), 2u);
}

TEST_F(StudioFrameworkServiceTest, ClosingATabRaisesTabCloseEventsWithItsIndex) {
    PanelComponent* first = fixture.addPanel("first");
    PanelComponent* second = fixture.addPanel("second");
    framework().addTab(first, "", false, errors);
    framework().addTab(second, "", true, errors);
    const auto secondLife = second->life;

    auto* service = dynamic_cast<StudioEventService<Util::IntRequest>*>(
        fixture.studio->getService2("TabCloseEvents", errors));
    ASSERT_NE(service, nullptr);
    TabCloseRecorder recorder(&framework());
    recorder.removeComponents = true;
    service->connect(&recorder, &TabCloseRecorder::onTabClosed);

    // The user's click on the second tab's close button.
    QTabBar* bar = tabWidgetOf(*fixture.studio)->tabBar();
    auto* closeButton = qobject_cast<QAbstractButton*>(bar->tabButton(1, QTabBar::RightSide));
    if (!closeButton)
        closeButton = qobject_cast<QAbstractButton*>(bar->tabButton(1, QTabBar::LeftSide));
    ASSERT_NE(closeButton, nullptr);
    closeButton->click();
    EXPECT_EQ(recorder.indices, std::vector<int>{1});
    EXPECT_EQ(framework().getTabCount(), 1u);
    EXPECT_EQ(secondLife->terminated, 1);
    EXPECT_EQ(secondLife->destroyed, 1);
    EXPECT_EQ(framework().getComponent("second", errors), nullptr);
    EXPECT_EQ(framework().getTabIndex(first, errors), 0u);
}

TEST_F(StudioFrameworkServiceTest, ATabItsListenersLeaveIsDroppedButItsComponentKept) {
    PanelComponent* first = fixture.addPanel("first");
    PanelComponent* second = fixture.addPanel("second");
    framework().addTab(first, "", false, errors);
    framework().addTab(second, "", false, errors);
    auto* service = dynamic_cast<StudioEventService<Util::IntRequest>*>(
        fixture.studio->getService2("TabCloseEvents", errors));
    ASSERT_NE(service, nullptr);
    TabCloseRecorder recorder(&framework());
    service->connect(&recorder, &TabCloseRecorder::onTabClosed);

    ASSERT_TRUE(framework().requestTabClose(0, errors));
    EXPECT_EQ(recorder.indices, std::vector<int>{0});
    EXPECT_EQ(framework().getTabCount(), 1u);
    EXPECT_EQ(framework().getTabIndex(first, errors), NoTab);
    EXPECT_EQ(framework().getComponent("first", errors), first);
    EXPECT_EQ(first->life->terminated, 0);
    EXPECT_EQ(framework().getTabIndex(second, errors), 0u);

    EXPECT_FALSE(framework().requestTabClose(4, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_TabIndexOutOfRange");
    EXPECT_EQ(recorder.indices.size(), 1u);
}

TEST_F(StudioFrameworkServiceTest, ComponentsComeFromRegisteredFactoriesUnderUniqueNames) {
    TAVI::ErrorHolder registration;
    StudioComponentFactoryManager::instance()->registerObject(
        TAVI::Holder<StudioComponentFactory>(new StudioComponentFactory(
            "Test panel",
            [](Studio* studio, const std::string& name) -> StudioComponentBase* {
                return new PanelComponent(studio, name);
            })),
        registration);

    auto* made =
        dynamic_cast<PanelComponent*>(framework().createComponent("Test panel", "one", errors));
    ASSERT_NE(made, nullptr) << errors.what();
    EXPECT_EQ(made->life->initialized, 1);
    EXPECT_EQ(made->getStudio(), fixture.studio.get());
    EXPECT_EQ(fixture.studio->getComponent("one", errors), made);

    EXPECT_EQ(framework().createComponent("Test panel", "one", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    errors.clear();
    EXPECT_EQ(framework().createComponent("Unknown type", "two", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentTypeNotFound");
    errors.clear();
    EXPECT_EQ(framework().getComponent("two", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentNotFound");
    EXPECT_EQ(errors.what(), "The studio has no component named 'two'.");
    EXPECT_EQ(framework().getComponents().size(), 1u);

    StudioComponentFactoryManager::instance()->unregisterObject("Test panel");
}

TEST_F(StudioFrameworkServiceTest, ComponentsOfOtherStudiosOrFailingToStartAreNotTaken) {
    StudioFixture other;
    TAVI::ErrorHolder registration;
    Studio* otherStudio = other.studio.get();
    StudioComponentFactoryManager::instance()->registerObject(
        TAVI::Holder<StudioComponentFactory>(new StudioComponentFactory(
            "Misdirected panel",
            [otherStudio](Studio*, const std::string& name) -> StudioComponentBase* {
                return new PanelComponent(otherStudio, name);
            })),
        registration);
    EXPECT_EQ(framework().createComponent("Misdirected panel", "panel", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentOfOtherStudio");
    EXPECT_TRUE(other.framework->getComponents().empty());
    StudioComponentFactoryManager::instance()->unregisterObject("Misdirected panel");

    errors.clear();
    TAVI::Holder<StudioComponentBase> foreign(new PanelComponent(other.studio.get(), "foreign"));
    EXPECT_FALSE(framework().addComponent(foreign, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentOfOtherStudio");
    errors.clear();
    EXPECT_FALSE(framework().addDockWidget(foreign.get(), "", 0, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentNotFound");
    errors.clear();
    EXPECT_FALSE(framework().addDockWidget(nullptr, "", 0, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_NullArgument");

    auto* failing = new PanelComponent(fixture.studio.get(), "failing");
    failing->failInitialize = true;
    const auto life = failing->life;
    errors.clear();
    EXPECT_FALSE(framework().addComponent(TAVI::Holder<StudioComponentBase>(failing), errors));
    EXPECT_EQ(errors.id(), "Test_CannotStart");
    EXPECT_EQ(life->terminated, 1);
    EXPECT_EQ(life->destroyed, 1);
    EXPECT_TRUE(framework().getComponents().empty());
}

TEST_F(StudioFrameworkServiceTest, AComponentShownInsideAnotherStaysThereWhenDetached) {
    // An editor whose widget holds its explorer bar's widget.
    PanelComponent* editor = fixture.addPanel("editor");
    PanelComponent* bar = fixture.addPanel("bar");
    bar->getWidget()->setParent(editor->getWidget());
    bar->getWidget()->show();
    framework().addTab(editor, "", true, errors);

    EXPECT_TRUE(framework().hideComponent(bar, errors));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_TRUE(bar->getWidget()->isHidden());
    EXPECT_TRUE(framework().showComponent(bar, errors));
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(framework().detachComponent(bar, errors));
    EXPECT_EQ(bar->getWidget()->getParent(), editor->getWidget());
    EXPECT_TRUE(bar->isVisible());

    // A free-standing unplaced widget never becomes a window of its own.
    PanelComponent* loose = fixture.addPanel("loose");
    EXPECT_TRUE(framework().showComponent(loose, errors));
    EXPECT_FALSE(loose->getWidget()->getQWidget()->isVisible());
    EXPECT_FALSE(loose->isVisible());
    EXPECT_FALSE(errors.hasError()) << errors.what();
}

TEST_F(StudioFrameworkServiceTest, RetitlingGivesDockAndTabTheDisplayTitleAgain) {
    PanelComponent* docked = fixture.addPanel("docked");
    PanelComponent* tabbed = fixture.addPanel("tabbed");
    PanelComponent* loose = fixture.addPanel("loose");
    ASSERT_TRUE(framework().addDockWidget(docked, "Given", StudioFrameworkService::Left, errors));
    const std::uint32_t tab = framework().addTab(tabbed, "Given too", true, errors);
    ASSERT_NE(tab, NoTab);

    EXPECT_TRUE(framework().retitleComponent(docked, errors));
    EXPECT_TRUE(framework().retitleComponent(tabbed, errors));
    EXPECT_TRUE(framework().retitleComponent(loose, errors)); // nowhere to show a title
    EXPECT_FALSE(errors.hasError()) << errors.what();
    const QList<QDockWidget*> docks = fixture.studio->getWindow()->findChildren<QDockWidget*>();
    ASSERT_EQ(docks.size(), 1);
    EXPECT_EQ(docks[0]->windowTitle(), "Title of docked");
    EXPECT_EQ(framework().getTabTitle(tab, errors), "Title of tabbed");

    EXPECT_FALSE(framework().retitleComponent(nullptr, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_NullArgument");
}
