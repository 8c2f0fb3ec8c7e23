// Saving and loading a System of N Blocks and N/2 Links (the kernel benchmark's model): time,
// file size, and the memory a load needs besides the model it makes.

#include "bench/BlockModel.hpp"
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

Model build(std::int64_t n) {
    return BenchModel::build(n, false).model;
}

std::string benchPath() {
    return (std::filesystem::temp_directory_path() /
            ("veld-io-bench-" + std::to_string(getpid()) + ".veld"))
        .string();
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
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

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
