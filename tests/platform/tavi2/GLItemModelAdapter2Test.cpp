#include "platform/tavi2/GLAbstractViewModel2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"

#include <QAbstractItemModel>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace TAVI;

namespace {

using Rows = std::vector<unsigned>;

// A model of parents with children, shown by views whose rows are all expanded.
class GLItemModelAdapter2Test : public ::testing::Test {
protected:
    void SetUp() override {
        model = new GLAbstractViewModel2;
        column = model->appendColumns(1).front();
        parents = model->appendRows(0, 3);
        for (unsigned parent : parents) {
            const Rows children = model->appendRows(parent, 4);
            model->setValue(children.back(), column, std::string("last"));
        }
    }
    std::unique_ptr<GLTreeView2> expandedView() {
        auto view = std::make_unique<GLTreeView2>("qt");
        view->setModel(model);
        view->expandAll();
        view->setSelectedRows({parents[1]});
        return view;
    }
    // Counts from now on the resets of the Qt model the view reads.
    void countResets(GLTreeView2& view) {
        QAbstractItemModel* qt = static_cast<QTreeView*>(view.getQWidget())->model();
        QObject::disconnect(qt, nullptr, &context, nullptr);
        QObject::connect(qt, &QAbstractItemModel::modelReset, &context, [this] { ++resets; });
        resets = 0;
    }

    Holder<GLAbstractViewModel2> model;
    unsigned column = 0;
    Rows parents;
    int resets = 0;
    QObject context;
};

} // namespace

// The last view to let go of a model has Qt forget its expanded and selected rows in one step;
// a view that goes while others show the model leaves them as they are.
TEST_F(GLItemModelAdapter2Test, OnlyTheLastViewToGoMakesQtForgetTheRowsItKept) {
    enum class Going { Deleted, GivenAnotherModel };
    for (const Going going : {Going::Deleted, Going::GivenAnotherModel}) {
        SCOPED_TRACE(going == Going::Deleted ? "deleted" : "given another model");
        std::unique_ptr<GLTreeView2> first = expandedView();
        std::unique_ptr<GLTreeView2> second = expandedView();
        countResets(*second);
        auto letGo = [&](std::unique_ptr<GLTreeView2>& view) {
            if (going == Going::Deleted)
                view.reset();
            else
                view->setModel(Holder<GLAbstractViewModel2>(new GLAbstractViewModel2));
        };

        letGo(first);
        EXPECT_EQ(resets, 0);
        EXPECT_EQ(second->getExpandedRows(), parents) << "the other view keeps its rows open";
        EXPECT_EQ(second->getSelectedRows(), Rows{parents[1]});

        letGo(second);
        EXPECT_EQ(resets, 1);
        // The model itself is as it was, and a new view shows it whole.
        const std::unique_ptr<GLTreeView2> again = expandedView();
        EXPECT_EQ(again->getVisibleRows().size(), 15u);
        EXPECT_EQ(model->getText(model->getChildRows(parents[2]).back(), column), "last");
    }
}
