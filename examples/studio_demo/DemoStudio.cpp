#include "examples/studio_demo/DemoStudio.hpp"

#include "examples/studio_demo/DiagramCanvasComponent.hpp"
#include "examples/studio_demo/DiagramScene.hpp"
#include "examples/studio_demo/ModelTreeComponent.hpp"
#include "examples/studio_demo/StatusComponent.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QCoreApplication>
#include <QDockWidget>

#include <stdexcept>

namespace StudioDemo {

namespace {

std::string counted(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void check(const TAVI::ErrorHolder& errors)
{
    if (errors.hasError())
        throw std::runtime_error(errors.what());
}

} // namespace

DemoStudio::DemoStudio(DemoModel model) : model(std::move(model)) {}

std::unique_ptr<DemoStudio> DemoStudio::open(const std::string& metaModelFile, const std::string& modelFile)
{
    // Files first: a file that cannot be read leaves no window behind.
    std::unique_ptr<DemoStudio> demo(new DemoStudio(DemoModel::load(metaModelFile, modelFile)));
    TAVI::ErrorHolder errors;
    demo->studio = PLATFORM::Studio::spawnStudio(TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application), errors);
    if (!demo->studio) {
        check(errors);
        throw std::runtime_error("no studio window could be made");
    }
    try {
        check(errors);
        demo->build();
    } catch (...) {
        demo->studio->close();
        throw;
    }
    return demo;
}

DemoStudio::~DemoStudio()
{
    if (studio)
        studio->close();
}

void DemoStudio::build()
{
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    TAVI::ErrorHolder errors;
    framework->setTitle("kite studio — " + model.getFileName());

    tree = new ModelTreeComponent(studio.get(), "modelTree", model.getModel().getRootObject());
    framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(tree.get()), errors);
    check(errors);
    framework->addDockWidget(tree.get(), "", PLATFORM::StudioFrameworkService::Left, errors);
    check(errors);

    canvas = new DiagramCanvasComponent(studio.get(), "diagram", model.getModel(), model.getDiagram());
    framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(canvas.get()), errors);
    check(errors);
    framework->addTab(canvas.get(), "", true, errors);
    check(errors);

    // The tree and the canvas show one selection: what the user selects in either is
    // selected in the other. The studio opens with the diagram's first block selected.
    ModelTreeComponent* treeView = tree.get();
    DiagramScene& diagramScene = canvas->getDiagramScene();
    tree->setSelectionHandler([&diagramScene](const std::vector<VELD::ImmutableClassObject>& objects) {
        diagramScene.selectBlocks(objects);
    });
    diagramScene.setSelectionHandler([treeView](const std::vector<KITE::GraphNode>& blocks) {
        treeView->showSelection({blocks.begin(), blocks.end()});
    });
    if (const std::vector<KITE::GraphNode> blocks = model.getBlocks(); !blocks.empty()) {
        diagramScene.selectBlocks({blocks.front()});
        tree->showSelection({blocks.front()});
    }

    status = new StatusComponent(studio.get(), "status");
    const DiagramScene& scene = canvas->getDiagramScene();
    status->setText(counted(scene.getBlockCount(), "block", "blocks") + ", " +
                    counted(scene.getConnectionCount(), "connection", "connections"));
    framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(status.get()), errors);
    check(errors);
    framework->setStatusWidget(status.get(), errors);
    check(errors);
}

void DemoStudio::layOut(bool onScreen)
{
    PLATFORM::StudioWindow* window = studio->getWindow();
    window->resize(defaultWidth, defaultHeight);
    if (!window->isVisible()) {
        window->setAttribute(Qt::WA_DontShowOnScreen, !onScreen);
        studio->show();
    }
    // The canvas has its final size only once the window's layouts have run.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    // Wide enough for the tree's texts; the canvas takes the rest.
    for (QWidget* up = tree->getWidget()->getQWidget(); up; up = up->parentWidget()) {
        if (auto* dock = qobject_cast<QDockWidget*>(up)) {
            window->resizeDocks({dock}, {treeWidth}, Qt::Horizontal);
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            break;
        }
    }
    canvas->fitDiagram();
    QCoreApplication::processEvents();
}

bool DemoStudio::saveScreenshot(const std::string& file, std::string& error)
{
    TAVI::ErrorHolder errors;
    if (studio->saveScreenshot(file, errors))
        return true;
    error = errors.what();
    return false;
}

} // namespace StudioDemo
