// Saving and loading a System of N Blocks and N/2 Links (the kernel benchmark's model): time,
// file size, and the memory a load needs besides the model it makes.

#include "platform/veld/Veld.hpp"
#include "platform/veld/io/ModelFile.hpp"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

using namespace VELD;

namespace {

struct BenchMeta {
    ImmutableClass block, link;
    ImmutableProperty blocks, links, name, x, y, width, height, linkName, src, dst;

    static const BenchMeta& get() {
        static const BenchMeta m = [] {
            MetaModelBuilder b("bench", "bench:blocks");
            b.addClass("System").containment("blocks", "Block").containment("links", "Link");
            b.addClass("Block")
                .attribute("name", "String")
                .attribute("x", "Double")
                .attribute("y", "Double")
                .attribute("width", "Double")
                .attribute("height", "Double")
                .containment("children", "Block")
                .reference("target", "Block");
            b.addClass("Link").attribute("name", "String").reference("src", "Block").reference("dst", "Block");
            b.setModelClass("System");
            const ImmutableNamespace pkg = b.build();
            BenchMeta r;
            r.block = pkg.getClass("Block");
            r.link = pkg.getClass("Link");
            const ImmutableClass system = pkg.getClass("System");
            r.blocks = system.getProperty("blocks");
            r.links = system.getProperty("links");
            r.name = r.block.getProperty("name");
            r.x = r.block.getProperty("x");
            r.y = r.block.getProperty("y");
            r.width = r.block.getProperty("width");
            r.height = r.block.getProperty("height");
            r.linkName = r.link.getProperty("name");
            r.src = r.link.getProperty("src");
            r.dst = r.link.getProperty("dst");
            return r;
        }();
        return m;
    }
};

Model build(std::int64_t n) {
    const BenchMeta& m = BenchMeta::get();
    Model model = DomainRegistry::instance().createModel("bench:blocks");
    const FactoryObject factory = model.getFactory();
    const ClassObject system = model.getRootObject();
    Transaction t(model);
    ClassObject previous;
    for (std::int64_t i = 0; i < n; ++i) {
        ClassObject b = factory.create(m.block);
        b.setString(m.name, "Block" + std::to_string(i));
        b.setDouble(m.x, double(i % 1000) * 20.5);
        b.setDouble(m.y, double(i / 1000) * 20);
        b.setDouble(m.width, 10);
        b.setDouble(m.height, 10);
        system.add(m.blocks, b);
        if (i % 2 == 1) {
            ClassObject l = factory.create(m.link);
            l.setString(m.linkName, "Link" + std::to_string(i / 2));
            l.setObject(m.src, previous);
            l.setObject(m.dst, b);
            system.add(m.links, l);
        }
        previous = b;
    }
    t.commit();
    return model;
}

std::string benchPath() {
    return (std::filesystem::temp_directory_path() / ("veld-io-bench-" + std::to_string(getpid()) + ".veld")).string();
}

std::size_t heapBytes() {
    const auto mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

// Resident set size, and its peak since the last reset, from /proc (Linux).
std::size_t procKiB(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stoull(line.substr(std::string(key).size()));
    return 0;
}
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

void BM_Save(benchmark::State& state) {
    const Model model = build(state.range(0));
    const std::string path = benchPath();
    for (auto _ : state)
        saveModel(model, path);
    state.counters["blocks/s"] = benchmark::Counter(double(state.range(0)) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);
}

void BM_Load(benchmark::State& state) {
    const std::string path = benchPath();
    saveModel(build(state.range(0)), path);
    malloc_trim(0);
    double modelMB = 0, peakMB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        malloc_trim(0);
        const std::size_t heapBefore = heapBytes();
        const std::size_t rssBefore = procKiB("VmRSS:");
        resetPeak();
        state.ResumeTiming();
        Model model = loadModel(path);
        state.PauseTiming();
        // The loaded model's own heap, and the peak resident memory the load added.
        modelMB = double(heapBytes() - heapBefore) / 1e6;
        peakMB = double(procKiB("VmHWM:") - rssBefore) / 1e3;
        model.destroy();
        model = Model();
        state.ResumeTiming();
    }
    state.counters["blocks/s"] = benchmark::Counter(double(state.range(0)) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
    state.counters["file_MB"] = double(std::filesystem::file_size(path)) / 1e6;
    state.counters["model_MB"] = modelMB;
    state.counters["load_peak_MB"] = peakMB;
    std::filesystem::remove(path);
}

// The same without the file system: what the format costs, apart from writing the bytes to
// disk (a save flushes them) or reading them from it.
void BM_Write(benchmark::State& state) {
    const Model model = build(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = writeModel(model).size();
    state.counters["blocks/s"] = benchmark::Counter(double(state.range(0)) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
    state.counters["file_MB"] = double(bytes) / 1e6;
}

void BM_Read(benchmark::State& state) {
    const std::string bytes = writeModel(build(state.range(0)));
    for (auto _ : state) {
        Model model = readModel(bytes, "bench");
        state.PauseTiming();
        model.destroy();
        model = Model();
        state.ResumeTiming();
    }
    state.counters["blocks/s"] = benchmark::Counter(double(state.range(0)) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}

void sizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {10000, 100000, 1000000})
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Save)->Apply(sizes);
BENCHMARK(BM_Load)->Apply(sizes);
BENCHMARK(BM_Write)->Apply(sizes);
BENCHMARK(BM_Read)->Apply(sizes);
