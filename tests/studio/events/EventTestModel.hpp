#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/support/BlockSheets.hpp"

namespace KiteTest {

// A sheet holding one diagram with two nodes and an edge between them, in a model of its own.
struct EventTestModel {
    VELD::Model model;
    KITE::Diagram diagram;
    KITE::GraphNode first;
    KITE::GraphNode second;
    KITE::GraphEdge edge;

    EventTestModel() {
        model = newBlockSheet();
        const KITE::Factory factory = KITE::Factory::createNewFactory(model);
        VELD::Transaction transaction(model);
        diagram = addDiagram(model, "main");
        first = factory.createGraphNode();
        second = factory.createGraphNode();
        edge = factory.createGraphEdge();
        diagram.addContained(first);
        diagram.addContained(second);
        diagram.addContained(edge);
        edge.setSrcElement(first);
        edge.setDstElement(second);
        transaction.commit();
    }
};

} // namespace KiteTest
