#include "examples/studio_demo/DiagramMoveTool.hpp"

#include "examples/studio_demo/DiagramScene.hpp"

namespace StudioDemo {

DiagramMoveTool::DiagramMoveTool(DiagramScene* diagram) : diagram(diagram) {}

void DiagramMoveTool::duringMove()
{
    // Also what Escape ends with (the base's cancel moves the nodes back through here).
    MoveTool::duringMove();
    for (const ZEPH::Node& node : getMovingSet())
        diagram->nodeGeometryChanged(node);
}

void DiagramMoveTool::finishMove()
{
    diagram->commitGeometry(getMovingSet(), "Move");
}

} // namespace StudioDemo
