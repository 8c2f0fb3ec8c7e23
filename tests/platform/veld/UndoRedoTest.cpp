#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

using namespace VELD;

namespace {
struct UndoRedoTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    ClassObject root = model.getRootObject();
};
} // namespace

TEST_F(UndoRedoTest, LevelsMoveTheModelAsAWhole) {
    ClassObject b;
    commit(model, [&] { b = s.makeBlock(model, "b", 1.0); });
    commit(model, [&] { b.setDouble(s.x, 2.0); });
    commit(model, [&] { b.setDouble(s.x, 3.0); });
    EXPECT_EQ(model.getCurrentChangeLevel(), 3);

    model.undoToChangeLevel(1);
    EXPECT_EQ(b.getDouble(s.x), 1.0);
    EXPECT_EQ(model.getUndoStackLength(), 1);
    EXPECT_EQ(model.getRedoStackLength(), 2);
    model.redoToChangeLevel(2);
    EXPECT_EQ(b.getDouble(s.x), 2.0);
    model.undoToChangeLevel(0);
    EXPECT_FALSE(b.isValid());
    model.redoToChangeLevel(3);
    EXPECT_EQ(b.getDouble(s.x), 3.0);

    EXPECT_THROW(model.undoToChangeLevel(4), Exception);
    EXPECT_THROW(model.redoToChangeLevel(5), Exception);
}

TEST_F(UndoRedoTest, NewTransactionAfterUndoClearsRedo) {
    ClassObject b;
    commit(model, [&] { b = s.makeBlock(model, "b", 1.0); });
    commit(model, [&] { b.setDouble(s.x, 2.0); });
    model.undoToChangeLevel(1);
    commit(model, [&] { b.setDouble(s.x, 5.0); });
    EXPECT_EQ(model.getRedoStackLength(), 0);
    EXPECT_EQ(model.getCurrentChangeLevel(), 2);
    EXPECT_EQ(b.getDouble(s.x), 5.0);
}

TEST_F(UndoRedoTest, StepsKeepTheirNamesAndPositionsThroughUndoAndRedo) {
    ClassObject b;
    EXPECT_EQ(model.getHistoryPosition(), 0u);
    commit(model, "Make", [&] {
        b = s.makeBlock(model, "b", 1.0);
        // A nested transaction joins the outer one, and its name does not replace the outer's.
        Transaction inner(model, "Inner");
        b.setDouble(s.x, 2.0);
        inner.commit();
    });
    const std::uint64_t made = model.getHistoryPosition();
    commit(model, "Move", [&] { b.setDouble(s.x, 3.0); });
    const std::uint64_t moved = model.getHistoryPosition();
    EXPECT_NE(made, 0u);
    EXPECT_NE(moved, made);
    EXPECT_EQ(model.getUndoStepName(), "Move");
    EXPECT_EQ(model.getRedoStepName(), "");

    model.undoToChangeLevel(1);
    EXPECT_EQ(model.getUndoStepName(), "Make");
    EXPECT_EQ(model.getRedoStepName(), "Move");
    EXPECT_EQ(model.getHistoryPosition(), made);
    model.redoToChangeLevel(2);
    EXPECT_EQ(model.getHistoryPosition(), moved);

    // The same level reached by another change is another position.
    model.undoToChangeLevel(1);
    commit(model, [&] { b.setDouble(s.x, 7.0); });
    EXPECT_EQ(model.getCurrentChangeLevel(), 2);
    EXPECT_NE(model.getHistoryPosition(), moved);
    EXPECT_NE(model.getHistoryPosition(), made);
    EXPECT_EQ(model.getUndoStepName(), "");

    model.undoToChangeLevel(0);
    EXPECT_EQ(model.getHistoryPosition(), 0u);
    EXPECT_EQ(model.getUndoStepName(), "");
    EXPECT_EQ(model.getRedoStepName(), "Make");
}

