#include "platform/tavi/AbstractFactory.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/tavi/DebugOutput.hpp"
#include "platform/tavi/ModuleObjectDeleter.hpp"

#include <gtest/gtest.h>

#include <filesystem>

using namespace TAVI;

namespace {

struct Product {
    virtual ~Product() = default;
    virtual std::string kind() const = 0;
    int argument = 0;
};
struct Square : Product {
    explicit Square(int a) { argument = a; }
    std::string kind() const override { return "square"; }
};
using ShapeFactory = AbstractFactory<Product, int>;

} // namespace

TEST(AbstractFactoryTest, MakesByKeyAndRefusesTakenOrUnknownKeys) {
    ShapeFactory factory;
    ErrorHolder errors;
    EXPECT_TRUE(factory.registerCreator("Square", new ClassCreator<Square, Product, int>, errors));
    EXPECT_FALSE(factory.registerCreator("Square", new ClassCreator<Square, Product, int>, errors));
    EXPECT_EQ(errors.id(), "TAVI_FactoryKeyTaken");
    EXPECT_FALSE(factory.registerCreator("Null", nullptr, errors));
    EXPECT_EQ(errors.id(), "TAVI_NullCreator");

    errors.clear();
    std::unique_ptr<Product> made(factory.create("Square", 7, errors));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->kind(), "square");
    EXPECT_EQ(made->argument, 7);
    EXPECT_FALSE(errors.hasError());

    EXPECT_EQ(factory.create("Circle", 1, errors), nullptr);
    EXPECT_EQ(errors.id(), "TAVI_FactoryKeyNotFound");
    EXPECT_EQ(factory.keys(), (std::vector<StringID>{StringID("Square")}));
    EXPECT_TRUE(factory.unregisterCreator("Square"));
    EXPECT_FALSE(factory.hasCreator("Square"));
    EXPECT_TRUE(factory.keys().empty());
}

TEST(ApplicationContextTest, RootDefaultsToResourcesAndCanBeSet) {
    ApplicationContext& context = ApplicationContext::instance();
    const std::string fallback = ApplicationContext::defaultRootDirectory();
    // The source tree's resources/ folder.
    const std::filesystem::path path(fallback);
    EXPECT_EQ(path.filename(), "resources");
    EXPECT_TRUE(
        std::filesystem::exists(path.parent_path() / "platform/tavi/ApplicationContext.hpp"))
        << fallback;
    EXPECT_EQ(context.getRootDirectory(), fallback);
    context.setRootDirectory("/opt/kite/");
    EXPECT_EQ(context.getRootDirectory(), "/opt/kite");
    context.setRootDirectory("");
    EXPECT_EQ(context.getRootDirectory(), fallback);
}

TEST(DebugOutputTest, KeepsTextAndFlagsInOrder) {
    DebugOutput::clear();
    outputToDebugger("detailed", true, false);
    outputToDebugger("brief", false, true);
    const auto entries = DebugOutput::entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].text, "detailed");
    EXPECT_TRUE(entries[0].first);
    EXPECT_FALSE(entries[0].second);
    EXPECT_EQ(entries[1].text, "brief");
    EXPECT_TRUE(entries[1].second);
    DebugOutput::clear();
    EXPECT_EQ(DebugOutput::count(), 0u);
}

TEST(ModuleObjectDeleterTest, UnloadDestroysInReverseOrderOnce) {
    std::vector<int> destroyed;
    struct Table {
        Table(std::vector<int>* log, int id) : log(log), id(id) {}
        ~Table() { log->push_back(id); }
        std::vector<int>* log;
        int id;
    };
    ModuleObjectDeleter& deleter = ModuleObjectDeleter::instance();
    deleter.unload();
    deleter.add(new Table(&destroyed, 1));
    deleter.add(new Table(&destroyed, 2));
    deleter.addDeleter([&destroyed, &deleter] {
        destroyed.push_back(3);
        deleter.add(new Table(&destroyed, 4)); // made during unload: still destroyed
    });
    EXPECT_EQ(deleter.size(), 3u);
    deleter.unload();
    EXPECT_EQ(destroyed, (std::vector<int>{3, 4, 2, 1}));
    EXPECT_EQ(deleter.size(), 0u);
    deleter.unload();
    EXPECT_EQ(destroyed.size(), 4u);
}
