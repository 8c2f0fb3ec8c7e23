#include "application/KiteDomain.hpp"

#include "application/DomainRegistry.hpp"
#include "application/KiteDomainImpl.hpp"
#include "application/KiteDomainInterface.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "studio/components/DefaultGetChildren.hpp"

#include <gtest/gtest.h>

using namespace KITE;

namespace {
// A dock component under the model tree's name: what the domain looks for in the studio.
class TreeComponent : public PLATFORM::StudioComponentBase {
public:
    explicit TreeComponent(PLATFORM::Studio* studio)
        : StudioComponentBase(studio, "KITE tree component"), panel(new TAVI::GLPanel2("qt")) {}
    ~TreeComponent() override { delete panel; }
    TAVI::GLWidget2* getWidget() override { return panel; }

private:
    TAVI::GLPanel2* panel; // owned
};

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
            static AbstractKiteDomainImpl* impl(KiteDomainInterface* f) {
                return (f->*(&Peek::getKiteDomainImpl))();
            }
        };
        return Peek::impl(f);
    }
};
} // namespace

TEST_F(KiteDomainTest, DefaultDomainDescribesItself) {
    KiteDomain* d = KiteDomain::get();
    EXPECT_EQ(d, KiteDomain::get());
    EXPECT_EQ(d->getModelClassFullName().getString(), "VELD.Model");
    EXPECT_EQ(d->getMenuInterface().functionName, "studioGetDefaultInterface");
    EXPECT_EQ(d->getIconController().get(), KiteDomain::get()->getIconController().get());
    EXPECT_TRUE(d->getElementDescriber());
    EXPECT_NE(d->getTreePopulator().get(), d->getTreePopulator().get()); // a new one each time
    EXPECT_FALSE(DomainRegistry::instance()->isRegistered(TAVI::StringID("KITEDomain")));
}

TEST_F(KiteDomainTest, FrontsOfOneStudioShareItsImplementationWhichKnowsThem) {
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

    // The implementation knows its own fronts.
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

TEST_F(KiteDomainTest, TheStudiosTreeComponentIsReportedAndToggled) {
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    auto* tree = new TreeComponent(studio.get());
    TAVI::ErrorHolder errors;
    ASSERT_TRUE(framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(tree), errors));
    ASSERT_TRUE(framework->addDockWidget(tree, "", PLATFORM::StudioFrameworkService::Left, errors))
        << errors.what();
    auto a = front(studio.get());
    auto elsewhere = front(other.get());
    ASSERT_TRUE(a->isTreeComponentVisible());

    a->toggleTreeComponent();
    EXPECT_FALSE(a->isTreeComponentVisible());
    EXPECT_FALSE(tree->isVisible());
    a->toggleTreeComponent();
    EXPECT_TRUE(a->isTreeComponentVisible());
    // Another studio's front sees that studio's (missing) tree only, and toggles nothing.
    EXPECT_FALSE(elsewhere->isTreeComponentVisible());
    elsewhere->toggleTreeComponent();
    EXPECT_FALSE(elsewhere->isTreeComponentVisible());
    EXPECT_TRUE(tree->isVisible());
}
