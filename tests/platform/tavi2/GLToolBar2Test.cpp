#include "platform/tavi2/GLToolBar2.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAction2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace TAVI;
using KiteTest::EventRecorder;

TEST(GLToolBar2Test, ActionsBecomeButtonsThatTriggerThem) {
    GLToolBar2 bar("qt");
    auto* zoom = new GLAction2("qt", "Zoom");
    bar.addAction(zoom);
    bar.addSeparator();
    auto* field = new GLPanel2("qt");
    bar.addWidget(field);
    EXPECT_EQ(zoom->getQAction()->parent(), bar.getQWidget());
    const auto actions = bar.getActions();
    ASSERT_EQ(actions.size(), 3u);
    EXPECT_EQ(actions[0], zoom);
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(field->getParent(), &bar);

    EventRecorder<GLActionTriggerEvent2> triggered(zoom->getTriggerEmitter());
    GLWidget2* button = bar.getButtonFor(zoom);
    ASSERT_NE(button, nullptr);
    static_cast<QToolButton*>(button->getQWidget())->click();
    EXPECT_EQ(triggered.size(), 1u);
    EXPECT_EQ(bar.getButtonFor(nullptr), nullptr);
    EXPECT_THROW(bar.addAction(nullptr), TypedException);
    EXPECT_THROW(bar.addWidget(nullptr), TypedException);
}

TEST(GLToolBar2Test, OrientationStyleAndContextMenuSignal) {
    GLToolBar2 bar("qt");
    EXPECT_EQ(bar.getOrientation(), GLToolBar2::Horizontal);
    bar.setOrientation(GLToolBar2::Vertical);
    EXPECT_EQ(bar.getOrientation(), GLToolBar2::Vertical);
    EXPECT_EQ(static_cast<QToolBar*>(bar.getQWidget())->orientation(), Qt::Vertical);
    EXPECT_THROW(bar.setOrientation(2), TypedException);
    EXPECT_THROW(bar.setButtonStyle(7), TypedException);

    EventRecorder<GLContextMenuEvent2> menus(bar.getContextMenuEmitter());
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(3, 4), QPoint(103, 204));
    QApplication::sendEvent(bar.getQWidget(), &request);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus.events[0].globalX(), 103);
    EXPECT_EQ(menus.events[0].globalY(), 204);
    EXPECT_EQ(menus.events[0].widget(), &bar);
}
