#include "studio/StudioApp.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/AbstractKiteDomainInterface.hpp"
#include "application/Application.hpp"
#include "application/DomainRegistry.hpp"
#include "application/KiteDomain.hpp"
#include "editor/Editor.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/ReleaseLater.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Model.hpp"
#include "platform/zu/zuAssert.hpp"
#include "studio/StudioApp_p.hpp"
#include "studio/components/ElementDescriberBase.hpp"
#include "studio/components/ExplorerBarComponent.hpp"
#include "studio/components/GetIconBase.hpp"
#include "studio/components/TreeComponent.hpp"
#include "utils/ElementCreator.hpp"
#include "utils/FilterBase.hpp"

#include <algorithm>

namespace KITE {

namespace {

constexpr const char* kSource = "studio/StudioApp";
constexpr const char* kForced = ": Forced Assertion";
constexpr const char* kNotReadyId = "KITE_StudioAppNotReady";
constexpr const char* kNoEditorId = "KITE_NoEditorForDiagram";

void fail(TAVI::ErrorHolder& errors, const std::string& text, const char* id) {
    errors.setError(TAVI::SimpleErrorDescription(TAVI_HERE, text, id));
}

bool sameModel(const VELD::ImmutableModel& a, const VELD::ImmutableModel& b) {
    return a.modelCore() && a.modelCore() == b.modelCore();
}

// The model a diagram belongs to, as its root.
VELD::Model rootOf(const ImmutableDiagram& diagram) {
    if (diagram.isNull() || !diagram.isValid())
        return VELD::Model();
    return VELD::Model(diagram.getRootModel()).getRootDeviant();
}

// A name for the diagram's editor that no component of the studio has.
std::string uniqueEditorName(const Diagram& diagram, PLATFORM::Studio* studio) {
    std::string stem = diagram.getFullName();
    if (stem.empty())
        stem = "Diagram";
    PLATFORM::StudioFrameworkService* framework = studio ? studio->getFrameworkService() : nullptr;
    if (!framework)
        return stem;
    std::string name = stem;
    TAVI::ErrorHolder lookup; // not found is what is looked for
    for (int n = 2; framework->getComponent(name, lookup); ++n)
        name = stem + " (" + std::to_string(n) + ")";
    return name;
}

// Its first containment that takes objects of type.
VELD::ImmutableProperty containmentFor(const VELD::ImmutableClassObject& parent,
                                       const VELD::ImmutableClass& type) {
    for (const VELD::ImmutableProperty& property : parent.getMetaClass().getAllAttributes()) {
        if (!property.isComposite() || property.isDerived() || property.isReadOnly())
            continue;
        const VELD::ImmutableClass held(property.getType());
        if (!held.isNull() && held.isValid() && VELD::isa(type, held))
            return property;
    }
    return VELD::ImmutableProperty();
}

} // namespace

// --- the chaperone -------------------------------------------------------------------------------

EditorChaperone::~EditorChaperone() = default;

Editor* EditorChaperone::find(const VELD::ImmutableClassObject& diagram) const {
    if (diagram.isNull())
        return nullptr;
    for (const Entry& entry : entries)
        if (entry.diagram == diagram)
            return entry.editor.get();
    return nullptr;
}

ImmutableDiagram EditorChaperone::diagramOf(const Editor* editor) const {
    for (const Entry& entry : entries)
        if (entry.editor.get() == editor)
            return entry.diagram;
    return ImmutableDiagram();
}

Editor* EditorChaperone::create(Application* application, PLATFORM::Studio* studio,
                                const Diagram& diagram, TAVI::ErrorHolder& errors) {
    const VELD::Model model = rootOf(diagram);
    const TAVI::Holder<AbstractKiteDomainInterface> front =
        DomainRegistry::instance()->getDomainForModel(studio, model, errors);
    if (errors.hasError() || !front)
        return nullptr;
    TAVI::Holder<Editor> editor(
        front->createEditor(diagram, uniqueEditorName(diagram, studio), errors));
    if (errors.hasError())
        return nullptr;
    if (!editor) {
        fail(errors,
             "StudioApp::openEditor: the domain " + front->getName().getString() +
                 " makes no editor for the diagram " + diagram.getFullName(),
             kNoEditorId);
        return nullptr;
    }
    // A domain may make its editor without the studio's help: the studio must hold it to place it.
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    TAVI::ErrorHolder lookup;
    if (framework->getComponent(editor->getName(), lookup) != editor.get() &&
        !framework->addComponent(editor.staticCast<PLATFORM::StudioComponentBase>(), errors))
        return nullptr;
    if (editor->getDiagram().isNull())
        editor->setDiagram(diagram);
    if (editor->getDiagram() != diagram || !editor->getDiagram().isValid()) {
        fail(errors,
             "StudioApp::openEditor: the editor the domain made shows another diagram than " +
                 diagram.getFullName(),
             kNoEditorId);
        TAVI::ErrorHolder ignored;
        framework->removeComponent(editor.get(), ignored);
        return nullptr;
    }
    editor->setApplication(application);
    editor->setGlyphFactory(front->getGlyphFactory());
    editor->getDiagramSetSignal().send(editor->getDiagram(), NIMB::SendAutoAndWait);
    editor->observeModel(VELD::Model(editor->getDiagram().getRootModel()));
    editor->populate();
    entries.push_back({diagram, editor});
    return editor.get();
}

TAVI::Holder<Editor> EditorChaperone::remove(const ImmutableDiagram& diagram, TAVI::ErrorHolder&) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const Entry& entry) { return entry.diagram == diagram; });
    if (found == entries.end())
        return {};
    TAVI::Holder<Editor> editor = std::move(found->editor);
    entries.erase(found);
    return editor;
}

