#include "editor/Palette.hpp"
#include "editor/BasePaletteButtonToTool.hpp"
#include "editor/Editor.hpp"
#include "editor/MarqueeZoomTool.hpp"
#include "editor/ModalPaletteButtonToolFactory.hpp"
#include "editor/PaletteButtonToTool.hpp"
#include "editor/PaletteButtonToToolWithModes.hpp"
#include "editor/PaletteObject.hpp"
#include "platform/tavi/ApplicationContext.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLDragManager2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/GLToolBar2.hpp"
#include "platform/zeph/GLCanvas.hpp"
#include "platform/zeph/MouseEvent.hpp"
#include "platform/zeph/Scene.hpp"
#include "tests/editor/EditorFixture.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMouseEvent>
#include <QPointer>
#include <QToolBar>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KITE;
using Log = std::vector<std::string>;

namespace {

std::string resource(const char* name) {
    return std::string(KITE_SOURCE_DIR) + "/resources/toolbox/shared/orbis/resources/" + name;
}

const TAVI::Color red(1.0, 0.0, 0.0, 1.0);

// Writes "name:what" for each hook the base button calls.
class RecordingButton : public BasePaletteButtonToTool {
public:
    RecordingButton(const std::string& name, Log* log, const std::string& label = std::string())
        : BasePaletteButtonToTool(resource("kite/rbBoxZoom.png"), label), name(name), log(log) {}
    bool checkOnDragOut = false;

protected:
    void toggleOn() override { log->push_back(name + ":on"); }
    void toggleOff() override { log->push_back(name + ":off"); }
    bool doubleClick() override {
        log->push_back(name + ":doubleClick");
        return true;
    }
    bool dragOut() override {
        log->push_back(name + ":dragOut");
        return checkOnDragOut;
    }

private:
    std::string name;
    Log* log;
};

void sendMouse(TAVI::GLWidget2* widget, QEvent::Type type) {
    const QPointF at(4, 4);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->getQWidget()->mapToGlobal(at), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget->getQWidget(), &event);
}

void click(TAVI::GLWidget2* widget) {
    sendMouse(widget, QEvent::MouseButtonPress);
    sendMouse(widget, QEvent::MouseButtonRelease);
}

// What the window system delivers for a double click: the second press comes with a
// double-click event before its release.
void doubleClick(TAVI::GLWidget2* widget) {
    click(widget);
    sendMouse(widget, QEvent::MouseButtonPress);
    sendMouse(widget, QEvent::MouseButtonDblClick);
    sendMouse(widget, QEvent::MouseButtonRelease);
}

void leave(TAVI::GLWidget2* widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget->getQWidget(), &event);
}

void requestContextMenu(Palette& palette) {
    QWidget* bar = palette.getWidget()->getQWidget();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(bar, &event);
}

std::vector<std::string> menuLabels(TAVI::GLMenu2* menu) {
    std::vector<std::string> labels;
    for (TAVI::GLAction2* action : menu->getActions())
        labels.push_back(action->getLabel());
    return labels;
}

void runDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(PaletteTest, LaysOutItsWidgetsInOrderInAVerticalBar) {
    Log log;
    Palette palette;
    EXPECT_EQ(palette.getWidget(), nullptr);
    auto* select = new RecordingButton("select", &log, "select");
    auto* zoom = new RecordingButton("zoom", &log, "zoom");
    auto* block = new PaletteObject(resource("BlockIcon.png"), "Block");
    palette.initialize({select, nullptr, block, zoom});

    TAVI::GLToolBar2* bar = palette.getWidget();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getOrientation(), TAVI::GLToolBar2::Vertical);
    EXPECT_EQ(palette.getPaletteWidgets(), (std::vector<TAVI::GLWidget2*>{select, block, zoom}));
    EXPECT_EQ(bar->getActions().size(), 3u);
    for (TAVI::GLWidget2* widget : palette.getPaletteWidgets())
        EXPECT_EQ(widget->getParent(), bar);
    // Names are hidden to begin with: the buttons show their icons only.
    EXPECT_FALSE(palette.isShowingNames());
    EXPECT_EQ(select->getStyle(), TAVI::GLToolButton2::IconOnly);
    EXPECT_EQ(select->getLabel(), "select");
    EXPECT_TRUE(select->getIcon().isValid());
    EXPECT_TRUE(log.empty());

    // The bar is the palette's until someone places it; then it goes with its new parent.
    QPointer<QWidget> qtBar = bar->getQWidget();
    {
        Palette loose;
        loose.initialize({new RecordingButton("other", &log)});
        qtBar = loose.getWidget()->getQWidget();
    }
    EXPECT_TRUE(qtBar.isNull());
    auto* holder = new TAVI::GLToolBar2("qt");
    {
        Palette placed;
        placed.initialize({});
        placed.getWidget()->setParent(holder);
        qtBar = placed.getWidget()->getQWidget();
    }
    EXPECT_FALSE(qtBar.isNull());
    delete holder;
    EXPECT_TRUE(qtBar.isNull());

    // A palette that outlives its bar stays usable.
    requestContextMenu(palette);
    delete palette.getWidget();
    EXPECT_EQ(palette.getWidget(), nullptr);
    EXPECT_EQ(palette.getContextMenu(), nullptr);
    EXPECT_TRUE(palette.getPaletteWidgets().empty());
}

