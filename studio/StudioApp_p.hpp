// Private to studio/: included only by its own sources and tests; not installed.
#pragma once

#include "studio/StudioApp.hpp"

#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/Holder.hpp"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace KITE {

class Application;

// The open editors of one studio application, one per diagram, in the order they were opened.
// Holds each editor, so that none it hands out is freed behind its back.
class EditorChaperone {
public:
    virtual ~EditorChaperone();

    bool contains(const ImmutableDiagram& diagram) const { return find(diagram) != nullptr; }
    // By the identity of the diagram's kernel object, whatever view the handle has.
    Editor* find(const VELD::ImmutableClassObject& diagram) const;
    // The editor the diagram's domain makes for the studio, named after the diagram and unique
    // in the studio, bound to the model's application and showing the diagram; recorded. Null
    // with the error when there is no domain or it makes no editor that can show the diagram.
    virtual Editor* create(Application* application, PLATFORM::Studio* studio,
                           const Diagram& diagram, TAVI::ErrorHolder& errors);
    // Forgets the diagram's editor and hands back the hold on it; empty when none.
    TAVI::Holder<Editor> remove(const ImmutableDiagram& diagram, TAVI::ErrorHolder& errors);
    TAVI::GList<Editor*> getAllEditors() const;
    TAVI::GList<ImmutableDiagram> getAllDiagrams() const;
    bool isEmpty() const { return entries.empty(); }
    // The diagram whose editor this is; null when the editor is not recorded.
    ImmutableDiagram diagramOf(const Editor* editor) const;

private:
    struct Entry {
        ImmutableDiagram diagram; // the identity of its kernel object is the key
        TAVI::Holder<Editor> editor;
    };
    std::vector<Entry> entries;
};

// One named filter of the studio, and its mode.
struct FilterEntry {
    std::string name;
    std::string mode;
    boost::shared_ptr<Util::FilterBase> filter; // may be empty
};

class StudioAppPrivate {
public:
    explicit StudioAppPrivate(StudioApp* q);
    ~StudioAppPrivate();
    StudioAppPrivate(const StudioAppPrivate&) = delete;
    StudioAppPrivate& operator=(const StudioAppPrivate&) = delete;

    enum class Stage { Constructed, Initialized, Terminated };

    // Marks the studio application's listeners, and its handling of a report, as running: code
    // up the stack may be inside the editors they close, so those go only once control is back
    // in the event loop.
    class Handling {
    public:
        explicit Handling(const StudioAppPrivate* d) : d(d) { ++d->handling; }
        ~Handling() { --d->handling; }
        Handling(const Handling&) = delete;
        Handling& operator=(const Handling&) = delete;

    private:
        const StudioAppPrivate* d;
    };

    // The framework service while the studio application may use it; null before the services
    // are made and after terminate. With an error holder the absence is reported into it.
    PLATFORM::StudioFrameworkService* ready() const;
    PLATFORM::StudioFrameworkService* ready(const char* operation, TAVI::ErrorHolder& errors) const;

    void makeServices();
    void createDockComponents();
    void connectTabClose();
    template <typename E> void raise(const E& event) const;

    // Models.
    Application* applicationOf(const VELD::Model& model) const;
    Application* getOrCreateApplication(const VELD::Model& model, TAVI::ErrorHolder& errors);

    // Editors.
    Editor* openHere(const Diagram& diagram, AbstractKiteDomain* domain, TAVI::ErrorHolder& errors);
    Editor* openInNewWindow(const Diagram& diagram, TAVI::ErrorHolder& errors);
    void placeEditor(Editor* editor, PLATFORM::StudioFrameworkService& framework,
                     TAVI::ErrorHolder& errors);
    void showWithExplorerBar(Editor* editor, bool show);
    // The common close of a list of editors: one EditorClosedEvent for those closed, then their
    // components go. The number closed.
    int closeEditors(TAVI::GList<Editor*> editors, TAVI::ErrorHolder& errors);
    // Closes the editors, each on its own; a failed close is reported as an assertion at line.
    void closeEach(const TAVI::GList<ImmutableDiagram>& diagrams, int line);

    StudioApp* q; // back pointer
    TAVI::Holder<PLATFORM::StudioFrameworkService> framework;
    StudioEventServices services;
    bool servicesMade = false;
    struct ModelEntry {
        VELD::Model model; // the model's root
        TAVI::Holder<Application> application;
    };
    std::vector<ModelEntry> models; // in the order they were added
    std::map<std::string, FilterEntry> filters;
    std::unique_ptr<EditorChaperone> chaperone;
    Editor* activeEditor = nullptr; // not owned; one of the chaperone's
    boost::shared_ptr<GetIconBase> iconController;
    boost::shared_ptr<ElementDescriberBase> elementDescriber;
    std::deque<TAVI::Holder<PLATFORM::Studio>> spawnedStudios;
    Stage stage = Stage::Constructed;
    mutable int handling = 0; // listeners and report handlings under way
};

} // namespace KITE
