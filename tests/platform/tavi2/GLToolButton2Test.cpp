#include "platform/tavi2/GLToolButton2.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLButton2.hpp"
#include "platform/tavi2/GLButtonGroup2.hpp"
#include "platform/tavi2/GLCheckBox2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QApplication>
#include <QEnterEvent>
#include <QPointer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <utility>

using namespace TAVI;
using KiteTest::EventRecorder;

namespace {

std::string imageFile(const char* name) {
    return std::string(KITE_SOURCE_DIR) + "/tests/platform/tavi2/data/" + name;
}

// (button, checked) pairs in the order the toggles arrived.
template <class Recorder>
std::vector<std::pair<GLWidget2*, bool>> toggles(const Recorder& recorder) {
    std::vector<std::pair<GLWidget2*, bool>> result;
    for (const GLButtonToggleEvent2& event : recorder.events)
        result.emplace_back(event.button(), event.isChecked());
    return result;
}

} // namespace

TEST(GLToolButton2Test, ExclusiveGroupKeepsOneButtonChecked) {
    GLPanel2 palette("qt");
    auto* select = new GLToolButton2("qt", &palette);
    auto* rectangle = new GLToolButton2("qt", &palette);
    auto* group = new GLButtonGroup2(&palette);
    group->addButton(select);
    group->addButton(rectangle);
    EXPECT_TRUE(select->isCheckable());
    EXPECT_EQ(group->getCheckedButton(), nullptr);

    EventRecorder<GLButtonToggleEvent2> selectToggles(select->getToggleEmitter());
    EventRecorder<GLButtonToggleEvent2> rectangleToggles(rectangle->getToggleEmitter());
    EventRecorder<GLButtonClickEvent2> rectangleClicks(rectangle->getClickEmitter());

    select->click();
    EXPECT_EQ(group->getCheckedButton(), select);
    rectangle->click();
    EXPECT_EQ(group->getCheckedButton(), rectangle);
    EXPECT_FALSE(select->isChecked());
    EXPECT_EQ(toggles(selectToggles),
              (std::vector<std::pair<GLWidget2*, bool>>{{select, true}, {select, false}}));
    EXPECT_EQ(toggles(rectangleToggles),
              (std::vector<std::pair<GLWidget2*, bool>>{{rectangle, true}}));
    ASSERT_EQ(rectangleClicks.size(), 1u);
    EXPECT_EQ(rectangleClicks.events[0].button(), rectangle);

    // Clicking the checked button of an exclusive group leaves it checked.
    rectangle->click();
    EXPECT_TRUE(rectangle->isChecked());
    EXPECT_EQ(rectangleToggles.size(), 1u);
    EXPECT_EQ(rectangleClicks.size(), 2u);

    // Not exclusive: buttons check independently.
    group->setExclusive(false);
    select->click();
    EXPECT_TRUE(select->isChecked());
    EXPECT_TRUE(rectangle->isChecked());
    EXPECT_EQ(group->getButtons(), (std::vector<GLAbstractButton2*>{select, rectangle}));
}

TEST(GLToolButton2Test, ExclusiveSiblingsWithoutAGroup) {
    GLPanel2 palette("qt");
    auto* first = new GLToolButton2("qt", &palette);
    auto* second = new GLToolButton2("qt", &palette);
    GLPanel2 elsewhere("qt");
    auto* other = new GLToolButton2("qt", &elsewhere);
    for (GLToolButton2* button : {first, second, other}) {
        button->setCheckable(true);
        button->setExclusive(true);
    }
    EventRecorder<GLButtonToggleEvent2> firstToggles(first->getToggleEmitter());
    first->click();
    other->click();
    second->click();
    EXPECT_FALSE(first->isChecked());
    EXPECT_TRUE(second->isChecked());
    // A button under another parent is not a sibling.
    EXPECT_TRUE(other->isChecked());
    EXPECT_EQ(toggles(firstToggles),
              (std::vector<std::pair<GLWidget2*, bool>>{{first, true}, {first, false}}));
    EXPECT_TRUE(first->isExclusive());
}

TEST(GLToolButton2Test, PointerComingAndGoingIsReported) {
    GLToolButton2 button("qt");
    button.show();
    EventRecorder<GLWidgetEvent2> events(button.getWidgetEventEmitter());
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(button.getQWidget(), &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(button.getQWidget(), &leave);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events.events[0].type(), GLWidgetEvent2::Entered);
    EXPECT_EQ(events.events[1].type(), GLWidgetEvent2::Left);
}

