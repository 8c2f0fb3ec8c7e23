#pragma once

#include "examples/studio_demo/DemoModel.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/Holder.hpp"
#include "studio/events/StudioEvents.hpp"

#include <memory>
#include <string>
#include <vector>

class QObject;

namespace KITE {
class Editor;
class PropBrowserComponent;
class StudioApp;
class TreeComponent;
} // namespace KITE

namespace StudioDemo {

class StatusComponent;

// A studio window on a model, run by the library's studio application: the diagram in an
// editor tab that the studio application opens (the domain registered for the model makes the
// editor: the blocks domain for the sample), the library's model tree docked on the left,
// showing the whole project, with the library's property browser below it, and in the status
// area the number of blocks and connections and what the editor has selected. Tree and editor
// show one selection.
class DemoStudio : public NIMB::Listener {
public:
    // Loads the files and makes the window (not shown yet). Throws VELD::FileError when a
    // file cannot be read, before any window exists, and std::runtime_error when the window or
    // the editor cannot be made, for example for a model no domain draws (none is left open then).
    static std::unique_ptr<DemoStudio> open(const std::string& metaModelFile,
                                            const std::string& modelFile);
    // Closes the window.
    ~DemoStudio() override;
    DemoStudio(const DemoStudio&) = delete;
    DemoStudio& operator=(const DemoStudio&) = delete;

    PLATFORM::Studio* getStudio() const { return studio.get(); }
    KITE::StudioApp* getStudioApp() const { return app.get(); }
    const DemoModel& getDemoModel() const { return model; }
    // The studio application's model tree; null once the window closed.
    KITE::TreeComponent* getTree() const;
    // The library's property browser, docked by the studio application; it shows what is
    // selected in the editor.
    KITE::PropBrowserComponent* getPropBrowser() const { return browser; }
    // Null once the user closed its tab.
    KITE::Editor* getEditor() const { return editor; }
    StatusComponent* getStatus() const { return status.get(); }

    // Gives the window its size and shows it (onScreen false keeps it off every screen, for
    // screenshots), lets it lay out, and fits the diagram into the canvas.
    void layOut(bool onScreen);
    // Writes a PNG image of the window; false with the reason in error when it cannot.
    bool saveScreenshot(const std::string& file, std::string& error);

    static constexpr int defaultWidth = 1200;
    static constexpr int defaultHeight = 760;
    static constexpr int treeWidth = 290;

private:
    explicit DemoStudio(DemoModel model);
    void build();
    void openEditor();
    void showProject();
    // The tree and the status line follow the editor's selection.
    void editorSelectionChanged();
    // The editor selects what the user selected in the tree.
    void onTreeSelection(KITE::TreeSelectionChangedEvent event);
    void showStatus();
    void fitDiagram();
    // Studio events.
    void onEditorSelection(KITE::EditorSelectionChangedEvent event);
    void onTransaction(KITE::TransactionCompletedEvent event);
    void onEditorClosed(KITE::EditorClosedEvent event);
    void onStudioClosed(KITE::StudioClosedEvent event);

    DemoModel model;
    TAVI::Holder<KITE::StudioApp> app;
    TAVI::Holder<PLATFORM::Studio> studio;
    KITE::PropBrowserComponent* browser = nullptr; // the framework's
    KITE::Editor* editor = nullptr; // the studio application's, while its tab is open
    TAVI::Holder<StatusComponent> status;
    // Receives the canvas's selection changes; its end drops those still queued.
    std::unique_ptr<QObject> sceneWatch;
};

} // namespace StudioDemo
