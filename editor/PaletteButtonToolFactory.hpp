#pragma once

#include "editor/PaletteTool.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/tavi/Holder.hpp"

namespace KITE {

// Makes the tools a palette button starts: a new tool each time the button is checked. The
// button does not own its factory; factories usually live for the whole process.
class KITE_EDITOR_EXPORT PaletteButtonToolFactory {
public:
    virtual ~PaletteButtonToolFactory() = default;

    // A new tool, not on any stack yet. An empty holder makes the button start nothing and
    // stay unchecked.
    virtual TAVI::Holder<PaletteTool> createTool() const = 0;
};

} // namespace KITE
