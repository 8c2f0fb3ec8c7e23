#pragma once

#include "platform/datamodel/Diagram.hpp"
#include "platform/veld/Model.hpp"

#include <string>
#include <vector>

namespace StudioDemo {

// The model the demo edits: loaded from a meta-model file and a model file, with the first
// diagram found in it.
class DemoModel {
public:
    // Registers the meta-model (once per file in a process: a second studio on the same
    // meta-model reuses it) and loads the model. Throws VELD::FileError, naming the file,
    // line and column, when either cannot be read or the model holds no diagram.
    static DemoModel load(const std::string& metaModelFile, const std::string& modelFile);

    const VELD::Model& getModel() const { return model; }
    const KITE::Diagram& getDiagram() const { return diagram; }
    // The model file's name without its folder, for titles.
    const std::string& getFileName() const { return fileName; }

    // The diagram's nodes, nested ones after their container, and its edges, in model order.
    std::vector<KITE::GraphNode> getBlocks() const;
    std::vector<KITE::GraphEdge> getConnections() const;

private:
    DemoModel(VELD::Model model, KITE::Diagram diagram, std::string fileName);

    VELD::Model model;
    KITE::Diagram diagram;
    std::string fileName;
};

} // namespace StudioDemo
