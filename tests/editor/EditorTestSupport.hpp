#pragma once

// Shared by the editor layer's tests: a block-diagram meta-model built on the diagram model,
// glyphs that draw its elements on the canvas, their factory, and a model with one diagram.

#include "editor/Control.hpp"
#include "editor/Glyph.hpp"
#include "editor/GlyphFactory.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/veld/Veld.hpp"
#include "platform/zeph/ContainerNode.hpp"
#include "platform/zeph/LineNode.hpp"
#include "platform/zeph/RectNode.hpp"
#include "platform/zeph/Scene.hpp"

#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace KITE::Test {

// Any diagram element handle (a Diagram, a GraphNode, ...) as a DiagramElement.
inline DiagramElement asElement(const VELD::ImmutableClassObject& object) {
    return DiagramElement(object);
}

inline TAVI::GSet<DiagramElement>
elementSet(std::initializer_list<VELD::ImmutableClassObject> objects) {
    TAVI::GSet<DiagramElement> set;
    for (const VELD::ImmutableClassObject& object : objects)
        set.insert(DiagramElement(object));
    return set;
}

// Blocks joined by connections, on diagrams held by a sheet.
struct BlockDiagrams {
    VELD::ImmutableNamespace package;
    static const BlockDiagrams& get() {
        static const BlockDiagrams b = [] {
            diagramMetaModel();
            VELD::MetaModelBuilder builder("editorblocks", "test:editorblocks");
            builder.addClass("Block", {"KITE.GraphNode"}).attribute("gain", "Double");
            builder.addClass("Connection", {"KITE.GraphEdge"}).attribute("label", "String");
            // A node that edges may end on but not start from, for one-way edge rules.
            builder.addClass("Sink", {"KITE.GraphNode"});
            builder.addClass("Sheet")
                .attribute("name", "String")
                .containment("diagrams", "KITE.Diagram");
            builder.setModelClass("Sheet");
            return BlockDiagrams{builder.build()};
        }();
        return b;
    }
};

// A rectangle at the element's position and of its size, selectable and movable; the glyphs
// of contained elements hang inside it. Counts its updates.
class BoxGlyph : public Glyph {
public:
    explicit BoxGlyph(const DiagramElement& element) : Glyph(element) {}

    void create() override {
        box = ZEPH::RectNode::create();
        box.setSelectable(true);
        box.setMovable(true);
        getScene()->addNode(box);
    }
    ZEPH::Node getRoot() const override { return box; }
    void update() override {
        ++updates;
        const DiagramElement element = diagramElement();
        if (!element.isValid() || !box.isValid())
            return;
        const TAVI::GLPoint<double> size = element.getSize();
        box.setRect({0, 0, size.x, size.y});
        box.setPosition(element.getPosition());
    }

    int updates = 0;

private:
    ZEPH::RectNode box;
};

// A line between the centres of the edge's ends, in diagram coordinates. Hangs under the
// graphics' root when the edge lies on the diagram.
class EdgeGlyph : public Glyph {
public:
    explicit EdgeGlyph(const DiagramElement& element) : Glyph(element) {}

    void create() override {
        line = ZEPH::LineNode::create();
        line.setSelectable(true);
        getScene()->addNode(line);
    }
    ZEPH::Node getRoot() const override { return line; }
    void update() override {
        ++updates;
        const GraphEdge edge(diagramElement());
        if (!edge.isValid() || !line.isValid())
            return;
        line.setLine(centre(edge.getSrcElement()), centre(edge.getDstElement()));
    }

    int updates = 0;

private:
    static TAVI::GLPoint<double> centre(const DiagramElement& end) {
        if (!end.isValid())
            return {};
        const TAVI::GLPoint<double> corner = end.getAbsPosition();
        const TAVI::GLPoint<double> size = end.getSize();
        return {corner.x + size.x / 2, corner.y + size.y / 2};
    }

    ZEPH::LineNode line;
};

// The diagram itself gets an empty container at the origin; nodes get boxes, edges lines.
class DiagramGlyph : public Glyph {
public:
    explicit DiagramGlyph(const DiagramElement& element) : Glyph(element) {}

    void create() override {
        root = ZEPH::ContainerNode::create();
        getScene()->addNode(root);
    }
    ZEPH::Node getRoot() const override { return root; }
    void update() override { ++updates; }

    int updates = 0;

private:
    ZEPH::ContainerNode root;
};

// A 6 by 6 button at the corner of its parent, tagged "button": counts what happens to it, logs
// its presses under its name, consumes them when asked, and throws from updates while told to.
class ButtonControl : public Control {
public:
    explicit ButtonControl(std::string name = "button", std::vector<std::string>* log = nullptr)
        : name(std::move(name)), log(log) {}
    TAVI::StringID getDefaultTag() const override { return "button"; }
    ZEPH::Node getRoot() const override { return square; }