TEST(GLToolButton2Test, DestroyedButtonLeavesItsGroup) {
    GLPanel2 palette("qt");
    auto* first = new GLToolButton2("qt", &palette);
    auto* second = new GLToolButton2("qt", &palette);
    GLButtonGroup2 group;
    group.addButton(first);
    group.addButton(second);
    first->click();
    delete first;
    EXPECT_EQ(group.getButtons(), (std::vector<GLAbstractButton2*>{second}));
    EXPECT_EQ(group.getCheckedButton(), nullptr);
    EXPECT_THROW(group.addButton(nullptr), TypedException);
}

TEST(GLToolButton2Test, StylesShowIconTextOrBoth) {
    GLToolButton2 button("qt");
    button.setIcon(Icon(imageFile("red.png"), 0, 0));
    button.setLabel("Rectangle tool with a long name");
    button.setIconSize(16, 16);

    button.setStyle(GLToolButton2::IconOnly);
    EXPECT_EQ(button.getStyle(), 0);
    const int iconOnlyWidth = button.getSizeHint().width;
    button.setStyle(GLToolButton2::TextBesideIcon);
    EXPECT_EQ(button.getStyle(), 2);
    EXPECT_EQ(static_cast<QToolButton*>(button.getQWidget())->toolButtonStyle(),
              Qt::ToolButtonTextBesideIcon);
    // The label now takes room beside the icon.
    EXPECT_GT(button.getSizeHint().width, iconOnlyWidth + 50);
    EXPECT_EQ(button.getIconSize(), (Size{16, 16}));
    EXPECT_EQ(button.getIcon(), Icon(imageFile("red.png"), 0, 0));
    EXPECT_THROW(button.setStyle(4), TypedException);
    EXPECT_THROW(button.setStyle(-1), TypedException);
}

TEST(GLToolButton2Test, ForegroundColourColoursTheLabel) {
    GLToolButton2 button("qt");
    const Color original = button.getColor(GLWidget2::ButtonTextColor);
    button.setColor(GLWidget2::ForegroundColor, Color(1.0, 0.0, 0.0, 1.0));
    EXPECT_EQ(button.getColor(GLWidget2::ButtonTextColor), Color(1.0, 0.0, 0.0, 1.0));
    EXPECT_EQ(button.getColor(GLWidget2::ForegroundColor), Color(1.0, 0.0, 0.0, 1.0));
    // A colour without components gives the label its own colour back.
    button.setColor(GLWidget2::ForegroundColor, Color(Color::Default));
    EXPECT_EQ(button.getColor(GLWidget2::ButtonTextColor), original);
}

TEST(GLToolButton2Test, PopupMenuModeAndMenuOwnership) {
    auto* button = new GLToolButton2("qt");
    auto* menu = new GLMenu2("qt");
    menu->addMenuItem("Rectangle");
    button->setMenu(menu);
    button->setPopupMode(GLToolButton2::InstantPopup);
    EXPECT_EQ(button->getMenu(), menu);
    EXPECT_EQ(button->getPopupMode(), 2);
    EXPECT_EQ(static_cast<QToolButton*>(button->getQWidget())->popupMode(),
              QToolButton::InstantPopup);
    EXPECT_THROW(button->setPopupMode(3), TypedException);

    QPointer<QWidget> qtMenu = menu->getQWidget();
    delete button;
    EXPECT_TRUE(qtMenu.isNull());
}

TEST(GLToolButton2Test, DefaultActionDrivesTheButton) {
    GLToolButton2 button("qt");
    auto* action = new GLAction2("qt", "Zoom", &button);
    action->setToolTip("Zoom in");
    action->setCheckable(true);
    button.setDefaultAction(action);
    EventRecorder<GLActionTriggerEvent2> triggered(action->getTriggerEmitter());
    EXPECT_EQ(button.getDefaultAction(), action);
    EXPECT_EQ(button.getLabel(), "Zoom");
    EXPECT_EQ(button.getToolTip(), "Zoom in");
    button.click();
    ASSERT_EQ(triggered.size(), 1u);
    EXPECT_TRUE(triggered.events[0].isChecked());
    EXPECT_TRUE(button.isChecked());
}

TEST(GLButton2Test, PushButtonAndCheckBoxSignals) {
    GLButton2 ok("qt", "OK");
    EventRecorder<GLButtonClickEvent2> clicks(ok.getClickEmitter());
    ok.click();
    ok.setEnabled(false);
    ok.click();
    EXPECT_EQ(clicks.size(), 1u);
    EXPECT_EQ(ok.getLabel(), "OK");

    GLCheckBox2 box("qt", "Snap to grid");
    EventRecorder<GLButtonToggleEvent2> toggled(box.getToggleEmitter());
    box.setChecked(true);
    box.setChecked(true); // no change, no signal
    box.click();
    EXPECT_EQ(toggles(toggled),
              (std::vector<std::pair<GLWidget2*, bool>>{{&box, true}, {&box, false}}));
    EXPECT_THROW(GLCheckBox2("gtk"), TypedException);
}
