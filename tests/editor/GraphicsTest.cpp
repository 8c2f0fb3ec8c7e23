#include "editor/Graphics.hpp"
#include "editor/Control.hpp"
#include "editor/NullGlyph.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/CustomNode.hpp"
#include "platform/zeph/CustomNodePainter.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "tests/editor/EditorTestSupport.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <QCoreApplication>
#include <QGraphicsScene>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace KITE;
using namespace KITE::Test;
using TAVI::GLPoint;
using Log = std::vector<std::string>;

namespace {

struct Removals : NIMB::Listener {
    void removed(Glyph* glyph) {
        // The glyph is still alive while the signal is delivered; its nodes are gone already.
        live.push_back(glyph->getGraphics() && !glyph->getRoot().isValid());
        elements.push_back(glyph->diagramElement());
    }
    std::vector<bool> live;
    std::vector<DiagramElement> elements;
};

class PressRecordingBox : public BoxGlyph {
public:
    PressRecordingBox(const DiagramElement& element, Log& log) : BoxGlyph(element), log(log) {}
    void handleMousePressEvent(ZEPH::MouseEvent&) override { log.push_back("glyph"); }

private:
    Log& log;
};

struct GraphicsTest : ::testing::Test {
    BlockModel blocks;
    std::unique_ptr<Graphics> graphics{Graphics::createGraphics()};
    BoxGlyphFactory factory;
    Log log;

    void SetUp() override { graphics->setGlyphFactory(&factory); }

    TAVI::GSet<DiagramElement> everything() const {
        return elementSet({blocks.diagram, blocks.a, blocks.inner, blocks.b, blocks.ab});
    }
    ZEPH::Node parentNodeOf(const VELD::ImmutableClassObject& element) const {
        return graphics->getGlyph(asElement(element))->getRoot().getParent();
    }
    // A glyph of the element in the graphics' scene, built but kept out of the element map.
    template <typename G, typename... Args>
    TAVI::Holder<G> make(const DiagramElement& element, Args&... args) {
        TAVI::Holder<G> glyph(new G(element, args...));
        glyph->setGraphics(graphics.get());
        glyph->create();
        glyph->update();
        return glyph;
    }
};

} // namespace

TEST_F(GraphicsTest, GlyphsHangUnderTheirContainersAndAreFoundByElementOrRoot) {
    // An element whose container has no glyph (yet) hangs under the root.
    graphics->createGlyphs(elementSet({blocks.inner}));
    EXPECT_EQ(parentNodeOf(blocks.inner), graphics->getRoot());
    // Contained element first, then its container, in separate calls.
    std::unique_ptr<Graphics> other(Graphics::createGraphics());
    other->setGlyphFactory(&factory);
    other->createGlyphs(elementSet({blocks.diagram}));
    other->createGlyphs(elementSet({blocks.a, blocks.inner}));
    other->createGlyphs(elementSet({blocks.b, blocks.ab}));
    Glyph* diagramGlyph = other->getGlyph(blocks.diagram);
    ASSERT_NE(diagramGlyph, nullptr);
    EXPECT_EQ(diagramGlyph->getRoot().getParent(), other->getRoot());
    EXPECT_EQ(other->getGlyph(blocks.a)->getRoot().getParent(), diagramGlyph->getChildContainer());
    EXPECT_EQ(other->getGlyph(blocks.inner)->getRoot().getParent(),
              other->getGlyph(blocks.a)->getChildContainer());
    EXPECT_EQ(other->getGlyph(blocks.ab)->getRoot().getParent(), diagramGlyph->getChildContainer());
    EXPECT_EQ(other->getGlyphs().size(), 5u);

    Glyph* glyph = other->getGlyph(blocks.a);
    EXPECT_EQ(glyph->diagramElement(), blocks.a);
    EXPECT_EQ(glyph->getGraphics(), other.get());
    EXPECT_EQ(glyph->getScene(), other->getScene());
    EXPECT_EQ(other->getGlyph(glyph->getRoot()), glyph);
    EXPECT_EQ(other->getGlyph(other->getRoot()), nullptr);
    EXPECT_EQ(other->getGlyph(ZEPH::Node()), nullptr);
    EXPECT_EQ(other->getGlyph(DiagramElement()), nullptr);
}

