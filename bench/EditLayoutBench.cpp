// One drag step of the alignment guides among many candidates: what the editor
// pays on each pointer move while a node is dragged.
#include "platform/editlayout/SmartGuides.hpp"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

using EditLayout::Guide;
using EditLayout::Item;
using EditLayout::LayoutRect;
using EditLayout::SmartGuides;

// 80x40 rectangles on a grid with 20 unit gaps: whole columns and rows align,
// so a snap finds many partners on each axis.
std::vector<Item> gridItems(int n) {
    int columns = 1;
    while (columns * columns < n)
        ++columns;
    std::vector<Item> items;
    items.reserve(n);
    for (int i = 0; i < n; ++i)
        items.emplace_back(LayoutRect((i / columns) * 60.0, (i % columns) * 100.0, 80, 40));
    return items;
}

// Rectangles of assorted sizes scattered at random: few exact alignments.
std::vector<Item> scatteredItems(int n) {
    std::mt19937 random(42);
    std::uniform_real_distribution<double> position(0.0, 10000.0);
    std::uniform_real_distribution<double> size(20.0, 200.0);
    std::vector<Item> items;
    items.reserve(n);
    for (int i = 0; i < n; ++i)
        items.emplace_back(
            LayoutRect(position(random), position(random), size(random), size(random)));
    return items;
}

void runDragFeedback(benchmark::State& state, const std::vector<Item>& candidates) {
    const Item dragged(LayoutRect(0, 0, 80, 40));
    SmartGuides guides(dragged, candidates, 10, 10);
    std::vector<Guide> found;
    double dx = 0, dy = 0;
    // Sorting the candidates happens once, on the first call: keep it out of the figure.
    guides.DragFeedback(0, 0, found, dx, dy);
    // Pointer positions that wander over the whole area, a few units at a time.
    double x = 1234.5, y = 987.25;
    std::size_t guideCount = 0;
    for (auto _ : state) {
        found.clear();
        benchmark::DoNotOptimize(guides.DragFeedback(x, y, found, dx, dy));
        guideCount += found.size();
        x = x > 9000 ? 3.0 : x + 37.3;
        y = y > 5000 ? 7.0 : y + 11.9;
    }
    state.counters["guides/call"] =
        benchmark::Counter(double(guideCount) / double(state.iterations()));
}

void BM_DragFeedback_Grid(benchmark::State& state) {
    runDragFeedback(state, gridItems(int(state.range(0))));
}
BENCHMARK(BM_DragFeedback_Grid)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_DragFeedback_Scattered(benchmark::State& state) {
    runDragFeedback(state, scatteredItems(int(state.range(0))));
}
BENCHMARK(BM_DragFeedback_Scattered)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Setting up the guides at the start of a drag, including the first sort.
void BM_SmartGuidesSetup(benchmark::State& state) {
    const std::vector<Item> candidates = gridItems(int(state.range(0)));
    const Item dragged(LayoutRect(0, 0, 80, 40));
    std::vector<Guide> found;
    double dx = 0, dy = 0;
    for (auto _ : state) {
        SmartGuides guides(dragged, candidates, 10, 10);
        found.clear();
        benchmark::DoNotOptimize(guides.DragFeedback(0, 0, found, dx, dy));
    }
}
BENCHMARK(BM_SmartGuidesSetup)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
