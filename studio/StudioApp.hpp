#pragma once

#include "application/StudioAppLink.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/GList.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Object.hpp"
#include "platform/veld/Sequence.hpp"
#include "studio/EditorOpenType.hpp"
#include "studio/events/StudioEvents.hpp"
#include "studio/kite_studio_export.hpp"

#include <boost/shared_ptr.hpp>

#include <string>

namespace PLATFORM {
class StudioComponentBase;
class StudioFrameworkService;
} // namespace PLATFORM

namespace KITE {

class Editor;
class ElementDescriberBase;
class GetIconBase;
class StudioAppPrivate;
namespace Util {
class FilterBase;
}

// The application object of one studio window: the models the window shows (each with its
// Application), the diagram editors in its tabs (one per diagram), the active editor and the
// presentation strategies of its domain, the named filters and their modes, the window's ten
// event services, and the model tree and property browser it docks on the left. Counted: the
// studio holds it (Studio::spawnStudio), and the framework calls initialize and terminate.
//
// Before initialize and after terminate the studio application has no window to work with:
// operations that report into an error holder report "KITE_StudioAppNotReady" there, those
// that answer something give an empty answer, and the others do nothing.
//
// Subclasses change behaviour through the virtual operations (the open type, the editors to
// close, hooks on opening and removal); the public non-virtual ones call them.
class KITE_STUDIO_EXPORT StudioApp : public NIMB::Listener,
                                     public PLATFORM::Application,
                                     public StudioAppLink {
public:
    static constexpr const char* noxTypeName = "KITE.StudioApp";
    // The dock components it makes, by type name and name alike.
    static constexpr const char* treeComponentName = "KITE tree component";
    static constexpr const char* propBrowserComponentName = "KITE PropBrowser component";
    // The filter entry that stands for the whole studio, and those getFilteredChildrenTypes reads.
    static constexpr const char* studioFilterName = "studio";
    static constexpr const char* contextPropertyFilterName = "context_prop_filter";
    static constexpr const char* contextPropertyTypeFilterName = "context_prop_type_filter";

    StudioApp();
    ~StudioApp() override;

    // Makes and registers the event services and finds the framework service (the first steps
    // of initialize, which then finds them made). Nothing before the studio exists.
    virtual void preInitialize();
    // A new studio application of this kind for a window of its own (NEW_WINDOW).
    virtual StudioApp* spawnApplication() const;
    virtual bool canThisDiagramBeOpened(const Diagram& diagram); // true
    // A new object of type inside parent (its first containment that takes the type), with a
    // generated name, made in one transaction and then selected in the model tree. Null for an
    // invalid parent or when nothing can hold it.
    virtual VELD::Object createObjectOfType(const VELD::ClassObject& parent,
                                            const VELD::ImmutableClass& type) const;
    // The mode a new filter entry starts with; empty.
    virtual std::string getDefaultFilterMode(const std::string& filterName);
    // The model tree's selected object; null without a tree.
    virtual VELD::ClassObject getCurrentSelectedElement();
    virtual void setCurrentSelectedElement(const VELD::ClassObject& element); // nothing
    virtual EditorOpenType internalGetEditorOpenType() const;                 // NEW_TAB
    virtual void internalSetEditorOpenType(EditorOpenType type);              // nothing
    virtual void internalRestoreEditorOpenType();                             // nothing
    // Hooks, called when an editor opened for the diagram, and when its editor closes.
    virtual void onDiagramOpened(const Diagram& diagram);
    virtual void onDiagramRemoved(const Diagram& diagram);
    // Called with each report of a model of the studio, before TransactionCompletedEvent.
    virtual void onTransactionCompleted(const ModelChangeReport& report);
    // The editors a close takes (on request, tab, model removal), and those a report's deleted
    // diagrams take; both return their argument.
    virtual TAVI::GList<Editor*> getEditorsToClose(TAVI::GList<Editor*> editors);
    virtual TAVI::GList<Editor*> getAllEditorsToClose(TAVI::GList<Editor*> editors);

    const char* getFullyQualifiedNoxTypeName() const override;
    void initialize(TAVI::ErrorHolder& errors) override;
    // Releases the models (no ModelRemovedEvent), raises StudioClosedEvent and removes the two
    // dock components. Open editors are not closed: they go with the window.
    void terminate(TAVI::ErrorHolder& errors) override;
    PLATFORM::AbstractDomainInterface* getDefaultDomain(PLATFORM::Studio* studio) override;

    // Models. addModel makes the model's Application through its domain and raises
    // ModelAddedEvent; a model no domain takes is not added (a host assertion says so).
    void addModel(const VELD::Model& model);
    // Closes the model's editors (one EditorClosedEvent each), then raises ModelRemovedEvent.
    // Nothing for a model the studio does not hold.
    void removeModel(const VELD::Model& model);
    void removeAllModels();
    bool hasModel(const VELD::Model& model) const;
    // In the order they were added.
    TAVI::GList<VELD::Model> allModels() const;
    // The active editor's model (its root), else the first model, else a null model.
    VELD::Model getActiveModel();

    // Editors. openEditor shows the diagram's editor, made by the diagram's domain when there is
    // none yet, placed by the open type, and makes it the active editor (ActiveEditorChangedEvent).
    // Null with the error when no editor can be made. Editors it opens are named after their
    // diagram, unique in the studio.
    Editor* openEditor(const Diagram& diagram, TAVI::ErrorHolder& errors);
    // The diagram's open editor; null (no error) when none.
    Editor* getEditor(const ImmutableDiagram& diagram, TAVI::ErrorHolder& errors);
    // Closes the diagram's editor: EditorClosedEvent (the editor still alive for its listeners),
    // then its tab and component go. False (no error) when none is open.
    bool closeEditor(const ImmutableDiagram& diagram, TAVI::ErrorHolder& errors);
    // One close, and one EditorClosedEvent, per editor; the number closed.
    int closeAllEditors(TAVI::ErrorHolder& errors);
    // In the order they were opened.
    TAVI::GList<Editor*> getAllEditors() const;
    TAVI::GList<ImmutableDiagram> getListOfDiagrams() const;
    Editor* getActiveEditor() const;
    // Stores the editor (one of this studio's, or null); raises nothing.
    void setActiveEditor(Editor* editor);
    void setEditorTabTitle(Editor* editor, const std::string& title);
    // A component of the registered type and name, as an editor showing the diagram. Null with
    // the error when it cannot be made or is not an editor (such a component is removed again).
    // The studio argument is not used: the editor is one of this studio's.
    Editor* createEditorOfType(PLATFORM::Studio* studio, const Diagram& diagram,
                               const std::string& typeName, const std::string& componentName,
                               TAVI::ErrorHolder& errors);
    // Connected to the window's "TabCloseEvents": closes the editor that the tab shows alone.
    void handleTabClosed(PLATFORM::Util::IntRequest request);
    EditorOpenType getEditorOpenType() const { return internalGetEditorOpenType(); }
    void setEditorOpenType(EditorOpenType type) { internalSetEditorOpenType(type); }
    void restoreEditorOpenType() { internalRestoreEditorOpenType(); }

    // Components and window. Area and position strings ("DockWidget", "TabWidget",
    // "StatusWidget", "Invisible"; "Left", "Right", "Top", "Bottom") match exactly first, then
    // without regard to case; the component is returned even when it could not be placed.
    PLATFORM::StudioComponentBase* createComponent(const std::string& typeName,
                                                   const std::string& name, const std::string& area,
                                                   const std::string& position);
    PLATFORM::StudioComponentBase* getOrCreateComponent(const std::string& typeName,
                                                        const std::string& name,
                                                        const std::string& area,
                                                        const std::string& position);
    PLATFORM::StudioComponentBase* getComponent(const std::string& name) const;
    bool isVisible(const std::string& name) const;
    void show(const std::string& name);
    void hide(const std::string& name);
    void setStudioTitle(const std::string& title);
    void setStudioTitleBarIcon(const std::string& file);
    void showContextMenu(const std::string& menuName, double x, double y);
    void addDIGSchema(const std::string& menuName, const std::string& definition);

    // Selection.
    VELD::ClassObject getCurrentSelection() { return getCurrentSelectedElement(); }
    void setCurrentSelection(const VELD::ClassObject& element) {
        setCurrentSelectedElement(element);
    }

    // Presentation: the active editor's domain's strategies, handed on to the dock components.
    // Setting a different one emits its change signal.
    const boost::shared_ptr<GetIconBase>& getIconController() const;
    void setIconController(const boost::shared_ptr<GetIconBase>& controller);
    const boost::shared_ptr<ElementDescriberBase>& getElementDescriber() const;
    void setElementDescriber(const boost::shared_ptr<ElementDescriberBase>& describer);
    NIMB::Emitter<boost::shared_ptr<GetIconBase>>& getIconControllerChangedSignal();
    NIMB::Emitter<boost::shared_ptr<ElementDescriberBase>>& getElementDescriberChangedSignal();
    void populateIconManager();
    // The icon controller's file and tag for the type; "" and "KITE:Unknown" without one.
    std::string getIconForTypeName(const VELD::ImmutableType& type);
    std::string getIconTagForTypeName(const VELD::ImmutableType& type);
    // The element describer's text (decorated, or the name alone) of a class object; the
    // kernel's text of anything else, and also when there is no element describer.
    std::string describeObject(const VELD::ImmutableObject& object);
    std::string describeEditableObject(const VELD::ImmutableObject& object);

    // Filters by name. setFilter and setFilterMode answer whether anything changed; neither
    // raises FilterModeChangedEvent. An empty name has no entry.
    bool setFilter(const std::string& name, const boost::shared_ptr<Util::FilterBase>& filter);
    boost::shared_ptr<Util::FilterBase> getFilter(const std::string& name) const;
    bool setFilterMode(const std::string& name, const std::string& mode);
    const std::string& getFilterMode(const std::string& name) const;
    // The host's forms: an empty name stands for the entry "studio".
    bool setFilterModeQUASAR(const std::string& name, const std::string& mode);
    std::string getFilterModeQUASAR(const std::string& name) const;
    // The classes a creation menu offers under type: those of its properties (as
    // "context_prop_filter" chooses them) whose type is a class, with their subclasses (as
    // "context_prop_type_filter" chooses them), in the mode of the entry "studio".
    VELD::Sequence<VELD::ImmutableClass> getFilteredChildrenTypes(const VELD::ImmutableClass& type);

    // The window's services; null before they are made, or when a name was taken.
    TransactionCompletedEventService* getTransactionCompletedEventService() const;
    TreeSelectionChangedEventService* getTreeSelectionChangedEventService() const;
    FilterModeChangedEventService* getFilterModeChangedEventService() const;
    ActiveEditorChangedEventService* getActiveEditorChangedEventService() const;
    NavigateUpRequestService* getNavigateUpRequestService() override;
    EditorSelectionChangedEventService* getEditorSelectionChangedEventService() override;
    ModelAddedEventService* getModelAddedEventService() const;
    ModelRemovedEventService* getModelRemovedEventService() const;
    EditorClosedEventService* getEditorClosedEventService() const;
    StudioClosedEventService* getStudioClosedEventService() const;
    PLATFORM::StudioFrameworkService* getStudioFrameworkService() const;

    // StudioAppLink: what models' applications and domain implementations reach.
    StudioApp* getStudioApp() override { return this; }
    // Closes the editors of diagrams the transaction deleted, then raises
    // TransactionCompletedEvent: no component hears of a transaction before those editors go.
    void handleModelChanges(const ModelChangeReport& report) override;
    bool setActiveEditorContextMenuTarget(const ImmutableDiagramElement& element) override;

private:
    friend class StudioAppPrivate;
    StudioAppPrivate* d_func() { return d; }
    const StudioAppPrivate* d_func() const { return d; }
    NIMB::Emitter<boost::shared_ptr<GetIconBase>> iconControllerChanged{NIMB::SendAutoAndWait};
    NIMB::Emitter<boost::shared_ptr<ElementDescriberBase>> elementDescriberChanged{
        NIMB::SendAutoAndWait};
    StudioAppPrivate* d; // owned
};

} // namespace KITE
