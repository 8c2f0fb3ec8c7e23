#pragma once

#include "editor/PaletteButtonToolFactory.hpp"
#include "editor/kite_editor_export.hpp"

#include <vector>

namespace KITE {

// Makes the tools of a button with modes, and lists those modes. The factory owns the modes;
// they must live as long as the buttons made from it.
class KITE_EDITOR_EXPORT ModalPaletteButtonToolFactory : public virtual PaletteButtonToolFactory {
public:
    // Appends the tool's modes to modes, in the order the button's menu lists them.
    virtual void listModes(std::vector<const PaletteTool::Mode*>& modes) const = 0;
};

} // namespace KITE
