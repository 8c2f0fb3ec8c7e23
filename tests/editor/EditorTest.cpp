#include "editor/Editor.hpp"

#include "application/Command.hpp"
#include "application/DomainRegistry.hpp"
#include "application/KiteDomainInterface.hpp"
#include "editor/Editor_p.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi2/GLLayout2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/ToolConstructor.hpp"
#include "tests/application/NamedDomain.hpp"
#include "tests/editor/EditorFixture.hpp"
#include "tests/platform/veld/SampleMetaModel.hpp"
#include "tests/platform/zeph/RecordingTool.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <QApplication>
#include <QContextMenuEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KITE;
using namespace KITE::Test;

namespace {

// Records the report of the first population.
class LayingOutEditor : public Editor {
public:
    explicit LayingOutEditor(PLATFORM::Studio* studio) : Editor(studio, staticGetTypeName()) {}
    void doInitialLayout(const DiagramChangeReport& report) override {
        ++layouts;
        firstAdded = report.getAdded().toVector();
    }
    int layouts = 0;
    std::vector<DiagramElement> firstAdded;
};

struct EditorTest : ::testing::Test, EditorFixture {
    void commit(const std::function<void()>& change) const {
        VELD::Transaction t(blocks.model);
        change();
        t.commit();
    }
    int updatesOf(const VELD::ImmutableClassObject& element) const {
        if (auto* box = glyphOf<BoxGlyph>(element))
            return box->updates;
        if (auto* line = glyphOf<EdgeGlyph>(element))
            return line->updates;
        return -1;
    }
    TAVI::GLPoint<double> boxPosition(const VELD::ImmutableClassObject& element) const {
        return glyphOf(element)->getRoot().getPosition();
    }
};

} // namespace

// --- population and following the model ----------------------------------------------------------

TEST_F(EditorTest, PopulationGivesEveryElementAGlyphUnderItsContainersGlyph) {
    LayingOutEditor* laying = new LayingOutEditor(studio.get());
    TAVI::Holder<Editor> held(laying);
    openOn(*laying, blocks.diagram, &factory);
    EXPECT_EQ(laying->layouts, 1);
    const std::vector<DiagramElement> expected{asElement(blocks.diagram), asElement(blocks.a),
                                               asElement(blocks.inner), asElement(blocks.b),
                                               asElement(blocks.ab)};
    EXPECT_EQ(laying->firstAdded, expected);

    Graphics* graphics = laying->getGraphics();
    EXPECT_EQ(graphics->getGlyphs().size(), 5u);
    for (const DiagramElement& e : expected) {
        Glyph* glyph = graphics->getGlyph(e);
        ASSERT_NE(glyph, nullptr);
        EXPECT_EQ(glyph->getEditor(), laying);
        // Seen through the editor's working copy, not the root.
        EXPECT_EQ(glyph->diagramElement().getModelVELD(), laying->getDiagram().getModelVELD());
    }
    EXPECT_EQ(dynamic_cast<BoxGlyph*>(graphics->getGlyph(blocks.a))->updates, 1);
    EXPECT_EQ(graphics->getGlyph(blocks.inner)->getRoot().getParent(),
              graphics->getGlyph(blocks.a)->getRoot());
    EXPECT_EQ(graphics->getGlyph(blocks.a)->getRoot().getPosition(),
              (TAVI::GLPoint<double>{10, 10}));
}

