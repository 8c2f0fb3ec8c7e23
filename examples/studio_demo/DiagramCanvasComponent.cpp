#include "examples/studio_demo/DiagramCanvasComponent.hpp"

#include "examples/studio_demo/DiagramScene.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/zeph/GLCanvas.hpp"

#include <QBrush>
#include <QColor>

namespace StudioDemo {

DiagramCanvasComponent::DiagramCanvasComponent(PLATFORM::Studio* studio, const std::string& name,
                                               const VELD::Model& model, const KITE::Diagram& diagram)
    : StudioComponentBase(studio, name),
      diagramScene(std::make_unique<DiagramScene>(model, diagram)),
      canvas(new ZEPH::GLCanvas),
      widget(TAVI::GLWidget2::wrap(canvas))
{
    canvas->setScene(diagramScene->getScene());
    canvas->setBackgroundBrush(QColor(248, 250, 252));
    canvas->setMinimumSize(320, 240);
}

DiagramCanvasComponent::~DiagramCanvasComponent()
{
    // The canvas goes first: it holds the scene, whose tools point to the diagram scene.
    delete widget;
    diagramScene.reset();
}

TAVI::GLWidget2* DiagramCanvasComponent::getWidget()
{
    return widget;
}

std::string DiagramCanvasComponent::getDisplayTitle() const
{
    const std::string name = diagramScene->getDiagram().getName();
    return name.empty() ? "Diagram" : name;
}

void DiagramCanvasComponent::fitDiagram()
{
    const TAVI::GLRect<double> rect = diagramScene->getDiagramRect();
    if (!rect.isEmpty())
        canvas->showSceneRect(rect);
}

} // namespace StudioDemo
