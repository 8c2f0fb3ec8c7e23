#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Veld.hpp"

namespace KiteTest {

// A sheet holding one diagram with two nodes and an edge between them, in a model of its own.
struct EventTestModel {
    VELD::Model model;
    KITE::Diagram diagram;
    KITE::GraphNode first;
    KITE::GraphNode second;
    KITE::GraphEdge edge;

    EventTestModel()
    {
        static const bool registered = [] {
            KITE::diagramMetaModel();
            VELD::MetaModelBuilder builder("eventsheets", "test:eventsheets");
            builder.addClass("Sheet").containment("diagrams", "KITE.Diagram");
            builder.setModelClass("Sheet");
            builder.build();
            return true;
        }();
        (void)registered;
        model = VELD::DomainRegistry::instance().createModel("test:eventsheets");
        const KITE::Factory factory = KITE::Factory::createNewFactory(model);
        VELD::Transaction transaction(model);
        const VELD::ClassObject sheet = model.getRootObject();
        diagram = factory.createDiagram("main");
        sheet.add(sheet.getMetaClass().getProperty("diagrams"), diagram);
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
