// The model tree on a model of N objects: N / 100 top-level objects with 100 children each,
// the top-level rows expanded, so that every row is shown. The first refresh (rows made and
// painted), a refresh after one object's label changed, a transaction that only moves diagram
// elements (the tree must not rebuild), and closing the studio with every row expanded.
// Times are per operation, from the start of the transaction to the repaint.
#include "bench/BenchApplication.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeComponentDelegate.hpp"
#include "studio/components/TreeViewModel.hpp"
#include "tests/editor/EditorDomain.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

using KITE::Bench::Clock;
using KITE::Bench::seconds;

using namespace KITE;
// The process's CPU time so far: on a loaded machine, wall time says little about the work.
double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Shows the diagram's blocks as the top-level rows, each named by its gain (the test blocks
// have no name of their own), without an editor on the diagram.
class BlocksDelegate : public TreeComponentDelegate {
public:
    BlocksDelegate(PLATFORM::Studio* studio, Diagram diagram)
        : TreeComponentDelegate(studio), diagram(std::move(diagram)) {}
    VELD::ImmutableClassObject getTopElement() override { return diagram; }
    std::vector<VELD::ImmutableClassObject>
    fetchTopLevelItems(const VELD::ImmutableClassObject& top) override {
        std::vector<VELD::ImmutableClassObject> children;
        fetchChildren(top, children);
        return children;
    }
    std::string describeObject(const VELD::ImmutableClassObject& object, unsigned) override {
        const VELD::ImmutableProperty gain = object.getMetaClass().getProperty("gain");
        return gain.isValid() ? "Block " + std::to_string(object.getDouble(gain))
                              : std::string("Diagram");
    }

private:
    Diagram diagram;
};

// A studio window whose tree shows N blocks, N / 100 of them at the top, all expanded.
struct Tree {
    Test::BlockModel sheet;
    std::vector<GraphNode> top;
    std::vector<GraphNode> children;
    TAVI::Holder<StudioApp> app{new StudioApp};
    TAVI::Holder<PLATFORM::Studio> studio;
    TreeComponent* tree = nullptr;
    double firstRefresh = 0;

    explicit Tree(int n) {
        ensureBenchApplication("tree_bench", true);
        Test::EditorDomain::get();
        {
            VELD::Transaction t(sheet.model);
            const int parents = n / 100;
            for (int p = 0; p < parents; ++p) {
                const GraphNode block = sheet.addBlock(sheet.diagram, {p * 10.0, 0}, {8, 8});
                VELD::ClassObject(block).setDouble(block.getMetaClass().getProperty("gain"), p);
                top.push_back(block);
                for (int c = 0; c < 100; ++c)
                    children.push_back(sheet.addBlock(block, {c * 1.0, 0}, {1, 1}));
            }
            t.commit();
        }
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app.staticCast<PLATFORM::Application>(), errors);
        studio->getWindow()->resize(1200, 800);
        studio->getWindow()->setAttribute(Qt::WA_DontShowOnScreen);
        studio->show();
        app->addModel(sheet.model);
        tree = dynamic_cast<TreeComponent*>(app->getComponent(StudioApp::treeComponentName));
        settle();
        const Clock::time_point start = Clock::now();
        tree->setDelegate(new BlocksDelegate(studio.get(), sheet.diagram));
        for (const GraphNode& block : top)
            tree->testAPI_Expand(VELD::ClassObject(block));
        settle();
        firstRefresh = seconds(start, Clock::now());
    }
    ~Tree() {
        if (studio)
            close();
    }
    double close() {
        const Clock::time_point start = Clock::now();
        studio->close();
        studio.reset();
        settle();
        return seconds(start, Clock::now());
    }
};

void TreeFirstRefresh(benchmark::State& state) {
    for (auto _ : state) {
        Tree tree(int(state.range(0)));
        state.SetIterationTime(tree.firstRefresh);
        state.counters["rows"] = tree.tree->getTreeViewModel()->getTotalRowCount();
    }
}
BENCHMARK(TreeFirstRefresh)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// One top-level block's label changes: the tree updates its row only.
void TreeRenameRefresh(benchmark::State& state) {
    Tree tree(int(state.range(0)));
    const GraphNode block = tree.top[tree.top.size() / 2];
    const VELD::ImmutableProperty gain = block.getMetaClass().getProperty("gain");
    double value = 0.5;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        VELD::Transaction t(tree.sheet.model);
        VELD::ClassObject(block).setDouble(gain, value += 1);
        t.commit();
        settle();
        state.SetIterationTime(seconds(start, Clock::now()));
    }
}
BENCHMARK(TreeRenameRefresh)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Ten blocks move: the transaction and the studio's handling of it, tree included (which
// must not rebuild).
void TreeMoveOnly(benchmark::State& state) {
    Tree tree(int(state.range(0)));
    double x = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        VELD::Transaction t(tree.sheet.model);
        x += 1;
        for (int i = 0; i < 10; ++i)
            tree.children[std::size_t(i) * 97].setPosition({x, 2.0});
        t.commit();
        state.SetIterationTime(seconds(start, Clock::now()));
    }
}
BENCHMARK(TreeMoveOnly)->Arg(10000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Closing the studio with every row (top-level and children) expanded.
void TreeCloseAllExpanded(benchmark::State& state) {
    for (auto _ : state) {
        Tree tree(int(state.range(0)));
        for (const GraphNode& child : tree.children)
            if (const unsigned row = tree.tree->getTreeViewModel()->getRow(child))
                tree.tree->getTreeView()->expand(row);
        settle();
        // The tree's own part: the studio takes its dock components out first.
        const Clock::time_point start = Clock::now();
        const double cpuStart = cpuSeconds();
        TAVI::ErrorHolder errors;
        tree.studio->getFrameworkService()->removeComponent(tree.tree, errors);
        settle();
        const double treePart = seconds(start, Clock::now());
        const double treeCpu = cpuSeconds() - cpuStart;
        const double rest = tree.close();
        state.SetIterationTime(treePart + rest);
        state.counters["tree_ms"] = treePart * 1000;
        state.counters["tree_cpu_ms"] = treeCpu * 1000;
        state.counters["window_ms"] = rest * 1000;
    }
}
BENCHMARK(TreeCloseAllExpanded)
    ->Arg(10000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
