#include "studio/components/PropBrowserComponent.hpp"

#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentFactory.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/veld/Model.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/PropBrowserConnect_p.hpp"
#include "studio/components/PropBrowserDelegate.hpp"
#include "studio/components/PropBrowserEditor.hpp"
#include "studio/components/PropBrowserViewModel.hpp"

#include <QPointer>
#include <QWidget>

#include <memory>

namespace KITE {

class PropBrowserComponentPrivate {
public:
    explicit PropBrowserComponentPrivate(PropBrowserComponent* q) : q(q) {}

    // The view, while its Qt widget lives: a window that goes takes a placed view with it.
    TAVI::GLTreeView2* liveView() const { return viewWidget ? view : nullptr; }
    void applyDelegateSettings() {
        TAVI::GLTreeView2* shownIn = liveView();
        if (!shownIn || !model)
            return;
        shownIn->setEditTriggers(model->getDelegate()->getEditTrigger());
        shownIn->setAlternatingRowColors(model->getDelegate()->alternateRowColors());
    }
    void closeEditors() {
        if (model)
            model->closeEditors(); // their widgets leave the view with them
    }
    unsigned rowOf(const VELD::ImmutableProperty& property, const VELD::ClassObject& object,
                   int index) const {
        if (!model)
            return 0;
        const VELD::ImmutableClassObject owner =
            object.isValid() ? VELD::ImmutableClassObject(object) : model->getObject();
        return model->findRow(owner, property, index);
    }

