#include "studio/components/TreeComponent.hpp"

#include "platform/tavi2/GLEdit2.hpp"
#include "platform/tavi2/GLTreeView2.hpp"
#include "platform/veld/Meta.hpp"
#include "studio/components/DefaultElementSetDescription.hpp"
#include "studio/components/ElementIsEditableObjectBase.hpp"
#include "studio/components/TreeComponentDelegate.hpp"
#include "studio/components/TreeViewModel.hpp"
#include "tests/studio/StudioAppFixture.hpp"

#include <algorithm>

using namespace KITE;
using namespace KITE::Test;

namespace {

using Objects = std::vector<VELD::ImmutableClassObject>;

Objects listOf(const VELD::Sequence<VELD::ImmutableClassObject>& sequence) {
    Objects objects;
    for (const VELD::ImmutableClassObject& object : sequence)
        objects.push_back(object);
    return objects;
}

// Lets every object be renamed in place.
class AllEditable : public ElementIsEditableObjectBase {
public:
    AllEditable() : ElementIsEditableObjectBase(Table::forClass<AllEditable>()) {}
    bool visit(const VELD::ClassObject&, unsigned) { return true; }

protected:
    void internalRegisterDescribableTypes() override {
        getDispatchTable()->setDefaultHandler(Table::member(&AllEditable::visit));
    }
};

// Counts the children the tree asks for: a rebuild asks, a tree left alone does not.
class CountingDelegate : public TreeComponentDelegate {
public:
    using TreeComponentDelegate::TreeComponentDelegate;
    void fetchChildren(const VELD::ImmutableClassObject& object,
                       std::vector<VELD::ImmutableClassObject>& out) override {
        ++fetches;
        TreeComponentDelegate::fetchChildren(object, out);
    }
    std::vector<VELD::ImmutableClassObject>
    fetchTopLevelItems(const VELD::ImmutableClassObject& top) override {
        ++fetches;
        return TreeComponentDelegate::fetchTopLevelItems(top);
    }
    int fetches = 0;
};

// Writes a label into a block's "gain", which takes numbers only.
class GainSetter : public ElementSetDescriptionBase {
public:
    GainSetter() : ElementSetDescriptionBase(Table::forClass<GainSetter>()) {}
    void visit(const VELD::ClassObject& object, const std::string& text) {
        const VELD::ImmutableProperty gain = object.getMetaClass().getProperty("gain");
        object.set(gain, VELD::ValueObjectFactory::createFromString("Double", text));
    }

protected:
    void internalRegisterDescribableTypes() override {
        getDispatchTable()->setDefaultHandler(Table::member(&GainSetter::visit));
    }
};

class TreeComponentTest : public StudioAppTest {
protected:
    void SetUp() override {
        StudioAppTest::SetUp();
        tree = dynamic_cast<TreeComponent*>(app->getComponent(StudioApp::treeComponentName));
        ASSERT_NE(tree, nullptr);
        app->addModel(blocks.model);
    }
    Editor* openMain() {
        Editor* editor = open(blocks.diagram);
        log.entries.clear();
        log.treeEvents.clear();
        return editor;
    }
    TreeViewModel& rows() const { return *tree->getTreeViewModel(); }
    unsigned rowOf(const VELD::ImmutableClassObject& object) const { return rows().getRow(object); }
    Objects visible() const { return listOf(tree->testAPI_GetVisibleObjects()); }
    void change(const std::function<void()>& apply) const {
        VELD::Transaction t(blocks.model);
        apply();
        t.commit();
    }
    // Ends an edit of the object's label with this text, as the view reports a commit.
    void commitLabel(const VELD::ClassObject& object, const std::string& text) {
        tree->editObject(object);
        TAVI::GLEdit2* editor = rows().getEditorIfAny(rowOf(object));
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        tree->handleEditComplete(TAVI::GLEditCompleteEvent2(tree->getTreeView(), rowOf(object),
                                                            rows().getColumn(), true));
    }

    TreeComponent* tree = nullptr;
};

} // namespace

