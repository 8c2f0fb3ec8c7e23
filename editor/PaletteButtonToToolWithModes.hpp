#pragma once

#include "editor/PaletteButtonToTool.hpp"
#include "editor/kite_editor_export.hpp"

namespace TAVI {
class GLMenu2;
}

namespace KITE {

class ModalPaletteButtonToolFactory;

// A tool button for a tool with modes. With two or more modes a menu beside the button lists
// them; choosing one shows it on the button and runs the tool in it, starting the tool when the
// button was unchecked. The first mode is the current one to begin with. A factory that lists
// no mode gives a button without label or icon whose tool runs without a mode.
class KITE_EDITOR_EXPORT PaletteButtonToToolWithModes : public PaletteButtonToTool {
public:
    PaletteButtonToToolWithModes(const ModalPaletteButtonToolFactory* factory, Editor* editor);
    ~PaletteButtonToToolWithModes() override;

    // Null when the factory listed no mode.
    const PaletteTool::Mode* getCurrentMode() const { return currentMode; }
    // The menu of modes; null with fewer than two modes. Owned by the button.
    TAVI::GLMenu2* getModesMenu() const { return modesMenu; }

protected:
    // A mode was chosen from the menu.
    virtual void changeMode(const TAVI::GLActionTriggerEvent2& event);
    void toggleOn() override;

private:
    void showMode(const PaletteTool::Mode* mode);

    TAVI::GLMenu2* modesMenu = nullptr;             // owned by the button's widget
    const PaletteTool::Mode* currentMode = nullptr; // not owned
};

} // namespace KITE
