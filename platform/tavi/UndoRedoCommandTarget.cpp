#include "platform/tavi/UndoRedoCommandTarget.hpp"

#include "platform/tavi/SimpleErrorDescription.hpp"

namespace TAVI {

namespace {

// Resets the re-entrancy flag however the handler leaves (it may throw).
struct RunningGuard {
    explicit RunningGuard(bool& flag) : flag(flag) { flag = true; }
    ~RunningGuard() { flag = false; }
    bool& flag;
};

bool refuseReentry(bool running, ErrorHolder& errors, const char* operation) {
    if (!running)
        return false;
    errors.setError(SimpleErrorDescription(TAVI_HERE,
                                           std::string("UndoRedoCommandTarget::") + operation +
                                               ": called from inside a command's handler",
                                           "TAVI_CommandReentered"));
    return true;
}

} // namespace

AbstractUndoRedoCommandTarget::~AbstractUndoRedoCommandTarget() = default;

UndoRedoCommandTarget::UndoRedoCommandTarget() = default;
UndoRedoCommandTarget::~UndoRedoCommandTarget() = default;

void UndoRedoCommandTarget::executeCommand(Command* command, ErrorHolder& errors) {
    const Holder<Command> held(command); // a refused new'd command is freed on return
    if (!command) {
        errors.setError(SimpleErrorDescription(
            TAVI_HERE, "UndoRedoCommandTarget::executeCommand: null command", "TAVI_NullCommand"));
        return;
    }
    if (refuseReentry(running, errors, "executeCommand"))
        return;
    ErrorHolder local;
    {
        RunningGuard guard(running);
        command->handleDo(local);
    }
    if (local.hasError()) {
        command->state = Command::Failed;
        errors = local;
        return;
    }
    command->state = Command::Done;
    undoStack.push_back(held);
    redoStack.clear();
}

void UndoRedoCommandTarget::undo(ErrorHolder& errors) {
    if (refuseReentry(running, errors, "undo"))
        return;
    if (undoStack.empty()) {
        errors.setError(SimpleErrorDescription(TAVI_HERE, "Nothing to undo", "TAVI_NothingToUndo"));
        return;
    }
    const Holder<Command> command = undoStack.back();
    ErrorHolder local;
    {
        RunningGuard guard(running);
        command->handleUndo(local);
    }
    if (local.hasError()) {
        errors = local;
        return;
    }
    undoStack.pop_back();
    command->state = Command::Undone;
    redoStack.push_back(command);
}

void UndoRedoCommandTarget::redo(ErrorHolder& errors) {
    if (refuseReentry(running, errors, "redo"))
        return;
    if (redoStack.empty()) {
        errors.setError(SimpleErrorDescription(TAVI_HERE, "Nothing to redo", "TAVI_NothingToRedo"));
        return;
    }
    const Holder<Command> command = redoStack.back();
    ErrorHolder local;
    {
        RunningGuard guard(running);
        command->handleRedo(local);
    }
    if (local.hasError()) {
        errors = local;
        return;
    }
    redoStack.pop_back();
    command->state = Command::Done;
    undoStack.push_back(command);
}

void UndoRedoCommandTarget::clearUndoStack() {
    // Move out first: a command's destructor may look at this target.
    std::vector<Holder<Command>> dropped;
    dropped.swap(undoStack);
}

void UndoRedoCommandTarget::clearRedoStack() {
    std::vector<Holder<Command>> dropped;
    dropped.swap(redoStack);
}

} // namespace TAVI
