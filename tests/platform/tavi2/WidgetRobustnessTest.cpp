#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLBoxLayout2.hpp"
#include "platform/tavi2/GLGridLayout2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/GLToolBar2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QTreeView>
#include <QWidget>

#include <climits>
#include <functional>
#include <string>
#include <utility>

#include <gtest/gtest.h>

using namespace TAVI;

namespace {

class ViewModel : public GLAbstractViewModel2 {};

// Runs a function for each event an emitter sends.
template <class E> class Handler : public NIMB::Listener {
public:
    Handler(NIMB::Emitter<E>& emitter, std::function<void(const E&)> run) : run(std::move(run)) {
        new NIMB::ConnectionImpl1<Handler, E>(this, emitter, nullptr, &Handler::handle);
    }

private:
    void handle(const E& event) { run(event); }
    std::function<void(const E&)> run;
};

// The message of the TypedException that call throws; empty when it throws none.
template <typename Call> std::string thrownMessage(Call call) {
    try {
        call();
    } catch (const TypedException& error) {
        return error.what();
    }
    return {};
}

} // namespace

TEST(WidgetRobustnessTest, NoWidgetBecomesItsOwnAncestor) {
    GLPanel2 top("qt");
    auto* child = new GLPanel2("qt", &top);
    auto* grandChild = new GLPanel2("qt", child);

    EXPECT_NE(thrownMessage([&] { top.setParent(grandChild); }).find("GLWidget2::setParent"),
              std::string::npos);
    EXPECT_THROW(child->setParent(grandChild), TypedException);
    // Nothing moved: the tree is as it was and can still be walked up.
    EXPECT_EQ(top.getParent(), nullptr);
    EXPECT_EQ(child->getParent(), &top);
    EXPECT_EQ(grandChild->getParent(), child);
    // Moving a widget into a sibling's subtree is fine.
    auto* sibling = new GLPanel2("qt", &top);
    grandChild->setParent(sibling);
    EXPECT_EQ(grandChild->getParent(), sibling);

    // Views and tool bars put the widgets they are given inside themselves.
    Holder<ViewModel> model(new ViewModel);
    const unsigned column = model->appendColumns(1).front();
    const unsigned row = model->appendRow(0);
    auto* view = new GLTreeView2("qt", child);
    view->setModel(model);
    EXPECT_NE(thrownMessage([&] {
                  view->setCellWidget(row, column, &top);
              }).find("GLAbstractView2::setCellWidget"),
              std::string::npos);
    EXPECT_THROW(view->setCellWidget(row, column, view), TypedException);
    EXPECT_NE(thrownMessage([&] {
                  view->setEditor(row, column, child);
              }).find("GLAbstractView2::setEditor"),
              std::string::npos);
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(view->getCellWidget(row, column), nullptr);
    auto* bar = new GLToolBar2("qt", sibling);
    EXPECT_NE(thrownMessage([&] { bar->addWidget(sibling); }).find("GLToolBar2::addWidget"),
              std::string::npos);
    EXPECT_TRUE(bar->getActions().empty());
    EXPECT_EQ(top.getParent(), nullptr);
    EXPECT_EQ(sibling->getParent(), &top);

    // Menus are windows of their own, but still children of the menus that hold them.
    GLMenu2 menu("qt");
    auto* sub = new GLMenu2("qt");
    auto* subSub = new GLMenu2("qt");
    menu.addSubMenu(sub);
    sub->addSubMenu(subSub);
    EXPECT_NE(thrownMessage([&] { subSub->addSubMenu(&menu); }).find("GLMenu2::addSubMenu"),
              std::string::npos);
    EXPECT_THROW(subSub->addSubMenu(sub), TypedException);
    EXPECT_EQ(menu.getQWidget()->parentWidget(), nullptr);
    EXPECT_TRUE(subSub->getActions().empty());
}

