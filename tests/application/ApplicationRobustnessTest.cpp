#include "application/Command.hpp"
#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "application/MessageCatalog.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi/UndoRedoCommandTarget.hpp"
#include "platform/veld/Veld.hpp"
#include "platform/zu/zuMessages.hpp"

#include "tests/application/CounterModel.hpp"
#include "tests/application/NamedDomain.hpp"

#include <gtest/gtest.h>

using namespace KITE;

namespace {
using Counter = KiteTest::CounterModel;

// Adds one to the counter, then throws what it was given.
template <typename Thrown> class Throwing : public Command {
public:
    Throwing(VELD::Model m, Thrown thrown) : Command(std::move(m)), thrown(std::move(thrown)) {}
    std::string shortDescription() const override { return "throwing"; }
    void execute(TAVI::ErrorHolder&) override {
        const VELD::ClassObject root = getModel().getRootObject();
        root.setInteger(Counter::get().value, root.getInteger(Counter::get().value) + 1);
        throw thrown;
    }

private:
    Thrown thrown;
};

class Increment : public Command {
public:
    explicit Increment(VELD::Model m) : Command(std::move(m)) {}
    std::string shortDescription() const override { return "increment"; }
    void execute(TAVI::ErrorHolder&) override {
        const VELD::ClassObject root = getModel().getRootObject();
        root.setInteger(Counter::get().value, root.getInteger(Counter::get().value) + 1);
    }
};

struct CommandRobustnessTest : ::testing::Test {
    static void SetUpTestSuite() { registerMessageCatalog(); }
    VELD::Model model = Counter::create();
    TAVI::UndoRedoCommandTarget target;
    TAVI::ErrorHolder errors;
    std::int64_t value() const { return model.getRootObject().getInteger(Counter::get().value); }
};

struct Oddity {};
} // namespace

TEST_F(CommandRobustnessTest, ChangesThrowingAnythingFailWithTheirTransactionRolledBack) {
    target.executeCommand(new Throwing<int>(model, 42), errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    EXPECT_EQ(value(), 0);
    EXPECT_EQ(model.getCurrentChangeLevel(), 0);
    EXPECT_FALSE(model.isInTransaction());
    errors.clear();

    target.executeCommand(new Throwing<Oddity>(model, Oddity{}), errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    EXPECT_EQ(value(), 0);
    EXPECT_FALSE(model.isInTransaction());
    EXPECT_EQ(target.undoStackSize(), 0u);
    errors.clear();

    target.executeCommand(new Throwing<std::runtime_error>(model, std::runtime_error("bad")),
                          errors);
    EXPECT_EQ(errors.what(), "Error executing command 'throwing: bad'.");

    // The model still takes changes afterwards.
    errors.clear();
    target.executeCommand(new Increment(model), errors);
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(value(), 1);
}

TEST_F(CommandRobustnessTest, DeadModelsFailCommandsUndoAndRedoWithErrors) {
    VELD::Model dead = Counter::create();
    dead.destroy();
    TAVI::Holder<Increment> command(new Increment(dead));
    target.executeCommand(command.get(), errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    EXPECT_FALSE(command->canUndo());
    EXPECT_FALSE(command->canRedo());

    errors.clear();
    TAVI::Holder<Increment> done(new Increment(model));
    target.executeCommand(done.get(), errors);
    ASSERT_FALSE(errors.hasError());
    model.destroy();
    EXPECT_FALSE(done->canUndo());
    target.undo(errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    errors.clear();
    target.redo(errors);
    EXPECT_TRUE(errors.hasError());
}

namespace {
using KiteTest::NamedDomain;

struct RegistryRobustnessTest : ::testing::Test {
    static void SetUpTestSuite() { registerMessageCatalog(); }
    DomainRegistry& registry = *DomainRegistry::instance();
    TAVI::ErrorHolder errors;
    std::vector<TAVI::Holder<AbstractKiteDomain>> made;
    TAVI::Holder<AbstractKiteDomain> make(const std::string& name, const std::string& type) {
        made.emplace_back(new NamedDomain(name, type));
        return made.back();
    }
    void TearDown() override {
        for (auto& d : made) {
            TAVI::ErrorHolder ignored;
            if (registry.isRegistered(d->getName()) &&
                registry.getStaticDomain(d->getName(), ignored) == d.get())
                registry.unregisterDomain(d, ignored);
        }
    }
};
} // namespace

TEST_F(RegistryRobustnessTest, UnregisteringADomainThatIsNotTheRegisteredOneChangesNothing) {
    TAVI::Holder<AbstractKiteDomain> kept = make("KeptOne", "kept.Model");
    registry.registerDomain(kept, errors);
    ASSERT_FALSE(errors.hasError());

    // Never registered, but claiming the same model type.
    registry.unregisterDomain(make("StrangerOne", "kept.Model"), errors);
    EXPECT_EQ(errors.what(), "Error executing command 'StrangerOne'.");
    errors.clear();
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("kept.Model"), errors),
              kept.get());
    EXPECT_FALSE(errors.hasError());

    // Another object under the registered name.
    registry.unregisterDomain(make("KeptOne", "kept.Model"), errors);
    EXPECT_EQ(errors.what(), "Error executing command 'KeptOne'.");
    errors.clear();
    EXPECT_EQ(registry.getStaticDomain(TAVI::StringID("KeptOne"), errors), kept.get());
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("kept.Model"), errors),
              kept.get());
    EXPECT_FALSE(errors.hasError());
    // And no domain at all.
    registry.unregisterDomain(TAVI::Holder<AbstractKiteDomain>(), errors);
    EXPECT_EQ(errors.what(), "Error executing command ''.");
    EXPECT_TRUE(registry.isRegistered(TAVI::StringID("KeptOne")));
}

