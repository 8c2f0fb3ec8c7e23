#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

using namespace VELD;

namespace {
struct DeviantTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    ClassObject block;
    Model wc;
    void SetUp() override {
        Transaction t(model);
        block = s.makeBlock(model, "b", 1.0);
        t.commit();
        wc = model.createDeviantWithName("1");
    }
};
} // namespace

TEST_F(DeviantTest, ChangesInAWorkingCopyStayThere) {
    ClassObject mine = block.asDeviant(wc);
    commit(wc, [&] { mine.setDouble(s.x, 10.0); });
    EXPECT_EQ(mine.getDouble(s.x), 10.0);
    EXPECT_EQ(block.getDouble(s.x), 1.0);
    EXPECT_TRUE(wc.hasObjectsDeviatingFromRoot());
    EXPECT_EQ(model.getCurrentChangeLevel(), 1); // working copies have no undo
}

TEST_F(DeviantTest, WorkingCopyDoesNotSeeRootChangesBeforeItSyncs) {
    ClassObject mine = block.asDeviant(wc);
    ClassObject added;
    commit(model, [&] {
        block.setDouble(s.x, 2.0);
        added = s.makeBlock(model, "new");
    });
    EXPECT_EQ(mine.getDouble(s.x), 1.0);
    EXPECT_FALSE(added.asDeviant(wc).isValid());
    EXPECT_EQ(wc.getRootObject().get(s.blocks).size(), 1);

    wc.syncFromRoot();
    EXPECT_EQ(mine.getDouble(s.x), 2.0);
    EXPECT_TRUE(added.asDeviant(wc).isValid());
    EXPECT_FALSE(wc.hasObjectsDeviatingFromRoot());
}

TEST_F(DeviantTest, SyncDropsTheCopysOwnChanges) {
    ClassObject mine = block.asDeviant(wc);
    ClassObject made;
    commit(wc, [&] {
        mine.setDouble(s.x, 10.0);
        made = s.makeBlock(wc, "preview");
    });
    EXPECT_TRUE(made.isValid());
    EXPECT_FALSE(made.asDeviant(model).isValid());
    wc.syncFromRoot();
    EXPECT_EQ(mine.getDouble(s.x), 1.0);
    EXPECT_FALSE(made.isValid());
}

TEST_F(DeviantTest, DestroyInACopyHidesOnlyThere) {
    commit(wc, [&] { block.asDeviant(wc).destroy(); });
    EXPECT_FALSE(block.asDeviant(wc).isValid());
    EXPECT_TRUE(block.isValid());
    EXPECT_EQ(model.getRootObject().get(s.blocks).size(), 1);
    EXPECT_EQ(wc.getRootObject().get(s.blocks).size(), 0);
}

TEST_F(DeviantTest, RemovedCopyInvalidatesItsHandlesAndNamesAreUnique) {
    ClassObject mine = block.asDeviant(wc);
    EXPECT_THROW(model.createDeviantWithName("1"), Exception);
    EXPECT_EQ(model.getDeviantWithName("1"), wc);
    EXPECT_TRUE(model.removeDeviantWithName("1"));
    EXPECT_FALSE(model.removeDeviantWithName("1"));
    EXPECT_FALSE(mine.isValid());
    EXPECT_FALSE(wc.isValid());
    EXPECT_THROW(wc.beginTransaction(), Exception);
    EXPECT_TRUE(block.isValid());
}

TEST_F(DeviantTest, CopyTellsWhetherItHoldsAnObjectsStateOfItsOwn) {
    EXPECT_EQ(wc.getObjectState(block), ObjectState::FallBackToRoot);
    EXPECT_EQ(model.getObjectState(block), ObjectState::OwnState);
    commit(wc, [&] { block.asDeviant(wc).setDouble(s.x, 3.0); });
    EXPECT_EQ(wc.getObjectState(block), ObjectState::OwnState);
    commit(wc, [&] { block.asDeviant(wc).destroy(); });
    EXPECT_EQ(wc.getObjectState(block), ObjectState::InvalidObject);
    EXPECT_EQ(wc.getObjectState(s.newModel().getRootObject()), ObjectState::InvalidObject);
}

TEST_F(DeviantTest, ACopysChangesNeverWriteIntoStatesOthersStillHold) {
    ClassObject mine = block.asDeviant(wc);
    commit(model, [&] { block.setDouble(s.x, 2.0); });
    // The copy still shows the old state, which the root's undo step holds too.
    commit(wc, [&] { mine.setDouble(s.x, 7.0); });
    EXPECT_EQ(block.getDouble(s.x), 2.0);
    model.undoToChangeLevel(1);
    EXPECT_EQ(block.getDouble(s.x), 1.0);
    EXPECT_EQ(mine.getDouble(s.x), 7.0);
    model.redoToChangeLevel(2);
    EXPECT_EQ(block.getDouble(s.x), 2.0);
    // The copy's own state is what a rollback of its next transaction goes back to.
    {
        Transaction t(wc);
        mine.setDouble(s.x, 8.0);
    }
    EXPECT_EQ(mine.getDouble(s.x), 7.0);
}
