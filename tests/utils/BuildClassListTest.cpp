#include "utils/BuildClassList.hpp"
#include "tests/utils/FilterTestModel.hpp"
#include "utils/FastStringLess.hpp"

#include <gtest/gtest.h>

#include <algorithm>

using namespace VELD;

namespace {
std::vector<std::string> qualifiedNames(const std::vector<ImmutableClass>& classes) {
    std::vector<std::string> out;
    for (const ImmutableClass& c : classes)
        out.push_back(c.getQualifiedName());
    return out;
}
} // namespace

TEST(BuildClassListTest, ListsTheClassThenEachGenerationOnce) {
    const FilterModel& m = FilterModel::get();
    const std::string root = ImmutableClassObject::MetaClass().getQualifiedName();
    std::vector<ImmutableClass> out{m.item}; // replaced, not appended to
    KITE::Util::buildClassList(m.bottom, out);
    // Top is reached through Left and Right but listed once, after both.
    EXPECT_EQ(qualifiedNames(out),
              (std::vector<std::string>{"flt.Bottom", "flt.Left", "flt.Right", "flt.Top", root}));
    // Asked again (from the cache) the answer is the same.
    KITE::Util::buildClassList(m.bottom, out);
    EXPECT_EQ(out.size(), 5u);
    KITE::Util::buildClassList(m.b, out);
    EXPECT_EQ(qualifiedNames(out), (std::vector<std::string>{"flt.B", "flt.A", root}));
}

TEST(BuildClassListTest, AnInvalidClassHasNoList) {
    std::vector<ImmutableClass> out{FilterModel::get().a};
    KITE::Util::buildClassList(ImmutableClass(), out);
    EXPECT_TRUE(out.empty());
}

TEST(FastStringLessTest, OrdersShorterStringsFirst) {
    std::vector<std::string> keys{"bb", "a", "ab", "c", "aaa"};
    std::sort(keys.begin(), keys.end(), KITE::Util::FastStringLess());
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "c", "ab", "bb", "aaa"}));
}
