#include "editor/SimpleEdgeCreationTool.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/MessageCatalog.hpp"
#include "editor/Editor.hpp"
#include "editor/SimpleEdgeCreationTool_p.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/zeph/MouseEvent.hpp"

namespace KITE {

namespace {

const EdgeCreationRuleSet& rulesOf(const Editor& editor) {
    const AbstractKiteDomain* domain = editor.getStaticDomain();
    if (!domain)
        throw TAVI::TypedException(
            TAVI_HERE, "Tried to create a use EdgeCreationTool in an editor without a domain");
    return domain->getEdgeCreationRuleSet();
}

bool isLive(const GraphElement& element) {
    return !element.isNull() && element.isValid();
}

} // namespace

// --- the command ---------------------------------------------------------------------------------

SimpleEdgeCreationCommand::SimpleEdgeCreationCommand(const ImmutableDiagram& diagram,
                                                     const GraphElement& source,
                                                     const GraphElement& destination,
                                                     const std::string& edgeClassName)
    : Command(VELD::Model(diagram.getRootModel())), diagram(diagram), source(source),
      destination(destination), edgeClassName(edgeClassName) {}

std::string SimpleEdgeCreationCommand::shortDescription() const {
    return "Create Edge";
}

void SimpleEdgeCreationCommand::execute(TAVI::ErrorHolder& errors) {
    if (!diagram.isValid() || !isLive(source) || !isLive(destination)) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand,
                    shortDescription() + ": an end of the edge, or its diagram, is gone");
        return;
    }
    const GraphEdge edge(getModel().getFactory().createFromString(edgeClassName));
    if (!edge.isValid()) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand,
                    shortDescription() + ": " + edgeClassName + " is not an edge class");
        return;
    }
    edge.setContainer(GraphElement(diagram));
    edge.setSrcElement(source);
    edge.setDstElement(destination);
}

// --- the tool ------------------------------------------------------------------------------------

SimpleEdgeCreationTool::SimpleEdgeCreationTool(Editor& editor) : EdgeCreationTool(editor) {
    setMousePressModifiers(ZEPH::ControlModifier);
}

SimpleEdgeCreationTool::~SimpleEdgeCreationTool() = default;

bool SimpleEdgeCreationTool::isValidInitialEvent(ZEPH::MouseEvent& event) const {
    return isMousePressModifiers(event.modifiers()) && isValidStartPosition(event.scenePos());
}

bool SimpleEdgeCreationTool::isValidStartPosition(const TAVI::GLPoint<double>& point) const {
    return isValidStartElement(getGraphElementAt(point));
}

bool SimpleEdgeCreationTool::isValidEndPosition(const TAVI::GLPoint<double>& point) const {
    return isValidEndElement(getGraphElementAt(point));
}

bool SimpleEdgeCreationTool::isValidStartElement(const GraphElement& element) const {
    const EdgeCreationRuleSet& rules = rulesOf(getEditor());
    if (!isLive(element))
        return false;
    return rules.isValidSrcNodeToEdge(element.getMetaClass(), edgeClass);
}

bool SimpleEdgeCreationTool::isValidEndElement(const GraphElement& element) const {
    const EdgeCreationRuleSet& rules = rulesOf(getEditor());
    if (!isLive(element) || element == getStartElement())
        return false;
    return rules.isValidDstNodeToEdge(element.getMetaClass(), edgeClass);
}

DiagramElement SimpleEdgeCreationTool::freeEndAt(const TAVI::GLPoint<double>& point,
                                                 VELD::Model model) const {
    const TerminalNode end = Factory::createNewFactory(model).createTerminalNode();
    getEditor().getDiagram().asDeviant(model).addContained(end);
    GraphNode(end).setPosition(point);
    return DiagramElement(end);
}

void SimpleEdgeCreationTool::drawEdgeTo(const DiagramElement& end, VELD::Model model) const {
    if (edgeClass.isNull())
        return;
    const GraphEdge edge(model.getFactory().createFromString(edgeClass.getQualifiedName()));
    if (!edge.isValid())
        return;
    getEditor().getDiagram().asDeviant(model).addContained(edge);
    edge.setSrcElement(getStartElement().asDeviant(model));
    edge.setDstElement(end);
}

void SimpleEdgeCreationTool::initialUpdate(GraphElement, const TAVI::GLPoint<double>& point,
                                           VELD::Model model) {
    drawEdgeTo(freeEndAt(point, model), model);
}

void SimpleEdgeCreationTool::intermediateUpdate(GraphElement element,
                                                const TAVI::GLPoint<double>& point,
                                                VELD::Model model) {
    // Snaps to an element the edge may end on; anywhere else it ends under the pointer.
    const DiagramElement end = isValidEndElement(element) ? DiagramElement(element.asDeviant(model))
                                                          : freeEndAt(point, model);
    drawEdgeTo(end, model);
}

Command* SimpleEdgeCreationTool::finalUpdate(GraphElement element, const TAVI::GLPoint<double>&,
                                             VELD::Model model) {
    // Without a live start (the tool was never pressed, or the start went meanwhile) there is
    // no edge to make.
    if (!isValidEndElement(element) || edgeClass.isNull() || !isLive(getStartElement()))
        return nullptr;
    return new SimpleEdgeCreationCommand(
        getEditor().getDiagram().asDeviant(model), GraphElement(getStartElement().asDeviant(model)),
        GraphElement(element.asDeviant(model)), edgeClass.getQualifiedName());
}

} // namespace KITE
