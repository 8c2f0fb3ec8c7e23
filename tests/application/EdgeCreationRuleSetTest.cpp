#include "application/EdgeCreationRuleSet.hpp"

#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/veld/Veld.hpp"

#include <gtest/gtest.h>

using namespace KITE;
using VELD::ImmutableClass;

namespace {
struct Kinds {
    ImmutableClass a, b, d, subA, grandA, e1, e2, subE;
    static const Kinds& get() {
        static const Kinds k = [] {
            diagramMetaModel();
            VELD::MetaModelBuilder m("rules", "test:rules");
            m.addClass("A", {"KITE.GraphNode"});
            m.addClass("B", {"KITE.GraphNode"});
            m.addClass("D", {"KITE.GraphNode"});
            m.addClass("SubA", {"A"});
            m.addClass("GrandA", {"SubA"});
            m.addClass("E1", {"KITE.GraphEdge"});
            m.addClass("E2", {"KITE.GraphEdge"});
            m.addClass("SubE", {"E1"});
            const auto p = m.build();
            return Kinds{p.getClass("A"),    p.getClass("B"),      p.getClass("D"),
                         p.getClass("SubA"), p.getClass("GrandA"), p.getClass("E1"),
                         p.getClass("E2"),   p.getClass("SubE")};
        }();
        return k;
    }
};

struct EdgeCreationRuleSetTest : ::testing::Test {
    const Kinds& k = Kinds::get();
    EdgeCreationRuleSet rules;
};
} // namespace

TEST_F(EdgeCreationRuleSetTest, EdgesStartAndEndOnExactlyTheKindsOfTheirRules) {
    // Without rules nothing is valid.
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(k.a, k.e1));
    EXPECT_FALSE(rules.isValidDstNodeToEdge(k.a, k.e1));
    rules.createAsymmetricRule(k.a, k.b, k.e1); // one way
    rules.createAsymmetricRule(k.a, k.d, k.e2);
    rules.createRule(k.d, k.b, k.subE); // both ways
    rules.createRule(k.grandA, k.b, k.subE);
    const struct {
        ImmutableClass node, edge;
        bool starts, ends;
    } cases[] = {
        {k.a, k.e1, true, false},     {k.b, k.e1, false, true},
        {k.a, k.e2, true, false},     {k.d, k.e2, false, true}, // starting does not depend on
        {k.d, k.e1, false, false},                              // the end
        {k.d, k.subE, true, true},    {k.b, k.subE, true, true},
        {k.subA, k.e1, false, false}, // matching is exact for subclasses
        {k.a, k.subE, false, false},  {k.grandA, k.subE, true, true}, // derived at any depth
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node.getName() + " " + c.edge.getName());
        EXPECT_EQ(rules.isValidSrcNodeToEdge(c.node, c.edge), c.starts);
        EXPECT_EQ(rules.isValidDstNodeToEdge(c.node, c.edge), c.ends);
    }
}

TEST_F(EdgeCreationRuleSetTest, WrongKindsAndNullClassesThrowAndAddNothing) {
    const ImmutableClass edgeClass = ImmutableGraphEdge::MetaClass();
    try {
        rules.createRule(edgeClass, k.b, k.e1);
        ADD_FAILURE() << "an edge class was taken as a node kind";
    } catch (const TAVI::TypedException& e) {
        EXPECT_STREQ(e.what(), "Passed invalid VELD::ImmutableClass to EdgeCreationRuleSet");
    }
    EXPECT_THROW(rules.createAsymmetricRule(k.a, k.b, k.a), TAVI::TypedException);
    EXPECT_THROW(rules.createAsymmetricRule(k.a, ImmutableClass(), k.e1), TAVI::TypedException);
    EXPECT_FALSE(rules.isValidDstNodeToEdge(k.b, k.e1));
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(edgeClass, k.e1));
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(k.a, k.a));
    // Null classes likewise.
    const ImmutableClass none;
    EXPECT_THROW(rules.createRule(none, none, none), TAVI::TypedException);
    EXPECT_THROW(rules.createAsymmetricRule(none, none, none), TAVI::TypedException);
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(none, none));
    EXPECT_FALSE(rules.isValidDstNodeToEdge(none, none));
}
