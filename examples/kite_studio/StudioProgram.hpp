#pragma once

#include "examples/kite_studio/Document.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/Holder.hpp"
#include "studio/events/StudioEvents.hpp"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace PLATFORM {
class StudioComponentBase;
}

class QAction;
class QLockFile;
class QMenu;
class QObject;
class QTimer;

namespace KITE {
class Editor;
class GenericVELDStudioApp;
class StudioApp;
class TreeComponent;
} // namespace KITE

namespace KiteStudio {

class StatusComponent;

// The kite-studio window: one model at a time, run by the library's studio application, with
// its diagrams in editor tabs, menus for files, editing and the view, a status line, and
// nothing lost. A model whose type no domain of its own draws opens in the generic studio (a
// model tree and a property browser, no diagrams), in a window with the same menus and the
// same file handling; the window is replaced when the next model needs the other kind. The title
// names the file, with "*" while it holds changes the file lacks; closing the window or replacing
// the model with unsaved changes asks to save, discard or cancel; unsaved changes go to a recovery
// file beside the model after the recovery interval, and opening a model whose recovery file is
// newer offers to restore it; an untitled model's go to a file of its own in the recovery folder,
// which the next start offers back. What fails is reported (a message box, or the error reporter
// given) and leaves what was open as it was.
class StudioProgram : public NIMB::Listener {
public:
    // The bundled sample and its meta-model.
    static std::string sampleModelFile();
    static std::string sampleMetaModelFile();

    // Makes the window (not yet shown) with no model open, the bundled blocks meta-model loaded
    // and its domain registered. Throws std::runtime_error when no window can be made.
    static std::unique_ptr<StudioProgram> create();
    // Closes the window without asking (the recovery file stays for what was not saved).
    ~StudioProgram() override;
    StudioProgram(const StudioProgram&) = delete;
    StudioProgram& operator=(const StudioProgram&) = delete;

    // Where errors go: a message box by default; a headless run prints them.
    using ErrorReporter = std::function<void(const std::string& text)>;
    void setErrorReporter(ErrorReporter reporter);
    // Whether the user can be asked (message boxes); without, the unsaved-changes question
    // answers "discard" and a recovery file is neither restored nor removed.
    void setInteractive(bool value) { interactive_ = value; }
    // Where the file dialogs' answers come from; an empty answer cancels. By default a file
    // dialog.
    enum class FileRequest { Open, SaveAs, ExportPng, ExportSvg };
    using FileChooser = std::function<std::string(FileRequest, const std::string& suggestion)>;
    void setFileChooser(FileChooser chooser);
    void setRecoveryInterval(std::chrono::milliseconds interval);
    // Where untitled models keep their unsaved changes: by default "recovery" in the
    // application's data folder.
    void setRecoveryFolder(const std::string& folder) { recoveryFolder = folder; }
    std::string getRecoveryFolder() const;

    // Opens the model file (after the meta-model files) in place of what is open, once the user
    // has said what happens to its unsaved changes (cancelling opens nothing). A file that cannot
    // be read, or a model of a domain that holds no diagram, is reported as
    // "file:line:column: reason" and what was open stays. Answers whether the file is open now.
    bool openFile(const std::string& file, const std::vector<std::string>& metaModelFiles = {});
    // A new model of the meta-model, with one diagram, in no file yet.
    bool newModel(const VELD::ImmutableNamespace& metaModel);
    // Save writes to the model's file (asking for one while it has none); false when the user
    // cancelled or the save failed, which is reported and keeps the changes in memory.
    bool save();
    bool saveAs(const std::string& file);
    // The active editor's diagram as a picture; false with the failure reported.
    bool exportPng(const std::string& file);
    bool exportSvg(const std::string& file);
    // Asks what happens to unsaved changes; false when the user cancelled.
    bool maybeSave();
    // Closes the model (asking first); false when the user cancelled.
    bool closeModel();
    // Writes the recovery file now when there are unsaved changes (the timer's job).
    void writeRecovery();
    // The recovery files of untitled models that no running session holds (their session ended
    // without saving or discarding them), newest first.
    std::vector<std::string> untitledRecoveries() const;
    // Opens the untitled model kept in the recovery file (asking first about unsaved changes),
    // as an untitled model with unsaved changes that keeps them in that file. False, reported,
    // when it cannot be read or another session holds it.
    bool restoreUntitled(const std::string& recoveryFile);
    // At start: offers to restore the newest untitled model left behind; Discard removes it,
    // Cancel leaves it for the next start. False when nothing was restored (and always when the
    // user cannot be asked).
    bool offerUntitledRecovery();

