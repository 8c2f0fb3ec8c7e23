#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

#include <functional>

using namespace VELD;

namespace {
using Report = ReportOfChanges<ImmutableClassObject>;

// Keeps what each report said, in order.
struct Recorder : ListenerBase {
    struct Seen {
        std::vector<ImmutableClassObject> added, removed, modified;
        Report report;
    };
    std::vector<Seen> reports;
    std::function<void(const Report&)> onReport;
    int destroyed = 0;
    internal::ListenerHolder<ImmutableModel, Recorder> holder{this};

    void transactionCompleted(const Report& r) {
        reports.push_back(
            {r.getAdded().toVector(), r.getRemoved().toVector(), r.getModified().toVector(), r});
        if (onReport)
            onReport(r);
    }
    void onDeviantDestroyed() override { ++destroyed; }
};

struct ReportTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    ClassObject root = model.getRootObject();
    ClassObject block;
    Recorder recorder;
    void SetUp() override {
        Transaction t(model);
        block = s.makeBlock(model, "b", 1.0);
        t.commit();
        model.registerObservingListener(&recorder.holder);
    }
    void TearDown() override { model.unregisterObservingListener(&recorder.holder); }
};
} // namespace

TEST_F(ReportTest, OneReportPerCommitWithAddedRemovedAndModified) {
    ClassObject other;
    commit(model, [&] {
        block.setDouble(s.x, 2.0);
        other = s.makeBlock(model, "o");
    });
    ASSERT_EQ(recorder.reports.size(), 1u);
    const auto& first = recorder.reports[0];
    EXPECT_EQ(first.added, std::vector<ImmutableClassObject>{other});
    // The block changed, and so did the System whose list got the new block.
    EXPECT_EQ(first.modified.size(), 2u);
    EXPECT_TRUE(first.removed.empty());
    EXPECT_EQ(first.report.getOldState(block).getDouble(s.x), 1.0);
    EXPECT_EQ(first.report.getOldState(root).get(s.blocks).size(), 1);
    EXPECT_FALSE(first.report.getOldState(other).isValid());

    commit(model, [&] { other.destroy(); });
    ASSERT_EQ(recorder.reports.size(), 2u);
    EXPECT_EQ(recorder.reports[1].removed, std::vector<ImmutableClassObject>{other});
    EXPECT_EQ(recorder.reports[1].report.getOldState(other).getString(s.name), "o");
}

TEST_F(ReportTest, ObjectMadeAndDestroyedInOneTransactionIsNotReported) {
    Transaction t(model);
    ClassObject tmp = s.makeBlock(model, "tmp");
    tmp.destroy();
    t.commit();
    ASSERT_EQ(recorder.reports.size(), 1u);
    EXPECT_TRUE(recorder.reports[0].added.empty());
    EXPECT_TRUE(recorder.reports[0].removed.empty());
    EXPECT_FALSE(recorder.reports[0].report.getModified().contains(tmp));
}

TEST_F(ReportTest, RolledBackAndEmptyTransactionsReportNothingAndLeaveNoTrace) {
    Model wc = model.createDeviantWithName("wc");
    Recorder copyRecorder;
    wc.registerObservingListener(&copyRecorder.holder);
    for (const Model& deviant : {model, wc}) {
        SCOPED_TRACE(deviant.isRootDeviant() ? "root" : "working copy");
        ClassObject made;
        {
            Transaction t(deviant);
            block.asDeviant(deviant).setDouble(s.x, 5.0);
            made = s.makeBlock(deviant, "made");
        }
        commit(deviant, [&] {});
        EXPECT_EQ(block.asDeviant(deviant).getDouble(s.x), 1.0);
        EXPECT_FALSE(made.isValid());
        EXPECT_EQ(deviant.getRootObject().get(s.blocks).size(), 1);
        EXPECT_FALSE(wc.hasObjectsDeviatingFromRoot());
        EXPECT_EQ(model.getCurrentChangeLevel(), 1);
    }
    EXPECT_TRUE(recorder.reports.empty());
    EXPECT_TRUE(copyRecorder.reports.empty());
    wc.unregisterObservingListener(&copyRecorder.holder);
}