TEST_F(GraphicsTest, TheFactoryDispatchesOnTheMostSpecificClassElseMakesNullGlyphs) {
    TerminalNode terminal;
    {
        VELD::Transaction t(blocks.model);
        terminal = blocks.factory.createTerminalNode();
        blocks.diagram.addContained(terminal);
        t.commit();
    }
    graphics->createGlyphs(elementSet({blocks.a, terminal, blocks.ab}));
    EXPECT_NE(dynamic_cast<BoxGlyph*>(graphics->getGlyph(blocks.a)), nullptr);
    EXPECT_NE(dynamic_cast<BoxGlyph*>(graphics->getGlyph(terminal)), nullptr);
    EXPECT_NE(dynamic_cast<EdgeGlyph*>(graphics->getGlyph(blocks.ab)), nullptr);

    BoxGlyphFactory edgesOnly;
    edgesOnly.node = nullptr;
    std::unique_ptr<Graphics> other(Graphics::createGraphics());
    other->setGlyphFactory(&edgesOnly);
    other->setGlyphFactory(&factory); // ignored: the first factory stays
    EXPECT_EQ(other->getGlyphFactory(), &edgesOnly);
    other->createGlyphs(elementSet({blocks.b}));
    auto* null = dynamic_cast<NullGlyph*>(other->getGlyph(blocks.b));
    ASSERT_NE(null, nullptr);
    null->update();
    EXPECT_EQ(null->getRoot().getPosition(), (GLPoint<double>{200, 10}));

    // Without a factory: reported, and the element tree is kept with null glyphs.
    KiteTest::AssertionRecorder assertions;
    std::unique_ptr<Graphics> bare(Graphics::createGraphics());
    bare->createGlyphs(elementSet({blocks.a, blocks.inner}));
    EXPECT_EQ(assertions.count(), 2u);
    ASSERT_NE(dynamic_cast<NullGlyph*>(bare->getGlyph(blocks.inner)), nullptr);
    EXPECT_EQ(bare->getGlyph(blocks.inner)->getRoot().getParent(),
              bare->getGlyph(blocks.a)->getChildContainer());

    // A second glyph for one element: reported, and the first stays.
    assertions.clear();
    Glyph* first = graphics->getGlyph(blocks.a);
    graphics->createGlyphs(elementSet({blocks.a}));
    EXPECT_EQ(assertions.expressions(), std::vector<std::string>{"!erh.hasError()"});
    EXPECT_EQ(graphics->getGlyph(blocks.a), first);
    EXPECT_EQ(graphics->getGlyphs().size(), 3u);
}

TEST_F(GraphicsTest, UpdatesReattachAGlyphOnlyWhenItsElementChangedContainer) {
    const VELD::Model copy = blocks.model.createDeviantWithName("view");
    auto seen = [&](const VELD::ImmutableClassObject& e) { return asElement(e).asDeviant(copy); };
    graphics->createGlyphs(
        elementSet({seen(blocks.diagram), seen(blocks.a), seen(blocks.inner), seen(blocks.b)}));
    auto* innerGlyph = dynamic_cast<BoxGlyph*>(graphics->getGlyph(seen(blocks.inner)));
    ASSERT_NE(innerGlyph, nullptr);
    Reports reports(copy);
    {
        VELD::Transaction t(copy);
        seen(blocks.inner).setPosition({7, 8});
        t.commit();
    }
    ASSERT_EQ(reports.count(), 1);
    graphics->updateGlyphs(elementSet({seen(blocks.inner)}), reports.last());
    EXPECT_EQ(innerGlyph->updates, 1);
    EXPECT_EQ(innerGlyph->getRoot().getParent(),
              graphics->getGlyph(seen(blocks.a))->getChildContainer());
    EXPECT_EQ(innerGlyph->getRoot().getPosition(), (GLPoint<double>{7, 8}));
    {
        VELD::Transaction t(copy);
        GraphNode(seen(blocks.inner)).setContainer(GraphNode(seen(blocks.b)));
        t.commit();
    }
    graphics->updateGlyphs(elementSet({seen(blocks.inner)}), reports.last());
    EXPECT_EQ(innerGlyph->updates, 2);
    EXPECT_EQ(innerGlyph->getRoot().getParent(),
              graphics->getGlyph(seen(blocks.b))->getChildContainer());
}