TAVI::GList<Editor*> EditorChaperone::getAllEditors() const {
    TAVI::GList<Editor*> editors;
    for (const Entry& entry : entries)
        editors.append(entry.editor.get());
    return editors;
}

TAVI::GList<ImmutableDiagram> EditorChaperone::getAllDiagrams() const {
    TAVI::GList<ImmutableDiagram> diagrams;
    for (const Entry& entry : entries)
        diagrams.append(entry.diagram);
    return diagrams;
}

// --- the private object --------------------------------------------------------------------------

StudioAppPrivate::StudioAppPrivate(StudioApp* q) : q(q), chaperone(new EditorChaperone) {}

StudioAppPrivate::~StudioAppPrivate() = default;

PLATFORM::StudioFrameworkService* StudioAppPrivate::ready() const {
    if (stage == Stage::Terminated || !framework || !q->getStudio())
        return nullptr;
    return framework.get();
}

PLATFORM::StudioFrameworkService* StudioAppPrivate::ready(const char* operation,
                                                          TAVI::ErrorHolder& errors) const {
    PLATFORM::StudioFrameworkService* service = ready();
    if (!service)
        fail(errors,
             std::string("StudioApp::") + operation +
                 (stage == Stage::Terminated
                      ? ": the studio application was terminated"
                      : ": the studio application is not initialized (it has no window yet)"),
             kNotReadyId);
    return service;
}

template <typename E> void StudioAppPrivate::raise(const E& event) const {
    if (PLATFORM::StudioEventService<E>* service = services.get<E>().get()) {
        const Handling listening(this);
        service->raise(event);
    }
}

void StudioAppPrivate::makeServices() {
    PLATFORM::Studio* studio = q->getStudio();
    if (servicesMade || !studio)
        return;
    servicesMade = true;
    TAVI::ErrorHolder registration; // a name taken leaves that event without a service
    services = createStudioEventServices(studio, registration);
    TAVI::ErrorHolder lookup;
    framework = dynamic_cast<PLATFORM::StudioFrameworkService*>(
        studio->getService2("StudioFrameworkService", lookup));
}

void StudioAppPrivate::createDockComponents() {
    PLATFORM::Studio* studio = q->getStudio();
    // The library's own components, whether or not the module registered them already.
    TAVI::ErrorHolder registration;
    TreeComponent::registerFactory(registration);
    ExplorerBarComponent::registerFactory(registration);
    for (const char* name : {StudioApp::treeComponentName, StudioApp::propBrowserComponentName}) {
        // Always new: a component of that name made by someone else is not the studio's.
        PLATFORM::StudioComponentBase* component =
            q->createComponent(name, name, "DockWidget", "Left");
        if (component)
            component->setDomain(TAVI::Holder<PLATFORM::AbstractDomainInterface>(
                KiteDomain::get()->createInterface(studio)));
    }
}

void StudioAppPrivate::connectTabClose() {
    PLATFORM::Studio* studio = q->getStudio();
    if (!studio)
        return;
    TAVI::ErrorHolder lookup;
    auto* service = dynamic_cast<PLATFORM::StudioEventService<PLATFORM::Util::IntRequest>*>(
        studio->getService2("TabCloseEvents", lookup));
    if (service && !lookup.hasError())
        service->connect(q, &StudioApp::handleTabClosed); // on "QUASAR", under the write lock
}

Application* StudioAppPrivate::applicationOf(const VELD::Model& model) const {
    for (const ModelEntry& entry : models)
        if (sameModel(entry.model, model))
            return entry.application.get();
    return nullptr;
}

