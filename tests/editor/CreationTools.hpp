#pragma once

// Concrete creation and delete tools on the editor tests' block model, as a client would derive
// them from the library's bases, and a fixture that gives its editor the edge rules of a block
// model with a sink: connections go from block to block and from block to sink, never from a
// sink.

#include "editor/DeleteToolImpl.hpp"
#include "editor/Glyph.hpp"
#include "editor/NodeCreationTool.hpp"
#include "editor/SimpleEdgeCreationTool.hpp"
#include "tests/editor/EditorToolsFixture.hpp"

#include <map>

namespace KITE::Test {

inline VELD::ImmutableClass blocksClass(const char* name) {
    BlockDiagrams::get();
    return VELD::DomainRegistry::instance().findClass(std::string("editorblocks.") + name);
}

class BlockDeleteTool : public DeleteToolImpl {
public:
    explicit BlockDeleteTool(Editor& editor) : DeleteToolImpl(editor) {}
};

class ConnectionTool : public SimpleEdgeCreationTool {
public:
    explicit ConnectionTool(Editor& editor) : SimpleEdgeCreationTool(editor) {
        setEdgeClass(blocksClass("Connection"));
    }
    using SimpleEdgeCreationTool::finalUpdate;
};

// Places a block of the dragged rectangle (20 by 10 for a click) on the diagram.
class BlockCreationTool : public NodeCreationTool {
public:
    explicit BlockCreationTool(Editor& editor) : NodeCreationTool(editor) {}

    int finalUpdates = 0;

protected:
    void initialUpdate(GraphElement, const TAVI::GLPoint<double>& from,
                       const TAVI::GLPoint<double>& to, VELD::Model model) override {
        place(from, to, model);
    }
    void intermediateUpdate(GraphElement, const TAVI::GLPoint<double>& from,
                            const TAVI::GLPoint<double>& to, VELD::Model model) override {
        place(from, to, model);
    }
    void finalUpdate(GraphElement, const TAVI::GLPoint<double>& from,
                     const TAVI::GLPoint<double>& to, VELD::Model model) override {
        ++finalUpdates;
        place(from, to, model);
    }
    TAVI::GLRect<double> defaultSize() const override { return {0, 0, 20, 10}; }

private:
    void place(const TAVI::GLPoint<double>& from, const TAVI::GLPoint<double>& to,
               VELD::Model model) const {
        const TAVI::GLRect<double> rect = creationRect(from, to);
        GraphNode block(model.getFactory().createFromString("Block"));
        getEditor().getDiagram().asDeviant(model).addContained(block);
        block.setPosition({rect.x, rect.y});
        block.setSize({rect.width, rect.height});
    }
};

// The editor tools fixture with a sink s at (100, 100) 40x30 (on the scene (100, 100)-(140, 130))
// and the block model's edge rules.
class CreationToolsTest : public EditorToolsTest {
protected:
    void SetUp() override {
        EditorDomain* domain = EditorDomain::get();
        domain->getEdgeCreationRuleSet().createAsymmetricRule(
            blocksClass("Block"), blocksClass("Block"), blocksClass("Connection"));
        domain->getEdgeCreationRuleSet().createAsymmetricRule(
            blocksClass("Block"), blocksClass("Sink"), blocksClass("Connection"));
        {
            VELD::Transaction t(blocks.model);
            sink = GraphNode(blocks.model.getFactory().createFromString("Sink"));
            blocks.diagram.addContained(sink);
            sink.setPosition({100, 100});
            sink.setSize({40, 30});
            t.commit();
        }
        EditorToolsTest::SetUp();
    }

    // The elements of a kind in the model's root (or the working copy), in diagram order,
    // depth first.
    std::vector<DiagramElement> elementsOf(const VELD::ImmutableClass& kind,
                                           const VELD::Model& model) const {
        std::vector<DiagramElement> found;
        collect(GraphElement(blocks.diagram.asDeviant(model)), kind, found);
        return found;
    }
    std::vector<DiagramElement> connections(const VELD::Model& model) const {
        return elementsOf(GraphEdge::MetaClass(), model);
    }
    std::vector<DiagramElement> nodes(const VELD::Model& model) const {
        return elementsOf(GraphNode::MetaClass(), model);
    }

    // Where each glyph's root is on the scene, by element: what the user sees.
    std::map<const void*, TAVI::GLRect<double>> glyphPicture() const {
        std::map<const void*, TAVI::GLRect<double>> picture;
        for (const TAVI::Holder<Glyph>& glyph : editor->getGraphics()->getGlyphs())
            picture[glyph->diagramElement().core()] = glyph->getRoot().getSceneBounds();
        return picture;
    }

    void undo() { root().undoToChangeLevel(root().getUndoStackLength() - 1); }
    void redo() { root().redoToChangeLevel(root().getUndoStackLength() + 1); }

    template <typename T> TAVI::Holder<T> push() {
        TAVI::Holder<T> tool(new T(*editor));
        editor->addTool(TAVI::Holder<ZEPH::Tool>(tool.get()));
        return tool;
    }

    GraphNode sink;

private:
    static void collect(const GraphElement& container, const VELD::ImmutableClass& kind,
                        std::vector<DiagramElement>& found) {
        for (const DiagramElement& element : container.getContained()) {
            if (VELD::isa(element.getMetaClass(), kind))
                found.push_back(element);
            if (const GraphElement inner(element); inner.isValid())
                collect(inner, kind, found);
        }
    }
};

} // namespace KITE::Test