TEST(PaletteTest, ContextMenuShowsAndHidesTheButtonNames) {
    Log log;
    Palette palette;
    auto* select = new RecordingButton("select", &log, "select");
    auto* zoom = new RecordingButton("zoom", &log, "zoom");
    auto* block = new PaletteObject(resource("BlockIcon.png"), "Block");
    palette.initialize({select, zoom, block});

    requestContextMenu(palette);
    TAVI::GLMenu2* menu = palette.getContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menuLabels(menu), (std::vector<std::string>{"show names"}));
    // A second request replaces the menu.
    QPointer<QWidget> first = menu->getQWidget();
    requestContextMenu(palette);
    runDeferredDeletes();
    EXPECT_TRUE(first.isNull());
    menu = palette.getContextMenu();
    ASSERT_NE(menu, nullptr);

    QPointer<QWidget> shown = menu->getQWidget();
    menu->getActions().front()->trigger();
    EXPECT_TRUE(palette.isShowingNames());
    EXPECT_EQ(select->getStyle(), TAVI::GLToolButton2::TextBesideIcon);
    EXPECT_EQ(zoom->getStyle(), TAVI::GLToolButton2::TextBesideIcon);
    // The menu goes once its entry is handled.
    EXPECT_EQ(palette.getContextMenu(), nullptr);
    runDeferredDeletes();
    EXPECT_TRUE(shown.isNull());

    requestContextMenu(palette);
    ASSERT_NE(palette.getContextMenu(), nullptr);
    EXPECT_EQ(menuLabels(palette.getContextMenu()), (std::vector<std::string>{"hide names"}));
    palette.getContextMenu()->getActions().front()->trigger();
    EXPECT_FALSE(palette.isShowingNames());
    EXPECT_EQ(zoom->getStyle(), TAVI::GLToolButton2::IconOnly);
    // Showing names changed nothing else.
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(select->isChecked());
}

TEST(BasePaletteButtonToToolTest, CheckingAnotherButtonEndsTheFirstBeforeStartingTheSecond) {
    Log log;
    Palette palette;
    auto* select = new RecordingButton("select", &log);
    auto* zoom = new RecordingButton("zoom", &log);
    palette.initialize({select, zoom});

    click(select);
    EXPECT_EQ(log, (Log{"select:on"}));
    click(zoom);
    EXPECT_EQ(log, (Log{"select:on", "select:off", "zoom:on"}));
    EXPECT_FALSE(select->isChecked());
    EXPECT_TRUE(zoom->isChecked());
    // The checked button of the palette stays checked when clicked again.
    click(zoom);
    EXPECT_EQ(log.size(), 3u);
    EXPECT_TRUE(zoom->isChecked());
}

