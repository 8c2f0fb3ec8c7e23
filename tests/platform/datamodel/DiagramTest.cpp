#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/support/BlockSheets.hpp"

#include <gtest/gtest.h>

using namespace KITE;
using TAVI::GLPoint;

namespace {
struct DiagramTest : ::testing::Test {
    VELD::Model model = KiteTest::newBlockSheet();
    Factory factory = Factory::createNewFactory(model);
    Diagram diagram;
    GraphNode outer, inner, other;
    GraphEdge edge;

    void SetUp() override {
        VELD::Transaction t(model);
        model.getRootObject().setString(model.getRootObject().getMetaClass().getProperty("name"),
                                        "sheet");
        diagram = KiteTest::addDiagram(model, "main");
        outer = GraphNode(model.getFactory().createFromString("Block"));
        inner = factory.createGraphNode();
        other = factory.createGraphNode();
        diagram.addContained(outer);
        GraphElement(outer).addContained(inner);
        diagram.addContained(other);
        outer.setPosition({100, 50});
        inner.setPosition({10, 5});
        inner.setSize({30, 20});
        edge = GraphEdge(model.getFactory().createFromString("Connection"));
        diagram.addContained(edge);
        edge.setSrcElement(inner);
        edge.setDstElement(other);
        t.commit();
    }
};
} // namespace

TEST_F(DiagramTest, PositionsAreRelativeAndAbsolutePositionsAddUp) {
    EXPECT_EQ(inner.getPosition(), (GLPoint<double>{10, 5}));
    EXPECT_EQ(inner.getAbsPosition(), (GLPoint<double>{110, 55}));
    EXPECT_EQ(inner.getSize(), (GLPoint<double>{30, 20}));
    EXPECT_EQ(inner.getContainer(), outer);
    EXPECT_EQ(inner.getDiagram(), diagram);
    EXPECT_EQ(diagram.getDiagram(), diagram);
    EXPECT_EQ(diagram.getContained().size(), 3);
    EXPECT_EQ(diagram.getFullName(), "sheet/main");
}

TEST_F(DiagramTest, EdgesKnowTheirEndsAndEndsKnowTheirEdges) {
    EXPECT_EQ(edge.getSrcElement(), inner);
    EXPECT_EQ(edge.getDstElement(), other);
    EXPECT_EQ(inner.getEdges().size(), 1);
    EXPECT_EQ(other.getEdges().front(), edge);
    EXPECT_TRUE(outer.getEdges().empty());

    VELD::Transaction t(model);
    edge.setDstElement(outer);
    t.commit();
    EXPECT_TRUE(other.getEdges().empty());
    EXPECT_EQ(outer.getEdges().size(), 1);
}

TEST_F(DiagramTest, RefusedNewEndLeavesBothEndsAsTheyWere) {
    VELD::Model elsewhere = KiteTest::newBlockSheet();
    GraphNode stranger;
    {
        VELD::Transaction t(elsewhere);
        stranger = Factory::createNewFactory(elsewhere).createGraphNode();
        t.commit();
    }
    GraphNode gone;
    {
        VELD::Transaction t(model);
        gone = factory.createGraphNode();
        diagram.addContained(gone);
        t.commit();
    }
    {
        VELD::Transaction t(model);
        VELD::ClassObject(gone).destroy();
        t.commit();
    }
    VELD::Transaction t(model);
    EXPECT_THROW(edge.setDstElement(stranger), VELD::Exception);
    EXPECT_THROW(edge.setSrcElement(gone), VELD::Exception);
    t.commit(); // a caller that goes on after the refusals
    EXPECT_EQ(edge.getSrcElement(), inner);
    EXPECT_EQ(edge.getDstElement(), other);
    EXPECT_EQ(inner.getEdges().size(), 1);
    EXPECT_EQ(other.getEdges().size(), 1);
}

TEST_F(DiagramTest, NewEndSeenThroughAnotherDeviantIsTakenAsTheEdgesDeviantShowsIt) {
    VELD::Model wc = model.createDeviantWithName("wc");
    const GraphEdge copyEdge(edge.asDeviant(wc));
    VELD::Transaction t(wc);
    copyEdge.setDstElement(outer); // 'outer' as the root shows it
    t.commit();
    EXPECT_EQ(copyEdge.getDstElement(), outer);
    EXPECT_TRUE(GraphNode(other.asDeviant(wc)).getEdges().empty());
    EXPECT_EQ(GraphNode(outer.asDeviant(wc)).getEdges().size(), 1);
    // The root is untouched.
    EXPECT_EQ(edge.getDstElement(), other);
    EXPECT_TRUE(outer.getEdges().empty());
}

TEST_F(DiagramTest, ClientClassesDeriveFromTheDiagramClasses) {
    EXPECT_TRUE(outer.isValid());
    EXPECT_TRUE(outer.isa(ImmutableGraphNode::MetaClass()));
    EXPECT_TRUE(edge.isa(ImmutableGraphEdge::MetaClass()));
    EXPECT_TRUE(VELD::isa(ImmutableGraphNode::MetaClass(), ImmutableDiagramElement::MetaClass()));
    EXPECT_STREQ(diagram.getFullyQualifiedNoxTypeName(), "KITE.Diagram");
    EXPECT_STREQ(outer.getFullyQualifiedNoxTypeName(), "blocks.Block");
    // A handle of the wrong kind is null.
    EXPECT_TRUE(GraphEdge(outer).isNull());
    EXPECT_TRUE(ImmutableDiagram(inner).isNull());
    EXPECT_TRUE(TerminalNode(inner).isNull());
}

TEST_F(DiagramTest, DestroyingAContainerTakesItsContentsAndUndoBringsThemBack) {
    {
        VELD::Transaction t(model);
        DiagramElement(outer).destroy();
        t.commit();
    }
    EXPECT_FALSE(inner.isValid());
    EXPECT_FALSE(edge.getSrcElement().isValid());
    EXPECT_EQ(diagram.getContained().size(), 2);
    model.undoToChangeLevel(model.getCurrentChangeLevel() - 1);
    EXPECT_EQ(edge.getSrcElement(), inner);
    EXPECT_EQ(inner.getAbsPosition(), (GLPoint<double>{110, 55}));
}

TEST_F(DiagramTest, WorkingCopyShowsTheDiagramThroughItself) {
    VELD::Model wc = model.createDeviantWithName("1");
    Diagram mine = diagram.asDeviant(wc);
    {
        VELD::Transaction t(wc);
        DiagramElement(inner.asDeviant(wc)).setPosition({0, 0});
        TerminalNode end = Factory::createNewFactory(wc).createTerminalNode();
        mine.addContained(end);
        t.commit();
    }
    EXPECT_EQ(mine.getContained().size(), 4);
    EXPECT_EQ(diagram.getContained().size(), 3);
    EXPECT_EQ(inner.getPosition(), (GLPoint<double>{10, 5}));
    EXPECT_EQ(inner.asDeviant(wc).getAbsPosition(), (GLPoint<double>{100, 50}));
}
