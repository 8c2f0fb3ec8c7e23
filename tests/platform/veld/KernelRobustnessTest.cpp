#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace VELD;

namespace {
using Report = ReportOfChanges<ImmutableClassObject>;

struct Listener : ListenerBase {
    std::function<void(const Report&)> onReport;
    int reports = 0;
    internal::ListenerHolder<ImmutableModel, Listener> holder{this};
    void transactionCompleted(const Report& r) {
        ++reports;
        if (onReport)
            onReport(r);
    }
};

struct KernelRobustnessTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    ClassObject root = model.getRootObject();

    void SetUp() override { Asserter::clearReports(); }
    void TearDown() override { Asserter::clearReports(); }

    std::vector<std::string> messages() const { return asserterMessages(); }
};
} // namespace

// --- sequences changed while they are iterated ----------------------------------------------

TEST_F(KernelRobustnessTest, IteratingAListThatShrinksReportsInsteadOfReadingPastTheEnd) {
    Sequence<int> list = MakeSequence::create<int>();
    for (int v : {1, 2, 3})
        list.append(v);
    std::vector<int> seen;
    for (int v : list) {
        seen.push_back(v);
        list.remove(v);
    }
    // The loop's end was fixed when it began: the third step finds the list shorter.
    EXPECT_EQ(seen, (std::vector<int>{1, 3, 0}));
    EXPECT_EQ(list.toVector(), (std::vector<int>{2}));
    EXPECT_EQ(messages(), (std::vector<std::string>{"sequence index out of bounds"}));
}

TEST_F(KernelRobustnessTest, IteratingAContainmentThatShrinksNeverYieldsARemovedChild) {
    ClassObject a, b;
    commit(model, [&] {
        a = s.makeBlock(model, "a");
        b = s.makeBlock(model, "b");
    });
    Sequence<Object> blocks = root.get(s.blocks);
    std::vector<ImmutableObject> seen;
    Transaction t(model);
    for (const Object& o : blocks) {
        seen.push_back(o);
        if (!o.isNull())
            blocks.remove(o);
    }
    t.commit();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].asClassObject(), a);
    EXPECT_TRUE(seen[1].isNull()); // nothing read from past the shortened list
    EXPECT_EQ(root.get(s.blocks).size(), 1);
    EXPECT_EQ(messages(), (std::vector<std::string>{"sequence index out of bounds"}));
}

// --- listeners that misbehave ---------------------------------------------------------------

TEST_F(KernelRobustnessTest, ListenerThrowingAnythingIsReportedAndOthersStillHear) {
    Listener thrower, other;
    thrower.onReport = [](const Report&) { throw 42; };
    model.registerObservingListener(&thrower.holder);
    model.registerObservingListener(&other.holder);
    EXPECT_NO_THROW(commit(model, [&] { s.makeBlock(model, "a"); }));
    EXPECT_EQ(other.reports, 1);
    EXPECT_EQ(model.getCurrentChangeLevel(), 1);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_NE(messages()[0].find("a listener failed on a change report"), std::string::npos);

    // Delivery ended cleanly: a listener unregistered later really leaves.
    model.unregisterObservingListener(&thrower.holder);
    commit(model, [&] { s.makeBlock(model, "b"); });
    EXPECT_EQ(thrower.reports, 1);
    EXPECT_EQ(other.reports, 2);
    model.unregisterObservingListener(&other.holder);
}

TEST_F(KernelRobustnessTest, UnregisteringNullDuringADeliveryIsHarmless) {
    Listener first, second;
    first.onReport = [&](const Report&) {
        model.unregisterObservingListener(&second.holder);
        model.unregisterObservingListener(nullptr);
    };
    model.registerObservingListener(&first.holder);
    model.registerObservingListener(&second.holder);
    commit(model, [&] { s.makeBlock(model, "a"); });
    EXPECT_EQ(first.reports, 1);
    EXPECT_EQ(second.reports, 0);
    model.unregisterObservingListener(nullptr);
    model.unregisterObservingListener(&first.holder);
}

