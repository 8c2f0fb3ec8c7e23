#pragma once

#include "editor/PaletteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/tavi2/GLAction2.hpp"

namespace KITE {

// An entry of a palette button's modes menu: shows a mode's label and icon and remembers the
// mode. Like any action it goes with the menu it belongs to.
class KITE_EDITOR_EXPORT ModalPaletteButtonAction : public TAVI::GLAction2 {
public:
    // Throws TAVI::TypedException for a null mode.
    ModalPaletteButtonAction(const PaletteTool::Mode* mode, TAVI::GLWidget2* parent = nullptr);
    ~ModalPaletteButtonAction() override;

    const PaletteTool::Mode* getMode() const { return mode; }

private:
    const PaletteTool::Mode* mode; // not owned
};

} // namespace KITE
