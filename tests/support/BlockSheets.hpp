#pragma once

// The client meta-model that the diagram layer's tests share: blocks joined by connections, on
// diagrams held by a sheet. Registered once per process under "test:blocks" (package "blocks").

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Veld.hpp"

#include <string>

namespace KiteTest {

inline void registerBlockSheets() {
    static const bool registered = [] {
        KITE::diagramMetaModel();
        VELD::MetaModelBuilder builder("blocks", "test:blocks");
        builder.addClass("Block", {"KITE.GraphNode"}).attribute("gain", "Double");
        builder.addClass("Connection", {"KITE.GraphEdge"}).attribute("label", "String");
        builder.addClass("Sheet")
            .attribute("name", "String")
            .containment("diagrams", "KITE.Diagram");
        builder.setModelClass("Sheet");
        builder.build();
        return true;
    }();
    (void)registered;
}

// A new, empty sheet.
inline VELD::Model newBlockSheet() {
    registerBlockSheets();
    return VELD::DomainRegistry::instance().createModel("test:blocks");
}

// Adds a diagram to the sheet; call inside a transaction.
inline KITE::Diagram addDiagram(const VELD::Model& sheetModel, const std::string& name) {
    const KITE::Diagram diagram = KITE::Factory::createNewFactory(sheetModel).createDiagram(name);
    const VELD::ClassObject sheet = sheetModel.getRootObject();
    sheet.add(sheet.getMetaClass().getProperty("diagrams"), diagram);
    return diagram;
}

} // namespace KiteTest
