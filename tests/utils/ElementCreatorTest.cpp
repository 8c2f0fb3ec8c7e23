#include "utils/ElementCreator.hpp"

#include "platform/tavi/ApplicationContext.hpp"
#include "platform/veld/Asserter.hpp"
#include "platform/veld/Veld.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using KITE::GenericElementCreator;

namespace {

// A folder holds items in two containments, plain things, and refers to a favourite item.
// Items and sub-items have names; plain things have none.
struct Folders {
    VELD::Model model = (meta(), VELD::DomainRegistry::instance().createModel("test:creator"));
    VELD::ClassObject folder = model.getRootObject();
    VELD::ImmutableClass item = cls("Item"), subItem = cls("SubItem"), plain = cls("Plain");

    static void meta() {
        static const bool registered = [] {
            VELD::MetaModelBuilder builder("creatortest", "test:creator");
            builder.addClass("Item").attribute("name", "String");
            builder.addClass("SubItem", {"Item"});
            builder.addClass("Plain").attribute("weight", "Double");
            builder.addClass("Folder")
                .containment("items", "Item")
                .containment("spares", "Item")
                .containment("plains", "Plain")
                .reference("favourite", "Item");
            builder.setModelClass("Folder");
            return builder.build().isValid();
        }();
        EXPECT_TRUE(registered);
    }
    static VELD::ImmutableClass cls(const char* name) {
        return VELD::DomainRegistry::instance().findClass(std::string("creatortest.") + name);
    }
    VELD::ImmutableProperty property(const char* name) const {
        return folder.getMetaClass().getProperty(name);
    }
    VELD::ClassObject create(const char* into, const VELD::ImmutableClass& of) const {
        VELD::Transaction t(model);
        const VELD::ClassObject made =
            GenericElementCreator().createElement(folder, property(into), of);
        t.commit();
        return made;
    }
};

TEST(GenericElementCreatorTest, NamesAfterTheClassAndTheCountSkippingNamesTaken) {
    const struct {
        const char* name;
        // Items made before the one under test, and which of them are destroyed first.
        std::vector<std::pair<bool, bool>> before; // (in spares, as a sub-item)
        std::vector<int> destroyed;
        const char* expected;
    } cases[] = {
        {"first", {}, {}, "Item1"},
        // Items in any containment count; sub-items do not.
        {"two in either containment", {{false, false}, {true, false}}, {}, "Item3"},
        {"subclasses do not count", {{false, true}, {false, true}}, {}, "Item1"},
        // Item1 gone: the count says 2, yet Item2 is taken, so Item3.
        {"a taken name is skipped", {{false, false}, {false, false}}, {0}, "Item3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folders f;
        std::vector<VELD::ClassObject> made;
        for (const auto& [inSpares, asSub] : c.before)
            made.push_back(f.create(inSpares ? "spares" : "items", asSub ? f.subItem : f.item));
        {
            VELD::Transaction t(f.model);
            for (int index : c.destroyed)
                made.at(index).destroy();
            t.commit();
        }
        const VELD::ClassObject created = f.create("items", f.item);
        ASSERT_TRUE(created.isValid());
        EXPECT_EQ(created.getContainerVELD(), f.folder);
        EXPECT_EQ(KITE::Util::extractObjectName(created), c.expected);
    }
    // A class without a name is added unnamed.
    Folders f;
    const VELD::ClassObject plain = f.create("plains", f.plain);
    ASSERT_TRUE(plain.isValid());
    EXPECT_EQ(plain.getContainerVELD(), f.folder);
    EXPECT_EQ(KITE::Util::extractObjectName(plain), "unnamed");
}

TEST(GenericElementCreatorTest, MisuseIsReportedAndLeavesNothingInTheModel) {
    struct Case {
        const char* name;
        bool validParent;
        bool throughReference;
        const char* message;
    };
    for (const Case& c : {Case{"NotAContainment", true, true,
                               "The parent property was not set for this object creation."},
                          Case{"InvalidParent", false, false, "parent of new type is not valid"}}) {
        SCOPED_TRACE(c.name);
        Folders f;
        VELD::Asserter::clearReports();
        VELD::ClassObject made;
        {
            VELD::Transaction t(f.model);
            made = GenericElementCreator().createElement(
                c.validParent ? f.folder : VELD::ClassObject(),
                f.property(c.throughReference ? "favourite" : "items"), f.item);
            t.commit();
        }
        EXPECT_TRUE(made.isNull() || !made.isValid());
        ASSERT_EQ(VELD::Asserter::reports().size(), 1u);
        EXPECT_EQ(VELD::Asserter::reports().front().message, c.message);
        EXPECT_TRUE(f.folder.getContaineeVELDs().empty());
        EXPECT_FALSE(f.folder.isSet(f.property("favourite")));
        VELD::Asserter::clearReports();
    }
}

TEST(ExtractObjectNameTest, AnonymousForAnEmptyNameAndNothingForAnInvalidObject) {
    Folders f;
    const VELD::ClassObject named = f.create("items", f.item);
    {
        VELD::Transaction t(f.model);
        named.setString(f.item.getProperty("name"), "");
        t.commit();
    }
    EXPECT_EQ(KITE::Util::extractObjectName(named), "anonymous");
    VELD::Asserter::clearReports();
    EXPECT_EQ(KITE::Util::extractObjectName(VELD::ImmutableClassObject()), "");
    ASSERT_EQ(VELD::Asserter::reports().size(), 1u);
    EXPECT_EQ(VELD::Asserter::reports().front().message, "Expects a valid element");
    VELD::Asserter::clearReports();
}

TEST(FetchQuasarRootTest, IsTheApplicationContextsRootAndStaysOnceSet) {
    TAVI::ApplicationContext& context = TAVI::ApplicationContext::instance();
    const std::string root = context.getRootDirectory();
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(KITE::Util::fetchQuasarRoot(), root);
    context.setRootDirectory("/elsewhere");
    EXPECT_EQ(KITE::Util::fetchQuasarRoot(), root);
    context.setRootDirectory(root);
}

} // namespace
