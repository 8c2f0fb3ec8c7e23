#include "application/Command.hpp"

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi/UndoRedoCommandTarget.hpp"
#include "platform/veld/Veld.hpp"

#include "tests/application/CounterModel.hpp"

#include <gtest/gtest.h>

using namespace KITE;

namespace {
using Counter = KiteTest::CounterModel;

// Adds one to the model's counter, or fails on request.
class Increment : public Command {
public:
    Increment(VELD::Model m, bool fail) : Command(std::move(m)), fail(fail) {}
    std::string shortDescription() const override { return "increment"; }
    void execute(TAVI::ErrorHolder& errors) override {
        const VELD::ClassObject root = getModel().getRootObject();
        root.setInteger(Counter::get().value, root.getInteger(Counter::get().value) + 1);
        if (fail)
            errors.setError(TAVI::SimpleErrorDescription(TAVI_HERE, "refused"));
    }

private:
    bool fail;
};

struct CommandTest : ::testing::Test {
    VELD::Model model = Counter::create();
    TAVI::UndoRedoCommandTarget target;
    std::int64_t value() const { return model.getRootObject().getInteger(Counter::get().value); }
};
} // namespace

TEST_F(CommandTest, DoUndoRedoMoveTheModelAcrossTheTransaction) {
    TAVI::Holder<Increment> command(new Increment(model, false));
    EXPECT_FALSE(command->canUndo()); // a fresh model has nothing to undo
    TAVI::ErrorHolder errors;
    target.executeCommand(command.get(), errors);
    ASSERT_FALSE(errors.hasError());
    EXPECT_EQ(value(), 1);
    EXPECT_EQ(command->getLevelBefore(), 0);
    EXPECT_EQ(command->getLevelAfter(), 1);
    EXPECT_TRUE(command->canUndo());
    target.undo(errors);
    EXPECT_EQ(value(), 0);
    EXPECT_TRUE(command->canRedo());
    target.redo(errors);
    EXPECT_EQ(value(), 1);
    EXPECT_EQ(model.getCurrentChangeLevel(), command->getLevelAfter());
    EXPECT_FALSE(errors.hasError());
}

TEST_F(CommandTest, FailingCommandLeavesTheModelAtItsLevel) {
    TAVI::Holder<Increment> command(new Increment(model, true));
    TAVI::ErrorHolder errors;
    target.executeCommand(command.get(), errors);
    EXPECT_TRUE(errors.hasError());
    EXPECT_EQ(value(), 0);
    EXPECT_EQ(model.getCurrentChangeLevel(), 0);
    EXPECT_EQ(command->getLevelAfter(), 0);
    EXPECT_EQ(target.undoStackSize(), 0u);
}

TEST_F(CommandTest, KernelCommandThatThrowsBecomesAnError) {
    class Broken : public VELDCommand {
    public:
        explicit Broken(VELD::Model m) : VELDCommand(std::move(m), "set text as number") {
            command.setFunction([](const VELD::Model& deviant) {
                deviant.getRootObject().set(Counter::get().value,
                                            VELD::ImmutableObject::fromString("abc"));
            });
        }
    };
    TAVI::Holder<Broken> command(new Broken(model));
    EXPECT_EQ(command->shortDescription(), "set text as number");
    TAVI::ErrorHolder errors;
    target.executeCommand(command.get(), errors);
    EXPECT_EQ(errors.id(), "KITE_Error_Executing_Command");
    EXPECT_EQ(model.getCurrentChangeLevel(), 0);
    EXPECT_FALSE(model.isInTransaction());
}

TEST_F(CommandTest, VELDCommandRunsItsKernelCommandOnTheModel) {
    class SetTo : public VELDCommand {
    public:
        SetTo(VELD::Model m, std::int64_t v) : VELDCommand(std::move(m), "set") {
            command.setFunction([v](const VELD::Model& deviant) {
                deviant.getRootObject().setInteger(Counter::get().value, v);
            });
        }
    };
    TAVI::ErrorHolder errors;
    target.executeCommand(new SetTo(model, 5), errors);
    target.executeCommand(new SetTo(model, 9), errors);
    EXPECT_EQ(value(), 9);
    target.undo(errors);
    EXPECT_EQ(value(), 5);
    target.undo(errors);
    EXPECT_EQ(value(), 0);
    EXPECT_FALSE(errors.hasError());
}