TEST_F(GraphicsTest, RemovingAnElementRemovesTheGlyphsBelowItInnermostFirst) {
    graphics->createGlyphs(everything());
    Removals removals;
    new NIMB::ConnectionImpl1<Removals, Glyph*>(&removals, graphics->getGlyphRemovedSignal(),
                                                nullptr, &Removals::removed);
    const ZEPH::Node innerNode = graphics->getGlyph(blocks.inner)->getRoot();
    graphics->removeGlyphs(elementSet({blocks.a}));
    EXPECT_EQ(removals.elements,
              (std::vector<DiagramElement>{asElement(blocks.inner), asElement(blocks.a)}));
    EXPECT_EQ(removals.live, (std::vector<bool>{true, true}));
    EXPECT_EQ(graphics->getGlyph(blocks.inner), nullptr);
    EXPECT_FALSE(innerNode.isValid());
    EXPECT_EQ(graphics->getGlyphs().size(), 3u);
    // Elements without glyphs are left alone.
    graphics->removeGlyphs(elementSet({blocks.a, blocks.inner}));
    EXPECT_EQ(removals.elements.size(), 2u);

    // No glyph for a: inner's hangs under the root, where no node tree from a leads to it.
    std::unique_ptr<Graphics> other(Graphics::createGraphics());
    other->setGlyphFactory(&factory);
    other->createGlyphs(elementSet({blocks.diagram, blocks.inner, blocks.b}));
    {
        VELD::Transaction t(blocks.model);
        DiagramElement(blocks.a).destroy();
        t.commit();
    }
    other->removeGlyphs(elementSet({blocks.a}));
    EXPECT_EQ(other->getGlyphs().size(), 2u);
    EXPECT_NE(other->getGlyph(blocks.b), nullptr);
}

TEST_F(GraphicsTest, InvalidatedElementsAreTakenOnce) {
    graphics->invalidateGlyph(blocks.a);
    graphics->invalidateGlyphs(blocks.diagram.getContained());
    EXPECT_TRUE(graphics->isInvalidated(blocks.ab));
    EXPECT_EQ(graphics->takeInvalidated().size(), 3u); // a, b and ab; a only once
    EXPECT_TRUE(graphics->takeInvalidated().isEmpty());
    EXPECT_FALSE(graphics->isInvalidated(blocks.ab));
}

// --- glyphs and their controls ---------------------------------------------------------------

TEST_F(GraphicsTest, AGlyphsDefaultsMovabilityAndSelection) {
    const TAVI::Holder<BoxGlyph> box = make<BoxGlyph>(asElement(blocks.b));
    EXPECT_EQ(box->minSize(), (GLPoint<double>{10, 10}));
    EXPECT_EQ(box->getChildContainer(), box->getRoot());
    EXPECT_EQ(box->getEditor(), nullptr);
    EXPECT_TRUE(box->isMovable());
    EXPECT_EQ(box->rect(), EditLayout::LayoutRect(10, 200, 40, 30));
    EXPECT_EQ(box->layoutItem().rect, box->rect());
    const TAVI::Holder<EdgeGlyph> edge = make<EdgeGlyph>(asElement(blocks.ab));
    edge->getRoot().setMovable(true);
    EXPECT_FALSE(edge->isMovable()) << "an edge is never movable whatever its node says";

    // Without an editor isSelected() stays false, so selecting shows each time it is asked; it
    // reaches the root only when that is selectable.
    EXPECT_FALSE(box->isSelected());
    box->select();
    EXPECT_TRUE(box->getRoot().isSelected());
    EXPECT_EQ(box->updates, 2);
    box->getRoot().setSelectable(false);
    box->select();
    EXPECT_FALSE(box->getRoot().isSelected());
    EXPECT_EQ(box->updates, 2);
}