TEST(BasePaletteButtonToToolTest, DoubleClickKeepsTheButtonCheckedAndRed) {
    // Alone in its palette the button's second click unchecks it, with a sibling it does not:
    // either way a double click leaves it checked once, red.
    for (bool withSibling : {false, true}) {
        SCOPED_TRACE(withSibling ? "with a sibling" : "alone");
        Log log;
        Palette palette;
        auto* zoom = new RecordingButton("zoom", &log);
        auto* select = new RecordingButton("select", &log);
        palette.initialize(withSibling ? std::vector<TAVI::GLWidget2*>{zoom, select}
                                       : std::vector<TAVI::GLWidget2*>{zoom});
        const TAVI::Color original = zoom->getColor(TAVI::GLWidget2::ForegroundColor);

        doubleClick(zoom);
        EXPECT_EQ(log, (Log{"zoom:on", "zoom:doubleClick"}));
        EXPECT_TRUE(zoom->isChecked());
        EXPECT_EQ(zoom->getColor(TAVI::GLWidget2::ForegroundColor), red);

        if (withSibling) {
            // The next toggle is an ordinary one again.
            click(select);
            EXPECT_EQ(log, (Log{"zoom:on", "zoom:doubleClick", "zoom:off", "select:on"}));
            EXPECT_FALSE(zoom->isChecked());
            EXPECT_TRUE(select->isChecked());
        } else {
            click(zoom);
            EXPECT_EQ(log, (Log{"zoom:on", "zoom:doubleClick", "zoom:off"}));
            EXPECT_FALSE(zoom->isChecked());
        }
        EXPECT_EQ(zoom->getColor(TAVI::GLWidget2::ForegroundColor), original);
    }
}

TEST(BasePaletteButtonToToolTest, DraggingOutOfThePressedButtonChecksItWhenTheHookSaysSo) {
    Log log;
    Palette palette;
    auto* node = new RecordingButton("node", &log);
    auto* zoom = new RecordingButton("zoom", &log);
    node->checkOnDragOut = true;
    palette.initialize({node, zoom});

    // Leaving without a press asks nothing.
    leave(node);
    EXPECT_TRUE(log.empty());
    sendMouse(node, QEvent::MouseButtonPress);
    leave(node);
    EXPECT_EQ(log, (Log{"node:dragOut", "node:on"}));
    EXPECT_TRUE(node->isChecked());
    // The press is over once the pointer has left.
    leave(node);
    EXPECT_EQ(log.size(), 2u);

    sendMouse(zoom, QEvent::MouseButtonPress);
    leave(zoom);
    EXPECT_EQ(log, (Log{"node:dragOut", "node:on", "zoom:dragOut"}));
    EXPECT_FALSE(zoom->isChecked());
    // A press that ends on the button is a click, not a drag out.
    sendMouse(node, QEvent::MouseButtonPress);
    sendMouse(node, QEvent::MouseButtonRelease);
    leave(node);
    EXPECT_EQ(log.size(), 3u);
}

TEST(PaletteObjectTest, LeftPressDragsItsTypeNameAsFormatAndValueUnlessItHasNone) {
    PaletteObject block(resource("BlockIcon.png"), "Block");
    EXPECT_EQ(block.getImageSize(), (TAVI::Size{16, 16}));
    block.show();
    auto drags = [&] { return block.getQWidget()->findChildren<QDrag*>(); };

    // Headless, nothing takes the drop and the drag ends at once; the toolkit's drag object
    // stays behind as the object's child until the event loop runs.
    sendMouse(&block, QEvent::MouseButtonPress);
    EXPECT_FALSE(TAVI::GLDragManager2::isDragging());
    ASSERT_EQ(drags().size(), 1);
    QDrag* drag = drags().front();
    const TAVI::GLMimeData2 data = TAVI::GLMimeData2::fromQMimeData(drag->mimeData());
    EXPECT_EQ(data.getFormats(), (std::vector<std::string>{"Block"}));
    EXPECT_EQ(TAVI::any_cast<std::string>(data.getData("Block")), "Block");
    EXPECT_EQ(drag->supportedActions(), Qt::MoveAction);
    EXPECT_TRUE(drag->pixmap().isNull());

    // Other buttons drag nothing.
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(4, 4), QPointF(4, 4), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(block.getQWidget(), &right);
    EXPECT_EQ(drags().size(), 1);

    // Without a type name or an icon it is inert: the toolkit refuses a drag without data.
    PaletteObject nameless(resource("missing.png"), "");
    EXPECT_EQ(nameless.getFile(), "");
    sendMouse(&nameless, QEvent::MouseButtonPress);
    EXPECT_TRUE(nameless.getQWidget()->findChildren<QDrag*>().isEmpty());
    EXPECT_FALSE(TAVI::GLDragManager2::isDragging());
}

