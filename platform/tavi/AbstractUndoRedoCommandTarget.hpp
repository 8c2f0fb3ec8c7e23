#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <cstddef>

namespace TAVI {

class Command;
class ErrorHolder;

// What an editor or component offers for running undoable commands.
class TAVI_UTIL_EXPORT AbstractUndoRedoCommandTarget {
public:
    virtual ~AbstractUndoRedoCommandTarget();

    // Runs the command; on success it goes on the undo stack and the redo stack
    // is emptied. The target keeps a counted hold of the command, so a command
    // made with new and refused is destroyed here.
    virtual void executeCommand(Command* command, ErrorHolder& errors) = 0;
    virtual void undo(ErrorHolder& errors) = 0;
    virtual void redo(ErrorHolder& errors) = 0;
    virtual bool canUndo() const = 0;
    virtual bool canRedo() const = 0;
    virtual void clearUndoStack() = 0;
    virtual void clearRedoStack() = 0;
};

} // namespace TAVI
