#include "editor/ModalPaletteButtonAction.hpp"

#include "platform/tavi/Icon.hpp"
#include "platform/tavi/TypedException.hpp"

namespace KITE {

namespace {
const PaletteTool::Mode* checkedMode(const PaletteTool::Mode* mode) {
    if (!mode)
        throw TAVI::TypedException(TAVI_HERE, "ModalPaletteButtonAction: null mode");
    return mode;
}
} // namespace

ModalPaletteButtonAction::ModalPaletteButtonAction(const PaletteTool::Mode* mode,
                                                   TAVI::GLWidget2* parent)
    : TAVI::GLAction2("qt", checkedMode(mode)->label, parent), mode(mode) {
    if (!mode->iconFile.empty())
        setIcon(TAVI::Icon(mode->iconFile, 0, 0));
}

ModalPaletteButtonAction::~ModalPaletteButtonAction() = default;

} // namespace KITE
