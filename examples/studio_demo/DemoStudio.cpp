#include "examples/studio_demo/DemoStudio.hpp"

#include "application/MessageCatalog.hpp"
#include "editor/Editor.hpp"
#include "examples/blocks/BlockGlyph.hpp"
#include "examples/blocks/BlocksDomain.hpp"
#include "examples/studio_demo/BlockPropBrowserDelegate.hpp"
#include "examples/studio_demo/HistoryKeysTool.hpp"
#include "examples/studio_demo/ProjectTreeDelegate.hpp"
#include "examples/studio_demo/StatusComponent.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/tavi2/GLWidget2.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/Scene.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeViewModel.hpp"

#include <QColor>
#include <QCoreApplication>
#include <QDockWidget>
#include <QGraphicsScene>
#include <QObject>

#include <stdexcept>

namespace StudioDemo {

namespace {

constexpr double kMargin = 30.0; // around the diagram when it is fitted into the canvas

std::string counted(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void check(const TAVI::ErrorHolder& errors) {
    if (errors.hasError())
        throw std::runtime_error(errors.what());
}

} // namespace

DemoStudio::DemoStudio(DemoModel model)
    : model(std::move(model)), sceneWatch(std::make_unique<QObject>()) {}

std::unique_ptr<DemoStudio> DemoStudio::open(const std::string& metaModelFile,
                                             const std::string& modelFile) {
    KITE::registerMessageCatalog();
    {
        // The studio application docks the browser its framework factory makes; a second
        // registration (a second window) is refused and changes nothing.
        TAVI::ErrorHolder registration;
        KITE::PropBrowserComponent::registerFactory(registration);
    }
    // Files first: a file that cannot be read leaves no window behind.
    std::unique_ptr<DemoStudio> demo(new DemoStudio(DemoModel::load(metaModelFile, modelFile)));
    TAVI::ErrorHolder errors;
    demo->app = new KITE::StudioApp;
    demo->studio =
        PLATFORM::Studio::spawnStudio(demo->app.staticCast<PLATFORM::Application>(), errors);
    if (!demo->studio) {
        check(errors);
        throw std::runtime_error("no studio window could be made");
    }
    try {
        check(errors);
        demo->build();
    } catch (...) {
        demo->disconnect();
        demo->studio->close();
        throw;
    }
    return demo;
}

DemoStudio::~DemoStudio() {
    // Closing terminates the studio application, then the components (the editor drops its
    // working copy and its tools); the holders here let go of them afterwards.
    disconnect();
    if (studio)
        studio->close();
}

void DemoStudio::build() {
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    TAVI::ErrorHolder errors;
    app->setStudioTitle("kite studio — " + model.getFileName());

    TAVI::ErrorHolder lookup;
    browser = dynamic_cast<KITE::PropBrowserComponent*>(
        framework->getComponent(KITE::PropBrowserComponent::staticGetTypeName(), lookup));
    if (!browser)
        throw std::runtime_error("the studio has no property browser");
    browser->setDelegate(new BlockPropBrowserDelegate);

    status = new StatusComponent(studio.get(), "status");
    framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(status.get()), errors);
    check(errors);
    framework->setStatusWidget(status.get(), errors);
    check(errors);

    openEditor();
    showProject();

