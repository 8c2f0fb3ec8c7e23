#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLCheckBox2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QBrush>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace TAVI;
using KiteTest::EventRecorder;

namespace {

using Rows = std::vector<unsigned>;

std::string imageFile(const char* name) {
    return std::string(KITE_SOURCE_DIR) + "/tests/platform/tavi2/data/" + name;
}

// Counts the structural and data signals of the Qt model a view reads.
struct QtSignals {
    explicit QtSignals(QAbstractItemModel* model) {
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &context,
                         [this](const QModelIndex&, int first, int last) {
                             inserted.push_back({first, last});
                         });
        QObject::connect(model, &QAbstractItemModel::rowsRemoved, &context,
                         [this](const QModelIndex&, int first, int last) {
                             removed.push_back({first, last});
                         });
        QObject::connect(model, &QAbstractItemModel::dataChanged, &context,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             changed.push_back({from.row(), to.row()});
                         });
    }
    std::vector<std::pair<int, int>> inserted;
    std::vector<std::pair<int, int>> removed;
    std::vector<std::pair<int, int>> changed;
    QObject context;
};

void sendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button) {
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void sendKey(QWidget* target, Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
    QCoreApplication::processEvents(); // a commit is queued by Qt's delegate
}

class GLTreeView2Test : public ::testing::Test {
protected:
    void SetUp() override {
        model = new GLAbstractViewModel2;
        columns = model->appendColumns({"Name", "Value"});
        view = std::make_unique<GLTreeView2>("qt");
        view->setModel(model);
        qtView = static_cast<QTreeView*>(view->getQWidget());
        // Checks every answer and signal of the Qt model against Qt's rules as the test runs.
        tester = std::make_unique<QAbstractItemModelTester>(
            qtView->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override {
        tester.reset();
        view.reset();
    }

    QAbstractItemModel* qtModel() const { return qtView->model(); }
    void show() {
        view->resize(300, 200);
        view->show();
    }
    // The text field of the open edit.
    QLineEdit* field() const {
        for (QLineEdit* candidate : qtView->findChildren<QLineEdit*>())
            if (candidate->isVisible())
                return candidate;
        return nullptr;
    }
    QModelIndex qtIndex(unsigned row, int column = 0) const {
        if (row == 0)
            return QModelIndex();
        const QModelIndex parent = qtIndex(model->getParentRow(row));
        return qtModel()->index(model->getRowIndex(row), column, parent);
    }

    Holder<GLAbstractViewModel2> model;
    Rows columns;
    std::unique_ptr<GLTreeView2> view;
    QTreeView* qtView = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(GLTreeView2Test, TransactionShowsAppendedRowsWhenItEnds) {
    QtSignals qt(qtModel());
    model->beginTransaction();
    const Rows top = model->appendRows(0, 3);
    const Rows more = model->appendRows(0, 2);
    const Rows children = model->appendRows(top[0], 4);
    model->setValue(top[0], columns[0], std::string("first"));
    EXPECT_EQ(qtModel()->rowCount(), 0);
    EXPECT_TRUE(qt.inserted.empty());
    EXPECT_TRUE(qt.changed.empty());
    model->endTransaction();

    // One insertion for all five top-level rows; the children came with their parent.
    EXPECT_EQ(qt.inserted, (std::vector<std::pair<int, int>>{{0, 4}}));
    EXPECT_EQ(qtModel()->rowCount(), 5);
    EXPECT_EQ(qtModel()->rowCount(qtIndex(top[0])), 4);
    EXPECT_EQ(qtModel()->data(qtIndex(top[0])).toString(), "first");
    EXPECT_EQ(qtModel()->index(1, 0, qtIndex(top[0])), qtIndex(children[1]));

    // Outside a transaction each append is shown at once.
    model->appendRow(more[1]);
    EXPECT_EQ(qt.inserted.size(), 2u);
    EXPECT_EQ(qtModel()->rowCount(qtIndex(more[1])), 1);
}

TEST_F(GLTreeView2Test, CellChangesInATransactionRepaintOnce) {
    const Rows rows = model->appendRows(0, 10);
    QtSignals qt(qtModel());
    model->beginTransaction();
    model->setValue(rows[7], columns[1], 1);
    model->setValue(rows[2], columns[0], 2);
    model->setValue(rows[4], columns[1], 3);
    EXPECT_TRUE(qt.changed.empty());
    model->endTransaction();
    EXPECT_EQ(qt.changed, (std::vector<std::pair<int, int>>{{2, 7}}));

    model->setValue(rows[9], columns[0], 4);
    model->setValue(rows[0], columns[0], 5);
    EXPECT_EQ(qt.changed, (std::vector<std::pair<int, int>>{{2, 7}, {9, 9}, {0, 0}}));
    EXPECT_EQ(qtModel()->data(qtIndex(rows[9])).toString(), "4");
}

TEST_F(GLTreeView2Test, RemovalsReachTheViewAtOnceAndPendingRowsGoSilently) {
    const Rows rows = model->appendRows(0, 6);
    QtSignals qt(qtModel());
    model->beginTransaction();
    const Rows pending = model->appendRows(0, 2);
    model->setValue(rows[5], columns[0], std::string("changed"));
    // Two runs of shown rows, one pending row.
    model->removeRows({rows[1], rows[2], rows[4], pending[0]});
    EXPECT_EQ(qt.removed, (std::vector<std::pair<int, int>>{{4, 4}, {1, 2}}));
    EXPECT_EQ(qtModel()->rowCount(), 3);
    model->endTransaction();

    EXPECT_EQ(qt.inserted, (std::vector<std::pair<int, int>>{{3, 3}}));
    EXPECT_EQ(qtModel()->rowCount(), 4);
    EXPECT_EQ(qtIndex(pending[1]).row(), 3);
    EXPECT_EQ(qtModel()->data(qtIndex(rows[5])).toString(), "changed");
    ASSERT_EQ(qt.changed.size(), 1u);
    EXPECT_LE(qt.changed[0].first, 2);
    EXPECT_GE(qt.changed[0].second, 2);
}

TEST_F(GLTreeView2Test, InsertedRowsTakeTheirPlaceAtOnceOrWithPendingRows) {
    const Rows rows = model->appendRows(0, 3);
    QtSignals qt(qtModel());
    model->beginTransaction();
    model->setValue(rows[2], columns[0], std::string("last"));
    const Rows pending = model->appendRows(0, 2);
    const Rows before = model->insertRows(0, 1, 2); // among shown rows: at once
    const Rows among = model->insertRows(0, 6, 1);  // among pending rows: with them
    const Rows atEnd = model->insertRows(0, 8, 1);  // the end: appended
    EXPECT_EQ(qt.inserted, (std::vector<std::pair<int, int>>{{1, 2}}));
    EXPECT_EQ(qtModel()->rowCount(), 5);
    model->endTransaction();

    EXPECT_EQ(qt.inserted, (std::vector<std::pair<int, int>>{{1, 2}, {5, 8}}));
    EXPECT_EQ(model->getChildRows(0), (Rows{rows[0], before[0], before[1], rows[1], rows[2],
                                            pending[0], among[0], pending[1], atEnd[0]}));
    for (unsigned row : model->getChildRows(0))
        EXPECT_EQ(qtIndex(row).row(), model->getRowIndex(row));
    EXPECT_EQ(qtModel()->data(qtIndex(rows[2])).toString(), "last");
    EXPECT_THROW(model->insertRows(0, 10, 1), TypedException);
    EXPECT_THROW(model->insertRows(rows[0] + 1000, 0, 1), TypedException);
}

TEST_F(GLTreeView2Test, ViewShowsTextIconsColoursHeaderAndEditableFlagsAndMovesColumns) {
    const unsigned row = model->appendRow(0);
    model->setValue(row, columns[0], std::string("Gain"));
    model->setValue(row, columns[1], 42);
    model->setIcon(row, columns[0], Icon(imageFile("red.png"), 0, 0));
    model->setColor(row, columns[1], GLAbstractViewModel2::BackgroundColor, Color(1.0, 0.0, 0.0));
    model->setReadOnly(row, columns[0], true);

    EXPECT_EQ(qtModel()->data(qtIndex(row, 0)).toString(), "Gain");
    EXPECT_EQ(qtModel()->data(qtIndex(row, 1)).toString(), "42");
    EXPECT_FALSE(qtModel()->data(qtIndex(row, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(qtModel()->data(qtIndex(row, 1), Qt::BackgroundRole).value<QBrush>().color(),
              QColor(Qt::red));
    EXPECT_FALSE(qtModel()->data(qtIndex(row, 0), Qt::BackgroundRole).isValid());
    EXPECT_FALSE(qtModel()->flags(qtIndex(row, 0)) & Qt::ItemIsEditable);
    EXPECT_TRUE(qtModel()->flags(qtIndex(row, 1)) & Qt::ItemIsEditable);
    EXPECT_EQ(qtModel()->headerData(1, Qt::Horizontal).toString(), "Value");

    model->setColumnLabel(columns[1], "Amount");
    EXPECT_EQ(qtView->header()->model()->headerData(1, Qt::Horizontal).toString(), "Amount");

    // The header shows, hides and moves its columns.
    view->setHeaderVisible(false);
    EXPECT_TRUE(qtView->isHeaderHidden());
    view->setHeaderVisible(true);
    view->setColumnsMovable(true);
    view->moveColumn(columns[1], 0);
    EXPECT_EQ(view->getVisualColumnIndex(columns[1]), 0);
    EXPECT_EQ(view->getVisualColumnIndex(columns[0]), 1);
    EXPECT_THROW(view->moveColumn(columns[1], 2), TypedException);
    view->setColumnWidth(columns[0], 123);
    EXPECT_EQ(view->getColumnWidth(columns[0]), 123);
    view->setAlternatingRowColors(true);
    EXPECT_TRUE(qtView->alternatingRowColors());
}

TEST_F(GLTreeView2Test, SelectionRoundTripInTreeOrder) {
    const Rows top = model->appendRows(0, 5);
    const Rows children = model->appendRows(top[2], 3);
    view->setSelectionMode(GLAbstractView2::ExtendedSelection);
    EventRecorder<GLViewSelectionChangeEvent2> changes(view->getSelectionChangeEmitter());

    view->setSelectedRows({top[3], children[1], top[0], top[1]});
    EXPECT_EQ(view->getSelectedRows(), (Rows{top[0], top[1], top[3], children[1]}));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes.events[0].view(), view.get());

    view->setSelectedRows({children[2]});
    EXPECT_EQ(view->getSelectedRows(), (Rows{children[2]}));
    EXPECT_EQ(changes.size(), 2u);

    // Removing a selected row takes it out of the selection.
    model->removeRows({children[2]});
    EXPECT_TRUE(view->getSelectedRows().empty());

    view->setSelectedRows({top[4]});
    view->clearSelection();
    EXPECT_TRUE(view->getSelectedRows().empty());
    EXPECT_THROW(view->setSelectedRows({top[0], 999}), TypedException);
    EXPECT_THROW(view->setSelectionMode(5), TypedException);
    EXPECT_EQ(view->getSelectionMode(), GLAbstractView2::ExtendedSelection);
}

TEST_F(GLTreeView2Test, ExpansionRoundTripWithEventsInOrderDecidesTheVisibleRows) {
    const Rows top = model->appendRows(0, 3);
    const Rows children = model->appendRows(top[1], 2);
    const Rows grandchildren = model->appendRows(children[0], 2);
    EventRecorder<GLTreeExpandEvent2> expanded(view->getExpandEmitter());
    EventRecorder<GLTreeCollapseEvent2> collapsed(view->getCollapseEmitter());

    view->expand(top[1]);
    view->expand(top[1]); // already open: no second event
    EXPECT_TRUE(view->isExpanded(top[1]));
    EXPECT_TRUE(view->isRowVisible(children[0]));
    EXPECT_FALSE(view->isRowVisible(grandchildren[0]));
    view->collapse(top[1]);
    ASSERT_EQ(expanded.size(), 1u);
    ASSERT_EQ(collapsed.size(), 1u);
    EXPECT_EQ(expanded.events[0].rowUID(), top[1]);
    EXPECT_EQ(collapsed.events[0].rowUID(), top[1]);

    // Setting the expanded rows opens their ancestors; getting them lists them in tree order.
    view->setExpandedRows({children[0]});
    EXPECT_EQ(view->getExpandedRows(), (Rows{top[1], children[0]}));
    EXPECT_TRUE(view->isRowVisible(grandchildren[1]));

    view->setRowHidden(grandchildren[1], true);
    EXPECT_FALSE(view->isRowVisible(grandchildren[1]));
    EXPECT_TRUE(view->isRowHidden(grandchildren[1]));

    // The visible rows, in the order one passes them scrolling, into expanded rows only.
    EXPECT_EQ(view->getVisibleRows(),
              (Rows{top[0], top[1], children[0], grandchildren[0], children[1], top[2]}));
    view->setRowHidden(top[0], true);
    view->collapse(children[0]);
    EXPECT_EQ(view->getVisibleRows(), (Rows{top[1], children[0], children[1], top[2]}));

    view->collapseAll();
    EXPECT_TRUE(view->getExpandedRows().empty());
    EXPECT_EQ(view->getVisibleRows(), (Rows{top[1], top[2]}));
    view->expandAll();
    EXPECT_EQ(view->getExpandedRows(), (Rows{top[1], children[0]}));
    EXPECT_THROW(view->expand(1234), TypedException);
}

TEST_F(GLTreeView2Test, ScrollToBringsARowIntoViewAndCellAtFindsIt) {
    model->beginTransaction();
    const Rows rows = model->appendRows(0, 1000);
    for (unsigned i = 0; i < rows.size(); ++i)
        model->setValue(rows[i], columns[0], int(i));
    model->endTransaction();
    show();
    EXPECT_EQ(view->getRowsInView().front(), rows[0]);
    EXPECT_LT(view->getRowsInView().size(), 100u);

    view->scrollTo(rows[900]);
    const Rows inView = view->getRowsInView();
    EXPECT_NE(std::find(inView.begin(), inView.end(), rows[900]), inView.end());
    EXPECT_EQ(std::find(inView.begin(), inView.end(), rows[0]), inView.end());

    const QRect rect = qtView->visualRect(qtIndex(rows[900], 1));
    EXPECT_EQ(view->getModelCellAt(rect.center().x(), rect.center().y()),
              (GLModelCellRef2{rows[900], columns[1]}));
    EXPECT_FALSE(view->getModelCellAt(5, 10000).isValid());
}

TEST_F(GLTreeView2Test, EditingWithTheTextFieldCommitsOrCancels) {
    const unsigned row = model->appendRow(0);
    model->setValue(row, columns[1], std::string("old"));
    model->setReadOnly(row, columns[0], true);
    show();
    EventRecorder<GLEditRequestEvent2> requests(view->getEditRequestEmitter());
    EventRecorder<GLEditCompleteEvent2> completes(view->getEditCompleteEmitter());

    EXPECT_FALSE(view->editCell(row, columns[0]));
    EXPECT_EQ(requests.size(), 0u);

    ASSERT_TRUE(view->editCell(row, columns[1]));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests.events[0].rowUID(), row);
    EXPECT_EQ(requests.events[0].columnUID(), columns[1]);
    ASSERT_NE(field(), nullptr);
    EXPECT_EQ(field()->text(), "old");
    field()->setText("new");
    sendKey(field(), Qt::Key_Return);
    EXPECT_EQ(model->getText(row, columns[1]), "new");
    ASSERT_EQ(completes.size(), 1u);
    EXPECT_TRUE(completes.events[0].isCommitted());
    EXPECT_FALSE(view->isEditing());

    ASSERT_TRUE(view->editCell(row, columns[1]));
    ASSERT_NE(field(), nullptr);
    field()->setText("discarded");
    sendKey(field(), Qt::Key_Escape);
    EXPECT_EQ(model->getText(row, columns[1]), "new");
    ASSERT_EQ(completes.size(), 2u);
    EXPECT_FALSE(completes.events[1].isCommitted());

    // Text the model refuses (a word for a number) ends the edit uncommitted.
    model->setValue(row, columns[1], 3.0);
    ASSERT_TRUE(view->editCell(row, columns[1]));
    ASSERT_NE(field(), nullptr);
    field()->setText("three");
    sendKey(field(), Qt::Key_Return);
    EXPECT_EQ(model->getText(row, columns[1]), "3");
    ASSERT_EQ(completes.size(), 3u);
    EXPECT_FALSE(completes.events[2].isCommitted());
}

namespace {

// Offers one check box, kept across edits, as the editor of every cell it is asked for.
class CheckBoxEditorOffer : public NIMB::Listener {
public:
    explicit CheckBoxEditorOffer(GLAbstractView2& view) {
        new NIMB::ConnectionImpl1<CheckBoxEditorOffer, GLEditRequestEvent2>(
            this, view.getEditRequestEmitter(), nullptr, &CheckBoxEditorOffer::offer);
    }
    ~CheckBoxEditorOffer() override {
        if (editorWidget)
            delete offered;
    }
    GLCheckBox2* offered = nullptr;
    int requests = 0;
    unsigned otherRow = 0; // when set, also tries to place the editor on this row
    bool otherRowRefused = false;

private:
    void offer(const GLEditRequestEvent2& request) {
        ++requests;
        if (!editorWidget) {
            offered = new GLCheckBox2("qt");
            editorWidget = offered->getQWidget();
        }
        if (otherRow != 0) {
            try {
                request.view()->setEditor(otherRow, request.columnUID(), offered);
            } catch (const TypedException&) {
                otherRowRefused = true;
            }
        }
        request.view()->setEditor(request.rowUID(), request.columnUID(), offered);
    }
    QPointer<QWidget> editorWidget;
};

} // namespace

TEST_F(GLTreeView2Test, ListenerPlacesItsOwnEditorAndKeepsIt) {
    const Rows rows = model->appendRows(0, 2);
    show();
    CheckBoxEditorOffer offer(*view);
    offer.otherRow = rows[1];
    EventRecorder<GLEditCompleteEvent2> completes(view->getEditCompleteEmitter());
    ASSERT_TRUE(view->editCell(rows[0], columns[1]));
    ASSERT_NE(offer.offered, nullptr);
    EXPECT_TRUE(offer.otherRowRefused);
    QPointer<QWidget> editor = offer.offered->getQWidget();
    EXPECT_EQ(editor->parentWidget(), qtView->viewport());
    EXPECT_EQ(qtView->findChild<QLineEdit*>(), nullptr);

    sendKey(editor, Qt::Key_Return);
    ASSERT_EQ(completes.size(), 1u);
    EXPECT_TRUE(completes.events[0].isCommitted());
    EXPECT_EQ(completes.events[0].columnUID(), columns[1]);
    // The editor is given back, hidden and out of the view, for the next edit.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(editor.isNull());
    EXPECT_EQ(editor->parentWidget(), nullptr);
    EXPECT_TRUE(editor->isHidden());

    offer.otherRow = 0;
    ASSERT_TRUE(view->editCell(rows[1], columns[1]));
    EXPECT_EQ(offer.requests, 2);
    EXPECT_EQ(editor->parentWidget(), qtView->viewport());
    EXPECT_TRUE(view->isEditing());
}

TEST_F(GLTreeView2Test, AListenerMayDeleteItsEditorWhileTheEditIsOpen) {
    const Rows rows = model->appendRows(0, 1);
    show();
    CheckBoxEditorOffer offer(*view);
    ASSERT_TRUE(view->editCell(rows[0], columns[1]));
    delete offer.offered; // the listener is done with it, the view is still editing
    offer.offered = nullptr;
    QCoreApplication::processEvents();
    // Neither a new edit nor the view's end touches the deleted editor.
    ASSERT_TRUE(view->editCell(rows[0], columns[1]));
    EXPECT_NE(offer.offered, nullptr);
    view.reset();
}

TEST_F(GLTreeView2Test, SetEditorOutsideARequestStartsTheEdit) {
    const unsigned row = model->appendRow(0);
    model->setReadOnly(row, columns[0], true);
    show();
    EventRecorder<GLEditRequestEvent2> requests(view->getEditRequestEmitter());
    auto field = std::make_unique<GLCheckBox2>("qt");
    view->setEditor(row, columns[0], field.get()); // read only: nothing happens
    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(requests.size(), 0u);

    view->setEditor(row, columns[1], field.get());
    EXPECT_TRUE(view->isEditing());
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(field->getQWidget()->parentWidget(), qtView->viewport());
    EXPECT_EQ(view->getCurrentCell(), (GLModelCellRef2{row, columns[1]}));
    EXPECT_THROW(view->setEditor(999, columns[1], field.get()), TypedException);

    // The view going away gives the open editor back.
    view.reset();
    EXPECT_EQ(field->getQWidget()->parentWidget(), nullptr);
}

TEST_F(GLTreeView2Test, CellWidgetsStayUntilReplaced) {
    const unsigned row = model->appendRow(0);
    auto* first = new GLCheckBox2("qt");
    view->setCellWidget(row, columns[1], first);
    EXPECT_EQ(view->getCellWidget(row, columns[1]), first);
    QPointer<QWidget> firstQt = first->getQWidget();
    view->setCellWidget(row, columns[1], new GLCheckBox2("qt"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(firstQt.isNull());
    EXPECT_NE(view->getCellWidget(row, columns[1]), nullptr);
    EXPECT_EQ(view->getCellWidget(row, columns[0]), nullptr);
}

TEST(GLTreeView2LargeModelTest, HundredThousandRowsAppendAndRemoveInSingleSteps) {
    Holder<GLAbstractViewModel2> model(new GLAbstractViewModel2);
    const unsigned column = model->appendColumns(1).front();
    GLTreeView2 view("qt");
    view.setModel(model);
    view.resize(300, 400);
    view.show();
    auto* qtModel = static_cast<QTreeView*>(view.getQWidget())->model();
    QtSignals qt(qtModel);

    model->beginTransaction();
    const Rows rows = model->appendRows(0, 100000);
    model->setValue(rows[99999], column, std::string("last"));
    model->endTransaction();
    EXPECT_EQ(qt.inserted, (std::vector<std::pair<int, int>>{{0, 99999}}));
    EXPECT_EQ(qtModel->rowCount(), 100000);
    view.scrollTo(rows[99999]);
    const Rows inView = view.getRowsInView();
    ASSERT_FALSE(inView.empty());
    EXPECT_EQ(inView.back(), rows[99999]);

    model->removeRows(Rows(rows.begin() + 10, rows.begin() + 60010));
    EXPECT_EQ(qt.removed, (std::vector<std::pair<int, int>>{{10, 60009}}));
    EXPECT_EQ(qtModel->rowCount(), 40000);
    EXPECT_EQ(model->getRowIndex(rows[99999]), 39999);
    EXPECT_EQ(qtModel->data(qtModel->index(39999, 0)).toString(), "last");
}

TEST_F(GLTreeView2Test, EditTriggersDecideWhatStartsAnEdit) {
    const unsigned row = model->appendRow(0);
    show();
    EventRecorder<GLEditRequestEvent2> requests(view->getEditRequestEmitter());
    const QPoint cell = qtView->visualRect(qtIndex(row, 1)).center();

    view->setEditTriggers(GLAbstractView2::NoEditTriggers);
    EXPECT_EQ(view->getEditTriggers(), 0);
    sendMouse(qtView->viewport(), QEvent::MouseButtonPress, cell, Qt::LeftButton);
    sendMouse(qtView->viewport(), QEvent::MouseButtonRelease, cell, Qt::LeftButton);
    sendMouse(qtView->viewport(), QEvent::MouseButtonDblClick, cell, Qt::LeftButton);
    EXPECT_EQ(requests.size(), 0u);
    EXPECT_FALSE(view->isEditing());

    view->setEditTriggers(GLAbstractView2::DoubleClicked);
    EXPECT_EQ(view->getEditTriggers(), GLAbstractView2::DoubleClicked);
    sendMouse(qtView->viewport(), QEvent::MouseButtonDblClick, cell, Qt::LeftButton);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests.events[0].rowUID(), row);
    EXPECT_EQ(requests.events[0].columnUID(), columns[1]);
    EXPECT_TRUE(view->isEditing());
}

TEST_F(GLTreeView2Test, MouseAndContextMenuArriveFromTheRowsArea) {
    const Rows rows = model->appendRows(0, 3);
    show();
    EventRecorder<GLMouseEvent2> presses(view->getMousePressEmitter());
    EventRecorder<GLContextMenuEvent2> menus(view->getContextMenuEmitter());
    const QPoint cell = qtView->visualRect(qtIndex(rows[2], 0)).center();

    sendMouse(qtView->viewport(), QEvent::MouseButtonPress, cell, Qt::RightButton);
    QContextMenuEvent request(QContextMenuEvent::Mouse, cell,
                              qtView->viewport()->mapToGlobal(cell));
    QApplication::sendEvent(qtView->viewport(), &request);

    // Reported once each, though Qt hands unused input on from the rows' area to the view.
    ASSERT_EQ(presses.size(), 1u);
    EXPECT_EQ(presses.events[0].button(), GLMouseButton2::Right);
    ASSERT_EQ(menus.size(), 1u);
    const GLPoint<int> at = menus.events[0].pos();
    EXPECT_EQ(view->getModelCellAt(at.x, at.y), (GLModelCellRef2{rows[2], columns[0]}));
}

TEST_F(GLTreeView2Test, PaintedRowsShowTheModelsColours) {
    const Rows rows = model->appendRows(0, 3);
    for (unsigned row : rows)
        model->setValue(row, columns[0], std::string(" "));
    model->setColor(rows[1], columns[0], GLAbstractViewModel2::BackgroundColor,
                    Color(1.0, 0.0, 0.0));
    show();

    auto colourAt = [&](unsigned row) {
        const QRect rect = qtView->visualRect(qtIndex(row, 0));
        const QImage image = qtView->viewport()->grab().toImage();
        return image.pixelColor(rect.right() - 4, rect.center().y());
    };
    EXPECT_EQ(colourAt(rows[1]), QColor(Qt::red));
    EXPECT_NE(colourAt(rows[0]), QColor(Qt::red));

    // A change inside a transaction is painted once it ends.
    model->beginTransaction();
    model->setColor(rows[2], columns[0], GLAbstractViewModel2::BackgroundColor,
                    Color(0.0, 0.0, 1.0));
    model->setColor(rows[1], columns[0], GLAbstractViewModel2::BackgroundColor,
                    Color(Color::Default));
    model->endTransaction();
    EXPECT_EQ(colourAt(rows[2]), QColor(Qt::blue));
    EXPECT_NE(colourAt(rows[1]), QColor(Qt::red));

    // The view's own background colour fills the rows area below the rows.
    view->setColor(GLWidget2::BackgroundColor, Color(0.0, 1.0, 0.0));
    const QImage image = qtView->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 5), QColor(Qt::green));
    EXPECT_EQ(view->getColor(GLWidget2::BaseColor), Color(0.0, 1.0, 0.0));
}

namespace {

// Rows carry their ids when dragged, except row ids above 100.
class DraggableModel : public GLAbstractViewModel2 {
public:
    bool getDragData(const Rows& rows, GLMimeData2& data) const override {
        for (unsigned row : rows)
            if (row > 100)
                return false;
        data.setData("application/x-kite-test-rows", rows);
        return true;
    }
};

} // namespace

TEST(GLTreeView2DragTest, DraggedRowsCarryWhatTheModelGives) {
    Holder<GLAbstractViewModel2> model(new DraggableModel);
    model->appendColumns(2);
    const Rows rows = model->appendRows(0, 3);
    GLTreeView2 view("qt");
    view.setModel(model);
    view.setDragEnabled(true);
    EXPECT_TRUE(view.isDragEnabled());
    QAbstractItemModel* qtModel = static_cast<QTreeView*>(view.getQWidget())->model();

    // Both cells of row 3, then row 1: each row once, in that order.
    std::unique_ptr<QMimeData> qt(
        qtModel->mimeData({qtModel->index(2, 0), qtModel->index(2, 1), qtModel->index(0, 1)}));
    ASSERT_NE(qt, nullptr);
    const GLMimeData2 data = GLMimeData2::fromQMimeData(qt.get());
    EXPECT_EQ(any_cast<Rows>(data.getData("application/x-kite-test-rows")),
              (Rows{rows[2], rows[0]}));
    EXPECT_TRUE(qtModel->supportedDragActions() & Qt::MoveAction);

    // A model that refuses gives Qt nothing to drag.
    Holder<GLAbstractViewModel2> plain(new GLAbstractViewModel2);
    plain->appendColumns(1);
    plain->appendRow(0);
    view.setModel(plain);
    qtModel = static_cast<QTreeView*>(view.getQWidget())->model();
    EXPECT_EQ(qtModel->mimeData({qtModel->index(0, 0)}), nullptr);
}

TEST(GLTreeView2LifetimeTest, ViewGoingAwayWithAnOpenEditorIsQuiet) {
    Holder<GLAbstractViewModel2> model(new GLAbstractViewModel2);
    const unsigned column = model->appendColumns(1).front();
    const unsigned row = model->appendRow(0);

    // Deleted as a toolkit widget, and as a Qt child of a window that goes.
    for (bool throughParent : {false, true}) {
        SCOPED_TRACE(throughParent);
        auto* window = new GLPanel2("qt");
        auto* view = new GLTreeView2("qt", window);
        view->setModel(model);
        window->resize(300, 200);
        window->show();
        view->resize(300, 200);
        CheckBoxEditorOffer offer(*view);
        EventRecorder<GLEditCompleteEvent2> completes(view->getEditCompleteEmitter());
        ASSERT_TRUE(view->editCell(row, column));
        QPointer<QWidget> editor = offer.offered->getQWidget();
        if (throughParent)
            delete window;
        else
            delete view;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(completes.size(), 0u);
        // Given back to its owner either way.
        ASSERT_FALSE(editor.isNull());
        EXPECT_EQ(editor->parentWidget(), nullptr);
        if (!throughParent)
            delete window;
    }
    // The model outlives its views and still works.
    model->setValue(row, column, 1);
    EXPECT_EQ(model->getText(row, column), "1");

    // A view lets go of its model when given none.
    GLTreeView2 view("qt");
    view.setModel(model);
    EXPECT_EQ(model->getRefCount(), 2u);
    view.setModel({});
    EXPECT_EQ(view.getModel(), nullptr);
    EXPECT_EQ(model->getRefCount(), 1u);
    EXPECT_EQ(static_cast<QTreeView*>(view.getQWidget())->model(), nullptr);
    EXPECT_TRUE(view.getSelectedRows().empty());
}

namespace {

// Fills a row with two children the first time the tree expands it.
class LazyChildren : public NIMB::Listener {
public:
    LazyChildren(GLTreeView2& view, GLAbstractViewModel2& model) : model(model) {
        new NIMB::ConnectionImpl1<LazyChildren, GLTreeExpandEvent2>(this, view.getExpandEmitter(),
                                                                    nullptr, &LazyChildren::fill);
    }
    int fills = 0;

private:
    void fill(const GLTreeExpandEvent2& event) {
        if (model.hasChildRows(event.rowUID()))
            return;
        ++fills;
        model.appendRows(event.rowUID(), 2);
    }
    GLAbstractViewModel2& model;
};

} // namespace

TEST_F(GLTreeView2Test, ExpandableRowsGetTheirChildrenWhenFirstExpanded) {
    model->beginTransaction();
    const Rows rows = model->appendRows(0, 2);
    model->setRowExpandable(rows[0], true);
    model->endTransaction();
    EXPECT_TRUE(qtModel()->hasChildren(qtIndex(rows[0])));
    EXPECT_FALSE(qtModel()->hasChildren(qtIndex(rows[1])));
    EXPECT_FALSE(model->hasChildRows(rows[0]));

    LazyChildren lazy(*view, *model);
    view->expand(rows[0]);
    EXPECT_EQ(lazy.fills, 1);
    EXPECT_EQ(qtModel()->rowCount(qtIndex(rows[0])), 2);
    EXPECT_TRUE(view->isExpanded(rows[0]));
    EXPECT_EQ(view->getVisibleRows().size(), 4u);

    // Marking a row that is shown already tells the view.
    std::vector<int> layouts;
    QObject context;
    QObject::connect(qtModel(), &QAbstractItemModel::layoutChanged, &context,
                     [&]() { layouts.push_back(1); });
    model->setRowExpandable(rows[1], true);
    EXPECT_EQ(layouts.size(), 1u);
    EXPECT_TRUE(qtModel()->hasChildren(qtIndex(rows[1])));
    model->setRowExpandable(rows[1], true);
    EXPECT_EQ(layouts.size(), 1u);
    EXPECT_THROW(model->setRowExpandable(0, true), TypedException);
}

TEST_F(GLTreeView2Test, ClearStartsTheViewOverWithNewIds) {
    const Rows rows = model->appendRows(0, 3);
    view->setSelectedRows({rows[1]});
    model->clear();
    EXPECT_EQ(qtModel()->rowCount(), 0);
    EXPECT_EQ(qtModel()->columnCount(), 0);
    EXPECT_TRUE(view->getSelectedRows().empty());
    EXPECT_EQ(model->getTotalRowCount(), 0u);
    EXPECT_FALSE(model->hasColumn(columns[0]));

    const Rows newColumns = model->appendColumns({"Only"});
    EXPECT_GT(newColumns[0], columns[1]);
    const unsigned row = model->appendRow(0);
    EXPECT_GT(row, rows[2]);
    EXPECT_EQ(qtModel()->rowCount(), 1);
    EXPECT_EQ(qtModel()->headerData(0, Qt::Horizontal).toString(), "Only");
}
