// The scene rectangle of an editor's graphics. The graphics set it themselves (Qt measures every
// item of a scene without one when asked for it, which a drag on a large diagram did on every
// step), and it must still cover every glyph, as Qt's own would.
#include "editor/Graphics.hpp"
#include "platform/zeph/CustomNode.hpp"
#include "platform/zeph/CustomNodePainter.hpp"
#include "tests/editor/EditorTestSupport.hpp"

#include <QCoreApplication>
#include <QGraphicsScene>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

using namespace KITE;
using namespace KITE::Test;

namespace {

// Draws nothing over a rectangle of the given size.
class SizedPainter : public ZEPH::CustomNodePainter {
public:
    TAVI::GLRect<double> getBounds() const override { return {0, 0, size.x, size.y}; }
    void paint(QPainter&) override {}

    TAVI::GLPoint<double> size{10, 10};
};

// A block drawn by a custom node at the element's position and of its size.
class MeasuredGlyph : public Glyph {
public:
    explicit MeasuredGlyph(const DiagramElement& element) : Glyph(element) {}

    void create() override {
        painter = TAVI::Holder<SizedPainter>(new SizedPainter);
        node = ZEPH::CustomNode::create(TAVI::Holder<ZEPH::CustomNodePainter>(painter.get()));
        getScene()->addNode(node);
    }
    ZEPH::Node getRoot() const override { return node; }
    void update() override {
        const DiagramElement element = diagramElement();
        if (!element.isValid())
            return;
        painter->boundsChanging();
        painter->size = element.getSize();
        node.setPosition(element.getPosition());
    }

    TAVI::Holder<SizedPainter> painter;

private:
    ZEPH::CustomNode node;
};

class MeasuredGlyphFactory : public GlyphFactory {
public:
    MeasuredGlyphFactory() : GlyphFactory(Table::forClass<MeasuredGlyphFactory>()) {
        registerCreator(Diagram::MetaClass(), Table::member(&MeasuredGlyphFactory::createDiagram));
        registerCreator(GraphNode::MetaClass(), Table::member(&MeasuredGlyphFactory::createNode));
    }
    TAVI::Holder<Glyph> createDiagram(DiagramElement element) {
        return TAVI::Holder<Glyph>(new DiagramGlyph(element));
    }
    TAVI::Holder<Glyph> createNode(DiagramElement element) {
        return TAVI::Holder<Glyph>(new MeasuredGlyph(element));
    }
};

// The report of the last transaction on a deviant.
class ReportCatcher {
public:
    explicit ReportCatcher(const VELD::Model& deviant) : deviant(deviant), holder(this) {
        deviant.registerObservingListener(&holder);
    }
    ~ReportCatcher() { deviant.unregisterObservingListener(&holder); }
    ReportCatcher(const ReportCatcher&) = delete;
    ReportCatcher& operator=(const ReportCatcher&) = delete;

    void transactionCompleted(const DiagramChangeReport& report) { last = report; }

    VELD::Model deviant;
    std::optional<DiagramChangeReport> last;

private:
    VELD::internal::ListenerHolder<VELD::ImmutableModel, ReportCatcher, DiagramElement, false>
        holder;
};

// Twenty blocks on a row beside the block model's own, seen through a working copy and drawn
// as the editor draws them: glyphs made, then updated.
struct GraphicsSceneRectTest : ::testing::Test {
    BlockModel blocks;
    std::vector<GraphNode> row;
    VELD::Model copy; // made once the row is in the model, as an editor's would be synchronised
    std::unique_ptr<Graphics> graphics{Graphics::createGraphics()};
    MeasuredGlyphFactory factory;
    std::unique_ptr<ReportCatcher> catcher;

    void SetUp() override {
        {
            VELD::Transaction t(blocks.model);
            for (int i = 0; i < 20; ++i)
                row.push_back(blocks.addBlock(blocks.diagram, {100.0 * i, 100}, {40, 30}));
            t.commit();
        }
        copy = blocks.model.createDeviantWithName("view");
        catcher = std::make_unique<ReportCatcher>(copy);
        graphics->setGlyphFactory(&factory);
        TAVI::GSet<DiagramElement> all =
            elementSet({seen(blocks.diagram), seen(blocks.a), seen(blocks.inner), seen(blocks.b)});
        for (const GraphNode& block : row)
            all.insert(seen(block));
        make(all);
        settle();
    }

