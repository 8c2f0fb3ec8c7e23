#pragma once

// The studio application of the editor layer's tests and benchmarks.

#include "application/StudioAppLink.hpp"
#include "editor/Editor.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/events/StudioEvents.hpp"

#include <QCoreApplication>
#include <QEvent>

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

// Ends the editor as its studio would, lets go of it, then closes the studio and lets Qt delete
// what the window left behind. Either holder may be empty.
inline void closeEditorAndStudio(TAVI::Holder<Editor>& editor,
                                 TAVI::Holder<PLATFORM::Studio>& studio) {
    if (editor) {
        TAVI::ErrorHolder errors;
        editor->terminate(errors);
    }
    editor.reset();
    if (studio)
        studio->close();
    studio.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace KITE::Test
