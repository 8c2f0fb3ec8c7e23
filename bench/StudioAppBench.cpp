// The studio application around the editor, on the editor benchmark's diagrams (N blocks, N/2
// connections): opening an editor up to the first paint of its window, closing it, and removing
// a model with ten open editors; beside the editor's own population of the same diagrams, timed
// as the editor benchmark times it. What the studio application adds is the difference between
// opening and populating.
#include "bench/BenchApplication.hpp"
#include "bench/BlockDiagram.hpp"
#include "editor/Editor.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/StudioApp.hpp"
#include "tests/editor/EditorDomain.hpp"

#include <QCoreApplication>
#include <QEvent>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

using KITE::Bench::Clock;
using KITE::Bench::seconds;

using namespace KITE;
using Bench::BlockDiagram;
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

BlockDiagram& cachedDiagram(int n) {
    static PerSize<BlockDiagram> all("studioapp_bench");
    return all.get(n);
}

// Ten diagrams of N/10 blocks each in one model (the sheet's "main" is the eleventh).
struct TenDiagrams {
    Test::BlockModel sheet;
    std::vector<Diagram> diagrams;
    explicit TenDiagrams(int n) {
        VELD::Transaction t(sheet.model);
        const int each = n / 10, c = Bench::columns(each);
        for (int k = 0; k < 10; ++k) {
            const Diagram d = sheet.addDiagram("part" + std::to_string(k));
            GraphNode previous;
            for (int i = 0; i < each; ++i) {
                const GraphNode block =
                    sheet.addBlock(d, {(i % c) * 100.0, (i / c) * 60.0}, {80, 40});
                if (i % 2) {
                    GraphEdge edge(sheet.model.getFactory().createFromString("Connection"));
                    d.addContained(edge);
                    edge.setSrcElement(previous);
                    edge.setDstElement(block);
                }
                previous = block;
            }
            diagrams.push_back(d);
        }
        t.commit();
    }
};

// A studio window, laid out off screen as a user would see it.
struct StudioWindow {
    TAVI::Holder<StudioApp> app{new StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    Test::BoxGlyphFactory factory;

    StudioWindow() {
        Test::EditorDomain::get()->glyphs = &factory;
        Test::EditorDomain::get()->defaultTools = true;
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        studio->getWindow()->resize(1200, 800);
        studio->getWindow()->setAttribute(Qt::WA_DontShowOnScreen);
        studio->show();
        settle();
    }
    ~StudioWindow() {
        studio->close();
        studio.reset();
        settle();
    }
    Editor* open(const Diagram& diagram) const {
        TAVI::ErrorHolder errors;
        return app->openEditor(diagram, errors);
    }
};

// 0. The editor's own population (its glyphs and the scene's deferred work), as the editor
// benchmark's Populate times it.
void EditorPopulate(benchmark::State& state) {
    const BlockDiagram& d = cachedDiagram(int(state.range(0)));
    for (auto _ : state) {
        StudioWindow window;
        TAVI::Holder<Editor> editor(Editor::create(window.studio.get(), "bare"));
        editor->setDiagram(d.diagram);
        editor->setGlyphFactory(&window.factory);
        editor->observeModel(VELD::Model(editor->getDiagram().getModelVELD()));
        const Clock::time_point start = Clock::now();
        editor->populate();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        state.SetIterationTime(seconds(start, Clock::now()));
        TAVI::ErrorHolder errors;
        editor->terminate(errors);
    }
}

// 1. openEditor up to the first paint of its window (the time), in three stretches: until
// openEditor returns (open_ms, to compare with the population above), the deferred work of
// the scene and the window's layout (settle_ms), and the paint itself (paint_ms: Qt builds its
// scene index on the first paint).
void OpenEditorToFirstPaint(benchmark::State& state) {
    const BlockDiagram& d = cachedDiagram(int(state.range(0)));
    double open = 0, settled = 0, paint = 0;
    for (auto _ : state) {
        StudioWindow window;
        const Clock::time_point start = Clock::now();
        if (!window.open(d.diagram)) {
            state.SkipWithError("no editor");
            break;
        }
        const Clock::time_point opened = Clock::now();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const Clock::time_point laidOut = Clock::now();
        const QPixmap painted = window.studio->getWindow()->grab();
        const Clock::time_point end = Clock::now();
        benchmark::DoNotOptimize(painted);
        state.SetIterationTime(seconds(start, end));
        open += seconds(start, opened);
        settled += seconds(opened, laidOut);
        paint += seconds(laidOut, end);
    }
    const double rounds = double(state.iterations()) / 1e3;
    state.counters["open_ms"] = open / rounds;
    state.counters["settle_ms"] = settled / rounds;
    state.counters["paint_ms"] = paint / rounds;
}

// 2. closeEditor, with the editor's destruction (the working copy leaves the model).
void CloseEditor(benchmark::State& state) {
    const BlockDiagram& d = cachedDiagram(int(state.range(0)));
    for (auto _ : state) {
        StudioWindow window;
        window.open(d.diagram);
        settle();
        TAVI::ErrorHolder errors;
        const Clock::time_point start = Clock::now();
        window.app->closeEditor(d.diagram, errors);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.SetIterationTime(seconds(start, Clock::now()));
    }
}

// 3. removeModel of a model with ten open editors, N/10 blocks each: ten closes, the model's
// application, and the editors' destruction.
void RemoveModelWithTenEditors(benchmark::State& state) {
    static PerSize<TenDiagrams> models("studioapp_bench");
    TenDiagrams& model = models.get(int(state.range(0)));
    for (auto _ : state) {
        StudioWindow window;
        for (const Diagram& diagram : model.diagrams)
            window.open(diagram);
        settle();
        const Clock::time_point start = Clock::now();
        window.app->removeModel(model.sheet.model);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!window.app->getAllEditors().isEmpty())
            state.SkipWithError("editors left open");
    }
}

#define STEADY ->Repetitions(3)->DisplayAggregatesOnly(true)->UseManualTime()
#define SIZED(bench, n, rounds)                                                                    \
    BENCHMARK(bench)->Arg(n)->Iterations(rounds)->Unit(benchmark::kMillisecond) STEADY
#define ALL_SIZES(bench)                                                                           \
    SIZED(bench, 1000, 10);                                                                        \
    SIZED(bench, 10000, 3);                                                                        \
    SIZED(bench, 100000, 1)
ALL_SIZES(EditorPopulate);
ALL_SIZES(OpenEditorToFirstPaint);
ALL_SIZES(CloseEditor);
ALL_SIZES(RemoveModelWithTenEditors);

} // namespace