Application* StudioAppPrivate::getOrCreateApplication(const VELD::Model& model,
                                                      TAVI::ErrorHolder& errors) {
    if (Application* known = applicationOf(model))
        return known;
    if (!ready("addModel", errors))
        return nullptr;
    if (model.isNull() || !model.isValid()) {
        fail(errors, "StudioApp::addModel: the model is not a live model", "KITE_InvalidModel");
        return nullptr;
    }
    // The studio hears the model's own transactions: its root, whatever view was given.
    const VELD::Model root = model.getRootDeviant();
    const TAVI::Holder<AbstractKiteDomainInterface> front =
        DomainRegistry::instance()->getDomainForModel(q->getStudio(), root, errors);
    if (errors.hasError() || !front)
        return nullptr;
    TAVI::Holder<Application> application(front->createApplication(root, errors));
    if (errors.hasError() || !application)
        return nullptr;
    // The domain's listeners may have added it meanwhile.
    if (Application* known = applicationOf(root))
        return known;
    models.push_back({root, application});
    const VELD::Model announced = root; // listeners may add models: the list may move
    raise(ModelAddedEvent(&announced));
    return application.get();
}

Editor* StudioAppPrivate::openHere(const Diagram& diagram, AbstractKiteDomain* domain,
                                   TAVI::ErrorHolder& errors) {
    PLATFORM::StudioFrameworkService* framework = ready("openEditor", errors);
    if (!framework)
        return nullptr;
    const TAVI::Holder<PLATFORM::StudioFrameworkService> holdFramework(framework);
    TAVI::Holder<Editor> editor(chaperone->find(diagram));
    if (!editor) {
        Application* application = getOrCreateApplication(rootOf(diagram), errors);
        if (!application)
            return nullptr;
        editor = chaperone->create(application, q->getStudio(), diagram, errors);
        if (!editor)
            return nullptr;
        editor->postCreate();
        q->onDiagramOpened(diagram);
        // A hook may have closed it again.
        if (chaperone->find(diagram) != editor.get())
            return nullptr;
    }
    if (editor.get() == activeEditor)
        return editor.get();
    placeEditor(editor.get(), *framework, errors);
    if (domain) {
        q->setIconController(domain->getIconController());
        q->setElementDescriber(domain->getElementDescriber());
    }
    activeEditor = editor.get();
    raise(ActiveEditorChangedEvent(false));
    // A listener may have closed it: the caller gets no editor that is gone.
    return chaperone->find(diagram) == editor.get() ? editor.get() : nullptr;
}

void StudioAppPrivate::placeEditor(Editor* editor, PLATFORM::StudioFrameworkService& framework,
                                   TAVI::ErrorHolder& errors) {
    using PLATFORM::StudioFrameworkService;
    const EditorOpenType openType = q->internalGetEditorOpenType();
    std::uint32_t index = framework.getCurrentTabIndex(errors);
    const std::uint32_t ownTab = framework.getTabIndex(editor, errors);
    if (index == StudioFrameworkService::NoTab) {
        if (ownTab == StudioFrameworkService::NoTab)
            framework.addTab(editor, editor->getName(), true, errors);
        index = framework.getTabIndex(editor, errors);
    } else if (openType == EditorOpenType::REUSE_TAB) {
        if (ownTab != StudioFrameworkService::NoTab) {
            index = ownTab;
        } else {
            errors.clear();
            index = framework.getCurrentTabIndex(errors);
            std::vector<TAVI::Holder<Editor>> displaced;
            for (PLATFORM::StudioComponentBase* shown : framework.getTabComponents(index, errors))
                if (auto* other = dynamic_cast<Editor*>(shown))
                    displaced.emplace_back(other);
            for (const TAVI::Holder<Editor>& other : displaced)
                showWithExplorerBar(other.get(), false);
            framework.replaceTab(editor, index, errors);
            for (const TAVI::Holder<Editor>& other : displaced) {
                TAVI::ErrorHolder ignored;
                framework.detachComponent(other.get(), ignored);
                if (PLATFORM::StudioComponentBase* bar = other->getExplorerBar(ignored))
                    framework.detachComponent(bar, ignored);
            }
        }
    } else if (openType == EditorOpenType::NEW_TAB) {
        if (ownTab == StudioFrameworkService::NoTab) {
            errors.clear();
            index = framework.addTab(editor, editor->getName(), true, errors);
        } else {
            index = ownTab;
        }
    }
    framework.setCurrentTab(index, errors);
    showWithExplorerBar(editor, true);
    q->setEditorTabTitle(editor, editor->getTabTitle());
}

void StudioAppPrivate::showWithExplorerBar(Editor* editor, bool show) {
    PLATFORM::StudioFrameworkService* service = ready();
    if (!service)
        return;
    TAVI::ErrorHolder ignored; // showing is best effort
    PLATFORM::StudioComponentBase* bar = editor->getExplorerBar(ignored);
    for (PLATFORM::StudioComponentBase* component :
         {static_cast<PLATFORM::StudioComponentBase*>(editor), bar}) {
        if (!component)
            continue;
        TAVI::ErrorHolder own;
        if (show)
            service->showComponent(component, own);
        else
            service->hideComponent(component, own);
    }
}

