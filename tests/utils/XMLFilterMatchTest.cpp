#include "utils/XMLFilterMatch.hpp"
#include "tests/utils/FilterTestModel.hpp"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using KITE::Util::FilterTestResult;
using KITE::Util::XMLFilterBase;
using KITE::Util::XMLFilterMatch;
using Names = std::vector<std::string>;

namespace {

// A database the tests may change, separate from the shared test data.
TAVI::XMLDB::Database& scratchDatabase() {
    static TAVI::XMLDB::Database db;
    return db;
}

struct XMLFilterMatchTest : ::testing::Test {
    const FilterModel& m = FilterModel::get();
    void SetUp() override { XMLFilterBase::clearCacheMaps(); }
    void TearDown() override { XMLFilterBase::clearCacheMaps(); }
    static boost::shared_ptr<XMLFilterMatch> filter(const char* family, const char* ns = "") {
        return boost::make_shared<XMLFilterMatch>(family, ns, &filterTestDatabase);
    }
};

} // namespace

TEST_F(XMLFilterMatchTest, DecidesByTheListsOfTheClassAndItsAncestors) {
    const struct {
        const char* label;
        const char* nameSpace;
        const char* mode;
        bool ofB; // the class asked about: flt.B (deriving from flt.A) or flt.A
        const char* name;
        bool accepted;
    } cases[] = {
        // A includes x, B excludes it.
        {"excluded by the subclass", "", "Cross", true, "x", false},
        {"included by the ancestor", "", "Cross", false, "x", true},
        // B includes only y.
        {"implied rejection of the subclass", "", "Implied", true, "x", false},
        {"included by the subclass", "", "Implied", true, "y", true},
        // ...and A includes x: A's explicit decision beats B's implied one.
        {"explicit ancestor beats implied subclass", "", "ImpliedOverride", true, "x", true},
        {"in both lists: rejected", "", "Both", false, "x", false},
        {"only an exclude list implies acceptance", "", "OnlyExclude", false, "x", true},
        {"excluded by the only list", "", "OnlyExclude", false, "y", false},
        {"in neither of two lists: rejected", "", "Neither", false, "x", false},
        {"included beside an exclude list", "", "Neither", false, "y", true},
        {"excluded beside an include list", "", "Neither", false, "z", false},
        {"no data accepts everything", "", "Unlisted", true, "x", true},
        {"namespaced lists are separate", "lib", "Cross", false, "x", false},
        {"namespaced lists ignore the default ones", "lib", "Implied", true, "x", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        XMLFilterBase::clearCacheMaps();
        auto f = boost::make_shared<XMLFilterMatch>("Tree", c.nameSpace, &filterTestDatabase);
        ASSERT_TRUE(f->buildFilter(c.ofB ? m.b : m.a, c.mode));
        EXPECT_EQ(f->doTestName(c.name, nullptr), c.accepted);
    }
}

TEST_F(XMLFilterMatchTest, TreeShowsCompositesThatPassTheLists) {
    // "hidden" is excluded for flt.A in mode Simple; "frozen" is read-only and so is the
    // derived "computed". "factory" is the data's to hide, and it does not.
    EXPECT_EQ(FilterModel::names(filter("Tree")->execute(m.a, "Simple")),
              (Names{"parts", "factory"}));
    auto readOnlyToo = boost::make_shared<XMLFilterMatch>("Tree", "", &filterTestDatabase, true);
    EXPECT_EQ(FilterModel::names(readOnlyToo->execute(m.a, "Simple")),
              (Names{"parts", "factory", "frozen", "computed"}));
}

TEST_F(XMLFilterMatchTest, PropertyShowsDerivedOnlyInModeAllOrAsExceptions) {
    // Derived properties are read-only: a browser that shows them allows read-only ones.
    auto browser = [](const char* ns) {
        return boost::make_shared<XMLFilterMatch>("Property", ns, &filterTestDatabase, true);
    };
    // "total" is a derived exception and "parts" a composite exception of family Property.
    EXPECT_EQ(FilterModel::names(browser("")->execute(m.a, "Simple")),
              (Names{"name", "size", "locked", "total", "parts", "refs"}));
    EXPECT_EQ(FilterModel::names(browser("")->execute(m.a, "All")),
              (Names{"name", "size", "locked", "total", "summary", "parts", "refs"}));
    // Without the namespace's exception lists neither exception holds.
    EXPECT_EQ(FilterModel::names(browser("lib")->execute(m.a, "Plain")),
              (Names{"name", "size", "locked", "refs"}));
    EXPECT_EQ(FilterModel::names(filter("Property")->execute(m.a, "All")),
              (Names{"name", "size", "parts", "refs"}));
}

TEST_F(XMLFilterMatchTest, KeysAreFormedFromNamespaceClassFamilyModeAndList) {
    auto plain = filter("Tree");
    EXPECT_EQ(plain->buildFilterKey("lib.Block", "Simple", "Include"),
              "Filter/lib.Block/Tree/Simple/Include");
    EXPECT_EQ(filter("Property", "lib")->buildFilterKey("lib.Block", "All", "Exclude"),
              "lib/Filter/lib.Block/Property/All/Exclude");
    plain->execute(m.a, "Simple");
    EXPECT_EQ(plain->getInstanceKey(), "XMLFilterMatch;Tree;Simple");
    EXPECT_EQ(plain->buildUniqueFilterInstanceString(), "XMLFilterMatch;Tree;Simple");
    EXPECT_EQ(XMLFilterBase::getListKindName(XMLFilterBase::Include), "Include");
    EXPECT_EQ(XMLFilterBase::getListKindName(XMLFilterBase::Exclude), "Exclude");
    EXPECT_EQ(XMLFilterBase::getListKindName(0), "None");
    EXPECT_EQ(XMLFilterBase::getListKindName(7), "Invalid");
}

TEST_F(XMLFilterMatchTest, BuildFilterGathersTheListsOfTheClassThenItsAncestors) {
    auto f = filter("Tree");
    ASSERT_TRUE(f->buildFilter(m.b, "Cross"));
    const XMLFilterBase::RuleList& rules = f->getRuleList();
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules[0].first, nullptr);
    ASSERT_NE(rules[0].second, nullptr);
    EXPECT_EQ(rules[0].second->getKey(), "Filter/flt.B/Tree/Cross/Exclude");
    ASSERT_NE(rules[1].first, nullptr);
    EXPECT_EQ(rules[1].first->getKey(), "Filter/flt.A/Tree/Cross/Include");
    // The exception lists of the default namespace live under keys that start with "/".
    auto property = filter("Property");
    ASSERT_TRUE(property->buildFilter(m.a, "Simple"));
    ASSERT_NE(property->getDerivedExceptions(), nullptr);
    EXPECT_EQ(property->getDerivedExceptions()->getKey(), "/Filter/Exceptions/Derived/Property");
    EXPECT_EQ(property->getCompositeExceptions()->getKey(),
              "/Filter/Exceptions/Composite/Property");
}

