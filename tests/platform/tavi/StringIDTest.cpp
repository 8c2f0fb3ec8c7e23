#include "platform/tavi/StringID.hpp"

#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <unordered_set>
#include <vector>

using TAVI::StringID;

TEST(StringIDTest, SameTextIsOneIdAndKeepsItsText) {
    const StringID a("EdgeCreation");
    const StringID b(std::string("Edge") + "Creation");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.getString(), "EdgeCreation");
    EXPECT_EQ(a.getString().data(), b.getString().data()); // one stored text
    EXPECT_FALSE(a == StringID("Delete"));
    EXPECT_EQ(TAVI::gHash(a), TAVI::gHash(b));
    EXPECT_EQ(std::hash<StringID>()(a), TAVI::gHash(a));
}

TEST(StringIDTest, EmptyIdsCaseFoldingInterningAndOrder) {
    EXPECT_EQ(StringID(), StringID(""));
    EXPECT_EQ(StringID(static_cast<const char*>(nullptr)), StringID());
    EXPECT_TRUE(StringID().isEmpty());
    EXPECT_FALSE(StringID("x").isEmpty());

    // Comparison ignoring case is exact otherwise; non-ASCII bytes compare as they are.
    const StringID lower("paletteTool"), upper("PALETTETOOL"), other("PaletteTools");
    EXPECT_FALSE(lower == upper);
    EXPECT_TRUE(lower.equalsIgnoreCase(upper));
    EXPECT_TRUE(upper.equalsIgnoreCase(lower));
    EXPECT_TRUE(lower.equalsIgnoreCase(lower));
    EXPECT_FALSE(lower.equalsIgnoreCase(other));
    EXPECT_FALSE(StringID("Ä").equalsIgnoreCase(StringID("ä")));

    EXPECT_FALSE(StringID::isInterned("StringIDTest-never-made"));
    const StringID made("StringIDTest-made");
    EXPECT_TRUE(StringID::isInterned("StringIDTest-made"));
    const std::set<StringID> sorted{StringID("b"), StringID("c"), StringID("a"), StringID("b")};
    std::vector<std::string> texts;
    for (const StringID& id : sorted)
        texts.push_back(id.getString());
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringIDTest, ConcurrentCreationGivesOneIdPerText) {
    std::vector<std::vector<StringID>> made(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&made, t] {
            for (int i = 0; i < 500; ++i)
                made[t].push_back(StringID("concurrent-" + std::to_string(i)));
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 1; t < 4; ++t)
        EXPECT_EQ(made[t], made[0]);
    std::unordered_set<StringID> distinct(made[0].begin(), made[0].end());
    EXPECT_EQ(distinct.size(), 500u);
}