TEST_F(RegistryRobustnessTest, DomainsWithoutANameOrModelTypeAreRefused) {
    registry.registerDomain(make("", "unnamed.Model"), errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    EXPECT_EQ(errors.what(), "Error executing command ''.");
    EXPECT_FALSE(registry.isRegistered(TAVI::StringID("")));
    errors.clear();
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID("unnamed.Model"), errors),
              nullptr);

    errors.clear();
    registry.registerDomain(make("Untyped", ""), errors);
    EXPECT_EQ(errors.what(), "Error executing command 'Untyped'.");
    EXPECT_FALSE(registry.isRegistered(TAVI::StringID("Untyped")));
    errors.clear();
    // A model without a meta-model must not find a domain under the empty type.
    EXPECT_EQ(registry.getStaticDomainForModelType(TAVI::StringID(""), errors), nullptr);
    EXPECT_EQ(errors.id(), "KITE_DomainNotFoundForModelType");
}

TEST(MessageCatalogRobustnessTest, AnUnknownLanguageFallsBackToEnglish) {
    ASSERT_TRUE(registerMessageCatalog());
    TAVI::ErrorHolder errors;
    reportError(errors, TAVI_HERE, Message::DomainNotFound, "Blocks");
    zuSetLanguage("xx");
    const std::string text = errors.what();
    zuSetLanguage("");
    const std::string empty = errors.what();
    zuSetLanguage("en");
    EXPECT_EQ(text, "Domain 'Blocks' is not registered.");
    EXPECT_EQ(empty, "Domain 'Blocks' is not registered.");
}

namespace {
// Looks itself up while the registry asks for its model type, or throws instead of naming it.
class CuriousDomain : public NamedDomain {
public:
    CuriousDomain(std::string name, bool throwing)
        : NamedDomain(std::move(name), "curious.Model"), throwing(throwing) {}
    TAVI::StringID getModelClassFullName() const override {
        if (throwing)
            throw std::runtime_error("no model type");
        TAVI::ErrorHolder ignored;
        seen = DomainRegistry::instance()->getStaticDomain(getName(), ignored);
        return NamedDomain::getModelClassFullName();
    }
    mutable AbstractKiteDomain* seen = nullptr;

private:
    bool throwing;
};
} // namespace

TEST_F(RegistryRobustnessTest, ADomainIsRegisteredWholeOrNotAtAll) {
    auto* curious = new CuriousDomain("CuriousOne", false);
    made.emplace_back(curious);
    registry.registerDomain(made.back(), errors);
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(curious->seen, nullptr); // not there while being registered
    EXPECT_EQ(registry.getStaticDomain(TAVI::StringID("CuriousOne"), errors), curious);

    made.emplace_back(new CuriousDomain("ThrowingOne", true));
    EXPECT_THROW(registry.registerDomain(made.back(), errors), std::runtime_error);
    EXPECT_FALSE(registry.isRegistered(TAVI::StringID("ThrowingOne")));
}
