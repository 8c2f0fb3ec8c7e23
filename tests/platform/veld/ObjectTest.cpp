#include "tests/platform/veld/SampleMetaModel.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace VELD;

namespace {
struct ObjectTest : ::testing::Test {
    const Sample& s = Sample::get();
    Model model = s.newModel();
    ClassObject root = model.getRootObject();
};
} // namespace

TEST_F(ObjectTest, ValuesReadBackAsWrittenAndUnsetReadsDefault) {
    Transaction t(model);
    ClassObject b = s.makeBlock(model, "b1", 2.5);
    EXPECT_EQ(b.getString(s.name), "b1");
    EXPECT_EQ(b.getDouble(s.x), 2.5);
    EXPECT_EQ(b.getOne(s.count).toInteger(), 7); // default
    EXPECT_FALSE(b.isSet(s.count));
    EXPECT_EQ(b.getOne(s.color).toString(), "Green");
    b.set(s.color, ValueObjectFactory::createFromString("lib.Color", "Blue"));
    EXPECT_EQ(b.getOne("color").toString(), "Blue");
    EXPECT_TRUE(b.getOne(s.y).isNull() || b.getOne(s.y).toDouble() == 0.0);

    b.setString(s.name, "");
    EXPECT_TRUE(b.isSet(s.name)); // empty is not unset
    b.unset(s.name);
    EXPECT_FALSE(b.isSet(s.name));
    EXPECT_TRUE(b.getOne(s.name).isNull());

    const double tricky = std::nextafter(0.1, 1.0);
    b.setDouble(s.x, tricky);
    const ValueObject back =
        ValueObjectFactory::createFromString("Double", b.getOne(s.x).toString());
    EXPECT_EQ(std::memcmp(&tricky, &std::get<double>(back.raw()), sizeof tricky), 0);
    t.commit();
}

TEST_F(ObjectTest, ValueFactoryConvertsTextAndRefusesWhatDoesNotConvert) {
    EXPECT_EQ(ValueObjectFactory::createFromString("Integer", "-42").toInteger(), -42);
    EXPECT_TRUE(ValueObjectFactory::createFromString("Boolean", "true").toBoolean());
    EXPECT_EQ(ValueObjectFactory::createFromString("UnlimitedNatural", "*").toInteger(), -1);
    EXPECT_EQ(ValueObjectFactory::createFromString("String", "a\n\"<b>\"").toStringValue(),
              "a\n\"<b>\"");
    EXPECT_THROW(ValueObjectFactory::createFromString("Integer", "abc"), Exception);
    EXPECT_THROW(ValueObjectFactory::createFromString("Integer", "12x"), Exception);
    EXPECT_THROW(ValueObjectFactory::createFromString("UnlimitedNatural", "-3"), Exception);
    EXPECT_THROW(ValueObjectFactory::createFromString("Nope", "1"), Exception);
    EXPECT_THROW(ValueObjectFactory::createFromString("lib.Color", "Purple"), Exception);
    EXPECT_THROW(model.getFactory().createFromString("Nope"), Exception);
}

TEST_F(ObjectTest, ContainmentKeepsOneContainerAndRefusesCycles) {
    Transaction t(model);
    ClassObject a = s.makeBlock(model, "a");
    ClassObject b = s.makeBlock(model, "b");
    ClassObject c = model.getFactory().createFromString("Block");
    a.add(s.children, c);
    EXPECT_EQ(c.getContainerVELD(), a);
    EXPECT_EQ(c.getContainingProperty(), s.children);
    b.add(s.children, c); // moves
    EXPECT_EQ(c.getContainerVELD(), b);
    EXPECT_EQ(a.get(s.children).size(), 0);
    EXPECT_EQ(b.getContaineeVELDs().size(), 1);

    EXPECT_THROW(c.add(s.children, b), Exception); // b would contain itself
    EXPECT_THROW(b.add(s.children, b), Exception);
    EXPECT_EQ(b.getContainerVELD(), root);
    EXPECT_EQ(root.get(s.blocks).size(), 2);
    t.commit();
}