    NIMB::Thread* here = NIMB::Thread::getCurrentThread();
    app->getEditorSelectionChangedEventService()->connect(this, &DemoStudio::onEditorSelection,
                                                          here);
    app->getTransactionCompletedEventService()->connect(this, &DemoStudio::onTransaction, here);
    app->getEditorClosedEventService()->connect(this, &DemoStudio::onEditorClosed, here);
    app->getStudioClosedEventService()->connect(this, &DemoStudio::onStudioClosed, here);
    app->getTreeSelectionChangedEventService()->connect(this, &DemoStudio::onTreeSelection, here);
    // A click on empty canvas, or a marquee around nothing, empties the editor's selection
    // without an event; the canvas's own selection tells, and the tree catches up once the
    // gesture is over.
    QObject::connect(
        editor->getScene()->qtScene(), &QGraphicsScene::selectionChanged, sceneWatch.get(),
        [this] {
            if (studio && studio->isOpen() && editor)
                editorSelectionChanged();
        },
        Qt::QueuedConnection);
    // The studio opens with the diagram's first block selected.
    if (const std::vector<KITE::GraphNode> blocks = model.getBlocks(); !blocks.empty())
        editor->select(blocks.front());
    showStatus();
}

void DemoStudio::openEditor() {
    TAVI::ErrorHolder errors;
    // The sample's domain draws the sample; another model needs a domain registered for its
    // own type. Without the sample's classes the blocks domain stays unregistered.
    Blocks::BlocksDomain::registerDomain(errors);
    errors.clear();
    editor = app->openEditor(model.getDiagram(), errors);
    if (!editor)
        throw std::runtime_error("the diagram " + model.getDiagram().getFullName() + " of a " +
                                 model.getModel().getMetaModel().getQualifiedName() +
                                 " cannot be opened: " + errors.what());
    // Above the domain's tools: the history keys wait for no gesture of theirs.
    editor->addTool(TAVI::Holder<ZEPH::Tool>(new HistoryKeysTool(*editor)));
    if (ZEPH::GLCanvas* canvas = editor->getCanvas()) {
        canvas->setBackgroundBrush(QColor(248, 250, 252));
        canvas->setMinimumSize(320, 240);
    }
}

KITE::TreeComponent* DemoStudio::getTree() const {
    return app ? dynamic_cast<KITE::TreeComponent*>(
                     app->getComponent(KITE::StudioApp::treeComponentName))
               : nullptr;
}

void DemoStudio::showProject() {
    KITE::TreeComponent* tree = getTree();
    if (!tree)
        throw std::runtime_error("the studio has no model tree");
    tree->setDelegate(new ProjectTreeDelegate(studio.get()));
    // The sample is small enough to show whole: open every row, the new ones too.
    std::vector<VELD::ClassObject> open{VELD::ClassObject(model.getModel().getRootObject())};
    while (!open.empty()) {
        const VELD::ClassObject object = open.back();
        open.pop_back();
        tree->testAPI_Expand(object);
        const KITE::TreeViewModel* rows = tree->getTreeViewModel();
        for (unsigned child : rows->getChildRows(rows->getRow(object)))
            if (rows->isRowExpandable(child) || rows->hasChildRows(child))
                open.push_back(rows->getObject(child));
    }
}

void DemoStudio::onEditorSelection(KITE::EditorSelectionChangedEvent) {
    if (editor)
        editorSelectionChanged();
}

void DemoStudio::onTransaction(KITE::TransactionCompletedEvent) {
    showStatus();
}

void DemoStudio::onEditorClosed(KITE::EditorClosedEvent event) {
    if (event.getEditors().contains(editor))
        editor = nullptr;
    showStatus();
}

void DemoStudio::onStudioClosed(KITE::StudioClosedEvent) {
    // The components are taken down next: nothing more reaches them from here.
    disconnect();
    editor = nullptr;
}

void DemoStudio::editorSelectionChanged() {
    // The tree follows the editor's events itself; a selection emptied without one (a click
    // on empty canvas) empties the tree here.
    if (KITE::TreeComponent* tree = getTree(); tree && editor->getSelection().size() == 0)
        tree->getTreeView()->clearSelection();
    showStatus();
}

void DemoStudio::onTreeSelection(KITE::TreeSelectionChangedEvent event) {
    // Only what the user chose: when the tree follows the editor, the editor has it already.
    if (!editor || event.getTrigger() != KITE::SelectionTrigger::User)
        return;
    const KITE::DiagramElement element(event.lastSelection());
    // Only what the diagram draws: the project, the diagram itself and other diagrams' parts
    // have no glyph to select.
    const bool drawn = element.isValid() && !KITE::Diagram(event.lastSelection()).isValid() &&
                       element.getDiagram() == model.getDiagram();
    // One event for the whole new selection, which brings the status line along.
    editor->disableSelectionNotification();
    editor->clearSelection();
    if (drawn)
        editor->select(element);
    editor->enableSelectionNotification();
    showStatus();
}

void DemoStudio::showStatus() {
    std::string text = counted(model.getBlocks().size(), "block", "blocks") + ", " +
                       counted(model.getConnections().size(), "connection", "connections");
    std::string selected;
    std::size_t count = 0;
    if (editor) {
        for (const KITE::DiagramElement& element : editor->getSelection()) {
            const std::string name = Blocks::BlockGlyph::nameOf(element);
            selected += (count++ ? ", " : "") + (name.empty() ? std::string("(unnamed)") : name);
        }
    }
    if (count)
        text += " — selected: " + selected;
    status->setText(text);
}

void DemoStudio::fitDiagram() {
    if (!editor)
        return;
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    KITE::Graphics* graphics = editor->getGraphics();
    if (!canvas || !graphics)
        return;
    const TAVI::GLRect<double> bounds = graphics->getRoot().getSceneBounds();
    if (bounds.isEmpty())
        return;
    canvas->showSceneRect({bounds.x - kMargin, bounds.y - kMargin, bounds.width + 2 * kMargin,
                           bounds.height + 2 * kMargin});
}

void DemoStudio::layOut(bool onScreen) {
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
    KITE::TreeComponent* tree = getTree();
    for (QWidget* up = tree ? tree->getWidget()->getQWidget() : nullptr; up;
         up = up->parentWidget()) {
        if (auto* dock = qobject_cast<QDockWidget*>(up)) {
            window->resizeDocks({dock}, {treeWidth}, Qt::Horizontal);
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
            break;
        }
    }
    fitDiagram();
    QCoreApplication::processEvents();
}

bool DemoStudio::saveScreenshot(const std::string& file, std::string& error) {
    TAVI::ErrorHolder errors;
    if (studio->saveScreenshot(file, errors))
        return true;
    error = errors.what();
    return false;
}

} // namespace StudioDemo
