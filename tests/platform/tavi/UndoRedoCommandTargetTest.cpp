#include "platform/tavi/UndoRedoCommandTarget.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"

#include <gtest/gtest.h>

using namespace TAVI;

namespace {

// Records handler calls into a shared log; fails where told to.
class RecordingCommand : public Command {
public:
    RecordingCommand(std::string name, std::vector<std::string>* log, int* alive)
        : name(std::move(name)), log(log), alive(alive) {
        ++*alive;
    }
    ~RecordingCommand() override { --*alive; }

    std::string shortDescription() const override { return name; }
    bool failDo = false;
    bool failUndo = false;

protected:
    void handleDo(ErrorHolder& errors) override { record("do", failDo, errors); }
    void handleUndo(ErrorHolder& errors) override { record("undo", failUndo, errors); }
    void handleRedo(ErrorHolder& errors) override { record("redo", false, errors); }

private:
    void record(const char* what, bool fail, ErrorHolder& errors) {
        log->push_back(std::string(what) + " " + name);
        if (fail)
            errors.setError(SimpleErrorDescription(TAVI_HERE, "failed", "Test_Failed"));
    }
    std::string name;
    std::vector<std::string>* log;
    int* alive;
};

class UndoRedoCommandTargetTest : public ::testing::Test {
protected:
    RecordingCommand* make(const char* name) { return new RecordingCommand(name, &log, &alive); }
    std::vector<std::string> log;
    int alive = 0;
    ErrorHolder errors;
};

} // namespace

TEST_F(UndoRedoCommandTargetTest, DoUndoRedoMoveCommandsBetweenStacks) {
    UndoRedoCommandTarget target;
    RecordingCommand* a = make("a");
    target.executeCommand(a, errors);
    target.executeCommand(make("b"), errors);
    EXPECT_EQ(target.undoStackSize(), 2u);
    EXPECT_EQ(a->getState(), Command::Done);

    target.undo(errors);
    target.undo(errors);
    EXPECT_EQ(a->getState(), Command::Undone);
    EXPECT_TRUE(a->canRedo());
    target.redo(errors);
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(log, (std::vector<std::string>{"do a", "do b", "undo b", "undo a", "redo a"}));
    EXPECT_EQ(target.undoStackSize(), 1u);
    EXPECT_EQ(target.redoStackSize(), 1u);

    target.executeCommand(make("c"), errors); // a new command drops the redo stack
    EXPECT_EQ(target.redoStackSize(), 0u);
    EXPECT_EQ(alive, 2);
    target.clearUndoStack();
    EXPECT_EQ(alive, 0);
    EXPECT_FALSE(target.canUndo());
}

TEST_F(UndoRedoCommandTargetTest, FailedDoStaysOffTheStackAndIsFreed) {
    UndoRedoCommandTarget target;
    RecordingCommand* bad = make("bad");
    bad->failDo = true;
    target.executeCommand(bad, errors);
    EXPECT_TRUE(errors.hasError());
    EXPECT_EQ(errors.id(), "Test_Failed");
    EXPECT_EQ(target.undoStackSize(), 0u);
    EXPECT_EQ(alive, 0);
}

TEST_F(UndoRedoCommandTargetTest, FailedUndoKeepsTheCommandAndEmptyStacksReport) {
    UndoRedoCommandTarget target;
    target.undo(errors);
    EXPECT_EQ(errors.id(), "TAVI_NothingToUndo");
    target.redo(errors);
    EXPECT_EQ(errors.id(), "TAVI_NothingToRedo");
    target.executeCommand(nullptr, errors);
    EXPECT_EQ(errors.id(), "TAVI_NullCommand");

    errors.clear();
    RecordingCommand* stubborn = make("s");
    stubborn->failUndo = true;
    target.executeCommand(stubborn, errors);
    target.undo(errors);
    EXPECT_EQ(errors.id(), "Test_Failed");
    EXPECT_EQ(target.nextUndo(), stubborn);
    EXPECT_EQ(target.redoStackSize(), 0u);
    EXPECT_EQ(stubborn->longDescription(), "s");
}
