#pragma once

#include "editor/kite_editor_export.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/zeph/Tool.hpp"

#include <string>

namespace KITE {

// A canvas tool that a palette button starts. It knows whether it stays after one use
// (persistent, set by a double click on its button) and which mode it runs in. It tells its
// button when it leaves the tool stack, so that the button unchecks itself.
class KITE_EDITOR_EXPORT PaletteTool : public ZEPH::Tool {
public:
    // One mode of a tool, as a palette lists it: the label and icon of its menu entry, and a
    // value the tool reads to know what to do. Modes are owned by whoever lists them (the
    // tool's factory) and must outlive the buttons and tools that point to them.
    struct Mode {
        std::string label;
        std::string iconFile;
        int value = 0;
    };

    ~PaletteTool() override;

    bool isPersistent() const { return persistent; }
    void setPersistent(bool persistent);

    // Null until a mode is set.
    virtual const Mode* getCurrentMode() const;
    virtual void setCurrentMode(const Mode* mode);

    // Sends the removal signal. Subclasses that override it call it last.
    void onRemoveFromStack() override;
    // The role "PaletteTool".
    TAVI::StringID getDefaultRole() const override;
    static TAVI::StringID staticGetDefaultRole();

    // Sent once each time the tool leaves a tool stack.
    NIMB::Emitter<void>& getRemovedFromStackEmitter() { return removedFromStack; }

protected:
    PaletteTool();

private:
    bool persistent = false;
    const Mode* currentMode = nullptr; // not owned
    NIMB::Emitter<void> removedFromStack{NIMB::SendAuto};
};

} // namespace KITE