namespace {

// A tool that logs what happens to it; a left release finishes it unless it is persistent.
class ProbeTool : public PaletteTool {
public:
    ProbeTool(std::string name, Log* log) : name(std::move(name)), log(log) {}
    void handleMouseReleaseEvent(ZEPH::MouseEvent& event) override {
        finished = true;
        event.consume();
    }
    bool isDone() const override { return finished && !isPersistent(); }
    void onRemoveFromStack() override {
        log->push_back(name + ":removed");
        PaletteTool::onRemoveFromStack();
    }
    void setCurrentMode(const Mode* mode) override {
        log->push_back(name + ":mode " + (mode ? mode->label : "none"));
        PaletteTool::setCurrentMode(mode);
    }

private:
    std::string name;
    Log* log;
    bool finished = false;
};

// Makes probe tools (or none) and lists the modes it is given.
class ProbeFactory : public ModalPaletteButtonToolFactory {
public:
    ProbeFactory(std::string name, Log* log, std::vector<PaletteTool::Mode> modes = {})
        : name(std::move(name)), log(log), modes(std::move(modes)) {}
    TAVI::Holder<PaletteTool> createTool() const override {
        log->push_back(name + ":made");
        if (makesNothing)
            return {};
        return TAVI::Holder<PaletteTool>(new ProbeTool(name, log));
    }
    void listModes(std::vector<const PaletteTool::Mode*>& out) const override {
        for (const PaletteTool::Mode& mode : modes)
            out.push_back(&mode);
    }
    bool makesNothing = false;

private:
    std::string name;
    Log* log;
    std::vector<PaletteTool::Mode> modes;
};

struct PaletteOnEditor : KITE::Test::EditorFixture {
    Log log;
    ProbeFactory selectFactory{"select", &log};
    ProbeFactory nodeFactory{"node", &log};
    Palette palette;
    PaletteButtonToTool* select =
        new PaletteButtonToTool(&selectFactory, editor.get(), "", "select");
    PaletteButtonToTool* node = new PaletteButtonToTool(&nodeFactory, editor.get(), "", "node");

    PaletteOnEditor() { palette.initialize({select, node}); }
    // The tools log into this fixture's log as the editor takes them off: before it goes.
    ~PaletteOnEditor() { editor->clearToolStack(); }

    bool onStack(const TAVI::Holder<PaletteTool>& tool) const {
        return tool && editor->hasTool(TAVI::Holder<ZEPH::Tool>(tool));
    }
    void releaseOnCanvas() {
        ZEPH::MouseEvent press({300, 300}, ZEPH::LeftButton, ZEPH::LeftButton, ZEPH::NoModifier,
                               editor->getCanvas());
        editor->getScene()->handleMousePressEvent(press);
        ZEPH::MouseEvent release({300, 300}, ZEPH::LeftButton, ZEPH::NoButton, ZEPH::NoModifier,
                                 editor->getCanvas());
        editor->getScene()->handleMouseReleaseEvent(release);
    }
};

} // namespace

TEST(PaletteButtonToToolTest, CheckedButtonRunsOneToolOnItsEditorsStackUntilItFinishes) {
    PaletteOnEditor f;
    const std::size_t before = f.editor->getTools().size();
    click(f.select);
    EXPECT_EQ(f.log, (Log{"select:made"}));
    ASSERT_TRUE(f.select->getTool());
    EXPECT_TRUE(f.onStack(f.select->getTool()));
    EXPECT_EQ(f.editor->getTools().front(), TAVI::Holder<ZEPH::Tool>(f.select->getTool()));
    EXPECT_EQ(f.select->getEditor(), f.editor.get());

    // Checking the other button ends the first tool, then starts the second.
    const TAVI::Holder<PaletteTool> first = f.select->getTool();
    click(f.node);
    EXPECT_EQ(f.log, (Log{"select:made", "select:removed", "node:made"}));
    EXPECT_FALSE(f.onStack(first));
    EXPECT_FALSE(f.select->getTool());
    EXPECT_FALSE(f.select->isChecked());
    EXPECT_TRUE(f.onStack(f.node->getTool()));
    EXPECT_EQ(f.editor->getTools().size(), before + 1);

    // A tool that finishes unchecks its button, which starts a fresh one on the next click.
    const TAVI::Holder<PaletteTool> tool = f.node->getTool();
    f.releaseOnCanvas();
    EXPECT_EQ(f.log, (Log{"select:made", "select:removed", "node:made", "node:removed"}));
    EXPECT_FALSE(f.onStack(tool));
    EXPECT_FALSE(f.node->getTool());
    EXPECT_FALSE(f.node->isChecked());
    click(f.node);
    EXPECT_EQ(f.log.back(), "node:made");
    EXPECT_TRUE(f.onStack(f.node->getTool()));
    EXPECT_NE(f.node->getTool(), tool);
}