Editor* StudioAppPrivate::openInNewWindow(const Diagram& diagram, TAVI::ErrorHolder& errors) {
    if (!ready("openEditor", errors))
        return nullptr;
    TAVI::Holder<StudioApp> spawned(q->spawnApplication());
    if (!spawned) {
        fail(errors, "StudioApp::openEditor: no studio application for a new window", kNotReadyId);
        return nullptr;
    }
    TAVI::Holder<PLATFORM::Studio> window =
        PLATFORM::Studio::spawnStudio(spawned.staticCast<PLATFORM::Application>(), errors);
    if (!window)
        return nullptr;
    spawnedStudios.push_back(window);
    AbstractKiteDomain* domain = nullptr;
    {
        TAVI::ErrorHolder lookup;
        domain = DomainRegistry::instance()->getStaticDomainForModel(rootOf(diagram), lookup);
    }
    Editor* editor = spawned->d_func()->openHere(diagram, domain, errors);
    window->show();
    raise(ActiveEditorChangedEvent(false));
    return editor;
}

int StudioAppPrivate::closeEditors(TAVI::GList<Editor*> editors, TAVI::ErrorHolder& errors) {
    editors = q->getEditorsToClose(editors);
    std::vector<TAVI::Holder<Editor>> closed;
    TAVI::GList<Editor*> announced;
    for (Editor* editor : editors) {
        const ImmutableDiagram diagram = chaperone->diagramOf(editor);
        if (diagram.isNull())
            continue; // not open here, or named twice
        const TAVI::Holder<Editor> hold(editor);
        q->onDiagramRemoved(Diagram(editor->getDiagram()));
        TAVI::Holder<Editor> taken = chaperone->remove(diagram, errors);
        if (!taken)
            continue; // the hook closed it
        if (activeEditor == editor)
            activeEditor = nullptr;
        closed.push_back(std::move(taken));
        announced.append(editor);
    }
    if (chaperone->isEmpty())
        activeEditor = nullptr;
    if (closed.empty())
        return 0;
    EditorClosedEvent event;
    for (Editor* editor : announced)
        event.append(editor);
    raise(event);
    if (PLATFORM::StudioFrameworkService* service = ready()) {
        const TAVI::Holder<PLATFORM::StudioFrameworkService> holdFramework(service);
        for (const TAVI::Holder<Editor>& editor : closed)
            service->removeComponent(editor.get(), errors);
    }
    // Closed by a listener, or while a report is handled: code up the stack may still be in
    // these editors, so they go once control is back in the event loop.
    if (handling > 0)
        for (TAVI::Holder<Editor>& editor : closed)
            TAVI::releaseLater(std::move(editor));
    return static_cast<int>(announced.size());
}

void StudioAppPrivate::closeEach(const TAVI::GList<ImmutableDiagram>& diagrams, int line) {
    for (const ImmutableDiagram& diagram : diagrams) {
        Editor* editor = chaperone->find(diagram);
        if (!editor)
            continue;
        TAVI::ErrorHolder errors;
        TAVI::GList<Editor*> one;
        one.append(editor);
        closeEditors(one, errors);
        if (errors.hasError())
            zuReportAssertion(kForced, kSource, line, "Error closing editor.", errors.what());
    }
}

// --- the studio application ----------------------------------------------------------------------

StudioApp::StudioApp() : d(new StudioAppPrivate(this)) {}

StudioApp::~StudioApp() {
    disconnect();
    delete d;
    d = nullptr;
}

void StudioApp::preInitialize() {
    d->makeServices();
}

StudioApp* StudioApp::spawnApplication() const {
    return new StudioApp;
}

bool StudioApp::canThisDiagramBeOpened(const Diagram&) {
    return true;
}

VELD::Object StudioApp::createObjectOfType(const VELD::ClassObject& parent,
                                           const VELD::ImmutableClass& type) const {
    if (parent.isNull() || !parent.isValid() || type.isNull() || !type.isValid())
        return VELD::Object();
    const VELD::ImmutableProperty property = containmentFor(parent, type);
    if (property.isNull()) {
        zuReportAssertion("!property.isNull()", kSource, __LINE__,
                          "StudioApp::createObjectOfType: nothing in " + parent.toString() +
                              " holds a " + type.getQualifiedName());
        return VELD::Object();
    }
    const VELD::Model root = VELD::Model(parent.getRootModel()).getRootDeviant();
    VELD::ClassObject created;
    try {
        VELD::Transaction transaction(root);
        created = GenericElementCreator().createElement(VELD::ClassObject(parent.asDeviant(root)),
                                                        property, type);
        if (created.isNull())
            return VELD::Object();
        transaction.commit();
    } catch (const VELD::Exception& e) {
        zuReportAssertion("created.isValid()", kSource, __LINE__,
                          std::string("StudioApp::createObjectOfType: ") + e.what());
        return VELD::Object();
    }
    if (created.isValid())
        d->raise(TreeSelectionChangedEvent(created, treeComponentName, SelectionTrigger::User));
    return VELD::Object(created);
}

std::string StudioApp::getDefaultFilterMode(const std::string&) {
    return {};
}

