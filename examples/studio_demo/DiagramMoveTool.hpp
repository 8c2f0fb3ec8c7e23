#pragma once

#include "platform/zeph/MoveTool.hpp"

namespace StudioDemo {

class DiagramScene;

// Moves blocks as the base move tool does, keeping their lines attached while they move;
// when the button is released the new positions go into the model in one transaction.
class DiagramMoveTool : public ZEPH::MoveTool {
public:
    explicit DiagramMoveTool(DiagramScene* diagram);

protected:
    void duringMove() override;
    void finishMove() override;

private:
    DiagramScene* diagram;  // not owned
};

} // namespace StudioDemo