TEST_F(GraphicsTest, ControlsAreKeptUnderTagsUpdatedWithTheirGlyphAndDetachedWithIt) {
    graphics->createGlyphs(elementSet({blocks.b}));
    Glyph* box = graphics->getGlyph(blocks.b);
    TAVI::Holder<ButtonControl> first(new ButtonControl("first", &log));
    TAVI::Holder<ButtonControl> second(new ButtonControl("second", &log));
    EXPECT_EQ(box->addControl(first, box->getRoot()), TAVI::StringID("button"));
    EXPECT_EQ(first->getGlyph(), box);
    EXPECT_EQ(first->getParent(), box->getRoot());
    EXPECT_EQ(first->getRoot().getParent(), box->getRoot());
    EXPECT_TRUE(first->contains(first->getRoot()));
    EXPECT_FALSE(first->contains(box->getRoot()));
    // A tag in use refuses another control.
    EXPECT_TRUE(box->addControl(second, box->getRoot()).isEmpty());
    EXPECT_EQ(second->creations, 0);
    EXPECT_EQ(second->getGlyph(), nullptr);
    EXPECT_EQ(box->addControl(second, box->getRoot(), "other"), TAVI::StringID("other"));

    graphics->updateGlyphs(elementSet({blocks.b}),
                           DiagramChangeReport(blocks.model, VELD::ImmutableModel()));
    EXPECT_EQ(first->updates, 1);
    EXPECT_EQ(second->updates, 1);

    const ZEPH::Node firstRoot = first->getRoot();
    EXPECT_TRUE(box->removeControl("button"));
    EXPECT_FALSE(box->removeControl("button"));
    EXPECT_FALSE(box->hasControl("button"));
    EXPECT_FALSE(firstRoot.isValid());
    EXPECT_EQ(first->getGlyph(), nullptr);
    EXPECT_FALSE(first->getParent().isValid());
    // Held elsewhere, a control outlives its glyph, detached.
    graphics->removeGlyphs(elementSet({blocks.b}));
    EXPECT_EQ(second->getGlyph(), nullptr);
    EXPECT_FALSE(second->getRoot().isValid());
}