TEST(PaletteButtonToToolTest, DoubleClickMakesTheToolPersistentUntilItLeaves) {
    PaletteOnEditor f;
    const TAVI::Color original = f.node->getColor(TAVI::GLWidget2::ForegroundColor);
    doubleClick(f.node);
    const TAVI::Holder<PaletteTool> tool = f.node->getTool();
    ASSERT_TRUE(tool);
    EXPECT_EQ(f.log, (Log{"node:made"}));
    EXPECT_TRUE(tool->isPersistent());
    EXPECT_TRUE(f.node->isChecked());
    EXPECT_EQ(f.node->getColor(TAVI::GLWidget2::ForegroundColor), red);

    // A persistent tool stays for the next use.
    f.releaseOnCanvas();
    f.releaseOnCanvas();
    EXPECT_TRUE(f.onStack(tool));
    EXPECT_TRUE(f.node->isChecked());

    // However it leaves, the button follows.
    EXPECT_TRUE(f.editor->removeTool(TAVI::Holder<ZEPH::Tool>(tool)));
    EXPECT_EQ(f.log, (Log{"node:made", "node:removed"}));
    EXPECT_FALSE(f.node->isChecked());
    EXPECT_FALSE(f.node->getTool());
    EXPECT_EQ(f.node->getColor(TAVI::GLWidget2::ForegroundColor), original);
}

TEST(PaletteButtonToToolTest, FactoryThatMakesNoToolLeavesTheButtonUnchecked) {
    PaletteOnEditor f;
    f.nodeFactory.makesNothing = true;
    click(f.select);
    const TAVI::Holder<PaletteTool> running = f.select->getTool();
    const std::size_t tools = f.editor->getTools().size();
    click(f.node);
    // The other button's tool ended, as it does for any checked sibling.
    EXPECT_EQ(f.log, (Log{"select:made", "select:removed", "node:made"}));
    EXPECT_FALSE(f.node->isChecked());
    EXPECT_FALSE(f.node->getTool());
    EXPECT_EQ(f.editor->getTools().size(), tools - 1);
    EXPECT_FALSE(f.onStack(running));
    // It can be tried again, and other buttons still work.
    click(f.node);
    click(f.select);
    EXPECT_EQ(f.log,
              (Log{"select:made", "select:removed", "node:made", "node:made", "select:made"}));
    EXPECT_TRUE(f.select->isChecked());
}

TEST(PaletteButtonToToolTest, ButtonThatOutlivesItsEditorStartsNothing) {
    Log log;
    ProbeFactory factory("node", &log);
    Palette palette;
    PaletteButtonToTool* running = nullptr;
    PaletteButtonToTool* idle = nullptr;
    {
        KITE::Test::EditorFixture f;
        running = new PaletteButtonToTool(&factory, f.editor.get(), "", "running");
        idle = new PaletteButtonToTool(&factory, f.editor.get(), "", "idle");
        palette.initialize({running, idle});
        click(running);
        ASSERT_TRUE(running->getTool());
    }
    // The editor took its tools off as it went; the button heard of it.
    EXPECT_EQ(log, (Log{"node:made", "node:removed"}));
    EXPECT_FALSE(running->isChecked());
    EXPECT_EQ(running->getEditor(), nullptr);
    click(idle);
    click(running);
    EXPECT_EQ(log, (Log{"node:made", "node:removed"}));
    EXPECT_FALSE(idle->isChecked());
    EXPECT_FALSE(running->isChecked());

    // A button made without an editor or a factory is just as inert.
    auto* orphan = new PaletteButtonToTool(&factory, nullptr, "", "orphan");
    auto* empty = new PaletteButtonToTool(nullptr, nullptr, "", "empty");
    palette.initialize({orphan, empty});
    click(orphan);
    click(empty);
    EXPECT_FALSE(orphan->isChecked());
    EXPECT_FALSE(empty->isChecked());
    EXPECT_EQ(log.size(), 2u);
}