TEST_F(EditorTest, ChangesOnTheRootReachTheGlyphs) {
    commit([&] { blocks.a.setPosition({30, 40}); });
    EXPECT_EQ(boxPosition(blocks.a), (TAVI::GLPoint<double>{30, 40}));
    EXPECT_EQ(updatesOf(blocks.a), 2);
    EXPECT_EQ(updatesOf(blocks.b), 1);
    EXPECT_FALSE(editor->isInInteraction());

    commit([&] { blocks.b.setSize({80, 60}); });
    EXPECT_EQ(glyphOf(blocks.b)->getRoot().getBounds(), (TAVI::GLRect<double>{0, 0, 80, 60}));

    GraphNode c;
    commit([&] { c = blocks.addBlock(blocks.a, {1, 2}, {3, 4}); });
    ASSERT_NE(glyphOf(c), nullptr);
    EXPECT_EQ(updatesOf(c), 1);
    EXPECT_EQ(glyphOf(c)->getRoot().getParent(), glyphOf(blocks.a)->getRoot());

    commit([&] { DiagramElement(blocks.a).destroy(); });
    EXPECT_EQ(glyphOf(blocks.a), nullptr);
    EXPECT_EQ(glyphOf(blocks.inner), nullptr);
    EXPECT_EQ(glyphOf(c), nullptr);
    EXPECT_NE(glyphOf(blocks.b), nullptr);

    // An element made and destroyed in one transaction leaves no trace.
    SelectionEvents events(app);
    commit([&] { DiagramElement(blocks.addBlock(blocks.diagram, {0, 0}, {5, 5})).destroy(); });
    EXPECT_EQ(editor->getGraphics()->getGlyphs().size(), 3u);
    EXPECT_TRUE(events.events.empty());
}

TEST_F(EditorTest, ElementsMovingBetweenDiagramsMoveBetweenEditors) {
    Diagram other;
    commit([&] { other = blocks.addDiagram("other"); });
    TAVI::Holder<Editor> second(Editor::create(studio.get(), Editor::staticGetTypeName()));
    openOn(*second, other, &factory);
    ASSERT_EQ(second->getGraphics()->getGlyphs().size(), 1u);

    // The container goes over with what it holds, which the report does not list.
    commit([&] { other.addContained(blocks.a); });
    EXPECT_EQ(glyphOf(blocks.a), nullptr);
    EXPECT_EQ(glyphOf(blocks.inner), nullptr);
    Glyph* moved = second->getGraphics()->getGlyph(blocks.a);
    Glyph* carried = second->getGraphics()->getGlyph(blocks.inner);
    ASSERT_NE(moved, nullptr);
    ASSERT_NE(carried, nullptr);
    EXPECT_EQ(moved->getEditor(), second.get());
    EXPECT_EQ(carried->getRoot().getParent(), moved->getRoot());

    commit([&] { blocks.diagram.addContained(blocks.a); });
    EXPECT_NE(glyphOf(blocks.a), nullptr);
    EXPECT_NE(glyphOf(blocks.inner), nullptr);
    EXPECT_EQ(second->getGraphics()->getGlyph(blocks.a), nullptr);
    EXPECT_EQ(second->getGraphics()->getGlyphs().size(), 1u);
}

// --- edges drawn again when their ends move or change size ---------------------------------------

TEST_F(EditorTest, EdgesAreRedrawnOnceWhenAnEndMovesRelativeToThemOrChangesSize) {
    commit([&] { blocks.a.setSize({50, 50}); });
    EXPECT_EQ(updatesOf(blocks.ab), 2);
    commit([&] { blocks.b.setPosition({300, 10}); });
    EXPECT_EQ(updatesOf(blocks.ab), 3);
    // Moved and resized at once, and the edge changed itself too: one update.
    commit([&] {
        blocks.a.setPosition({0, 0});
        blocks.a.setSize({20, 20});
        VELD::ClassObject(blocks.ab).setString(blocks.ab.getMetaClass().getProperty("label"), "x");
    });
    EXPECT_EQ(updatesOf(blocks.ab), 4);
    // Unrelated changes leave it alone.
    commit([&] { blocks.inner.setPosition({1, 1}); });
    EXPECT_EQ(updatesOf(blocks.ab), 4);

    // Moving a container redraws only the edges whose ends moved relative to them.
    GraphNode group, x, y, z;
    GraphEdge inside, outside;
    commit([&] {
        group = blocks.addBlock(blocks.diagram, {0, 100}, {200, 100});
        x = blocks.addBlock(group, {10, 10}, {10, 10});
        y = blocks.addBlock(group, {50, 10}, {10, 10});
        z = blocks.addBlock(blocks.diagram, {400, 100}, {10, 10});
        inside = blocks.connect(x, y);
        GraphElement(group).addContained(inside); // moves with both its ends
        outside = blocks.connect(y, z);
    });
    EXPECT_EQ(updatesOf(inside), 1);
    EXPECT_EQ(updatesOf(outside), 1);

    commit([&] { group.setPosition({0, 150}); });
    EXPECT_EQ(updatesOf(inside), 1);
    EXPECT_EQ(updatesOf(outside), 2);
    EXPECT_EQ(updatesOf(x), 1); // drawn inside the group's glyph: nothing to redo
    EXPECT_EQ(updatesOf(group), 2);

    // Moved with its container and on its own: its edges are drawn again once.
    commit([&] {
        group.setPosition({0, 200});
        y.setPosition({60, 10});
    });
    EXPECT_EQ(updatesOf(outside), 3);
    EXPECT_EQ(updatesOf(inside), 2);
}

