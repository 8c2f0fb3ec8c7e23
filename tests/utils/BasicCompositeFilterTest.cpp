#include "utils/BasicCompositeFilter.hpp"
#include "tests/utils/FilterTestModel.hpp"

#include "platform/tavi/DebugOutput.hpp"
#include "platform/tavi/TypedException.hpp"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using KITE::Util::BasicCompositeFilter;
using Names = std::vector<std::string>;

TEST(BasicCompositeFilterTest, ShowsTheAttributesOfItsFamilyInALiveViewThatKeepsTheFilter) {
    // Derived ("computed"), read-only ("frozen") and "factory" composites stay hidden.
    const struct {
        const char* family;
        bool allowReadOnly;
        Names shown; // of flt.A's owned attributes
    } cases[] = {
        {"Tree", false, {"parts", "hidden"}},
        {"Tree", true, {"parts", "hidden", "frozen"}},
        {"Property", false, {"name", "size", "refs"}},
        {"Property", true, {"name", "size", "locked", "refs"}},
        {"Palette", true, {}},
    };
    TAVI::DebugOutput::clear();
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.family) + (c.allowReadOnly ? " with read-only" : ""));
        VELD::ImmutableSequence<VELD::ImmutableProperty> shown;
        {
            auto filter =
                boost::make_shared<BasicCompositeFilter>(c.family, c.allowReadOnly, false);
            shown = filter->execute(FilterModel::get().a, "");
        }
        // The filter is gone from here; the view still decides with it.
        EXPECT_EQ(FilterModel::names(shown), c.shown);
    }
    EXPECT_EQ(TAVI::DebugOutput::count(), 0u) << "untracked filters print nothing";
}

TEST(BasicCompositeFilterTest, NonPropertiesAndFiltersNotHeldBySharedPointerAreRefused) {
    BasicCompositeFilter filter("Property", false, false);
    EXPECT_THROW(filter.execute(FilterModel::get().a, ""), TAVI::TypedException);
    const VELD::ImmutableObject notAProperty(VELD::ImmutableClassObject(FilterModel::get().a));
    EXPECT_EQ(filter.doFetchName(notAProperty), "");
    EXPECT_FALSE(filter.doFetchIsComposite(notAProperty));
    KITE::Util::FilterTestResult result;
    EXPECT_FALSE(filter.doTestObject(notAProperty, &result));
    ASSERT_EQ(result.getEntries().size(), 1u);
    EXPECT_EQ(result.getEntries()[0].message, "not a property");
    EXPECT_EQ(result.getEntries()[0].method, "testObject");
    EXPECT_EQ(result.getEntries()[0].typeName, "BasicCompositeFilter");
    EXPECT_FALSE(result.getEntries()[0].flag);
}

TEST(BasicCompositeFilterTest, TrackedHistoryIsPrintedInADetailedAndABriefText) {
    TAVI::DebugOutput::clear();
    auto filter = boost::make_shared<BasicCompositeFilter>("Tree", false, true);
    // Holder owns "parts" (composite) and "refs" (a reference): one acceptance, one rejection.
    const auto shown = filter->execute(FilterModel::get().holder, "");
    ASSERT_EQ(shown.size(), 1); // decides each attribute once
    const auto entries = TAVI::DebugOutput::entries();
    ASSERT_EQ(entries.size(), 4u);

    const std::string bar = "\n\n------------------------------\nFilter: (Tree)";
    const std::string detailedHeader =
        "        =====] Transactions. (Final result the bottom, dbl click lines to navigate to "
        "history marker) [===== \n";
    const std::string briefHeader = "        =====] Transactions [===== \n";
    EXPECT_EQ(entries[0].text,
              bar + " ************************] ACCEPTED: {parts}\n" + detailedHeader);
    EXPECT_TRUE(entries[0].first);
    EXPECT_FALSE(entries[0].second);
    EXPECT_EQ(entries[1].text,
              bar + " ************************] ACCEPTED: {parts}\n" + briefHeader);
    EXPECT_FALSE(entries[1].first);
    EXPECT_TRUE(entries[1].second);

    const std::string step =
        "[FALSE] - {BasicCompositeFilter}, {testObject}, {didn't match (Tree && composite) || "
        "(property && !composite)}\n";
    const std::string detailedRefs = entries[2].text;
    const std::string head =
        bar + " rejected {refs}\n" + detailedHeader + "utils/BasicCompositeFilter.cpp (";
    ASSERT_EQ(detailedRefs.compare(0, head.size(), head), 0) << detailedRefs;
    EXPECT_EQ(detailedRefs.substr(detailedRefs.size() - step.size() - 4, 4), ") : ");
    EXPECT_EQ(detailedRefs.substr(detailedRefs.size() - step.size()), step);
    EXPECT_EQ(entries[3].text, bar + " rejected {refs}\n" + briefHeader + step);
    TAVI::DebugOutput::clear();
}