TEST(PaletteButtonToToolWithModesTest, MenuListsTheModesAndChoosingOneRunsTheToolInIt) {
    Log log;
    KITE::Test::EditorFixture f;
    ProbeFactory shapes(
        "shape", &log,
        {{"rectangle", resource("BlockIcon.png"), 1}, {"ellipse", "", 2}, {"line", "", 3}});
    Palette palette;
    auto* button = new PaletteButtonToToolWithModes(&shapes, f.editor.get());
    palette.initialize({button});

    EXPECT_EQ(button->getLabel(), "rectangle");
    EXPECT_TRUE(button->getIcon().isValid());
    EXPECT_EQ(button->getPopupMode(), TAVI::GLToolButton2::MenuButtonPopup);
    ASSERT_NE(button->getModesMenu(), nullptr);
    EXPECT_EQ(button->getMenu(), button->getModesMenu());
    EXPECT_EQ(menuLabels(button->getModesMenu()),
              (std::vector<std::string>{"rectangle", "ellipse", "line"}));
    ASSERT_NE(button->getCurrentMode(), nullptr);
    EXPECT_EQ(button->getCurrentMode()->value, 1);

    // Choosing a mode of the unchecked button checks it and starts one tool, in that mode.
    button->getModesMenu()->getActions()[1]->trigger();
    EXPECT_EQ(log, (Log{"shape:made", "shape:mode ellipse"}));
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(button->getLabel(), "ellipse");
    EXPECT_FALSE(button->getIcon().isValid());
    const TAVI::Holder<PaletteTool> tool = button->getTool();
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->getCurrentMode()->value, 2);
    EXPECT_TRUE(f.editor->hasTool(TAVI::Holder<ZEPH::Tool>(tool)));

    // While checked, another mode goes to the running tool.
    button->getModesMenu()->getActions()[2]->trigger();
    EXPECT_EQ(log, (Log{"shape:made", "shape:mode ellipse", "shape:mode line"}));
    EXPECT_EQ(button->getTool(), tool);
    EXPECT_EQ(button->getCurrentMode()->value, 3);
    EXPECT_EQ(button->getLabel(), "line");

    // A new tool starts in the mode last chosen.
    EXPECT_TRUE(f.editor->removeTool(TAVI::Holder<ZEPH::Tool>(tool)));
    EXPECT_FALSE(button->isChecked());
    click(button);
    EXPECT_EQ(log, (Log{"shape:made", "shape:mode ellipse", "shape:mode line", "shape:removed",
                        "shape:made", "shape:mode line"}));
}

TEST(PaletteButtonToToolWithModesTest, OneModeNeedsNoMenuAndNoModeIsNoCrash) {
    Log log;
    KITE::Test::EditorFixture f;
    ProbeFactory single("single", &log, {{"select", resource("BlockIcon.png"), 7}});
    ProbeFactory none("none", &log);
    Palette palette;
    auto* one = new PaletteButtonToToolWithModes(&single, f.editor.get());
    auto* zero = new PaletteButtonToToolWithModes(&none, f.editor.get());
    auto* nothing = new PaletteButtonToToolWithModes(nullptr, f.editor.get());
    palette.initialize({one, zero, nothing});

    EXPECT_EQ(one->getLabel(), "select");
    EXPECT_EQ(one->getModesMenu(), nullptr);
    EXPECT_EQ(one->getMenu(), nullptr);
    EXPECT_EQ(one->getPopupMode(), TAVI::GLToolButton2::DelayedPopup);
    EXPECT_EQ(one->getCurrentMode()->value, 7);
    click(one);
    EXPECT_EQ(log, (Log{"single:made", "single:mode select"}));

    EXPECT_EQ(zero->getLabel(), "");
    EXPECT_EQ(zero->getModesMenu(), nullptr);
    EXPECT_EQ(zero->getCurrentMode(), nullptr);
    click(zero);
    EXPECT_EQ(log, (Log{"single:made", "single:mode select", "single:removed", "none:made",
                        "none:mode none"}));
    EXPECT_TRUE(zero->isChecked());

    click(nothing);
    EXPECT_FALSE(nothing->isChecked());
    EXPECT_EQ(log.size(), 6u);
}

