#include "application/KiteDomain.hpp"

#include "application/DomainRegistry.hpp"
#include "application/KiteDomainImpl.hpp"
#include "application/KiteDomainInterface.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/components/DefaultGetChildren.hpp"

#include <gtest/gtest.h>

using namespace KITE;

namespace {
struct KiteDomainTest : ::testing::Test {
    TAVI::Holder<PLATFORM::Studio> studio = PLATFORM::Studio::spawnStudio(
        TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application()));
    TAVI::Holder<PLATFORM::Studio> other = PLATFORM::Studio::spawnStudio(
        TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application()));
    void TearDown() override {
        studio->close();
        other->close();
    }
    static TAVI::Holder<KiteDomainInterface> front(PLATFORM::Studio* s) {
        return TAVI::Holder<KiteDomainInterface>(
            static_cast<KiteDomainInterface*>(KiteDomain::get()->createKiteInterface(s)));
    }
    static AbstractKiteDomainImpl* implOf(KiteDomainInterface* f) {
        struct Peek : KiteDomainInterface {
            static AbstractKiteDomainImpl* impl(KiteDomainInterface* f) { return (f->*(&Peek::getKiteDomainImpl))(); }
        };
        return Peek::impl(f);
    }
};
} // namespace

TEST_F(KiteDomainTest, DefaultDomainDescribesItself) {
    KiteDomain* d = KiteDomain::get();
    EXPECT_EQ(d, KiteDomain::get());
    EXPECT_EQ(d->getName().getString(), "KITEDomain");
    EXPECT_EQ(d->getModelClassFullName().getString(), "VELD.Model");
    EXPECT_EQ(d->getMenuInterface().functionName, "studioGetDefaultInterface");
    EXPECT_EQ(d->getGlyphFactory(), nullptr);
    EXPECT_EQ(d->getIconController().get(), KiteDomain::get()->getIconController().get());
    EXPECT_TRUE(d->getElementDescriber());
    EXPECT_NE(d->getTreePopulator().get(), d->getTreePopulator().get());  // a new one each time
    EXPECT_FALSE(DomainRegistry::instance()->isRegistered(TAVI::StringID("KITEDomain")));
}

TEST_F(KiteDomainTest, FrontsOfOneStudioShareItsImplementation) {
    auto a = front(studio.get());
    auto b = front(studio.get());
    auto c = front(other.get());
    ASSERT_NE(implOf(a.get()), nullptr);
    EXPECT_EQ(implOf(a.get()), implOf(b.get()));
    EXPECT_NE(implOf(a.get()), implOf(c.get()));
    EXPECT_STREQ(a->getFullyQualifiedNoxTypeName(), "KITE.Domain");
    EXPECT_EQ(a->getDomain(), KiteDomain::get());
    EXPECT_EQ(a->getName().getString(), "KITEDomain");
    EXPECT_EQ(&a->getEdgeCreationRuleSet(), &KiteDomain::get()->getEdgeCreationRuleSet());
}

TEST_F(KiteDomainTest, ImplementationKnowsItsOwnFronts) {
    auto a = front(studio.get());
    class OtherFront : public PLATFORM::DomainInterface {
    public:
        using PLATFORM::DomainInterface::DomainInterface;
        PLATFORM::AbstractDomain* getDomain() const override { return nullptr; }
    };
    TAVI::Holder<OtherFront> stranger(new OtherFront(studio.get()));
    AbstractKiteDomainImpl* impl = implOf(a.get());
    EXPECT_TRUE(impl->isSubDomain(a.get()));
    EXPECT_FALSE(impl->isSubDomain(stranger.get()));
    EXPECT_FALSE(impl->isSubDomain(nullptr));
}

TEST_F(KiteDomainTest, WithoutATreeComponentTheTreeIsHiddenAndTogglingDoesNothing) {
    auto a = front(studio.get());
    EXPECT_FALSE(a->isTreeComponentVisible());
    a->toggleTreeComponent();
    EXPECT_FALSE(a->isTreeComponentVisible());
}