TEST_F(KernelRobustnessTest, ListenerCannotChangeTheModelWhileItIsUndoneOrRedone) {
    ClassObject a;
    commit(model, [&] { a = s.makeBlock(model, "a", 1.0); });
    commit(model, [&] { a.setDouble(s.x, 2.0); });
    Listener meddler;
    int refused = 0, refusedSteps = 0;
    meddler.onReport = [&](const Report&) {
        try {
            Transaction t(model);
            a.setDouble(s.y, 9.0);
            t.commit();
        } catch (const Exception&) {
            ++refused;
        }
        try {
            model.undoToChangeLevel(model.getCurrentChangeLevel());
        } catch (const Exception&) {
            ++refusedSteps;
        }
    };
    model.registerObservingListener(&meddler.holder);

    model.undoToChangeLevel(0);
    EXPECT_EQ(model.getCurrentChangeLevel(), 0);
    EXPECT_EQ(model.getRedoStackLength(), 2);
    EXPECT_FALSE(a.isValid());

    model.redoToChangeLevel(2);
    EXPECT_EQ(model.getCurrentChangeLevel(), 2);
    EXPECT_EQ(model.getRedoStackLength(), 0);
    EXPECT_EQ(a.getDouble(s.x), 2.0);
    EXPECT_EQ(a.getDouble(s.y), 0.0);
    EXPECT_EQ(meddler.reports, 4);
    EXPECT_EQ(refused, 4);
    EXPECT_EQ(refusedSteps, 4);
    model.unregisterObservingListener(&meddler.holder);

    // Once the history is applied, transactions are open to everyone again.
    commit(model, [&] { a.setDouble(s.y, 3.0); });
    EXPECT_EQ(model.getCurrentChangeLevel(), 3);
}

// --- handles moved to a deviant they do not belong to ---------------------------------------

TEST_F(KernelRobustnessTest, HandleMovedToAnotherModelOrToNothingIsNull) {
    ImmutableClassObject toNothing, toOther;
    Model other = s.newModel();
    {
        Model gone = s.newModel();
        ClassObject b;
        commit(gone, [&] { b = s.makeBlock(gone, "b"); });
        toNothing = b.asDeviant(ImmutableModel());
        toOther = b.asDeviant(other);
    } // the model 'gone' ends with its last handle, and its objects' memory with it
    EXPECT_TRUE(toNothing.isNull());
    EXPECT_TRUE(toOther.isNull());
    EXPECT_EQ(toOther.toString(), "<null>");
    EXPECT_EQ(other.getObjectState(toOther), ObjectState::InvalidObject);

    // Meta-data and objects of the model itself move as before.
    EXPECT_EQ(root.asDeviant(model.createDeviantWithName("wc")).core(), root.core());
    EXPECT_FALSE(ImmutableClassObject(s.block).asDeviant(other).isNull());
}

// --- working copies and models that end under their listeners -------------------------------

TEST_F(KernelRobustnessTest, ListenerDeletingAnotherWhenTheCopyGoesLeavesItUncalled) {
    struct Watcher : ListenerBase {
        std::function<void()> onGone;
        int* goneCalls;
        explicit Watcher(int* calls) : goneCalls(calls) {}
        internal::ListenerHolder<ImmutableModel, Watcher> holder{this};
        void transactionCompleted(const Report&) {}
        void onDeviantDestroyed() override {
            ++*goneCalls;
            if (onGone)
                onGone();
        }
    };
    int firstCalls = 0, secondCalls = 0;
    Model wc = model.createDeviantWithName("wc");
    Watcher first(&firstCalls);
    auto second = std::make_unique<Watcher>(&secondCalls);
    first.onGone = [&] { second.reset(); }; // an owner tearing down its other listener
    wc.registerObservingListener(&first.holder);
    wc.registerObservingListener(&second->holder);
    EXPECT_TRUE(model.removeDeviantWithName("wc"));
    EXPECT_EQ(firstCalls, 1);
    EXPECT_EQ(secondCalls, 0);
    EXPECT_FALSE(second);
}

TEST_F(KernelRobustnessTest, EndingModelRefusesNewCopiesAndTransactionsFromItsListeners) {
    struct Watcher : ListenerBase {
        std::function<void()> onGone;
        internal::ListenerHolder<ImmutableModel, Watcher> holder{this};
        void transactionCompleted(const Report&) {}
        void onDeviantDestroyed() override { onGone(); }
    } watcher;
    Model wc = model.createDeviantWithName("wc");
    Model late;
    int refused = 0;
    watcher.onGone = [&] {
        try {
            late = model.createDeviantWithName("late");
        } catch (const Exception&) {
            ++refused;
        }
        try {
            model.beginTransaction();
        } catch (const Exception&) {
            ++refused;
        }
    };
    wc.registerObservingListener(&watcher.holder);
    model.destroy();
    EXPECT_EQ(refused, 2);
    EXPECT_FALSE(late.isValid());
    EXPECT_FALSE(model.isValid());
    EXPECT_FALSE(model.isInTransaction());
}

