#include "platform/tavi/TypedException.hpp"
#include "platform/tavi2/GLDragManager2.hpp"
#include "platform/tavi2/GLMimeData2.hpp"
#include "platform/tavi2/GLPanel2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/tavi2/MimeRegistry.hpp"
#include "tests/platform/tavi2/EventRecorder.hpp"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace TAVI;
using KiteTest::EventRecorder;

TEST(MimeRegistryTest, RegistersWellFormedTypesOnce) {
    EXPECT_TRUE(MimeRegistry::registerMimeType("application/x-kite-test-element"));
    EXPECT_TRUE(MimeRegistry::registerMimeType("application/x-kite-test-element"));
    EXPECT_TRUE(MimeRegistry::isRegistered("application/x-kite-test-element"));
    const auto types = MimeRegistry::getRegisteredTypes();
    EXPECT_EQ(std::count(types.begin(), types.end(), "application/x-kite-test-element"), 1);
    for (const char* bad :
         {"", "element", "/element", "application/", "a/b/c", "application/x kite"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(MimeRegistry::registerMimeType(bad));
        EXPECT_FALSE(MimeRegistry::isRegistered(bad));
    }
}

TEST(GLMimeData2Test, ValuesStayWholeInTheProcessAndTextLeavesIt) {
    GLMimeData2 data;
    EXPECT_TRUE(data.setData("application/x-kite-ids", std::vector<unsigned>{4, 2}));
    EXPECT_TRUE(data.setData("text/plain", std::string("Block")));
    EXPECT_TRUE(data.setData("application/x-kite-count", 12));
    EXPECT_TRUE(data.setData("application/x-kite-role", StringID("Select")));
    EXPECT_FALSE(data.setData("", 1));
    EXPECT_EQ(data.getFormats(),
              (std::vector<std::string>{"application/x-kite-count", "application/x-kite-ids",
                                        "application/x-kite-role", "text/plain"}));

    std::unique_ptr<QMimeData> qt(data.toQMimeData());
    EXPECT_EQ(qt->text(), "Block");
    EXPECT_EQ(qt->data("application/x-kite-count"), "12");
    EXPECT_EQ(qt->data("application/x-kite-role"), "Select");
    EXPECT_TRUE(qt->hasFormat("application/x-kite-ids"));
    EXPECT_TRUE(qt->data("application/x-kite-ids").isEmpty());

    const GLMimeData2 back = GLMimeData2::fromQMimeData(qt.get());
    EXPECT_EQ(any_cast<std::vector<unsigned>>(back.getData("application/x-kite-ids")),
              (std::vector<unsigned>{4, 2}));

    // Data from elsewhere gives its bytes as text.
    QMimeData foreign;
    foreign.setData("application/x-other", "abc");
    const GLMimeData2 other = GLMimeData2::fromQMimeData(&foreign);
    EXPECT_EQ(any_cast<std::string>(other.getData("application/x-other")), "abc");
    EXPECT_TRUE(other.getData("text/plain").empty());
    EXPECT_TRUE(GLMimeData2::fromQMimeData(nullptr).isEmpty());
}

TEST(GLDragManager2Test, DragWithoutADropSiteIsIgnoredAndLeavesNoState) {
    GLPanel2 source("qt");
    source.resize(100, 100);
    source.show();
    GLMimeData2 data;
    data.setData("text/plain", std::string("Gain"));

    // Nothing accepts the drop here (headless runs have no pointer to drop with).
    EXPECT_EQ(GLDragManager2::start(&source, data), GLDragManager2::IgnoreAction);
    EXPECT_FALSE(GLDragManager2::isDragging());
    EXPECT_EQ(GLDragManager2::getCurrentData(), nullptr);
    // A finished drag does not block the next one.
    EXPECT_EQ(GLDragManager2::start(&source, data, GLDragManager2::CopyAction),
              GLDragManager2::IgnoreAction);

    EXPECT_THROW(GLDragManager2::start(nullptr, data), TypedException);
    EXPECT_THROW(GLDragManager2::start(&source, GLMimeData2()), TypedException);
}

namespace {

// Sends a drag entering a widget and dropping at a point; returns whether each was accepted.
std::pair<bool, bool> dragAndDrop(QWidget* target, const GLMimeData2& data, QPoint at) {
    std::unique_ptr<QMimeData> qt(data.toQMimeData());
    QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, qt.get(), Qt::LeftButton,
                          Qt::NoModifier);
    enter.setAccepted(false);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, qt.get(), Qt::LeftButton,
                    Qt::NoModifier);
    drop.setAccepted(false);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted()};
}

} // namespace

TEST(GLWidget2DropTest, OnlyTheWidgetsFormatsAreTakenAndDropped) {
    GLPanel2 target("qt");
    target.resize(100, 100);
    target.show();
    EventRecorder<GLDropEvent2> drops(target.getDropEmitter());
    GLMimeData2 element;
    element.setData("application/x-kite-test-element", std::vector<unsigned>{7});

    EXPECT_EQ(dragAndDrop(target.getQWidget(), element, QPoint(10, 20)),
              std::make_pair(false, false));
    EXPECT_EQ(drops.size(), 0u);

    target.setDropFormats({"text/plain", "application/x-kite-test-element"});
    EXPECT_TRUE(target.getQWidget()->acceptDrops());
    EXPECT_EQ(dragAndDrop(target.getQWidget(), element, QPoint(10, 20)),
              std::make_pair(true, true));
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops.events[0].widget(), &target);
    EXPECT_EQ(drops.events[0].pos(), (GLPoint<int>{10, 20}));
    EXPECT_EQ(any_cast<std::vector<unsigned>>(
                  drops.events[0].data().getData("application/x-kite-test-element")),
              std::vector<unsigned>{7});

    GLMimeData2 other;
    other.setData("application/x-unrelated", std::string("x"));
    EXPECT_EQ(dragAndDrop(target.getQWidget(), other, QPoint(5, 5)), std::make_pair(false, false));
    EXPECT_EQ(drops.size(), 1u);

    target.setDropFormats({});
    EXPECT_FALSE(target.getQWidget()->acceptDrops());
}

TEST(GLWidget2DropTest, TreeViewTakesDropsOnItsRows) {
    Holder<GLAbstractViewModel2> model(new GLAbstractViewModel2);
    model->appendColumns(1);
    const unsigned row = model->appendRow(0);
    model->setValue(row, model->getColumnUID(0), std::string("Target"));
    GLTreeView2 view("qt");
    view.setModel(model);
    view.resize(200, 200);
    view.show();
    view.setDropFormats({"text/plain"});
    EventRecorder<GLDropEvent2> drops(view.getDropEmitter());
    GLMimeData2 text;
    text.setData("text/plain", std::string("Gain"));

    QWidget* rowsArea = static_cast<QAbstractScrollArea*>(view.getQWidget())->viewport();
    const QPoint onRow =
        static_cast<QTreeView*>(view.getQWidget())
            ->visualRect(static_cast<QTreeView*>(view.getQWidget())->model()->index(0, 0))
            .center();
    EXPECT_EQ(dragAndDrop(rowsArea, text, onRow), std::make_pair(true, true));
    ASSERT_EQ(drops.size(), 1u);
    const GLPoint<int> at = drops.events[0].pos();
    EXPECT_EQ(view.getModelCellAt(at.x, at.y).rowUID, row);
}
