#include "editor/Editor.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/Application.hpp"
#include "application/Command.hpp"
#include "application/DomainRegistry.hpp"
#include "application/KiteDomainInterface.hpp"
#include "application/StudioAppLink.hpp"
#include "editor/DefaultTools.hpp"
#include "editor/DiagramGeometry.hpp"
#include "editor/Editor_p.hpp"
#include "editor/Glyph.hpp"
#include "editor/Glyph_p.hpp"
#include "editor/Palette.hpp"
#include "editor/PaletteButtonToTool.hpp"
#include "editor/ZoomToolFactory.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/ReleaseLater.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/GLToolBar2.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zu/zu.hpp"
#include "studio/events/EditorSelectionChangedEvent.hpp"

#include <QString>
#include <QWidget>

#include <utility>

namespace KITE {

namespace {

// Names the working copies of all editors of the process: "1", "2", ...
std::uint32_t workingCopyCounter = 0;

const char* const kSetDiagramTwice =
    "setDiagram being called twice. This will result in a second listeners being created and the "
    "first listener will leak and not get unregistered";

// Membership of the three sequences of a report, by identity.
TAVI::GSet<DiagramElement> elementsOf(const DiagramChangeReport& report) {
    TAVI::GSet<DiagramElement> all;
    for (const auto& sequence : {report.getAdded(), report.getDeleted(), report.getChanged()})
        for (DiagramElement e : sequence)
            all.insert(e);
    return all;
}

// A set of elements that also remembers the order they were first put in.
struct OrderedElements {
    TAVI::GSet<DiagramElement> set;
    std::vector<DiagramElement> order;
    void insert(const DiagramElement& e) {
        if (set.insert(e))
            order.push_back(e);
    }
    bool contains(const DiagramElement& e) const { return set.contains(e); }
};

} // namespace

EditorKeepAlive::EditorKeepAlive(Editor* editor)
    : hold(editor && editor->getRefCount() != 0 ? editor : nullptr) {}

EditorKeepAlive::~EditorKeepAlive() {
    if (hold && hold->getRefCount() == 1)
        TAVI::releaseLater(std::move(hold));
}

// --- observers -----------------------------------------------------------------------------------

void AppModelObserver::transactionCompleted(const DiagramChangeReport&) {
    owner->synchroniseFromRoot();
}

void EditorModelObserver::transactionCompleted(const DiagramChangeReport& report) {
    owner->processReport(report);
}

// --- the private object --------------------------------------------------------------------------

EditorPrivate::EditorPrivate(Editor* editor, PLATFORM::Studio* studio)
    : editor(editor), graphics(Graphics::createGraphics()) {
    if (StudioAppLink* link = StudioAppLink::of(studio)) {
        studioApp = link->getStudioApp();
        navigateUpService = link->getNavigateUpRequestService();
    }
}

EditorPrivate::~EditorPrivate() {
    disconnect();
    contextMenuTarget = DiagramElement();
    // An editor destroyed without terminate must stop hearing the model: the kernel would
    // call into freed memory on the next commit.
    delete rootObserver;
    rootObserver = nullptr;
    delete workingCopyObserver;
    workingCopyObserver = nullptr;
    // Tools leave while the editor they may ask is still whole. The constructors go too: they
    // make tools for this editor, and whoever keeps the scene must not get one after it.
    if (graphics && graphics->getScene()) {
        graphics->getScene()->clearToolStack();
        graphics->getScene()->clearToolConstructors();
    }
    // The canvas must not hand events to the scene of graphics about to go.
    if (canvas)
        canvas->setScene(TAVI::Holder<ZEPH::Scene>());
    if (widget && widgetGuard)
        widget->destroy(); // the canvas and the palette go with it
    else if (canvas)
        canvas->destroy();
    widget = nullptr;
    palette = nullptr;
    delete paletteTools;
    paletteTools = nullptr;
    if (workingCopy.isValid()) {
        try {
            workingCopy.getRootDeviant().removeDeviantWithName(workingCopy.getName());
        } catch (const VELD::Exception&) {
            // The model is ending; its working copies go with it.
        }
    }
    delete graphics;
    graphics = nullptr;
    selection = VELD::Sequence<DiagramElement>();
    diagram = Diagram();
    workingCopy = VELD::Model();
}

std::uint32_t EditorPrivate::lastWorkingCopyNumber() {
    return workingCopyCounter;
}

AbstractKiteDomain* EditorPrivate::getStaticDomain() const {
    if (diagram.isNull())
        return nullptr;
    const VELD::ImmutableModel root = diagram.getRootModel();
    if (!root.isValid())
        return nullptr;
    TAVI::ErrorHolder ignored; // no domain is an answer, not a failure
    return DomainRegistry::instance()->getStaticDomainForModel(VELD::Model(root), ignored);
}

StudioAppLink* EditorPrivate::studioLink() const {
    return StudioAppLink::of(editor->getStudio());
}

void EditorPrivate::setDiagram(const Diagram& newDiagram) {
    if (!workingCopy.isNull()) {
        VELD_ASSERT(workingCopy.isNull(), kSetDiagramTwice);
        return;
    }
    if (!newDiagram.isValid()) {
        zuReportAssertion("newDiagram.isValid()", __FILE__, __LINE__,
                          "Editor::setDiagram: no diagram to show");
        return;
    }
    const VELD::Model root(newDiagram.getRootModel());
    // A name some other working copy took already (a script may name its own) is skipped.
    std::string name;
    do {
        ++workingCopyCounter;
        name = QString().setNum(workingCopyCounter).toLatin1().toStdString();
    } while (!root.getDeviantWithName(name).isNull());
    try {
        workingCopy = root.createDeviantWithName(name);
    } catch (const VELD::Exception& e) {
        zuReportAssertion("workingCopy.isValid()", __FILE__, __LINE__,
                          std::string("Editor::setDiagram: ") + e.what());
        workingCopy = VELD::Model();
        return;
    }
    rootObserver = new AppModelObserver(root, this);
    diagram = newDiagram.asDeviant(workingCopy);
    selection = VELD::MakeSequence::createUnique<DiagramElement>();
}

void EditorPrivate::setApplication(Application* newApplication) {
    if (application == newApplication)
        return;
    application = newApplication;
}

void EditorPrivate::setGlyphFactory(GlyphFactory* factory) {
    if (graphics)
        graphics->setGlyphFactory(factory);
}

void EditorPrivate::observeModel(const VELD::Model& model) {
    if (!workingCopy.isValid()) {
        zuReportAssertion("workingCopy.isValid()", __FILE__, __LINE__,
                          "Editor::observeModel: the editor has no diagram");
        return;
    }
    // The opener hands over the model (often as its root); what is followed is the working copy.
    if (model.modelCore() != workingCopy.modelCore()) {
        zuReportAssertion("model.modelCore() == workingCopy.modelCore()", __FILE__, __LINE__,
                          "Editor::observeModel: not the model of the editor's diagram");
        return;
    }
    if (workingCopyObserver)
        return; // one observer; a second would run every report twice
    workingCopyObserver = new EditorModelObserver(workingCopy, this);
}

void EditorPrivate::synchroniseFromRoot() {
    if (!workingCopy.isValid())
        return;
    const EditorKeepAlive keep(editor);
    workingCopy.beginTransaction("");
    try {
        workingCopy.syncFromRoot();
    } catch (...) {
        workingCopy.rollbackTransaction();
        throw;
    }
    workingCopy.commitTransaction();
}

namespace {
// Appends the element and everything below it, parents before their contents; an invalid
// element is skipped with everything below it.
void collect(const DiagramElement& element, VELD::Sequence<DiagramElement>& out) {
    if (!element.isValid())
        return;
    out.append(element);
    const ImmutableGraphElement container(element);
    if (container.isNull())
        return;
    for (DiagramElement child : container.getContained())
        collect(child, out);
}
} // namespace

void EditorPrivate::populate() {
    if (!diagram.isValid()) {
        zuReportAssertion("diagram.isValid()", __FILE__, __LINE__,
                          "Editor::populate: the editor has no diagram");
        return;
    }
    const EditorKeepAlive keep(editor);
    DiagramChangeReport report(workingCopy, VELD::ImmutableModel());
    collect(DiagramElement(diagram), report.added());
    processReport(report);
    editor->doInitialLayout(report);
}

bool EditorPrivate::isInDiagram(const ImmutableDiagramElement& element) const {
    return !element.isNull() && element.isValid() && element.getDiagram() == diagram;
}

void EditorPrivate::processReport(const DiagramChangeReport& report) {
    if (!graphics || diagram.isNull())
        return;
    const EditorKeepAlive keep(editor);

    // 1. What the transaction did to this diagram.
    OrderedElements added, changed, deleted;
    for (DiagramElement e : report.getAdded())
        if (isInDiagram(e))
            added.insert(e);
    for (DiagramElement e : report.getChanged()) {
        const bool wasHere = isInDiagram(report.getOldState(e));
        if (isInDiagram(e))
            (wasHere ? changed : added).insert(e); // moved in from another diagram: added
        else if (wasHere)
            deleted.insert(e); // moved out: deleted
    }
    for (DiagramElement e : report.getDeleted())
        if (isInDiagram(report.getOldState(e)))
            deleted.insert(e);
    // The contents of an element that moved in are not in the report (they did not change
    // themselves), yet they are on this diagram now.
    for (std::size_t i = 0; i < added.order.size(); ++i) {
        const ImmutableGraphElement container(added.order[i]);
        if (container.isNull() || !container.isValid())
            continue;
        for (DiagramElement child : container.getContained())
            if (child.isValid() && !deleted.contains(child) && !changed.contains(child))
                added.insert(child);
    }

    // 2. Edges whose drawing depends on what changed.
    for (const DiagramElement& e : changed.order) {
        const GraphElement element(e);
        if (element.isNull() || !element.isValid() || !DI::hasChangedSize(e, report))
            continue;
        for (GraphEdge edge : element.getEdges())
            graphics->invalidateGlyph(edge);
    }
    TAVI::GSet<DiagramElement> moved;
    for (const DiagramElement& e : changed.order) {
        const DiagramElement old = report.getOldState(e);
        const TAVI::GLPoint<double> now = e.getPosition(), before = old.getPosition();
        if (now.x != before.x || now.y != before.y)
            moved.insert(e);
    }
    std::vector<DiagramElement> outermost;
    for (const DiagramElement& e : changed.order) {
        if (!moved.contains(e))
            continue;
        bool inner = false;
        for (ImmutableGraphElement up = e.getContainer(); up.isValid() && !inner;
             up = up.getContainer())
            inner = moved.contains(DiagramElement(up));
        if (!inner)
            outermost.push_back(e);
    }
    if (!outermost.empty()) {
        const TAVI::GSet<DiagramElement> reported = elementsOf(report);
        std::vector<DiagramElement> pending(outermost.rbegin(), outermost.rend());
        while (!pending.empty()) {
            const GraphElement element(pending.back());
            pending.pop_back();
            if (element.isNull() || !element.isValid())
                continue;
            for (GraphEdge edge : element.getEdges()) {
                const DiagramElement asElement(edge);
                if (graphics->isInvalidated(asElement) || reported.contains(asElement))
                    continue;
                if (DI::hasChangedPositionRelativeTo(edge, edge.getSrcElement(), report) ||
                    DI::hasChangedPositionRelativeTo(edge, edge.getDstElement(), report))
                    graphics->invalidateGlyph(asElement);
            }
            const VELD::ImmutableSequence<DiagramElement> contained = element.getContained();
            for (int i = contained.size() - 1; i >= 0; --i)
                pending.push_back(contained.at(i));
        }
    }

    // 3. Glyphs invalidated by this report or by anyone since the last one.
    for (const DiagramElement& e : graphics->takeInvalidated()) {
        if (added.contains(e) || deleted.contains(e))
            continue;
        // Only glyphs of this working copy can be brought up to date against this report.
        if (e.isValid() && e.getModelVELD().modelCore() == workingCopy.modelCore() &&
            graphics->getGlyph(e))
            changed.insert(e.asDeviant(workingCopy));
    }

    // 4. New glyphs. An element that has a glyph already is brought up to date instead.
    TAVI::GSet<DiagramElement> toCreate;
    std::vector<DiagramElement> created;
    for (const DiagramElement& e : added.order) {
        if (graphics->getGlyph(e)) {
            changed.insert(e);
            continue;
        }
        toCreate.insert(e);
        created.push_back(e);
    }
    if (!toCreate.isEmpty()) {
        graphics->createGlyphs(toCreate);
        // Held: a glyph's code may change the model, and so drop another glyph of the list.
        std::vector<TAVI::Holder<Glyph>> glyphs;
        for (const DiagramElement& e : created)
            if (Glyph* glyph = graphics->getGlyph(e))
                glyphs.emplace_back(glyph);
        for (const TAVI::Holder<Glyph>& glyph : glyphs)
            runGlyphCode("Glyph::setEditor", [&] { glyph->setEditor(editor); });
        for (const TAVI::Holder<Glyph>& glyph : glyphs)
            runGlyphCode("Glyph::update", [&] { glyph->update(); });
    }

    // 5. Changed glyphs, re-attached first when their element changed container.
    if (!changed.set.isEmpty())
        graphics->updateGlyphs(changed.set, report);

    // 6. Deleted elements leave the selection, announced even when they were not selected.
    for (const DiagramElement& e : deleted.order) {
        if (!selection.isNull())
            selection.remove(e);
        notifySelectionChanged(e, false);
        notifySelectionChanged(DiagramElement(), false);
    }

    // 7. Their glyphs go, with the glyphs of everything below them. What such an element held
    // went with it unreported; only then can a selected element have left the diagram, so the
    // selection is checked only then (a drag's previews must not cost the size of the selection).
    if (!deleted.set.isEmpty()) {
        graphics->removeGlyphs(deleted.set);
        dropLostSelections();
    }
}

void EditorPrivate::dropLostSelections() {
    if (selection.isNull())
        return;
    std::vector<DiagramElement> lost;
    for (DiagramElement e : selection)
        if (!isInDiagram(e))
            lost.push_back(e);
    for (const DiagramElement& e : lost) {
        selection.remove(e);
        notifySelectionChanged(e, false);
    }
}

DiagramElement EditorPrivate::inWorkingCopy(const ImmutableDiagramElement& element) const {
    if (element.isNull() || !workingCopy.isValid())
        return DiagramElement();
    return DiagramElement(element.asDeviant(workingCopy));
}

PLATFORM::StudioEventService<EditorSelectionChangedEvent>*
EditorPrivate::selectionEventService() const {
    if (notificationBlock != 0)
        return nullptr;
    StudioAppLink* link = studioLink();
    return link ? link->getEditorSelectionChangedEventService() : nullptr;
}

void EditorPrivate::notifySelectionChanged(const DiagramElement& element, bool selected) {
    if (auto* service = selectionEventService())
        service->raise(EditorSelectionChangedEvent(element, selected));
}

void EditorPrivate::notifySelectionChanged(const VELD::ImmutableSequence<DiagramElement>& elements,
                                           bool selected) {
    if (auto* service = selectionEventService())
        service->raise(EditorSelectionChangedEvent(elements, selected));
}

// --- tool stack ----------------------------------------------------------------------------------

ZEPH::Scene* EditorPrivate::toolScene() const {
    zu_assert(editor->getGraphics(), ": getGraphics(),");
    return graphics ? graphics->getScene() : nullptr;
}

// --- widgets -------------------------------------------------------------------------------------

ZEPH::GLCanvas* EditorPrivate::ensureCanvas() {
    if (!canvas) {
        canvas = ZEPH::GLCanvas::create(TAVI::StringID("qt"));
        // One Qt deleted (with a window it was left in) is replaced by one that is heard too.
        if (initialized)
            connectCanvas(canvas);
    }
    ZEPH::Scene* scene = toolScene();
    if (canvas && scene)
        canvas->setScene(TAVI::Holder<ZEPH::Scene>(scene));
    return canvas;
}

void EditorPrivate::connectCanvas(ZEPH::GLCanvas* view) {
    if (!view || view == connectedCanvas)
        return;
    NIMB::ConnectionWriteLocker lock;
    NIMB::Thread* thread = NIMB::Thread::getCurrentThread();
    new NIMB::ConnectionImpl1<EditorPrivate, TAVI::GLPoint<int>>(
        this, view->getContextMenuEmitter(), thread, &EditorPrivate::onContextMenu);
    new NIMB::ConnectionImpl0<EditorPrivate>(this, view->getViewChangedEmitter(), thread,
                                             &EditorPrivate::onViewChanged);
    connectedCanvas = view;
}

TAVI::GLWidget2* EditorPrivate::makePalette() {
    std::vector<TAVI::GLWidget2*> objects = editor->getPaletteObjects();
    // An editor that offers nothing for the palette shows its canvas alone.
    if (objects.empty())
        return nullptr;
    paletteTools = new Palette;
    paletteTools->initialize(std::move(objects));
    return paletteTools->getWidget();
}

TAVI::GLWidget2* EditorPrivate::buildWidget() {
    if (widget && widgetGuard)
        return widget;
    widget = nullptr;
    // A widget that Qt took down took the palette's tool bar with it.
    palette = nullptr;
    delete paletteTools;
    paletteTools = nullptr;
    ZEPH::GLCanvas* view = ensureCanvas();
    if (!view)
        return nullptr;
    TAVI::GLWidget2* canvasWidget = TAVI::GLWidget2::wrap(view);
    palette = makePalette();
    TAVI::ErrorHolder barErrors;
    PLATFORM::StudioComponentBase* explorerBar = editor->getExplorerBar(barErrors);

    auto* inner = new TAVI::GLPanel2(TAVI::StringID("qt"));
    auto* row = new TAVI::GLBoxLayout2(TAVI::GLBoxLayout2::LeftToRight);
    row->setSpacing(0);
    row->setMargin(0);
    inner->setLayout(row);
    if (palette) {
        row->addWidget(palette, 0);
        row->addWidget(canvasWidget, 1);
    } else {
        row->addWidget(canvasWidget, 0);
    }
    TAVI::GLWidget2* barWidget = explorerBar ? explorerBar->getWidget() : nullptr;
    if (barWidget) {
        auto* outer = new TAVI::GLPanel2(TAVI::StringID("qt"));
        auto* column = new TAVI::GLBoxLayout2(TAVI::GLBoxLayout2::TopToBottom);
        column->setSpacing(0);
        column->setMargin(0);
        outer->setLayout(column);
        column->addWidget(barWidget, 0);
        column->addWidget(inner, 1);
        widget = outer;
    } else {
        widget = inner;
    }
    widgetGuard = widget->getQWidget();
    return widget;
}

void EditorPrivate::onContextMenu(TAVI::GLPoint<int> globalPosition) {
    ZEPH::GLCanvas* view = ensureCanvas();
    if (!view)
        return;
    // View coordinates are the viewport's: the canvas's frame lies around it.
    const QPoint local =
        view->viewport()->mapFromGlobal(QPoint(globalPosition.x, globalPosition.y));
    const TAVI::GLPoint<double> scenePoint =
        view->viewPointToScenePoint(TAVI::GLPoint<double>(local.x(), local.y()));
    contextMenuTarget = editor->getDiagramElementAt(scenePoint);
    if (auto* front = dynamic_cast<KiteDomainInterface*>(editor->getDomain()))
        front->showEditorContextMenu(globalPosition.x, globalPosition.y);
}

void EditorPrivate::onViewChanged() {
    // Only a change the user makes on this canvas brings the editor forward: a hidden canvas
    // (another tab) or one a script zooms, or whose scroll bars follow the scene while the
    // user types elsewhere, must not take the focus away.
    PLATFORM::Studio* studio = editor->getStudio();
    if (activating || !studio || !canvas || !canvas->isVisible())
        return;
    if (!canvas->hasFocus() && !canvas->underMouse() && !canvas->viewport()->underMouse())
        return;
    activating = true;
    studio->activateComponent(editor, true);
    activating = false;
}

// --- the editor ----------------------------------------------------------------------------------

Editor* Editor::create(PLATFORM::Studio* studio, const std::string& typeName) {
    return new Editor(studio, typeName);
}

Editor::Editor(PLATFORM::Studio* studio, const std::string& typeName)
    : PLATFORM::StudioComponentBase(studio, typeName), d(new EditorPrivate(this, studio)) {
    // Domains give editors their tools through the domain layer, below this one: an editor
    // is what needs them, so the first one registers them.
    static const bool toolsRegistered = [] {
        AbstractKiteDomain::setDefaultToolInstaller(&installDefaultTools);
        return true;
    }();
    (void)toolsRegistered;
}

Editor::~Editor() {
    disconnect();
    delete d;
    d = nullptr;
}

std::string Editor::staticGetTypeName() {
    return "KITE:Editor";
}

void Editor::initialize(TAVI::ErrorHolder&) {
    d->initialized = true;
    d->connectCanvas(d->ensureCanvas());
}

void Editor::terminate(TAVI::ErrorHolder& errors) {
    const EditorKeepAlive keep(this);
    if (PLATFORM::StudioComponentBase* bar = getExplorerBar(errors)) {
        bar->disconnect();
        if (PLATFORM::Studio* studio = getStudio())
            if (PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService())
                framework->removeComponent(bar, errors);
    }
    // Listeners still holding the editor (a tree, a script) must find nothing selected in it and
    // select nothing more: it is no longer on the screen.
    clearSelection();
    d->terminated = true;
    d->notifySelectionChanged(DiagramElement(), false);
    d->undoRedo.clearUndoStack();
    d->undoRedo.clearRedoStack();
    clearToolStack();
    delete d->rootObserver;
    d->rootObserver = nullptr;
    delete d->workingCopyObserver;
    d->workingCopyObserver = nullptr;
}

TAVI::GLWidget2* Editor::getWidget() {
    return d->buildWidget();
}

std::string Editor::getDisplayTitle() const {
    return "KITE Editor";
}

TAVI::GLWidget2* Editor::getDefaultFocusWidget() {
    ZEPH::GLCanvas* view = d->ensureCanvas();
    return view ? TAVI::GLWidget2::wrap(view) : nullptr;
}

const char* Editor::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

TAVI::AbstractUndoRedoCommandTarget* Editor::getUndoRedoTarget() {
    return &d->undoRedo;
}

std::string Editor::getTypeName() const {
    return staticGetTypeName();
}

std::vector<TAVI::GLWidget2*> Editor::getPaletteObjects() const {
    const std::string icon = TAVI::ApplicationContext::instance().getRootDirectory() +
                             "/toolbox/shared/orbis/resources/kite/rbBoxZoom.png";
    // The button changes this editor's tool stack, so it needs the editor itself.
    return {new PaletteButtonToTool(ZoomToolFactory::instance(), const_cast<Editor*>(this), icon,
                                    "zoom")};
}

PLATFORM::StudioComponentBase* Editor::getExplorerBar(TAVI::ErrorHolder&) {
    return nullptr;
}

Application* Editor::getApplication() const {
    return d->application;
}

AbstractKiteDomain* Editor::getStaticDomain() const {
    return d->getStaticDomain();
}

void Editor::postCreate() {}

std::string Editor::getTabTitle() {
    return getDisplayTitle();
}

void Editor::doInitialLayout(const DiagramChangeReport&) {}

TAVI::StringID Editor::addTool(const TAVI::Holder<ZEPH::Tool>& tool) {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->addTool(tool) : TAVI::StringID();
}

void Editor::addTool(const TAVI::Holder<ZEPH::Tool>& tool, const TAVI::StringID& role) {
    if (ZEPH::Scene* scene = d->toolScene())
        scene->addTool(tool, role);
}

TAVI::StringID Editor::delegateToTool(const TAVI::Holder<ZEPH::Tool>& tool) {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->delegateToTool(tool) : TAVI::StringID();
}

TAVI::StringID Editor::getUniqueToolRoleBasedOn(const TAVI::StringID& role) const {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->getUniqueToolRoleBasedOn(role) : role;
}

bool Editor::hasTool(const TAVI::Holder<ZEPH::Tool>& tool) const {
    ZEPH::Scene* scene = d->toolScene();
    return scene && scene->hasTool(tool);
}

bool Editor::hasTool(const TAVI::StringID& role) const {
    ZEPH::Scene* scene = d->toolScene();
    return scene && scene->hasTool(role);
}

bool Editor::removeTool(const TAVI::Holder<ZEPH::Tool>& tool) {
    ZEPH::Scene* scene = d->toolScene();
    return scene && scene->removeTool(tool);
}

bool Editor::removeToolByRole(const TAVI::StringID& role) {
    ZEPH::Scene* scene = d->toolScene();
    return scene && scene->removeToolByRole(role);
}

TAVI::Holder<ZEPH::Tool> Editor::getToolByRole(const TAVI::StringID& role) const {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->getToolByRole(role) : TAVI::Holder<ZEPH::Tool>();
}

TAVI::StringID Editor::getRoleByTool(const TAVI::Holder<ZEPH::Tool>& tool) const {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->getRoleByTool(tool) : TAVI::StringID();
}

void Editor::clearToolStack() {
    if (ZEPH::Scene* scene = d->toolScene())
        scene->clearToolStack();
}

std::vector<TAVI::Holder<ZEPH::Tool>> Editor::getTools() const {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->getTools() : std::vector<TAVI::Holder<ZEPH::Tool>>();
}

TAVI::Holder<ZEPH::Tool> Editor::addToolByRole(const TAVI::StringID& role) {
    ZEPH::Scene* scene = d->toolScene();
    return scene ? scene->addToolByRole(role) : TAVI::Holder<ZEPH::Tool>();
}

void Editor::addToolConstructor(const TAVI::Holder<ZEPH::BaseToolConstructor>& constructor) {
    if (ZEPH::Scene* scene = d->toolScene())
        scene->addToolConstructor(constructor);
}

void Editor::setDiagram(const Diagram& diagram) {
    d->setDiagram(diagram);
}

void Editor::setApplication(Application* application) {
    d->setApplication(application);
}

void Editor::setGlyphFactory(GlyphFactory* factory) {
    d->setGlyphFactory(factory);
}

void Editor::observeModel(const VELD::Model& workingCopy) {
    d->observeModel(workingCopy);
}

void Editor::populate() {
    d->populate();
}

NIMB::Emitter<Diagram>& Editor::getDiagramSetSignal() {
    return diagramSet;
}

Diagram Editor::getDiagram() const {
    return d->diagram;
}

Graphics* Editor::getGraphics() const {
    return d->graphics;
}

ZEPH::Scene* Editor::getScene() const {
    return d->toolScene();
}

ZEPH::GLCanvas* Editor::getCanvas() const {
    return d->ensureCanvas();
}

StudioApp* Editor::getStudioApp() const {
    return d->studioApp;
}

PLATFORM::StudioEventService<NavigateUpRequest>* Editor::getNavigateUpRequestService() const {
    return d->navigateUpService;
}

bool Editor::isVisible() const {
    return d->canvas && d->canvas->isVisible();
}

bool Editor::isInInteraction() const {
    return d->workingCopy.hasObjectsDeviatingFromRoot();
}

VELD::Model Editor::getWorkingCopy() const {
    return d->workingCopy;
}

void Editor::dropPreview() {
    d->synchroniseFromRoot();
}

bool Editor::contains(const TAVI::GLPoint<double>& globalPoint) const {
    const ZEPH::GLCanvas* view = d->canvas;
    if (!view || !view->isVisible())
        return false;
    const TAVI::GLPoint<int> p = TAVI::DPoint2IPoint(globalPoint);
    const QPoint topLeft = view->mapToGlobal(QPoint(0, 0));
    return p.x >= topLeft.x() && p.x <= topLeft.x() + view->width() && p.y >= topLeft.y() &&
           p.y <= topLeft.y() + view->height();
}

TAVI::GLPoint<double> Editor::globalPt2ScenePt(const TAVI::GLPoint<double>& globalPoint) const {
    ZEPH::GLCanvas* view = d->ensureCanvas();
    if (!view)
        return globalPoint;
    // View coordinates are the viewport's: the canvas's frame lies around it.
    const QPoint origin = view->viewport()->mapToGlobal(QPoint(0, 0));
    return view->viewPointToScenePoint(
        TAVI::GLPoint<double>(globalPoint.x - origin.x(), globalPoint.y - origin.y()));
}

DiagramElement Editor::getDiagramElementAt(const TAVI::GLPoint<double>& scenePoint) const {
    ZEPH::Scene* scene = getScene();
    if (!scene)
        return DiagramElement();
    // The node hit may be one a glyph draws inside its root (a label, a control): the element
    // is that of the nearest glyph above it.
    for (ZEPH::Node node = scene->getNodeAt(scenePoint); node.isValid(); node = node.getParent())
        if (Glyph* glyph = d->graphics->getGlyph(node))
            return glyph->diagramElement();
    return DiagramElement();
}

void Editor::setSelected(const ImmutableDiagramElement& element, bool selected) {
    if (d->terminated)
        return;
    if (d->selection.isNull()) {
        zuReportAssertion("!selection.isNull()", __FILE__, __LINE__,
                          "Editor::setSelected: the editor has no diagram");
        return;
    }
    const DiagramElement e = d->inWorkingCopy(element);
    if (e.isNull()) {
        zuReportAssertion("!e.isNull()", __FILE__, __LINE__,
                          "Editor::setSelected: not an element of the editor's model");
        return;
    }
    if (d->selection.contains(e) == selected)
        return;
    if (selected && !d->isInDiagram(e)) {
        zuReportAssertion("isInDiagram(e)", __FILE__, __LINE__,
                          "Editor::setSelected: not an element of the editor's diagram");
        return;
    }
    // A glyph told of the change may ask for the same change again from its own handler: that
    // request is the one being carried out, and following it would never end.
    if (d->selectionChanging.contains(e))
        return;
    const EditorKeepAlive keep(this);
    // The glyph asks the editor whether it is selected: tell it before the selection changes.
    if (const TAVI::Holder<Glyph> glyph{d->graphics ? d->graphics->getGlyph(e) : nullptr}) {
        d->selectionChanging.insert(e);
        runGlyphCode("Glyph::setSelected", [&] { glyph->setSelected(selected); });
        d->selectionChanging.remove(e);
        // The glyph's handler may have made the change itself, or undone the other way.
        if (d->selection.isNull() || d->selection.contains(e) == selected)
            return;
    }
    if (selected)
        d->selection.append(e);
    else
        d->selection.remove(e);
    d->notifySelectionChanged(e, selected);
}

bool Editor::isSelected(const ImmutableDiagramElement& element) const {
    const DiagramElement e = d->inWorkingCopy(element);
    return !e.isNull() && !d->selection.isNull() && d->selection.contains(e);
}

void Editor::clearSelection() {
    if (d->selection.isNull())
        return;
    const EditorKeepAlive keep(this);
    // A copy: a glyph told of its deselection may change the selection from its handler.
    const std::vector<DiagramElement> selected = d->selection.toVector();
    for (const DiagramElement& e : selected)
        if (const TAVI::Holder<Glyph> glyph{d->graphics ? d->graphics->getGlyph(e) : nullptr})
            runGlyphCode("Glyph::setSelected", [&] { glyph->deselect(); });
    d->selection.clear();
}

VELD::ImmutableSequence<DiagramElement> Editor::getSelection() const {
    if (d->selection.isNull())
        return VELD::MakeSequence::empty<DiagramElement>();
    return d->selection;
}

void Editor::getSelectedElements(TAVI::GSet<DiagramElement>& out) const {
    out.clear();
    if (d->selection.isNull())
        return;
    for (DiagramElement e : d->selection)
        out.insert(e);
}

void Editor::disableSelectionNotification() {
    ++d->notificationBlock;
}

void Editor::enableSelectionNotification() {
    if (d->notificationBlock == 0) {
        // An unmatched enable would wrap the counter and silence the editor for good.
        zuReportAssertion("notificationBlock > 0", __FILE__, __LINE__,
                          "Editor::enableSelectionNotification: notification is not disabled");
        return;
    }
    --d->notificationBlock;
    const EditorKeepAlive keep(this);
    if (!d->selection.isNull() && !d->selection.empty())
        d->notifySelectionChanged(d->selection, true);
}

void Editor::processCommand(Command* command) {
    TAVI::AbstractUndoRedoCommandTarget* target = getUndoRedoTarget();
    if (!target) {
        zu_assert(target, "Editor::processCommand: the editor has no undo/redo target");
        return;
    }
    TAVI::ErrorHolder status;
    target->executeCommand(command, status);
    zu_assertstr(!status.hasError(), ": !status.hasError(),", status.description());
}

DiagramElement Editor::getContextMenuTarget() const {
    return d->contextMenuTarget;
}

void Editor::setContextMenuTarget(const ImmutableDiagramElement& element) {
    d->contextMenuTarget = DiagramElement(element);
}

NOX::PdxInterface* Editor::getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                      const std::string& schemaName) const {
    auto* front = dynamic_cast<KiteDomainInterface*>(getDomain());
    return front ? front->getEditorContextMenuSchema(element, schemaName) : nullptr;
}

void Editor::executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                            const std::string& schemaName) const {
    if (auto* front = dynamic_cast<KiteDomainInterface*>(getDomain()))
        front->executeEditorContextMenuSchema(element, schemaName);
}

} // namespace KITE
