#pragma once

#include "editor/Graphics.hpp"
#include "editor/kite_editor_export.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/veld/Sequence.hpp"
#include "platform/zeph/BaseToolConstructor.hpp"
#include "platform/zeph/IToolStack.hpp"

#include <string>
#include <vector>

namespace NOX {
class PdxInterface;
}
namespace PLATFORM {
template <typename E> class StudioEventService;
}
namespace TAVI {
class GLWidget2;
}
namespace ZEPH {
class GLCanvas;
}

namespace KITE {

class AbstractKiteDomain;
class Application;
class Command;
class EditorPrivate;
class GlyphFactory;
class NavigateUpRequest;
class StudioApp;

// Shows one diagram of a model on a canvas: a studio component (a tab) through which tools,
// studio and scripts act on the diagram. The editor sees the diagram through a working copy
// of its own (a kernel deviant named "1", "2", ... in creation order): gestures preview there,
// and every transaction on the model's root is synchronised into it. One glyph per diagram
// element draws it (Graphics). The selection is a kernel sequence of elements in selection
// order. Canvas events go to the tools of the editor's tool stack (the scene's).
//
// Set-up, in this order (the studio's opener does it): setDiagram, setApplication,
// setGlyphFactory, the diagram-set signal, observeModel, populate; then postCreate.
//
// Listeners the editor calls (selection events, the graphics' glyph-removed signal, the
// handling of a change report) may close the editor or let go of it: a counted editor then
// stays alive until control is back in the event loop, so no code up the stack meets freed
// memory.
class KITE_EDITOR_EXPORT Editor : public PLATFORM::StudioComponentBase, public ZEPH::IToolStack {
public:
    static constexpr const char* noxTypeName = "KITE.Editor";
    static Editor* create(PLATFORM::Studio* studio, const std::string& typeName);
    // "KITE:Editor".
    static std::string staticGetTypeName();
    ~Editor() override;

    void initialize(TAVI::ErrorHolder& errors) override;
    void terminate(TAVI::ErrorHolder& errors) override;
    // Built on first call: the palette beside the canvas, under the explorer bar if any.
    TAVI::GLWidget2* getWidget() override;
    std::string getDisplayTitle() const override;      // "KITE Editor"
    TAVI::GLWidget2* getDefaultFocusWidget() override; // the canvas
    const char* getFullyQualifiedNoxTypeName() const override;
    TAVI::AbstractUndoRedoCommandTarget* getUndoRedoTarget() override;
    std::string getTypeName() const override; // "KITE:Editor"
    // The palette's buttons; by default the zoom button.
    virtual std::vector<TAVI::GLWidget2*> getPaletteObjects() const;
    // An explorer-bar component shown above the canvas; none by default.
    virtual PLATFORM::StudioComponentBase* getExplorerBar(TAVI::ErrorHolder& errors);
    virtual Application* getApplication() const;
    // The domain registered for the diagram's model; null when there is none.
    virtual AbstractKiteDomain* getStaticDomain() const;
    // Called by the studio once the editor is set up; does nothing by default.
    virtual void postCreate();
    virtual std::string getTabTitle(); // getDisplayTitle() by default
    // Called once with the report of the first population; does nothing by default.
    virtual void doInitialLayout(const DiagramChangeReport& report);

    // The tool stack is the scene's.
    TAVI::StringID addTool(const TAVI::Holder<ZEPH::Tool>& tool) override;
    void addTool(const TAVI::Holder<ZEPH::Tool>& tool, const TAVI::StringID& role) override;
    TAVI::StringID delegateToTool(const TAVI::Holder<ZEPH::Tool>& tool) override;
    TAVI::StringID getUniqueToolRoleBasedOn(const TAVI::StringID& role) const override;
    bool hasTool(const TAVI::Holder<ZEPH::Tool>& tool) const override;
    bool hasTool(const TAVI::StringID& role) const override;
    bool removeTool(const TAVI::Holder<ZEPH::Tool>& tool) override;
    bool removeToolByRole(const TAVI::StringID& role) override;
    TAVI::Holder<ZEPH::Tool> getToolByRole(const TAVI::StringID& role) const override;
    TAVI::StringID getRoleByTool(const TAVI::Holder<ZEPH::Tool>& tool) const override;
    void clearToolStack() override;
    std::vector<TAVI::Holder<ZEPH::Tool>> getTools() const override;
    // The tool of the role on the stack, or a new one from the role's constructor pushed on top.
    TAVI::Holder<ZEPH::Tool> addToolByRole(const TAVI::StringID& role);
    // Registers with the scene the constructor that makes the tools of its role.
    void addToolConstructor(const TAVI::Holder<ZEPH::BaseToolConstructor>& constructor);

