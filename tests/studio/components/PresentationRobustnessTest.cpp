#include "studio/components/DefaultGetChildren.hpp"
#include "studio/components/DefaultGetIcon.hpp"
#include "studio/components/GenericElementDescriber.hpp"
#include "tests/studio/components/PresentationTestModel.hpp"
#include "tests/support/AssertionRecorder.hpp"

#include "platform/veld/Asserter.hpp"
#include "utils/BasicCompositeFilter.hpp"

#include <gtest/gtest.h>

#include <optional>

using namespace VELD;

namespace {

// Classes whose "name" is of an unusual kind, and a class that contains itself.
struct OddNames {
    ImmutableClass boolName, enumName, refName, manyName, nested;
    static const OddNames& get() {
        static const OddNames o = [] {
            MetaModelBuilder b("presodd", "test:presodd");
            b.addEnumeration("Colour", {"Red", "Green"});
            b.addClass("BoolName").attribute("name", "Boolean");
            b.addClass("EnumName").attribute("name", "Colour");
            b.addClass("RefName").reference("name", "BoolName");
            b.addClass("ManyName").attribute("name", "String", true);
            b.addClass("Nested").attribute("name", "String").containment("inner", "Nested");
            b.addClass("Root")
                .containment("bools", "BoolName")
                .containment("enums", "EnumName")
                .containment("refs", "RefName")
                .containment("manies", "ManyName")
                .containment("nests", "Nested");
            b.setModelClass("Root");
            const ImmutableNamespace pkg = b.build();
            return OddNames{pkg.getClass("BoolName"), pkg.getClass("EnumName"),
                            pkg.getClass("RefName"), pkg.getClass("ManyName"),
                            pkg.getClass("Nested")};
        }();
        return o;
    }
};

struct PresentationRobustnessTest : ::testing::Test {
    const PresentationModel& p = PresentationModel::get();
    KITE::DefaultElementDescriber describer;
    KITE::DefaultElementSetDescription setter;
    KITE::DefaultElementIsEditableObject editable;
    KITE::DefaultGetIcon icons;
    boost::shared_ptr<KITE::Util::FilterBase> tree{
        new KITE::Util::BasicCompositeFilter("Tree", true, false)};
    KITE::DefaultGetChildren children{tree, std::string(), tree};
};

} // namespace

TEST_F(PresentationRobustnessTest, DeletedObjectsAndThoseOfADestroyedModelAreHarmless) {
    for (const bool wholeModel : {false, true}) {
        SCOPED_TRACE(wholeModel ? "model destroyed" : "part deleted");
        Model model = p.newModel();
        ClassObject box, part;
        {
            Transaction t(model);
            box = p.make(model, "Box");
            part = model.getFactory().createFromString("Box");
            box.add(p.boxParts, part);
            box.setString(p.box.getProperty("name"), "b");
            t.commit();
        }
        std::optional<KiteTest::AssertionRecorder> recorder;
        if (wholeModel) {
            model.destroy();
            recorder.emplace();
        } else {
            Transaction t(model);
            part.destroy();
            t.commit();
        }
        Asserter::clearReports();
        std::vector<ImmutableClassObject> out;
        EXPECT_NO_THROW(children.execute(box, &out));
        EXPECT_TRUE(out.empty());
        const ClassObject gone = wholeModel ? box : part;
        EXPECT_FALSE(children.hasAtleastOneChild(gone));
        EXPECT_NO_THROW(describer.describe(gone, 0));
        EXPECT_FALSE(editable.isEditable(gone, 0));
        EXPECT_NO_THROW(children.execute(gone, &out));
        EXPECT_TRUE(out.empty());
        EXPECT_NO_THROW(icons.execute(gone));
        Asserter::clearReports();
    }
}

TEST_F(PresentationRobustnessTest, NamesOfOddTypesAreDescribedByTheirText) {
    const OddNames& o = OddNames::get();
    Model model = DomainRegistry::instance().createModel("test:presodd");
    ClassObject b, e, r, m, n, inner;
    {
        Transaction t(model);
        const ClassObject root = model.getRootObject();
        b = model.getFactory().createFromString("BoolName");
        e = model.getFactory().createFromString("EnumName");
        r = model.getFactory().createFromString("RefName");
        m = model.getFactory().createFromString("ManyName");
        n = model.getFactory().createFromString("Nested");
        inner = model.getFactory().createFromString("Nested");
        root.add(root.getMetaClass().getProperty("bools"), b);
        root.add(root.getMetaClass().getProperty("enums"), e);
        root.add(root.getMetaClass().getProperty("refs"), r);
        root.add(root.getMetaClass().getProperty("manies"), m);
        root.add(root.getMetaClass().getProperty("nests"), n);
        b.set(o.boolName.getProperty("name"),
              ValueObjectFactory::createFromString(
                  o.boolName.getProperty("name").getType().getQualifiedName(), "true"));
        r.set(o.refName.getProperty("name"), b);
        m.add(o.manyName.getProperty("name"), ImmutableObject::fromString("one"));
        m.add(o.manyName.getProperty("name"), ImmutableObject::fromString("two"));
        n.add(o.nested.getProperty("inner"), inner);
        t.commit();
    }
    EXPECT_EQ(describer.describe(b, 0), "true (presodd.BoolName)");
    EXPECT_EQ(describer.describe(e, 0), "<No Name> (presodd.EnumName)");
    EXPECT_NE(describer.describe(r, 1), "");
    EXPECT_EQ(describer.describe(m, 0), "one (presodd.ManyName)"); // the first of several
    EXPECT_NO_THROW(editable.isEditable(r, 0));
    EXPECT_NO_THROW(editable.isEditable(m, 0));
    {
        Transaction t(model);
        EXPECT_NO_THROW(setter.setDescription(b, "false"));
        EXPECT_NO_THROW(setter.setDescription(m, "three"));
        t.commit();
    }
    std::vector<ImmutableClassObject> out;
    children.execute(n, &out);
    EXPECT_EQ(out, std::vector<ImmutableClassObject>{inner});
    EXPECT_EQ(describer.describe(b, 1), "false");
}

TEST_F(PresentationRobustnessTest, IconsOfNullAndInvalidTypes) {
    KiteTest::AssertionRecorder recorder;
    Asserter::clearReports();
    EXPECT_EQ(icons.getNameGivenType(ImmutableType()),
              icons.getIconNodeGivenType(ImmutableType()).name);
    EXPECT_NO_THROW(icons.execute(ImmutableClassObject()));
    Asserter::clearReports();
}