// --- derived values that change between reads -----------------------------------------------

TEST_F(KernelRobustnessTest, DerivedValuesThatShrinkBetweenReadsGiveNullNotGarbage) {
    // A derived property whose values follow something outside the model: each read sees fewer.
    static int remaining = 0;
    MetaModelBuilder b("shrinking", "test:shrinking");
    PropertySpec ticks{"ticks", "Integer"};
    ticks.derived = true;
    ticks.upperBound = -1;
    ticks.deriver = [](const ImmutableClassObject&) {
        std::vector<ImmutableObject> out;
        for (int i = 0; i < remaining; ++i)
            out.push_back(ImmutableObject::fromInteger(i));
        if (remaining > 0)
            --remaining;
        return out;
    };
    b.addClass("Clock").property(ticks);
    b.setModelClass("Clock");
    const ImmutableNamespace pkg = b.build();
    Model clock = DomainRegistry::instance().createModel("test:shrinking");
    const Sequence<Object> values =
        clock.getRootObject().get(pkg.getClass("Clock").getProperty("ticks"));
    remaining = 2;
    // The index is checked against two values; the values read for it are one.
    EXPECT_TRUE(values.at(1).isNull());
}

// --- meta-data ------------------------------------------------------------------------------

TEST_F(KernelRobustnessTest, MetaDataCannotBeChangedThroughModelsOrObjects) {
    const ImmutableClassObject asObject = s.block;
    const ImmutableProperty nameOfClass = asObject.getMetaClass().getProperty("name");
    Model metaData(asObject.getModelVELD());
    EXPECT_THROW(metaData.beginTransaction(), Exception);
    EXPECT_FALSE(metaData.isInTransaction());
    EXPECT_THROW(metaData.createDeviantWithName("copy"), Exception);

    // Seen through a client's model, inside its transaction.
    const ClassObject viaModel(asObject.asDeviant(model));
    Transaction t(model);
    EXPECT_THROW(viaModel.setString(nameOfClass, "Renamed"), Exception);
    EXPECT_THROW(viaModel.set(nameOfClass, ImmutableObject::fromString("Renamed")), Exception);
    EXPECT_THROW(viaModel.setBoolean(asObject.getMetaClass().getProperty("isAbstract"), true),
                 Exception);
    t.commit();
    EXPECT_EQ(asObject.getOne("name").toString(), "Block");
    EXPECT_EQ(s.block.getName(), "Block");
    EXPECT_EQ(model.getCurrentChangeLevel(), 0);
}

// --- bounded lists --------------------------------------------------------------------------

TEST_F(KernelRobustnessTest, FullBoundedContainmentStillReordersButTakesNoMore) {
    MetaModelBuilder b("pairs", "test:pairs");
    PropertySpec items{"items", "Item"};
    items.composite = true;
    items.upperBound = 2;
    b.addClass("Item");
    b.addClass("Pair").property(items);
    b.setModelClass("Pair");
    const ImmutableNamespace pkg = b.build();
    const ImmutableProperty itemsOf = pkg.getClass("Pair").getProperty("items");
    Model pairs = DomainRegistry::instance().createModel("test:pairs");
    Transaction t(pairs);
    const ClassObject pair = pairs.getRootObject();
    const ClassObject first = pairs.getFactory().createFromString("Item");
    const ClassObject second = pairs.getFactory().createFromString("Item");
    pair.add(itemsOf, first);
    pair.add(itemsOf, second);
    const Sequence<Object> list = pair.get(itemsOf);
    EXPECT_NO_THROW(list.insert(0, Object(second))); // a move within the list
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list.at(0).asClassObject(), second);
    EXPECT_EQ(list.at(1).asClassObject(), first);
    EXPECT_THROW(pair.add(itemsOf, pairs.getFactory().createFromString("Item")), Exception);
    EXPECT_EQ(list.size(), 2);
    t.commit();
}

TEST_F(KernelRobustnessTest, CommittingOnACopyRemovedMeanwhileSaysTheCopyIsGone) {
    Model wc = model.createDeviantWithName("wc");
    Transaction t(wc);
    s.makeBlock(wc, "a");
    model.removeDeviantWithName("wc");
    try {
        t.commit();
        ADD_FAILURE() << "committed on a removed working copy";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find("is gone"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(model.getDeviantWithName("wc").isValid());
    EXPECT_EQ(model.getCurrentChangeLevel(), 0);
}
