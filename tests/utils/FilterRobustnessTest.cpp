#include "tests/support/AssertionRecorder.hpp"
#include "tests/utils/FilterTestModel.hpp"
#include "utils/BasicCompositeFilter.hpp"
#include "utils/BuildClassList.hpp"
#include "utils/XMLFilterMatch.hpp"
#include "utils/XMLFilterNamedTypeMatch.hpp"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

#include <chrono>

using KITE::Util::BasicCompositeFilter;
using KITE::Util::XMLFilterBase;
using KITE::Util::XMLFilterMatch;
using KITE::Util::XMLFilterNamedTypeMatch;
using namespace VELD;

namespace {

TAVI::XMLDB::Database& robustDatabase() {
    static TAVI::XMLDB::Database db;
    return db;
}

struct FilterRobustnessTest : ::testing::Test {
    const FilterModel& m = FilterModel::get();
    void SetUp() override { XMLFilterBase::clearCacheMaps(); }
    void TearDown() override { XMLFilterBase::clearCacheMaps(); }
};

// A chain of classes, each deriving from the one before.
constexpr int kChainLength = 3000;
ImmutableClass deepestOfChain() {
    static const ImmutableClass deepest = [] {
        MetaModelBuilder b("deepchain", "test:deepchain");
        b.addClass("C0").attribute("name", "String");
        for (int i = 1; i < kChainLength; ++i)
            b.addClass("C" + std::to_string(i), {"C" + std::to_string(i - 1)});
        return b.build().getClass("C" + std::to_string(kChainLength - 1));
    }();
    return deepest;
}

} // namespace

TEST_F(FilterRobustnessTest, NullAndInvalidArgumentsGiveEmptyOrUnfilteredResults) {
    auto basic = boost::make_shared<BasicCompositeFilter>("Tree", false, false);
    EXPECT_EQ(basic->execute(ImmutableClass(), "").size(), 0u);
    auto match = boost::make_shared<XMLFilterMatch>("Property", "", &robustDatabase);
    EXPECT_EQ(match->execute(ImmutableClass(), "Simple").size(), 0u);
    EXPECT_EQ(match->execute(ImmutableClass(), "Simple").size(), 0u);
    auto named = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &robustDatabase);
    const ImmutableSequence<ImmutableObject> none = MakeSequence::create<ImmutableObject>();
    EXPECT_EQ(named->executePropertyFilter(ImmutableClass(), ImmutableProperty(), none, "").size(),
              0u);
    const Sequence<ImmutableClass> classes = MakeSequence::create<ImmutableClass>();
    EXPECT_EQ(
        named->executePropertyFilter(ImmutableClass(), ImmutableProperty(), classes, "").size(),
        0u);
    // A property of another class than the one given.
    EXPECT_EQ(named->executePropertyFilter(m.a, m.refs, none, "").size(), 0u);
}

TEST_F(FilterRobustnessTest, ViewsOutliveTheCachesAndTheirFilter) {
    ImmutableSequence<ImmutableProperty> view;
    {
        auto match = boost::make_shared<XMLFilterMatch>("Tree", "", &filterTestDatabase);
        view = match->execute(m.b, "Cross");
    }
    const std::size_t before = view.size();
    XMLFilterBase::clearCacheMaps();
    EXPECT_EQ(view.size(), before);
    auto again = boost::make_shared<XMLFilterMatch>("Tree", "", &filterTestDatabase);
    EXPECT_EQ(again->execute(m.b, "Cross").size(), before);
}

