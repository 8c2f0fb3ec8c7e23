#include "studio/components/DefaultGetChildren.hpp"
#include "tests/studio/components/PresentationTestModel.hpp"
#include "utils/BasicCompositeFilter.hpp"

#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

using namespace VELD;
using Children = std::vector<ImmutableClassObject>;

namespace {

// A filter that shows every attribute and lets no value through, noting the modes it is given.
class NothingPasses : public KITE::Util::FilterBase {
public:
    ImmutableSequence<ImmutableProperty> execute(const ImmutableClass& cls,
                                                 const std::string& mode) override {
        modes.push_back(mode);
        return cls.getOwnedAttributes();
    }
    ImmutableSequence<ImmutableObject>
    executePropertyFilter(const ImmutableClass&, const ImmutableProperty&,
                          const ImmutableSequence<ImmutableObject>&,
                          const std::string& mode) override {
        modes.push_back(mode);
        return MakeSequence::create<ImmutableObject>();
    }
    using FilterBase::executePropertyFilter;
    std::vector<std::string> modes;
};

struct GetChildrenTest : ::testing::Test {
    const PresentationModel& p = PresentationModel::get();
    Model model = p.newModel();
    ClassObject box, first, second, elsewhere;

    void SetUp() override {
        Transaction t(model);
        box = p.make(model, "Box");
        first = model.getFactory().createFromString("Box");
        second = model.getFactory().createFromString("Box");
        elsewhere = p.make(model, "Box");
        box.add(p.boxParts, first);
        box.add(p.boxParts, second);
        // Reached again through the references, in the other order, and one more.
        box.add(p.boxFavourites, second);
        box.add(p.boxFavourites, elsewhere);
        box.add(p.boxFavourites, first);
        box.add(p.boxTags, ImmutableObject::fromString("tag"));
        t.commit();
    }
};

} // namespace

TEST_F(GetChildrenTest, EachChildAppearsOnceAtItsFirstPlaceAndValuesNever) {
    KITE::DefaultGetChildren children;
    Children out;
    children.execute(box, &out);
    EXPECT_EQ(out, (Children{first, second, elsewhere}));
    EXPECT_TRUE(children.hasAtleastOneChild(box));
    EXPECT_FALSE(children.hasAtleastOneChild(first));
    // Appending to what is there already, without repeating it.
    Children more{elsewhere};
    children.execute(box, &more);
    EXPECT_EQ(more, (Children{elsewhere, first, second}));
}

TEST_F(GetChildrenTest, ManyChildrenReachedTwiceAppearOnceInTheirFirstOrder) {
    Children parts;
    {
        Transaction t(model);
        for (int i = 0; i < 40; ++i) {
            ClassObject part = model.getFactory().createFromString("Box");
            elsewhere.add(p.boxParts, part);
            parts.push_back(part);
        }
        for (auto it = parts.rbegin(); it != parts.rend(); ++it)
            elsewhere.add(p.boxFavourites, *it);
        elsewhere.add(p.boxFavourites, box);
        t.commit();
    }
    KITE::DefaultGetChildren children;
    Children out;
    children.execute(elsewhere, &out);
    Children expected = parts;
    expected.push_back(box);
    EXPECT_EQ(out, expected);
}

TEST_F(GetChildrenTest, TheAttributeFilterChoosesWhichAttributesAreFollowed) {
    auto tree = boost::make_shared<KITE::Util::BasicCompositeFilter>("Tree", true, false);
    KITE::DefaultGetChildren children(tree, "", tree);
    Children out;
    children.execute(box, &out);
    EXPECT_EQ(out, (Children{first, second})); // references are not composite
    EXPECT_EQ(children.getFilter(), tree);
    EXPECT_EQ(children.getFilterObjectsByType(), tree);

    // Replaced filters apply to the next call.
    children.setFilter({});
    out.clear();
    children.execute(box, &out);
    EXPECT_EQ(out, (Children{first, second, elsewhere}));
}

TEST_F(GetChildrenTest, AnObjectFilterThatRemovesEverythingStillLeavesChildrenToOffer) {
    auto none = boost::make_shared<NothingPasses>();
    KITE::DefaultGetChildren children({}, "Simple", none);
    Children out;
    children.execute(box, &out);
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(children.hasAtleastOneChild(box));
    // One value query per owned attribute, each with the mode.
    EXPECT_EQ(none->modes, std::vector<std::string>(5, "Simple"));

    none->modes.clear();
    children.setFilterMode("All");
    children.setFilterObjectsByType({});
    children.setFilter(none);
    out.clear();
    children.execute(box, &out);
    EXPECT_EQ(out.size(), 3u);
    EXPECT_EQ(none->modes, (std::vector<std::string>{"All"}));
    EXPECT_EQ(children.getFilterMode(), "All");
}

TEST_F(GetChildrenTest, NullObjectsAndNullOutputsAreHarmless) {
    KITE::DefaultGetChildren children;
    Asserter::clearReports();
    Children out;
    children.execute(ImmutableClassObject(), &out);
    EXPECT_TRUE(out.empty());
    ASSERT_EQ(Asserter::reports().size(), 1u);
    EXPECT_EQ(Asserter::reports()[0].message, "Visitation on null object");
    Asserter::clearReports();
    children.execute(box, nullptr);
    EXPECT_FALSE(children.hasAtleastOneChild(ImmutableClassObject()));
    EXPECT_EQ(children.getStudioApp(), nullptr);
}
