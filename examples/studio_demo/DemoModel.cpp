#include "examples/studio_demo/DemoModel.hpp"

#include "platform/veld/Object.hpp"
#include "platform/veld/io/MetaModelFile.hpp"
#include "platform/veld/io/ModelFile.hpp"

#include <deque>
#include <filesystem>
#include <map>

namespace StudioDemo {

namespace {

// A meta-model registers under its URI once per process; loading its file again would be
// refused, so studios opened later on the same file take the one registered first.
VELD::ImmutableNamespace metaModelFrom(const std::string& file) {
    static std::map<std::string, VELD::ImmutableNamespace> loaded;
    std::error_code ec;
    std::string key = std::filesystem::weakly_canonical(file, ec).string();
    if (ec || key.empty())
        key = file;
    if (const auto found = loaded.find(key); found != loaded.end())
        return found->second;
    VELD::ImmutableNamespace package = VELD::loadMetaModel(file);
    loaded.emplace(key, package);
    return package;
}

KITE::Diagram firstDiagram(const VELD::ImmutableClassObject& root) {
    std::deque<VELD::ImmutableClassObject> pending{root};
    while (!pending.empty()) {
        const VELD::ImmutableClassObject object = pending.front();
        pending.pop_front();
        if (KITE::Diagram diagram(object); diagram.isValid())
            return diagram;
        for (const VELD::ImmutableClassObject& child : object.getContaineeVELDs())
            pending.push_back(child);
    }
    return {};
}

void collect(const KITE::ImmutableGraphElement& container, std::vector<KITE::GraphNode>* blocks,
             std::vector<KITE::GraphEdge>* connections) {
    for (const KITE::DiagramElement& element : container.getContained()) {
        if (const KITE::GraphEdge edge(element); edge.isValid()) {
            if (connections)
                connections->push_back(edge);
        } else if (const KITE::GraphNode node(element); node.isValid()) {
            if (blocks)
                blocks->push_back(node);
            collect(node, blocks, connections);
        }
    }
}

} // namespace

DemoModel::DemoModel(VELD::Model model, KITE::Diagram diagram, std::string fileName)
    : model(std::move(model)), diagram(std::move(diagram)), fileName(std::move(fileName)) {}

DemoModel DemoModel::load(const std::string& metaModelFile, const std::string& modelFile) {
    // The sample meta-model derives from the diagram classes, which must exist first.
    KITE::diagramMetaModel();
    metaModelFrom(metaModelFile);
    VELD::Model model = VELD::loadModel(modelFile);
    KITE::Diagram diagram = firstDiagram(model.getRootObject());
    if (!diagram.isValid())
        throw VELD::FileError(modelFile, 0, 0, "the model holds no diagram to show");
    return DemoModel(std::move(model), std::move(diagram),
                     std::filesystem::path(modelFile).filename().string());
}

std::vector<KITE::GraphNode> DemoModel::getBlocks() const {
    std::vector<KITE::GraphNode> blocks;
    collect(diagram, &blocks, nullptr);
    return blocks;
}

std::vector<KITE::GraphEdge> DemoModel::getConnections() const {
    std::vector<KITE::GraphEdge> connections;
    collect(diagram, nullptr, &connections);
    return connections;
}

} // namespace StudioDemo
