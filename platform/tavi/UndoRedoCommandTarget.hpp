#pragma once

#include "platform/tavi/AbstractUndoRedoCommandTarget.hpp"
#include "platform/tavi/Command.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <vector>

namespace TAVI {

// Undo and redo stacks of commands. A command whose handleDo reports an error
// does not go on the undo stack. Undo of a command that reports an error stays
// on the undo stack (nothing was undone); likewise for redo. Undo or redo with
// an empty stack reports TAVI_NothingToUndo / TAVI_NothingToRedo.
class TAVI_UTIL_EXPORT UndoRedoCommandTarget : public AbstractUndoRedoCommandTarget {
public:
    UndoRedoCommandTarget();
    ~UndoRedoCommandTarget() override;
    UndoRedoCommandTarget(const UndoRedoCommandTarget&) = delete;
    UndoRedoCommandTarget& operator=(const UndoRedoCommandTarget&) = delete;

    void executeCommand(Command* command, ErrorHolder& errors) override;
    void undo(ErrorHolder& errors) override;
    void redo(ErrorHolder& errors) override;
    bool canUndo() const override { return !undoStack.empty(); }
    bool canRedo() const override { return !redoStack.empty(); }
    void clearUndoStack() override;
    void clearRedoStack() override;

    std::size_t undoStackSize() const { return undoStack.size(); }
    std::size_t redoStackSize() const { return redoStack.size(); }
    // The command that undo (redo) would handle next, or null.
    Command* nextUndo() const { return undoStack.empty() ? nullptr : undoStack.back().get(); }
    Command* nextRedo() const { return redoStack.empty() ? nullptr : redoStack.back().get(); }

private:
    std::vector<Holder<Command>> undoStack;
    std::vector<Holder<Command>> redoStack;
    bool running = false; // guards against a handler re-entering the target
};

} // namespace TAVI
