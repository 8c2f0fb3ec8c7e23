#include "editor/Editor.hpp"

#include "application/Command.hpp"
#include "editor/Control.hpp"
#include "editor/Graphics.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/tavi/AbstractUndoRedoCommandTarget.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/zeph/RectNode.hpp"
#include "tests/editor/EditorFixture.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <stdexcept>
#include <vector>

using namespace KITE;
using namespace KITE::Test;

namespace {

// What a faulty glyph does wrong, set per element by the test.
struct Faults {
    TAVI::GSet<DiagramElement> failCreate;
    TAVI::GSet<DiagramElement> failUpdate;
};

// A box whose create() or update() throws while its element is listed in the faults.
class FaultyBoxGlyph : public BoxGlyph {
public:
    FaultyBoxGlyph(const DiagramElement& element, const Faults& faults)
        : BoxGlyph(element), faults(faults) {}
    void create() override {
        if (faults.failCreate.contains(diagramElement().asDeviant(blocksRoot())))
            throw std::runtime_error("create failed");
        BoxGlyph::create();
    }
    void update() override {
        if (faults.failUpdate.contains(diagramElement().asDeviant(blocksRoot())))
            throw std::runtime_error("update failed");
        BoxGlyph::update();
    }

private:
    VELD::ImmutableModel blocksRoot() const {
        return diagramElement().getModelVELD().getRootDeviant();
    }
    const Faults& faults;
};

// Boxes that fail as the faults say.
struct FaultyGlyphFactory : BoxGlyphFactory {
    FaultyGlyphFactory() {
        node = [this](const DiagramElement& e) {
            return TAVI::Holder<Glyph>(new FaultyBoxGlyph(e, faults));
        };
    }
    Faults faults;
};

// Calls back on each glyph-removed signal.
struct RemovalHook : NIMB::Listener {
    explicit RemovalHook(Graphics& graphics, std::function<void(Glyph*)> onRemoved)
        : onRemoved(std::move(onRemoved)) {
        NIMB::ConnectionWriteLocker lock;
        new NIMB::ConnectionImpl1<RemovalHook, Glyph*>(this, graphics.getGlyphRemovedSignal(),
                                                       nullptr, &RemovalHook::removed);
    }
    void removed(Glyph* glyph) {
        elements.push_back(glyph->diagramElement());
        onRemoved(glyph);
    }
    std::function<void(Glyph*)> onRemoved;
    std::vector<DiagramElement> elements;
};

// Calls back on each editor selection event of the studio.
struct SelectionHook : NIMB::Listener {
    SelectionHook(StudioApp* app, std::function<void(const EditorSelectionChangedEvent&)> onEvent)
        : onEvent(std::move(onEvent)) {
        app->getEditorSelectionChangedEventService()->connect(this, &SelectionHook::heard,
                                                              NIMB::Thread::getCurrentThread());
    }
    void heard(EditorSelectionChangedEvent event) { onEvent(event); }
    std::function<void(const EditorSelectionChangedEvent&)> onEvent;
};

struct EditorRobustnessTest : ::testing::Test, EditorFixture {
    void commit(const std::function<void()>& change) const {
        VELD::Transaction t(blocks.model);
        change();
        t.commit();
    }
    // A second editor in the fixture's studio on the fixture's diagram, glyphs from factory.
    TAVI::Holder<Editor> openAnother(GlyphFactory* glyphs) {
        TAVI::Holder<Editor> other(Editor::create(studio.get(), Editor::staticGetTypeName()));
        openOn(*other, blocks.diagram, glyphs);
        return other;
    }
    std::size_t glyphCount(const Editor& target) const {
        return target.getGraphics()->getGlyphs().size();
    }
};

} // namespace

// --- glyphs and factories that misbehave ------------------------------------------------------

