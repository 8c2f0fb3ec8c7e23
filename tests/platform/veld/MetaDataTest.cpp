#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

using namespace VELD;

TEST(MetaDataTest, ClassesKnowTheirNamesPropertiesAndHierarchy) {
    const Sample& s = Sample::get();
    EXPECT_EQ(s.block.getName(), "Block");
    EXPECT_EQ(s.block.getQualifiedName(), "lib.Block");
    EXPECT_EQ(s.block.getQualifiedNameWithSeperator("::"), "lib::Block");
    EXPECT_TRUE(isa(s.special, s.block));
    EXPECT_FALSE(isa(s.block, s.special));
    EXPECT_TRUE(isa(s.block, ImmutableClassObject::MetaClass()));
    EXPECT_EQ(ImmutableModel::MetaClass().getQualifiedName(), "VELD.Model");

    // Owned versus inherited lookups.
    EXPECT_TRUE(s.special.getAttributeByName("name").isValid());
    EXPECT_FALSE(s.special.getOwnedAttributeByName("name").isValid());
    EXPECT_TRUE(s.special.getOwnedAttributeByName("flag").isValid());
    EXPECT_EQ(s.special.getOwnedAttributes().size(), 2);
    EXPECT_EQ(s.special.getSuperClasses().front(), s.block);
    EXPECT_TRUE(s.block.getSubClasses().contains(s.special));

    auto subs = MakeSequence::create<ImmutableClass>();
    getAllSubClasses(s.block, subs, true);
    EXPECT_TRUE(subs.contains(s.special));
    EXPECT_EQ(subs.front(), s.block);
}

TEST(MetaDataTest, PropertiesDescribeTypeAndMultiplicity) {
    const Sample& s = Sample::get();
    EXPECT_TRUE(s.children.isComposite());
    EXPECT_TRUE(s.children.isMultivalued());
    EXPECT_FALSE(s.target.isComposite());
    EXPECT_EQ(s.target.getType(), s.block);
    EXPECT_TRUE(s.childCount.isDerived());
    EXPECT_TRUE(s.serial.isReadOnly());
    EXPECT_EQ(s.x.getType().getName(), "Double");
    EXPECT_TRUE(s.color.getType().isEnumeration());
    auto literals = s.color.getType().asEnumeration().getOwnedLiterals();
    ASSERT_EQ(literals.size(), 3);
    EXPECT_EQ(literals.at(2).getName(), "Blue");
}

TEST(MetaDataTest, MetaDataAreKernelObjectsWithTheirOwnClasses) {
    const Sample& s = Sample::get();
    const ImmutableClassObject asObject = s.block; // a class seen as a plain object
    EXPECT_EQ(asObject.getMetaClass().getQualifiedName(), "VELD.Class");
    EXPECT_EQ(asObject.getOne("name").toString(), "Block");
    EXPECT_TRUE(asObject.asClass().isValid());
    EXPECT_FALSE(asObject.asProperty().isValid());
    EXPECT_EQ(s.x.getContainerVELD(), s.block);
    EXPECT_EQ(s.package.getUri(), Sample::uri);
    EXPECT_TRUE(s.package.getOwnedMembers().contains(s.block));
}

TEST(MetaDataTest, BuilderRefusesBadDefinitionsAndRegistersNothing) {
    auto refuses = [](auto define, const std::string& fragment) {
        MetaModelBuilder b("bad", "test:bad");
        define(b);
        try {
            b.build();
            ADD_FAILURE() << "built a meta-model that should be refused: " << fragment;
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(fragment), std::string::npos) << e.what();
        }
        EXPECT_FALSE(DomainRegistry::instance().isRegistered("test:bad"));
    };
    refuses([](MetaModelBuilder& b) { b.addClass("A").attribute("n", "Nope"); },
            "unknown type 'Nope'");
    refuses([](MetaModelBuilder& b) { b.addClass("A", {"Missing"}); }, "unknown class 'Missing'");
    refuses(
        [](MetaModelBuilder& b) {
            b.addClass("A", {"B"});
            b.addClass("B", {"A"});
        },
        "inherits from itself");
    refuses(
        [](MetaModelBuilder& b) {
            b.addClass("A");
            b.addClass("A");
        },
        "defined twice");
    refuses(
        [](MetaModelBuilder& b) {
            PropertySpec p{"n", "Integer"};
            p.defaultValue = "abc";
            b.addClass("A").property(p);
        },
        "'abc' is not a valid Integer");
    refuses(
        [](MetaModelBuilder& b) {
            b.addClass("A").attribute("name", "String");
            b.addClass("B", {"A"}).attribute("name", "String");
        },
        "two properties named 'name'");

    MetaModelBuilder again("lib2", Sample::get().package.getUri());
    EXPECT_THROW(again.build(), Exception);
}

TEST(MetaDataTest, ClientClassesCanDeriveFromClassesOfOtherMetaModels) {
    Sample::get();
    MetaModelBuilder b("ext", "test:ext");
    b.addClass("Gain", {"lib.Block"}).attribute("factor", "Double");
    const ImmutableNamespace ext = b.build();
    const ImmutableClass gain = ext.getClass("Gain");
    EXPECT_TRUE(isa(gain, Sample::get().block));
    EXPECT_TRUE(gain.getProperty("x").isValid());
    EXPECT_TRUE(Sample::get().block.getSubClasses().contains(gain));
    EXPECT_EQ(DomainRegistry::instance().findClass("ext.Gain"), gain);
}
