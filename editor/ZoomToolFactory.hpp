#pragma once

#include "editor/PaletteButtonToolFactory.hpp"
#include "editor/kite_editor_export.hpp"

namespace KITE {

// Makes marquee zoom tools for the zoom button that every editor's palette carries. One
// instance serves the whole process.
class KITE_EDITOR_EXPORT ZoomToolFactory : public PaletteButtonToolFactory {
public:
    static const ZoomToolFactory* instance();

    // A new MarqueeZoomTool.
    TAVI::Holder<PaletteTool> createTool() const override;
};

} // namespace KITE
