#include "editor/Graphics.hpp"
#include "editor/Control.hpp"
#include "editor/NullGlyph.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "tests/editor/EditorTestSupport.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace KITE;
using namespace KITE::Test;
using TAVI::GLPoint;

namespace {

// The report of the next transaction on a deviant.
class ReportCatcher {
public:
    explicit ReportCatcher(const VELD::Model& deviant) : deviant(deviant), holder(this) {
        deviant.registerObservingListener(&holder);
    }
    ~ReportCatcher() { deviant.unregisterObservingListener(&holder); }

    void transactionCompleted(const DiagramChangeReport& report) { last = report; }

    VELD::Model deviant;
    std::optional<DiagramChangeReport> last;

private:
    VELD::internal::ListenerHolder<VELD::ImmutableModel, ReportCatcher, DiagramElement, false>
        holder;
};

struct Removals : NIMB::Listener {
    void removed(Glyph* glyph) {
        // The glyph is still alive while the signal is delivered; its nodes are gone already.
        names.push_back(glyph->getGraphics() && !glyph->getRoot().isValid() ? "live"
                                                                            : "unexpected");
        elements.push_back(glyph->diagramElement());
    }
    std::vector<std::string> names;
    std::vector<DiagramElement> elements;
};

struct GraphicsTest : ::testing::Test {
    BlockModel blocks;
    std::unique_ptr<Graphics> graphics{Graphics::createGraphics()};
    BoxGlyphFactory factory;

    void SetUp() override { graphics->setGlyphFactory(&factory); }

    TAVI::GSet<DiagramElement> everything() const {
        return elementSet({blocks.diagram, blocks.a, blocks.inner, blocks.b, blocks.ab});
    }
    ZEPH::Node parentNodeOf(const VELD::ImmutableClassObject& element) const {
        return graphics->getGlyph(asElement(element))->getRoot().getParent();
    }
};

} // namespace

TEST_F(GraphicsTest, ContainedGlyphsHangUnderTheirContainersWhateverTheOrder) {
    // Contained element first, then its container, in separate calls.
    graphics->createGlyphs(elementSet({blocks.diagram}));
    graphics->createGlyphs(elementSet({blocks.a, blocks.inner}));
    graphics->createGlyphs(elementSet({blocks.b, blocks.ab}));

    Glyph* diagramGlyph = graphics->getGlyph(blocks.diagram);
    ASSERT_NE(diagramGlyph, nullptr);
    EXPECT_EQ(diagramGlyph->getRoot().getParent(), graphics->getRoot());
    EXPECT_EQ(parentNodeOf(blocks.a), diagramGlyph->getChildContainer());
    EXPECT_EQ(parentNodeOf(blocks.inner), graphics->getGlyph(blocks.a)->getChildContainer());
    EXPECT_EQ(parentNodeOf(blocks.ab), diagramGlyph->getChildContainer());
    EXPECT_EQ(graphics->getGlyphs().size(), 5u);
}

TEST_F(GraphicsTest, AnElementWhoseContainerHasNoGlyphHangsUnderTheRoot) {
    graphics->createGlyphs(elementSet({blocks.inner}));
    EXPECT_EQ(parentNodeOf(blocks.inner), graphics->getRoot());
}

TEST_F(GraphicsTest, GlyphsAreFoundByElementAndByTheirRootNodeOnly) {
    graphics->createGlyphs(everything());
    Glyph* glyph = graphics->getGlyph(blocks.a);
    ASSERT_NE(glyph, nullptr);
    EXPECT_EQ(glyph->diagramElement(), blocks.a);
    EXPECT_EQ(glyph->getGraphics(), graphics.get());
    EXPECT_EQ(glyph->getScene(), graphics->getScene());
    EXPECT_EQ(graphics->getGlyph(glyph->getRoot()), glyph);
    EXPECT_EQ(graphics->getGlyph(graphics->getRoot()), nullptr);
    EXPECT_EQ(graphics->getGlyph(ZEPH::Node()), nullptr);
    EXPECT_EQ(graphics->getGlyph(DiagramElement()), nullptr);
}