// --- working copies ------------------------------------------------------------------------------

TEST_F(EditorTest, EachEditorHasAWorkingCopyOfItsOwnNamedByACounterAndOneDiagram) {
    const VELD::ImmutableModel first = editor->getDiagram().getModelVELD();
    ASSERT_FALSE(first.isRootDeviant());
    const unsigned number = std::stoul(first.getName());
    EXPECT_EQ(first.getName(), std::to_string(EditorPrivate::lastWorkingCopyNumber()));

    TAVI::Holder<Editor> second(Editor::create(studio.get(), Editor::staticGetTypeName()));
    openOn(*second, blocks.diagram, &factory);
    EXPECT_EQ(second->getDiagram().getModelVELD().getName(), std::to_string(number + 1));

    // A name somebody else took is passed over.
    blocks.model.createDeviantWithName(std::to_string(number + 2));
    TAVI::Holder<Editor> third(Editor::create(studio.get(), Editor::staticGetTypeName()));
    openOn(*third, blocks.diagram, &factory);
    EXPECT_EQ(third->getDiagram().getModelVELD().getName(), std::to_string(number + 3));

    // Going, an editor takes its working copy with it.
    const std::string name = second->getDiagram().getModelVELD().getName();
    second.reset();
    EXPECT_TRUE(blocks.model.getDeviantWithName(name).isNull());
    EXPECT_FALSE(blocks.model.getDeviantWithName(first.getName()).isNull());

    // A second diagram is refused by the kernel's asserter: same diagram, copy and counter.
    VELD::Asserter::clearReports();
    const std::uint32_t last = EditorPrivate::lastWorkingCopyNumber();
    Diagram other;
    commit([&] { other = blocks.addDiagram("other"); });
    editor->setDiagram(other);
    EXPECT_EQ(asserterMessages(),
              (std::vector<std::string>{
                  "setDiagram being called twice. This will result in a second listeners "
                  "being created and the first listener will leak and not get unregistered"}));
    VELD::Asserter::clearReports();
    EXPECT_EQ(editor->getDiagram(), blocks.diagram);
    EXPECT_EQ(editor->getDiagram().getModelVELD(), first);
    EXPECT_EQ(EditorPrivate::lastWorkingCopyNumber(), last);
    // Still following the root, once.
    commit([&] { blocks.a.setPosition({1, 1}); });
    EXPECT_EQ(updatesOf(blocks.a), 2);
}

TEST_F(EditorTest, AGestureInTheWorkingCopyIsAnInteractionUntilTheRootMovesOn) {
    EXPECT_FALSE(editor->isInInteraction());
    const VELD::Model copy(editor->getDiagram().getModelVELD());
    {
        VELD::Transaction preview(copy);
        GraphNode(shown(blocks.a)).setPosition({70, 70});
        preview.commit();
    }
    EXPECT_TRUE(editor->isInInteraction());
    EXPECT_EQ(boxPosition(blocks.a), (TAVI::GLPoint<double>{70, 70}));
    EXPECT_EQ(blocks.a.getPosition(), (TAVI::GLPoint<double>{10, 10}));

    // Any commit on the root synchronises the working copy: the preview is dropped.
    commit([&] { blocks.b.setPosition({210, 10}); });
    EXPECT_FALSE(editor->isInInteraction());
    EXPECT_EQ(boxPosition(blocks.a), (TAVI::GLPoint<double>{10, 10}));
    EXPECT_EQ(boxPosition(blocks.b), (TAVI::GLPoint<double>{210, 10}));
}

