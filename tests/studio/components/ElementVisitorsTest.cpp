#include "studio/components/GenericElementDescriber.hpp"
#include "tests/studio/components/PresentationTestModel.hpp"

#include "platform/zu/zuPrint.hpp"

#include <gtest/gtest.h>

using namespace VELD;

namespace {

struct ElementVisitorsTest : ::testing::Test {
    const PresentationModel& p = PresentationModel::get();
    Model model = p.newModel();
    KITE::DefaultElementDescriber describer;
    KITE::DefaultElementSetDescription setter;
    KITE::DefaultElementIsEditableObject editable;

    ClassObject make(const char* className) {
        Transaction t(model);
        ClassObject o = p.make(model, className);
        t.commit();
        return o;
    }
    ClassObject block(const char* name) {
        Transaction t(model);
        ClassObject o = p.make(model, "Block");
        o.setString(p.blockName, name);
        t.commit();
        return o;
    }
};

// A domain's describer: its own text for blocks, the generic one for the rest.
class BlockDescriber : public KITE::DefaultElementDescriber {
public:
    BlockDescriber() : DefaultElementDescriber(Table::forClass<BlockDescriber>()) {}
    std::string visitBlock(const ClassObject& block, unsigned int) {
        return "Block " + block.getOne("name").toString();
    }

protected:
    void internalRegisterDescribableTypes() override {
        DefaultElementDescriber::internalRegisterDescribableTypes();
        getDispatchTable()->registerHandler(PresentationModel::get().block,
                                            Table::member(&BlockDescriber::visitBlock));
    }
};

} // namespace

TEST_F(ElementVisitorsTest, DescriptionsAndEditabilityFollowTheObjectsOwnName) {
    const ClassObject derived = make("DerivedNamed");
    {
        Transaction t(model);
        setter.setDescription(derived, "Renamed"); // an inherited name is written...
        t.commit();
    }
    EXPECT_EQ(derived.getString(p.blockName), "Renamed");
    ASSERT_EQ(p.blockName.getType().getQualifiedName(), "VELD.String");
    const struct {
        const char* name;
        ClassObject object;
        const char* full;
        const char* brief; // null: not asked
        bool editable;
    } cases[] = {
        {"named", block("Gain1"), "Gain1 (pres.Block)", "Gain1", true},
        {"no name attribute", make("Nameless"), "<No Name> (pres.Nameless)", "", false},
        {"empty name: its type", block(""), ":VELD.String", ":VELD.String", false},
        {"unset name", make("Block"), "<No Name> (pres.Block)", nullptr, false},
        {"inherited name", derived, "<No Name> (pres.DerivedNamed)", nullptr,
         false}, // ...not shown
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(describer.describe(c.object, 0), c.full);
        if (c.brief) {
            EXPECT_EQ(describer.describe(c.object, 1), c.brief);
            EXPECT_EQ(describer.describe(c.object, 7), c.brief);
        }
        EXPECT_EQ(editable.isEditable(c.object, 0), c.editable);
    }
    // Writing a name it has no attribute for does nothing.
    Transaction t(model);
    EXPECT_NO_THROW(setter.setDescription(cases[1].object, "x"));
    t.commit();
    EXPECT_EQ(describer.describe(cases[1].object, 0), "<No Name> (pres.Nameless)");
}

TEST_F(ElementVisitorsTest, TheTextIsConvertedToTheNameTypeAndKernelErrorsReachTheCaller) {
    const ClassObject numbered = make("Numbered");
    const ImmutableProperty name = p.numbered.getProperty("name");
    {
        Transaction t(model);
        setter.setDescription(numbered, "12");
        t.commit();
    }
    EXPECT_EQ(numbered.getInteger(name), 12);
    EXPECT_EQ(describer.describe(numbered, 0), "12 (pres.Numbered)");
    {
        Transaction t(model);
        EXPECT_THROW(setter.setDescription(numbered, "twelve"), Exception);
    }
    EXPECT_EQ(numbered.getInteger(name), 12);
    // No transaction is opened for the caller.
    EXPECT_THROW(setter.setDescription(numbered, "13"), Exception);
    EXPECT_EQ(numbered.getInteger(name), 12);
}

TEST_F(ElementVisitorsTest, AnUnreadableNameIsCaughtAndReported) {
    const ClassObject broken = make("Broken");
    ZuPrintCapture capture;
    EXPECT_EQ(describer.describe(broken, 0), "<No Name> (pres.Broken)");
    EXPECT_EQ(describer.describe(broken, 1), "");
    EXPECT_FALSE(editable.isEditable(broken, 0));
    EXPECT_EQ(capture.text(), "DefaultElementDescriber::visit::exception caught\n"
                              "DefaultElementDescriber::visit::exception caught\n"
                              "DefaultElementDescriber::visit::exception caught\n");
}

TEST_F(ElementVisitorsTest, VisitingANullObjectIsReportedByTheKernel) {
    Asserter::clearReports();
    EXPECT_EQ(describer.describe(ImmutableClassObject(), 0), "");
    EXPECT_FALSE(editable.isEditable(ImmutableClassObject(), 0));
    setter.setDescription(ClassObject(), "x");
    ASSERT_EQ(Asserter::reports().size(), 3u);
    for (const AssertionReport& r : Asserter::reports())
        EXPECT_EQ(r.message, "Visitation on null object");
    Asserter::clearReports();
}

TEST_F(ElementVisitorsTest, EachVisitorClassHasItsOwnTable) {
    const ClassObject gain = block("Gain1");
    const ClassObject nameless = make("Nameless");
    BlockDescriber domainDescriber;
    EXPECT_EQ(domainDescriber.describe(gain, 0), "Block Gain1");
    EXPECT_EQ(domainDescriber.describe(nameless, 0), "<No Name> (pres.Nameless)");
    // The block entry belongs to the domain's describer only.
    EXPECT_EQ(describer.describe(gain, 0), "Gain1 (pres.Block)");
    KITE::DefaultElementDescriber another;
    EXPECT_EQ(another.describe(gain, 0), "Gain1 (pres.Block)");
}
