#include "platform/datamodel/Diagram.hpp"

#include "platform/veld/DomainRegistry.hpp"
#include "platform/veld/Exception.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/Object.hpp"

namespace KITE {

using VELD::ClassObject;
using VELD::ImmutableClass;
using VELD::ImmutableClassObject;
using VELD::ImmutableObject;
using VELD::ImmutableProperty;

namespace {

struct DiagramMeta {
    VELD::ImmutableNamespace package;
    ImmutableClass element, graphElement, diagram, node, edge, terminal;
    ImmutableProperty x, y, width, height, contained, edges, name, src, dst;
};

const DiagramMeta& dm() {
    static const DiagramMeta m = [] {
        VELD::MetaModelBuilder b("KITE", kDiagramMetaModelUri);
        b.addClass("DiagramElement", {}, true)
            .attribute("x", "Double")
            .attribute("y", "Double")
            .attribute("width", "Double")
            .attribute("height", "Double");
        b.addClass("GraphElement", {"DiagramElement"}, true)
            .containment("contained", "DiagramElement")
            .reference("edges", "GraphEdge", true);
        b.addClass("Diagram", {"GraphElement"}).attribute("name", "String");
        b.addClass("GraphNode", {"GraphElement"});
        b.addClass("TerminalNode", {"GraphNode"});
        b.addClass("GraphEdge", {"DiagramElement"})
            .reference("src", "DiagramElement")
            .reference("dst", "DiagramElement");
        DiagramMeta r;
        r.package = b.build();
        r.element = r.package.getClass("DiagramElement");
        r.graphElement = r.package.getClass("GraphElement");
        r.diagram = r.package.getClass("Diagram");
        r.node = r.package.getClass("GraphNode");
        r.edge = r.package.getClass("GraphEdge");
        r.terminal = r.package.getClass("TerminalNode");
        r.x = r.element.getProperty("x");
        r.y = r.element.getProperty("y");
        r.width = r.element.getProperty("width");
        r.height = r.element.getProperty("height");
        r.contained = r.graphElement.getProperty("contained");
        r.edges = r.graphElement.getProperty("edges");
        r.name = r.diagram.getProperty("name");
        r.src = r.edge.getProperty("src");
        r.dst = r.edge.getProperty("dst");
        return r;
    }();
    return m;
}

ImmutableClassObject ofKind(const ImmutableClassObject& o, const ImmutableClass& kind) {
    return o.core() && o.core()->cls->isa(kind.classInfo()) ? o : ImmutableClassObject();
}

void setPoint(const ImmutableClassObject& o, const ImmutableProperty& px,
              const ImmutableProperty& py, const TAVI::GLPoint<double>& p) {
    ClassObject w(o);
    w.setDouble(px, p.x);
    w.setDouble(py, p.y);
}

void addContained(const ImmutableClassObject& container, const ImmutableClassObject& element) {
    if (!element.isValid())
        throw VELD::Exception("GraphElement::addContained: invalid element");
    ClassObject(container).add(dm().contained, element);
}

// Moves edge from the edge list of its old end to that of its new end.
void reattach(const GraphEdge& edge, const ImmutableProperty& end,
              const ImmutableDiagramElement& target, const char* operation) {
    // The new end as the edge's deviant shows it, checked before anything changes: a refusal
    // halfway would leave the old end without the edge that still names it.
    const ImmutableDiagramElement to =
        target.isNull() ? target : ImmutableDiagramElement(target.asDeviant(edge.getModelVELD()));
    if (!target.isNull() && !to.isValid())
        throw VELD::Exception(std::string(operation) +
                              ": the element is not in the edge's model or working copy");
    const DiagramElement old(edge.getObject(end));
    const ImmutableProperty& otherEnd = end == dm().src ? dm().dst : dm().src;
    const DiagramElement other(edge.getObject(otherEnd));
    ClassObject w(edge);
    if (old.isValid() && old != other && old.isa(dm().graphElement))
        ClassObject(old).get(dm().edges).remove(VELD::Object(edge));
    if (to.isNull()) {
        w.unset(end);
        return;
    }
    w.setObject(end, to);
    if (to.isa(dm().graphElement) && !ClassObject(to).get(dm().edges).contains(VELD::Object(edge)))
        ClassObject(to).add(dm().edges, edge);
}

} // namespace

VELD::ImmutableNamespace diagramMetaModel() {
    return dm().package;
}

// --- DiagramElement -------------------------------------------------------------------------

ImmutableDiagramElement::ImmutableDiagramElement(const ImmutableClassObject& o)
    : ImmutableClassObject(ofKind(o, dm().element)) {}

ImmutableDiagramElement::ImmutableDiagramElement(const ImmutableClassObject& o,
                                                 const ImmutableClass& kind)
    : ImmutableClassObject(ofKind(o, kind)) {}

ImmutableClass ImmutableDiagramElement::MetaClass() {
    return dm().element;
}

TAVI::GLPoint<double> ImmutableDiagramElement::getPosition() const {
    return {getDouble(dm().x), getDouble(dm().y)};
}

TAVI::GLPoint<double> ImmutableDiagramElement::getSize() const {
    return {getDouble(dm().width), getDouble(dm().height)};
}

TAVI::GLPoint<double> ImmutableDiagramElement::getAbsPosition() const {
    TAVI::GLPoint<double> p = getPosition();
    for (ImmutableGraphElement c = getContainer(); c.isValid() && !c.isa(dm().diagram);
         c = c.getContainer())
        p += c.getPosition();
    return p;
}

ImmutableGraphElement ImmutableDiagramElement::getContainer() const {
    return ImmutableGraphElement(getContainerVELD());
}

ImmutableDiagram ImmutableDiagramElement::getDiagram() const {
    if (!isValid())
        return {};
    if (isa(dm().diagram))
        return ImmutableDiagram(*this);
    ImmutableClassObject up = getContainerVELD();
    while (up.isValid() && !up.isa(dm().diagram))
        up = up.getContainerVELD();
    return ImmutableDiagram(up);
}

ImmutableDiagramElement
ImmutableDiagramElement::asDeviant(const VELD::ImmutableModel& deviant) const {
    return ImmutableDiagramElement(ImmutableClassObject::asDeviant(deviant));
}

void DiagramElement::setPosition(const TAVI::GLPoint<double>& position) const {
    setPoint(*this, dm().x, dm().y, position);
}

void DiagramElement::setSize(const TAVI::GLPoint<double>& size) const {
    setPoint(*this, dm().width, dm().height, size);
}

GraphElement DiagramElement::getContainer() const {
    return GraphElement(getContainerVELD());
}
Diagram DiagramElement::getDiagram() const {
    return Diagram(ImmutableDiagramElement::getDiagram());
}

DiagramElement DiagramElement::asDeviant(const VELD::ImmutableModel& deviant) const {
    return DiagramElement(ImmutableClassObject::asDeviant(deviant));
}

void DiagramElement::destroy() const {
    ClassObject(*this).destroy();
}

// --- GraphElement ---------------------------------------------------------------------------

ImmutableGraphElement::ImmutableGraphElement(const ImmutableClassObject& o)
    : ImmutableDiagramElement(o, dm().graphElement) {}

ImmutableClass ImmutableGraphElement::MetaClass() {
    return dm().graphElement;
}

VELD::ImmutableSequence<DiagramElement> ImmutableGraphElement::getContained() const {
    auto out = VELD::MakeSequence::create<DiagramElement>();
    if (!isValid())
        return out;
    for (const ImmutableObject& v : get(dm().contained))
        out.append(DiagramElement(v.asClassObject()));
    return out;
}

VELD::ImmutableSequence<GraphEdge> ImmutableGraphElement::getEdges() const {
    auto out = VELD::MakeSequence::create<GraphEdge>();
    if (!isValid())
        return out;
    for (const ImmutableObject& v : get(dm().edges))
        out.append(GraphEdge(v.asClassObject()));
    return out;
}

void GraphElement::addContained(const ImmutableDiagramElement& element) const {
    KITE::addContained(*this, element);
}

void GraphElement::setContainer(const ImmutableGraphElement& container) const {
    KITE::addContained(container, *this);
}

void GraphElement::setPosition(const TAVI::GLPoint<double>& position) const {
    setPoint(*this, dm().x, dm().y, position);
}

void GraphElement::setSize(const TAVI::GLPoint<double>& size) const {
    setPoint(*this, dm().width, dm().height, size);
}

// --- Diagram --------------------------------------------------------------------------------

ImmutableDiagram::ImmutableDiagram(const ImmutableClassObject& o)
    : ImmutableGraphElement(o, dm().diagram) {}

ImmutableClass ImmutableDiagram::MetaClass() {
    return dm().diagram;
}

std::string ImmutableDiagram::getName() const {
    return isValid() ? getString(dm().name) : std::string();
}

std::string ImmutableDiagram::getFullName() const {
    if (!isValid())
        return {};
    std::string full = getName();
    for (ImmutableClassObject up = getContainerVELD(); up.isValid(); up = up.getContainerVELD()) {
        const ImmutableProperty name = up.getMetaClass().getProperty("name");
        if (!name.isValid() || !up.isSet(name))
            continue;
        full = up.getOne(name).toString() + "/" + full;
    }
    return full;
}

ImmutableDiagram ImmutableDiagram::asDeviant(const VELD::ImmutableModel& deviant) const {
    return ImmutableDiagram(ImmutableClassObject::asDeviant(deviant));
}

void Diagram::setName(const std::string& name) const {
    ClassObject(*this).setString(dm().name, name);
}

void Diagram::addContained(const ImmutableDiagramElement& element) const {
    KITE::addContained(*this, element);
}

Diagram Diagram::asDeviant(const VELD::ImmutableModel& deviant) const {
    return Diagram(ImmutableClassObject::asDeviant(deviant));
}

// --- nodes and edges ------------------------------------------------------------------------

ImmutableGraphNode::ImmutableGraphNode(const ImmutableClassObject& o)
    : ImmutableGraphElement(o, dm().node) {}
ImmutableClass ImmutableGraphNode::MetaClass() {
    return dm().node;
}

void GraphNode::setPosition(const TAVI::GLPoint<double>& position) const {
    setPoint(*this, dm().x, dm().y, position);
}
void GraphNode::setSize(const TAVI::GLPoint<double>& size) const {
    setPoint(*this, dm().width, dm().height, size);
}
void GraphNode::setContainer(const ImmutableGraphElement& container) const {
    KITE::addContained(container, *this);
}

ImmutableTerminalNode::ImmutableTerminalNode(const ImmutableClassObject& o)
    : ImmutableGraphNode(o) {
    if (!isNull() && !core()->cls->isa(dm().terminal.classInfo()))
        *this = ImmutableTerminalNode();
}
ImmutableClass ImmutableTerminalNode::MetaClass() {
    return dm().terminal;
}

ImmutableGraphEdge::ImmutableGraphEdge(const ImmutableClassObject& o)
    : ImmutableDiagramElement(o, dm().edge) {}
ImmutableClass ImmutableGraphEdge::MetaClass() {
    return dm().edge;
}

DiagramElement ImmutableGraphEdge::getSrcElement() const {
    return isValid() ? DiagramElement(getObject(dm().src)) : DiagramElement();
}

DiagramElement ImmutableGraphEdge::getDstElement() const {
    return isValid() ? DiagramElement(getObject(dm().dst)) : DiagramElement();
}

void GraphEdge::setSrcElement(const ImmutableDiagramElement& element) const {
    reattach(*this, dm().src, element, "GraphEdge::setSrcElement");
}
void GraphEdge::setDstElement(const ImmutableDiagramElement& element) const {
    reattach(*this, dm().dst, element, "GraphEdge::setDstElement");
}
void GraphEdge::setContainer(const ImmutableGraphElement& container) const {
    KITE::addContained(container, *this);
}

// --- Factory --------------------------------------------------------------------------------

Factory Factory::createNewFactory(const VELD::Model& model) {
    dm();
    return Factory(VELD::DomainRegistry::instance().createFactory(kDiagramMetaModelUri, model));
}

Diagram Factory::createDiagram(const std::string& name) const {
    Diagram d(kernelFactory.create(dm().diagram));
    if (!name.empty())
        d.setName(name);
    return d;
}

GraphNode Factory::createGraphNode() const {
    return GraphNode(kernelFactory.create(dm().node));
}
GraphEdge Factory::createGraphEdge() const {
    return GraphEdge(kernelFactory.create(dm().edge));
}
TerminalNode Factory::createTerminalNode() const {
    return TerminalNode(kernelFactory.create(dm().terminal));
}

} // namespace KITE