TEST_F(EditorRobustnessTest, AGlyphThatFailsToBuildIsReportedAndTheRestOfTheDiagramStillShows) {
    FaultyGlyphFactory faulty;
    faulty.faults.failCreate.insert(asElement(blocks.a));
    KiteTest::AssertionRecorder assertions;
    TAVI::Holder<Editor> other;
    ASSERT_NO_THROW(other = openAnother(&faulty));
    EXPECT_EQ(assertions.count(), 1u);
    Graphics* graphics = other->getGraphics();
    // a has no glyph; what it holds hangs under the root instead of being lost.
    EXPECT_EQ(graphics->getGlyph(blocks.a), nullptr);
    ASSERT_NE(graphics->getGlyph(blocks.inner), nullptr);
    EXPECT_EQ(graphics->getGlyph(blocks.inner)->getRoot().getParent(), graphics->getRoot());
    ASSERT_NE(graphics->getGlyph(blocks.b), nullptr);
    EXPECT_EQ(graphics->getGlyph(blocks.b)->getRoot().getPosition(),
              (TAVI::GLPoint<double>{200, 10}));
    EXPECT_EQ(glyphCount(*other), 4u);

    // Later reports about a go on without it; a new block still gets its glyph.
    assertions.clear();
    GraphNode c;
    commit([&] {
        blocks.a.setPosition({20, 20});
        c = blocks.addBlock(blocks.diagram, {300, 10}, {10, 10});
    });
    EXPECT_EQ(assertions.count(), 0u);
    EXPECT_NE(graphics->getGlyph(c), nullptr);
    // a goes with what it holds: inner's glyph, hung elsewhere, must go too.
    commit([&] { DiagramElement(blocks.a).destroy(); });
    EXPECT_EQ(graphics->getGlyph(blocks.inner), nullptr);
    for (const TAVI::Holder<Glyph>& glyph : graphics->getGlyphs())
        EXPECT_TRUE(glyph->diagramElement().isValid());
    EXPECT_NE(graphics->getGlyph(c), nullptr);
}

TEST_F(EditorRobustnessTest, AGlyphThatFailsToUpdateHoldsBackNeitherTheOtherGlyphsNorTheSelection) {
    FaultyGlyphFactory faulty;
    TAVI::Holder<Editor> other = openAnother(&faulty);
    other->select(blocks.b);
    faulty.faults.failUpdate.insert(asElement(blocks.a));
    KiteTest::AssertionRecorder assertions;
    // One transaction moves a (whose glyph fails) and b, and deletes the selected b's neighbour.
    commit([&] {
        blocks.a.setPosition({20, 20});
        blocks.b.setPosition({300, 50});
    });
    EXPECT_EQ(assertions.count(), 1u);
    EXPECT_EQ(other->getGraphics()->getGlyph(blocks.b)->getRoot().getPosition(),
              (TAVI::GLPoint<double>{300, 50}));

    assertions.clear();
    commit([&] {
        blocks.a.setPosition({30, 30});
        DiagramElement(blocks.b).destroy();
    });
    EXPECT_EQ(assertions.count(), 1u);
    EXPECT_EQ(other->getGraphics()->getGlyph(blocks.b), nullptr);
    EXPECT_TRUE(other->getSelection().empty());

    // Selecting the failing glyph's element still selects it.
    assertions.clear();
    other->select(blocks.a);
    EXPECT_TRUE(other->isSelected(blocks.a));
    EXPECT_EQ(assertions.count(), 1u);
}

TEST_F(EditorRobustnessTest, AFactoryHandingOneGlyphToTwoElementsIsRefusedForTheSecond) {
    // Hands out, for every block, the glyph it made for the first one: a cache keyed wrongly.
    BoxGlyphFactory sharing;
    TAVI::Holder<Glyph> shared;
    sharing.node = [&](const DiagramElement& e) {
        if (!shared)
            shared = TAVI::Holder<Glyph>(new BoxGlyph(e));
        return shared;
    };
    sharing.diagram = sharing.edge = nullptr;
    KiteTest::AssertionRecorder assertions;
    TAVI::Holder<Editor> other = openAnother(&sharing);
    Graphics* graphics = other->getGraphics();
    // The block asked for first keeps the glyph made for it; the other two get none.
    ASSERT_TRUE(shared);
    const DiagramElement owner = shared->diagramElement();
    EXPECT_EQ(graphics->getGlyph(owner), shared.get());
    int withGlyph = 0;
    for (const GraphNode& block : {blocks.a, blocks.inner, blocks.b})
        withGlyph += graphics->getGlyph(block) != nullptr;
    EXPECT_EQ(withGlyph, 1);
    EXPECT_EQ(assertions.count(), 2u);

    // Deleting another block leaves the owner's glyph where it is.
    const GraphNode victim = owner.core() == blocks.b.core() ? blocks.inner : blocks.b;
    commit([&] { DiagramElement(victim).destroy(); });
    EXPECT_EQ(graphics->getGlyph(owner), shared.get());
    EXPECT_TRUE(shared->getRoot().isValid());
}

