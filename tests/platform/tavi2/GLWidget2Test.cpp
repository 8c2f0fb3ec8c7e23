#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

using namespace TAVI;
using KiteTest::EventRecorder;

namespace {

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      modifiers);
    QApplication::sendEvent(target, &event);
}

void sendKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(GLWidget2Test, OnlyTheQtToolkitMakesWidgetsAndForeignOnesAreWrappedOnce) {
    EXPECT_THROW(GLPanel2("motif"), TypedException);
    std::unique_ptr<GLPanel2> panel(new GLPanel2("QT"));
    EXPECT_NE(panel->getQWidget(), nullptr);
    EXPECT_EQ(GLWidget2::fromQWidget(panel->getQWidget()), panel.get());
    // A foreign widget is adopted once, and goes with its wrapper.
    auto* foreign = new QWidget;
    GLWidget2* wrapped = GLWidget2::wrap(foreign);
    EXPECT_EQ(GLWidget2::wrap(foreign), wrapped);
    EXPECT_EQ(wrapped->getQWidget(), foreign);
    EXPECT_THROW(GLWidget2::wrap(nullptr), TypedException);
    QPointer<QWidget> guard = foreign;
    delete wrapped;
    EXPECT_TRUE(guard.isNull());
}

TEST(GLWidget2Test, WidgetAndItsQtWidgetLiveAndDieTogether) {
    // Deleting the toolkit widget takes its Qt widget and the children with it.
    auto* parent = new GLPanel2("qt");
    auto* child = new GLPanel2("qt", parent);
    EXPECT_EQ(child->getParent(), parent);
    QPointer<QWidget> parentWidget = parent->getQWidget();
    QPointer<QWidget> childWidget = child->getQWidget();
    delete parent;
    EXPECT_TRUE(parentWidget.isNull());
    EXPECT_TRUE(childWidget.isNull());

    // Qt deleting the widget takes the toolkit object: its emitters drop their connections.
    auto* other = new GLPanel2("qt");
    EventRecorder<GLWidgetEvent2> recorder(other->getWidgetEventEmitter());
    ASSERT_EQ(recorder.numberOfConnections(), 1);
    delete other->getQWidget();
    EXPECT_EQ(recorder.numberOfConnections(), 0);
}

TEST(GLWidget2Test, DestroyHidesAtOnceAndDeletesLater) {
    auto* panel = new GLPanel2("qt");
    panel->show();
    QPointer<QWidget> widget = panel->getQWidget();
    panel->destroy();
    ASSERT_FALSE(widget.isNull());
    EXPECT_FALSE(widget->isVisible());
    processDeferredDeletes();
    EXPECT_TRUE(widget.isNull());
}

TEST(GLWidget2Test, ParentsDecideVisibilityAndPlace) {
    GLPanel2 top("qt");
    top.resize(200, 100);
    top.move(100, 50);
    auto* child = new GLPanel2("qt", &top);
    child->move(10, 20);
    EXPECT_FALSE(child->isVisible());
    top.show();
    EXPECT_TRUE(child->isVisible());
    child->hide();
    EXPECT_FALSE(child->isVisible());
    EXPECT_TRUE(child->isHidden());
    child->show();
    const GLPoint<int> topLeft = top.getGlobalPosition();
    EXPECT_EQ(child->getGlobalPosition(), (GLPoint<int>{topLeft.x + 10, topLeft.y + 20}));
    EXPECT_EQ(child->mapToGlobal({5, 5}), (GLPoint<int>{topLeft.x + 15, topLeft.y + 25}));
    top.hide();
    EXPECT_FALSE(child->isVisible());
    EXPECT_FALSE(child->isHidden());

    // Another parent takes the Qt widget along; a widget cannot be its own.
    GLPanel2 other("qt");
    child->setParent(&other);
    EXPECT_EQ(child->getParent(), &other);
    EXPECT_EQ(child->getQWidget()->parentWidget(), other.getQWidget());
    EXPECT_THROW(child->setParent(child), TypedException);
}

