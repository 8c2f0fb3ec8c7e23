// Editing a large diagram on the canvas, with the library's creation and delete tools in a real
// editor of a studio (diagrams as in editor_bench: N blocks, N/2 connections between consecutive
// blocks). Deleting a selection and undoing the deletion cost what the deleted elements and their
// glyphs cost, and a rubber-band step of an edge being drawn costs one small working-copy
// transaction: neither may grow with N. Read the rubber-band step beside editor_bench's DragStep.
#include "bench/BenchApplication.hpp"
#include "bench/BlockDiagram.hpp"
#include "editor/DeleteToolImpl.hpp"
#include "editor/Editor.hpp"
#include "editor/SimpleEdgeCreationTool.hpp"
#include "platform/zeph/KeyEvent.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "tests/editor/EditorDomain.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

using KITE::Bench::Clock;
using KITE::Bench::seconds;

using namespace KITE;
using Bench::BlockDiagram;
using Point = TAVI::GLPoint<double>;
// The scene's deferred passes and the canvas's repaint.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

VELD::ImmutableClass benchClass(const char* name) {
    return VELD::DomainRegistry::instance().findClass(std::string("editorblocks.") + name);
}

class DeleteTool : public DeleteToolImpl {
public:
    explicit DeleteTool(Editor& editor) : DeleteToolImpl(editor) {}
};

class ConnectionTool : public SimpleEdgeCreationTool {
public:
    explicit ConnectionTool(Editor& editor) : SimpleEdgeCreationTool(editor) {
        setEdgeClass(benchClass("Connection"));
    }
};

// The benchmarks' studio on a diagram of N blocks, with a delete tool, and the rule that
// connections go from block to block.
struct Session {
    BlockDiagram diagram;
    Bench::EditorStudio view{diagram.diagram};
    TAVI::Holder<Editor>& editor = view.editor;

    explicit Session(int n) : diagram(n) {
        Test::EditorDomain::get()->getEdgeCreationRuleSet().createAsymmetricRule(
            benchClass("Block"), benchClass("Block"), benchClass("Connection"));
        editor->addTool(TAVI::Holder<ZEPH::Tool>(new DeleteTool(*editor)));
        settle();
    }

    ZEPH::Scene& scene() const { return *editor->getScene(); }
    VELD::Model root() const { return diagram.sheet.model; }
    // A thousand blocks (half the diagram when it is smaller) from its second quarter on, with
    // their connections: they join consecutive blocks in pairs.
    int firstDeleted() const { return diagram.n / 4 / 2 * 2; }
    void selectThousand() const {
        editor->disableSelectionNotification();
        editor->clearSelection();
        for (int i = firstDeleted(); i < firstDeleted() + std::min(1000, diagram.n / 2); ++i)
            editor->select(diagram.blocks[i].asDeviant(editor->getWorkingCopy()));
        editor->enableSelectionNotification();
    }
    void deleteKey() const {
        ZEPH::KeyEvent event(ZEPH::Key_Delete);
        scene().handleKeyPressEvent(event);
        settle();
    }
    void undo() const {
        root().undoToChangeLevel(root().getUndoStackLength() - 1);
        settle();
    }
    void mouse(void (ZEPH::Scene::*handler)(ZEPH::MouseEvent&), const Point& p, int button,
               int buttons) const {
        ZEPH::MouseEvent event(p, button, buttons, ZEPH::ControlModifier);
        (scene().*handler)(event);
    }
};

PerSize<Session>& sessions() {
    static PerSize<Session> all("editing_bench");
    return all;
}

Session& cached(int n) {
    return sessions().get(n);
}

// 1. The Delete key on 1,000 selected blocks (with their 500 connections): one root transaction,
// the working copy's resynchronisation, the glyphs' removal. Undone afterwards, untimed.
void DeleteThousand(benchmark::State& state) {
    Session& s = cached(int(state.range(0)));
    for (auto _ : state) {
        s.selectThousand();
        settle();
        const Clock::time_point start = Clock::now();
        s.deleteKey();
        state.SetIterationTime(seconds(start, Clock::now()));
        if (s.editor->getGraphics()->getGlyph(s.diagram.blocks[s.firstDeleted()]))
            state.SkipWithError("the selection was not deleted");
        s.undo();
    }
}

// 2. Undoing that deletion: the model moves back one level, the working copy follows and the
// glyphs of the 1,500 elements come back.
void UndoDeleteThousand(benchmark::State& state) {
    Session& s = cached(int(state.range(0)));
    for (auto _ : state) {
        s.selectThousand();
        s.deleteKey();
        const Clock::time_point start = Clock::now();
        s.undo();
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!s.editor->getGraphics()->getGlyph(s.diagram.blocks[s.firstDeleted()]))
            state.SkipWithError("the deletion was not undone");
    }
}

// 3. One pointer step of an edge being drawn from a block: the rubber band dropped and drawn
// again in the working copy, alternately snapped to another block and ending on empty canvas.
void RubberBandStep(benchmark::State& state) {
    Session& s = cached(int(state.range(0)));
    TAVI::Holder<ZEPH::Tool> tool(new ConnectionTool(*s.editor));
    s.editor->addTool(tool);
    const int from = s.diagram.n / 2 + 1;
    // Below the middle, where the blocks' connections end: the press must find the block.
    const Point start = s.diagram.blocks[from].getPosition() + Point{40, 32};
    const Point onBlock = s.diagram.blocks[from + 3].getPosition() + Point{40, 32};
    const Point empty = s.diagram.blocks[from].getPosition() + Point{90, 50}; // in a gap
    s.mouse(&ZEPH::Scene::handleMousePressEvent, start, ZEPH::LeftButton, ZEPH::LeftButton);
    settle();
    int step = 0;
    for (auto _ : state) {
        s.mouse(&ZEPH::Scene::handleMouseMoveEvent, (++step % 2) ? onBlock : empty, ZEPH::NoButton,
                ZEPH::LeftButton);
        settle();
    }
    if (!static_cast<ConnectionTool*>(tool.get())->isActive())
        state.SkipWithError("the press started no edge");
    // Released on empty canvas: no edge is made.
    s.mouse(&ZEPH::Scene::handleMouseReleaseEvent, empty, ZEPH::LeftButton, ZEPH::NoButton);
    s.editor->removeTool(tool);
    settle();
}

#define STEADY ->Repetitions(3)->DisplayAggregatesOnly(true)
#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)
BENCHMARK(DeleteThousand)
SIZES->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond) STEADY;
BENCHMARK(UndoDeleteThousand)
SIZES->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond) STEADY;
BENCHMARK(RubberBandStep) SIZES->Unit(benchmark::kMicrosecond) STEADY;

} // namespace

// The editors go before the process ends, while the signal kernel's per-thread state lives.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sessions().clear();
    return 0;
}
