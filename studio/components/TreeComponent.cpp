#include "studio/components/TreeComponent.hpp"

#include "editor/Editor.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/TreeComponentDelegate.hpp"
#include "studio/components/TreeViewModel.hpp"

#include <algorithm>
#include <cctype>
#include <exception>

namespace KITE {

namespace {

constexpr int kTestKeyCode = 0x1FFFFFF; // a key no keyboard has: a click with modifiers held
constexpr int kStatusTimeoutMs = 10000;

NIMB::Thread* hostThread() {
    NIMB::Thread* host = NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName);
    return host ? host : NIMB::Thread::getCurrentThread();
}

template <typename E>
void connectView(TreeComponent* owner, NIMB::Emitter<E>& emitter,
                 void (TreeComponent::*handler)(E)) {
    NIMB::ConnectionWriteLocker lock;
    new NIMB::ConnectionImpl1<TreeComponent, E>(owner, emitter, hostThread(), handler);
}

// Sets a flag for the length of a scope, whatever leaves it.
class Raised {
public:
    explicit Raised(bool& flag) : flag(flag), was(flag) { flag = true; }
    ~Raised() { flag = was; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag;
    bool was;
};

} // namespace

TreeComponent::TreeComponent(PLATFORM::Studio* studio, const std::string& name)
    : StudioComponentBase(studio, name),
      studioApp(studio ? dynamic_cast<StudioApp*>(studio->getApp()) : nullptr) {}

TreeComponent* TreeComponent::create(PLATFORM::Studio* studio, const std::string& name) {
    return new TreeComponent(studio, name);
}

bool TreeComponent::registerFactory(TAVI::ErrorHolder& errors) {
    return PLATFORM::StudioComponentFactoryManager::instance()->registerOnce(
        TAVI::StringID(typeName),
        [](PLATFORM::Studio* studio, const std::string& name) -> PLATFORM::StudioComponentBase* {
            return create(studio, name);
        },
        errors);
}

TreeComponent::~TreeComponent() {
    disconnect();
    if (viewModel)
        viewModel->disconnect();
    delete view;
}

void TreeComponent::initialize(TAVI::ErrorHolder& errors) {
    StudioComponentBase::initialize(errors);
    if (view)
        return; // once
    view = new TAVI::GLTreeView2("qt");
    view->setHeaderVisible(false);
    view->setSelectionMode(TAVI::GLAbstractView2::SingleSelection);
    viewModel = new TreeViewModel(getStudio());
    view->setModel(viewModel);
    getDelegate()->initialize();
    view->setEditTriggers(getDelegate()->getEditTrigger());
    view->setColor(TAVI::GLWidget2::BaseColor, getDelegate()->getTreeBgColor());
    selected = VELD::ClassObject();

    connectView(this, view->getExpandEmitter(), &TreeComponent::handleTreeExpand);
    connectView(this, view->getCollapseEmitter(), &TreeComponent::handleTreeCollapse);
    connectView(this, view->getSelectionChangeEmitter(),
                &TreeComponent::handleTreeSelectionChanged);
    connectView(this, view->getContextMenuEmitter(), &TreeComponent::handleTreeContextMenu);
    connectView(this, view->getEditRequestEmitter(), &TreeComponent::handleEditRequest);
    connectView(this, view->getEditCompleteEmitter(), &TreeComponent::handleEditComplete);
    connectView(this, view->getKeyPressEmitter(), &TreeComponent::handleKeyPressed);
    connectView(this, view->getKeyReleaseEmitter(), &TreeComponent::handleKeyReleased);
    if (studioApp) {
        // Each connects under the write lock, bound to "QUASAR".
        if (auto* s = studioApp->getTransactionCompletedEventService())
            s->connect(this, &TreeComponent::handleTransactionCompleted);
        if (auto* s = studioApp->getEditorSelectionChangedEventService())
            s->connect(this, &TreeComponent::handleEditorSelectionChanged);
        if (auto* s = studioApp->getActiveEditorChangedEventService())
            s->connect(this, &TreeComponent::handleActiveEditorChanged);
        if (auto* s = studioApp->getModelAddedEventService())
            s->connect(this, &TreeComponent::handleModelAdded);
        if (auto* s = studioApp->getModelRemovedEventService())
            s->connect(this, &TreeComponent::handleModelRemoved);
        if (auto* s = studioApp->getTreeSelectionChangedEventService())
            s->connect(this, &TreeComponent::handleTreeSelectionChangeEvent);
        if (auto* s = studioApp->getEditorClosedEventService())
            s->connect(this, &TreeComponent::handleEditorClosedEvent);
    }
    refresh();
}

void TreeComponent::terminate(TAVI::ErrorHolder& errors) {
    selected = VELD::ClassObject();
    disconnect();
    // The view first: it gives back the line editors it holds, which the view model owns.
    delete view;
    view = nullptr;
    if (viewModel) {
        viewModel->disconnect();
        viewModel->removeEverything();
    }
    viewModel.reset();
    StudioComponentBase::terminate(errors);
}

TAVI::GLWidget2* TreeComponent::getWidget() {
    return view;
}

TAVI::GLWidget2* TreeComponent::getDefaultFocusWidget() {
    return view;
}

std::string TreeComponent::getDisplayTitle() const {
    return "Model Browser";
}

const char* TreeComponent::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

std::string TreeComponent::getTypeName() const {
    return typeName;
}

TreeComponentDelegate* TreeComponent::getDelegate() const {
    return viewModel ? viewModel->getDelegate() : nullptr;
}

void TreeComponent::setDelegate(TreeComponentDelegate* delegate) {
    if (!viewModel || !delegate)
        return;
    viewModel->setDelegate(delegate);
    if (!delegate->isInitialized())
        delegate->initialize();
    if (view) {
        view->setColor(TAVI::GLWidget2::BaseColor, delegate->getTreeBgColor());
        view->setEditTriggers(delegate->getEditTrigger());
    }
    refresh();
}

VELD::Model TreeComponent::getActiveModel() const {
    return getDelegate() ? getDelegate()->getActiveModel() : VELD::Model();
}

void TreeComponent::refresh() {
    if (!viewModel)
        return;
    const Raised guard(refreshing);
    // Rows that go take the view's selection with them: that is no choice of the user's.
    const Raised quiet(selecting);
    const VELD::Model model = getActiveModel();
    if (!model.isValid()) {
        viewModel->removeEverything();
        return;
    }
    VELD::ImmutableClassObject top = getDelegate()->getTopElement();
    if (!top.isValid())
        return; // the rows stay as they are
    // The tree shows the model itself: an editor's diagram is seen through its working copy,
    // which learns of a transaction only after the tree does.
    top = top.asDeviant(VELD::ImmutableModel(top.getModelVELD()).getRootDeviant());
    viewModel->setTop(top);
    viewModel->rebuildShown();
}

void TreeComponent::raiseSelection(const VELD::ClassObject& object, SelectionTrigger trigger) {
    if (!studioApp)
        return;
    if (TreeSelectionChangedEventService* service =
            studioApp->getTreeSelectionChangedEventService())
        service->raise(TreeSelectionChangedEvent(object, getName(), trigger));
}

void TreeComponent::reselect() {
    if (!selected.isValid())
        return;
    if (const unsigned row = viewModel->getRow(selected); row != 0 && view) {
        const Raised quiet(selecting);
        view->setSelectedRows({row});
    }
}

void TreeComponent::expandRow(unsigned rowUID) {
    if (!viewModel || !viewModel->hasRow(rowUID))
        return;
    {
        const Raised quiet(selecting);
        viewModel->expandRow(rowUID);
    }
    reselect();
}

void TreeComponent::showStatus(const std::string& message) const {
    if (PLATFORM::StudioFrameworkService* framework =
            studioApp ? studioApp->getStudioFrameworkService() : nullptr)
        framework->showStatusMessage(message, kStatusTimeoutMs);
}

void TreeComponent::editObject(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    if (row == 0 || !view)
        return;
    handleEditRequest(TAVI::GLEditRequestEvent2(view, row, viewModel->getColumn()));
}

// --- view handlers ------------------------------------------------------------------------------

void TreeComponent::handleTreeSelectionChanged(TAVI::GLViewSelectionChangeEvent2) {
    if (!view || !viewModel || selecting)
        return;
    const std::vector<unsigned> rows = view->getSelectedRows();
    const VELD::ClassObject object =
        rows.size() == 1 ? viewModel->getObject(rows.front()) : VELD::ClassObject();
    selected = object;
    if (object.isNull() || !object.isValid())
        return;
    viewModel->setBroadcasting(object);
    raiseSelection(object, SelectionTrigger::User);
    view->setFocus();
    viewModel->setBroadcasting(VELD::ClassObject());
}

void TreeComponent::handleTreeExpand(TAVI::GLTreeExpandEvent2 event) {
    expandRow(event.rowUID());
}

void TreeComponent::handleTreeCollapse(TAVI::GLTreeCollapseEvent2) {}

void TreeComponent::handleTreeContextMenu(TAVI::GLContextMenuEvent2 event) {
    if (!view || !viewModel)
        return;
    const TAVI::GLModelCellRef2 cell =
        view->getModelCellAtGlobalPosition(event.globalX(), event.globalY());
    const VELD::ClassObject object = viewModel->getObject(cell.rowUID);
    if (!cell.isValid() || !object.isValid())
        return;
    selected = object;
    const std::string tag = getDelegate()->getContextMenuTag();
    if (!tag.empty() && studioApp)
        studioApp->showContextMenu(tag, event.globalX(), event.globalY());
}

void TreeComponent::handleEditRequest(TAVI::GLEditRequestEvent2 event) {
    if (!view || !viewModel)
        return;
    if (TAVI::GLEdit2* editor = viewModel->getEditor(event.rowUID()))
        view->setEditor(event.rowUID(),
                        event.columnUID() ? event.columnUID() : viewModel->getColumn(), editor);
}

void TreeComponent::handleEditComplete(TAVI::GLEditCompleteEvent2 event) {
    if (!event.isCommitted() || !viewModel)
        return;
    TAVI::GLEdit2* editor = viewModel->getEditorIfAny(event.rowUID());
    const VELD::ClassObject object = viewModel->getObject(event.rowUID());
    if (!editor || !object.isValid())
        return;
    const std::string text = editor->getText();
    // Nothing typed, or nothing changed: no transaction for the undo history to hold.
    if (text.empty() || text == viewModel->getEditText(event.rowUID()))
        return;
    try {
        getDelegate()->setDescription(object, text);
    } catch (const std::exception& e) {
        // The transaction rolled back: the model is as it was, and the user learns why.
        showStatus(std::string("The name \"") + text + "\" was not taken: " + e.what());
    }
}

void TreeComponent::handleKeyPressed(TAVI::GLKeyEvent2 event) {
    if (getDelegate())
        getDelegate()->onKeyPressed(event);
}

void TreeComponent::handleKeyReleased(TAVI::GLKeyEvent2 event) {
    if (getDelegate())
        getDelegate()->onKeyReleased(event);
}

// --- studio events ------------------------------------------------------------------------------

void TreeComponent::handleTransactionCompleted(TransactionCompletedEvent event) {
    if (refreshing || !viewModel)
        return;
    const ModelChangeReport* report = event.getReport();
    TreeComponentDelegate* delegate = getDelegate();
    if (!delegate->refreshTreeOnTransactionCompleted(report) ||
        !delegate->shouldRefreshFromReportOfChanges(report))
        return;
    // While the tree shows the same top, only the rows of what changed need a look.
    if (report && !report->isEmpty() && viewModel->getTop().isValid() &&
        getActiveModel().isValid() && delegate->getTopElement() == viewModel->getTop()) {
        const Raised guard(refreshing);
        const Raised quiet(selecting);
        if (viewModel->rebuildChanged(*report))
            return;
    }
    refresh();
}

void TreeComponent::handleEditorSelectionChanged(EditorSelectionChangedEvent event) {
    VELD::ClassObject object = event.lastSelection();
    if (object.isValid())
        object = object.asDeviant(VELD::ImmutableModel(object.getRootModel()).getRootDeviant());
    if (!event.isSelected()) {
        raiseSelection(VELD::ClassObject(), SelectionTrigger::EditorSelection);
        return;
    }
    raiseSelection(getDelegate() ? getDelegate()->getItemToSelect(object) : object,
                   SelectionTrigger::EditorSelection);
}

void TreeComponent::handleActiveEditorChanged(ActiveEditorChangedEvent) {
    if (!studioApp || !viewModel)
        return;
    if (viewModel->getBroadcasting().isValid() &&
        studioApp->getEditorOpenType() != EditorOpenType::NEW_WINDOW)
        return;
    Editor* editor = studioApp->getActiveEditor();
    if (!editor)
        return;
    const VELD::ClassObject item =
        getDelegate()->getItemToSelect(VELD::ClassObject(editor->getDiagram()));
    if (item.isValid())
        raiseSelection(item, SelectionTrigger::ActiveEditor);
}

void TreeComponent::handleModelAdded(ModelAddedEvent) {
    if (!refreshing && getDelegate() && getDelegate()->respondToModelAdditionsAndRemoval())
        refresh();
}

void TreeComponent::handleModelRemoved(ModelRemovedEvent) {
    if (!refreshing && getDelegate() && getDelegate()->respondToModelAdditionsAndRemoval())
        refresh();
}

void TreeComponent::handleEditorClosedEvent(EditorClosedEvent) {
    if (!refreshing)
        refresh();
}

void TreeComponent::handleFilterModeChanged(const std::string&, const std::string&) {
    if (!refreshing)
        refresh();
}

void TreeComponent::handleTreeSelectionChangeEvent(TreeSelectionChangedEvent event) {
    if (event.getSource() != getName() || !viewModel || !view)
        return;
    TreeComponentDelegate* delegate = getDelegate();
    if (!delegate->respondToTreeSelectionChangedEvent(event))
        return;
    VELD::ClassObject object = event.lastSelection();
    if (object == selected || (!object.isNull() && object == viewModel->getBroadcasting()))
        return;
    if (object.isValid())
        object = delegate->getItemToSelect(object);
    unsigned row = viewModel->getRow(object);
    if (row == 0) {
        if (!object.isValid())
            return;
        refresh();
        for (const VELD::ImmutableClassObject& up :
             delegate->getParentHierarchyFor(object, viewModel->getTop())) {
            if (const unsigned upRow = viewModel->getRow(up); upRow != 0) {
                view->expand(upRow); // sends the expand event, which builds the row's children
                if (!viewModel->isExpandedRow(upRow))
                    viewModel->expandRow(upRow);
            }
        }
        object = delegate->getItemToSelect(object);
        row = viewModel->getRow(object);
        if (row == 0)
            return;
    }
    const std::vector<unsigned> now = view->getSelectedRows();
    if (now.size() == 1 && now.front() == row)
        return;
    const Raised guard(selecting);
    view->clearSelection();
    view->scrollTo(row);
    view->setSelectedRows({row});
    selected = object;
}

// --- test operations ----------------------------------------------------------------------------

std::string TreeComponent::testAPI_GetLabelOfObject(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    return row == 0 ? std::string("NOTFOUND") : viewModel->getText(row, viewModel->getColumn());
}

VELD::ClassObject TreeComponent::testAPI_GetObjectFromLabel(const std::string& label) {
    if (!viewModel)
        return {};
    for (const auto& [row, object] : viewModel->getRows())
        if (object.isValid() && getDelegate()->describeObject(object, 0) == label)
            return object;
    return {};
}

bool TreeComponent::testAPI_IsObjectReadonly(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    return !(row != 0 && object.isValid() && getDelegate()->isEditableObject(object, 0));
}

bool TreeComponent::testAPI_IsParent(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    return row != 0 && viewModel->isRowExpandable(row);
}

bool TreeComponent::testAPI_DoIconsMatch(const VELD::ClassObject& a, const VELD::ClassObject& b) {
    const unsigned rowA = viewModel ? viewModel->getRow(a) : 0;
    const unsigned rowB = viewModel ? viewModel->getRow(b) : 0;
    return rowA != 0 && rowB != 0 &&
           viewModel->getIcon(rowA, viewModel->getColumn()) ==
               viewModel->getIcon(rowB, viewModel->getColumn());
}

void TreeComponent::testAPI_Expand(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    if (row == 0 || !view)
        return;
    if (view->isExpanded(row))
        expandRow(row);
    else
        view->expand(row); // as a user would: the expand event builds the children
    if (!viewModel->isExpandedRow(row))
        expandRow(row);
}

void TreeComponent::testAPI_Collapse(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    if (row != 0 && view)
        view->collapse(row); // sends the collapse event
}

bool TreeComponent::testAPI_IsExpanded(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    return row != 0 && view && view->isExpanded(row);
}

void TreeComponent::testAPI_SetTreeSelection(const VELD::ClassObject& object) {
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    if (row == 0 || !view)
        return;
    {
        const Raised guard(selecting);
        view->clearSelection();
        view->setSelectedRows({row});
    }
    handleTreeSelectionChanged(TAVI::GLViewSelectionChangeEvent2(view));
}

void TreeComponent::testAPI_ModifiedClick(const VELD::ClassObject& object,
                                          const std::string& modifier) {
    std::string upper = modifier;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    const int mask = upper == "CTRL"    ? TAVI::GLModifier2::Control
                     : upper == "SHIFT" ? TAVI::GLModifier2::Shift
                                        : TAVI::GLModifier2::None;
    const TAVI::GLKeyEvent2 key(view, kTestKeyCode, mask, std::string(), false);
    if (getDelegate())
        getDelegate()->onKeyPressed(key);
    testAPI_SetTreeSelection(object);
    if (getDelegate())
        getDelegate()->onKeyReleased(key);
}

VELD::Sequence<VELD::ImmutableClassObject> TreeComponent::testAPI_GetVisibleObjects() {
    VELD::Sequence<VELD::ImmutableClassObject> result =
        VELD::MakeSequence::create<VELD::ImmutableClassObject>();
    if (!view || !viewModel)
        return result;
    for (unsigned row : view->getVisibleRows())
        result.append(viewModel->getObject(row));
    return result;
}

VELD::Sequence<VELD::ImmutableClassObject>
TreeComponent::testAPI_GetVisibleChildren(const VELD::ClassObject& object) {
    VELD::Sequence<VELD::ImmutableClassObject> result =
        VELD::MakeSequence::create<VELD::ImmutableClassObject>();
    const unsigned row = viewModel ? viewModel->getRow(object) : 0;
    if (row == 0 || !view)
        return result;
    for (unsigned child : viewModel->getChildRows(row))
        if (view->isRowVisible(child))
            result.append(viewModel->getObject(child));
    return result;
}

} // namespace KITE
