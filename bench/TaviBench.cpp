#include "platform/tavi/StringID.hpp"

#include <benchmark/benchmark.h>

#include <string>

// Construction of a StringID whose text is interned already: the cost paid by
// every lookup of a name or tool role.
static void BM_StringID_Existing(benchmark::State& state) {
    const std::string text = "lib.Block/EdgeCreation";
    const TAVI::StringID interned(text);
    for (auto _ : state) {
        TAVI::StringID id(text);
        benchmark::DoNotOptimize(id);
    }
}
BENCHMARK(BM_StringID_Existing);

// Construction of a StringID with a text never seen before: interning proper.
// Texts are made outside the timed part.
static void BM_StringID_New(benchmark::State& state) {
    static long serial = 0;
    constexpr int batch = 1024;
    std::vector<std::string> texts(batch);
    for (auto _ : state) {
        state.PauseTiming();
        for (std::string& text : texts)
            text = "lib.Block/Port" + std::to_string(serial++);
        state.ResumeTiming();
        for (const std::string& text : texts) {
            TAVI::StringID id(text);
            benchmark::DoNotOptimize(id);
        }
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_StringID_New);

// Case-insensitive comparison of two ids.
static void BM_StringID_EqualsIgnoreCase(benchmark::State& state) {
    const TAVI::StringID a("PaletteTool"), b("PALETTETOOL");
    for (auto _ : state)
        benchmark::DoNotOptimize(a.equalsIgnoreCase(b));
}
BENCHMARK(BM_StringID_EqualsIgnoreCase);
