#pragma once

#include "application/AbstractKiteDomainImpl.hpp"
#include "application/kite_application_export.hpp"

#include <string>

namespace NOX {
class PdxInterface;
}

namespace KITE {

class ImmutableDiagramElement;

// The default domain's implementation in one studio, under the studio's factory key
// "KITE:Domain": the editors' context menu and the model tree's visibility.
class KITE_APPLICATION_EXPORT KiteDomainImpl : public AbstractKiteDomainImpl {
public:
    static const char* const key; // "KITE:Domain"

    explicit KiteDomainImpl(PLATFORM::Studio* studio);

    void activate() override;
    void deactivate() override;
    // True exactly for fronts of the default domain.
    bool isSubDomain(PLATFORM::AbstractDomainInterface* domain) const override;
    // A new application observing the model for this studio; never reports an error.
    Application* createApplication(const VELD::Model& model, TAVI::ErrorHolder& errors) override;
    // The default domain makes no editors: null for any diagram.
    Editor* createEditor(const Diagram& diagram, std::string name,
                         TAVI::ErrorHolder& errors) override;
    // Pops up the studio's "EditorContextMenu" at the global screen point.
    virtual void showEditorContextMenu(int x, int y) const;
    // Runs an item of "EditorContextMenu" for the element, made the active editor's
    // context-menu target first; nothing without an active editor.
    virtual void executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                const std::string& schema) const;
    // The host object describing an item of "EditorContextMenu" for the element; null without
    // an active editor.
    virtual NOX::PdxInterface* getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                          const std::string& schema) const;

    // Whether the studio's model tree ("KITE tree component") is shown; false without one.
    bool isTreeComponentVisible() const;
    // Shows or hides the model tree; nothing without one.
    void toggleTreeComponent();
};

} // namespace KITE