    PropBrowserComponent* q;
    TAVI::GLTreeView2* view = nullptr; // owned while its Qt widget lives
    QPointer<QWidget> viewWidget;
    TAVI::Holder<PropBrowserViewModel> model;
    // The delegate set before the view model exists; handed to it at initialize.
    std::unique_ptr<PropBrowserDelegate> pendingDelegate;
    StudioApp* app = nullptr; // not owned
    VELD::ClassObject object;
};

namespace {

// The object as the model itself holds it: selections may name it through a working copy.
VELD::ClassObject inRoot(const VELD::ClassObject& object) {
    if (!object.isValid())
        return object;
    return VELD::ClassObject(object.asDeviant(object.getRootModel()));
}

} // namespace

PropBrowserComponent::PropBrowserComponent(PLATFORM::Studio* studio, const std::string& name)
    : PLATFORM::StudioComponentBase(studio, name), d(new PropBrowserComponentPrivate(this)) {
    d->app = studio ? dynamic_cast<StudioApp*>(studio->getApp()) : nullptr;
}

PropBrowserComponent::~PropBrowserComponent() {
    disconnect();
    if (d->model)
        d->model->clearAll();
    if (TAVI::GLTreeView2* view = d->liveView()) {
        view->setModel(TAVI::Holder<TAVI::GLAbstractViewModel2>());
        delete view;
    }
    delete d;
}

PropBrowserComponent* PropBrowserComponent::create(PLATFORM::Studio* studio,
                                                   const std::string& name) {
    return new PropBrowserComponent(studio, name);
}

bool PropBrowserComponent::registerFactory(TAVI::ErrorHolder& errors) {
    return PLATFORM::StudioComponentFactoryManager::instance()->registerObject(
        TAVI::Holder<PLATFORM::StudioComponentFactory>(new PLATFORM::StudioComponentFactory(
            TAVI::StringID(staticGetTypeName()),
            [](PLATFORM::Studio* studio, const std::string& name)
                -> PLATFORM::StudioComponentBase* { return create(studio, name); })),
        errors);
}

void PropBrowserComponent::initialize(TAVI::ErrorHolder& errors) {
    PLATFORM::StudioComponentBase::initialize(errors);
    if (d->liveView())
        return; // once
    d->view = new TAVI::GLTreeView2("qt");
    d->viewWidget = d->view->getQWidget();
    d->view->setColumnsMovable(false);
    d->model = new PropBrowserViewModel(d->app);
    if (d->pendingDelegate)
        d->model->setDelegate(d->pendingDelegate.release());
    d->view->setModel(d->model.staticCast<TAVI::GLAbstractViewModel2>());
    d->model->show(VELD::ClassObject()); // the two columns, no rows

    if (d->app) {
        if (auto* service = d->app->getTreeSelectionChangedEventService())
            service->connect(this, &PropBrowserComponent::handleTreeSelectionChanged);
        if (auto* service = d->app->getEditorSelectionChangedEventService())
            service->connect(this, &PropBrowserComponent::handleEditorSelectionChanged);
        if (auto* service = d->app->getTransactionCompletedEventService())
            service->connect(this, &PropBrowserComponent::handleModelTransactionCompleted);
        if (auto* service = d->app->getFilterModeChangedEventService())
            service->connect(this, &PropBrowserComponent::handleFilterModeChanged);
    }
    NIMB::Thread* host = PropBrowserConnect::hostThread();
    PropBrowserConnect::connect<TAVI::GLTreeExpandEvent2>(
        this, d->view->getExpandEmitter(), &PropBrowserComponent::handlePropertyExpand, host);
    PropBrowserConnect::connect<TAVI::GLTreeCollapseEvent2>(
        this, d->view->getCollapseEmitter(), &PropBrowserComponent::handlePropertyCollapse, host);
    PropBrowserConnect::connect<TAVI::GLEditRequestEvent2>(
        this, d->view->getEditRequestEmitter(), &PropBrowserComponent::handleEditRequest, host);
    PropBrowserConnect::connect<TAVI::GLEditCompleteEvent2>(
        this, d->view->getEditCompleteEmitter(), &PropBrowserComponent::handleEditComplete, host);
    d->applyDelegateSettings();
}

void PropBrowserComponent::terminate(TAVI::ErrorHolder& errors) {
    disconnect();
    if (d->model) {
        // The delegate goes with the view model: a later initialize starts with the default.
        d->model->clearAll();
        if (TAVI::GLTreeView2* view = d->liveView())
            view->setModel(TAVI::Holder<TAVI::GLAbstractViewModel2>());
        d->model.reset();
    }
    d->object = VELD::ClassObject();
    PLATFORM::StudioComponentBase::terminate(errors);
}

TAVI::GLWidget2* PropBrowserComponent::getWidget() {
    return d->liveView();
}

std::string PropBrowserComponent::getDisplayTitle() const {
    const PropBrowserDelegate* delegate = getDelegate();
    return delegate ? delegate->getBrowserTitle(getObject()) : std::string("Properties");
}

TAVI::GLWidget2* PropBrowserComponent::getDefaultFocusWidget() {
    return d->liveView();
}

const char* PropBrowserComponent::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

std::string PropBrowserComponent::getTypeName() const {
    return staticGetTypeName();
}

void PropBrowserComponent::setDelegate(PropBrowserDelegate* delegate) {
    if (!delegate)
        return;
    if (!d->model) {
        if (delegate != d->pendingDelegate.get())
            d->pendingDelegate.reset(delegate);
        return;
    }
    d->model->setDelegate(delegate);
    d->applyDelegateSettings();
}

PropBrowserDelegate* PropBrowserComponent::getDelegate() const {
    return d->model ? d->model->getDelegate() : d->pendingDelegate.get();
}

void PropBrowserComponent::refresh(const VELD::ClassObject& object) {
    if (!d->model)
        return;
    d->closeEditors();
    const VELD::ClassObject shown = inRoot(object);
    d->model->show(shown);
    if (PLATFORM::Studio* studio = getStudio()) {
        TAVI::ErrorHolder ignored; // a component that is not placed has no title to change
        if (PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService())
            framework->retitleComponent(this, ignored);
    }
    d->object = shown;
}

VELD::ClassObject PropBrowserComponent::getObject() const {
    return d->model ? d->model->getObject() : VELD::ClassObject();
}

TAVI::GLTreeView2* PropBrowserComponent::getTreeView() const {
    return d->liveView();
}

PropBrowserViewModel* PropBrowserComponent::getViewModel() const {
    return d->model.get();
}

StudioApp* PropBrowserComponent::getStudioApp() const {
    return d->app;
}

void PropBrowserComponent::handleTreeSelectionChanged(TreeSelectionChangedEvent event) {
    const VELD::ClassObject selection = event.lastSelection();
    if (!selection.isValid()) {
        refresh(selection);
        return;
    }
    const VELD::ClassObject item = getDelegate()->getItemToSelect(selection);
    if (item.isValid())
        refresh(item);
}

void PropBrowserComponent::handleEditorSelectionChanged(EditorSelectionChangedEvent event) {
    const VELD::ClassObject item = getDelegate()->getItemToSelect(event.lastSelection());
    if (item.isValid())
        refresh(item);
}

void PropBrowserComponent::handleModelTransactionCompleted(TransactionCompletedEvent event) {
    if (!d->model)
        return;
    const ModelChangeReport* report = event.getReport();
    // Diagram elements alone changing leaves the rows as they are, unless the rows show one of
    // them: a block's position must not stay stale beside the moved block.
    if (getDelegate()->shouldRefreshFromReportOfChanges(report) ||
        d->model->showsChangedObject(report))
        refresh(d->model->getObject());
}

void PropBrowserComponent::handleFilterModeChanged(FilterModeChangedEvent) {
    if (!d->model)
        return;
    d->object = VELD::ClassObject();
    refresh(d->model->getObject());
}

void PropBrowserComponent::handlePropertyExpand(TAVI::GLTreeExpandEvent2 event) {
    if (d->model)
        d->model->expandRow(event.rowUID());
}

void PropBrowserComponent::handlePropertyCollapse(TAVI::GLTreeCollapseEvent2) {}

void PropBrowserComponent::handleEditRequest(TAVI::GLEditRequestEvent2 event) {
    if (!d->model)
        return;
    d->closeEditors();
    if (event.columnUID() != d->model->getValueColumn())
        return;
    TAVI::GLWidget2* editor = d->model->createEditor(event.rowUID());
    if (editor && event.view())
        event.view()->setEditor(event.rowUID(), event.columnUID(), editor);
}

void PropBrowserComponent::handleEditComplete(TAVI::GLEditCompleteEvent2 event) {
    if (!d->model)
        return;
    const unsigned row = event.rowUID();
    const std::unique_ptr<PropBrowserEditor> editor(d->model->takeEditor(row));
    if (!editor)
        return;
    // The commit's transaction brings the rows up to date through the studio's event.
    if (event.isCommitted())
        editor->commit();
    const std::string refused = editor->getError();
    if (!refused.empty()) {
        d->model->beginTransaction();
        d->model->showRefusal(row, refused);
        d->model->endTransaction();
    }
}

void PropBrowserComponent::discardChangesAndCloseEditor(const PropBrowserProperty& record) {
    if (d->model)
        d->model->discardEditor(record);
}

std::string
PropBrowserComponent::testAPI_GetLabelOfProperty(const VELD::ImmutableProperty& property) const {
    return testAPI_GetLabelOfProperty(property, VELD::ClassObject(), -1);
}

std::string
PropBrowserComponent::testAPI_GetLabelOfProperty(const VELD::ImmutableProperty& property,
                                                 const VELD::ClassObject& object, int index) const {
    const unsigned row = d->rowOf(property, object, index);
    return row ? d->model->getText(row, d->model->getNameColumn()) : std::string(notFound);
}

std::string
PropBrowserComponent::testAPI_GetValueOfProperty(const VELD::ImmutableProperty& property) const {
    return testAPI_GetValueOfProperty(property, VELD::ClassObject(), -1);
}

std::string
PropBrowserComponent::testAPI_GetValueOfProperty(const VELD::ImmutableProperty& property,
                                                 const VELD::ClassObject& object, int index) const {
    const unsigned row = d->rowOf(property, object, index);
    return row ? d->model->getText(row, d->model->getValueColumn()) : std::string(notFound);
}

bool PropBrowserComponent::testAPI_IsPropertyReadonly(
    const VELD::ImmutableProperty& property) const {
    return testAPI_IsPropertyReadonly(property, VELD::ClassObject(), -1);
}

bool PropBrowserComponent::testAPI_IsPropertyReadonly(const VELD::ImmutableProperty& property,
                                                      const VELD::ClassObject& object,
                                                      int index) const {
    const unsigned row = d->rowOf(property, object, index);
    return row ? d->model->isReadOnly(row, d->model->getValueColumn()) : true;
}

} // namespace KITE
