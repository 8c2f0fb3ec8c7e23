#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QAction>
#include <QMenu>
#include <QPointer>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace TAVI;
using KiteTest::EventRecorder;

namespace {
std::string imageFile(const char* name) {
    return std::string(KITE_SOURCE_DIR) + "/tests/platform/tavi2/data/" + name;
}
} // namespace

TEST(GLAction2Test, PropertiesReachTheQtAction) {
    GLAction2 action("qt", "Open");
    action.setToolTip("Opens a model");
    action.setIcon(Icon(imageFile("red.png"), 0, 0));
    EXPECT_EQ(action.getLabel(), "Open");
    EXPECT_EQ(action.getToolTip(), "Opens a model");
    EXPECT_EQ(action.getIcon(), Icon(imageFile("red.png"), 0, 0));
    EXPECT_EQ(action.getQAction()->text().toStdString(), "Open");
    EXPECT_FALSE(action.getQAction()->icon().isNull());
    EXPECT_THROW(GLAction2("tk", "x"), TypedException);
}

TEST(GLAction2Test, TriggerSendsOneEventWithTheNewState) {
    GLAction2 action("qt", "Grid");
    EventRecorder<GLActionTriggerEvent2> triggered(action.getTriggerEmitter());
    action.trigger();
    ASSERT_EQ(triggered.size(), 1u);
    EXPECT_EQ(triggered.events[0].action(), &action);
    EXPECT_FALSE(triggered.events[0].isChecked());

    action.setCheckable(true);
    action.trigger();
    action.trigger();
    ASSERT_EQ(triggered.size(), 3u);
    EXPECT_TRUE(triggered.events[1].isChecked());
    EXPECT_FALSE(triggered.events[2].isChecked());

    // Setting the state is not a trigger; a disabled action does not trigger.
    action.setChecked(true);
    action.setEnabled(false);
    action.trigger();
    EXPECT_EQ(triggered.size(), 3u);
}

TEST(GLAction2Test, ActionWithAParentGoesWithIt) {
    auto* panel = new GLPanel2("qt");
    auto* action = new GLAction2("qt", "Cut", panel);
    EventRecorder<GLActionTriggerEvent2> triggered(action->getTriggerEmitter());
    QPointer<QAction> qtAction = action->getQAction();
    delete panel;
    EXPECT_TRUE(qtAction.isNull());
    EXPECT_EQ(triggered.numberOfConnections(), 0);
}

TEST(GLMenu2Test, ItemsInOrderWithSeparatorsAndSubMenus) {
    GLMenu2 menu("qt");
    GLAction2* open = menu.addMenuItem("Open");
    auto* close = new GLAction2("qt", "Close");
    menu.addMenuItem(close);
    menu.addSeparator();
    auto* recent = new GLMenu2("qt");
    recent->setTitle("Recent");
    menu.addSubMenu(recent);

    const std::vector<GLAction2*> actions = menu.getActions();
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0], open);
    EXPECT_EQ(actions[1], close);
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->getLabel(), "Recent");
    EXPECT_EQ(recent->getParent(), &menu);
    EXPECT_THROW(menu.addMenuItem(static_cast<GLAction2*>(nullptr)), TypedException);
    EXPECT_THROW(menu.addSubMenu(&menu), TypedException);

    // A parentless action added to the menu became the menu's.
    EXPECT_EQ(close->getQAction()->parent(), menu.getQWidget());
}

TEST(GLMenu2Test, MenuReportsTriggeredItemsAfterTheirOwnSignal) {
    GLMenu2 menu("qt");
    GLAction2* first = menu.addMenuItem("First");
    GLAction2* second = menu.addMenuItem("Second");
    EventRecorder<GLActionTriggerEvent2> menuEvents(menu.getTriggerEmitter());
    EventRecorder<GLActionTriggerEvent2> secondEvents(second->getTriggerEmitter());
    second->trigger();
    first->trigger();
    ASSERT_EQ(menuEvents.size(), 2u);
    EXPECT_EQ(menuEvents.events[0].action(), second);
    EXPECT_EQ(menuEvents.events[1].action(), first);
    EXPECT_EQ(secondEvents.size(), 1u);
}

TEST(GLMenu2Test, PopupShowsTheMenuAtTheGivenPointWithoutBlocking) {
    GLMenu2 menu("qt");
    menu.addMenuItem("Only");
    menu.popup(120, 80);
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.getGlobalPosition(), (GLPoint<int>{120, 80}));
    menu.hide();
}

TEST(GLMenu2Test, ClearAndDeletionTakeTheMenusOwnItems) {
    GLMenu2 menu("qt");
    GLAction2* item = menu.addMenuItem("Gone");
    QPointer<QAction> qtItem = item->getQAction();
    EventRecorder<GLActionTriggerEvent2> events(item->getTriggerEmitter());
    menu.clear();
    EXPECT_TRUE(menu.getActions().empty());
    EXPECT_TRUE(qtItem.isNull());
    EXPECT_EQ(events.numberOfConnections(), 0);

    auto* owned = new GLMenu2("qt");
    GLAction2* inner = owned->addMenuItem("Inner");
    QPointer<QAction> qtInner = inner->getQAction();
    delete owned;
    EXPECT_TRUE(qtInner.isNull());
}

TEST(GLAction2Test, ActionOfADerivedKindGoesWholeWithItsMenu) {
    // An action that remembers something of its own, as a palette's mode entries do.
    class CountedAction : public GLAction2 {
    public:
        CountedAction(std::vector<std::string>* log, std::string name)
            : GLAction2("qt", name), log(log), name(std::move(name)) {}
        ~CountedAction() override { log->push_back(name + " gone"); }

    private:
        std::vector<std::string>* log;
        std::string name;
    };

    std::vector<std::string> log;
    auto* menu = new GLMenu2("qt");
    menu->addMenuItem(new CountedAction(&log, "rectangle"));
    menu->addMenuItem(new CountedAction(&log, "ellipse"));
    ASSERT_EQ(menu->getActions().size(), 2u);
    delete menu;
    // Qt deletes the actions through the toolkit's base: each one's own destructor still runs.
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"ellipse gone", "rectangle gone"}));
}
