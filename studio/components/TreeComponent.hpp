#pragma once

#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"
#include "studio/events/StudioEvents.hpp"
#include "studio/kite_studio_export.hpp"

#include <string>

namespace TAVI {
class ErrorHolder;
class GLTreeView2;
} // namespace TAVI

namespace KITE {

class StudioApp;
class TreeComponentDelegate;
class TreeViewModel;

// The dock "Model Browser": the active model's objects as a tree, its selection in step with
// the editors and the other components through the studio events, labels renamed in place (one
// transaction each) and the domain's context menu. Made by its component factory; the studio
// application docks it. What the rows are is the delegate's to decide (setDelegate).
//
// A label the model refuses leaves the model as it was and shows the model's message in the
// studio's status area; an empty or unchanged label ends the edit with no transaction.
class KITE_STUDIO_EXPORT TreeComponent : public PLATFORM::StudioComponentBase {
public:
    static constexpr const char* noxTypeName = "KITE.TreeComponent";
    static constexpr const char* typeName = "KITE tree component";

    static TreeComponent* create(PLATFORM::Studio* studio, const std::string& name);
    // Registers the component factory of typeName once per process; true when it is there.
    static bool registerFactory(TAVI::ErrorHolder& errors);
    static std::string staticGetTypeName() { return typeName; }

    ~TreeComponent() override;
    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override;
    TAVI::GLWidget2* getWidget() override;
    TAVI::GLWidget2* getDefaultFocusWidget() override;
    std::string getDisplayTitle() const override; // "Model Browser"
    const char* getFullyQualifiedNoxTypeName() const override;
    std::string getTypeName() const override;

    TreeComponentDelegate* getDelegate() const;
    // Takes the delegate (the view model owns it), initializes it and rebuilds the rows.
    void setDelegate(TreeComponentDelegate* delegate);
    TreeViewModel* getTreeViewModel() const { return viewModel.get(); }
    TAVI::GLTreeView2* getTreeView() const { return view; }
    VELD::ClassObject getSelected() const { return selected; }
    VELD::Model getActiveModel() const;
    StudioApp* getStudioApp() const { return studioApp; }

    // Rebuilds the rows for the active model and the delegate's top element.
    void refresh();
    // Starts editing the object's label; nothing when it has no row or is not editable.
    void editObject(const VELD::ClassObject& object);

    // View handlers, public so that tests and hosts can drive them.
    void handleTreeSelectionChanged(TAVI::GLViewSelectionChangeEvent2 event);
    void handleTreeExpand(TAVI::GLTreeExpandEvent2 event);
    void handleTreeCollapse(TAVI::GLTreeCollapseEvent2 event); // nothing
    void handleTreeContextMenu(TAVI::GLContextMenuEvent2 event);
    void handleEditRequest(TAVI::GLEditRequestEvent2 event);
    void handleEditComplete(TAVI::GLEditCompleteEvent2 event);
    void handleKeyPressed(TAVI::GLKeyEvent2 event);
    void handleKeyReleased(TAVI::GLKeyEvent2 event);
    // Studio event handlers.
    void handleTransactionCompleted(TransactionCompletedEvent event);
    void handleEditorSelectionChanged(EditorSelectionChangedEvent event);
    void handleActiveEditorChanged(ActiveEditorChangedEvent event);
    void handleModelAdded(ModelAddedEvent event);
    void handleModelRemoved(ModelRemovedEvent event);
    void handleTreeSelectionChangeEvent(TreeSelectionChangedEvent event);
    void handleEditorClosedEvent(EditorClosedEvent event);
    // Not connected to FilterModeChangedEvent: runs only when called.
    void handleFilterModeChanged(const std::string& name, const std::string& mode);

    // Test operations.
    std::string testAPI_GetLabelOfObject(const VELD::ClassObject& object);
    VELD::ClassObject testAPI_GetObjectFromLabel(const std::string& label);
    bool testAPI_IsObjectReadonly(const VELD::ClassObject& object);
    bool testAPI_IsParent(const VELD::ClassObject& object);
    bool testAPI_DoIconsMatch(const VELD::ClassObject& a, const VELD::ClassObject& b);
    void testAPI_Expand(const VELD::ClassObject& object);
    void testAPI_Collapse(const VELD::ClassObject& object);
    bool testAPI_IsExpanded(const VELD::ClassObject& object);
    VELD::ClassObject testAPI_GetSelected() { return getSelected(); }
    void testAPI_SetTreeSelection(const VELD::ClassObject& object);
    void testAPI_ModifiedClick(const VELD::ClassObject& object, const std::string& modifier);
    VELD::Sequence<VELD::ImmutableClassObject> testAPI_GetVisibleObjects();
    VELD::Sequence<VELD::ImmutableClassObject>
    testAPI_GetVisibleChildren(const VELD::ClassObject& object);

protected:
    TreeComponent(PLATFORM::Studio* studio, const std::string& name);

private:
    void raiseSelection(const VELD::ClassObject& object, SelectionTrigger trigger);
    void expandRow(unsigned rowUID);
    void reselect();
    void showStatus(const std::string& message) const;

    TAVI::GLTreeView2* view = nullptr; // owned
    TAVI::Holder<TreeViewModel> viewModel;
    VELD::ClassObject selected;
    StudioApp* studioApp; // not owned
    bool refreshing = false;
    bool selecting = false; // the tree selects rows itself: no announcement
};

} // namespace KITE