// --- the end of an editor ------------------------------------------------------------------------

TEST_F(EditorTest, TerminateAnnouncesAnEmptySelectionAndStopsFollowingTheModel) {
    SelectionEvents events(app);
    std::vector<std::string> log;
    editor->addTool(TAVI::Holder<ZEPH::Tool>(new ZephTest::RecordingTool("probe", &log)));
    struct Nothing : Command {
        using Command::Command;
        std::string shortDescription() const override { return "nothing"; }
        void execute(TAVI::ErrorHolder&) override {}
    };
    editor->processCommand(new Nothing(blocks.model));
    ASSERT_TRUE(editor->getUndoRedoTarget()->canUndo());

    TAVI::ErrorHolder errors;
    editor->terminate(errors);
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(events.seen(), (std::vector<SelectionEvents::Seen>{seen(false)}));
    EXPECT_FALSE(editor->getUndoRedoTarget()->canUndo());
    EXPECT_EQ(log, (std::vector<std::string>{"probe:removed"}));
    EXPECT_TRUE(editor->getTools().empty());

    commit([&] { blocks.a.setPosition({99, 99}); });
    EXPECT_EQ(boxPosition(blocks.a), (TAVI::GLPoint<double>{10, 10}));
    EXPECT_EQ(updatesOf(blocks.a), 1);
}

TEST_F(EditorTest, AnEditorDestroyedWithoutTerminateOrOutlivingItsModelGoesQuietly) {
    const std::string name = editor->getDiagram().getModelVELD().getName();
    std::vector<std::string> log;
    editor->addTool(TAVI::Holder<ZEPH::Tool>(new ZephTest::RecordingTool("probe", &log)));
    editor.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"probe:removed"}));
    EXPECT_TRUE(blocks.model.getDeviantWithName(name).isNull());
    commit([&] { blocks.a.setPosition({5, 5}); }); // no listener of the editor may run
    EXPECT_EQ(blocks.a.getPosition(), (TAVI::GLPoint<double>{5, 5}));

    TAVI::Holder<Editor> other(Editor::create(studio.get(), Editor::staticGetTypeName()));
    openOn(*other, blocks.diagram, &factory);
    blocks.model.destroy();
    EXPECT_FALSE(other->getDiagram().isValid());
    KiteTest::AssertionRecorder assertions;
    TAVI::ErrorHolder errors;
    other->terminate(errors);
    other.reset();
    EXPECT_EQ(assertions.count(), 0u);
}

// --- commands ------------------------------------------------------------------------------------

namespace {
class MoveBlock : public Command {
public:
    MoveBlock(VELD::Model model, GraphNode block, bool fail)
        : Command(std::move(model)), block(block), fail(fail) {}
    std::string shortDescription() const override { return "move"; }
    void execute(TAVI::ErrorHolder& errors) override {
        block.setPosition({77, 77});
        if (fail)
            errors.setError(TAVI::SimpleErrorDescription(TAVI_HERE, "the block is locked"));
    }
    GraphNode block;
    bool fail;
};

// Runs its commands through a target of its own.
class RedirectingEditor : public Editor {
public:
    explicit RedirectingEditor(PLATFORM::Studio* studio) : Editor(studio, staticGetTypeName()) {}
    TAVI::AbstractUndoRedoCommandTarget* getUndoRedoTarget() override { return &own; }
    TAVI::UndoRedoCommandTarget own;
};
} // namespace

