#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

using namespace VELD;

namespace {
struct Describer : CooperativeVisitor<Describer, std::string> {};

struct VisitorTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    static void SetUpTestSuite() {
        Describer::setDefaultHandler(
            [](Describer&, const ImmutableClassObject&) { return std::string("object"); });
        Describer::registerHandler(Sample::get().block,
                                   [](Describer&, const ImmutableClassObject& o) {
                                       return "block " + o.getOne("name").toString();
                                   });
    }
};
} // namespace

TEST_F(VisitorTest, DispatchesToTheMostDerivedRegisteredClass) {
    Transaction t(model);
    ClassObject block = s.makeBlock(model, "b");
    ClassObject special = model.getFactory().createFromString("Special");
    special.setString(s.name, "sp");
    t.commit();
    Describer d;
    EXPECT_EQ(d.visit(block), "block b");
    EXPECT_EQ(d.visit(special), "block sp"); // inherits Block's entry
    EXPECT_EQ(d.visit(model.getRootObject()), "object");

    Describer::registerHandler(
        s.special, [](Describer&, const ImmutableClassObject&) { return std::string("special"); });
    EXPECT_EQ(d.visit(special), "special");
    EXPECT_EQ(d.visit(block), "block b");
}

TEST_F(VisitorTest, SharedBaseLosesToANearerClassOfASecondSuperclass) {
    MetaModelBuilder b("diamond", "test:diamond");
    b.addClass("A");
    b.addClass("B", {"A"});
    b.addClass("C", {"A", "B"});
    const auto pkg = b.build();
    struct Names : CooperativeVisitor<Names, std::string> {};
    Names::registerHandler(pkg.getClass("A"),
                           [](Names&, const ImmutableClassObject&) { return std::string("A"); });
    Names::registerHandler(pkg.getClass("B"),
                           [](Names&, const ImmutableClassObject&) { return std::string("B"); });
    Model m = DomainRegistry::instance().createModel("test:diamond");
    Transaction t(m);
    ClassObject c = m.getFactory().createFromString("C");
    Names n;
    EXPECT_EQ(n.visit(c), "B");
}

TEST_F(VisitorTest, VisitingANullObjectIsReported) {
    Asserter::clearReports();
    Describer d;
    EXPECT_EQ(d.visit(ImmutableClassObject()), "");
    ASSERT_EQ(Asserter::reports().size(), 1u);
    EXPECT_EQ(Asserter::reports()[0].message, "Visitation on null object");
    Asserter::clearReports();
}

TEST_F(VisitorTest, HandlerReplacingItselfWhileItRunsFinishesItsVisit) {
    struct Lazy : CooperativeVisitor<Lazy, std::string> {};
    // A first visit installs the handler for the rest; the running one still needs its state.
    const std::string greeting(64, 'g');
    Lazy::registerHandler(s.block, [greeting](Lazy&, const ImmutableClassObject&) {
        Lazy::registerHandler(Sample::get().block, [](Lazy&, const ImmutableClassObject&) {
            return std::string("later");
        });
        return greeting;
    });
    Lazy::setDefaultHandler([greeting](Lazy&, const ImmutableClassObject&) {
        Lazy::setDefaultHandler(
            [](Lazy&, const ImmutableClassObject&) { return std::string("other"); });
        return greeting;
    });
    Transaction t(model);
    ClassObject block = s.makeBlock(model, "b");
    t.commit();
    Lazy lazy;
    EXPECT_EQ(lazy.visit(block), greeting);
    EXPECT_EQ(lazy.visit(block), "later");
    EXPECT_EQ(lazy.visit(model.getRootObject()), greeting);
    EXPECT_EQ(lazy.visit(model.getRootObject()), "other");
}
