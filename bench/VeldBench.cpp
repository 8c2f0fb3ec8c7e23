// The kernel's costs on a System of N Blocks and N/2 Links: creating, changing every block,
// undo and redo, an interactive edit seen by a listener and a working copy, a working-copy
// preview with sync, and the memory a block takes.

#include "bench/BlockModel.hpp"
#include "platform/veld/Veld.hpp"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <vector>

using namespace VELD;

namespace {

using BenchMeta = BenchModel::Meta;
using BuiltModel = BenchModel::Built;

BuiltModel build(std::int64_t n, bool keepHandles) {
    return BenchModel::build(n, keepHandles);
}

struct ReportSink {
    std::int64_t seen = 0;
    void transactionCompleted(const ReportOfChanges<ImmutableClassObject>& r) {
        seen += r.getModified().size() + r.getAdded().size() + r.getRemoved().size();
    }
};

void moveEvery(const BuiltModel& b) {
    const BenchMeta& m = BenchMeta::get();
    Transaction t(b.model);
    for (const ClassObject& block : b.blocks)
        block.setDouble(m.x, block.getDouble(m.x) + 1);
    t.commit();
}

void BM_Create(benchmark::State& state) {
    BenchMeta::get();
    for (auto _ : state) {
        BuiltModel b = build(state.range(0), false);
        benchmark::DoNotOptimize(b.model.getCurrentChangeLevel());
        state.PauseTiming();
        b = BuiltModel{};
        state.ResumeTiming();
    }
    state.counters["blocks/s"] = benchmark::Counter(double(state.range(0)) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}

// Workload 6: heap bytes per block (values, links and lists included) after workload 1.
void BM_MemoryPerBlock(benchmark::State& state) {
    BenchMeta::get();
    double perBlock = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
        BuiltModel b = build(state.range(0), false);
        const std::size_t after = mallinfo2().uordblks + mallinfo2().hblkhd;
        perBlock = double(after - before) / double(state.range(0));
        state.PauseTiming();
        b = BuiltModel{};
        state.ResumeTiming();
    }
    state.counters["bytes_per_block"] = perBlock;
}

// Workload 2: one transaction moving every block, its change report built for a listener.
void BM_ModifyAll(benchmark::State& state) {
    BuiltModel b = build(state.range(0), true);
    ReportSink sink;
    internal::ListenerHolder<ImmutableModel, ReportSink> holder(&sink);
    b.model.registerObservingListener(&holder);
    for (auto _ : state) {
        moveEvery(b);
        state.PauseTiming();
        b.model.undoToChangeLevel(b.model.getCurrentChangeLevel() - 1); // keeps memory flat
        state.ResumeTiming();
    }
    b.model.unregisterObservingListener(&holder);
    state.counters["blocks/s"] = benchmark::Counter(double(state.range(0)) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}

// Workload 3: undo of that transaction, and its redo.
void BM_Undo(benchmark::State& state) {
    BuiltModel b = build(state.range(0), true);
    for (auto _ : state) {
        state.PauseTiming();
        moveEvery(b);
        state.ResumeTiming();
        b.model.undoToChangeLevel(b.model.getCurrentChangeLevel() - 1);
    }
}

void BM_Redo(benchmark::State& state) {
    BuiltModel b = build(state.range(0), true);
    for (auto _ : state) {
        state.PauseTiming();
        moveEvery(b);
        b.model.undoToChangeLevel(b.model.getCurrentChangeLevel() - 1);
        state.ResumeTiming();
        b.model.redoToChangeLevel(b.model.getCurrentChangeLevel() + 1);
        state.PauseTiming();
        b.model.undoToChangeLevel(b.model.getCurrentChangeLevel() - 1);
        state.ResumeTiming();
    }
}

// The editor's pattern: a listener on the root, and a working copy that syncs after every
// root commit and reports to its own listener.
struct Editorish {
    Model root, copy;
    ReportSink rootSink, copySink;
    struct Syncer {
        Editorish* e;
        void transactionCompleted(const ReportOfChanges<ImmutableClassObject>& r) {
            e->rootSink.transactionCompleted(r);
            e->copy.beginTransaction();
            e->copy.syncFromRoot();
            e->copy.commitTransaction();
        }
    } syncer{this};
    internal::ListenerHolder<ImmutableModel, Syncer> rootHolder{&syncer};
    internal::ListenerHolder<ImmutableModel, ReportSink> copyHolder{&copySink};

    explicit Editorish(const Model& m) : root(m), copy(m.createDeviantWithName("1")) {
        root.registerObservingListener(&rootHolder);
        copy.registerObservingListener(&copyHolder);
    }
    ~Editorish() {
        root.unregisterObservingListener(&rootHolder);
        copy.unregisterObservingListener(&copyHolder);
        root.removeDeviantWithName("1");
    }
};

// Ten blocks spread over the whole model: a selection being dragged.
std::vector<ClassObject> selection(const BuiltModel& b) {
    std::vector<ClassObject> out;
    for (std::size_t k = 0; k < 10; ++k)
        out.push_back(b.blocks[(k * 7919 * 13) % b.blocks.size()]);
    return out;
}

// Workload 4: one root transaction moving 10 blocks, with both reports. Each step moves the
// same selection, as successive steps of a drag do.
void BM_Interactive(benchmark::State& state) {
    const BenchMeta& m = BenchMeta::get();
    BuiltModel b = build(state.range(0), true);
    Editorish editor(b.model);
    const std::vector<ClassObject> dragged = selection(b);
    for (auto _ : state) {
        Transaction t(b.model);
        for (const ClassObject& block : dragged)
            block.setDouble(m.x, block.getDouble(m.x) + 1);
        t.commit();
    }
    benchmark::DoNotOptimize(editor.copySink.seen);
}

// The same with 10 other blocks on every step: each touches memory the caches have not seen.
void BM_InteractiveScattered(benchmark::State& state) {
    const BenchMeta& m = BenchMeta::get();
    BuiltModel b = build(state.range(0), true);
    Editorish editor(b.model);
    std::size_t at = 0;
    for (auto _ : state) {
        Transaction t(b.model);
        for (int k = 0; k < 10; ++k) {
            const ClassObject& block = b.blocks[(at += 7919) % b.blocks.size()];
            block.setDouble(m.x, block.getDouble(m.x) + 1);
        }
        t.commit();
    }
    benchmark::DoNotOptimize(editor.copySink.seen);
}

// Workload 5: a working copy changes 10 blocks (a preview), then syncs from the root.
void BM_WorkingCopyPreviewAndSync(benchmark::State& state) {
    const BenchMeta& m = BenchMeta::get();
    BuiltModel b = build(state.range(0), true);
    Model copy = b.model.createDeviantWithName("preview");
    std::vector<ClassObject> dragged;
    for (const ClassObject& block : selection(b))
        dragged.push_back(block.asDeviant(copy));
    for (auto _ : state) {
        Transaction t(copy);
        for (const ClassObject& block : dragged)
            block.setDouble(m.x, block.getDouble(m.x) + 1);
        t.commit();
        copy.syncFromRoot();
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 10000, 100000, 1000000})
        b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(BM_Create)->Apply(sizes);
BENCHMARK(BM_MemoryPerBlock)->Apply(sizes)->Iterations(1);
BENCHMARK(BM_ModifyAll)->Apply(sizes);
BENCHMARK(BM_Undo)->Apply(sizes);
BENCHMARK(BM_Redo)->Apply(sizes);
BENCHMARK(BM_Interactive)->Apply(sizes);
BENCHMARK(BM_InteractiveScattered)->Apply(sizes);
BENCHMARK(BM_WorkingCopyPreviewAndSync)->Apply(sizes);