TEST_F(EditorTest, CommandsRunThroughTheUndoTargetAndFailuresAreAsserted) {
    KiteTest::AssertionRecorder assertions;
    editor->processCommand(new MoveBlock(blocks.model, blocks.a, false));
    EXPECT_EQ(assertions.count(), 0u);
    EXPECT_EQ(boxPosition(blocks.a), (TAVI::GLPoint<double>{77, 77}));
    EXPECT_TRUE(editor->getUndoRedoTarget()->canUndo());

    editor->processCommand(new MoveBlock(blocks.model, blocks.b, true));
    ASSERT_EQ(assertions.count(), 1u);
    const ZuAssertionReport report = assertions.reports()[0];
    EXPECT_EQ(report.expression, "!status.hasError()");
    EXPECT_EQ(report.message, ": !status.hasError(),");
    EXPECT_EQ(report.source, "editor/Editor.cpp");
    EXPECT_NE(report.detail.find("the block is locked"), std::string::npos);
    EXPECT_EQ(blocks.b.getPosition(), (TAVI::GLPoint<double>{200, 10}));

    RedirectingEditor* redirecting = new RedirectingEditor(studio.get());
    TAVI::Holder<Editor> held(redirecting);
    openOn(*redirecting, blocks.diagram, &factory);
    redirecting->processCommand(new MoveBlock(blocks.model, blocks.b, false));
    EXPECT_EQ(redirecting->own.undoStackSize(), 1u);
    EXPECT_EQ(blocks.b.getPosition(), (TAVI::GLPoint<double>{77, 77}));
}

// --- tools ---------------------------------------------------------------------------------------

TEST_F(EditorTest, TheToolStackIsTheScenes) {
    std::vector<std::string> log;
    TAVI::Holder<ZEPH::Tool> probe(new ZephTest::RecordingTool("probe", &log));
    editor->addTool(probe);
    EXPECT_TRUE(editor->getScene()->hasTool(probe));

    struct Marker : ZEPH::Tool {
        TAVI::StringID getDefaultRole() const override { return "Mark"; }
    };
    editor->addToolConstructor(
        TAVI::Holder<ZEPH::BaseToolConstructor>(new ZEPH::ToolConstructor<Marker>("Mark")));
    const TAVI::Holder<ZEPH::Tool> mark = editor->addToolByRole("Mark");
    ASSERT_TRUE(mark);
    EXPECT_EQ(editor->addToolByRole("Mark"), mark); // the one on the stack already
    EXPECT_EQ(editor->getScene()->getTopTool(), mark);
    EXPECT_EQ(editor->getTools(), (std::vector<TAVI::Holder<ZEPH::Tool>>{mark, probe}));

    EXPECT_TRUE(editor->removeToolByRole("Probe"));
    EXPECT_EQ(log, (std::vector<std::string>{"probe:removed"}));
    EXPECT_FALSE(editor->getScene()->hasTool(probe));
}

// --- the canvas ----------------------------------------------------------------------------------

TEST_F(EditorTest, ACanvasThatQtDeletedIsReplacedByOneThatIsHeard) {
    TAVI::ErrorHolder errors;
    editor->initialize(errors);
    delete editor->getCanvas(); // as a window it was left in would
    ZEPH::GLCanvas* canvas = editor->getCanvas();
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->getScene(), editor->getScene());
    canvas->resize(400, 300);
    const TAVI::GLPoint<double> view = canvas->scenePointToViewPoint({45, 35});
    const QPoint at(int(view.x), int(view.y));
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, canvas->viewport()->mapToGlobal(at));
    QApplication::sendEvent(canvas->viewport(), &event);
    EXPECT_EQ(editor->getContextMenuTarget(), asElement(blocks.a));
    // The element at a scene point is that of the innermost glyph hit.
    EXPECT_EQ(editor->getDiagramElementAt({20, 20}), asElement(blocks.inner));
    EXPECT_EQ(editor->getDiagramElementAt({45, 35}), asElement(blocks.a));
    EXPECT_TRUE(editor->getDiagramElementAt({100, 200}).isNull());
}

