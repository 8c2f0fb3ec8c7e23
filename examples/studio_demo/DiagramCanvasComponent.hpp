#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/orbis/StudioComponentBase.hpp"

#include <memory>

namespace ZEPH {
class GLCanvas;
}

namespace StudioDemo {

class DiagramScene;

// The tab that shows a diagram on a canvas, for the user to select, move and resize blocks.
class DiagramCanvasComponent : public PLATFORM::StudioComponentBase {
public:
    DiagramCanvasComponent(PLATFORM::Studio* studio, const std::string& name, const VELD::Model& model,
                           const KITE::Diagram& diagram);
    ~DiagramCanvasComponent() override;

    TAVI::GLWidget2* getWidget() override;
    // The diagram's name.
    std::string getDisplayTitle() const override;

    ZEPH::GLCanvas* getCanvas() const { return canvas; }
    DiagramScene& getDiagramScene() const { return *diagramScene; }
    // Zooms and scrolls the canvas so that the whole diagram shows.
    void fitDiagram();

private:
    std::unique_ptr<DiagramScene> diagramScene;
    ZEPH::GLCanvas* canvas;    // owned through widget
    TAVI::GLWidget2* widget;   // owned
};

} // namespace StudioDemo
