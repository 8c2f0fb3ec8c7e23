#pragma once

#include "application/kite_application_export.hpp"
#include "platform/tavi/Command.hpp"
#include "platform/veld/Model.hpp"

#include <string>

namespace KITE {

// An undoable change of a model: done inside one kernel transaction, undone and redone by
// moving the whole model to the change levels before and after that transaction. Editors run
// commands through their undo/redo target.
class KITE_APPLICATION_EXPORT Command : public TAVI::Command {
public:
    explicit Command(VELD::Model model);
    ~Command() override;

    const VELD::Model& getModel() const { return model; }
    VELD::Integer getLevelBefore() const { return levelBefore; }
    VELD::Integer getLevelAfter() const { return levelAfter; }

    // Whether the model as a whole can move back or forward, not this command alone.
    bool canUndo() const override;
    bool canRedo() const override;
    std::string shortDescription() const override = 0;

    // The change itself, inside the open transaction; an error put into errors discards it.
    virtual void execute(TAVI::ErrorHolder& errors) = 0;

private:
    void handleDo(TAVI::ErrorHolder& errors) override;
    void handleUndo(TAVI::ErrorHolder& errors) override;
    void handleRedo(TAVI::ErrorHolder& errors) override;

    VELD::Integer levelBefore = 0;
    VELD::Integer levelAfter = 0;
    VELD::Model model;
};

// A command whose change is a kernel command run on the command's model.
class KITE_APPLICATION_EXPORT VELDCommand : public Command {
public:
    VELDCommand(VELD::Model model, const std::string& description);

    std::string shortDescription() const override { return description; }
    void execute(TAVI::ErrorHolder& errors) override;

protected:
    VELD::Command command; // filled by derived classes

private:
    std::string description;
};

} // namespace KITE
