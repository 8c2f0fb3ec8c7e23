#include "editor/ZoomToolFactory.hpp"

#include "editor/MarqueeZoomTool.hpp"

namespace KITE {

const ZoomToolFactory* ZoomToolFactory::instance() {
    // Stateless, so it never needs tearing down.
    static const ZoomToolFactory factory;
    return &factory;
}

TAVI::Holder<PaletteTool> ZoomToolFactory::createTool() const {
    return TAVI::Holder<PaletteTool>(new MarqueeZoomTool);
}

} // namespace KITE
