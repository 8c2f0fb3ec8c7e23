#include "studio/components/ExplorerBarComponent.hpp"

#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLMenu2.hpp"
#include "studio/components/ExplorerBarAction.hpp"
#include "studio/components/ExplorerBarItem.hpp"
#include "studio/components/KITEExplorerBar2.hpp"
#include "studio/components/TreeComponent.hpp"
#include "studio/components/TreeViewModel.hpp"
#include "tests/studio/StudioAppFixture.hpp"

using namespace KITE;
using namespace KITE::Test;

namespace {

using Strings = std::vector<std::string>;

class ExplorerBarTest : public StudioAppTest {
protected:
    void SetUp() override {
        StudioAppTest::SetUp();
        app->addModel(blocks.model);
        open(blocks.diagram);
        tree = dynamic_cast<TreeComponent*>(app->getComponent(StudioApp::treeComponentName));
        ASSERT_NE(tree, nullptr);
        component = dynamic_cast<ExplorerBarComponent*>(app->getOrCreateComponent(
            ExplorerBarComponent::typeName, ExplorerBarComponent::typeName, "Invisible", ""));
        ASSERT_NE(component, nullptr);
        bar = component->getBar();
        ASSERT_NE(bar, nullptr);
        log.treeEvents.clear();
    }
    unsigned rowOf(const VELD::ImmutableClassObject& object) const {
        return tree->getTreeViewModel()->getRow(object);
    }
    std::string label(const VELD::ImmutableClassObject& object) const {
        return tree->testAPI_GetLabelOfObject(VELD::ClassObject(object));
    }
    // The texts of the row items, in order.
    Strings shownPath() const {
        Strings texts;
        for (ExplorerBarItem* item : bar->getItems())
            if (item->getRow() != 0 && !item->getText().empty())
                texts.push_back(item->getText());
        return texts;
    }
    // Clicks the arrow after the row and returns the menu's entries.
    std::vector<ExplorerBarAction*> openChildren(unsigned row) {
        for (ExplorerBarItem* item : bar->getItems())
            if (item->getRow() == row && item->getText().empty()) {
                item->click();
                return bar->getMenuActions();
            }
        ADD_FAILURE() << "no arrow after row " << row;
        return {};
    }

    TreeComponent* tree = nullptr;
    ExplorerBarComponent* component = nullptr;
    KITEExplorerBar2* bar = nullptr;
};

} // namespace

TEST_F(ExplorerBarTest, StartsAtTheTreesSelectionWithTheTopLevelBehindTheRootsArrow) {
    EXPECT_EQ(component->getDisplayTitle(), "Explorer Bar");
    // The tree selected the active editor's diagram; the bar starts there.
    EXPECT_EQ(bar->getCurrent(), rowOf(blocks.diagram));
    EXPECT_EQ(shownPath(), Strings{label(blocks.diagram)});
    const std::vector<ExplorerBarAction*> top = openChildren(0);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0]->getLabel(), label(blocks.diagram));
    EXPECT_EQ(top[0]->getToolTip(), label(blocks.diagram));
    // Going where it is: no event, no new history.
    top[0]->trigger();
    EXPECT_TRUE(log.treeEvents.empty());
    EXPECT_EQ(bar->getHistory(), Strings{label(blocks.diagram)});
}

TEST_F(ExplorerBarTest, ChildrenMenuLoadsTheChildrenAndNavigatesDown) {
    const std::vector<ExplorerBarAction*> children = openChildren(rowOf(blocks.diagram));
    ASSERT_GE(children.size(), 3u); // the two blocks and the connection at least
    ExplorerBarAction* toA = nullptr;
    for (ExplorerBarAction* action : children)
        if (action->getRow() == rowOf(blocks.a))
            toA = action;
    ASSERT_NE(toA, nullptr);
    EXPECT_EQ(toA->getToolTip(), label(blocks.diagram) + "/" + label(blocks.a));
    toA->trigger();
    EXPECT_EQ(shownPath(), (Strings{label(blocks.diagram), label(blocks.a)}));
    // The pick is announced as the tree's selection, which the tree follows.
    ASSERT_EQ(log.treeEvents.size(), 1u);
    EXPECT_EQ(log.treeEvents[0].getSource(), StudioApp::treeComponentName);
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.a));
}

