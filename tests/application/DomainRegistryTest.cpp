#include "application/DomainRegistry.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/AbstractKiteDomainInterface.hpp"
#include "application/KiteDomain.hpp"
#include "application/MessageCatalog.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/application/NamedDomain.hpp"

#include <gtest/gtest.h>

using namespace KITE;

namespace {
using KiteTest::NamedDomain;

struct DomainRegistryTest : ::testing::Test {
    DomainRegistry& registry = *DomainRegistry::instance();
    TAVI::ErrorHolder errors;
    std::vector<TAVI::Holder<AbstractKiteDomain>> registered;

    static void SetUpTestSuite() { registerMessageCatalog(); }
    TAVI::Holder<AbstractKiteDomain> add(const std::string& name, const std::string& type) {
        TAVI::Holder<AbstractKiteDomain> d(new NamedDomain(name, type));
        registry.registerDomain(d, errors);
        registered.push_back(d);
        return d;
    }
    void TearDown() override {
        for (auto& d : registered) {
            TAVI::ErrorHolder ignored;
            if (registry.isRegistered(d->getName()))
                registry.unregisterDomain(d, ignored);
        }
    }
};
} // namespace

TEST_F(DomainRegistryTest, FindsDomainsByNameAndModelType) {
    TAVI::Holder<AbstractKiteDomain> blocks = add("Blocks", "lib.System");
    ASSERT_FALSE(errors.hasError());
    EXPECT_TRUE(registry.isRegistered(TAVI::StringID("Blocks")));
    EXPECT_FALSE(registry.isRegistered(TAVI::StringID("lib.System"))); // names only
    EXPECT_EQ(registry.getStaticDomain(TAVI::StringID("Blocks"), errors), blocks.get());
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("lib.System"), errors),
              blocks.get());
    EXPECT_FALSE(errors.hasError());

    EXPECT_EQ(registry.getStaticDomain(TAVI::StringID("Nope"), errors), nullptr);
    EXPECT_EQ(errors.id(), "KITE_DomainNotFound");
    EXPECT_EQ(errors.what(), "Domain 'Nope' is not registered.");
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("x.Y"), errors), nullptr);
    EXPECT_EQ(errors.id(), "KITE_DomainNotFoundForModelType");
    EXPECT_EQ(errors.code(), 0x6e0004u);
}

TEST_F(DomainRegistryTest, RegisteringANameTwiceIsRefusedAndKeepsTheFirst) {
    TAVI::Holder<AbstractKiteDomain> first = add("Twice", "a.Model");
    add("Twice", "b.Model");
    EXPECT_EQ(errors.id(), "KITE_DomainAlreadyRegistered");
    EXPECT_EQ(errors.what(), "Domain 'Twice' is already registered.");
    errors.clear();
    EXPECT_EQ(registry.getStaticDomain(TAVI::StringID("Twice"), errors), first.get());
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("b.Model"), errors), nullptr);
}

TEST_F(DomainRegistryTest, LastRegisteredOwnsASharedModelTypeAndUnregisteringUntangles) {
    TAVI::Holder<AbstractKiteDomain> first = add("First", "shared.Model");
    TAVI::Holder<AbstractKiteDomain> second = add("Second", "shared.Model");
    ASSERT_FALSE(errors.hasError());
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("shared.Model"), errors),
              second.get());

    registry.unregisterDomain(first, errors); // also takes the type entry, which was the second's
    EXPECT_FALSE(errors.hasError());
    EXPECT_FALSE(registry.isRegistered(TAVI::StringID("First")));
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("shared.Model"), errors),
              nullptr);
    errors.clear();

    registry.unregisterDomain(second, errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    EXPECT_EQ(errors.what(), "Error executing command 'Second'.");
    EXPECT_FALSE(registry.isRegistered(TAVI::StringID("Second")));
}

TEST_F(DomainRegistryTest, ModelsFallBackToTheGenericModelTypeWithTheHolderClear) {
    VELD::MetaModelBuilder b("fallback", "test:fallback");
    b.addClass("Sheet");
    b.setModelClass("Sheet");
    b.build();
    const VELD::Model model = VELD::DomainRegistry::instance().createModel("test:fallback");

    EXPECT_EQ(registry.getStaticDomainForModel(model, errors), nullptr);
    EXPECT_EQ(errors.what(), "No domain registered for model type 'VELD.Model'.");
    errors.clear();

    TAVI::Holder<AbstractKiteDomain> generic = add("Generic", "VELD.Model");
    EXPECT_EQ(registry.getStaticDomainForModel(model, errors), generic.get());
    EXPECT_FALSE(errors.hasError());

    TAVI::Holder<AbstractKiteDomain> own = add("Sheets", "fallback.Sheet");
    EXPECT_EQ(registry.getStaticDomainForModel(model, errors), own.get());
}

TEST_F(DomainRegistryTest, FailedLookupMakesNoFront) {
    TAVI::Holder<AbstractKiteDomainInterface> front =
        registry.getDomain(nullptr, TAVI::StringID("Missing"), errors);
    EXPECT_FALSE(front);
    EXPECT_EQ(errors.id(), "KITE_DomainNotFound");
}