TEST_F(GraphicsTest, TheFactoryDispatchesOnTheMostSpecificRegisteredClass) {
    VELD::Transaction t(blocks.model);
    const TerminalNode terminal = blocks.factory.createTerminalNode();
    blocks.diagram.addContained(terminal);
    t.commit();

    graphics->createGlyphs(elementSet({blocks.a, terminal, blocks.ab}));
    // Block and TerminalNode are graph nodes; Connection is a graph edge.
    EXPECT_NE(dynamic_cast<BoxGlyph*>(graphics->getGlyph(blocks.a)), nullptr);
    EXPECT_NE(dynamic_cast<BoxGlyph*>(graphics->getGlyph(terminal)), nullptr);
    EXPECT_NE(dynamic_cast<EdgeGlyph*>(graphics->getGlyph(blocks.ab)), nullptr);
}

TEST_F(GraphicsTest, AFactoryWithoutACreatorForAClassMakesNullGlyphs) {
    struct EdgesOnly : GlyphFactory {
        EdgesOnly() : GlyphFactory(Table::forClass<EdgesOnly>()) {
            registerCreator(GraphEdge::MetaClass(), Table::member(&EdgesOnly::edge));
        }
        TAVI::Holder<Glyph> edge(DiagramElement e) { return TAVI::Holder<Glyph>(new EdgeGlyph(e)); }
    } edgesOnly;
    std::unique_ptr<Graphics> other(Graphics::createGraphics());
    other->setGlyphFactory(&edgesOnly);
    other->setGlyphFactory(&factory); // ignored: the first factory stays
    EXPECT_EQ(other->getGlyphFactory(), &edgesOnly);

    other->createGlyphs(elementSet({blocks.b}));
    auto* null = dynamic_cast<NullGlyph*>(other->getGlyph(blocks.b));
    ASSERT_NE(null, nullptr);
    null->update();
    EXPECT_EQ(null->getRoot().getPosition(), (GLPoint<double>{200, 10}));
}

TEST_F(GraphicsTest, GraphicsWithoutAFactoryReportItAndStillKeepTheElementTree) {
    KiteTest::AssertionRecorder assertions;
    std::unique_ptr<Graphics> bare(Graphics::createGraphics());
    bare->createGlyphs(elementSet({blocks.a, blocks.inner}));
    EXPECT_EQ(assertions.count(), 2u);
    ASSERT_NE(dynamic_cast<NullGlyph*>(bare->getGlyph(blocks.inner)), nullptr);
    EXPECT_EQ(bare->getGlyph(blocks.inner)->getRoot().getParent(),
              bare->getGlyph(blocks.a)->getChildContainer());
}

TEST_F(GraphicsTest, ASecondGlyphForOneElementIsReportedAndTheFirstStays) {
    graphics->createGlyphs(elementSet({blocks.a}));
    Glyph* first = graphics->getGlyph(blocks.a);
    KiteTest::AssertionRecorder assertions;
    graphics->createGlyphs(elementSet({blocks.a}));
    EXPECT_EQ(assertions.expressions(), std::vector<std::string>{"!erh.hasError()"});
    EXPECT_EQ(graphics->getGlyph(blocks.a), first);
    EXPECT_EQ(graphics->getGlyphs().size(), 1u);
}

