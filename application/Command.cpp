#include "application/Command.hpp"

#include "application/MessageCatalog.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <exception>

namespace KITE {

Command::Command(VELD::Model m) : model(std::move(m)) {}

Command::~Command() = default;

bool Command::canUndo() const {
    return model.isValid() && model.getUndoStackLength() > 0;
}

bool Command::canRedo() const {
    return model.isValid() && model.getRedoStackLength() > 0;
}

void Command::handleDo(TAVI::ErrorHolder& errors) {
    levelBefore = model.getCurrentChangeLevel();
    try {
        VELD::Transaction transaction(model, shortDescription());
        execute(errors);
        if (errors.hasError())
            return; // the transaction ends uncommitted: the kernel discards it
        transaction.commit();
    } catch (const std::exception& e) {
        // A change that throws is a failed command too; its transaction is rolled back.
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand,
                    shortDescription() + ": " + e.what());
        return;
    } catch (...) {
        // Whatever else a change throws must not escape the undo target either.
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, shortDescription());
        return;
    }
    levelAfter = model.getCurrentChangeLevel();
}

// The kernel refuses levels that other changes have made unreachable; that refusal reaches the
// caller as an error instead of an exception through the undo target.
void Command::handleUndo(TAVI::ErrorHolder& errors) {
    try {
        model.undoToChangeLevel(static_cast<int>(levelBefore));
    } catch (const std::exception& e) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand,
                    shortDescription() + ": " + e.what());
    } catch (...) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, shortDescription());
    }
}

void Command::handleRedo(TAVI::ErrorHolder& errors) {
    try {
        model.redoToChangeLevel(static_cast<int>(levelAfter));
    } catch (const std::exception& e) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand,
                    shortDescription() + ": " + e.what());
    } catch (...) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, shortDescription());
    }
}

VELDCommand::VELDCommand(VELD::Model m, const std::string& text)
    : Command(std::move(m)), description(text) {}

void VELDCommand::execute(TAVI::ErrorHolder&) {
    command.execute(getModel());
}

} // namespace KITE
