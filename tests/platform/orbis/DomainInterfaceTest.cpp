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

AbstractDomainInterface* Domain::createInterface(Studio* studio) const
{
    return new Front(studio, this);
}

class Orphan : public DomainInterface {
public:
    using DomainInterface::DomainInterface;
    AbstractDomain* getDomain() const override { return nullptr; }
};

} // namespace

TEST(DomainInterfaceTest, FrontKeepsItsStudioAndTakesMenusFromItsDomain) {
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
}

TEST(DomainInterfaceTest, ComponentsHoldTheirDomainFront) {
    OrbisTest::StudioFixture fixture;
    const Domain domain;
    OrbisTest::PanelComponent* panel = fixture.addPanel("tree");
    EXPECT_EQ(panel->getDomain(), nullptr);
    {
        const TAVI::Holder<AbstractDomainInterface> front(domain.createInterface(fixture.studio.get()));
        panel->setDomain(front);
    }
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