    // Makes the working copy and the selection, and starts following the model's root. A
    // second call is reported by the kernel's asserter and changes nothing.
    void setDiagram(const Diagram& diagram);
    void setApplication(Application* application);
    // Kept by the graphics only when they have none yet. Not owned.
    void setGlyphFactory(GlyphFactory* factory);
    // Starts turning the working copy's changes into glyph changes.
    void observeModel(const VELD::Model& workingCopy);
    // Builds a glyph for every element of the diagram, then calls doInitialLayout.
    void populate();
    // Sent by the opener with the diagram once it is set.
    NIMB::Emitter<Diagram>& getDiagramSetSignal();

    // The diagram as seen in the working copy; null before setDiagram.
    Diagram getDiagram() const;
    Graphics* getGraphics() const;
    ZEPH::Scene* getScene() const;
    // Made on first need.
    ZEPH::GLCanvas* getCanvas() const;
    // The studio's application; null when the studio has none.
    StudioApp* getStudioApp() const;
    PLATFORM::StudioEventService<NavigateUpRequest>* getNavigateUpRequestService() const;
    // Whether the canvas is shown; false before it is made. (The component's own placement is
    // StudioComponentBase::isVisible.)
    bool isVisible() const;
    // True while a gesture has changed the working copy and that change has neither been
    // committed to the model nor synchronised away.
    bool isInInteraction() const;
    // The editor's working copy of the model; null before setDiagram.
    VELD::Model getWorkingCopy() const;
    // Shows the model's root again in the working copy, dropping what a gesture previewed
    // there (tools call it when a gesture is cancelled). Nothing happens without a diagram.
    void dropPreview();
    // Whether the point (global screen coordinates) lies on the shown canvas, borders included.
    bool contains(const TAVI::GLPoint<double>& globalPoint) const;
    TAVI::GLPoint<double> globalPt2ScenePt(const TAVI::GLPoint<double>& globalPoint) const;
    // The element of the glyph that draws the top-most node at the scene point (that node or
    // one above it is the glyph's root); null when none.
    DiagramElement getDiagramElementAt(const TAVI::GLPoint<double>& scenePoint) const;

    // Selection: changes send an EditorSelectionChangedEvent unless notification is disabled.
    // A terminated editor (its tab closed) has an empty selection and takes none.
    void select(const ImmutableDiagramElement& element) { setSelected(element, true); }
    void deselect(const ImmutableDiagramElement& element) { setSelected(element, false); }
    void setSelected(const ImmutableDiagramElement& element, bool selected);
    bool isSelected(const ImmutableDiagramElement& element) const;
    // Deselects every glyph and empties the selection without an event.
    void clearSelection();
    VELD::ImmutableSequence<DiagramElement> getSelection() const;
    void getSelectedElements(TAVI::GSet<DiagramElement>& out) const;
    // Nestable. Enabling sends one event for the whole selection when it is not empty.
    void disableSelectionNotification();
    void enableSelectionNotification();

    // Runs the command through getUndoRedoTarget(); a failure is reported as a host assertion.
    void processCommand(Command* command);

    // The element under the last context-menu request; null when none.
    DiagramElement getContextMenuTarget() const;
    void setContextMenuTarget(const ImmutableDiagramElement& element);
    // Forwarded to the editor's domain front; null, or nothing, without one.
    NOX::PdxInterface* getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                  const std::string& schemaName) const;
    void executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                        const std::string& schemaName) const;

protected:
    Editor(PLATFORM::Studio* studio, const std::string& typeName);

private:
    friend class EditorPrivate;
    EditorPrivate* d_func() { return d; }
    const EditorPrivate* d_func() const { return d; }
    NIMB::Emitter<Diagram> diagramSet{NIMB::SendAuto};
    EditorPrivate* d; // owned
};

} // namespace KITE