TEST_F(XMLFilterMatchTest, AnInvalidClassFailsToBuildAndShowsItsAttributesUnfiltered) {
    auto f = filter("Tree");
    EXPECT_FALSE(f->buildFilter(VELD::ImmutableClass(), "Simple"));
    EXPECT_TRUE(f->getRuleList().empty());
    EXPECT_TRUE(f->execute(VELD::ImmutableClass(), "Simple").empty());
}

TEST_F(XMLFilterMatchTest, DecisionHistoryRecordsExplicitAndImpliedSteps) {
    auto f = filter("Tree");
    ASSERT_TRUE(f->buildFilter(m.b, "Cross"));
    FilterTestResult result;
    EXPECT_FALSE(f->doTestName("x", &result));
    std::vector<std::tuple<std::string, std::string, bool>> steps;
    for (const auto& e : result.getEntries())
        steps.emplace_back(e.method, e.message, e.flag);
    using Step = std::tuple<std::string, std::string, bool>;
    EXPECT_EQ(steps, (std::vector<Step>{
                         Step{"doTest", "Found in include list: Include", true},
                         Step{"doTestName, for: x loop[1] - SOLID value: 1", "SOLID", true},
                         Step{"doTest", "Found in EXCLUDE list: Exclude", false},
                         Step{"doTestName, for: x loop[0] - SOLID value: 0", "SOLID", false},
                     }));

    ASSERT_TRUE(f->buildFilter(m.b, "Implied"));
    FilterTestResult implied;
    EXPECT_FALSE(f->doTestName("x", &implied));
    ASSERT_EQ(implied.getEntries().size(), 1u);
    EXPECT_EQ(implied.getEntries()[0].method, "doTestName, for: x loop[0] - IMPLIED value0");
    EXPECT_EQ(implied.getEntries()[0].message, "IMPLIED");
    EXPECT_EQ(implied.getEntries()[0].typeName, "XMLFilterMatch");
}