TEST_F(EditorRobustnessTest, AGlyphWhoseRootIsTheGraphicsRootIsDroppedAndTheRestStay) {
    // Every block's glyph names the graphics' own root as its root.
    class RootGlyph : public Glyph {
    public:
        explicit RootGlyph(const DiagramElement& element) : Glyph(element) {}
        void create() override {}
        ZEPH::Node getRoot() const override { return getGraphics()->getRoot(); }
        void update() override {}
    };
    BoxGlyphFactory rootGlyphs;
    rootGlyphs.node = BoxGlyphFactory::make<RootGlyph>();
    rootGlyphs.edge = nullptr;
    KiteTest::AssertionRecorder assertions;
    TAVI::Holder<Editor> other = openAnother(&rootGlyphs);
    Graphics* graphics = other->getGraphics();
    EXPECT_EQ(assertions.count(), 3u); // a, inner, b
    EXPECT_EQ(graphics->getGlyph(blocks.a), nullptr);
    EXPECT_EQ(graphics->getGlyph(graphics->getRoot()), nullptr);
    EXPECT_EQ(other->getDiagramElementAt({500, 500}), DiagramElement());
    ASSERT_NE(graphics->getGlyph(blocks.diagram), nullptr);

    commit([&] { DiagramElement(blocks.inner).destroy(); });
    EXPECT_TRUE(graphics->getRoot().isValid());
    ASSERT_NE(graphics->getGlyph(blocks.diagram), nullptr);
    EXPECT_TRUE(graphics->getGlyph(blocks.diagram)->getRoot().isValid());
    EXPECT_EQ(graphics->getGlyphs().size(), 2u); // the diagram's and the connection's
}

TEST_F(EditorRobustnessTest, AGlyphAnotherEditorDrawsWithIsNotTakenOver) {
    // A factory that hands out the glyphs of the fixture's editor: those belong to its graphics.
    BoxGlyphFactory stealing;
    stealing.node = [&](const DiagramElement& element) {
        for (const TAVI::Holder<Glyph>& glyph : editor->getGraphics()->getGlyphs())
            if (glyph->diagramElement().core() == element.core())
                return glyph;
        return TAVI::Holder<Glyph>();
    };
    stealing.diagram = stealing.edge = nullptr;
    Glyph* aGlyph = glyphOf(blocks.a);
    const ZEPH::Node aNode = aGlyph->getRoot();
    KiteTest::AssertionRecorder assertions;
    TAVI::Holder<Editor> other = openAnother(&stealing);
    EXPECT_EQ(assertions.count(), 3u); // a, inner, b
    EXPECT_EQ(other->getGraphics()->getGlyph(blocks.a), nullptr);
    EXPECT_EQ(aGlyph->getGraphics(), editor->getGraphics());
    EXPECT_EQ(aNode.getParent(), glyphOf(blocks.diagram)->getChildContainer());
    EXPECT_EQ(aNode.getScene(), editor->getScene());
}

TEST_F(EditorRobustnessTest, AControlServesOneGlyphAndOneThatFailsHoldsBackNoOther) {
    Glyph* aGlyph = glyphOf(blocks.a);
    Glyph* bGlyph = glyphOf(blocks.b);
    const TAVI::Holder<ButtonControl> failing(new ButtonControl);
    const TAVI::Holder<ButtonControl> other(new ButtonControl);
    ASSERT_EQ(aGlyph->addControl(failing, aGlyph->getRoot()), TAVI::StringID("button"));
    ASSERT_EQ(bGlyph->addControl(other, bGlyph->getRoot()), TAVI::StringID("button"));
    // A second glyph does not get the control of the first.
    EXPECT_TRUE(bGlyph->addControl(failing, bGlyph->getRoot(), "again").isEmpty());
    EXPECT_EQ(failing->getGlyph(), aGlyph);
    EXPECT_EQ(failing->getRoot().getParent(), aGlyph->getRoot());

    failing->fails = true;
    KiteTest::AssertionRecorder assertions;
    commit([&] {
        blocks.a.setPosition({20, 20});
        blocks.b.setPosition({300, 50});
    });
    EXPECT_EQ(assertions.count(), 1u);
    EXPECT_EQ(other->updates, 1);
    EXPECT_EQ(bGlyph->getRoot().getPosition(), (TAVI::GLPoint<double>{300, 50}));
    EXPECT_EQ(aGlyph->getRoot().getPosition(), (TAVI::GLPoint<double>{20, 20}));
}

