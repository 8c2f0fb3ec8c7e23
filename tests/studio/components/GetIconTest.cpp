#include "studio/components/GenericIconVisitor.hpp"
#include "tests/studio/components/PresentationTestModel.hpp"

#include "platform/datamodel/Diagram.hpp"
#include "platform/orbis/IconManager.hpp"
#include "platform/tavi/ApplicationContext.hpp"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace VELD;
using KITE::IconNode;

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// Gain derives from Named (no icon of its own, directly under the root class) and then Block.
struct IconClasses {
    ImmutableClass named, block, gain;
    static const IconClasses& get() {
        static const IconClasses c = [] {
            MetaModelBuilder b("icons", "test:icons");
            b.addClass("Named");
            b.addClass("Block");
            b.addClass("Gain", {"Named", "Block"});
            const ImmutableNamespace pkg = b.build();
            return IconClasses{pkg.getClass("Named"), pkg.getClass("Block"), pkg.getClass("Gain")};
        }();
        return c;
    }
};

// An icon controller whose stored icons a test chooses.
class ChosenIcons : public KITE::GetIconBase {
public:
    explicit ChosenIcons(bool rootHasIcon)
        : GetIconBase(Table::forClass<ChosenIcons>()), rootHasIcon(rootHasIcon) {}
    KITE::IconStorageMap& map() { return getIconStorageMap(); }
    std::string visit(const ImmutableClassObject& object) {
        return getNameGivenType(ImmutableType(object.getMetaClass()));
    }

protected:
    void internalRegisterVisitableTypes() override {
        getDispatchTable()->setDefaultHandler(Table::member(&ChosenIcons::visit));
    }
    const IconNode& doGetDefaultIcon() override {
        static const IconNode unknown{ImmutableType(), "unknown.png", "Unknown"};
        return unknown;
    }
    void doPopulateIconStorageMap(KITE::IconStorageMap& m) override {
        const ImmutableType block(IconClasses::get().block);
        m[block] = IconNode{block, "block.png", "Block"};
        if (rootHasIcon) {
            const ImmutableType root(ImmutableClassObject::MetaClass());
            m[root] = IconNode{root, "root.png", "Root"};
        }
    }

private:
    bool rootHasIcon;
};

} // namespace

TEST(GetIconTest, TheSearchIsDepthFirstInSuperclassOrder) {
    const IconClasses& c = IconClasses::get();
    ChosenIcons icons(true);
    const ImmutableType gain(c.gain);
    // Named's chain reaches the root's icon before Block is looked at.
    EXPECT_EQ(icons.getNameGivenType(gain), "root.png");
    EXPECT_EQ(icons.getTagGivenType(gain), "Root");
    // Only the class asked for is remembered, with the node it found.
    ASSERT_EQ(icons.map().count(gain), 1u);
    EXPECT_EQ(icons.map().at(gain).type, ImmutableType(ImmutableClassObject::MetaClass()));
    EXPECT_EQ(icons.map().count(ImmutableType(c.named)), 0u);
    EXPECT_EQ(icons.map().size(), 3u);
    EXPECT_EQ(&icons.getIconNodeGivenType(gain), &icons.map().at(gain));
}

TEST(GetIconTest, WithoutARootIconTheSecondSuperclassDecides) {
    const IconClasses& c = IconClasses::get();
    ChosenIcons icons(false);
    EXPECT_EQ(icons.getNameGivenType(ImmutableType(c.gain)), "block.png");
    // Named has nothing up its hierarchy: the default node, which is not stored.
    EXPECT_EQ(icons.getNameGivenType(ImmutableType(c.named)), "unknown.png");
    EXPECT_EQ(icons.map().count(ImmutableType(c.named)), 0u);
}