TEST_F(XMLFilterMatchTest, EqualFiltersShareResultsUntilTheCachesAreCleared) {
    TAVI::XMLDB::Database& db = scratchDatabase();
    db.setDataList("Filter/flt.A/Tree/Shared/Exclude", {"hidden"});
    auto first = boost::make_shared<XMLFilterMatch>("Tree", "", &scratchDatabase);
    auto second = boost::make_shared<XMLFilterMatch>("Tree", "", &scratchDatabase);
    const auto before = first->execute(m.a, "Shared");
    EXPECT_EQ(FilterModel::names(before), (Names{"parts", "factory"}));

    db.setDataList("Filter/flt.A/Tree/Shared/Exclude", {"parts"});
    const auto cached = second->execute(m.a, "Shared");
    EXPECT_EQ(cached.impl(), before.impl());
    EXPECT_EQ(FilterModel::names(cached), (Names{"parts", "factory"}));

    XMLFilterBase::clearCacheMaps();
    EXPECT_EQ(FilterModel::names(second->execute(m.a, "Shared")), (Names{"hidden", "factory"}));
}

TEST_F(XMLFilterMatchTest, AViewDecidesWithTheRulesOfItsOwnClass) {
    auto f = filter("Tree");
    const auto ofA = f->execute(m.a, "Simple");
    // Rebuilding for another class must not change what the first view shows.
    EXPECT_EQ(FilterModel::names(f->execute(m.holder, "Simple")), (Names{"parts"}));
    EXPECT_EQ(f->getRuleList().size(), 0u);
    EXPECT_EQ(FilterModel::names(ofA), (Names{"parts", "factory"}));
    // A cached result looked up again is the same decision.
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Simple")), (Names{"parts", "factory"}));
    EXPECT_EQ(f->getDebugName(), "flt.A");
}

TEST_F(XMLFilterMatchTest, AMalformedDataFileIsReportedAndTheOthersStillFilter) {
    static TAVI::XMLDB::Database db;
    TAVI::ErrorHolder errors;
    EXPECT_FALSE(db.addFolder(KITE_SOURCE_DIR "/tests/utils/data_malformed", errors));
    const std::string text = errors.description();
    EXPECT_NE(text.find("b_bad.xml:"), std::string::npos) << text;
    ASSERT_EQ(db.getLoadErrors().size(), 1u);
    EXPECT_GT(db.getLoadErrors()[0].line, 0);
    auto f = boost::make_shared<XMLFilterMatch>("Tree", "",
                                                []() -> TAVI::XMLDB::Database& { return db; });
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Simple")), (Names{"hidden", "factory"}));
}

TEST_F(XMLFilterMatchTest, ChangedSettingsAreNotAnsweredFromEarlierResults) {
    auto f = filter("Tree");
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Simple")), (Names{"parts", "factory"}));
    // Another mode: "hidden" is listed for Simple only.
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Other")), (Names{"parts", "hidden", "factory"}));
    EXPECT_EQ(f->getInstanceKey(), "XMLFilterMatch;Tree;Other");
    f->setAllowReadOnly(true);
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Simple")),
              (Names{"parts", "factory", "frozen", "computed"}));
    f->setFamily("Property");
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Simple")),
              (Names{"name", "size", "locked", "total", "parts", "refs"}));
    EXPECT_EQ(f->getInstanceKey(), "XMLFilterMatch;Property;Simple");
    f->setFamily("Tree");
    f->setAllowReadOnly(false);
    EXPECT_EQ(FilterModel::names(f->execute(m.a, "Simple")), (Names{"parts", "factory"}));
    EXPECT_EQ(f->getInstanceKey(), "XMLFilterMatch;Tree;Simple");
}