VELD::ClassObject StudioApp::getCurrentSelectedElement() {
    auto* tree = dynamic_cast<TreeComponent*>(getComponent(treeComponentName));
    return tree ? tree->getSelected() : VELD::ClassObject();
}

void StudioApp::setCurrentSelectedElement(const VELD::ClassObject&) {}

EditorOpenType StudioApp::internalGetEditorOpenType() const {
    return EditorOpenType::NEW_TAB;
}

void StudioApp::internalSetEditorOpenType(EditorOpenType) {}

void StudioApp::internalRestoreEditorOpenType() {}

void StudioApp::onDiagramOpened(const Diagram&) {}

void StudioApp::onDiagramRemoved(const Diagram&) {}

void StudioApp::onTransactionCompleted(const ModelChangeReport&) {}

TAVI::GList<Editor*> StudioApp::getEditorsToClose(TAVI::GList<Editor*> editors) {
    return editors;
}

TAVI::GList<Editor*> StudioApp::getAllEditorsToClose(TAVI::GList<Editor*> editors) {
    return editors;
}

const char* StudioApp::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

void StudioApp::initialize(TAVI::ErrorHolder& errors) {
    PLATFORM::Application::initialize(errors);
    if (d->stage != StudioAppPrivate::Stage::Constructed)
        return;        // one window, one initialization
    d->makeServices(); // nothing when preInitialize made them
    d->stage = StudioAppPrivate::Stage::Initialized;
    d->createDockComponents();
    d->connectTabClose();
}

void StudioApp::terminate(TAVI::ErrorHolder& errors) {
    if (d->stage == StudioAppPrivate::Stage::Terminated)
        return;
    d->models.clear();
    d->raise(StudioClosedEvent());
    if (PLATFORM::StudioFrameworkService* framework = d->ready()) {
        for (const char* name : {treeComponentName, propBrowserComponentName}) {
            TAVI::ErrorHolder lookup;
            if (PLATFORM::StudioComponentBase* component = framework->getComponent(name, lookup))
                framework->removeComponent(component, errors);
        }
    }
    // The editors stay with the window, which removes them next; the studio application no
    // longer hands them out.
    d->activeEditor = nullptr;
    d->chaperone.reset(new EditorChaperone);
    d->stage = StudioAppPrivate::Stage::Terminated;
    disconnect();
    PLATFORM::Application::terminate(errors);
}

PLATFORM::AbstractDomainInterface* StudioApp::getDefaultDomain(PLATFORM::Studio* studio) {
    return KiteDomain::get()->createInterface(studio);
}

// --- models --------------------------------------------------------------------------------------

void StudioApp::addModel(const VELD::Model& model) {
    if (!d->ready())
        return;
    TAVI::ErrorHolder errors;
    d->getOrCreateApplication(model, errors);
    if (errors.hasError())
        zuReportAssertion(kForced, kSource, 1279, "this is a bad place to be", errors.what());
}

void StudioApp::removeModel(const VELD::Model& model) {
    if (model.isNull() || !d->applicationOf(model))
        return;
    TAVI::GList<ImmutableDiagram> ofModel;
    for (const ImmutableDiagram& diagram : d->chaperone->getAllDiagrams())
        if (sameModel(diagram.getModelVELD(), model))
            ofModel.append(diagram);
    d->closeEach(ofModel, 1294);
    const auto found = std::find_if(d->models.begin(), d->models.end(), [&](const auto& entry) {
        return sameModel(entry.model, model);
    });
    if (found == d->models.end())
        return; // a listener removed it meanwhile
    const VELD::Model removed = found->model;
    d->models.erase(found);
    d->raise(ModelRemovedEvent(&removed));
}

void StudioApp::removeAllModels() {
    d->closeEach(d->chaperone->getAllDiagrams(), 1316);
    std::vector<StudioAppPrivate::ModelEntry> removed;
    removed.swap(d->models);
    for (const StudioAppPrivate::ModelEntry& entry : removed)
        if (entry.model.isValid())
            d->raise(ModelRemovedEvent(&entry.model));
}

bool StudioApp::hasModel(const VELD::Model& model) const {
    return !model.isNull() && d->applicationOf(model) != nullptr;
}

TAVI::GList<VELD::Model> StudioApp::allModels() const {
    TAVI::GList<VELD::Model> models;
    for (const StudioAppPrivate::ModelEntry& entry : d->models)
        models.append(entry.model);
    return models;
}

VELD::Model StudioApp::getActiveModel() {
    if (d->activeEditor) {
        const Diagram diagram = d->activeEditor->getDiagram();
        if (!diagram.isNull() && diagram.isValid())
            return rootOf(diagram);
    }
    return d->models.empty() ? VELD::Model() : d->models.front().model;
}

// --- editors -------------------------------------------------------------------------------------

