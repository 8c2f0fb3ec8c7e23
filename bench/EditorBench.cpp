// The diagram editor's whole pipeline on large diagrams: a real editor with the default tools in
// a studio, showing a diagram of N blocks (80x40 on a grid with 20 unit gaps, N/2 connections
// between consecutive blocks, five of the blocks holding two small blocks each). Gestures are
// driven by canvas events, as the canvas hands them on. Making the glyphs costs per element;
// every per-gesture figure (a drag step, the commit at release, a selection click, a paint of the
// view) must stay flat in N, since a gesture touches ten blocks whatever the size of the diagram.
// The QtReference figures do the same work on plain Qt items, top-level, with a view attached:
// what the editor's figures are read against.
#include "bench/BenchApplication.hpp"
#include "bench/BlockDiagram.hpp"
#include "editor/Editor.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "tests/editor/EditorDomain.hpp"

#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QImage>
#include <QPainter>

#include <malloc.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

namespace {

using namespace KITE;
using Bench::BlockDiagram;
using Point = TAVI::GLPoint<double>;
// Manual timings read this thread's CPU time: the machines these run on are shared, and wall time
// there counts whatever else runs meanwhile. The work timed is this thread's alone.
struct Clock {
    using time_point = double;
    static double now() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
};

double seconds(Clock::time_point from, Clock::time_point to) {
    return to - from;
}

// The scene's deferred passes (dirty items, scene updates) and the canvas's repaint. The index
// catches up at the next hit test, which the click and the release pay: a hit test here would
// count a second one in every step.
void settle(ZEPH::Scene&) {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The heap in use: the memory a populated editor holds is the difference.
double heapBytes() {
    return double(mallinfo2().uordblks);
}

// A studio component listening to the editor's selection, as the property views do.
class SelectionListener : public NIMB::Listener {
public:
    void heard(EditorSelectionChangedEvent) { ++events; }
    int events = 0;
};

// Made before the studio and gone after it, so that it hears the editor to the end.
struct HeardSelections {
    SelectionListener selectionListener;
};

// The benchmarks' studio, with a studio component listening to the editor's selection.
struct EditorSession : HeardSelections, Bench::EditorStudio {
    EditorSession(const BlockDiagram& d, bool open) : EditorStudio(d.diagram, open) {
        app->getEditorSelectionChangedEventService()->connect(&selectionListener,
                                                              &SelectionListener::heard);
    }

    void press(const Point& p) const {
        ZEPH::MouseEvent event(p, ZEPH::LeftButton, ZEPH::LeftButton, ZEPH::NoModifier);
        scene().handleMousePressEvent(event);
    }
    void move(const Point& p) const {
        ZEPH::MouseEvent event(p, ZEPH::NoButton, ZEPH::LeftButton, ZEPH::NoModifier);
        scene().handleMouseMoveEvent(event);
    }
    void release(const Point& p) const {
        ZEPH::MouseEvent event(p, ZEPH::LeftButton, ZEPH::NoButton, ZEPH::NoModifier);
        scene().handleMouseReleaseEvent(event);
    }
    void selectMoved(const BlockDiagram& d) const {
        editor->clearSelection();
        for (int i = d.firstMoved(); i < d.firstMoved() + BlockDiagram::moved; ++i)
            editor->select(d.blocks[i]);
    }
    // Selects the moved blocks and starts dragging them by their grip; returns the grip.
    Point startDrag(const BlockDiagram& d) const {
        selectMoved(d);
        const Point grip = d.grip();
        press(grip);
        move(grip + Point{10, 10}); // past the threshold: the move tool takes over
        settle(scene());
        return grip;
    }
    // Whether the working copy shows the moved blocks away from where the model has them.
    bool dragging(const BlockDiagram& d) const {
        const GraphNode block = d.blocks[d.firstMoved()];
        return !(block.asDeviant(editor->getWorkingCopy()).getPosition() == block.getPosition());
    }
    // Ends a drag begun by startDrag back at its grip, so that nothing is written: a release
    // commits the last step's offset, wherever it happens.
    void endDragAtStart(const Point& grip) const {
        move(grip);
        release(grip);
        settle(scene());
    }
    // One step of a drag begun by startDrag, alternating between two offsets.
    void dragStep(const Point& grip, int step) const {
        const double d = 10 + 5 * (step % 2);
        move(grip + Point{d, d});
        settle(scene());
    }
};

// One model and one editor per size: a diagram of 100,000 blocks takes seconds to make.
struct Fixture {
    BlockDiagram diagram;
    EditorSession session;
    explicit Fixture(int n) : diagram(n), session(diagram, true) {}
};

PerSize<Fixture>& fixtures() {
    static PerSize<Fixture> all("editor_bench");
    return all;
}

Fixture& cached(int n) {
    return fixtures().get(n);
}

BlockDiagram& cachedDiagram(int n) {
    return cached(n).diagram;
}

// 1. A glyph for every element of the diagram, in a fresh editor; reported per element too.
void Populate(benchmark::State& state) {
    const int n = int(state.range(0));
    const BlockDiagram& diagram = cachedDiagram(n);
    double total = 0, closing = 0, held = 0;
    for (auto _ : state) {
        auto session = std::make_unique<EditorSession>(diagram, false);
        const double heapBefore = heapBytes();
        const Clock::time_point start = Clock::now();
        session->editor->populate();
        settle(session->scene());
        const double taken = seconds(start, Clock::now());
        held += heapBytes() - heapBefore;
        state.SetIterationTime(taken);
        total += taken;
        const Clock::time_point closeStart = Clock::now();
        session.reset();
        closing += seconds(closeStart, Clock::now());
    }
    // The diagram itself, its blocks, the nested ones and the connections.
    const double elements = 1 + n + 10 + n / 2;
    const double rounds = double(state.iterations());
    state.counters["us_per_element"] = total * 1e6 / (elements * rounds);
    state.counters["bytes_per_block"] = held / (double(n) * rounds);
    state.counters["close_ms"] = closing * 1e3 / rounds;
}

// 2. One pointer step of a drag of the ten selected blocks: the working copy's transaction
// (its resynchronisation with the model's root and the preview), the report's handling, the
// glyph updates and the scene's deferred work.
void DragStep(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    const Point grip = s.startDrag(f.diagram);
    int step = 0;
    for (auto _ : state)
        s.dragStep(grip, ++step);
    if (!s.dragging(f.diagram))
        state.SkipWithError("the drag did not move the blocks");
    s.endDragAtStart(grip);
    if (s.dragging(f.diagram))
        state.SkipWithError("the drag was written to the model");
}

// 2b. The start of a drag: the press, and the first pointer step past the threshold, which
// builds the moving set and gathers the glyphs the alignment guides snap to.
void DragStart(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    s.selectMoved(f.diagram);
    const Point grip = f.diagram.grip();
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        s.press(grip);
        s.move(grip + Point{10, 10});
        settle(s.scene());
        state.SetIterationTime(seconds(start, Clock::now()));
        if (!s.dragging(f.diagram))
            state.SkipWithError("the drag did not move the blocks");
        s.endDragAtStart(grip);
    }
}

// 3. The release of a drag: one transaction on the model's root moving the ten blocks, then
// the working copy's resynchronisation and the glyph updates it reports.
void CommitAtRelease(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    s.selectMoved(f.diagram);
    const GraphNode first = f.diagram.blocks[f.diagram.firstMoved()];
    const Point startedAt = first.getPosition();
    int step = 0;
    for (auto _ : state) {
        const double d = (++step % 2) ? 10 : -10; // to and fro, so that the diagram stays put
        const Point grip = f.diagram.grip();
        s.press(grip);
        s.move(grip + Point{d, d});
        settle(s.scene());
        const Clock::time_point start = Clock::now();
        s.release(grip + Point{d, d});
        settle(s.scene());
        state.SetIterationTime(seconds(start, Clock::now()));
        if (first.getPosition() == startedAt + Point{(step % 2) ? d : 0, (step % 2) ? d : 0})
            continue;
        state.SkipWithError("the release did not move the blocks as dragged");
        break;
    }
}

// 3b. The same root transaction made by a script rather than a tool: the editor only follows.
void RootTransaction(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    const VELD::Model root = f.diagram.sheet.model;
    int step = 0;
    for (auto _ : state) {
        const double d = (++step % 2) ? 10 : -10;
        VELD::Transaction t(root);
        for (int i = f.diagram.firstMoved(); i < f.diagram.firstMoved() + BlockDiagram::moved; ++i)
            f.diagram.blocks[i].setPosition(f.diagram.blocks[i].getPosition() + Point{d, d});
        t.commit();
        settle(s.scene());
    }
}

// 4. A click on an unselected block: the selection moves to it (the canvas's and the editor's,
// and the studio hears of it).
void SelectionClick(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    s.editor->clearSelection();
    int step = 0;
    for (auto _ : state) {
        const int i = f.diagram.firstMoved() + 2 * (++step % 2) + 1; // two blocks in turn
        const Point p = f.diagram.blocks[i].getPosition() + Point{40, 20};
        s.press(p);
        s.release(p);
        settle(s.scene());
    }
    if (s.editor->getSelection().size() != 1)
        state.SkipWithError("a click did not leave one block selected");
}

// 5. Painting a 1000x800 canvas on the dragged blocks after each drag step.
void PaintAfterDragStep(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    ZEPH::GLCanvas* canvas = s.editor->getCanvas();
    canvas->resize(1000, 800);
    const Point grip = f.diagram.grip();
    canvas->showSceneRect({grip.x - 400, grip.y - 300, 1000, 800});
    QImage image(1000, 800, QImage::Format_ARGB32_Premultiplied);
    s.startDrag(f.diagram);
    int step = 0;
    for (auto _ : state) {
        s.dragStep(grip, ++step);
        const Clock::time_point start = Clock::now();
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            canvas->render(&painter);
        }
        state.SetIterationTime(seconds(start, Clock::now()));
    }
    s.endDragAtStart(grip);
}