// --- listeners that act while the editor works ------------------------------------------------

TEST_F(EditorRobustnessTest, AGlyphRemovedListenerRemovingOtherGlyphsSeesEachGlyphGoOnce) {
    Graphics* graphics = editor->getGraphics();
    RemovalHook hook(*graphics, [&](Glyph* glyph) {
        // On a's removal the listener takes b and the connection too.
        if (glyph->diagramElement() == shown(blocks.a))
            graphics->removeGlyphs(
                elementSet({shown(blocks.b), shown(blocks.ab), shown(blocks.a)}));
    });
    commit([&] { DiagramElement(blocks.a).destroy(); });
    // inner then a, as removal goes; then what the listener removed, each once.
    ASSERT_EQ(hook.elements.size(), 4u);
    EXPECT_EQ(hook.elements[0], shown(blocks.inner));
    EXPECT_EQ(hook.elements[1], shown(blocks.a));
    EXPECT_EQ(TAVI::GSet<DiagramElement>(elementSet({hook.elements[2], hook.elements[3]})),
              elementSet({shown(blocks.b), shown(blocks.ab)}));
    EXPECT_EQ(graphics->getGlyphs().size(), 1u); // the diagram's
    EXPECT_EQ(graphics->getRoot().getChildren().size(), 1u);
}

TEST_F(EditorRobustnessTest, ASelectionListenerThatChangesTheSelectionSeesEveryChangeInOrder) {
    SelectionEvents events(app);
    int depth = 0;
    SelectionHook hook(app, [&](const EditorSelectionChangedEvent& event) {
        // Selecting a makes the listener select b; selecting b clears everything.
        ++depth;
        if (depth < 5 && event.isSelected() && event.lastSelection().core() == blocks.a.core())
            editor->select(blocks.b);
        else if (depth < 5 && event.isSelected() && event.lastSelection().core() == blocks.b.core())
            editor->clearSelection();
        --depth;
    });
    editor->select(blocks.a);
    EXPECT_TRUE(editor->getSelection().empty());
    EXPECT_FALSE(glyphOf(blocks.a)->getRoot().isSelected());
    EXPECT_FALSE(glyphOf(blocks.b)->getRoot().isSelected());
    EXPECT_EQ(events.seen(), (std::vector<SelectionEvents::Seen>{seen(true, {shown(blocks.a)}),
                                                                 seen(true, {shown(blocks.b)})}));
}

TEST_F(EditorRobustnessTest, AGlyphThatChangesTheSelectionWhileTheEditorClearsItLeavesNoneShown) {
    // A block glyph that, when it stops showing the selection, deselects the block b as well.
    struct Hooked {
        Editor* editor = nullptr;
        GraphNode partner;
    };
    class HookedGlyph : public BoxGlyph {
    public:
        HookedGlyph(const DiagramElement& element, Hooked& hooked)
            : BoxGlyph(element), hooked(hooked) {}
        void onSelectionChanged(bool selected) override {
            BoxGlyph::onSelectionChanged(selected);
            if (!selected && hooked.editor)
                hooked.editor->deselect(hooked.partner);
        }
        Hooked& hooked;
    };
    Hooked hooked;
    BoxGlyphFactory hookedFactory;
    hookedFactory.node = [&](const DiagramElement& e) {
        return TAVI::Holder<Glyph>(new HookedGlyph(e, hooked));
    };
    hookedFactory.diagram = hookedFactory.edge = nullptr;
    TAVI::Holder<Editor> other = openAnother(&hookedFactory);
    hooked = {other.get(), blocks.b};
    other->select(blocks.a);
    other->select(blocks.b);
    other->select(blocks.inner);
    ASSERT_EQ(other->getSelection().size(), 3);

    other->clearSelection();
    EXPECT_TRUE(other->getSelection().empty());
    Graphics* graphics = other->getGraphics();
    for (const GraphNode& block : {blocks.a, blocks.b, blocks.inner})
        EXPECT_FALSE(graphics->getGlyph(block)->getRoot().isSelected()) << block.core();
}

