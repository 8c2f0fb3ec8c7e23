// Private to editor/: included only by its own sources and tests; not installed.
#pragma once

#include "application/Command.hpp"
#include "platform/datamodel/Diagram.hpp"

#include <string>

namespace KITE {

// Makes one edge of a class, by its qualified name, in a diagram of the command's model (the
// diagram's root model) from a source to a destination. Undo and redo move the whole model.
class SimpleEdgeCreationCommand : public Command {
public:
    SimpleEdgeCreationCommand(const ImmutableDiagram& diagram, const GraphElement& source,
                              const GraphElement& destination, const std::string& edgeClassName);

    // "Create Edge".
    std::string shortDescription() const override;
    // Fails, changing nothing, when an end or the diagram has gone meanwhile.
    void execute(TAVI::ErrorHolder& errors) override;

    const GraphElement& getSource() const { return source; }
    const GraphElement& getDestination() const { return destination; }

private:
    ImmutableDiagram diagram;
    GraphElement source;
    GraphElement destination;
    std::string edgeClassName;
};

} // namespace KITE