    // Opens (or brings forward) the diagram's editor.
    KITE::Editor* showDiagram(const KITE::Diagram& diagram);
    void undo();
    void redo();
    void selectAll();
    // Deletes the editor's selection through its delete tool (one undoable step).
    void deleteSelection();
    // Starts editing the name of the one element selected in the editor (else the tree's
    // selection) in the model tree.
    void renameSelection();
    // Opens the diagram of the model tree's selection (the diagram it is, else the innermost
    // one it lies in) in an editor tab: the tree's context menu "Open Diagram".
    KITE::Editor* openSelectedDiagram();
    void zoomBy(double factor);
    // Shows the whole diagram, or its top-left part at minimumZoom where whole would be smaller.
    void fitDiagram(double minimumZoom = 0);

    PLATFORM::Studio* getStudio() const { return studio.get(); }
    KITE::StudioApp* getStudioApp() const { return app.get(); }
    // Whether the window is a generic studio's (the open model has no domain of its own).
    bool isGeneric() const;
    KITE::TreeComponent* getTree() const;
    // Null while no model is open.
    const Document* getDocument() const { return document ? &*document : nullptr; }
    // The active editor; null when none is open.
    KITE::Editor* getEditor() const;
    std::string getTitle() const;
    std::string getStatusText() const;
    // The menu action of that object name ("fileSave", "editUndo", ...); null when none.
    QAction* getAction(const std::string& name) const;
    std::vector<std::string> getRecentFiles() const;

    // Gives the window its size and shows it (onScreen false keeps it off every screen, for
    // screenshots), lets it lay out, and fits the diagram into the canvas.
    void layOut(bool onScreen);
    bool saveScreenshot(const std::string& file, std::string& error);

    static constexpr int defaultWidth = 1200;
    static constexpr int defaultHeight = 760;
    static constexpr int maxRecentFiles = 8;
    // The model tree's context menu and its items.
    static constexpr const char* treeMenuName = "ContextMenu";
    static constexpr const char* openDiagramItem = "Open Diagram";
    static constexpr const char* renameItem = "Rename";

private:
    StudioProgram();
    // A studio application with its window (generic ones showing the model already); null
    // holders with the reason in error when none can be made.
    struct Window {
        TAVI::Holder<KITE::StudioApp> app;
        TAVI::Holder<PLATFORM::Studio> studio;
    };
    static Window spawnWindow(bool generic, const VELD::Model& model, std::string& error);
    // Gives up the window (without asking) for the next one, which takes its place and size.
    void replaceWindow(Window next);
    void closeWindow();
    void build();
    void buildTreeMenu();
    void buildMenus();
    bool show(Document next);
    void dropDocument();
    // Holds the untitled model's recovery file for this session; false when another holds it.
    bool claimRecovery(const std::string& recoveryFile);
    void report(const std::string& text) const;
    std::string chooseFile(FileRequest request, const std::string& suggestion) const;
    void addRecentFile(const std::string& file);
    void fillRecentMenu();
    void fillNewMenu();
    void fillDiagramsMenu();
    PLATFORM::StudioComponentBase* explorerBar() const;
    // Title, undo and redo texts, what can be done, the status line and the recovery timer
    // follow the model.
    void refresh();
    void showStatus();
    bool handleCloseRequest();
    void onEditorSelection(KITE::EditorSelectionChangedEvent event);
    // The editor selects what the user selected in the tree, when its diagram draws it.
    void onTreeSelection(KITE::TreeSelectionChangedEvent event);
    // A click on empty canvas empties the editor's selection without an event.
    void onSceneSelection();
    void onTransaction(KITE::TransactionCompletedEvent event);
    void onActiveEditor(KITE::ActiveEditorChangedEvent event);
    void onEditorClosed(KITE::EditorClosedEvent event);
    void onStudioClosed(KITE::StudioClosedEvent event);

    TAVI::Holder<KITE::StudioApp> app;
    TAVI::Holder<PLATFORM::Studio> studio;
    TAVI::Holder<StatusComponent> status;
    std::optional<Document> document;
    ErrorReporter errorReporter;
    FileChooser fileChooser;
    bool interactive_ = true;
    // The window's: owns the menus' connections, the timers and the window's close guard.
    std::unique_ptr<QObject> context;
    std::chrono::milliseconds recoveryInterval = std::chrono::seconds(30);
    std::string recoveryFolder;
    // Marks the open untitled model's recovery file as this running session's.
    std::unique_ptr<QLockFile> recoveryLock;
    QTimer* recoveryTimer = nullptr; // owned by context
    QMenu* recentMenu = nullptr;     // owned by the window
    QMenu* newMenu = nullptr;
    QMenu* diagramsMenu = nullptr;
    QObject* watchedTabs = nullptr; // the window's tab widget, once its changes are followed
    bool shownModified = false;     // whether the last refresh found unsaved changes
    // What the status line counted, and in which editor's diagram (null: count again).
    const KITE::Editor* countedEditor = nullptr;
    std::size_t nodeCount = 0;
    std::size_t edgeCount = 0;
};

} // namespace KiteStudio
