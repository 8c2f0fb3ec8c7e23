#pragma once

// The studio application of the editor layer's tests and benchmarks.

#include "application/StudioAppLink.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/events/StudioEvents.hpp"

namespace KITE::Test {

// A studio application as editors see one: it owns the window's event services.
class LinkedStudioApp : public PLATFORM::Application, public StudioAppLink {
public:
    void initialize(TAVI::ErrorHolder& errors) override {
        services = createStudioEventServices(getStudio(), errors);
    }
    StudioApp* getStudioApp() override { return nullptr; }
    void handleModelChanges(const ModelChangeReport&) override {}
    bool setActiveEditorContextMenuTarget(const ImmutableDiagramElement&) override { return false; }
    PLATFORM::StudioEventService<EditorSelectionChangedEvent>*
    getEditorSelectionChangedEventService() override {
        return services.editorSelectionChanged.get();
    }
    PLATFORM::StudioEventService<NavigateUpRequest>* getNavigateUpRequestService() override {
        return services.navigateUpRequest.get();
    }

    StudioEventServices services;
};

} // namespace KITE::Test
