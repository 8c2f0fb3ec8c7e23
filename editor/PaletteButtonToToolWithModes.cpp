#include "editor/PaletteButtonToToolWithModes.hpp"

#include "editor/ModalPaletteButtonAction.hpp"
#include "editor/ModalPaletteButtonToolFactory.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi2/GLMenu2.hpp"

#include <vector>

namespace KITE {

PaletteButtonToToolWithModes::PaletteButtonToToolWithModes(
    const ModalPaletteButtonToolFactory* factory, Editor* editor)
    : PaletteButtonToTool(factory, editor, std::string(), std::string()) {
    std::vector<const PaletteTool::Mode*> modes;
    if (factory)
        factory->listModes(modes);
    std::erase(modes, nullptr);
    if (modes.empty())
        return;
    if (modes.size() > 1) {
        setPopupMode(MenuButtonPopup);
        modesMenu = new TAVI::GLMenu2("qt");
        NIMB::ConnectionWriteLocker locker;
        for (const PaletteTool::Mode* mode : modes) {
            auto* action = new ModalPaletteButtonAction(mode);
            modesMenu->addMenuItem(action);
            new NIMB::ConnectionImpl1<PaletteButtonToToolWithModes, TAVI::GLActionTriggerEvent2>(
                this, action->getTriggerEmitter(), nullptr,
                &PaletteButtonToToolWithModes::changeMode);
        }
        setMenu(modesMenu);
    }
    showMode(modes.front());
}

PaletteButtonToToolWithModes::~PaletteButtonToToolWithModes() {
    disconnect();
}

void PaletteButtonToToolWithModes::showMode(const PaletteTool::Mode* mode) {
    setLabel(mode->label);
    setIcon(mode->iconFile.empty() ? TAVI::Icon() : TAVI::Icon(mode->iconFile, 0, 0));
    currentMode = mode;
}

void PaletteButtonToToolWithModes::changeMode(const TAVI::GLActionTriggerEvent2& event) {
    const auto* action = dynamic_cast<const ModalPaletteButtonAction*>(event.action());
    if (!action)
        return;
    setLabel(action->getLabel());
    setIcon(action->getIcon());
    currentMode = action->getMode();
    if (isChecked()) {
        if (const TAVI::Holder<PaletteTool>& running = getTool())
            running->setCurrentMode(currentMode);
    } else {
        // Checking starts the tool, in the mode just chosen.
        setChecked(true);
    }
}

void PaletteButtonToToolWithModes::toggleOn() {
    PaletteButtonToTool::toggleOn();
    if (const TAVI::Holder<PaletteTool>& running = getTool())
        running->setCurrentMode(currentMode);
}

} // namespace KITE