TEST(GetIconTest, TypesThatAreNotClassesGetTheDefaultIcon) {
    ChosenIcons icons(true);
    const ImmutableType string = PresentationModel::get().blockName.getType();
    ASSERT_TRUE(string.isValid());
    EXPECT_EQ(icons.getTagGivenType(string), "Unknown");
    EXPECT_EQ(icons.getTagGivenType(ImmutableType()), "Unknown");
}

TEST(GetIconTest, DiagramsShowTheModelIconAndOtherObjectsTheBlockIcon) {
    const PresentationModel& p = PresentationModel::get();
    Model model = p.newModel();
    Transaction t(model);
    ClassObject block = p.make(model, "Block");
    KITE::Diagram diagram = KITE::Factory::createNewFactory(model).createDiagram("main");
    model.getRootObject().add(p.system.getProperty("diagrams"), diagram);
    t.commit();

    KITE::DefaultGetIcon icons;
    const std::string resources = TAVI::ApplicationContext::instance().getRootDirectory() +
                                  "/toolbox/shared/orbis/resources/";
    const std::string diagramIcon = icons.execute(diagram);
    const std::string blockIcon = icons.execute(block);
    EXPECT_EQ(diagramIcon, resources + "CorvidModelIcon.png");
    EXPECT_EQ(blockIcon, resources + "BlockIcon.png");
    EXPECT_EQ(icons.execute(model.getRootObject()), blockIcon);
    EXPECT_EQ(icons.getTagGivenType(ImmutableType(diagram.getMetaClass())), "KITE:Diagram");
    EXPECT_EQ(icons.getTagGivenType(ImmutableType(p.block)), "VELD:ClassObject");
    EXPECT_EQ(icons.getTagGivenType(p.blockName.getType()), "KITE:Unknown");
    EXPECT_TRUE(endsWith(icons.getNameGivenType(p.blockName.getType()), "/BlockIcon.png"));
    // The icons are real images under the installation root.
    for (const std::string& file : {diagramIcon, blockIcon}) {
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(file))) << file;
        const QImage image(QString::fromStdString(file));
        EXPECT_FALSE(image.isNull()) << file;
        EXPECT_EQ(image.size(), QSize(16, 16)) << file;
    }
}

TEST(GetIconTest, AnInvalidObjectIsReported) {
    KITE::DefaultGetIcon icons;
    Asserter::clearReports();
    EXPECT_EQ(icons.execute(ImmutableClassObject()), "");
    ASSERT_EQ(Asserter::reports().size(), 2u);
    EXPECT_EQ(Asserter::reports()[0].message, "");
    EXPECT_EQ(Asserter::reports()[1].message, "Visitation on null object");
    Asserter::clearReports();
}

TEST(GetIconTest, StoredIconsAreRegisteredWithTheIconManagerUnderTheirTags) {
    PLATFORM::IconManager* manager = PLATFORM::IconManager::getInstance();
    manager->removeIcon("KITE:Diagram");
    manager->removeIcon("VELD:ClassObject");
    KITE::DefaultGetIcon icons;
    icons.populateIconManager();
    const std::string resources = TAVI::ApplicationContext::instance().getRootDirectory() +
                                  "/toolbox/shared/orbis/resources/";
    const TAVI::Icon diagram = manager->getIcon("KITE:Diagram");
    EXPECT_TRUE(diagram.isValid());
    EXPECT_EQ(diagram.getEntries(),
              (std::vector<TAVI::Icon::Entry>{{resources + "CorvidModelIcon.png", 0, 1}}));
    EXPECT_EQ(manager->getIcon("VELD:ClassObject").getEntries(),
              (std::vector<TAVI::Icon::Entry>{{resources + "BlockIcon.png", 0, 1}}));
    // The default icon is not a stored one.
    EXPECT_FALSE(manager->hasIcon("KITE:Unknown"));
    // A second registration adds nothing.
    icons.populateIconManager();
    EXPECT_EQ(manager->getIcon("KITE:Diagram").getEntries().size(), 1u);
    manager->removeIcon("KITE:Diagram");
    manager->removeIcon("VELD:ClassObject");
}