namespace {
struct PlacedEditorTest : EditorTest {
    PlacedEditorTest() {
        TAVI::ErrorHolder errors;
        PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
        framework->addComponent(TAVI::Holder<PLATFORM::StudioComponentBase>(editor.get()), errors);
        framework->addTab(editor.get(), "", true, errors);
        studio->getWindow()->resize(800, 600);
        studio->show();
        QApplication::processEvents();
        canvas = editor->getCanvas();
    }
    // The global point of the request.
    QPoint contextMenuAt(const TAVI::GLPoint<double>& scenePoint) {
        const TAVI::GLPoint<double> view = canvas->scenePointToViewPoint(scenePoint);
        const QPoint at(int(view.x), int(view.y));
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, canvas->viewport()->mapToGlobal(at));
        QApplication::sendEvent(canvas->viewport(), &event);
        return event.globalPos();
    }
    ZEPH::GLCanvas* canvas = nullptr;
};
} // namespace

namespace {
// Records what the editor hands to its domain's front.
class RecordingFront : public KiteDomainInterface {
public:
    using KiteDomainInterface::KiteDomainInterface;
    void showEditorContextMenu(int x, int y) const override {
        log.push_back("show " + std::to_string(x) + "," + std::to_string(y));
    }
    void executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                        const std::string& schema) const override {
        log.push_back("execute " + schema);
        elements.push_back(element);
    }
    NOX::PdxInterface* getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                  const std::string& schema) const override {
        log.push_back("get " + schema);
        elements.push_back(element);
        return nullptr;
    }
    mutable std::vector<std::string> log;
    mutable std::vector<ImmutableDiagramElement> elements;
};
} // namespace

TEST_F(PlacedEditorTest, AContextMenuRemembersItsElementAndGoesToTheDomainFront) {
    // Without a front: nothing happens, and the target is still remembered.
    editor->executeEditorContextMenuSchema(blocks.a, "menu");
    EXPECT_EQ(editor->getEditorContextMenuSchema(blocks.a, "menu"), nullptr);

    ASSERT_TRUE(canvas->isVisible());
    contextMenuAt({120, 300});
    EXPECT_TRUE(editor->getContextMenuTarget().isNull());
    TAVI::Holder<RecordingFront> front(new RecordingFront(studio.get()));
    editor->setDomain(front);
    const QPoint global = contextMenuAt({45, 35});
    EXPECT_EQ(editor->getContextMenuTarget(), asElement(blocks.a));
    editor->executeEditorContextMenuSchema(blocks.b, "edit");
    editor->getEditorContextMenuSchema(blocks.inner, "view");
    EXPECT_EQ(front->log, (std::vector<std::string>{"show " + std::to_string(global.x()) + "," +
                                                        std::to_string(global.y()),
                                                    "execute edit", "get view"}));
    EXPECT_EQ(front->elements, (std::vector<ImmutableDiagramElement>{blocks.b, blocks.inner}));

    editor->setContextMenuTarget(blocks.b);
    EXPECT_EQ(editor->getContextMenuTarget(), asElement(blocks.b));
    editor->setDomain(TAVI::Holder<PLATFORM::AbstractDomainInterface>());
}

TEST_F(PlacedEditorTest, GlobalPointsMapToTheSceneAndTheCanvasContainsItsBorder) {
    const QPoint topLeft = canvas->mapToGlobal(QPoint(0, 0));
    const double left = topLeft.x(), top = topLeft.y();
    EXPECT_TRUE(editor->contains({left, top}));
    EXPECT_TRUE(editor->contains({left + canvas->width(), top + canvas->height()}));
    EXPECT_FALSE(editor->contains({left + canvas->width() + 1, top}));
    EXPECT_FALSE(editor->contains({left, top - 1}));

    const TAVI::GLPoint<double> view = canvas->scenePointToViewPoint({45, 35});
    const QPoint global = canvas->viewport()->mapToGlobal(QPoint(int(view.x), int(view.y)));
    const TAVI::GLPoint<double> scene =
        editor->globalPt2ScenePt({double(global.x()), double(global.y())});
    EXPECT_NEAR(scene.x, 45, 1.0);
    EXPECT_NEAR(scene.y, 35, 1.0);
    EXPECT_EQ(editor->getDiagramElementAt(scene), asElement(blocks.a));

    canvas->hide();
    EXPECT_FALSE(editor->contains({left + 1, top + 1}));
}

