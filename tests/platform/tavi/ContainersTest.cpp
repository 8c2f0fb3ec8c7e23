#include "platform/tavi/GHash.hpp"
#include "platform/tavi/GList.hpp"
#include "platform/tavi/GMap.hpp"
#include "platform/tavi/GSet.hpp"
#include "platform/tavi/StringID.hpp"

#include <gtest/gtest.h>

using namespace TAVI;

TEST(GListTest, CopiesShareUntilOneChanges) {
    GList<int> a{1, 2, 3};
    GList<int> b = a;
    EXPECT_TRUE(a.isSharedWith(b));
    b.append(4);
    EXPECT_FALSE(a.isSharedWith(b));
    EXPECT_EQ(a.size(), 3u);
    EXPECT_EQ(b.size(), 4u);
    EXPECT_EQ(b.last(), 4);

    GList<int> c = a;
    c.replace(0, 9);
    EXPECT_EQ(a.first(), 1);
    EXPECT_EQ(c.first(), 9);
    EXPECT_FALSE(a == c);
}

TEST(GListTest, EditingOperationsAndBadIndexes) {
    GList<std::string> list;
    list << "b"
         << "c"
         << "b";
    list.prepend("a");
    list.insert(4, "d");
    EXPECT_EQ(list.toStdVector(), (std::vector<std::string>{"a", "b", "c", "b", "d"}));
    EXPECT_EQ(list.indexOf("c"), 2);
    EXPECT_EQ(list.indexOf("z"), -1);
    EXPECT_EQ(list.removeAll("b"), 2u);
    list.removeAt(0);
    EXPECT_EQ(list.toStdVector(), (std::vector<std::string>{"c", "d"}));
    EXPECT_THROW(list.at(2), std::out_of_range);
    EXPECT_THROW(list.insert(3, "x"), std::out_of_range);
    EXPECT_THROW(list.removeAt(2), std::out_of_range);
    list.clear();
    EXPECT_THROW(list.last(), std::out_of_range);
}

TEST(GSetTest, InsertRemoveAndSharing) {
    GSet<StringID> roles{StringID("Delete"), StringID("EdgeCreation")};
    GSet<StringID> copy = roles;
    EXPECT_FALSE(roles.insert(StringID("Delete")));
    EXPECT_TRUE(copy.isSharedWith(roles)); // a refused insert does not detach
    EXPECT_TRUE(copy.insert(StringID("PaletteTool")));
    EXPECT_EQ(roles.size(), 2u);
    EXPECT_EQ(copy.size(), 3u);
    EXPECT_TRUE(copy.remove(StringID("Delete")));
    EXPECT_FALSE(copy.remove(StringID("Delete")));
    EXPECT_TRUE(roles.contains(StringID("Delete")));
    roles.unite(copy);
    EXPECT_EQ(roles.size(), 3u);
}

TEST(GMapTest, SingleAndMultiValuedInsertion) {
    GMap<std::string, int> map;
    map.insertMulti("b", 1);
    map.insertMulti("b", 2);
    map.insert("a", 0);
    EXPECT_EQ(map.count("b"), 2u);
    EXPECT_EQ(map.values("b"), (std::vector<int>{1, 2}));
    EXPECT_EQ(map.keys(), (std::vector<std::string>{"a", "b"}));

    GMap<std::string, int> before = map;
    map.insert("b", 7); // replaces every value of the key
    EXPECT_EQ(map.values("b"), (std::vector<int>{7}));
    EXPECT_EQ(before.values("b"), (std::vector<int>{1, 2}));
    EXPECT_EQ(map.value("missing", -1), -1);
    EXPECT_EQ(before.remove("b"), 2u);
    EXPECT_EQ(before.remove("b"), 0u);
    EXPECT_EQ(map.size(), 2u);
}

TEST(GHashTest, StringIDKeysWithSingleAndMultiValues) {
    GHash<StringID, int> hash;
    hash.insert(StringID("x"), 1);
    hash.insert(StringID("x"), 2);
    EXPECT_EQ(hash.count(StringID("x")), 1u);
    EXPECT_EQ(hash.value(StringID("x")), 2);
    hash.insertMulti(StringID("x"), 3);
    EXPECT_EQ(hash.count(StringID("x")), 2u);

    GHash<StringID, int> copy = hash;
    copy.insertMulti(StringID("y"), 4);
    EXPECT_EQ(hash.size(), 2u);
    EXPECT_EQ(copy.size(), 3u);
    EXPECT_EQ(copy.keys().size(), 2u);
    EXPECT_EQ(copy.remove(StringID("x")), 2u);
    EXPECT_TRUE(hash.contains(StringID("x")));

    GHash<int, std::string> byNumber;
    byNumber.insert(5, "five");
    EXPECT_EQ(byNumber.value(5), "five");
    EXPECT_EQ(byNumber.value(6), "");
}
