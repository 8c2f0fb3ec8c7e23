#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLGridLayout2.hpp"
#include "platform/tavi2/GLPanel2.hpp"

#include <QLayout>
#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

using namespace TAVI;

namespace {

// Lays out a shown top-level panel at a fixed size, so children get their places.
void layOut(GLPanel2& panel, int width, int height) {
    panel.resize(width, height);
    panel.show();
    panel.getQWidget()->layout()->activate();
}

} // namespace

TEST(GLLayout2Test, BoxDirectionsPlaceWidgetsInRowsAndColumns) {
    struct Case {
        int direction;
        bool secondBelow; // the second widget is below the first
        bool secondRight; // the second widget is right of the first
        bool secondLeft;
    };
    for (const Case& c : {Case{GLBoxLayout2::LeftToRight, false, true, false},
                          Case{GLBoxLayout2::RightToLeft, false, false, true},
                          Case{GLBoxLayout2::TopToBottom, true, false, false}}) {
        SCOPED_TRACE(c.direction);
        GLPanel2 panel("qt");
        auto* layout = new GLBoxLayout2(c.direction);
        panel.setLayout(layout);
        auto* first = new GLPanel2("qt");
        auto* second = new GLPanel2("qt");
        layout->addWidget(first, 1);
        layout->addWidget(second, 1);
        EXPECT_EQ(first->getParent(), &panel);
        layOut(panel, 200, 200);
        EXPECT_EQ(second->getPosition().y > first->getPosition().y, c.secondBelow);
        EXPECT_EQ(second->getPosition().x > first->getPosition().x, c.secondRight);
        EXPECT_EQ(second->getPosition().x < first->getPosition().x, c.secondLeft);
        EXPECT_EQ(layout->getDirection(), c.direction);
    }
    EXPECT_THROW(GLBoxLayout2(4), TypedException);
    EXPECT_THROW(GLBoxLayout2(-1), TypedException);
}

TEST(GLLayout2Test, StretchSharesSpareRoomAndAlignmentKeepsNaturalSize) {
    GLPanel2 panel("qt");
    auto* layout = new GLBoxLayout2(GLBoxLayout2::LeftToRight);
    layout->setMargin(0);
    layout->setSpacing(0);
    panel.setLayout(layout);
    auto* narrow = new GLPanel2("qt");
    auto* wide = new GLPanel2("qt");
    auto* aligned = new GLPanel2("qt");
    aligned->setFixedSize(10, 10);
    layout->addWidget(narrow, 1);
    layout->addWidget(wide, 3);
    layout->addWidget(aligned, 0, Qt::AlignTop);
    layOut(panel, 410, 100);
    EXPECT_EQ(narrow->getSize().width, 100);
    EXPECT_EQ(wide->getSize().width, 300);
    EXPECT_EQ(aligned->getPosition().y, 0);
    EXPECT_EQ(aligned->getSize(), (Size{10, 10}));
    EXPECT_EQ(layout->count(), 3);
    EXPECT_EQ(layout->getMargin(), 0);
    EXPECT_EQ(layout->getSpacing(), 0);
}

TEST(GLLayout2Test, GridPlacesWidgetsInCellsWithSpans) {
    GLPanel2 panel("qt");
    auto* grid = new GLGridLayout2;
    grid->setMargin(0);
    grid->setSpacing(0);
    panel.setLayout(grid);
    auto* topLeft = new GLPanel2("qt");
    auto* topRight = new GLPanel2("qt");
    auto* bottom = new GLPanel2("qt");
    grid->addWidget(topLeft, 0, 0);
    grid->addWidget(topRight, 0, 1);
    grid->addWidget(bottom, 1, 0, 1, 2);
    layOut(panel, 200, 200);
    EXPECT_EQ(grid->getRowCount(), 2);
    EXPECT_EQ(grid->getColumnCount(), 2);
    EXPECT_EQ(grid->getWidgetAt(0, 1), topRight);
    EXPECT_EQ(grid->getWidgetAt(1, 1), bottom);
    EXPECT_GT(topRight->getPosition().x, topLeft->getPosition().x);
    EXPECT_EQ(bottom->getSize().width, 200);
    EXPECT_THROW(grid->addWidget(new GLPanel2("qt", &panel), -1, 0), TypedException);
    EXPECT_THROW(grid->addWidget(topLeft, 0, 0, 0, 1), TypedException);
    EXPECT_THROW(grid->addWidget(nullptr, 0, 0), TypedException);
}

TEST(GLLayout2Test, LayoutsBelongToWhatTheyAreSetOn) {
    auto* panel = new GLPanel2("qt");
    auto* outer = new GLBoxLayout2(GLBoxLayout2::TopToBottom);
    auto* inner = new GLGridLayout2;
    outer->addLayout(inner);
    EXPECT_TRUE(inner->isInUse());
    EXPECT_THROW(outer->addLayout(inner), TypedException);
    EXPECT_THROW(outer->addLayout(outer), TypedException);
    panel->setLayout(outer);
    EXPECT_EQ(panel->getLayout(), outer);

    // The same layout on a second widget is refused.
    GLPanel2 other("qt");
    EXPECT_THROW(other.setLayout(outer), TypedException);

    // Replacing a widget's layout deletes the old one with its nested layouts.
    QPointer<QLayout> outerQt = outer->getQLayout();
    QPointer<QLayout> innerQt = inner->getQLayout();
    panel->setLayout(new GLBoxLayout2(GLBoxLayout2::LeftToRight));
    EXPECT_TRUE(outerQt.isNull());
    EXPECT_TRUE(innerQt.isNull());
    EXPECT_EQ(panel->getLayout()->getQLayout(), panel->getQWidget()->layout());

    QPointer<QLayout> current = panel->getLayout()->getQLayout();
    delete panel;
    EXPECT_TRUE(current.isNull());
}
