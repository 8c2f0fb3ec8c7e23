#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using TAVI::Holder;

namespace {

struct Tracked : TAVI::ReferencedTemplate<unsigned int> {
    explicit Tracked(int* destroyed) : destroyed(destroyed) {}
    ~Tracked() override { ++*destroyed; }
    int* destroyed;
};

struct Derived : Tracked {
    using Tracked::Tracked;
};

} // namespace

TEST(HolderTest, CountStartsAtZeroAndLastHolderDestroys) {
    int destroyed = 0;
    auto* object = new Tracked(&destroyed);
    EXPECT_EQ(object->getRefCount(), 0u);
    {
        Holder<Tracked> first(object);
        EXPECT_EQ(object->getRefCount(), 1u);
        {
            Holder<Tracked> second = first;
            Holder<Tracked> third;
            third = second;
            EXPECT_EQ(object->getRefCount(), 3u);
            EXPECT_EQ(third, first);
        }
        EXPECT_EQ(object->getRefCount(), 1u);
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 1);
}

TEST(HolderTest, MoveResetSelfAssignReplaceAndCopiedObjectsKeepCountsRight) {
    int destroyed = 0;
    Holder<Tracked> a(new Tracked(&destroyed));
    Holder<Tracked> b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b->getRefCount(), 1u);
    b = b; // self-assignment must not free the object
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(b->getRefCount(), 1u);
    b = new Tracked(&destroyed);
    EXPECT_EQ(destroyed, 1);
    b.reset();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(b.isNull());
    b = nullptr;
    EXPECT_EQ(b, nullptr);

    // A copied object starts with its own count.
    Holder<Tracked> original(new Tracked(&destroyed));
    Holder<Tracked> copy(new Tracked(*original));
    EXPECT_EQ(original->getRefCount(), 1u);
    EXPECT_EQ(copy->getRefCount(), 1u);
}

TEST(HolderTest, ConversionsShareOneCount) {
    int destroyed = 0;
    Holder<Derived> derived(new Derived(&destroyed));
    Holder<Tracked> base = derived;
    EXPECT_EQ(base->getRefCount(), 2u);
    Holder<Derived> back = base.dynamicCast<Derived>();
    EXPECT_EQ(back, derived);
    EXPECT_EQ(back->getRefCount(), 3u);

    int otherDestroyed = 0;
    Holder<Tracked> plain(new Tracked(&otherDestroyed));
    EXPECT_TRUE(plain.dynamicCast<Derived>().isNull());
    derived.reset();
    back.reset();
    base.reset();
    EXPECT_EQ(destroyed, 1);
}

TEST(HolderTest, DeletingAHeldObjectIsReported) {
    KiteTest::AssertionRecorder recorder;
    int destroyed = 0;
    auto* object = new Tracked(&destroyed);
    object->ref();
    delete object;
    ASSERT_EQ(recorder.count(), 1u);
    EXPECT_EQ(recorder.reports()[0].detail, "1 holder(s)");
}

TEST(HolderTest, HoldersCopiedOnManyThreadsDestroyOnce) {
    int destroyed = 0;
    Holder<Tracked> shared(new Tracked(&destroyed));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([shared] {
            for (int i = 0; i < 10000; ++i) {
                Holder<Tracked> copy = shared;
                (void)copy;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(shared->getRefCount(), 1u);
    shared.reset();
    EXPECT_EQ(destroyed, 1);
}