TEST_F(UndoRedoTest, UndoOfDestroyRestoresSubtreeAndReferences) {
    ClassObject a, child, b, link;
    commit(model, [&] {
        a = s.makeBlock(model, "a");
        b = s.makeBlock(model, "b");
        child = model.getFactory().createFromString("Block");
        child.setString(s.name, "child");
        a.add(s.children, child);
        b.setObject(s.target, child);
        link = model.getFactory().createFromString("Link");
        root.add(s.links, link);
        link.setObject(s.dst, a);
    });
    commit(model, [&] { a.destroy(); });
    EXPECT_FALSE(child.isValid());
    EXPECT_TRUE(b.getObject(s.target).isNull());

    model.undoToChangeLevel(1);
    EXPECT_TRUE(a.isValid());
    EXPECT_EQ(child.getContainerVELD(), a);
    EXPECT_EQ(child.getString(s.name), "child");
    EXPECT_EQ(b.getObject(s.target), child);
    EXPECT_EQ(link.getObject(s.dst), a);
    EXPECT_EQ(root.get(s.blocks).size(), 2);
    EXPECT_EQ(root.get(s.blocks).front().asClassObject(), a); // back in its old place

    model.redoToChangeLevel(2);
    EXPECT_FALSE(a.isValid());
    EXPECT_FALSE(child.isValid());
}

TEST_F(UndoRedoTest, UndoAndRedoReportLikeTransactions) {
    struct Counter {
        int reports = 0;
        int added = 0, removed = 0;
        void transactionCompleted(const ReportOfChanges<ImmutableClassObject>& r) {
            ++reports;
            added += r.getAdded().size();
            removed += r.getRemoved().size();
        }
    } counter;
    internal::ListenerHolder<ImmutableModel, Counter> holder(&counter);
    ClassObject b;
    commit(model, [&] { b = s.makeBlock(model, "b"); });
    model.registerObservingListener(&holder);
    model.undoToChangeLevel(0);
    EXPECT_EQ(counter.reports, 1);
    EXPECT_EQ(counter.removed, 1);
    model.redoToChangeLevel(1);
    EXPECT_EQ(counter.reports, 2);
    EXPECT_EQ(counter.added, 1);
    model.unregisterObservingListener(&holder);
}

TEST_F(UndoRedoTest, WorkingCopySeesUndoOnlyAfterSync) {
    ClassObject b;
    commit(model, [&] { b = s.makeBlock(model, "b", 1.0); });
    commit(model, [&] { b.setDouble(s.x, 2.0); });
    Model wc = model.createDeviantWithName("wc");
    model.undoToChangeLevel(1);
    EXPECT_EQ(b.asDeviant(wc).getDouble(s.x), 2.0);
    wc.syncFromRoot();
    EXPECT_EQ(b.asDeviant(wc).getDouble(s.x), 1.0);
}

TEST_F(UndoRedoTest, UndoWithATransactionOpenIsRefused) {
    ClassObject b;
    commit(model, [&] { b = s.makeBlock(model, "b", 1.0); });
    Transaction t(model);
    EXPECT_THROW(model.undoToChangeLevel(0), Exception);
    t.commit();
    EXPECT_THROW(model.createDeviantWithName("x").undoToChangeLevel(0), Exception);
}

TEST_F(UndoRedoTest, LevelsOutsideTheHistoryAreRefusedAndChangeNothing) {
    ClassObject b;
    commit(model, [&] { b = s.makeBlock(model, "b", 1.0); });
    commit(model, [&] { b.setDouble(s.x, 2.0); });
    commit(model, [&] { b.setDouble(s.x, 3.0); });
    model.undoToChangeLevel(2); // levels 0..2 to undo to, 2..3 to redo to
    const struct {
        bool undo;
        int level;
    } cases[] = {{true, -1}, {true, 3}, {false, 1}, {false, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE((c.undo ? "undo to " : "redo to ") + std::to_string(c.level));
        EXPECT_THROW(c.undo ? model.undoToChangeLevel(c.level) : model.redoToChangeLevel(c.level),
                     Exception);
        EXPECT_EQ(model.getCurrentChangeLevel(), 2);
        EXPECT_EQ(model.getRedoStackLength(), 1);
        EXPECT_EQ(b.getDouble(s.x), 2.0);
    }
}