Editor* StudioApp::openEditor(const Diagram& diagram, TAVI::ErrorHolder& errors) {
    if (!d->ready("openEditor", errors))
        return nullptr;
    if (diagram.isNull() || !diagram.isValid()) {
        fail(errors, "StudioApp::openEditor: the diagram is not a live diagram",
             "KITE_InvalidDiagram");
        return nullptr;
    }
    AbstractKiteDomain* domain = nullptr;
    {
        TAVI::ErrorHolder lookup; // no domain is the editor's creation to report
        domain = DomainRegistry::instance()->getStaticDomainForModel(rootOf(diagram), lookup);
    }
    if (internalGetEditorOpenType() == EditorOpenType::NEW_WINDOW)
        return d->openInNewWindow(diagram, errors);
    return d->openHere(diagram, domain, errors);
}

Editor* StudioApp::getEditor(const ImmutableDiagram& diagram, TAVI::ErrorHolder&) {
    return d->chaperone->find(diagram);
}

bool StudioApp::closeEditor(const ImmutableDiagram& diagram, TAVI::ErrorHolder& errors) {
    Editor* editor = d->chaperone->find(diagram);
    if (!editor)
        return false;
    TAVI::GList<Editor*> one;
    one.append(editor);
    d->closeEditors(one, errors);
    return true;
}

int StudioApp::closeAllEditors(TAVI::ErrorHolder& errors) {
    int count = 0;
    for (const ImmutableDiagram& diagram : d->chaperone->getAllDiagrams()) {
        if (Editor* editor = d->chaperone->find(diagram)) {
            TAVI::GList<Editor*> one;
            one.append(editor);
            count += d->closeEditors(one, errors);
        }
    }
    return count;
}

TAVI::GList<Editor*> StudioApp::getAllEditors() const {
    return d->chaperone->getAllEditors();
}

TAVI::GList<ImmutableDiagram> StudioApp::getListOfDiagrams() const {
    return d->chaperone->getAllDiagrams();
}

Editor* StudioApp::getActiveEditor() const {
    return d->activeEditor;
}

void StudioApp::setActiveEditor(Editor* editor) {
    // Only an editor the studio holds: any other could be freed behind its back.
    if (editor && d->chaperone->diagramOf(editor).isNull())
        return;
    d->activeEditor = editor;
}

void StudioApp::setEditorTabTitle(Editor* editor, const std::string& title) {
    PLATFORM::StudioFrameworkService* framework = d->ready();
    if (!framework || !editor)
        return;
    TAVI::ErrorHolder ignored;
    const std::uint32_t index = framework->getTabIndex(editor, ignored);
    if (index != PLATFORM::StudioFrameworkService::NoTab)
        framework->setTabTitle(index, title, ignored);
}

Editor* StudioApp::createEditorOfType(PLATFORM::Studio*, const Diagram& diagram,
                                      const std::string& typeName, const std::string& componentName,
                                      TAVI::ErrorHolder& errors) {
    PLATFORM::StudioFrameworkService* framework = d->ready("createEditorOfType", errors);
    if (!framework)
        return nullptr;
    PLATFORM::StudioComponentBase* component =
        framework->createComponent(typeName, componentName, errors);
    if (!component)
        return nullptr;
    auto* editor = dynamic_cast<Editor*>(component);
    if (!editor) {
        fail(errors,
             "StudioApp::createEditorOfType: components of type " + typeName + " are not editors",
             kNoEditorId);
        TAVI::ErrorHolder ignored;
        framework->removeComponent(component, ignored);
        return nullptr;
    }
    editor->setDiagram(diagram);
    return editor;
}

void StudioApp::handleTabClosed(PLATFORM::Util::IntRequest request) {
    PLATFORM::StudioFrameworkService* framework = d->ready();
    if (!framework || request.getValue() < 0)
        return;
    TAVI::ErrorHolder errors;
    const std::vector<PLATFORM::StudioComponentBase*> shown =
        framework->getTabComponents(static_cast<std::uint32_t>(request.getValue()), errors);
    if (shown.size() != 1)
        return;
    if (auto* editor = dynamic_cast<Editor*>(shown.front()))
        closeEditor(d->chaperone->diagramOf(editor), errors);
}

// --- components and window -----------------------------------------------------------------------

PLATFORM::StudioComponentBase* StudioApp::createComponent(const std::string& typeName,
                                                          const std::string& name,
                                                          const std::string& area,
                                                          const std::string& position) {
    PLATFORM::StudioFrameworkService* framework = d->ready();
    if (!framework)
        return nullptr;
    TAVI::ErrorHolder errors; // a component that cannot be made or placed is no failure here
    PLATFORM::StudioComponentBase* component = framework->createComponent(typeName, name, errors);
    if (component)
        framework->placeComponent(component, area, position, errors);
    return component;
}

PLATFORM::StudioComponentBase* StudioApp::getOrCreateComponent(const std::string& typeName,
                                                               const std::string& name,
                                                               const std::string& area,
                                                               const std::string& position) {
    if (PLATFORM::StudioComponentBase* existing = getComponent(name))
        return existing;
    return createComponent(typeName, name, area, position);
}