    DiagramElement seen(const VELD::ImmutableClassObject& element) const {
        return asElement(element).asDeviant(copy);
    }
    MeasuredGlyph* glyphOf(const VELD::ImmutableClassObject& element) const {
        return dynamic_cast<MeasuredGlyph*>(graphics->getGlyph(seen(element)));
    }
    void make(const TAVI::GSet<DiagramElement>& elements) {
        graphics->createGlyphs(elements);
        for (const DiagramElement& element : elements) {
            Glyph* glyph = graphics->getGlyph(element);
            ASSERT_NE(glyph, nullptr);
            glyph->update();
        }
    }
    // Moves the block in the working copy and updates its glyph with the report.
    void moveTo(const GraphNode& block, const TAVI::GLPoint<double>& position) {
        VELD::Transaction t(copy);
        seen(block).setPosition(position);
        t.commit();
        ASSERT_TRUE(catcher->last);
        graphics->updateGlyphs(elementSet({seen(block)}), *catcher->last);
    }
    // The canvas's deferred passes (dirty items, scene updates). Not a hit test: under the
    // graphics' root one visits every glyph.
    void settle() const {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QRectF sceneRect() const { return graphics->getScene()->qtScene()->sceneRect(); }
    static QRectF asQt(const TAVI::GLRect<double>& r) { return {r.x, r.y, r.width, r.height}; }
};

} // namespace

TEST_F(GraphicsSceneRectTest, TheSceneRectCoversMovedAndNewGlyphs) {
    moveTo(row[0], {5000, -3000});
    settle();
    const ZEPH::Node moved = glyphOf(row[0])->getRoot();
    EXPECT_TRUE(sceneRect().contains(asQt(moved.getSceneBounds())));
    // It only grows, as Qt's own does: the block's old place stays in.
    EXPECT_TRUE(sceneRect().contains(QRectF(0, 100, 40, 30)));

    // A glyph made later, far away, is covered too, before and after the next move.
    GraphNode far;
    {
        VELD::Transaction t(copy);
        far = GraphNode(copy.getFactory().createFromString("Block"));
        GraphElement(seen(blocks.diagram)).addContained(far);
        far.setPosition({-7000, 9000});
        far.setSize({40, 30});
        t.commit();
    }
    make(elementSet({far}));
    settle();
    EXPECT_TRUE(sceneRect().contains(asQt(glyphOf(far)->getRoot().getSceneBounds())));
    moveTo(row[1], {100, 120});
    settle();
    EXPECT_TRUE(sceneRect().contains(asQt(glyphOf(far)->getRoot().getSceneBounds())));
    EXPECT_TRUE(sceneRect().contains(asQt(moved.getSceneBounds())));
}

TEST_F(GraphicsSceneRectTest, GraphicsInAnotherSceneLeaveItsRectangleAlone) {
    const TAVI::Holder<ZEPH::Scene> host = ZEPH::Scene::createScene();
    const ZEPH::ContainerNode hostRoot = ZEPH::ContainerNode::create();
    host->addNode(hostRoot);
    host->qtScene()->setSceneRect(0, 0, 50, 50);
    std::unique_ptr<Graphics> inHost{Graphics::createGraphicsWithRoot(hostRoot)};
    inHost->setGlyphFactory(&factory);
    inHost->createGlyphs(elementSet({seen(blocks.diagram), seen(row[5])}));
    inHost->getGlyph(seen(row[5]))->update();

    VELD::Transaction t(copy);
    seen(row[5]).setPosition({900, 900});
    t.commit();
    ASSERT_TRUE(catcher->last);
    inHost->updateGlyphs(elementSet({seen(row[5])}), *catcher->last);

    EXPECT_EQ(host->qtScene()->sceneRect(), QRectF(0, 0, 50, 50));
}
