#pragma once

// The diagram model: diagrams, their nodes and edges, as kernel classes of the meta-model
// "KITE" (URI "kite:datamodel"). Client meta-models derive their node and edge classes from
// these ("KITE.GraphNode", "KITE.GraphEdge"). Each handle is null when made from an object
// of another class. Positions are relative to the element's container; sizes are
// TAVI::GLPoint<double> (width in x, height in y).

#include "platform/datamodel/kite_datamodel_export.hpp"
#include "platform/tavi/Geometry.hpp"
#include "platform/veld/ClassObject.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"

#include <string>

namespace KITE {

class ImmutableGraphElement;
class ImmutableDiagram;
class GraphElement;
class Diagram;
class ImmutableGraphEdge;
class GraphEdge;

// The diagram meta-model's URI; the meta-model registers itself on first use.
inline constexpr const char* kDiagramMetaModelUri = "kite:datamodel";
KITE_DATAMODEL_EXPORT VELD::ImmutableNamespace diagramMetaModel();

class KITE_DATAMODEL_EXPORT ImmutableDiagramElement : public VELD::ImmutableClassObject {
public:
    ImmutableDiagramElement() = default;
    explicit ImmutableDiagramElement(const VELD::ImmutableClassObject& o);
    static VELD::ImmutableClass MetaClass();

    TAVI::GLPoint<double> getPosition() const;    // relative to the container
    TAVI::GLPoint<double> getAbsPosition() const; // in diagram coordinates
    TAVI::GLPoint<double> getSize() const;
    ImmutableGraphElement getContainer() const;
    ImmutableDiagram getDiagram() const;
    ImmutableDiagramElement asDeviant(const VELD::ImmutableModel& deviant) const;

protected:
    ImmutableDiagramElement(const VELD::ImmutableClassObject& o, const VELD::ImmutableClass& kind);
};

class KITE_DATAMODEL_EXPORT DiagramElement : public ImmutableDiagramElement {
public:
    DiagramElement() = default;
    explicit DiagramElement(const VELD::ImmutableClassObject& o) : ImmutableDiagramElement(o) {}

    void setPosition(const TAVI::GLPoint<double>& position) const;
    void setSize(const TAVI::GLPoint<double>& size) const;
    GraphElement getContainer() const;
    Diagram getDiagram() const;
    DiagramElement asDeviant(const VELD::ImmutableModel& deviant) const;
    // Destroys the element with everything it contains.
    void destroy() const;
};

// An element that contains others, and to which edges attach.
class KITE_DATAMODEL_EXPORT ImmutableGraphElement : public ImmutableDiagramElement {
public:
    ImmutableGraphElement() = default;
    explicit ImmutableGraphElement(const VELD::ImmutableClassObject& o);
    static VELD::ImmutableClass MetaClass();

    VELD::ImmutableSequence<DiagramElement> getContained() const;
    VELD::ImmutableSequence<GraphEdge>
    getEdges() const; // edges whose source or destination this is

protected:
    ImmutableGraphElement(const VELD::ImmutableClassObject& o, const VELD::ImmutableClass& kind)
        : ImmutableDiagramElement(o, kind) {}
};

class KITE_DATAMODEL_EXPORT GraphElement : public ImmutableGraphElement {
public:
    GraphElement() = default;
    explicit GraphElement(const VELD::ImmutableClassObject& o) : ImmutableGraphElement(o) {}

    // Puts element into this one (taking it from its previous container).
    void addContained(const ImmutableDiagramElement& element) const;
    void setContainer(const ImmutableGraphElement& container) const;
    void setPosition(const TAVI::GLPoint<double>& position) const;
    void setSize(const TAVI::GLPoint<double>& size) const;
};

class KITE_DATAMODEL_EXPORT ImmutableDiagram : public ImmutableGraphElement {
public:
    ImmutableDiagram() = default;
    explicit ImmutableDiagram(const VELD::ImmutableClassObject& o);
    static VELD::ImmutableClass MetaClass();