TEST_F(TreeComponentTest, ShowsNothingWithoutAnEditorThenTheFirstDiagramAsItsOneTopRow) {
    EXPECT_TRUE(visible().empty());
    EXPECT_EQ(tree->testAPI_GetLabelOfObject(VELD::ClassObject(blocks.diagram)), "NOTFOUND");
    EXPECT_EQ(tree->getDisplayTitle(), "Model Browser");
    openMain();
    EXPECT_EQ(visible(), Objects{blocks.diagram});
    EXPECT_TRUE(tree->testAPI_IsParent(VELD::ClassObject(blocks.diagram)));
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    EXPECT_TRUE(tree->testAPI_IsExpanded(VELD::ClassObject(blocks.diagram)));
    const Objects children =
        listOf(tree->testAPI_GetVisibleChildren(VELD::ClassObject(blocks.diagram)));
    for (const VELD::ImmutableClassObject& shown :
         {VELD::ImmutableClassObject(blocks.a), VELD::ImmutableClassObject(blocks.b),
          VELD::ImmutableClassObject(blocks.ab)})
        EXPECT_NE(std::find(children.begin(), children.end(), shown), children.end());
    // The nested block shows once its container is expanded.
    EXPECT_EQ(tree->testAPI_GetLabelOfObject(VELD::ClassObject(blocks.inner)), "NOTFOUND");
    tree->testAPI_Expand(VELD::ClassObject(blocks.a));
    EXPECT_NE(tree->testAPI_GetLabelOfObject(VELD::ClassObject(blocks.inner)), "NOTFOUND");
    tree->testAPI_Collapse(VELD::ClassObject(blocks.a));
    EXPECT_FALSE(tree->testAPI_IsExpanded(VELD::ClassObject(blocks.a)));
    EXPECT_TRUE(
        tree->testAPI_DoIconsMatch(VELD::ClassObject(blocks.a), VELD::ClassObject(blocks.b)));
    EXPECT_FALSE(
        tree->testAPI_DoIconsMatch(VELD::ClassObject(blocks.a), VELD::ClassObject(blocks.diagram)));
}

TEST_F(TreeComponentTest, LabelsWithLineFeedsShowOnOneLineAndFindTheirObject) {
    openMain();
    change([&] { blocks.diagram.setName("two\nlines"); });
    const std::string label = tree->testAPI_GetLabelOfObject(VELD::ClassObject(blocks.diagram));
    EXPECT_EQ(label.find('\n'), std::string::npos);
    EXPECT_NE(label.find("two lines"), std::string::npos) << label;
    // The label holds spaces; the description the test operation compares with holds the line
    // feed, so it finds the object by that.
    EXPECT_EQ(
        tree->testAPI_GetObjectFromLabel(tree->getDelegate()->describeObject(blocks.diagram, 0)),
        VELD::ClassObject(blocks.diagram));
    EXPECT_TRUE(tree->testAPI_GetObjectFromLabel("no such label").isNull());
}

TEST_F(TreeComponentTest, SelectionInTheTreeIsAnnouncedOnceAndOnlyForOneRow) {
    openMain();
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    const VELD::ClassObject a(blocks.a);
    tree->testAPI_SetTreeSelection(a);
    ASSERT_EQ(log.treeEvents.size(), 1u);
    EXPECT_EQ(log.treeEvents[0].lastSelection(), a);
    EXPECT_EQ(log.treeEvents[0].getSource(), StudioApp::treeComponentName);
    EXPECT_EQ(log.treeEvents[0].getTrigger(), SelectionTrigger::User);
    EXPECT_EQ(app->getCurrentSelection(), a);
    EXPECT_EQ(tree->testAPI_GetSelected(), a);

    // Two rows at once: nothing announced, nothing selected.
    tree->getTreeView()->setSelectedRows({rowOf(blocks.a), rowOf(blocks.b)});
    EXPECT_EQ(log.treeEvents.size(), 1u);
    EXPECT_TRUE(tree->getSelected().isNull());

    // A modifier written in lower case is the modifier.
    struct Keys : TreeComponentDelegate {
        using TreeComponentDelegate::TreeComponentDelegate;
        void onKeyPressed(TAVI::GLKeyEvent2 e) override { masks.push_back(e.modifiers()); }
        std::vector<int> masks;
    };
    auto* keys = new Keys(studio.get());
    tree->setDelegate(keys);
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    for (const char* modifier : {"ctrl", "Shift", "alt"})
        tree->testAPI_ModifiedClick(VELD::ClassObject(blocks.b), modifier);
    EXPECT_EQ(keys->masks, (std::vector<int>{0x4000000, 0x2000000, 0}));
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.b));
}