// 6. A marquee from the diagram's corner over the first 10,000 blocks (all of them in smaller
// diagrams): one gesture, every block under it selected, and the studio told once.
void MarqueeSelect(benchmark::State& state) {
    Fixture& f = cached(int(state.range(0)));
    EditorSession& s = f.session;
    const int c = Bench::columns(f.diagram.n);
    const int rows = std::max(1, std::min(f.diagram.n, 10000) / c);
    const Point from{-10, -10};
    const Point to{c * 100.0, rows * 60.0 - 15};
    int events = 0;
    for (auto _ : state) {
        s.editor->clearSelection();
        settle(s.scene());
        const int heardBefore = s.selectionListener.events;
        const Clock::time_point start = Clock::now();
        s.press(from);
        s.move(from + Point{20, 20});
        s.move(to);
        s.release(to);
        settle(s.scene());
        state.SetIterationTime(seconds(start, Clock::now()));
        events += s.selectionListener.events - heardBefore;
    }
    state.counters["selected"] = double(s.editor->getSelection().size());
    state.counters["events_per_gesture"] = double(events) / double(state.iterations());
    s.editor->clearSelection();
    settle(s.scene());
}

// The same work done on plain Qt: the blocks, nested blocks and connections as graphics items
// (blocks and connections top-level, nested blocks inside their blocks), with a view attached.
// What the editor's figures are read against.
struct QtReference {
    QGraphicsScene scene;
    QGraphicsView view;
    std::vector<QGraphicsRectItem*> blocks;
    std::vector<QGraphicsLineItem*> lines; // the connection from block 2k is lines[k]