TEST_F(GraphicsTest, UpdatesReattachAGlyphOnlyWhenItsElementChangedContainer) {
    const VELD::Model copy = blocks.model.createDeviantWithName("view");
    auto seen = [&](const VELD::ImmutableClassObject& e) { return asElement(e).asDeviant(copy); };
    graphics->createGlyphs(
        elementSet({seen(blocks.diagram), seen(blocks.a), seen(blocks.inner), seen(blocks.b)}));
    auto* innerGlyph = dynamic_cast<BoxGlyph*>(graphics->getGlyph(seen(blocks.inner)));
    ASSERT_NE(innerGlyph, nullptr);
    ReportCatcher catcher(copy);

    {
        VELD::Transaction t(copy);
        seen(blocks.inner).setPosition({7, 8});
        t.commit();
    }
    ASSERT_TRUE(catcher.last);
    graphics->updateGlyphs(elementSet({seen(blocks.inner)}), *catcher.last);
    EXPECT_EQ(innerGlyph->updates, 1);
    EXPECT_EQ(innerGlyph->getRoot().getParent(),
              graphics->getGlyph(seen(blocks.a))->getChildContainer());
    EXPECT_EQ(innerGlyph->getRoot().getPosition(), (GLPoint<double>{7, 8}));

    {
        VELD::Transaction t(copy);
        GraphNode(seen(blocks.inner)).setContainer(GraphNode(seen(blocks.b)));
        t.commit();
    }
    graphics->updateGlyphs(elementSet({seen(blocks.inner)}), *catcher.last);
    EXPECT_EQ(innerGlyph->updates, 2);
    EXPECT_EQ(innerGlyph->getRoot().getParent(),
              graphics->getGlyph(seen(blocks.b))->getChildContainer());
}

TEST_F(GraphicsTest, RemovingAContainerRemovesEverythingBelowItInnermostFirst) {
    graphics->createGlyphs(everything());
    Removals removals;
    new NIMB::ConnectionImpl1<Removals, Glyph*>(&removals, graphics->getGlyphRemovedSignal(),
                                                nullptr, &Removals::removed);
    const ZEPH::Node innerNode = graphics->getGlyph(blocks.inner)->getRoot();

    graphics->removeGlyphs(elementSet({blocks.a}));

    EXPECT_EQ(removals.elements,
              (std::vector<DiagramElement>{asElement(blocks.inner), asElement(blocks.a)}));
    EXPECT_EQ(removals.names, (std::vector<std::string>{"live", "live"}));
    EXPECT_EQ(graphics->getGlyph(blocks.a), nullptr);
    EXPECT_EQ(graphics->getGlyph(blocks.inner), nullptr);
    EXPECT_FALSE(innerNode.isValid());
    EXPECT_NE(graphics->getGlyph(blocks.b), nullptr);
    EXPECT_EQ(graphics->getGlyphs().size(), 3u);

    // Elements without glyphs are left alone.
    graphics->removeGlyphs(elementSet({blocks.a, blocks.inner}));
    EXPECT_EQ(removals.elements.size(), 2u);
}

TEST_F(GraphicsTest, RemovingAnElementWithoutAGlyphTakesTheGlyphsOfWhatItHeld) {
    // No glyph for a: inner's hangs under the root, where no node tree from a leads to it.
    graphics->createGlyphs(elementSet({blocks.diagram, blocks.inner, blocks.b}));
    {
        VELD::Transaction t(blocks.model);
        DiagramElement(blocks.a).destroy();
        t.commit();
    }
    graphics->removeGlyphs(elementSet({blocks.a}));
    EXPECT_EQ(graphics->getGlyphs().size(), 2u);
    EXPECT_NE(graphics->getGlyph(blocks.b), nullptr);
}

TEST_F(GraphicsTest, InvalidatedElementsAreTakenOnce) {
    graphics->invalidateGlyph(blocks.a);
    graphics->invalidateGlyphs(blocks.diagram.getContained());
    EXPECT_TRUE(graphics->isInvalidated(blocks.ab));
    const TAVI::GSet<DiagramElement> taken = graphics->takeInvalidated();
    EXPECT_EQ(taken.size(), 3u); // a, b and ab; a only once
    EXPECT_TRUE(graphics->takeInvalidated().isEmpty());
    EXPECT_FALSE(graphics->isInvalidated(blocks.ab));
}
