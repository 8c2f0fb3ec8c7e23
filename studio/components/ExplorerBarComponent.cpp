#include "studio/components/ExplorerBarComponent.hpp"

#include "editor/Editor.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/KITEExplorerBar2.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeComponentDelegate.hpp"
#include "studio/components/TreeViewModel.hpp"

namespace KITE {

namespace {

template <typename E>
void connectBar(ExplorerBarComponent* owner, NIMB::Emitter<E>& emitter,
                void (ExplorerBarComponent::*handler)(E)) {
    NIMB::ConnectionWriteLocker lock;
    NIMB::Thread* host = NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName);
    new NIMB::ConnectionImpl1<ExplorerBarComponent, E>(
        owner, emitter, host ? host : NIMB::Thread::getCurrentThread(), handler);
}

} // namespace

ExplorerBarComponent::ExplorerBarComponent(PLATFORM::Studio* studio, const std::string& name)
    : StudioComponentBase(studio, name),
      studioApp(studio ? dynamic_cast<StudioApp*>(studio->getApp()) : nullptr) {}

ExplorerBarComponent* ExplorerBarComponent::create(PLATFORM::Studio* studio,
                                                   const std::string& name) {
    return new ExplorerBarComponent(studio, name);
}

bool ExplorerBarComponent::registerFactory(TAVI::ErrorHolder& errors) {
    return PLATFORM::StudioComponentFactoryManager::instance()->registerOnce(
        TAVI::StringID(typeName),
        [](PLATFORM::Studio* studio, const std::string& name) -> PLATFORM::StudioComponentBase* {
            return create(studio, name);
        },
        errors);
}

ExplorerBarComponent::~ExplorerBarComponent() {
    disconnect();
    delete bar;
}

void ExplorerBarComponent::initialize(TAVI::ErrorHolder& errors) {
    StudioComponentBase::initialize(errors);
    if (bar)
        return;
    bar = new KITEExplorerBar2("qt");
    tree = studioApp
               ? dynamic_cast<TreeComponent*>(studioApp->getComponent(StudioApp::treeComponentName))
               : nullptr;
    setTreeViewModel(getTreeViewModel());
    const unsigned row = tree && tree->getTreeViewModel()
                             ? tree->getTreeViewModel()->getRow(tree->getSelected())
                             : 0;
    if (row == 0) {
        bar->resetCurrent();
        bar->rebuild();
    } else {
        bar->setCurrent(row);
    }
    connectBar(this, bar->expandRequested, &ExplorerBarComponent::handleTreeExpand);
    connectBar(this, bar->selectionChanged, &ExplorerBarComponent::handleTreeSelectionChanged);
    if (studioApp) {
        if (auto* s = studioApp->getActiveEditorChangedEventService())
            s->connect(this, &ExplorerBarComponent::handleActiveEditorChanged);
        if (auto* s = studioApp->getTreeSelectionChangedEventService())
            s->connect(this, &ExplorerBarComponent::handleTreeSelectionChangeEvent);
    }
}

void ExplorerBarComponent::terminate(TAVI::ErrorHolder& errors) {
    disconnect();
    delete bar;
    bar = nullptr;
    tree = nullptr;
    StudioComponentBase::terminate(errors);
}

TAVI::GLWidget2* ExplorerBarComponent::getWidget() {
    return bar;
}

std::string ExplorerBarComponent::getDisplayTitle() const {
    return "Explorer Bar";
}

std::string ExplorerBarComponent::getTypeName() const {
    return typeName;
}

TreeViewModel* ExplorerBarComponent::getTreeViewModel() const {
    return tree ? tree->getTreeViewModel() : nullptr;
}

void ExplorerBarComponent::setTreeViewModel(TreeViewModel* model) {
    if (bar)
        bar->setViewModel(model);
}

void ExplorerBarComponent::handleTreeExpand(TAVI::GLTreeExpandEvent2 event) {
    if (TreeViewModel* model = getTreeViewModel(); model && model->hasRow(event.rowUID()))
        model->expandRow(event.rowUID());
}

void ExplorerBarComponent::handleTreeSelectionChanged(TAVI::GLViewSelectionChangeEvent2) {
    TreeViewModel* model = getTreeViewModel();
    if (!bar || !model || !tree || !studioApp)
        return;
    const VELD::ClassObject object = model->getObject(bar->getCurrent());
    if (!object.isValid())
        return;
    if (TreeSelectionChangedEventService* service =
            studioApp->getTreeSelectionChangedEventService())
        service->raise(TreeSelectionChangedEvent(object, tree->getName(), SelectionTrigger::User));
    bar->setFocus();
}

void ExplorerBarComponent::handleActiveEditorChanged(ActiveEditorChangedEvent) {}

void ExplorerBarComponent::handleTreeSelectionChangeEvent(TreeSelectionChangedEvent event) {
    const VELD::ClassObject object = event.lastSelection();
    if (!object.isValid() || !bar || !tree || !studioApp)
        return;
    Editor* active = studioApp->getActiveEditor();
    TAVI::ErrorHolder ignored;
    if (!active || active->getExplorerBar(ignored) != this)
        return; // only the active editor's bar follows
    if (!tree->getDelegate()->respondToTreeSelectionChangedEvent(event))
        return;
    TreeViewModel* model = getTreeViewModel();
    unsigned row = model ? model->getRow(object) : 0;
    if (row == 0) {
        tree->handleTreeSelectionChangeEvent(event);
        row = model ? model->getRow(object) : 0;
        if (row == 0)
            return;
    }
    if (row == bar->getCurrent())
        return;
    bar->resetCurrent();
    bar->rebuild();
    bar->setCurrent(row);
}

} // namespace KITE