    std::string getName() const;
    // The diagram's name after the names of the objects that contain it, "/" separated.
    std::string getFullName() const;
    ImmutableDiagram asDeviant(const VELD::ImmutableModel& deviant) const;
};

class KITE_DATAMODEL_EXPORT Diagram : public ImmutableDiagram {
public:
    Diagram() = default;
    explicit Diagram(const VELD::ImmutableClassObject& o) : ImmutableDiagram(o) {}

    void setName(const std::string& name) const;
    void addContained(const ImmutableDiagramElement& element) const;
    Diagram asDeviant(const VELD::ImmutableModel& deviant) const;
    operator GraphElement() const {
        return GraphElement(static_cast<const VELD::ImmutableClassObject&>(*this));
    } // NOLINT
};

class KITE_DATAMODEL_EXPORT ImmutableGraphNode : public ImmutableGraphElement {
public:
    ImmutableGraphNode() = default;
    explicit ImmutableGraphNode(const VELD::ImmutableClassObject& o);
    static VELD::ImmutableClass MetaClass();
};

class KITE_DATAMODEL_EXPORT GraphNode : public ImmutableGraphNode {
public:
    GraphNode() = default;
    explicit GraphNode(const VELD::ImmutableClassObject& o) : ImmutableGraphNode(o) {}
    void setPosition(const TAVI::GLPoint<double>& position) const;
    void setSize(const TAVI::GLPoint<double>& size) const;
    void setContainer(const ImmutableGraphElement& container) const;
    operator GraphElement() const {
        return GraphElement(static_cast<const VELD::ImmutableClassObject&>(*this));
    } // NOLINT
    operator DiagramElement() const {
        return DiagramElement(static_cast<const VELD::ImmutableClassObject&>(*this));
    } // NOLINT
};

// The end point of an edge that is being drawn and has no destination yet.
class KITE_DATAMODEL_EXPORT ImmutableTerminalNode : public ImmutableGraphNode {
public:
    ImmutableTerminalNode() = default;
    explicit ImmutableTerminalNode(const VELD::ImmutableClassObject& o);
    static VELD::ImmutableClass MetaClass();
};

class KITE_DATAMODEL_EXPORT TerminalNode : public ImmutableTerminalNode {
public:
    TerminalNode() = default;
    explicit TerminalNode(const VELD::ImmutableClassObject& o) : ImmutableTerminalNode(o) {}
    operator GraphNode() const {
        return GraphNode(static_cast<const VELD::ImmutableClassObject&>(*this));
    } // NOLINT
};

class KITE_DATAMODEL_EXPORT ImmutableGraphEdge : public ImmutableDiagramElement {
public:
    ImmutableGraphEdge() = default;
    explicit ImmutableGraphEdge(const VELD::ImmutableClassObject& o);
    static VELD::ImmutableClass MetaClass();

    DiagramElement getSrcElement() const;
    DiagramElement getDstElement() const;
};

class KITE_DATAMODEL_EXPORT GraphEdge : public ImmutableGraphEdge {
public:
    GraphEdge() = default;
    explicit GraphEdge(const VELD::ImmutableClassObject& o) : ImmutableGraphEdge(o) {}

    // Attaching keeps the end elements' edge lists in step.
    void setSrcElement(const ImmutableDiagramElement& element) const;
    void setDstElement(const ImmutableDiagramElement& element) const;
    void setContainer(const ImmutableGraphElement& container) const;
    operator DiagramElement() const {
        return DiagramElement(static_cast<const VELD::ImmutableClassObject&>(*this));
    } // NOLINT
};

// Makes diagram elements in one model (inside a transaction on it).
class KITE_DATAMODEL_EXPORT Factory {
public:
    static Factory createNewFactory(const VELD::Model& model);

    Diagram createDiagram(const std::string& name = "") const;
    GraphNode createGraphNode() const;
    GraphEdge createGraphEdge() const;
    TerminalNode createTerminalNode() const;

private:
    explicit Factory(VELD::FactoryObject factory) : kernelFactory(std::move(factory)) {}
    VELD::FactoryObject kernelFactory;
};

} // namespace KITE