TEST_F(ReportTest, ListenerMayOpenTransactionsFromItsCallback) {
    Model wc = model.createDeviantWithName("wc");
    Recorder copyRecorder;
    wc.registerObservingListener(&copyRecorder.holder);
    int nested = 0;
    recorder.onReport = [&](const Report&) {
        // The editor's pattern: bring the working copy up to date after every root commit.
        wc.beginTransaction();
        wc.syncFromRoot();
        wc.commitTransaction();
        if (nested++ == 0) { // and a follow-up change on the root itself
            Transaction t(model);
            block.setString(s.name, "renamed");
            t.commit();
        }
    };
    commit(model, [&] { block.setDouble(s.x, 3.0); });
    EXPECT_EQ(recorder.reports.size(), 2u);
    EXPECT_EQ(model.getCurrentChangeLevel(), 3);
    ASSERT_EQ(copyRecorder.reports.size(), 2u);
    EXPECT_EQ(copyRecorder.reports[0].modified, std::vector<ImmutableClassObject>{block});
    EXPECT_EQ(block.asDeviant(wc).getString(s.name), "renamed");
    EXPECT_EQ(block.asDeviant(wc).getDouble(s.x), 3.0);
    wc.unregisterObservingListener(&copyRecorder.holder);
}

TEST_F(ReportTest, SyncReportsTheCopysPreviousViewAsOldState) {
    Model wc = model.createDeviantWithName("wc");
    Recorder copyRecorder;
    wc.registerObservingListener(&copyRecorder.holder);
    commit(wc, [&] { block.asDeviant(wc).setDouble(s.x, 7.0); });
    wc.syncFromRoot();
    ASSERT_EQ(copyRecorder.reports.size(), 2u);
    const auto& sync = copyRecorder.reports[1];
    EXPECT_EQ(sync.modified, std::vector<ImmutableClassObject>{block});
    EXPECT_EQ(sync.report.getOldState(block).getDouble(s.x), 7.0);
    EXPECT_EQ(block.asDeviant(wc).getDouble(s.x), 1.0);
    wc.unregisterObservingListener(&copyRecorder.holder);
}

TEST_F(ReportTest, OldStateOfAnotherModelsObjectIsReported) {
    commit(model, [&] { block.setDouble(s.x, 2.0); });
    Model other = s.newModel();
    Asserter::clearReports();
    EXPECT_FALSE(recorder.reports[0].report.getOldState(other.getRootObject()).isValid());
    ASSERT_EQ(Asserter::reports().size(), 1u);
    EXPECT_EQ(Asserter::reports()[0].message, "Report is not compatible with given object");
    Asserter::clearReports();
}

TEST_F(ReportTest, UnregisteringDuringDeliveryStopsFurtherReports) {
    Recorder second;
    model.registerObservingListener(&second.holder);
    recorder.onReport = [&](const Report&) { model.unregisterObservingListener(&second.holder); };
    Transaction t(model);
    block.setDouble(s.x, 2.0);
    t.commit();
    EXPECT_EQ(recorder.reports.size(), 1u);
    EXPECT_TRUE(second.reports.empty());
}

TEST_F(ReportTest, AListenerLeavingDuringDeliveryDoesNotCostTheNextOneItsReport) {
    Recorder second;
    model.registerObservingListener(&second.holder);
    recorder.onReport = [&](const Report&) { model.unregisterObservingListener(&recorder.holder); };
    Transaction t(model);
    block.setDouble(s.x, 2.0);
    t.commit();
    EXPECT_EQ(recorder.reports.size(), 1u);
    EXPECT_EQ(second.reports.size(), 1u);
    model.unregisterObservingListener(&second.holder);
}

TEST_F(ReportTest, ListenersHearWhenTheirCopyGoes) {
    Model wc = model.createDeviantWithName("wc");
    Recorder copyRecorder;
    wc.registerObservingListener(&copyRecorder.holder);
    model.removeDeviantWithName("wc");
    EXPECT_EQ(copyRecorder.destroyed, 1);
}

TEST_F(ReportTest, ListenerDestroyedWithoutUnregisteringIsNotCalled) {
    {
        Recorder forgetful;
        model.registerObservingListener(&forgetful.holder);
    }
    Transaction t(model);
    block.setDouble(s.x, 4.0);
    t.commit(); // would call the destroyed listener if the kernel still held it
    EXPECT_EQ(recorder.reports.size(), 1u);
}
