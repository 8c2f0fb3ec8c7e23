#include "editor/BasePaletteButtonToTool.hpp"
#include "editor/Palette.hpp"
#include "editor/PaletteObject.hpp"
#include "platform/tavi2/GLDragManager2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLToolBar2.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KITE;
using Log = std::vector<std::string>;

namespace {

std::string resource(const char* name)
{
    return std::string(KITE_SOURCE_DIR) + "/resources/toolbox/shared/orbis/resources/" + name;
}

const TAVI::Color red(1.0, 0.0, 0.0, 1.0);

// Writes "name:what" for each hook the base button calls.
class RecordingButton : public BasePaletteButtonToTool {
public:
    RecordingButton(const std::string& name, Log* log, const std::string& label = std::string())
        : BasePaletteButtonToTool(resource("kite/rbBoxZoom.png"), label), name(name), log(log)
    {
    }
    bool keepOnDoubleClick = true;
    bool checkOnDragOut = false;

protected:
    void toggleOn() override { log->push_back(name + ":on"); }
    void toggleOff() override { log->push_back(name + ":off"); }
    bool doubleClick() override
    {
        log->push_back(name + ":doubleClick");
        return keepOnDoubleClick;
    }
    bool dragOut() override
    {
        log->push_back(name + ":dragOut");
        return checkOnDragOut;
    }

private:
    std::string name;
    Log* log;
};

void sendMouse(TAVI::GLWidget2* widget, QEvent::Type type)
{
    const QPointF at(4, 4);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->getQWidget()->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget->getQWidget(), &event);
}

void click(TAVI::GLWidget2* widget)
{
    sendMouse(widget, QEvent::MouseButtonPress);
    sendMouse(widget, QEvent::MouseButtonRelease);
}

// What the window system delivers for a double click: the second press comes with a
// double-click event before its release.
void doubleClick(TAVI::GLWidget2* widget)
{
    click(widget);
    sendMouse(widget, QEvent::MouseButtonPress);
    sendMouse(widget, QEvent::MouseButtonDblClick);
    sendMouse(widget, QEvent::MouseButtonRelease);
}

void leave(TAVI::GLWidget2* widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget->getQWidget(), &event);
}

void requestContextMenu(Palette& palette)
{
    QWidget* bar = palette.getWidget()->getQWidget();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), bar->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(bar, &event);
}

std::vector<std::string> menuLabels(TAVI::GLMenu2* menu)
{
    std::vector<std::string> labels;
    for (TAVI::GLAction2* action : menu->getActions())
        labels.push_back(action->getLabel());
    return labels;
}

void runDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(PaletteTest, LaysOutItsWidgetsInOrderInAVerticalBar)
{
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
    EXPECT_EQ(zoom->getStyle(), TAVI::GLToolButton2::IconOnly);
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
}

TEST(PaletteTest, ContextMenuShowsAndHidesTheButtonNames)
{
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
    EXPECT_EQ(select->getLabel(), "select");
    // The menu goes once its entry is handled.
    EXPECT_EQ(palette.getContextMenu(), nullptr);
    runDeferredDeletes();
    EXPECT_TRUE(shown.isNull());

    requestContextMenu(palette);
    ASSERT_NE(palette.getContextMenu(), nullptr);
    EXPECT_EQ(menuLabels(palette.getContextMenu()), (std::vector<std::string>{"hide names"}));
    palette.getContextMenu()->getActions().front()->trigger();
    EXPECT_FALSE(palette.isShowingNames());
    EXPECT_EQ(select->getStyle(), TAVI::GLToolButton2::IconOnly);
    EXPECT_EQ(zoom->getStyle(), TAVI::GLToolButton2::IconOnly);
    // Showing names changed nothing else.
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(select->isChecked());
}

TEST(PaletteTest, PaletteThatOutlivesItsBarStaysUsable)
{
    Log log;
    Palette palette;
    palette.initialize({new RecordingButton("select", &log)});
    requestContextMenu(palette);
    delete palette.getWidget();
    EXPECT_EQ(palette.getWidget(), nullptr);
    EXPECT_EQ(palette.getContextMenu(), nullptr);
    EXPECT_TRUE(palette.getPaletteWidgets().empty());
}

TEST(BasePaletteButtonToToolTest, ButtonIsACheckableExclusiveIconAndLabel)
{
    Log log;
    RecordingButton zoom("zoom", &log, "zoom");
    EXPECT_TRUE(zoom.isCheckable());
    EXPECT_TRUE(zoom.isExclusive());
    EXPECT_FALSE(zoom.isChecked());
    EXPECT_EQ(zoom.getStyle(), TAVI::GLToolButton2::TextBesideIcon);
    EXPECT_EQ(zoom.getLabel(), "zoom");
    EXPECT_TRUE(zoom.getIcon().isValid());
    EXPECT_EQ(zoom.defaultForegroundColor(), zoom.getColor(TAVI::GLWidget2::ForegroundColor));
    EXPECT_EQ(zoom.persistentColor(), red);

    // An empty label keeps the toolkit's own.
    RecordingButton unnamed("unnamed", &log);
    EXPECT_EQ(unnamed.getLabel(), "");
    EXPECT_TRUE(log.empty());
}

TEST(BasePaletteButtonToToolTest, CheckingAnotherButtonEndsTheFirstBeforeStartingTheSecond)
{
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

TEST(BasePaletteButtonToToolTest, DoubleClickKeepsTheButtonCheckedAndRed)
{
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

TEST(BasePaletteButtonToToolTest, DoubleClickThatTheHookDeclinesLeavesTheColour)
{
    Log log;
    Palette palette;
    auto* zoom = new RecordingButton("zoom", &log);
    zoom->keepOnDoubleClick = false;
    palette.initialize({zoom});
    const TAVI::Color original = zoom->getColor(TAVI::GLWidget2::ForegroundColor);
    doubleClick(zoom);
    EXPECT_EQ(log, (Log{"zoom:on", "zoom:doubleClick"}));
    EXPECT_TRUE(zoom->isChecked());
    EXPECT_EQ(zoom->getColor(TAVI::GLWidget2::ForegroundColor), original);
}

TEST(BasePaletteButtonToToolTest, DraggingOutOfThePressedButtonChecksItWhenTheHookSaysSo)
{
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

TEST(PaletteObjectTest, LeftPressDragsItsTypeNameAsFormatAndValue)
{
    PaletteObject block(resource("BlockIcon.png"), "Block");
    EXPECT_EQ(block.getTypeName(), "Block");
    EXPECT_EQ(block.getFile(), resource("BlockIcon.png"));
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
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(4, 4), QPointF(4, 4), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QApplication::sendEvent(block.getQWidget(), &right);
    EXPECT_EQ(drags().size(), 1);
}

TEST(PaletteObjectTest, ObjectWithoutTypeNameOrIconIsInert)
{
    PaletteObject nameless(resource("missing.png"), "");
    EXPECT_EQ(nameless.getFile(), "");
    // The toolkit refuses a drag without data; the object must not try one.
    sendMouse(&nameless, QEvent::MouseButtonPress);
    EXPECT_TRUE(nameless.getQWidget()->findChildren<QDrag*>().isEmpty());
    EXPECT_FALSE(TAVI::GLDragManager2::isDragging());
}