TEST_F(EditorRobustnessTest, ACommandThatRunsAnotherCommandThroughTheEditorIsReported) {
    struct Inner : Command {
        Inner(VELD::Model model, int& runs) : Command(std::move(model)), runs(runs) {}
        std::string shortDescription() const override { return "inner"; }
        void execute(TAVI::ErrorHolder&) override { ++runs; }
        int& runs;
    };
    struct Outer : Command {
        Outer(VELD::Model model, Editor& editor, int& runs)
            : Command(std::move(model)), editor(editor), runs(runs) {}
        std::string shortDescription() const override { return "outer"; }
        void execute(TAVI::ErrorHolder&) override {
            editor.processCommand(new Inner(getModel(), runs));
        }
        Editor& editor;
        int& runs;
    };
    int innerRuns = 0;
    KiteTest::AssertionRecorder assertions;
    editor->processCommand(new Outer(blocks.model, *editor, innerRuns));
    EXPECT_EQ(innerRuns, 0);
    EXPECT_EQ(assertions.count(), 1u);
    EXPECT_TRUE(editor->getUndoRedoTarget()->canUndo());
}

// --- the model changing under the editor ------------------------------------------------------

TEST_F(EditorRobustnessTest,
       ADiagramDeletedUnderItsEditorLeavesAnEmptyEditorThatRefusesSelections) {
    SelectionEvents events(app);
    editor->select(blocks.b);
    events.events.clear();
    commit([&] { DiagramElement(blocks.diagram).destroy(); });
    EXPECT_EQ(glyphCount(*editor), 0u);
    EXPECT_TRUE(editor->getSelection().empty());
    EXPECT_TRUE(editor->getGraphics()->getRoot().getChildren().empty());

    KiteTest::AssertionRecorder assertions;
    editor->select(blocks.a);
    EXPECT_EQ(assertions.count(), 1u);
    EXPECT_EQ(editor->getDiagramElementAt({20, 20}), DiagramElement());
    // A new diagram elsewhere in the model does not reach the editor.
    commit([&] { blocks.addBlock(blocks.addDiagram("other"), {0, 0}, {10, 10}); });
    EXPECT_EQ(glyphCount(*editor), 0u);
}

TEST_F(EditorRobustnessTest, NonFiniteGeometryThatTheCanvasRefusesIsReportedPerGlyph) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    KiteTest::AssertionRecorder assertions;
    // The canvas refuses non-finite coordinates: a's box, b's box and the connection between
    // them cannot follow, each reported; inner, far off but finite, follows.
    commit([&] {
        blocks.a.setPosition({nan, inf});
        blocks.b.setSize({1e300, -inf});
        blocks.inner.setPosition({-1e308, 1e308});
    });
    EXPECT_EQ(assertions.count(), 3u);
    EXPECT_EQ(glyphOf(blocks.inner)->getRoot().getPosition(),
              (TAVI::GLPoint<double>{-1e308, 1e308}));
    EXPECT_EQ(editor->getDiagramElementAt({-5000, -5000}), DiagramElement());
    // Selecting them redraws them, which fails again: reported, and they are selected.
    assertions.clear();
    EXPECT_NO_THROW(editor->select(blocks.a));
    EXPECT_NO_THROW(editor->select(blocks.b));
    EXPECT_EQ(editor->getSelection().size(), 2);
    EXPECT_EQ(assertions.count(), 2u);

    assertions.clear();
    commit([&] {
        blocks.a.setPosition({10, 10});
        blocks.b.setSize({40, 30});
        blocks.inner.setPosition({5, 5});
    });
    EXPECT_EQ(assertions.count(), 0u);
    EXPECT_EQ(glyphOf(blocks.a)->getRoot().getPosition(), (TAVI::GLPoint<double>{10, 10}));
    EXPECT_EQ(editor->getDiagramElementAt({220, 20}), shown(blocks.b));
}
