#pragma once

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <string>

namespace TAVI {

// An undoable command. An undo/redo target runs it (handleDo) and later undoes
// and redoes it; each handler reports failure into the error holder. Commands
// are counted objects: the target holds them while they are on its stacks.
class TAVI_UTIL_EXPORT Command : public ReferencedTemplate<unsigned int> {
public:
    enum State { NotDone = 0, Done = 1, Undone = 2, Failed = 3 };

    ~Command() override;

    // Where the command stands, as its target last moved it.
    virtual State getState() const;
    virtual bool canUndo() const;
    virtual bool canRedo() const;
    virtual std::string shortDescription() const = 0;
    // The short description unless a command says more.
    virtual std::string longDescription() const;

protected:
    Command();

    virtual void handleDo(ErrorHolder& errors) = 0;
    virtual void handleUndo(ErrorHolder& errors) = 0;
    virtual void handleRedo(ErrorHolder& errors) = 0;

private:
    friend class UndoRedoCommandTarget;
    State state = NotDone;
};

} // namespace TAVI
