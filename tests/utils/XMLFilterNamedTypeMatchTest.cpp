#include "utils/XMLFilterNamedTypeMatch.hpp"
#include "tests/utils/FilterTestModel.hpp"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using KITE::Util::XMLFilterBase;
using KITE::Util::XMLFilterNamedTypeMatch;
using namespace VELD;

namespace {

TAVI::XMLDB::Database& scratchDatabase() {
    static TAVI::XMLDB::Database db;
    return db;
}

struct XMLFilterNamedTypeMatchTest : ::testing::Test {
    const FilterModel& m = FilterModel::get();
    Model model = DomainRegistry::instance().createModel(FilterModel::uri);
    ClassObject a1, b1, a2;

    void SetUp() override {
        XMLFilterBase::clearCacheMaps();
        Transaction t(model);
        const ClassObject holder = model.getRootObject();
        const ImmutableProperty parts = m.holder.getProperty("parts");
        a1 = model.getFactory().createFromString("ItemA");
        b1 = model.getFactory().createFromString("ItemB");
        a2 = model.getFactory().createFromString("ItemA");
        for (const ClassObject& item : {a1, b1, a2}) {
            holder.add(parts, item);
            holder.add(m.refs, item);
        }
        t.commit();
    }
    void TearDown() override { XMLFilterBase::clearCacheMaps(); }

    std::vector<ImmutableClassObject>
    filteredRefs(const boost::shared_ptr<XMLFilterNamedTypeMatch>& f, const std::string& mode) {
        std::vector<ImmutableClassObject> out;
        const ImmutableClassObject holder = model.getRootObject();
        for (const ImmutableObject& v :
             f->executePropertyFilter(m.holder, m.refs, holder.get(m.refs), mode))
            out.push_back(v.asClassObject());
        return out;
    }
};

} // namespace

TEST_F(XMLFilterNamedTypeMatchTest, KeepsValuesWhoseTypeIsListedByQualifiedName) {
    auto f = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &filterTestDatabase);
    EXPECT_EQ(filteredRefs(f, "Simple"), (std::vector<ImmutableClassObject>{a1, a2}));
    EXPECT_EQ(f->getPropertyName(), "refs");
    EXPECT_EQ(f->getInstanceKey(), "XMLFilterNamedTypeMatch;Tree;Simple;refs;flt.Holder");
    // Without lists for the mode every value passes.
    EXPECT_EQ(filteredRefs(f, "Other"), (std::vector<ImmutableClassObject>{a1, b1, a2}));
    // It shows no attributes, and names types by their qualified names.
    const auto none = f->execute(m.holder, "Simple");
    EXPECT_FALSE(none.isNull());
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(f->doFetchName(ImmutableObject(ImmutableClassObject(m.itemA))), "flt.ItemA");
    EXPECT_EQ(f->doFetchName(ImmutableObject(a1)), "flt.ItemA");
    const std::string integer = f->doFetchName(ImmutableObject::fromInteger(3));
    EXPECT_FALSE(integer.empty());
    EXPECT_NE(integer, "flt.ItemA");
}

TEST_F(XMLFilterNamedTypeMatchTest, OffersListedClassesInAViewThatRefusesInsertion) {
    auto f = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &filterTestDatabase);
    Sequence<ImmutableClass> classes = MakeSequence::create<ImmutableClass>();
    classes.append(m.item);
    classes.append(m.itemA);
    classes.append(m.itemB);
    const Sequence<ImmutableClass> offered =
        f->executePropertyFilter(m.holder, m.refs, classes, "Simple");
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0], m.itemA);

    Asserter::clearReports();
    EXPECT_FALSE(offered.append(m.itemB));
    ASSERT_EQ(Asserter::reports().size(), 1u);
    EXPECT_EQ(Asserter::reports()[0].message, "insertion not supported by filtered sequence");
    Asserter::clearReports();
    EXPECT_EQ(offered.size(), 1);
}

TEST_F(XMLFilterNamedTypeMatchTest, RulesAndNameDecisionsAreCachedUntilCleared) {
    TAVI::XMLDB::Database& db = scratchDatabase();
    db.setDataList("Filter/flt.Holder/Tree/Simple/refs_include", {"flt.ItemA"});
    auto f = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &scratchDatabase);
    EXPECT_EQ(filteredRefs(f, "Simple"), (std::vector<ImmutableClassObject>{a1, a2}));

    db.setDataList("Filter/flt.Holder/Tree/Simple/refs_include", {"flt.ItemA", "flt.ItemB"});
    auto other = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &scratchDatabase);
    EXPECT_EQ(filteredRefs(other, "Simple"), (std::vector<ImmutableClassObject>{a1, a2}));

    XMLFilterBase::clearCacheMaps();
    EXPECT_EQ(filteredRefs(other, "Simple"), (std::vector<ImmutableClassObject>{a1, b1, a2}));
}