    int creations = 0, updates = 0, presses = 0;
    bool consumes = false, fails = false;

protected:
    void doCreate(const ZEPH::Node&) override {
        ++creations;
        square = ZEPH::RectNode::create({0, 0, 6, 6});
    }
    void doUpdate() override {
        if (fails)
            throw std::runtime_error("control update failed");
        ++updates;
    }
    void doMousePress(ZEPH::MouseEvent& event) override {
        ++presses;
        if (log)
            log->push_back(name);
        if (consumes)
            event.consume();
    }

private:
    std::string name;
    std::vector<std::string>* log;
    ZEPH::RectNode square;
};

// Draws the diagram, nodes and edges with the glyphs its functions make: by default an empty
// container, boxes and lines. A kind whose function is empty gets a NullGlyph, as a factory that
// registers nothing for it gives.
class BoxGlyphFactory : public GlyphFactory {
public:
    using Make = std::function<TAVI::Holder<Glyph>(const DiagramElement&)>;
    template <typename G> static Make make() {
        return [](const DiagramElement& e) { return TAVI::Holder<Glyph>(new G(e)); };
    }

    BoxGlyphFactory() : GlyphFactory(Table::forClass<BoxGlyphFactory>()) {
        registerCreator(Diagram::MetaClass(), Table::member(&BoxGlyphFactory::createDiagram));
        registerCreator(GraphNode::MetaClass(), Table::member(&BoxGlyphFactory::createNode));
        registerCreator(GraphEdge::MetaClass(), Table::member(&BoxGlyphFactory::createEdge));
    }
    TAVI::Holder<Glyph> createDiagram(DiagramElement e) { return diagram ? diagram(e) : create(e); }
    TAVI::Holder<Glyph> createNode(DiagramElement e) { return node ? node(e) : create(e); }
    TAVI::Holder<Glyph> createEdge(DiagramElement e) { return edge ? edge(e) : create(e); }

    Make diagram = make<DiagramGlyph>();
    Make node = make<BoxGlyph>();
    Make edge = make<EdgeGlyph>();
};

// Every report of the transactions completed on one deviant (the model's root, a working copy).
class Reports {
public:
    explicit Reports(const VELD::Model& deviant) : deviant(deviant) {
        deviant.registerObservingListener(&holder);
    }
    ~Reports() { deviant.unregisterObservingListener(&holder); }
    Reports(const Reports&) = delete;
    Reports& operator=(const Reports&) = delete;

    void transactionCompleted(const DiagramChangeReport& report) { all.push_back(report); }
    int count() const { return int(all.size()); }
    const DiagramChangeReport& last() const { return all.back(); }

    std::vector<DiagramChangeReport> all;

private:
    VELD::Model deviant;
    VELD::internal::ListenerHolder<VELD::ImmutableModel, Reports, DiagramElement, false> holder{
        this};
};

// A sheet with the diagram "main": block a at (10, 10) 40x30 holding block inner at (5, 5)
// 10x10, block b at (200, 10) 40x30, and the connection ab from a to b.
struct BlockModel {
    VELD::Model model =
        (BlockDiagrams::get(), VELD::DomainRegistry::instance().createModel("test:editorblocks"));
    Factory factory = Factory::createNewFactory(model);
    Diagram diagram;
    GraphNode a, inner, b;
    GraphEdge ab;

    BlockModel() {
        VELD::Transaction t(model);
        const VELD::ClassObject sheet = model.getRootObject();
        sheet.setString(sheet.getMetaClass().getProperty("name"), "sheet");
        diagram = addDiagram("main");
        a = addBlock(diagram, {10, 10}, {40, 30});
        inner = addBlock(a, {5, 5}, {10, 10});
        b = addBlock(diagram, {200, 10}, {40, 30});
        ab = connect(a, b);
        t.commit();
    }

    // The helpers below change the model: call them inside a transaction.
    Diagram addDiagram(const std::string& name) const {
        Diagram added = factory.createDiagram(name);
        const VELD::ClassObject sheet = model.getRootObject();
        sheet.add(sheet.getMetaClass().getProperty("diagrams"), added);
        return added;
    }
    GraphNode addBlock(const GraphElement& container, const TAVI::GLPoint<double>& position,
                       const TAVI::GLPoint<double>& size) const {
        GraphNode block(model.getFactory().createFromString("Block"));
        container.addContained(block);
        block.setPosition(position);
        block.setSize(size);
        return block;
    }
    GraphEdge connect(const GraphNode& from, const GraphNode& to) const {
        GraphEdge edge(model.getFactory().createFromString("Connection"));
        diagram.addContained(edge);
        edge.setSrcElement(from);
        edge.setDstElement(to);
        return edge;
    }
};

} // namespace KITE::Test
