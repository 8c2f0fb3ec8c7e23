#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

using namespace VELD;

namespace {
struct TransactionTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    ClassObject root = model.getRootObject();
    ClassObject block;
    void SetUp() override {
        Transaction t(model);
        block = s.makeBlock(model, "b", 1.0);
        t.commit();
    }
};
} // namespace

TEST_F(TransactionTest, DestroyedWithoutCommitRollsBackEverything) {
    {
        Transaction t(model);
        block.setDouble(s.x, 5.0);
        ClassObject extra = s.makeBlock(model, "extra");
        block.setObject(s.target, extra);
        block.destroy();
    }
    EXPECT_TRUE(block.isValid());
    EXPECT_EQ(block.getDouble(s.x), 1.0);
    EXPECT_FALSE(block.isSet(s.target));
    EXPECT_EQ(root.get(s.blocks).size(), 1);
    EXPECT_EQ(model.getCurrentChangeLevel(), 1);
}

TEST_F(TransactionTest, ExceptionLeavingAScopeRollsBack) {
    try {
        Transaction t(model);
        block.setDouble(s.x, 9.0);
        block.set(s.x, ImmutableObject::fromString("not a number"));
        t.commit();
    } catch (const Exception&) {
    }
    EXPECT_EQ(block.getDouble(s.x), 1.0);
    EXPECT_FALSE(model.isInTransaction());
}

TEST_F(TransactionTest, NestedTransactionsJoinTheOutermost) {
    Transaction outer(model);
    {
        Transaction inner(model);
        block.setDouble(s.x, 2.0);
        inner.commit();
    }
    EXPECT_EQ(model.getCurrentChangeLevel(), 1); // nothing committed yet
    outer.commit();
    EXPECT_EQ(model.getCurrentChangeLevel(), 2);
    EXPECT_EQ(block.getDouble(s.x), 2.0);
}

TEST_F(TransactionTest, InnerRollbackUndoesTheWholeAndOuterCommitFails) {
    Transaction outer(model);
    block.setDouble(s.x, 2.0);
    {
        Transaction inner(model);
        block.setDouble(s.x, 3.0);
    }
    EXPECT_EQ(block.getDouble(s.x), 1.0);
    EXPECT_THROW(outer.commit(), Exception);
    EXPECT_EQ(model.getCurrentChangeLevel(), 1);
}

TEST_F(TransactionTest, AfterAnInnerRollbackTheOuterCommitsNothingBegunLater) {
    Transaction outer(model);
    block.setDouble(s.x, 2.0);
    { Transaction inner(model); } // left uncommitted: the whole rolls back
    Transaction later(model);
    block.setDouble(s.x, 3.0);
    EXPECT_THROW(outer.commit(), Exception);
    EXPECT_TRUE(model.isInTransaction());
    EXPECT_EQ(model.getCurrentChangeLevel(), 1);
    later.commit();
    EXPECT_EQ(model.getCurrentChangeLevel(), 2);
    EXPECT_EQ(block.getDouble(s.x), 3.0);
}

TEST_F(TransactionTest, AnObjectMadeAndDestroyedInOneTransactionLeavesNoTrace) {
    Transaction t(model);
    ClassObject tmp = s.makeBlock(model, "tmp");
    tmp.destroy();
    t.commit();
    EXPECT_FALSE(tmp.isValid());
    EXPECT_EQ(root.get(s.blocks).size(), 1);
}

TEST_F(TransactionTest, MisuseOfTransactionsThrows) {
    EXPECT_THROW(model.commitTransaction(), Exception);
    EXPECT_THROW(model.rollbackTransaction(), Exception);
    Transaction t(model);
    t.commit();
    EXPECT_THROW(t.commit(), Exception);
}
