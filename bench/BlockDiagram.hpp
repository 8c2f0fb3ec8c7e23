#pragma once

// The diagrams the editor and studio benchmarks show: N blocks (80x40 on a grid with 20 unit
// gaps), N/2 connections between consecutive blocks, and five of the blocks holding two small
// blocks each, on a diagram of its own beside the sheet's small diagram "main"; and the studio
// the editor benchmarks show them in.

#include "editor/Editor.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/StudioApp.hpp"
#include "tests/editor/EditorDomain.hpp"
#include "tests/editor/EditorTestSupport.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <vector>

namespace KITE::Bench {

using Point = TAVI::GLPoint<double>;

inline int columns(int n) {
    int c = 1;
    while (c * c < n)
        ++c;
    return c;
}

// The diagram of N blocks. The ten blocks from N/2 on are the ones gestures move; the first of
// them is a container, so that a drag carries nested blocks too.
struct BlockDiagram {
    Test::BlockModel sheet; // its own small diagram "main" stays beside the big one
    Diagram diagram;
    std::vector<GraphNode> blocks;
    int n;

    explicit BlockDiagram(int n) : n(n) {
        VELD::Transaction t(sheet.model);
        diagram = sheet.addDiagram("big");
        blocks.reserve(n);
        for (int i = 0; i < n; ++i)
            blocks.push_back(sheet.addBlock(diagram, position(i), {80, 40}));
        for (int i : {10, n / 4, n / 2, 3 * n / 4, n - 10}) {
            sheet.addBlock(blocks[i], {5, 5}, {20, 10});
            sheet.addBlock(blocks[i], {45, 5}, {20, 10});
        }
        for (int k = 0; 2 * k + 1 < n; ++k)
            connectBlocks(blocks[2 * k], blocks[2 * k + 1]);
        t.commit();
    }

    void connectBlocks(const GraphNode& from, const GraphNode& to) const {
        GraphEdge edge(sheet.model.getFactory().createFromString("Connection"));
        diagram.addContained(edge);
        edge.setSrcElement(from);
        edge.setDstElement(to);
    }

    Point position(int i) const {
        const int c = columns(n);
        return {(i % c) * 100.0, (i / c) * 60.0};
    }
    // The moved blocks, and a point on the first one that no nested block covers.
    static constexpr int moved = 10;
    int firstMoved() const { return n / 2; }
    Point grip() const { return blocks[firstMoved()].getPosition() + Point{40, 30}; }
};

// A studio with one editor on the diagram, with the default tools and the block glyphs, opened
// by the studio application as a user's would be; or, to time the editor's own population alone,
// made and set up step by step short of populating.
struct EditorStudio {
    TAVI::Holder<StudioApp> app{new StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    TAVI::Holder<Editor> editor;
    Test::BoxGlyphFactory factory;

    explicit EditorStudio(const Diagram& diagram, bool open = true) {
        Test::EditorDomain::get()->glyphs = &factory;
        Test::EditorDomain::get()->defaultTools = true;
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        if (open) {
            editor = app->openEditor(diagram, errors);
        } else {
            editor = Editor::create(studio.get(), "unpopulated");
            editor->setDiagram(diagram);
            editor->setGlyphFactory(&factory);
            editor->observeModel(VELD::Model(editor->getDiagram().getModelVELD()));
        }
    }
    // Closed as the tests close theirs.
    ~EditorStudio() {
        editor.reset();
        studio->close();
        studio.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EditorStudio(const EditorStudio&) = delete;
    EditorStudio& operator=(const EditorStudio&) = delete;

    ZEPH::Scene& scene() const { return *editor->getScene(); }
};

} // namespace KITE::Bench