TEST_F(GraphicsTest, APressGoesToTheFirstControlUnderThePointerThenToTheGlyph) {
    const TAVI::Holder<PressRecordingBox> box = make<PressRecordingBox>(asElement(blocks.b), log);
    TAVI::Holder<ButtonControl> left(new ButtonControl("left", &log));
    TAVI::Holder<ButtonControl> right(new ButtonControl("right", &log));
    right->consumes = true;
    box->addControl(left, box->getRoot(), "a-left");
    box->addControl(right, box->getRoot(), "b-right");
    right->getRoot().setPosition({30, 0});
    EXPECT_TRUE(left->containsScenePos({202, 12}));
    const struct {
        GLPoint<double> at;
        Log heard;
    } cases[] = {{{202, 12}, {"left", "glyph"}}, {{232, 12}, {"right"}}, {{220, 30}, {"glyph"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.heard.front());
        log.clear();
        ZEPH::MouseEvent press(c.at, ZEPH::LeftButton, ZEPH::LeftButton);
        box->dispatchMousePress(press);
        EXPECT_EQ(log, c.heard);
    }
}

// --- the scene rectangle ---------------------------------------------------------------------
// The graphics set it themselves (Qt measures every item of a scene without one when asked for
// it, which a drag on a large diagram did on every step); it must still cover every glyph.

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

// Twenty blocks on a row beside the block model's own, seen through a working copy and drawn
// as the editor draws them: glyphs made, then updated.
struct GraphicsSceneRectTest : GraphicsTest {
    std::vector<GraphNode> row;
    VELD::Model copy; // made once the row is in the model, as an editor's would be synchronised
    std::unique_ptr<Reports> reports;

    void SetUp() override {
        factory.node = BoxGlyphFactory::make<MeasuredGlyph>();
        factory.edge = nullptr;
        GraphicsTest::SetUp();
        {
            VELD::Transaction t(blocks.model);
            for (int i = 0; i < 20; ++i)
                row.push_back(blocks.addBlock(blocks.diagram, {100.0 * i, 100}, {40, 30}));
            t.commit();
        }
        copy = blocks.model.createDeviantWithName("view");
        reports = std::make_unique<Reports>(copy);
        TAVI::GSet<DiagramElement> all =
            elementSet({seen(blocks.diagram), seen(blocks.a), seen(blocks.inner), seen(blocks.b)});
        for (const GraphNode& block : row)
            all.insert(seen(block));
        draw(*graphics, all);
        settle();
    }

    DiagramElement seen(const VELD::ImmutableClassObject& element) const {
        return asElement(element).asDeviant(copy);
    }
    ZEPH::Node nodeOf(const VELD::ImmutableClassObject& element) const {
        return graphics->getGlyph(seen(element))->getRoot();
    }
    static void draw(Graphics& target, const TAVI::GSet<DiagramElement>& elements) {
        target.createGlyphs(elements);
        for (const DiagramElement& element : elements)
            target.getGlyph(element)->update();
    }
    // Moves the block in the working copy and updates its glyph with the report.
    void moveTo(Graphics& target, const GraphNode& block, const TAVI::GLPoint<double>& position) {
        VELD::Transaction t(copy);
        seen(block).setPosition(position);
        t.commit();
        target.updateGlyphs(elementSet({seen(block)}), reports->last());
    }
    // The canvas's deferred passes (dirty items, scene updates).
    static void settle() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    bool covered(const ZEPH::Node& node) const {
        const TAVI::GLRect<double> r = node.getSceneBounds();
        return graphics->getScene()->qtScene()->sceneRect().contains(
            QRectF(r.x, r.y, r.width, r.height));
    }
};

} // namespace

TEST_F(GraphicsSceneRectTest, TheSceneRectCoversMovedAndNewGlyphs) {
    moveTo(*graphics, row[0], {5000, -3000});
    settle();
    const ZEPH::Node moved = nodeOf(row[0]);
    EXPECT_TRUE(covered(moved));
    // It only grows, as Qt's own does: the block's old place stays in.
    EXPECT_TRUE(graphics->getScene()->qtScene()->sceneRect().contains(QRectF(0, 100, 40, 30)));

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
    draw(*graphics, elementSet({far}));
    settle();
    EXPECT_TRUE(covered(nodeOf(far)));
    moveTo(*graphics, row[1], {100, 120});
    settle();
    EXPECT_TRUE(covered(nodeOf(far)));
    EXPECT_TRUE(covered(moved));
}

TEST_F(GraphicsSceneRectTest, GraphicsInAnotherSceneLeaveItsRectangleAlone) {
    const TAVI::Holder<ZEPH::Scene> host = ZEPH::Scene::createScene();
    const ZEPH::ContainerNode hostRoot = ZEPH::ContainerNode::create();
    host->addNode(hostRoot);
    host->qtScene()->setSceneRect(0, 0, 50, 50);
    std::unique_ptr<Graphics> inHost{Graphics::createGraphicsWithRoot(hostRoot)};
    inHost->setGlyphFactory(&factory);
    draw(*inHost, elementSet({seen(blocks.diagram), seen(row[5])}));
    moveTo(*inHost, row[5], {900, 900});
    EXPECT_EQ(host->qtScene()->sceneRect(), QRectF(0, 0, 50, 50));
}
