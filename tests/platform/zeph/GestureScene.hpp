#pragma once

#include "platform/zeph/MarqueeSelectionTool.hpp"
#include "platform/zeph/MoveTool.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"
#include "platform/zeph/ToolConstructor.hpp"

#include <vector>

namespace ZephTest {

// Lets the scene make the move and marquee tools for the roles the selection tool asks for.
inline void addGestureToolConstructors(ZEPH::Scene& scene) {
    scene.addToolConstructor(
        TAVI::Holder<ZEPH::BaseToolConstructor>(new ZEPH::ToolConstructor<ZEPH::MoveTool>("Move")));
    scene.addToolConstructor(TAVI::Holder<ZEPH::BaseToolConstructor>(
        new ZEPH::ToolConstructor<ZEPH::MarqueeSelectionTool>("MarqueeSelection")));
}

// Adds count selectable, movable 40x40 boxes at x = 0, 100, 200, ...
inline std::vector<ZEPH::RectNode> addMovableBoxes(ZEPH::Scene& scene, int count) {
    std::vector<ZEPH::RectNode> boxes;
    for (int i = 0; i < count; ++i) {
        ZEPH::RectNode box = ZEPH::RectNode::create({0, 0, 40, 40});
        box.setPosition({i * 100.0, 0});
        box.setSelectable(true);
        box.setMovable(true);
        scene.addNode(box);
        boxes.push_back(box);
    }
    return boxes;
}

} // namespace ZephTest