TEST_F(TreeComponentTest, FollowsTreeEventsOfItsOwnNameOnlyAndExpandsToTheObject) {
    openMain();
    // The active editor's diagram is selected when its editor opens.
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.diagram));
    const VELD::ClassObject inner(blocks.inner);
    TreeSelectionChangedEventService* service = app->getTreeSelectionChangedEventService();
    service->raise(
        TreeSelectionChangedEvent(inner, "KITE PropBrowser component", SelectionTrigger::User));
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.diagram));
    EXPECT_EQ(tree->testAPI_GetLabelOfObject(inner), "NOTFOUND");

    // As the explorer bar speaks: under the tree's name. The tree opens the way to it.
    service->raise(
        TreeSelectionChangedEvent(inner, StudioApp::treeComponentName, SelectionTrigger::User));
    EXPECT_EQ(tree->getSelected(), inner);
    EXPECT_TRUE(tree->testAPI_IsExpanded(VELD::ClassObject(blocks.a)));
    EXPECT_EQ(tree->getTreeView()->getSelectedRows(), std::vector<unsigned>{rowOf(inner)});

    // A new object made by the studio application is selected the same way.
    const VELD::ImmutableClass blockClass = blocks.a.getMetaClass();
    const VELD::ClassObject made =
        app->createObjectOfType(VELD::ClassObject(blocks.b), blockClass).asClassObject();
    ASSERT_TRUE(made.isValid());
    EXPECT_EQ(tree->getSelected(), made);
    EXPECT_TRUE(tree->testAPI_IsExpanded(VELD::ClassObject(blocks.b)));
}

TEST_F(TreeComponentTest, TreeAndEditorFollowEachOtherWithoutLoops) {
    Editor* editor = openMain();
    // What a studio does to make the editor follow the user's choice in the tree.
    struct Mirror : NIMB::Listener {
        Editor* editor = nullptr;
        int followed = 0;
        void onTree(TreeSelectionChangedEvent e) {
            if (e.getTrigger() != SelectionTrigger::User || !e.lastSelection().isValid())
                return;
            ++followed;
            editor->clearSelection();
            editor->select(DiagramElement(e.lastSelection()));
        }
    } mirror;
    mirror.editor = editor;
    app->getTreeSelectionChangedEventService()->connect(&mirror, &Mirror::onTree,
                                                        NIMB::Thread::getCurrentThread());
    editor->select(blocks.b);
    // The editor's choice: one tree event following it, the row selected, no echo.
    ASSERT_EQ(log.treeEvents.size(), 1u);
    EXPECT_EQ(log.treeEvents[0].getTrigger(), SelectionTrigger::EditorSelection);
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.b));
    EXPECT_EQ(mirror.followed, 0);

    // The user's choice in the tree: the editor follows, the tree hears it once more and stops.
    tree->testAPI_SetTreeSelection(VELD::ClassObject(blocks.a));
    EXPECT_EQ(mirror.followed, 1);
    EXPECT_EQ(tree->getSelected(), VELD::ClassObject(blocks.a));
    ASSERT_EQ(editor->getSelection().size(), 1);
    EXPECT_EQ(*editor->getSelection().begin(), DiagramElement(blocks.a));
    const std::size_t afterClick = log.treeEvents.size();
    EXPECT_LE(afterClick, 4u);

    // Deselecting in the editor announces an empty selection.
    editor->deselect(blocks.a);
    ASSERT_GT(log.treeEvents.size(), afterClick);
    EXPECT_TRUE(log.treeEvents.back().isEmpty());
    mirror.disconnect();
}