    explicit QtReference(const BlockDiagram& d) {
        view.setRenderHint(QPainter::Antialiasing);
        view.setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
        view.setScene(&scene);
        blocks.reserve(d.n);
        for (int i = 0; i < d.n; ++i) {
            auto* block = new QGraphicsRectItem(0, 0, 80, 40);
            block->setPos(d.position(i).x, d.position(i).y);
            block->setBrush(Qt::white);
            block->setFlag(QGraphicsItem::ItemIsSelectable);
            scene.addItem(block);
            blocks.push_back(block);
        }
        for (int i : {10, d.n / 4, d.n / 2, 3 * d.n / 4, d.n - 10}) {
            for (double x : {5.0, 45.0}) {
                auto* nested = new QGraphicsRectItem(0, 0, 20, 10, blocks[i]);
                nested->setPos(x, 5);
                nested->setBrush(Qt::white);
                nested->setFlag(QGraphicsItem::ItemIsSelectable);
            }
        }
        for (int k = 0; 2 * k + 1 < d.n; ++k) {
            auto* line = new QGraphicsLineItem;
            line->setFlag(QGraphicsItem::ItemIsSelectable);
            scene.addItem(line);
            lines.push_back(line);
            placeLine(k);
        }
    }
    void placeLine(int k) const {
        const QPointF half(40, 20);
        lines[k]->setLine(QLineF(blocks[2 * k]->pos() + half, blocks[2 * k + 1]->pos() + half));
    }
    // The ten moved blocks by (d, d), and the connections at their ends.
    void move(const BlockDiagram& diagram, double d) const {
        for (int i = diagram.firstMoved(); i < diagram.firstMoved() + BlockDiagram::moved; ++i) {
            blocks[i]->moveBy(d, d);
            if (i / 2 < int(lines.size()))
                placeLine(i / 2);
        }
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

void QtReferencePopulate(benchmark::State& state) {
    const int n = int(state.range(0));
    const BlockDiagram& diagram = cachedDiagram(n);
    double total = 0, held = 0;
    for (auto _ : state) {
        const double heapBefore = heapBytes();
        const Clock::time_point start = Clock::now();
        auto reference = std::make_unique<QtReference>(diagram);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const double taken = seconds(start, Clock::now());
        held += heapBytes() - heapBefore;
        state.SetIterationTime(taken);
        total += taken;
    }
    const double elements = 1 + n + 10 + n / 2;
    const double rounds = double(state.iterations());
    state.counters["us_per_element"] = total * 1e6 / (elements * rounds);
    state.counters["bytes_per_block"] = held / (double(n) * rounds);
}

std::map<int, std::unique_ptr<QtReference>>& references() {
    static std::map<int, std::unique_ptr<QtReference>> all;
    return all;
}

QtReference& cachedReference(int n) {
    auto& slot = references()[n];
    if (!slot)
        slot = std::make_unique<QtReference>(cachedDiagram(n));
    return *slot;
}

void QtReferenceMoveStep(benchmark::State& state) {
    const int n = int(state.range(0));
    const QtReference& reference = cachedReference(n);
    const BlockDiagram& diagram = cachedDiagram(n);
    int step = 0;
    for (auto _ : state)
        reference.move(diagram, (++step % 2) ? 5 : -5);
}

void QtReferencePaint(benchmark::State& state) {
    const int n = int(state.range(0));
    QtReference& reference = cachedReference(n);
    const BlockDiagram& diagram = cachedDiagram(n);
    reference.view.resize(1000, 800);
    const Point grip = diagram.grip();
    reference.view.fitInView(QRectF(grip.x - 400, grip.y - 300, 1000, 800), Qt::KeepAspectRatio);
    QImage image(1000, 800, QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        reference.move(diagram, (++step % 2) ? 5 : -5);
        const Clock::time_point start = Clock::now();
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            reference.view.render(&painter);
        }
        state.SetIterationTime(seconds(start, Clock::now()));
    }
}

// Every figure is repeated three times and read as its median: on a shared machine single runs
// vary by a fifth.
#define STEADY ->Repetitions(3)->DisplayAggregatesOnly(true)
#define SIZES ->Arg(1000)->Arg(10000)->Arg(100000)->Arg(300000)
// Fixed iteration counts: a populate makes and tears down a whole editor.
#define POPULATE(n, rounds)                                                                        \
    BENCHMARK(Populate)->Arg(n)->Iterations(rounds)->UseManualTime()->Unit(                        \
        benchmark::kMillisecond) STEADY
POPULATE(1000, 10);
POPULATE(10000, 3);
POPULATE(100000, 1);
POPULATE(300000, 1);
BENCHMARK(DragStep) SIZES->Unit(benchmark::kMicrosecond) STEADY;
BENCHMARK(DragStart) SIZES->Iterations(20)->UseManualTime()->Unit(benchmark::kMicrosecond) STEADY;
// A fixed count: each round starts a drag, untimed, whose guides measure the whole diagram.
constexpr benchmark::TimeUnit us = benchmark::kMicrosecond;
BENCHMARK(CommitAtRelease) SIZES->Iterations(40)->UseManualTime()->Unit(us) STEADY;
BENCHMARK(RootTransaction) SIZES->Unit(benchmark::kMicrosecond) STEADY;
BENCHMARK(SelectionClick) SIZES->Unit(benchmark::kMicrosecond) STEADY;
BENCHMARK(PaintAfterDragStep) SIZES->UseManualTime()->Unit(benchmark::kMicrosecond) STEADY;
// Three gestures a round: one at 100,000 blocks selects ten thousand of them.
constexpr benchmark::TimeUnit ms = benchmark::kMillisecond;
BENCHMARK(MarqueeSelect) SIZES->Iterations(3)->UseManualTime()->Unit(ms) STEADY;
#define QT_POPULATE(n, rounds)                                                                     \
    BENCHMARK(QtReferencePopulate)                                                                 \
        ->Arg(n)                                                                                   \
        ->Iterations(rounds)                                                                       \
        ->UseManualTime()                                                                          \
        ->Unit(benchmark::kMillisecond) STEADY
QT_POPULATE(1000, 10);
QT_POPULATE(10000, 3);
QT_POPULATE(100000, 1);
QT_POPULATE(300000, 1);
BENCHMARK(QtReferenceMoveStep) SIZES->Unit(benchmark::kMicrosecond) STEADY;
BENCHMARK(QtReferencePaint) SIZES->UseManualTime()->Unit(benchmark::kMicrosecond) STEADY;

} // namespace

// The editors go before the process ends: their last selection event needs the per-thread state
// of the signal kernel, which is gone once exit has begun.
int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    references().clear();
    fixtures().clear();
    return 0;
}