PLATFORM::StudioComponentBase* StudioApp::getComponent(const std::string& name) const {
    PLATFORM::StudioFrameworkService* framework = d->ready();
    TAVI::ErrorHolder ignored;
    return framework ? framework->getComponent(name, ignored) : nullptr;
}

bool StudioApp::isVisible(const std::string& name) const {
    PLATFORM::StudioComponentBase* component = getComponent(name);
    return component && component->isVisible();
}

void StudioApp::show(const std::string& name) {
    if (PLATFORM::StudioComponentBase* component = getComponent(name)) {
        TAVI::ErrorHolder ignored;
        d->framework->showComponent(component, ignored);
    }
}

void StudioApp::hide(const std::string& name) {
    if (PLATFORM::StudioComponentBase* component = getComponent(name)) {
        TAVI::ErrorHolder ignored;
        d->framework->hideComponent(component, ignored);
    }
}

void StudioApp::setStudioTitle(const std::string& title) {
    if (PLATFORM::StudioFrameworkService* framework = d->ready())
        framework->setTitle(title);
}

void StudioApp::setStudioTitleBarIcon(const std::string& file) {
    if (d->ready())
        if (PLATFORM::StudioWindow* window = getStudio()->getWindow())
            window->setIcon(file);
}

void StudioApp::showContextMenu(const std::string& menuName, double x, double y) {
    if (PLATFORM::StudioFrameworkService* framework = d->ready())
        framework->showContextMenu(menuName,
                                   PLATFORM::StudioFrameworkService::toScreenCoordinate(x),
                                   PLATFORM::StudioFrameworkService::toScreenCoordinate(y));
}

void StudioApp::addDIGSchema(const std::string& menuName, const std::string& definition) {
    if (PLATFORM::StudioFrameworkService* framework = d->ready())
        framework->addDIGSchema(menuName, definition);
}

// --- presentation --------------------------------------------------------------------------------

const boost::shared_ptr<GetIconBase>& StudioApp::getIconController() const {
    return d->iconController;
}

void StudioApp::setIconController(const boost::shared_ptr<GetIconBase>& controller) {
    if (controller == d->iconController)
        return;
    d->iconController = controller;
    iconControllerChanged.send(controller);
}

const boost::shared_ptr<ElementDescriberBase>& StudioApp::getElementDescriber() const {
    return d->elementDescriber;
}

void StudioApp::setElementDescriber(const boost::shared_ptr<ElementDescriberBase>& describer) {
    if (describer == d->elementDescriber)
        return;
    d->elementDescriber = describer;
    elementDescriberChanged.send(describer);
}

NIMB::Emitter<boost::shared_ptr<GetIconBase>>& StudioApp::getIconControllerChangedSignal() {
    return iconControllerChanged;
}

NIMB::Emitter<boost::shared_ptr<ElementDescriberBase>>&
StudioApp::getElementDescriberChangedSignal() {
    return elementDescriberChanged;
}

void StudioApp::populateIconManager() {
    if (d->iconController)
        d->iconController->populateIconManager();
}

std::string StudioApp::getIconForTypeName(const VELD::ImmutableType& type) {
    return d->iconController ? d->iconController->getNameGivenType(type) : std::string();
}

std::string StudioApp::getIconTagForTypeName(const VELD::ImmutableType& type) {
    return d->iconController ? d->iconController->getTagGivenType(type)
                             : std::string("KITE:Unknown");
}

namespace {
std::string describe(const boost::shared_ptr<ElementDescriberBase>& describer,
                     const VELD::ImmutableObject& object, unsigned int nameOnly) {
    if (describer && object.isClassObject() && object.asClassObject().isValid())
        return describer->describe(object.asClassObject(), nameOnly);
    return object.toString();
}
} // namespace

std::string StudioApp::describeObject(const VELD::ImmutableObject& object) {
    return describe(d->elementDescriber, object, 0);
}

std::string StudioApp::describeEditableObject(const VELD::ImmutableObject& object) {
    return describe(d->elementDescriber, object, 1);
}

// --- filters -------------------------------------------------------------------------------------

bool StudioApp::setFilter(const std::string& name,
                          const boost::shared_ptr<Util::FilterBase>& filter) {
    if (name.empty())
        return false;
    const auto found = d->filters.find(name);
    if (found == d->filters.end()) {
        d->filters.emplace(name, FilterEntry{name, getDefaultFilterMode(name), filter});
        return true;
    }
    if (found->second.filter == filter)
        return false;
    found->second.filter = filter;
    return true;
}

boost::shared_ptr<Util::FilterBase> StudioApp::getFilter(const std::string& name) const {
    const auto found = d->filters.find(name);
    return found == d->filters.end() ? boost::shared_ptr<Util::FilterBase>() : found->second.filter;
}

