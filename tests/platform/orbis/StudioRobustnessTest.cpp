#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/nimb/Listener.hpp"
#include "platform/orbis/AbstractDomainImpl.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace PLATFORM;
using OrbisTest::PanelComponent;
using OrbisTest::StudioFixture;

namespace {

// A component that closes its studio while it starts.
class ClosingComponent : public PanelComponent {
public:
    using PanelComponent::PanelComponent;
    void initialize(TAVI::ErrorHolder& errors) override {
        PanelComponent::initialize(errors);
        getStudio()->close();
    }
};

// A component that, when it goes, puts a fresh one of its kind in its place.
class RespawningComponent : public PanelComponent {
public:
    using PanelComponent::PanelComponent;
    void terminate(TAVI::ErrorHolder& errors) override {
        PanelComponent::terminate(errors);
        // Bounded, so that a close that keeps taking them in still ends.
        if (!getStudio() || ++*respawns > 50)
            return;
        auto* next = new RespawningComponent(getStudio(), getName() + "+");
        next->respawns = respawns;
        next->refusals = refusals;
        TAVI::ErrorHolder addErrors;
        if (!getStudio()->getFrameworkService()->addComponent(
                TAVI::Holder<StudioComponentBase>(next), addErrors))
            refusals->push_back(addErrors.id());
    }
    std::shared_ptr<int> respawns = std::make_shared<int>(0);
    std::shared_ptr<std::vector<std::string>> refusals =
        std::make_shared<std::vector<std::string>>();
};

// A domain implementation that asks its studio for the implementation of its own key while it
// is being made, as one that looks itself up (or a pair that need each other) would.
class SelfAskingImpl : public AbstractDomainImpl {
public:
    explicit SelfAskingImpl(Studio* studio) : AbstractDomainImpl(studio) {
        ++made;
        TAVI::ErrorHolder errors;
        askedFor = studio->getDomainImpl("Test:SelfAsking", errors);
        askError = errors.id();
    }
    static inline int made = 0;
    static inline AbstractDomainImpl* askedFor = nullptr;
    static inline std::string askError;
};

// Answers a tab-close request by asking for the tab to close, as a listener that means to let
// it go might.
class TabCloser : public NIMB::Listener {
public:
    explicit TabCloser(StudioFrameworkService* framework) : framework(framework) {}
    void onTabClosed(Util::IntRequest request) {
        if (++heard > 5)
            return; // bounded: without a guard this would recurse until the stack runs out
        TAVI::ErrorHolder errors;
        closed.push_back(
            framework->requestTabClose(static_cast<std::uint32_t>(request.value), errors));
    }
    StudioFrameworkService* framework;
    int heard = 0;
    std::vector<bool> closed;
};

// Closes the studio and lets go of its last hold when a tab is asked to close.
class StudioDropper : public NIMB::Listener {
public:
    explicit StudioDropper(TAVI::Holder<Studio>& studio) : studio(studio) {}
    void onTabClosed(Util::IntRequest) {
        studio->close();
        studio.reset();
    }
    TAVI::Holder<Studio>& studio;
};

void deleteLaterObjects() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(StudioRobustnessTest, AFrameworkServiceKeptLongerThanItsStudioForgetsIt) {
    TAVI::ErrorHolder registration;
    int made = 0;
    StudioComponentFactoryManager::instance()->registerObject(
        TAVI::Holder<StudioComponentFactory>(new StudioComponentFactory(
            "Robustness panel",
            [&made](Studio* studio, const std::string& name) -> StudioComponentBase* {
                ++made;
                return new PanelComponent(studio, name);
            })),
        registration);

    TAVI::Holder<StudioFrameworkService> kept;
    {
        StudioFixture fixture;
        kept = fixture.framework;
        PanelComponent* panel = fixture.addPanel("panel");
        TAVI::ErrorHolder errors;
        fixture.framework->addTab(panel, "", true, errors);
    }
    // The window goes through deleteLater.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->getStudio(), nullptr);

    TAVI::ErrorHolder errors;
    EXPECT_FALSE(kept->addComponent(
        TAVI::Holder<StudioComponentBase>(new PanelComponent(nullptr, "late")), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_StudioClosed");
    errors.clear();
    EXPECT_EQ(kept->createComponent("Robustness panel", "made", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_StudioClosed");
    EXPECT_EQ(made, 0);
    errors.clear();
    EXPECT_FALSE(kept->requestTabClose(0, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_TabIndexOutOfRange");
    EXPECT_TRUE(kept->getComponents().empty());
    EXPECT_EQ(kept->getTabCount(), 0u);

    StudioComponentFactoryManager::instance()->unregisterObject("Robustness panel");
}

TEST(StudioRobustnessTest, AComponentThatClosesItsStudioWhileStartingIsNotKept) {
    StudioFixture fixture;
    auto* component = new ClosingComponent(fixture.studio.get(), "closer");
    const auto life = component->life;
    TAVI::ErrorHolder errors;
    EXPECT_FALSE(
        fixture.framework->addComponent(TAVI::Holder<StudioComponentBase>(component), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_StudioClosed");
    EXPECT_FALSE(fixture.studio->isOpen());
    EXPECT_TRUE(fixture.framework->getComponents().empty());
    EXPECT_EQ(life->initialized, 1);
    EXPECT_EQ(life->terminated, 1);
    EXPECT_EQ(life->destroyed, 1);
}

TEST(StudioRobustnessTest, AComponentAddedWhileTheStudioClosesIsRefused) {
    StudioFixture fixture;
    auto* component = new RespawningComponent(fixture.studio.get(), "phoenix");
    const auto respawns = component->respawns;
    const auto refusals = component->refusals;
    TAVI::ErrorHolder errors;
    ASSERT_TRUE(
        fixture.framework->addComponent(TAVI::Holder<StudioComponentBase>(component), errors));
    fixture.studio->close();
    EXPECT_TRUE(fixture.framework->getComponents().empty());
    EXPECT_EQ(*respawns, 1);
    EXPECT_EQ(*refusals, std::vector<std::string>{"PLATFORM_StudioClosed"});
}

TEST(StudioRobustnessTest, AComponentRemovedAndGoneIsNotTouchedAgain) {
    StudioFixture fixture;
    PanelComponent* panel = fixture.addPanel("panel");
    const auto life = panel->life;
    TAVI::ErrorHolder errors;
    fixture.framework->addTab(panel, "", true, errors);
    ASSERT_TRUE(fixture.framework->removeComponent(panel, errors));
    ASSERT_EQ(life->destroyed, 1);

    // A caller that kept the pointer: every use is an error naming no freed name, and nothing runs.
    for (auto use : std::vector<std::function<bool()>>{
             [&] { return fixture.framework->removeComponent(panel, errors); },
             [&] { return fixture.framework->showComponent(panel, errors); },
             [&] { return fixture.framework->detachComponent(panel, errors); },
             [&] {
                 return fixture.framework->addTab(panel, "", true, errors) !=
                        StudioFrameworkService::NoTab;
             },
             [&] {
                 return fixture.framework->getTabIndex(panel, errors) !=
                        StudioFrameworkService::NoTab;
             }}) {
        errors.clear();
        EXPECT_FALSE(use());
        EXPECT_EQ(errors.id(), "PLATFORM_ComponentNotFound");
        EXPECT_EQ(errors.what(),
                  "The studio has no component named '(a component that no longer exists)'.");
    }
    fixture.studio->activateComponent(panel, true);
    EXPECT_EQ(life->terminated, 1);

    // A live component of another studio is still named.
    StudioFixture other;
    PanelComponent* foreign = other.addPanel("foreign");
    errors.clear();
    EXPECT_FALSE(fixture.framework->showComponent(foreign, errors));
    EXPECT_EQ(errors.what(), "The studio has no component named 'foreign'.");
    fixture.studio->activateComponent(foreign, false);
    EXPECT_FALSE(foreign->isVisible());
}

TEST(StudioRobustnessTest, ADomainImplementationAskingForItselfWhileMadeGetsNone) {
    TAVI::ErrorHolder errors;
    Studio::getDomainFactory().registerCreator(
        "Test:SelfAsking",
        TAVI::Holder<DomainImplFactory::Creator>(
            new TAVI::ClassCreator<SelfAskingImpl, AbstractDomainImpl, Studio*>),
        errors);
    StudioFixture fixture;
    AbstractDomainImpl* impl = fixture.studio->getDomainImpl("Test:SelfAsking", errors);
    ASSERT_NE(impl, nullptr) << errors.what();
    EXPECT_EQ(SelfAskingImpl::made, 1);
    EXPECT_EQ(SelfAskingImpl::askedFor, nullptr);
    EXPECT_EQ(SelfAskingImpl::askError, "PLATFORM_DomainImplInProgress");
    // Once made, asking gives it.
    EXPECT_EQ(fixture.studio->getDomainImpl("Test:SelfAsking"), impl);
    Studio::getDomainFactory().unregisterCreator("Test:SelfAsking");
}

TEST(StudioRobustnessTest, ATabCloseListenerAskingToCloseTheTabIsNotAskedAgain) {
    StudioFixture fixture;
    PanelComponent* first = fixture.addPanel("first");
    PanelComponent* second = fixture.addPanel("second");
    TAVI::ErrorHolder errors;
    fixture.framework->addTab(first, "", false, errors);
    fixture.framework->addTab(second, "", true, errors);
    auto* service = dynamic_cast<StudioEventService<Util::IntRequest>*>(
        fixture.studio->getService2("TabCloseEvents", errors));
    ASSERT_NE(service, nullptr);
    TabCloser closer(fixture.framework);
    service->connect(&closer, &TabCloser::onTabClosed);

    EXPECT_TRUE(fixture.framework->requestTabClose(0, errors));
    EXPECT_EQ(closer.heard, 1);
    EXPECT_EQ(closer.closed, std::vector<bool>{true});
    EXPECT_EQ(fixture.framework->getTabCount(), 1u);
    EXPECT_EQ(fixture.framework->getTabIndex(first, errors), StudioFrameworkService::NoTab);
    EXPECT_EQ(fixture.framework->getTabIndex(second, errors), 0u);
    EXPECT_EQ(fixture.framework->getComponent("first", errors), first);
}

TEST(StudioRobustnessTest, ATabCloseListenerMayDestroyTheStudio) {
    StudioFixture fixture;
    PanelComponent* panel = fixture.addPanel("panel");
    const auto life = panel->life;
    TAVI::ErrorHolder errors;
    fixture.framework->addTab(panel, "", true, errors);
    auto* service = dynamic_cast<StudioEventService<Util::IntRequest>*>(
        fixture.studio->getService2("TabCloseEvents", errors));
    ASSERT_NE(service, nullptr);
    StudioDropper dropper(fixture.studio);
    service->connect(&dropper, &StudioDropper::onTabClosed);

    EXPECT_TRUE(fixture.framework->requestTabClose(0, errors));
    EXPECT_FALSE(fixture.studio);
    EXPECT_EQ(life->terminated, 1);
    EXPECT_EQ(life->destroyed, 1);
    deleteLaterObjects();
}

TEST(StudioRobustnessTest, AContextMenuItemMayDestroyTheStudio) {
    StudioFixture fixture;
    ContextMenuSchema menu("Menu");
    int ran = 0;
    menu.addItem("Close", [&] {
        ++ran;
        fixture.studio->close();
        fixture.studio.reset();
    });
    fixture.framework->addContextMenu(menu);
    TAVI::ErrorHolder errors;
    EXPECT_TRUE(fixture.framework->executeContextMenuItem("Menu", "Close", errors));
    EXPECT_EQ(ran, 1);
    EXPECT_FALSE(fixture.studio);
    deleteLaterObjects();
}
