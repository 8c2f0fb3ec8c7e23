// The model tree's cost of filtering: walking every object of a model of about 100,000 objects
// through DefaultGetChildren with an XMLFilterMatch attribute filter (with include and exclude
// lists for every class), against the same walk through getContaineeVELDs with no filter.
// Library -> 10 Systems -> 10 Subsystems each -> 100 Blocks each -> 9 Ports each.

#include "studio/components/DefaultGetChildren.hpp"
#include "utils/XMLFilterMatch.hpp"

#include "platform/tavi/xmldb/Database.hpp"
#include "platform/veld/Veld.hpp"

#include <benchmark/benchmark.h>
#include <boost/make_shared.hpp>

#include <chrono>
#include <string>
#include <vector>

using namespace VELD;

namespace {

constexpr int kSystems = 10, kSubsystems = 10, kBlocks = 100, kPorts = 9;

TAVI::XMLDB::Database& benchDatabase() {
    static TAVI::XMLDB::Database db;
    return db;
}

struct Tree {
    Model model;
    std::size_t objects = 0;

    static Tree& get() {
        static Tree t = [] {
            MetaModelBuilder b("benchfilt", "bench:filters");
            b.addClass("Library").attribute("name", "String").containment("systems", "System");
            b.addClass("System")
                .attribute("name", "String")
                .attribute("description", "String")
                .containment("subsystems", "System")
                .containment("blocks", "Block")
                .containment("notes", "Note")
                .reference("favourite", "Block");
            b.addClass("Block")
                .attribute("name", "String")
                .attribute("gain", "Double")
                .containment("ports", "Port")
                .containment("annotations", "Note");
            b.addClass("Port").attribute("name", "String").attribute("index", "Integer");
            b.addClass("Note").attribute("text", "String");
            b.setModelClass("Library");
            const ImmutableNamespace pkg = b.build();

            TAVI::XMLDB::Database& db = benchDatabase();
            db.setDataList("Filter/benchfilt.Library/Tree/Browse/Include", {"systems"});
            db.setDataList("Filter/benchfilt.System/Tree/Browse/Include", {"subsystems", "blocks"});
            db.setDataList("Filter/benchfilt.System/Tree/Browse/Exclude", {"notes"});
            db.setDataList("Filter/benchfilt.Block/Tree/Browse/Exclude", {"annotations"});
            db.setDataList("Filter/benchfilt.Port/Tree/Browse/Exclude", {"index"});

            Tree r;
            r.model = DomainRegistry::instance().createModel("bench:filters");
            const ImmutableClass system = pkg.getClass("System"), block = pkg.getClass("Block");
            const ImmutableProperty systems = pkg.getClass("Library").getProperty("systems");
            const ImmutableProperty subsystems = system.getProperty("subsystems");
            const ImmutableProperty blocks = system.getProperty("blocks");
            const ImmutableProperty ports = block.getProperty("ports");
            const ImmutableProperty name = block.getProperty("name");
            const FactoryObject f = r.model.getFactory();
            Transaction t(r.model);
            r.objects = 1;
            for (int s = 0; s < kSystems; ++s) {
                ClassObject sys = f.createFromString("System");
                r.model.getRootObject().add(systems, sys);
                ++r.objects;
                for (int u = 0; u < kSubsystems; ++u) {
                    ClassObject sub = f.createFromString("System");
                    sys.add(subsystems, sub);
                    ++r.objects;
                    for (int k = 0; k < kBlocks; ++k) {
                        ClassObject blk = f.createFromString("Block");
                        blk.setString(name, "Gain" + std::to_string(k));
                        sub.add(blocks, blk);
                        ++r.objects;
                        for (int p = 0; p < kPorts; ++p) {
                            blk.add(ports, f.createFromString("Port"));
                            ++r.objects;
                        }
                    }
                }
            }
            t.commit();
            return r;
        }();
        return t;
    }
};

std::size_t walkUnfiltered(const ImmutableClassObject& object) {
    std::size_t n = 1;
    for (const ImmutableClassObject& child : object.getContaineeVELDs())
        n += walkUnfiltered(child);
    return n;
}

std::size_t walkFiltered(KITE::DefaultGetChildren& populator, const ImmutableClassObject& object) {
    std::size_t n = 1;
    std::vector<ImmutableClassObject> children;
    populator.execute(object, &children);
    for (const ImmutableClassObject& child : children)
        n += walkFiltered(populator, child);
    return n;
}

boost::shared_ptr<KITE::Util::XMLFilterMatch> treeFilter() {
    return boost::make_shared<KITE::Util::XMLFilterMatch>("Tree", "", &benchDatabase, true);
}

void BM_WalkUnfiltered(benchmark::State& state) {
    Tree& tree = Tree::get();
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(n = walkUnfiltered(tree.model.getRootObject()));
    state.counters["objects"] = static_cast<double>(n);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}
BENCHMARK(BM_WalkUnfiltered)->Unit(benchmark::kMillisecond);

void BM_WalkFilteredXMLFilterMatch(benchmark::State& state) {
    Tree& tree = Tree::get();
    KITE::DefaultGetChildren populator(treeFilter(), "Browse");
    std::size_t n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(n = walkFiltered(populator, tree.model.getRootObject()));
    state.counters["objects"] = static_cast<double>(n);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(n));
}
BENCHMARK(BM_WalkFilteredXMLFilterMatch)->Unit(benchmark::kMillisecond);

// Both walks in each iteration, timed apart: the counter "ratio" is filtered / unfiltered.
void BM_FilteredOverUnfiltered(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    Tree& tree = Tree::get();
    KITE::DefaultGetChildren populator(treeFilter(), "Browse");
    double filtered = 0, unfiltered = 0;
    std::size_t a = 0, b = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(a = walkUnfiltered(tree.model.getRootObject()));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(b = walkFiltered(populator, tree.model.getRootObject()));
        const auto t2 = Clock::now();
        unfiltered += std::chrono::duration<double>(t1 - t0).count();
        filtered += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["ratio"] = filtered / unfiltered;
    state.counters["unfiltered_ms"] = 1e3 * unfiltered / static_cast<double>(state.iterations());
    state.counters["filtered_ms"] = 1e3 * filtered / static_cast<double>(state.iterations());
    // The filter drops nothing this model holds, so both walks must meet every object.
    if (a != b || a != tree.objects)
        state.SkipWithError("the walks disagree on the number of objects");
}
BENCHMARK(BM_FilteredOverUnfiltered)->Unit(benchmark::kMillisecond);

} // namespace
