#include "platform/orbis/GenericRegistry.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/zu/zuMessages.hpp"

#include <gtest/gtest.h>

using namespace PLATFORM;

namespace {

class Named : public TAVI::Referenced {
public:
    explicit Named(std::string name, int* destroyed = nullptr)
        : name(std::move(name)), destroyed(destroyed) {}
    ~Named() override {
        if (destroyed)
            ++*destroyed;
    }
    const std::string& getName() const { return name; }

private:
    std::string name;
    int* destroyed;
};

} // namespace

TEST(GenericRegistryTest, TakenOrNullIsRefusedWithItsCatalogErrorAndNamesMatchExactly) {
    GenericRegistry<Named> registry;
    TAVI::ErrorHolder errors;
    const TAVI::Holder<Named> first(new Named("KITE:ModelAdded"));
    ASSERT_TRUE(registry.registerObject(first, errors));
    EXPECT_FALSE(errors.hasError());

    const TAVI::Holder<Named> second(new Named("KITE:ModelAdded"));
    EXPECT_FALSE(registry.registerObject(second, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    EXPECT_EQ(errors.code(), 0x870001u);
    EXPECT_EQ(errors.what(), "An object named 'KITE:ModelAdded' is already registered.");
    // The first registration stands.
    EXPECT_EQ(registry.getObject("KITE:ModelAdded").get(), first.get());
    EXPECT_EQ(registry.size(), 1u);
    zuSetLanguage("ja");
    EXPECT_EQ(errors.what(), "'KITE:ModelAdded' という名前のオブジェクトは既に登録されています。");
    zuSetLanguage("en");

    // Names are matched exactly; a null object is refused.
    errors.clear();
    EXPECT_TRUE(registry.registerObject(TAVI::Holder<Named>(new Named("kite:modeladded")), errors));
    EXPECT_FALSE(errors.hasError());
    EXPECT_TRUE(registry.getObject("KITE:MODELADDED").isNull());
    EXPECT_FALSE(registry.registerObject(TAVI::Holder<Named>(), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_NullArgument");
    EXPECT_EQ(registry.size(), 2u);
}

TEST(GenericRegistryTest, HoldsEachObjectUntilUnregisteredOrCleared) {
    int destroyed = 0;
    GenericRegistry<Named> registry;
    TAVI::ErrorHolder errors;
    registry.registerObject(TAVI::Holder<Named>(new Named("a", &destroyed)), errors);
    registry.registerObject(TAVI::Holder<Named>(new Named("b", &destroyed)), errors);
    registry.registerObject(TAVI::Holder<Named>(new Named("c", &destroyed)), errors);
    EXPECT_EQ(destroyed, 0);

    EXPECT_TRUE(registry.unregisterObject("b"));
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(registry.unregisterObject("b"));
    EXPECT_FALSE(registry.isRegistered("b"));
    ASSERT_EQ(registry.names().size(), 2u);
    EXPECT_EQ(registry.names()[0], TAVI::StringID("a"));
    EXPECT_EQ(registry.names()[1], TAVI::StringID("c"));

    // A freed name can be taken again.
    EXPECT_TRUE(registry.registerObject(TAVI::Holder<Named>(new Named("b", &destroyed)), errors));
    registry.clear();
    EXPECT_EQ(destroyed, 4);
    EXPECT_EQ(registry.size(), 0u);
}

TEST(StudioComponentFactoryManagerTest, UnknownTypeAndEmptyFactoryAreErrors) {
    StudioComponentFactoryManager* manager = StudioComponentFactoryManager::instance();
    EXPECT_EQ(manager, StudioComponentFactoryManager::instance());
    TAVI::ErrorHolder errors;
    EXPECT_EQ(manager->createComponent("No such type", nullptr, "x", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentTypeNotFound");
    EXPECT_NE(errors.what().find("No such type"), std::string::npos);

    errors.clear();
    ASSERT_TRUE(manager->registerObject(
        TAVI::Holder<StudioComponentFactory>(new StudioComponentFactory("Makes nothing", {})),
        errors));
    EXPECT_EQ(manager->createComponent("Makes nothing", nullptr, "x", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentNotCreated");
    manager->unregisterObject("Makes nothing");
}
