#pragma once

#include "application/StudioAppLink.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/tavi/Holder.hpp"
#include "studio/events/StudioEvents.hpp"

#include <functional>

namespace StudioDemo {

// The demo studio's application object: it owns the two services editors raise events on
// (their selection changes and navigate-up requests), hears the model's applications, and hands
// both on to the handlers the studio sets. The handlers stop with the studio (terminate), so
// that nothing reaches components that are being taken down.
class DemoApp : public PLATFORM::Application, public KITE::StudioAppLink, public NIMB::Listener {
public:
    DemoApp();
    ~DemoApp() override;

    void terminate(TAVI::ErrorHolder& errors) override;

    // The demo has no studio application of the library's own.
    KITE::StudioApp* getStudioApp() override;
    void handleModelChanges(const KITE::ModelChangeReport& report) override;
    // No editor of the demo takes context-menu targets from outside.
    bool setActiveEditorContextMenuTarget(const KITE::ImmutableDiagramElement& element) override;
    KITE::EditorSelectionChangedEventService* getEditorSelectionChangedEventService() override;
    KITE::NavigateUpRequestService* getNavigateUpRequestService() override;

    using SelectionHandler = std::function<void(const KITE::EditorSelectionChangedEvent&)>;
    void setSelectionHandler(SelectionHandler handler) { onSelection = std::move(handler); }
    using ChangeHandler = std::function<void(const KITE::ModelChangeReport&)>;
    void setChangeHandler(ChangeHandler handler) { onChange = std::move(handler); }

private:
    void selectionChanged(KITE::EditorSelectionChangedEvent event);

    TAVI::Holder<KITE::EditorSelectionChangedEventService> selectionService;
    TAVI::Holder<KITE::NavigateUpRequestService> navigateUpService;
    SelectionHandler onSelection;
    ChangeHandler onChange;
};

} // namespace StudioDemo