TEST_F(ExplorerBarTest, HistoryKeepsEachPathOnceInTheOrderLastVisited) {
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    tree->testAPI_Expand(VELD::ClassObject(blocks.a));
    const unsigned d = rowOf(blocks.diagram), a = rowOf(blocks.a), ab = rowOf(blocks.ab),
                   inner = rowOf(blocks.inner);
    // Five navigations, the last back to a path seen before.
    for (unsigned row : {a, ab, inner, d, a})
        bar->navigateTo(row);
    EXPECT_EQ(log.treeEvents.size(), 5u);
    EXPECT_EQ(bar->getHistory(),
              (Strings{bar->getPath(ab), bar->getPath(inner), bar->getPath(d), bar->getPath(a)}));
    // The row that is current already: no history, no event.
    bar->navigateTo(a);
    EXPECT_EQ(log.treeEvents.size(), 5u);
    EXPECT_EQ(bar->getHistory().size(), 4u);

    // The history menu lists them oldest first and goes back to one.
    bar->getItems().back()->click();
    const std::vector<ExplorerBarAction*> entries = bar->getMenuActions();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0]->getLabel(), bar->getPath(ab));
    EXPECT_EQ(entries[0]->getRow(), ab);
    entries[0]->trigger();
    EXPECT_EQ(bar->getCurrent(), ab);
    EXPECT_EQ(bar->getHistory().back(), bar->getPath(ab));
}

TEST_F(ExplorerBarTest, TypedPathsGoWhereTheyResolveAndOtherwiseChangeNothing) {
    // Only the second block holds a connection.
    {
        VELD::Transaction t(blocks.model);
        GraphEdge edge(blocks.model.getFactory().createFromString("Connection"));
        GraphElement(blocks.b).addContained(edge);
        t.commit();
    }
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram)); // for the labels; not the blocks
    const std::string diagram = label(blocks.diagram);
    const std::string block = label(blocks.a);
    ASSERT_EQ(block, label(blocks.b)); // the blocks share one label
    bar->startEditing();
    ASSERT_TRUE(bar->isEditing());
    EXPECT_EQ(bar->getPathField()->getText(), diagram);
    // The first row with the label is taken.
    bar->takePath(diagram + "/" + block + "/" + block);
    EXPECT_FALSE(bar->isEditing());
    EXPECT_EQ(bar->getCurrent(), rowOf(blocks.inner));
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.inner));

    struct Case {
        const char* name;
        std::string path;
    };
    const std::vector<Case> cases = {
        {"unknown top", "nothing here"},
        {"first part matches, rest does not", diagram + "/no such child"},
        {"no going back to a later equal label", diagram + "/" + block + "/" + label(blocks.ab)},
        {"a label holding a slash", diagram + "/" + block + "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t events = log.treeEvents.size();
        bar->startEditing();
        bar->takePath(c.path);
        EXPECT_FALSE(bar->isEditing());
        EXPECT_EQ(bar->getCurrent(), rowOf(blocks.inner));
        EXPECT_EQ(log.treeEvents.size(), events);
        EXPECT_NE(bar->getError().find(c.path), std::string::npos) << bar->getError();
    }
}

TEST_F(ExplorerBarTest, FollowsTheTreeOnlyForTheActiveEditorsBar) {
    // The plain editor has no explorer bar: this one is not the active editor's.
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    tree->testAPI_SetTreeSelection(VELD::ClassObject(blocks.a));
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.a));
    EXPECT_EQ(bar->getCurrent(), rowOf(blocks.diagram));
}