TEST(EditorPaletteTest, EditorOffersTheZoomButtonAndPlacesThePaletteLeftOfTheCanvas) {
    TAVI::ApplicationContext::instance().setRootDirectory(std::string(KITE_SOURCE_DIR) +
                                                          "/resources");
    KITE::Test::EditorFixture f;
    TAVI::GLWidget2* widget = f.editor->getWidget();
    ASSERT_NE(widget, nullptr);
    widget->resize(600, 400);
    widget->show();
    QApplication::processEvents();
    TAVI::GLWidget2* canvas = f.editor->getDefaultFocusWidget();
    const QList<QToolBar*> bars = widget->getQWidget()->findChildren<QToolBar*>();
    ASSERT_EQ(bars.size(), 1);
    auto* bar = static_cast<TAVI::GLToolBar2*>(TAVI::GLWidget2::fromQWidget(bars.front()));
    EXPECT_EQ(bar->getOrientation(), TAVI::GLToolBar2::Vertical);
    EXPECT_EQ(bar->getParent(), canvas->getParent());
    EXPECT_GE(canvas->getPosition().x, bar->getPosition().x + bar->getSize().width);
    EXPECT_GT(canvas->getSize().width, 400); // the canvas takes the room the bar leaves

    // The bar's one button is the zoom button, and it zooms this editor's canvas.
    ASSERT_EQ(bar->getActions().size(), 1u);
    auto* zoom = dynamic_cast<PaletteButtonToTool*>(bar->getButtonFor(bar->getActions().front()));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->getLabel(), "zoom");
    EXPECT_EQ(zoom->getIcon().getFile(), resource("kite/rbBoxZoom.png"));
    EXPECT_TRUE(zoom->getIcon().isValid());
    EXPECT_EQ(zoom->getStyle(), TAVI::GLToolButton2::IconOnly);
    click(zoom);
    ASSERT_TRUE(zoom->getTool().dynamicCast<MarqueeZoomTool>());
    ZEPH::GLCanvas* view = f.editor->getCanvas();
    const double zoomBefore = view->getZoomFactor();
    ZEPH::MouseEvent press({10, 10}, ZEPH::LeftButton, ZEPH::LeftButton, ZEPH::NoModifier, view);
    f.editor->getScene()->handleMousePressEvent(press);
    ZEPH::MouseEvent release({50, 40}, ZEPH::LeftButton, ZEPH::NoButton, ZEPH::NoModifier, view);
    f.editor->getScene()->handleMouseReleaseEvent(release);
    EXPECT_GT(view->getZoomFactor(), zoomBefore * 2);
    EXPECT_FALSE(zoom->isChecked());
    EXPECT_FALSE(f.editor->hasTool(TAVI::StringID("MarqueeZoomTool")));
    widget->hide();
    TAVI::ApplicationContext::instance().setRootDirectory("");

    // The window it was placed in went, and the widget with it: a new one gets a fresh palette.
    delete widget;
    TAVI::GLWidget2* second = f.editor->getWidget();
    ASSERT_NE(second, nullptr);
    std::vector<PaletteButtonToTool*> buttons;
    for (QWidget* child : second->getQWidget()->findChildren<QWidget*>())
        if (auto* button = dynamic_cast<PaletteButtonToTool*>(TAVI::GLWidget2::fromQWidget(child)))
            buttons.push_back(button);
    ASSERT_EQ(buttons.size(), 1u);
    click(buttons.front());
    EXPECT_TRUE(f.editor->hasTool(TAVI::StringID("MarqueeZoomTool")));
}
