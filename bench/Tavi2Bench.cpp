// View models under a shown tree view: appending, changing and removing rows as the model grows.
// A step that touches k rows should cost about the same whatever the model's size.
#include "bench/BenchApplication.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A tree view showing a model of n top-level rows, each with a name.
struct Shown {
    explicit Shown(unsigned n) {
        ensureBenchApplication("tavi2_bench", false);
        model = new TAVI::GLAbstractViewModel2;
        column = model->appendColumns({"Name"}).front();
        view = std::make_unique<TAVI::GLTreeView2>("qt");
        view->setModel(model);
        view->resize(400, 600);
        view->show();
        append(n);
        settle();
    }
    std::vector<unsigned> append(unsigned n) {
        model->beginTransaction();
        const std::vector<unsigned> added = model->appendRows(TAVI::GLAbstractModel2::rootRow, n);
        for (unsigned uid : added)
            model->setValue(uid, column, std::string("Block ") + std::to_string(uid));
        model->endTransaction();
        return added;
    }
    // What the user would wait for: the view lays out and paints.
    void settle() const { QCoreApplication::processEvents(); }

    TAVI::Holder<TAVI::GLAbstractViewModel2> model;
    unsigned column = 0;
    std::unique_ptr<TAVI::GLTreeView2> view;
};

// Appending n rows in one transaction to an empty, shown model, then painting.
void BM_AppendRowsInTransaction(benchmark::State& state) {
    const unsigned n = unsigned(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Shown shown(0);
        state.ResumeTiming();
        shown.append(n);
        shown.settle();
        state.PauseTiming();
        shown.view.reset();
        state.ResumeTiming();
    }
    state.counters["per_row"] = benchmark::Counter(
        double(state.iterations()) * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AppendRowsInTransaction)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Changing one cell of a model of n rows and repainting: should not grow with n.
void BM_SetOneValue(benchmark::State& state) {
    Shown shown(unsigned(state.range(0)));
    const unsigned row = shown.model->getRowUID(0, 5);
    int value = 0;
    for (auto _ : state) {
        shown.model->setValue(row, shown.column, ++value);
        shown.settle();
    }
}
BENCHMARK(BM_SetOneValue)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Appending 10 rows to a model of n rows and removing them again.
void BM_AppendAndRemoveTen(benchmark::State& state) {
    Shown shown(unsigned(state.range(0)));
    for (auto _ : state) {
        const std::vector<unsigned> added = shown.append(10);
        shown.model->removeRows(added);
        shown.settle();
    }
}
BENCHMARK(BM_AppendAndRemoveTen)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The same without a view: what the model itself costs.
void BM_AppendAndRemoveTenModelOnly(benchmark::State& state) {
    TAVI::Holder<TAVI::GLAbstractViewModel2> model(new TAVI::GLAbstractViewModel2);
    const unsigned column = model->appendColumns(1).front();
    model->appendRows(TAVI::GLAbstractModel2::rootRow, unsigned(state.range(0)));
    for (auto _ : state) {
        model->beginTransaction();
        const std::vector<unsigned> added = model->appendRows(TAVI::GLAbstractModel2::rootRow, 10);
        for (unsigned uid : added)
            model->setValue(uid, column, int(uid));
        model->endTransaction();
        model->removeRows(added);
    }
}
BENCHMARK(BM_AppendAndRemoveTenModelOnly)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Scrolling a model of n rows from its top to its end and back.
void BM_ScrollToEnd(benchmark::State& state) {
    Shown shown(unsigned(state.range(0)));
    const unsigned first = shown.model->getRowUID(0, 0);
    const unsigned last = shown.model->getRowUID(0, shown.model->getRowCount(0) - 1);
    for (auto _ : state) {
        shown.view->scrollTo(last);
        shown.settle();
        shown.view->scrollTo(first);
        shown.settle();
    }
}
BENCHMARK(BM_ScrollToEnd)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// A shown tree of n / 100 top-level rows with 100 children each, every row expandable (as a
// model tree offers its objects before it loads their children) and expanded; then the view
// lets go of it, as it does when its window closes, after the model removed all its rows when
// range(1) is 1. Qt keeps a persistent index per expanded row, so their cost shows here.
void BM_DropFullyExpandedTree(benchmark::State& state) {
    const unsigned parents = unsigned(state.range(0)) / 100;
    for (auto _ : state) {
        state.PauseTiming();
        Shown shown(0);
        shown.model->beginTransaction();
        std::vector<unsigned> all =
            shown.model->appendRows(TAVI::GLAbstractModel2::rootRow, parents);
        for (unsigned parent = 0; parent < parents; ++parent) {
            const std::vector<unsigned> children = shown.model->appendRows(all[parent], 100);
            all.insert(all.end(), children.begin(), children.end());
        }
        for (unsigned uid : all) {
            shown.model->setValue(uid, shown.column, std::string("Block ") + std::to_string(uid));
            shown.model->setRowExpandable(uid, true);
        }
        shown.model->endTransaction();
        for (unsigned uid : all)
            shown.view->expand(uid);
        shown.settle();
        state.ResumeTiming();
        if (state.range(1) == 1)
            shown.model->removeAllRows();
        shown.view.reset();
        shown.model.reset();
    }
}
BENCHMARK(BM_DropFullyExpandedTree)
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