TEST(WidgetRobustnessTest, LayoutsRefuseTheWidgetTheyLayOutAndThoseHoldingIt) {
    GLPanel2 top("qt");
    auto* panel = new GLPanel2("qt", &top);
    auto* box = new GLBoxLayout2(GLBoxLayout2::TopToBottom);
    panel->setLayout(box);
    EXPECT_NE(thrownMessage([&] { box->addWidget(panel); }).find("GLBoxLayout2::addWidget"),
              std::string::npos);
    EXPECT_THROW(box->addWidget(&top), TypedException);
    auto* grid = new GLGridLayout2;
    box->addLayout(grid);
    EXPECT_NE(thrownMessage([&] { grid->addWidget(&top, 0, 0); }).find("GLGridLayout2::addWidget"),
              std::string::npos);
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(grid->count(), 0);

    // Nor may a layout holding them be nested in it, or set on the widget.
    auto* holding = new GLBoxLayout2(GLBoxLayout2::TopToBottom);
    holding->addWidget(&top);
    EXPECT_NE(thrownMessage([&] { box->addLayout(holding); }).find("GLBoxLayout2::addLayout"),
              std::string::npos);
    GLPanel2 inner("qt", panel);
    EXPECT_NE(thrownMessage([&] { inner.setLayout(holding); }).find("GLWidget2::setLayout"),
              std::string::npos);
    EXPECT_EQ(top.getParent(), nullptr);
    EXPECT_EQ(panel->getParent(), &top);
    delete holding;
}

TEST(WidgetRobustnessTest, LayoutsCannotBeNestedInsideThemselves) {
    GLBoxLayout2 outer(GLBoxLayout2::TopToBottom);
    auto* middle = new GLGridLayout2;
    auto* inner = new GLBoxLayout2(GLBoxLayout2::LeftToRight);
    outer.addLayout(middle);
    middle->addLayout(inner, 0, 0);

    EXPECT_NE(thrownMessage([&] { inner->addLayout(&outer); }).find("GLBoxLayout2::addLayout"),
              std::string::npos);
    EXPECT_NE(
        thrownMessage([&] { middle->addLayout(&outer, 1, 0); }).find("GLGridLayout2::addLayout"),
        std::string::npos);
    EXPECT_EQ(inner->count(), 0);
    EXPECT_EQ(middle->count(), 1);
    EXPECT_FALSE(outer.isInUse());
}

TEST(WidgetRobustnessTest, GridRowsAndColumnsOutsideTheIntRangeAreRefused) {
    GLGridLayout2 grid;
    GLPanel2 cell("qt");
    grid.addWidget(&cell, 1, 1);
    EXPECT_NE(
        thrownMessage([&] { grid.setRowStretch(-1, 2); }).find("GLGridLayout2::setRowStretch"),
        std::string::npos);
    EXPECT_NE(thrownMessage([&] {
                  grid.setColumnStretch(-3, 2);
              }).find("GLGridLayout2::setColumnStretch"),
              std::string::npos);
    // A cell whose far edge is past the last int row or column.
    GLPanel2 far("qt");
    EXPECT_NE(
        thrownMessage([&] { grid.addWidget(&far, INT_MAX, 0); }).find("GLGridLayout2::addWidget"),
        std::string::npos);
    EXPECT_THROW(grid.addWidget(&far, 0, INT_MAX - 1, 1, 2), TypedException);
    EXPECT_EQ(grid.getRowCount(), 2);
    EXPECT_EQ(grid.getColumnCount(), 2);
    grid.setRowStretch(0, 1);
    grid.setColumnStretch(3, 1);
    EXPECT_EQ(grid.getColumnCount(), 4);
}

TEST(WidgetRobustnessTest, AWidgetDestroyedInALayoutNotYetSetLeavesIt) {
    auto* layout = new GLBoxLayout2(GLBoxLayout2::TopToBottom);
    auto* kept = new GLPanel2("qt");
    auto* gone = new GLPanel2("qt");
    layout->addWidget(kept);
    layout->addWidget(gone);
    delete gone;
    EXPECT_EQ(layout->count(), 1);

    auto* grid = new GLGridLayout2;
    auto* cell = new GLPanel2("qt");
    grid->addWidget(cell, 0, 0);
    cell->destroy();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(grid->count(), 0);
    EXPECT_EQ(grid->getWidgetAt(0, 0), nullptr);

    // Setting and laying out the layouts afterwards touches no widget that is gone.
    GLPanel2 panel("qt");
    layout->addLayout(grid);
    panel.setLayout(layout);
    panel.resize(200, 200);
    panel.show();
    panel.getQWidget()->layout()->activate();
    EXPECT_EQ(kept->getParent(), &panel);
}

TEST(WidgetRobustnessTest, AWidgetAddedTwiceIsInTheLayoutOnce) {
    GLPanel2 panel("qt");
    auto* layout = new GLBoxLayout2(GLBoxLayout2::TopToBottom);
    auto* widget = new GLPanel2("qt");
    layout->addWidget(widget);
    layout->addWidget(widget);
    EXPECT_EQ(layout->count(), 1);
    panel.setLayout(layout);
    delete widget;
    EXPECT_EQ(layout->count(), 0);
    panel.show();
    panel.getQWidget()->layout()->activate();

    // In a grid it moves to the cell it was added to last.
    GLGridLayout2 grid;
    GLPanel2 cell("qt");
    grid.addWidget(&cell, 0, 0);
    grid.addWidget(&cell, 1, 1);
    EXPECT_EQ(grid.count(), 1);
    EXPECT_EQ(grid.getWidgetAt(0, 0), nullptr);
    EXPECT_EQ(grid.getWidgetAt(1, 1), &cell);
}