TEST_F(ObjectTest, DestroyTakesTheSubtreeAndClearsReferencesToIt) {
    Transaction t(model);
    ClassObject a = s.makeBlock(model, "a");
    ClassObject b = s.makeBlock(model, "b");
    ClassObject child = model.getFactory().createFromString("Block");
    a.add(s.children, child);
    b.setObject(s.target, child);
    ClassObject link = model.getFactory().createFromString("Link");
    root.add(s.links, link);
    link.setObject(s.src, a);
    a.destroy();
    EXPECT_FALSE(a.isValid());
    EXPECT_FALSE(child.isValid());
    EXPECT_FALSE(b.isSet(s.target));
    EXPECT_TRUE(b.getObject(s.target).isNull());
    EXPECT_FALSE(link.isSet(s.src));
    EXPECT_EQ(root.get(s.blocks).size(), 1);
    EXPECT_THROW(a.getString(s.name), Exception);
    t.commit();
}

TEST_F(ObjectTest, BadWritesThrowAndLeaveTheModelAsItWas) {
    Transaction t(model);
    ClassObject b = s.makeBlock(model, "b", 1.0);
    ClassObject link = model.getFactory().createFromString("Link");
    EXPECT_THROW(b.set(s.x, ImmutableObject::fromString("abc")), Exception);
    EXPECT_THROW(b.setString(s.serial, "1"), Exception);    // read-only
    EXPECT_THROW(b.setInteger(s.childCount, 3), Exception); // derived
    EXPECT_THROW(b.add(s.name, ImmutableObject::fromString("again")), Exception);
    EXPECT_THROW(link.setObject(s.src, root), Exception); // a System is no Block
    EXPECT_THROW(b.setDouble(s.src, 1.0), Exception);     // Link's property on a Block
    EXPECT_THROW(ClassObject().setDouble(s.x, 1.0), Exception);
    EXPECT_EQ(b.getDouble(s.x), 1.0);
    EXPECT_EQ(b.getString(s.name), "b");
    t.commit();

    EXPECT_THROW(b.setDouble(s.x, 2.0), Exception); // outside any transaction
    EXPECT_EQ(b.getDouble(s.x), 1.0);
}

TEST_F(ObjectTest, LiveSequencesChangeTheModel) {
    Transaction t(model);
    ClassObject b = s.makeBlock(model, "b");
    Sequence<Object> tags = b.get(s.tags);
    tags.append(ImmutableObject::fromString("one"));
    tags.append(ImmutableObject::fromString("three"));
    tags.insert(1, ImmutableObject::fromString("two"));
    ASSERT_EQ(b.get(s.tags).size(), 3);
    EXPECT_EQ(b.get(s.tags).at(1).toStringValue(), "two");
    tags.erase(0);
    EXPECT_EQ(b.get(s.tags).front().toStringValue(), "two");
    EXPECT_EQ(b.getOne(s.childCount).toInteger(), 0);
    b.get(s.children).append(Object(model.getFactory().createFromString("Block")));
    EXPECT_EQ(b.getOne(s.childCount).toInteger(), 1);
    t.commit();
}

TEST_F(ObjectTest, HandlesCompareByIdentityAcrossDeviants) {
    Transaction t(model);
    ClassObject b = s.makeBlock(model, "b");
    t.commit();
    Model wc = model.createDeviantWithName("wc");
    ClassObject inCopy = b.asDeviant(wc);
    EXPECT_EQ(inCopy, b);
    EXPECT_EQ(gHash(inCopy), gHash(b));
    EXPECT_EQ(inCopy.getModelVELD(), wc);
    EXPECT_EQ(inCopy.getRootModel(), model);
    EXPECT_STREQ(b.getFullyQualifiedNoxTypeName(), "lib.Block");
    EXPECT_EQ(b.toString(), "lib.Block 'b'");
}

TEST_F(ObjectTest, HandlesOutliveTheirModelAsInvalid) {
    ClassObject b;
    {
        Model m = s.newModel();
        Transaction t(m);
        b = s.makeBlock(m, "b");
        t.commit();
        EXPECT_TRUE(b.isValid());
    }
    EXPECT_FALSE(b.isValid());
    EXPECT_THROW(b.getString(s.name), Exception);
    EXPECT_FALSE(b.getRootModel().isValid());
}