bool StudioApp::setFilterMode(const std::string& name, const std::string& mode) {
    if (name.empty())
        return false;
    const auto found = d->filters.find(name);
    if (found == d->filters.end()) {
        d->filters.emplace(name, FilterEntry{name, mode, {}});
        return true;
    }
    if (found->second.mode == mode)
        return false;
    found->second.mode = mode;
    return true;
}

const std::string& StudioApp::getFilterMode(const std::string& name) const {
    static const std::string none;
    const auto found = d->filters.find(name);
    return found == d->filters.end() ? none : found->second.mode;
}

bool StudioApp::setFilterModeQUASAR(const std::string& name, const std::string& mode) {
    return setFilterMode(name.empty() ? std::string(studioFilterName) : name, mode);
}

std::string StudioApp::getFilterModeQUASAR(const std::string& name) const {
    return getFilterMode(name.empty() ? std::string(studioFilterName) : name);
}

VELD::Sequence<VELD::ImmutableClass>
StudioApp::getFilteredChildrenTypes(const VELD::ImmutableClass& type) {
    VELD::Sequence<VELD::ImmutableClass> result =
        VELD::MakeSequence::create<VELD::ImmutableClass>();
    if (type.isNull() || !type.isValid())
        return result;
    const std::string mode = getFilterMode(studioFilterName);
    const boost::shared_ptr<Util::FilterBase> propertyFilter = getFilter(contextPropertyFilterName);
    const boost::shared_ptr<Util::FilterBase> typeFilter = getFilter(contextPropertyTypeFilterName);
    const VELD::ImmutableSequence<VELD::ImmutableProperty> properties =
        propertyFilter ? propertyFilter->execute(type, mode) : type.getAllAttributes();
    for (const VELD::ImmutableProperty& property : properties) {
        const VELD::ImmutableType propertyType = property.getType();
        if (propertyType.isNull() || !propertyType.isClass())
            continue;
        VELD::Sequence<VELD::ImmutableClass> classes =
            VELD::MakeSequence::create<VELD::ImmutableClass>();
        VELD::getAllSubClasses(VELD::ImmutableClass(propertyType), classes, true);
        if (typeFilter)
            classes = typeFilter->executePropertyFilter(type, property, classes, mode);
        for (const VELD::ImmutableClass& cls : classes)
            result.append(cls);
    }
    return result;
}

// --- services ------------------------------------------------------------------------------------

TransactionCompletedEventService* StudioApp::getTransactionCompletedEventService() const {
    return d->services.transactionCompleted.get();
}

TreeSelectionChangedEventService* StudioApp::getTreeSelectionChangedEventService() const {
    return d->services.treeSelectionChanged.get();
}

FilterModeChangedEventService* StudioApp::getFilterModeChangedEventService() const {
    return d->services.filterModeChanged.get();
}

ActiveEditorChangedEventService* StudioApp::getActiveEditorChangedEventService() const {
    return d->services.activeEditorChanged.get();
}

NavigateUpRequestService* StudioApp::getNavigateUpRequestService() {
    return d->services.navigateUpRequest.get();
}

EditorSelectionChangedEventService* StudioApp::getEditorSelectionChangedEventService() {
    return d->services.editorSelectionChanged.get();
}

ModelAddedEventService* StudioApp::getModelAddedEventService() const {
    return d->services.modelAdded.get();
}

ModelRemovedEventService* StudioApp::getModelRemovedEventService() const {
    return d->services.modelRemoved.get();
}

EditorClosedEventService* StudioApp::getEditorClosedEventService() const {
    return d->services.editorClosed.get();
}

StudioClosedEventService* StudioApp::getStudioClosedEventService() const {
    return d->services.studioClosed.get();
}

PLATFORM::StudioFrameworkService* StudioApp::getStudioFrameworkService() const {
    return d->framework.get();
}

// --- the link ------------------------------------------------------------------------------------

void StudioApp::handleModelChanges(const ModelChangeReport& report) {
    if (!d->ready())
        return;
    const StudioAppPrivate::Handling handling(d);
    TAVI::GList<Editor*> toClose;
    if (!d->chaperone->isEmpty()) {
        // An object's identity is that of its state before: only a diagram can be found.
        for (const VELD::ImmutableClassObject& removed : report.getRemoved())
            if (Editor* editor = d->chaperone->find(removed))
                toClose.append(editor);
    }
    toClose = getAllEditorsToClose(toClose);
    TAVI::ErrorHolder errors;
    if (!toClose.isEmpty())
        d->closeEditors(toClose, errors);
    if (errors.hasError())
        zuReportAssertion(": !erh.hasError(),", kSource, 986, "closeEditor failed", errors.what());
    onTransactionCompleted(report);
    d->raise(TransactionCompletedEvent(&report));
}

bool StudioApp::setActiveEditorContextMenuTarget(const ImmutableDiagramElement& element) {
    if (!d->activeEditor)
        return false;
    d->activeEditor->setContextMenuTarget(element);
    return true;
}

} // namespace KITE
