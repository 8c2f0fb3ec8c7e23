#include "examples/studio_demo/DemoApp.hpp"

namespace StudioDemo {

DemoApp::DemoApp()
    : selectionService(
          new KITE::EditorSelectionChangedEventService(KITE::kEditorSelectionChangedServiceName)),
      navigateUpService(new KITE::NavigateUpRequestService(KITE::kNavigateUpRequestServiceName)) {
    selectionService->connect(this, &DemoApp::selectionChanged);
}

DemoApp::~DemoApp() {
    disconnect();
}

void DemoApp::terminate(TAVI::ErrorHolder& errors) {
    // The framework terminates the application before it takes the components down; their last
    // events (an editor announces an empty selection) must not reach them half gone.
    onSelection = nullptr;
    onChange = nullptr;
    Application::terminate(errors);
}

KITE::StudioApp* DemoApp::getStudioApp() {
    return nullptr;
}

void DemoApp::handleModelChanges(const KITE::ModelChangeReport& report) {
    if (onChange)
        onChange(report);
}

bool DemoApp::setActiveEditorContextMenuTarget(const KITE::ImmutableDiagramElement&) {
    return false;
}

KITE::EditorSelectionChangedEventService* DemoApp::getEditorSelectionChangedEventService() {
    return selectionService.get();
}

KITE::NavigateUpRequestService* DemoApp::getNavigateUpRequestService() {
    return navigateUpService.get();
}

void DemoApp::selectionChanged(KITE::EditorSelectionChangedEvent event) {
    if (onSelection)
        onSelection(event);
}

} // namespace StudioDemo
