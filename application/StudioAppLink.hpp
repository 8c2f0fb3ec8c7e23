#pragma once

#include "application/kite_application_export.hpp"
#include "platform/datamodel/ChangeReports.hpp"

namespace PLATFORM {
class Studio;
template <typename E> class StudioEventService;
} // namespace PLATFORM

namespace KITE {

class EditorSelectionChangedEvent;
class ImmutableDiagramElement;
class NavigateUpRequest;
class StudioApp;

// What models' applications, domain implementations and editors ask of the studio application
// of their studio. StudioApp implements it; a studio whose application object does not is a
// studio without a studio application, and these layers then do without one.
class KITE_APPLICATION_EXPORT StudioAppLink {
public:
    virtual StudioApp* getStudioApp() = 0;
    // One committed transaction of a model the studio holds.
    virtual void handleModelChanges(const ModelChangeReport& report) = 0;
    // Makes the element the active editor's context-menu target; false when no editor is active.
    virtual bool setActiveEditorContextMenuTarget(const ImmutableDiagramElement& element) = 0;
    // The services on which editors announce selection changes and navigate-up requests; null
    // when the studio application has not made them.
    virtual PLATFORM::StudioEventService<EditorSelectionChangedEvent>*
    getEditorSelectionChangedEventService() {
        return nullptr;
    }
    virtual PLATFORM::StudioEventService<NavigateUpRequest>* getNavigateUpRequestService() {
        return nullptr;
    }

    // The link of a studio's application object; null when it has none.
    static StudioAppLink* of(const PLATFORM::Studio* studio);

protected:
    ~StudioAppLink() = default;
};

} // namespace KITE
