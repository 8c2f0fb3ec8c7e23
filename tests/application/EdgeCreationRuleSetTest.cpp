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

TEST_F(EdgeCreationRuleSetTest, WithoutRulesNothingIsValid) {
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(k.a, k.e1));
    EXPECT_FALSE(rules.isValidDstNodeToEdge(k.a, k.e1));
}

TEST_F(EdgeCreationRuleSetTest, AsymmetricRuleGoesOneWay) {
    rules.createAsymmetricRule(k.a, k.b, k.e1);
    EXPECT_TRUE(rules.isValidSrcNodeToEdge(k.a, k.e1));
    EXPECT_TRUE(rules.isValidDstNodeToEdge(k.b, k.e1));
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(k.b, k.e1));
    EXPECT_FALSE(rules.isValidDstNodeToEdge(k.a, k.e1));
}

TEST_F(EdgeCreationRuleSetTest, RuleGoesBothWays) {
    rules.createRule(k.a, k.b, k.e1);
    for (const ImmutableClass& node : {k.a, k.b}) {
        EXPECT_TRUE(rules.isValidSrcNodeToEdge(node, k.e1));
        EXPECT_TRUE(rules.isValidDstNodeToEdge(node, k.e1));
    }
}

TEST_F(EdgeCreationRuleSetTest, StartingDoesNotDependOnTheEnd) {
    rules.createAsymmetricRule(k.a, k.b, k.e1);
    rules.createAsymmetricRule(k.a, k.d, k.e2);
    EXPECT_TRUE(rules.isValidSrcNodeToEdge(k.a, k.e1));
    EXPECT_TRUE(rules.isValidSrcNodeToEdge(k.a, k.e2));
    EXPECT_TRUE(rules.isValidDstNodeToEdge(k.d, k.e2));
    EXPECT_FALSE(rules.isValidDstNodeToEdge(k.d, k.e1));
}

TEST_F(EdgeCreationRuleSetTest, MatchingIsExactForSubclasses) {
    rules.createRule(k.a, k.b, k.e1);
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(k.subA, k.e1));
    EXPECT_FALSE(rules.isValidSrcNodeToEdge(k.a, k.subE));
}

TEST_F(EdgeCreationRuleSetTest, ClassesDerivedAtAnyDepthAreKinds) {
    rules.createRule(k.grandA, k.b, k.subE);
    EXPECT_TRUE(rules.isValidSrcNodeToEdge(k.grandA, k.subE));
}

TEST_F(EdgeCreationRuleSetTest, WrongKindsThrowAndAddNothing) {
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
}
