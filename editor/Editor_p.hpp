// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "editor/Editor.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/UndoRedoCommandTarget.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/Report.hpp"
#include "platform/zu/zu.hpp"

#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

class QWidget;

namespace TAVI {
class GLContextMenuEvent2;
}

namespace KITE {

class EditorPrivate;
class Palette;
class EditorSelectionChangedEvent;
class StudioAppLink;

// Listens to one deviant for its lifetime and hands each completed transaction's changes to
// diagram elements to Self::transactionCompleted. A deviant that cannot be listened to is
// reported once and then ignored.
template <class Self> class DiagramModelObserver : public VELD::ListenerBase {
public:
    DiagramModelObserver(const VELD::ImmutableModel& observed, EditorPrivate* owner,
                         const char* what)
        : owner(owner), model(observed) {
        try {
            VELD::Model(model).registerObservingListener(&holder);
            listening = true;
        } catch (const VELD::Exception& e) {
            zuReportAssertion("listening", __FILE__, __LINE__,
                              std::string(what) + " cannot be observed: " + e.what());
        }
    }
    ~DiagramModelObserver() override {
        if (listening)
            VELD::Model(model).unregisterObservingListener(&holder);
    }
    DiagramModelObserver(const DiagramModelObserver&) = delete;
    DiagramModelObserver& operator=(const DiagramModelObserver&) = delete;

    bool isListening() const { return listening; }
    void onDeviantDestroyed() override { listening = false; }
    // Called by the holder; by then the observer is whole, so it may be seen as Self.
    void transactionCompleted(const DiagramChangeReport& report) {
        static_cast<Self*>(this)->transactionCompleted(report);
    }

protected:
    EditorPrivate* owner; // not owned

private:
    VELD::ImmutableModel model;
    VELD::internal::ListenerHolder<VELD::ImmutableModel, DiagramModelObserver, DiagramElement,
                                   false>
        holder{this};
    bool listening = false;
};

// Keeps the working copy in step with the model: after every transaction completed on the
// model's root, the editor's working copy synchronises in a transaction of its own.
class AppModelObserver : public DiagramModelObserver<AppModelObserver> {
public:
    AppModelObserver(const VELD::ImmutableModel& root, EditorPrivate* owner)
        : DiagramModelObserver(root, owner, "the model's root") {}
    void transactionCompleted(const DiagramChangeReport& report);
};

// Turns each transaction completed on the working copy into glyph changes.
class EditorModelObserver : public DiagramModelObserver<EditorModelObserver> {
public:
    EditorModelObserver(const VELD::ImmutableModel& workingCopy, EditorPrivate* owner)
        : DiagramModelObserver(workingCopy, owner, "the working copy") {}
    void transactionCompleted(const DiagramChangeReport& report);
};

// Holds the editor while its own code runs listeners (selection events, glyph removals, the
// handling of a report) that may close it or let go of it otherwise: what that code goes on to
// use must stay alive. When the last other holder went meanwhile, the editor goes once control
// is back in the event loop, since its caller (a tool, the kernel delivering a report) may still
// be inside it. An editor that nobody holds is not held here either.
class EditorKeepAlive {
public:
    explicit EditorKeepAlive(Editor* editor);
    ~EditorKeepAlive();
    EditorKeepAlive(const EditorKeepAlive&) = delete;
    EditorKeepAlive& operator=(const EditorKeepAlive&) = delete;

private:
    TAVI::Holder<Editor> hold;
};

// The editor's state. The editor's tool stack is the scene of its graphics (toolScene).
class EditorPrivate : public NIMB::Listener {
public:
    explicit EditorPrivate(Editor* editor, PLATFORM::Studio* studio);
    ~EditorPrivate() override;
    EditorPrivate(const EditorPrivate&) = delete;
    EditorPrivate& operator=(const EditorPrivate&) = delete;

    // The domain registered for the diagram's model; null without a diagram or a domain.
    virtual AbstractKiteDomain* getStaticDomain() const;

    // The number the last working copy was named after (process-wide, starts at 0).
    static std::uint32_t lastWorkingCopyNumber();

    void setDiagram(const Diagram& diagram);
    void setApplication(Application* application);
    void setGlyphFactory(GlyphFactory* factory);
    void observeModel(const VELD::Model& model);
    void populate();
    // Glyph creation, update and removal, and the selection's upkeep, for one transaction.
    void processReport(const DiagramChangeReport& report);
    // Brings the working copy in line with the model's root.
    void synchroniseFromRoot();

    // Where selection events go now: null while they are suppressed or nobody takes them.
    PLATFORM::StudioEventService<EditorSelectionChangedEvent>* selectionEventService() const;
    void notifySelectionChanged(const DiagramElement& element, bool selected);
    void notifySelectionChanged(const VELD::ImmutableSequence<DiagramElement>& elements,
                                bool selected);

    ZEPH::GLCanvas* ensureCanvas();
    // Hears the canvas's context-menu and view-change signals (once per canvas).
    void connectCanvas(ZEPH::GLCanvas* view);
    TAVI::GLWidget2* buildWidget();
    // The palette's tool bar beside the canvas; null when the editor offers no palette objects.
    TAVI::GLWidget2* makePalette();
    void onContextMenu(TAVI::GLPoint<int> globalPosition);
    void onViewChanged();
    // The working copy's view of an element; a null element when it is of another model.
    DiagramElement inWorkingCopy(const ImmutableDiagramElement& element) const;
    bool isInDiagram(const ImmutableDiagramElement& element) const;
    // Leaves the selection for every selected element that is gone or shown elsewhere now.
    void dropLostSelections();
    StudioAppLink* studioLink() const;

    // The scene whose tool stack is the editor's; null (reported) without graphics.
    ZEPH::Scene* toolScene() const;

    Editor* editor;
    Application* application = nullptr; // not owned
    VELD::Model workingCopy;
    Diagram diagram;
    // Owned by the editor until the widget exists, then by the widget. Qt may delete it with
    // a window the widget was left in, hence the guarded pointer.
    QPointer<ZEPH::GLCanvas> canvas;
    TAVI::GLWidget2* palette = nullptr; // owned by the widget
    Palette* paletteTools = nullptr;    // owned; its tool bar is the palette widget above
    TAVI::GLWidget2* widget = nullptr;  // owned; guarded by widgetGuard
    QPointer<QWidget> widgetGuard;
    AppModelObserver* rootObserver = nullptr;           // owned
    EditorModelObserver* workingCopyObserver = nullptr; // owned
    VELD::Sequence<DiagramElement> selection;
    // The elements whose glyphs are being told of a selection change now.
    TAVI::GSet<DiagramElement> selectionChanging;
    StudioApp* studioApp = nullptr; // not owned
    Graphics* graphics = nullptr;   // owned
    std::uint32_t notificationBlock = 0;
    PLATFORM::StudioEventService<NavigateUpRequest>* navigateUpService = nullptr; // not owned
    TAVI::UndoRedoCommandTarget undoRedo;
    DiagramElement contextMenuTarget;
    bool initialized = false;
    // Set once the editor is terminated (its tab closed): it shows nothing to select any more.
    bool terminated = false;
    QPointer<ZEPH::GLCanvas> connectedCanvas; // the canvas whose signals the editor hears
    bool activating = false; // an activation the view-change handler started is under way
};

} // namespace KITE
