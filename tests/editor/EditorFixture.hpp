#pragma once

// An editor opened on the block model's diagram by the editor's own set-up steps (the steps
// under test here; studios open editors with StudioApp::openEditor), in a real studio run by a
// studio application, and a recorder of the studio's editor selection events.

#include "editor/Editor.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/StudioApp.hpp"
#include "studio/events/StudioEvents.hpp"
#include "tests/editor/EditorTestSupport.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <ostream>
#include <vector>

namespace KITE::Test {

// The editor selection events of one studio, in the order they came.
struct SelectionEvents : NIMB::Listener {
    explicit SelectionEvents(StudioApp* app) {
        app->getEditorSelectionChangedEventService()->connect(this, &SelectionEvents::record,
                                                              NIMB::Thread::getCurrentThread());
    }
    void record(EditorSelectionChangedEvent event) { events.push_back(event); }

    // One entry per event: the selected flag and the elements carried.
    struct Seen {
        bool selected;
        std::vector<VELD::ImmutableClassObject> elements;
        bool operator==(const Seen&) const = default;
    };
    std::vector<Seen> seen() const {
        std::vector<Seen> out;
        for (const EditorSelectionChangedEvent& e : events) {
            Seen s{e.isSelected(), {}};
            for (const VELD::ClassObject& o : e.selections())
                s.elements.push_back(o);
            out.push_back(s);
        }
        return out;
    }
    std::vector<EditorSelectionChangedEvent> events;
};

inline void PrintTo(const SelectionEvents::Seen& s, std::ostream* os) {
    *os << (s.selected ? "selected" : "deselected") << "[";
    for (const VELD::ImmutableClassObject& o : s.elements)
        *os << " " << o.core();
    *os << " ]";
}

inline SelectionEvents::Seen seen(bool selected,
                                  std::vector<VELD::ImmutableClassObject> elements = {}) {
    return {selected, std::move(elements)};
}

// The editor's set-up steps, in the order the studio application takes them.
inline void openOn(Editor& editor, const Diagram& diagram, GlyphFactory* factory) {
    editor.setDiagram(diagram);
    editor.setGlyphFactory(factory);
    editor.getDiagramSetSignal().send(editor.getDiagram());
    editor.observeModel(VELD::Model(editor.getDiagram().getRootModel()));
    editor.populate();
}

struct EditorFixture {
    BlockModel blocks;
    BoxGlyphFactory factory;
    StudioApp* app = new StudioApp;
    TAVI::Holder<PLATFORM::Studio> studio =
        PLATFORM::Studio::spawnStudio(TAVI::Holder<PLATFORM::Application>(app));
    TAVI::Holder<Editor> editor =
        TAVI::Holder<Editor>(Editor::create(studio.get(), Editor::staticGetTypeName()));

    EditorFixture() { openOn(*editor, blocks.diagram, &factory); }
    ~EditorFixture() {
        editor.reset();
        studio->close();
        studio.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The glyph of an element of the model, as the editor shows it; null when none.
    template <typename G = Glyph> G* glyphOf(const VELD::ImmutableClassObject& element) const {
        return dynamic_cast<G*>(editor->getGraphics()->getGlyph(ImmutableDiagramElement(element)));
    }
    // The element as the editor's working copy shows it.
    DiagramElement shown(const VELD::ImmutableClassObject& element) const {
        return DiagramElement(element.asDeviant(editor->getDiagram().getModelVELD()));
    }
};

} // namespace KITE::Test