namespace {
// Counts the studio's requests to bring it forward with the focus.
class WatchedEditor : public Editor {
public:
    // Component names are unique in a studio.
    explicit WatchedEditor(PLATFORM::Studio* studio) : Editor(studio, "watched") {}
    TAVI::GLWidget2* getDefaultFocusWidget() override {
        ++focusRequests;
        return Editor::getDefaultFocusWidget();
    }
    int focusRequests = 0;
};
} // namespace

TEST_F(PlacedEditorTest, AViewChangeTheUserMakesBringsTheEditorForward) {
    TAVI::ErrorHolder errors;
    PLATFORM::StudioFrameworkService* framework = studio->getFrameworkService();
    TAVI::Holder<WatchedEditor> held(new WatchedEditor(studio.get()));
    WatchedEditor* watched = held.get();
    openOn(*watched, blocks.diagram, &factory);
    ASSERT_TRUE(framework->addComponent(held, errors));
    const std::uint32_t watchedTab = framework->addTab(watched, "", true, errors);
    const std::uint32_t ourTab = framework->getTabIndex(editor.get(), errors);
    QApplication::processEvents();
    ZEPH::GLCanvas* view = watched->getCanvas();
    ASSERT_TRUE(view->isVisible());
    const int before = watched->focusRequests;

    // Zoomed by a program while the user is elsewhere: the focus stays where it is.
    view->setZoomFactor(2.0);
    EXPECT_EQ(watched->focusRequests, before);

    // The pointer over it, as with a wheel zoom: the user works in that editor.
    view->viewport()->setAttribute(Qt::WA_UnderMouse, true);
    view->setZoomFactor(3.0);
    EXPECT_GT(watched->focusRequests,
              before); // the window's docks may ask again as it comes forward
    EXPECT_EQ(framework->getCurrentTabIndex(errors), watchedTab);
    const int forward = watched->focusRequests;

    // Behind another tab it is not shown, whatever the pointer does.
    framework->setCurrentTab(ourTab, errors);
    QApplication::processEvents();
    ASSERT_FALSE(view->isVisible());
    view->setZoomFactor(1.0);
    EXPECT_EQ(watched->focusRequests, forward);
    EXPECT_EQ(framework->getCurrentTabIndex(errors), ourTab);
}

// --- the widget ----------------------------------------------------------------------------------

namespace {
class FurnishedEditor : public Editor {
public:
    FurnishedEditor(PLATFORM::Studio* studio, int buttons, bool bar)
        : Editor(studio, staticGetTypeName()), buttons(buttons), bar(bar) {}
    std::vector<TAVI::GLWidget2*> getPaletteObjects() const override {
        std::vector<TAVI::GLWidget2*> out;
        for (int i = 0; i < buttons; ++i)
            out.push_back(new TAVI::GLPanel2("qt"));
        return out;
    }
    PLATFORM::StudioComponentBase* getExplorerBar(TAVI::ErrorHolder&) override {
        if (!bar)
            return nullptr;
        if (!explorer)
            explorer = new Panel(getStudio());
        return explorer.get();
    }
    struct Panel : PLATFORM::StudioComponentBase {
        explicit Panel(PLATFORM::Studio* studio) : StudioComponentBase(studio, "bar") {}
        TAVI::GLWidget2* getWidget() override {
            if (!panel)
                panel = new TAVI::GLPanel2("qt");
            return panel;
        }
        TAVI::GLWidget2* panel = nullptr;
    };
    int buttons;
    bool bar;
    TAVI::Holder<Panel> explorer;
};
} // namespace

