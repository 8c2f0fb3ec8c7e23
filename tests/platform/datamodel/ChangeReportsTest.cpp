#include "platform/datamodel/ChangeReports.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/support/BlockSheets.hpp"

#include <gtest/gtest.h>

#include <functional>

using namespace KITE;

namespace {
enum class List { Added, Removed, Modified };
struct Listed {
    List list;
    bool diagramElement;
};
struct Case {
    const char* name;
    std::vector<Listed> objects;
    bool rebuild;
};
} // namespace

TEST(ChangeReportsTest, ViewsRebuildUnlessOnlyDiagramElementsWereModified) {
    VELD::Model model = KiteTest::newBlockSheet();
    Diagram diagram;
    GraphNode node;
    {
        VELD::Transaction t(model);
        diagram = KiteTest::addDiagram(model, "main");
        node = GraphNode(model.getFactory().createFromString("Block"));
        diagram.addContained(node);
        t.commit();
    }
    const VELD::ImmutableClassObject sheet = model.getRootObject();
    const std::vector<Case> cases = {
        {"nothing listed", {}, true},
        {"one element moved", {{List::Modified, true}}, false},
        {"elements moved", {{List::Modified, true}, {List::Modified, true}}, false},
        {"a model object renamed", {{List::Modified, false}}, true},
        {"an element moved, then an object",
         {{List::Modified, true}, {List::Modified, false}},
         true},
        {"an element added", {{List::Added, true}}, true},
        {"an element removed", {{List::Modified, true}, {List::Removed, true}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelChangeReport report(model, model);
        for (const Listed& listed : c.objects) {
            const VELD::ImmutableClassObject object =
                listed.diagramElement ? VELD::ImmutableClassObject(node) : sheet;
            (listed.list == List::Added     ? report.added()
             : listed.list == List::Removed ? report.removed()
                                            : report.modified())
                .append(object);
        }
        EXPECT_EQ(changesMoreThanDiagramElements(&report), c.rebuild);
    }
    EXPECT_TRUE(changesMoreThanDiagramElements(nullptr));
}

namespace {
// The reports of a model's real transactions, as the studio hands them to its views.
struct Recorder : VELD::ListenerBase {
    std::vector<bool> rebuilds;
    VELD::internal::ListenerHolder<VELD::ImmutableModel, Recorder, VELD::ImmutableClassObject, true>
        holder{this};
    void transactionCompleted(const ModelChangeReport& report) {
        rebuilds.push_back(changesMoreThanDiagramElements(&report));
    }
};
} // namespace

TEST(ChangeReportsTest, OnlyPlaceAndSizeOfDiagramElementsLeaveViewsAsTheyAre) {
    VELD::Model model = KiteTest::newBlockSheet();
    Diagram diagram;
    GraphNode node;
    GraphNode other;
    {
        VELD::Transaction t(model);
        diagram = KiteTest::addDiagram(model, "main");
        node = GraphNode(model.getFactory().createFromString("Block"));
        other = GraphNode(model.getFactory().createFromString("Block"));
        diagram.addContained(node);
        diagram.addContained(other);
        t.commit();
    }
    const VELD::ImmutableProperty gain = node.getMetaClass().getProperty("gain");
    struct Change {
        const char* name;
        std::function<void()> apply;
        bool rebuild;
    };
    const std::vector<Change> changes = {
        {"a node moved",
         [&] {
             node.setPosition({40, 0});
         },
         false},
        {"two nodes moved and resized",
         [&] {
             node.setPosition({40, 7});
             other.setSize({90, 30});
         },
         false},
        {"the diagram renamed", [&] { diagram.setName("renamed"); }, true},
        {"a client attribute of a node set", [&] { VELD::ClassObject(node).setDouble(gain, 2.5); },
         true},
        {"a node moved and another's attribute set",
         [&] {
             node.setPosition({41, 7});
             VELD::ClassObject(other).setDouble(gain, 3);
         },
         true},
        {"a node moved into another", [&] { GraphElement(node).addContained(other); }, true},
    };
    Recorder recorder;
    model.registerObservingListener(&recorder.holder);
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        recorder.rebuilds.clear();
        VELD::Transaction t(model);
        change.apply();
        t.commit();
        ASSERT_EQ(recorder.rebuilds.size(), 1u);
        EXPECT_EQ(recorder.rebuilds.front(), change.rebuild);
    }
    model.unregisterObservingListener(&recorder.holder);
}