TEST(GLWidget2Test, ColoursByRoleAndBackToDefault) {
    GLPanel2 panel("qt");
    const Color original = panel.getColor(GLWidget2::BackgroundColor);
    panel.setColor(GLWidget2::BackgroundColor, Color(1.0, 0.0, 0.0));
    EXPECT_EQ(panel.getColor(GLWidget2::BackgroundColor), Color(1.0, 0.0, 0.0));
    // Other roles keep theirs.
    EXPECT_NE(panel.getColor(GLWidget2::TextColor), Color(1.0, 0.0, 0.0));
    panel.setColor(GLWidget2::BackgroundColor, Color(Color::Default));
    EXPECT_EQ(panel.getColor(GLWidget2::BackgroundColor), original);
    EXPECT_THROW(panel.setColor(99, Color(0.0, 0.0, 0.0)), TypedException);
    EXPECT_THROW(panel.getColor(-1), TypedException);
}

TEST(GLWidget2Test, SizeLimitsAndAdjustSize) {
    GLPanel2 panel("qt");
    panel.setMinimumSize(40, 30);
    panel.setMaximumSize(400, 300);
    EXPECT_EQ(panel.getMinimumSize(), (Size{40, 30}));
    EXPECT_EQ(panel.getMaximumSize(), (Size{400, 300}));
    panel.resize(1000, 1000);
    EXPECT_EQ(panel.getSize(), (Size{400, 300}));
    panel.resize(1, 1);
    EXPECT_EQ(panel.getSize(), (Size{40, 30}));

    // adjustSize fits a laid-out widget around its children's minimum.
    GLPanel2 box("qt");
    auto* layout = new GLBoxLayout2(GLBoxLayout2::TopToBottom);
    box.setLayout(layout);
    auto* inner = new GLPanel2("qt");
    inner->setMinimumSize(120, 80);
    layout->addWidget(inner);
    box.resize(1, 1);
    box.adjustSize();
    EXPECT_GE(box.getSize().width, 120);
    EXPECT_GE(box.getSize().height, 80);
}

TEST(GLWidget2Test, MouseKeyAndContextMenuEventsCarryQtValues) {
    GLPanel2 panel("qt");
    panel.resize(100, 100);
    panel.show();
    EventRecorder<GLMouseEvent2> presses(panel.getMousePressEmitter());
    EventRecorder<GLMouseEvent2> releases(panel.getMouseReleaseEmitter());
    EventRecorder<GLKeyEvent2> keys(panel.getKeyPressEmitter());
    EventRecorder<GLContextMenuEvent2> menus(panel.getContextMenuEmitter());

    sendMouse(panel.getQWidget(), QEvent::MouseButtonPress, QPoint(10, 20), Qt::LeftButton,
              Qt::ShiftModifier);
    sendMouse(panel.getQWidget(), QEvent::MouseButtonRelease, QPoint(10, 20), Qt::LeftButton);
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses.events[0].button(), GLMouseButton2::Left);
    EXPECT_EQ(presses.events[0].modifiers(), GLModifier2::Shift);
    EXPECT_EQ(presses.events[0].pos(), (GLPoint<int>{10, 20}));
    EXPECT_EQ(presses.events[0].globalPos(), panel.mapToGlobal({10, 20}));
    EXPECT_EQ(presses.events[0].widget(), &panel);
    EXPECT_EQ(releases.size(), 1u);

    sendKey(panel.getQWidget(), Qt::Key_Escape);
    sendKey(panel.getQWidget(), Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys.events[0].key(), 0x01000000);
    EXPECT_EQ(keys.events[1].key(), 0x01000007);
    EXPECT_EQ(keys.events[1].modifiers(), 0x4000000);

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(30, 40), QPoint(330, 440));
    QApplication::sendEvent(panel.getQWidget(), &menu);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus.events[0].globalX(), 330);
    EXPECT_EQ(menus.events[0].globalY(), 440);
    EXPECT_EQ(menus.events[0].pos(), (GLPoint<int>{30, 40}));
}

TEST(GLWidget2Test, WidgetEventsReportShowHideAndResize) {
    GLPanel2 panel("qt");
    EventRecorder<GLWidgetEvent2> events(panel.getWidgetEventEmitter());
    panel.show();
    ASSERT_FALSE(events.events.empty());
    EXPECT_EQ(events.events.back().type(), GLWidgetEvent2::Shown);
    events.events.clear();

    panel.resize(70, 80);
    panel.hide();
    std::vector<GLWidgetEvent2::Type> types;
    for (const GLWidgetEvent2& event : events.events) {
        types.push_back(event.type());
        EXPECT_EQ(event.widget(), &panel);
    }
    EXPECT_EQ(types,
              (std::vector<GLWidgetEvent2::Type>{GLWidgetEvent2::Resized, GLWidgetEvent2::Hidden}));
}
