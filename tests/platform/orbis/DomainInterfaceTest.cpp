#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/orbis/AbstractDomain.hpp"
#include "platform/orbis/DomainInterface.hpp"
#include "platform/tavi/Holder.hpp"

#include <gtest/gtest.h>

using namespace PLATFORM;

namespace {

class Front;

class Domain : public AbstractDomain {
public:
    Util::MenuInterface getMenuInterface() const override { return {"buildMenus", "Qualifier"}; }
    AbstractDomainInterface* createInterface(Studio* studio) const override;
};

class Front : public DomainInterface {
public:
    Front(Studio* studio, const Domain* domain) : DomainInterface(studio), domain(domain) {}
    AbstractDomain* getDomain() const override { return const_cast<Domain*>(domain); }

private:
    const Domain* domain;
};

AbstractDomainInterface* Domain::createInterface(Studio* studio) const {
    return new Front(studio, this);
}

class Orphan : public DomainInterface {
public:
    using DomainInterface::DomainInterface;
    AbstractDomain* getDomain() const override { return nullptr; }
};

} // namespace

TEST(DomainInterfaceTest, FrontKeepsItsStudioTakesMenusFromItsDomainAndIsHeldByComponents) {
    OrbisTest::StudioFixture fixture;
    const Domain domain;
    const TAVI::Holder<AbstractDomainInterface> front(domain.createInterface(fixture.studio.get()));
    EXPECT_EQ(static_cast<DomainInterface*>(front.get())->getStudio(), fixture.studio.get());
    EXPECT_EQ(front->getDomain(), &domain);
    EXPECT_EQ(front->getMenuInterface(), Util::MenuInterface("buildMenus", "Qualifier"));
    EXPECT_FALSE(front->canCopy());
    EXPECT_FALSE(front->canCut());
    EXPECT_FALSE(front->canPaste());

    const TAVI::Holder<AbstractDomainInterface> orphan(new Orphan(nullptr));
    EXPECT_TRUE(orphan->getMenuInterface().isEmpty());
    // An application without a default domain leaves the studio none.
    EXPECT_EQ(fixture.studio->getActiveDomain(), nullptr);

    // A component holds the front it is given.
    OrbisTest::PanelComponent* panel = fixture.addPanel("tree");
    EXPECT_EQ(panel->getDomain(), nullptr);
    panel->setDomain(
        TAVI::Holder<AbstractDomainInterface>(domain.createInterface(fixture.studio.get())));
    ASSERT_NE(panel->getDomain(), nullptr);
    EXPECT_EQ(panel->getDomain()->getRefCount(), 1u);
    EXPECT_EQ(panel->getDomain()->getDomain(), &domain);
    // Defaults of a component that offers nothing more.
    EXPECT_EQ(panel->getTypeName(), "tree");
    EXPECT_EQ(panel->getDefaultFocusWidget(), panel->getWidget());
    EXPECT_EQ(panel->getUndoRedoTarget(), nullptr);
    EXPECT_FALSE(panel->canAccept(nullptr));
    panel->setDomain(nullptr);
    EXPECT_EQ(panel->getDomain(), nullptr);
}

namespace {

class DomainApplication : public OrbisTest::RecordingApplication {
public:
    AbstractDomainInterface* getDefaultDomain(Studio* studio) override {
        ++asked;
        return domain.createInterface(studio);
    }
    Domain domain;
    int asked = 0;
};

} // namespace

TEST(StudioDomainTest, TheApplicationsDefaultDomainIsActivatedOnFirstUse) {
    TAVI::Holder<DomainApplication> app(new DomainApplication);
    TAVI::Holder<Studio> studio = Studio::spawnStudio(app);
    ASSERT_TRUE(studio);
    EXPECT_EQ(app->asked, 0);
    auto* first = dynamic_cast<DomainInterface*>(studio->getActiveDomain());
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isActive());
    EXPECT_EQ(first->getStudio(), studio.get());
    EXPECT_EQ(studio->getActiveDomain(), first);
    EXPECT_EQ(app->asked, 1);

    const TAVI::Holder<AbstractDomainInterface> kept(first);
    const TAVI::Holder<AbstractDomainInterface> second(app->domain.createInterface(studio.get()));
    studio->setActiveDomain(second);
    EXPECT_FALSE(first->isActive());
    EXPECT_TRUE(static_cast<DomainInterface*>(second.get())->isActive());

    studio->close();
    EXPECT_FALSE(static_cast<DomainInterface*>(second.get())->isActive());
    EXPECT_EQ(studio->getActiveDomain(), nullptr);
    EXPECT_EQ(app->asked, 1);
}

TEST(StudioDomainTest, FrontsAndComponentsHeldLongerForgetTheirStudio) {
    TAVI::Holder<AbstractDomainInterface> front;
    TAVI::Holder<StudioComponentBase> component;
    {
        OrbisTest::StudioFixture fixture;
        const Domain domain;
        front = domain.createInterface(fixture.studio.get());
        component = fixture.addPanel("kept by a script");
        TAVI::Holder<StudioComponentBase> shortLived(
            new OrbisTest::PanelComponent(fixture.studio.get(), "short"));
        shortLived.reset(); // gone before its studio: nothing must point at it afterwards
        EXPECT_EQ(static_cast<DomainInterface*>(front.get())->getStudio(), fixture.studio.get());
        EXPECT_EQ(component->getStudio(), fixture.studio.get());
    }
    EXPECT_EQ(static_cast<DomainInterface*>(front.get())->getStudio(), nullptr);
    EXPECT_EQ(component->getStudio(), nullptr);
    EXPECT_FALSE(component->isVisible());
}
