#include "platform/datamodel/ChangeReports.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/support/BlockSheets.hpp"

#include <gtest/gtest.h>

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
