#pragma once

// Pictures of a diagram without an editor: its domain's glyphs, drawn into a canvas node or a
// scene of their own, that do not react to the mouse.

#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/zeph/Node.hpp"
#include "platform/zeph/Scene.hpp"
#include "utils/kite_diagram_rendering_export.hpp"

namespace KITE {

class Graphics;

namespace Util {

// Puts element into out, and, when it contains others, each contained element that has a glyph
// in graphics with what it holds in turn (an element without a glyph is left out with all
// below it).
KITE_DIAGRAM_RENDERING_EXPORT void addGraphicalChildrenRecursively(Graphics* graphics,
                                                                   DiagramElement element,
                                                                   TAVI::GSet<DiagramElement>& out);

// Draws the diagram's elements under node with the glyphs of the diagram's domain. The nodes
// stay under node; none of them can be selected or moved. Throws TAVI::TypedException for a
// node in no scene. A diagram whose model has no domain draws nothing (no glyph factory).
KITE_DIAGRAM_RENDERING_EXPORT void renderDiagramIntoNode(Diagram diagram, ZEPH::Node node);

// The same picture in a scene of its own, held by the result.
KITE_DIAGRAM_RENDERING_EXPORT TAVI::Holder<ZEPH::Scene> diagram2Scene(Diagram diagram);

} // namespace Util

} // namespace KITE