TEST_F(TreeComponentTest, RowsFollowDeletionsUndoAndNewOrderKeepingTheOthers) {
    openMain();
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    const Objects before =
        listOf(tree->testAPI_GetVisibleChildren(VELD::ClassObject(blocks.diagram)));
    const unsigned keptRow = rowOf(blocks.b);
    const int level = blocks.model.getCurrentChangeLevel();
    change([&] { VELD::ClassObject(blocks.a).destroy(); });
    EXPECT_EQ(tree->testAPI_GetLabelOfObject(VELD::ClassObject(blocks.a)), "NOTFOUND");
    EXPECT_EQ(rowOf(blocks.b), keptRow); // the others keep their rows
    blocks.model.undoToChangeLevel(level);
    EXPECT_EQ(listOf(tree->testAPI_GetVisibleChildren(VELD::ClassObject(blocks.diagram))), before);
    EXPECT_EQ(rowOf(blocks.b), keptRow);

    // A child that moves behind its siblings is shown behind them; they keep their rows.
    change([&] {
        GraphElement(blocks.b).addContained(blocks.a);
        blocks.diagram.addContained(blocks.a);
    });
    Objects after = before;
    after.erase(std::find(after.begin(), after.end(), VELD::ImmutableClassObject(blocks.a)));
    after.push_back(blocks.a);
    EXPECT_EQ(listOf(tree->testAPI_GetVisibleChildren(VELD::ClassObject(blocks.diagram))), after);
    EXPECT_EQ(rowOf(blocks.b), keptRow);
}

TEST_F(TreeComponentTest, MovingDiagramElementsLeavesTheTreeAloneRenamingRebuildsIt) {
    openMain();
    auto* counting = new CountingDelegate(studio.get());
    tree->setDelegate(counting);
    tree->testAPI_Expand(VELD::ClassObject(blocks.diagram));
    counting->fetches = 0;
    change([&] { blocks.a.setPosition({80, 90}); });
    change([&] { blocks.b.setSize({70, 70}); });
    EXPECT_EQ(counting->fetches, 0);
    change([&] { blocks.diagram.setName("renamed"); });
    EXPECT_GT(counting->fetches, 0);
    EXPECT_NE(tree->testAPI_GetLabelOfObject(VELD::ClassObject(blocks.diagram)).find("renamed"),
              std::string::npos);
}

TEST_F(TreeComponentTest, LabelEditsAreOneTransactionUnlessEmptyUnchangedOrRefused) {
    openMain();
    const VELD::ClassObject diagram(blocks.diagram);
    EXPECT_FALSE(tree->testAPI_IsObjectReadonly(diagram));
    struct Case {
        const char* text;
        int transactions;
        const char* name;
    };
    for (const Case& c :
         {Case{"", 0, "main"}, Case{"main", 0, "main"}, Case{"renamed", 1, "renamed"}}) {
        SCOPED_TRACE(std::string("label '") + c.text + "'");
        log.entries.clear();
        commitLabel(diagram, c.text);
        EXPECT_EQ(log.count("TransactionCompleted"), c.transactions);
        EXPECT_EQ(blocks.diagram.getName(), c.name);
    }
    // The editor starts with the bare name, not the decorated label.
    tree->editObject(diagram);
    EXPECT_EQ(rows().getEditorIfAny(rowOf(diagram))->getText(), "renamed");

    // A text the model refuses: nothing changes, and the status area says why.
    tree->testAPI_Expand(diagram);
    boost::shared_ptr<ElementSetDescriptionBase> setter(new GainSetter);
    tree->getDelegate()->setElementSetDescriptionVisitor(setter);
    tree->getDelegate()->setElementIsEditableVisitor(
        boost::shared_ptr<ElementIsEditableObjectBase>(new AllEditable));
    const VELD::ImmutableProperty gain = blocks.a.getMetaClass().getProperty("gain");
    const VELD::ClassObject a(blocks.a);
    log.entries.clear();
    commitLabel(a, "2.5");
    EXPECT_EQ(log.count("TransactionCompleted"), 1);
    EXPECT_EQ(a.getDouble(gain), 2.5);
    log.entries.clear();
    commitLabel(a, "not a number");
    EXPECT_EQ(log.count("TransactionCompleted"), 0);
    EXPECT_EQ(a.getDouble(gain), 2.5);
    EXPECT_FALSE(blocks.model.isInTransaction());
    EXPECT_NE(framework().getStatusMessage().find("not a number"), std::string::npos)
        << framework().getStatusMessage();
}
