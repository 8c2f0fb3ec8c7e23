#pragma once

#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi2/GLEvents2.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Meta.hpp"
#include "studio/components/kite_propbrowser_export.hpp"
#include "studio/events/StudioEvents.hpp"

#include <string>

namespace TAVI {
class ErrorHolder;
class GLTreeView2;
} // namespace TAVI

namespace KITE {

class PropBrowserComponentPrivate;
class PropBrowserDelegate;
class PropBrowserProperty;
class PropBrowserViewModel;
class StudioApp;

// The dock component that lists and edits the properties of one object of a studio window: a
// two-column tree ("Property", "Value") whose rows the delegate decides. It follows the
// studio's selections (showing what the delegate's getItemToSelect makes of them), shows its
// object again after transactions and filter-mode changes, and writes each accepted edit in a
// transaction of its own. Objects are shown as the model itself holds them, also when a
// selection names them through an editor's working copy. Made by the framework through the
// factory registerFactory registers; counted like every component.
class KITE_PROPBROWSER_EXPORT PropBrowserComponent : public PLATFORM::StudioComponentBase {
public:
    static constexpr const char* noxTypeName = "KITE.PropBrowserComponent";
    static constexpr const char* typeName = "KITE PropBrowser component";
    // What the test operations answer for a property without a row.
    static constexpr const char* notFound = "NOTFOUND";

    PropBrowserComponent(PLATFORM::Studio* studio, const std::string& name);
    ~PropBrowserComponent() override;

    static const char* staticGetTypeName() { return typeName; }
    static PropBrowserComponent* create(PLATFORM::Studio* studio, const std::string& name);
    // Registers the factory of the type name with the framework; false with
    // PLATFORM_ObjectAlreadyRegistered when a factory has that name already.
    static bool registerFactory(TAVI::ErrorHolder& errors);

    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override;
    TAVI::GLWidget2* getWidget() override; // the tree view; null after terminate
    std::string getDisplayTitle() const override;
    TAVI::GLWidget2* getDefaultFocusWidget() override;
    const char* getFullyQualifiedNoxTypeName() const override;
    std::string getTypeName() const override;

    // Takes ownership (a null delegate is ignored); applies its edit triggers and row colours.
    void setDelegate(PropBrowserDelegate* delegate);
    PropBrowserDelegate* getDelegate() const;
    // Closes open editors without committing and shows the object (see PropBrowserViewModel).
    void refresh(const VELD::ClassObject& object);
    VELD::ClassObject getObject() const;
    TAVI::GLTreeView2* getTreeView() const;
    PropBrowserViewModel* getViewModel() const;
    StudioApp* getStudioApp() const;

    // Handlers of the studio's events and of the view's signals; also callable directly.
    void handleTreeSelectionChanged(TreeSelectionChangedEvent event);
    void handleEditorSelectionChanged(EditorSelectionChangedEvent event);
    void handleModelTransactionCompleted(TransactionCompletedEvent event);
    void handleFilterModeChanged(FilterModeChangedEvent event);
    void handlePropertyExpand(TAVI::GLTreeExpandEvent2 event);
    void handlePropertyCollapse(TAVI::GLTreeCollapseEvent2 event); // nothing
    void handleEditRequest(TAVI::GLEditRequestEvent2 event);
    // Commits the row's editor when the edit ended committed, discards it when it was
    // cancelled; a refused value is shown beside the row.
    void handleEditComplete(TAVI::GLEditCompleteEvent2 event);
    void discardChangesAndCloseEditor(const PropBrowserProperty& record);

    // The text of the name or value column of the row of the property (of the object, at the
    // index: an invalid object means the one shown, the one-argument forms mean index -1), or
    // "NOTFOUND" when there is none; whether that row's value cannot be edited, true when
    // there is none.
    std::string testAPI_GetLabelOfProperty(const VELD::ImmutableProperty& property) const;
    std::string testAPI_GetLabelOfProperty(const VELD::ImmutableProperty& property,
                                           const VELD::ClassObject& object, int index) const;
    std::string testAPI_GetValueOfProperty(const VELD::ImmutableProperty& property) const;
    std::string testAPI_GetValueOfProperty(const VELD::ImmutableProperty& property,
                                           const VELD::ClassObject& object, int index) const;
    bool testAPI_IsPropertyReadonly(const VELD::ImmutableProperty& property) const;
    bool testAPI_IsPropertyReadonly(const VELD::ImmutableProperty& property,
                                    const VELD::ClassObject& object, int index) const;

private:
    PropBrowserComponentPrivate* d_func() { return d; }
    const PropBrowserComponentPrivate* d_func() const { return d; }
    PropBrowserComponentPrivate* d; // owned
};

} // namespace KITE