TEST(WidgetRobustnessTest, RowAndColumnCountsTheViewsCannotShowAreRefused) {
    auto model = Holder<ViewModel>(new ViewModel);
    model->appendColumns(1);
    const unsigned row = model->appendRow(0);
    // A negative count that went through an unsigned parameter.
    const unsigned negative = static_cast<unsigned>(-2);
    EXPECT_NE(
        thrownMessage([&] { model->appendRows(0, negative); }).find("GLAbstractModel2::appendRows"),
        std::string::npos);
    EXPECT_THROW(model->appendRows(row, negative), TypedException);
    EXPECT_NE(thrownMessage([&] {
                  model->appendColumns(negative);
              }).find("GLAbstractModel2::appendColumns"),
              std::string::npos);
    EXPECT_THROW(model->appendRows(0, unsigned(INT_MAX)), TypedException);
    EXPECT_EQ(model->getTotalRowCount(), 1u);
    EXPECT_EQ(model->getColumnCount(), 1u);
    // Ids keep counting from where they were.
    EXPECT_EQ(model->appendRow(0), row + 1);
}

TEST(WidgetRobustnessTest, ADataChangeListenerMayRemoveTheRowOrStartTheModelOver) {
    Holder<ViewModel> model(new ViewModel);
    const unsigned column = model->appendColumns(1).front();
    const std::vector<unsigned> rows = model->appendRows(0, 3);
    GLTreeView2 view("qt");
    view.setModel(model); // the model now tells a view too, after its listeners
    enum { RemoveRow, StartOver } action = RemoveRow;
    Handler<GLDataChangeEvent2> handler(model->getDataChangeEmitter(),
                                        [&](const GLDataChangeEvent2& event) {
                                            if (action == RemoveRow) {
                                                model->removeRows({event.rowUID()});
                                            } else {
                                                model->clear();
                                                model->appendColumns(2);
                                                model->appendRows(0, 2);
                                            }
                                        });

    EXPECT_NO_THROW(model->setValue(rows[1], column, std::string("changed")));
    EXPECT_FALSE(model->hasRow(rows[1]));
    EXPECT_EQ(model->getRowCount(0), 2u);
    model->beginTransaction();
    EXPECT_NO_THROW(model->setValue(rows[2], column, 2));
    model->endTransaction();
    EXPECT_EQ(model->getChildRows(0), std::vector<unsigned>{rows[0]});

    action = StartOver;
    EXPECT_NO_THROW(model->setValue(rows[0], column, 3));
    EXPECT_EQ(model->getRowCount(0), 2u);
    EXPECT_EQ(model->getColumnCount(), 2u);
}

TEST(WidgetRobustnessTest, AValueTakenFromAnEditorMayRemoveItsRow) {
    Holder<ViewModel> model(new ViewModel);
    const std::vector<unsigned> columns = model->appendColumns(2);
    const std::vector<unsigned> rows = model->appendRows(0, 3);
    model->setValue(rows[1], columns[1], std::string("old"));
    GLTreeView2 view("qt");
    view.setModel(model);
    view.resize(300, 200);
    view.show();
    std::vector<bool> completes;
    Handler<GLEditCompleteEvent2> complete(
        view.getEditCompleteEmitter(),
        [&](const GLEditCompleteEvent2& event) { completes.push_back(event.isCommitted()); });
    // Taking the typed value removes its row, and with it the cell being edited.
    Handler<GLDataChangeEvent2> change(
        model->getDataChangeEmitter(),
        [&](const GLDataChangeEvent2& event) { model->removeRows({event.rowUID()}); });

    ASSERT_TRUE(view.editCell(rows[1], columns[1]));
    auto* field = static_cast<QTreeView*>(view.getQWidget())->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setText("new");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    QCoreApplication::processEvents();
    EXPECT_FALSE(model->hasRow(rows[1]));
    EXPECT_FALSE(view.isEditing());
    EXPECT_EQ(completes, std::vector<bool>{true});

    // The next edit starts and ends as usual.
    ASSERT_TRUE(view.editCell(rows[2], columns[1]));
    EXPECT_TRUE(view.isEditing());
}