TEST_F(FilterRobustnessTest, DeepHierarchiesAreListedOnceInOrder) {
    const ImmutableClass deepest = deepestOfChain();
    const auto start = std::chrono::steady_clock::now();
    std::vector<ImmutableClass> list;
    KITE::Util::buildClassList(deepest, list);
    ASSERT_EQ(list.size(), 3001u); // and the root class
    EXPECT_EQ(list.front(), deepest);
    EXPECT_EQ(list[2999].getQualifiedName(), "deepchain.C0");
    EXPECT_EQ(list.back(), ImmutableClassObject::MetaClass());
    auto match = boost::make_shared<XMLFilterMatch>("Property", "", &robustDatabase);
    // C0's "name", inherited through the whole chain.
    const VELD::ImmutableSequence<VELD::ImmutableProperty> shown =
        match->execute(deepest, "Simple");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ((*shown.begin()).getName(), "name");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(FilterRobustnessTest, HugeDuplicatedAndOddDataStillDecides) {
    TAVI::XMLDB::Database& db = robustDatabase();
    std::vector<std::string> many;
    for (int i = 0; i < 100000; ++i)
        many.push_back("n" + std::to_string(i));
    many.push_back("name");
    many.push_back("name");
    many.push_back("\xff\xfe");
    many.push_back("");
    db.setDataList("Filter/flt.A/Property/Huge/Include", many);
    auto match = boost::make_shared<XMLFilterMatch>("Property", "", &robustDatabase);
    const auto start = std::chrono::steady_clock::now();
    const ImmutableSequence<ImmutableProperty> shown = match->execute(m.a, "Huge");
    std::vector<std::string> names = FilterModel::names(shown);
    EXPECT_EQ(names, std::vector<std::string>{"name"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(FilterRobustnessTest, MalformedNestedAndNonUtf8FilesAreSkipped) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    QByteArray nested = "<xmldb>";
    for (int i = 0; i < 2000; ++i)
        nested += "<node name=\"n\">";
    nested += "<item>x</item>";
    for (int i = 0; i < 2000; ++i)
        nested += "</node>";
    nested += "</xmldb>";
    write("a_nested.xml", nested);
    write(
        "b_latin.xml",
        QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><xmldb><node "
                   "name=\"Filter/flt.A/Tree/Bad/Include\"><item>\xe9t\xe9</item></node></xmldb>"));
    write("c_empty.xml", QByteArray());
    write("d_truncated.xml",
          QByteArray("<xmldb><node name=\"Filter/flt.A/Tree/Cut/Include\"><item>parts"));
    write("e_good.xml", QByteArray("<xmldb><node "
                                   "name=\"Filter/flt.A/Tree/Good/Include\"><item>parts</"
                                   "item><item>parts</item></node></xmldb>"));
    TAVI::XMLDB::Database db;
    TAVI::ErrorHolder errors;
    EXPECT_FALSE(db.addFolder(dir.path().toStdString(), errors));
    EXPECT_EQ(errors.id(), "TAVI_XMLDB_MalformedFile");
    static TAVI::XMLDB::Database* current = nullptr;
    current = &db;
    auto match = boost::make_shared<XMLFilterMatch>(
        "Tree", "", []() -> TAVI::XMLDB::Database& { return *current; });
    EXPECT_EQ(FilterModel::names(match->execute(m.a, "Good")), std::vector<std::string>{"parts"});
    match->execute(m.a, "Bad");
    match->execute(m.a, "Cut");
}

TEST_F(FilterRobustnessTest, NullCandidatesAreRejected) {
    auto basic = boost::make_shared<BasicCompositeFilter>("Tree", false, true);
    auto match = boost::make_shared<XMLFilterMatch>("Tree", "", &robustDatabase);
    auto named = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &robustDatabase);
    ASSERT_TRUE(named->buildFilter(m.holder, ""));
    const ImmutableObject none;
    KITE::Util::FilterTestResult result;
    EXPECT_FALSE(basic->doTestObject(none, &result));
    EXPECT_FALSE(match->doTestObject(none, &result));
    EXPECT_EQ(named->doFetchName(none), "");
    basic->dumpHistory("", nullptr, false);
}

TEST_F(FilterRobustnessTest, ViewsOverValuesOfADestroyedModelAreEmpty) {
    Model model = DomainRegistry::instance().createModel(FilterModel::uri);
    {
        Transaction t(model);
        const ClassObject holder = model.getRootObject();
        for (const char* type : {"ItemA", "ItemB"}) {
            const ClassObject item = model.getFactory().createFromString(type);
            holder.add(m.holder.getProperty("parts"), item);
            holder.add(m.refs, item);
        }
        t.commit();
    }
    auto named = boost::make_shared<XMLFilterNamedTypeMatch>("Tree", "", &filterTestDatabase);
    const ImmutableClassObject holder = model.getRootObject();
    const ImmutableSequence<ImmutableObject> view =
        named->executePropertyFilter(m.holder, m.refs, holder.get(m.refs), "");
    std::size_t before = 0;
    for (const ImmutableObject& v : view)
        before += v.isClassObject() ? 1 : 0;
    EXPECT_GT(before, 0u);
    model.destroy();
    std::size_t after = 0;
    for (const ImmutableObject& v : view)
        after += v.isClassObject() ? 1 : 0;
    EXPECT_EQ(after, 0u);
    EXPECT_EQ(view.size(), 0u);
}