TEST_F(EditorTest, TheWidgetPlacesPaletteAndExplorerBarAroundTheCanvas) {
    TAVI::Holder<FurnishedEditor> bare(new FurnishedEditor(studio.get(), 0, false));
    openOn(*bare, blocks.diagram, &factory);
    TAVI::GLWidget2* widget = bare->getWidget();
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(bare->getWidget(), widget);
    ASSERT_NE(widget->getLayout(), nullptr);
    EXPECT_EQ(widget->getLayout()->count(), 1);
    TAVI::GLWidget2* canvasWidget = bare->getDefaultFocusWidget();
    EXPECT_EQ(canvasWidget->getQWidget(), bare->getCanvas());
    EXPECT_EQ(canvasWidget->getParent(), widget);

    // The palette stands beside the canvas, under the explorer bar.
    TAVI::Holder<FurnishedEditor> furnished(new FurnishedEditor(studio.get(), 2, true));
    openOn(*furnished, blocks.diagram, &factory);
    TAVI::GLWidget2* outer = furnished->getWidget();
    ASSERT_NE(outer, nullptr);
    ASSERT_EQ(outer->getLayout()->count(), 2);
    TAVI::GLWidget2* inner = furnished->getDefaultFocusWidget()->getParent();
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->getParent(), outer);
    EXPECT_EQ(inner->getLayout()->count(), 2); // palette and canvas
    EXPECT_EQ(furnished->explorer->panel->getParent(), outer);

    TAVI::Holder<FurnishedEditor> plain(new FurnishedEditor(studio.get(), 1, false));
    openOn(*plain, blocks.diagram, &factory);
    TAVI::GLWidget2* row = plain->getWidget();
    EXPECT_EQ(row->getLayout()->count(), 2);
    EXPECT_EQ(plain->getDefaultFocusWidget()->getParent(), row);

    // The explorer bar leaves the studio with the editor.
    TAVI::ErrorHolder errors;
    studio->getFrameworkService()->addComponent(
        TAVI::Holder<PLATFORM::StudioComponentBase>(furnished->explorer.get()), errors);
    ASSERT_FALSE(errors.hasError());
    furnished->terminate(errors);
    EXPECT_FALSE(errors.hasError());
    for (PLATFORM::StudioComponentBase* left : studio->getFrameworkService()->getComponents())
        EXPECT_NE(left, furnished->explorer.get()); // the studio's own docks stay
}

TEST_F(EditorTest, TheStaticDomainIsTheOneRegisteredForTheModel) {
    EXPECT_EQ(editor->getStaticDomain(), nullptr);
    TAVI::Holder<AbstractKiteDomain> domain(
        new KiteTest::NamedDomain("EditorBlocks", "editorblocks.Sheet"));
    TAVI::ErrorHolder errors;
    DomainRegistry::instance()->registerDomain(domain, errors);
    ASSERT_FALSE(errors.hasError());
    EXPECT_EQ(editor->getStaticDomain(), domain.get());
    DomainRegistry::instance()->unregisterDomain(domain, errors);
    EXPECT_EQ(editor->getStaticDomain(), nullptr);
}

// --- an editor without a diagram -----------------------------------------------------------------

TEST_F(EditorTest, AnEditorWithoutADiagramRefusesWorkAndDoesNotCrash) {
    TAVI::Holder<Editor> bare(Editor::create(studio.get(), Editor::staticGetTypeName()));
    KiteTest::AssertionRecorder assertions;
    SelectionEvents events(app);
    bare->select(blocks.a);
    bare->populate();
    bare->observeModel(blocks.model);
    EXPECT_EQ(assertions.count(), 3u);
    EXPECT_TRUE(bare->getDiagram().isNull());
    EXPECT_TRUE(bare->getSelection().empty());
    EXPECT_FALSE(bare->isSelected(blocks.a));
    EXPECT_FALSE(bare->isInInteraction());
    EXPECT_TRUE(bare->getDiagramElementAt({20, 20}).isNull());
    EXPECT_TRUE(events.events.empty());
    EXPECT_EQ(bare->getStaticDomain(), nullptr);
    EXPECT_EQ(bare->getNavigateUpRequestService(), app->getNavigateUpRequestService());
    TAVI::ErrorHolder errors;
    bare->terminate(errors);
}
