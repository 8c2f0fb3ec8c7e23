#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

using namespace VELD;

namespace {
struct SequenceTest : ::testing::Test {
    void SetUp() override { Asserter::clearReports(); }
    void TearDown() override { Asserter::clearReports(); }
    std::vector<std::string> messages() const { return asserterMessages(); }
};
} // namespace

TEST_F(SequenceTest, ListsKeepOrderAndUniqueListsKeepOneOfEach) {
    Sequence<int> list = MakeSequence::create<int>();
    list.append(3);
    list.append(1);
    list.insert(1, 2);
    list.append(3);
    EXPECT_EQ(list.toVector(), (std::vector<int>{3, 2, 1, 3}));
    EXPECT_TRUE(list.remove(3));
    EXPECT_EQ(list.toVector(), (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(list.front(), 2);
    EXPECT_EQ(list.back(), 3);

    Sequence<int> unique = MakeSequence::createUnique<int>();
    EXPECT_TRUE(unique.append(1));
    EXPECT_FALSE(unique.append(1));
    EXPECT_EQ(unique.size(), 1);

    Sequence<int> shared = list;
    shared.clear();
    EXPECT_TRUE(list.empty()); // copies share their elements
    EXPECT_TRUE(messages().empty());
}

TEST_F(SequenceTest, MisuseIsReportedWithTheKernelsMessages) {
    Sequence<int> null;
    EXPECT_EQ(null.size(), 0);
    Sequence<int> list = MakeSequence::create<int>();
    EXPECT_EQ(list.at(0), 0);
    EXPECT_EQ(list.at(-1), 0);
    EXPECT_EQ(list.front(), 0);
    auto filtered = MakeSequence::filter<int>(list, [](const int&) { return true; });
    Sequence<int>(filtered.impl()).append(1);
    EXPECT_EQ(messages(),
              (std::vector<std::string>{
                  "Cannot access NULL sequence. Use MakeSequence to create sequences.",
                  "sequence index out of bounds", "sequence index must be positive",
                  "sequence is empty", "insertion not supported by filtered sequence"}));
}

TEST_F(SequenceTest, FilteredViewsFollowTheirBase) {
    Sequence<int> list = MakeSequence::create<int>();
    auto even = MakeSequence::filter<int>(list, [](const int& v) { return v % 2 == 0; });
    list.append(1);
    list.append(2);
    list.append(4);
    EXPECT_EQ(even.toVector(), (std::vector<int>{2, 4}));
    list.erase(1);
    EXPECT_EQ(even.toVector(), (std::vector<int>{4}));
    EXPECT_TRUE(MakeSequence::empty<int>().empty());
}

TEST_F(SequenceTest, UniqueListsOfHandlesFindMembersByIdentity) {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    Transaction t(model);
    ClassObject a = s.makeBlock(model, "a");
    ClassObject b = s.makeBlock(model, "b");
    t.commit();
    Sequence<ImmutableClassObject> selection = MakeSequence::createUnique<ImmutableClassObject>();
    selection.append(a);
    EXPECT_FALSE(selection.append(a.asDeviant(model.createDeviantWithName("wc"))));
    EXPECT_TRUE(selection.contains(a));
    EXPECT_FALSE(selection.contains(b));
    selection.erase(0);
    EXPECT_FALSE(selection.contains(a));
    EXPECT_TRUE(selection.append(a));
}

TEST_F(SequenceTest, FilteredViewOfAPropertyFollowsTheModel) {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    Transaction t(model);
    s.makeBlock(model, "a", 1);
    auto blocks = ImmutableClassObject(model.getRootObject()).get(s.blocks);
    auto moved = MakeSequence::filter<ImmutableObject>(
        blocks, [&](const ImmutableObject& o) { return o.asClassObject().getDouble(s.x) > 0; });
    EXPECT_EQ(moved.size(), 1);
    s.makeBlock(model, "b", 2);
    s.makeBlock(model, "c", 0);
    EXPECT_EQ(moved.size(), 2);
    t.commit();
}
