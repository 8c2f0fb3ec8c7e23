#include "studio/components/GenericVELDStudioApp.hpp"

#include "application/Application.hpp"
#include "application/DomainRegistry.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "studio/components/GenericVELDDomain.hpp"
#include "studio/components/GenericVELDDomainImpl.hpp"
#include "studio/components/GenericVELDDomainInterface.hpp"
#include "studio/components/GenericVELDPropBrowserDelegate.hpp"
#include "studio/components/GenericVELDTreeComponentDelegate.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/PropBrowserProperty.hpp"
#include "studio/components/TreeComponent.hpp"
#include "tests/studio/StudioAppFixture.hpp"

namespace KITE::Test {
namespace {

// A meta-model no domain is written for.
const char* orphanUri() {
    static const bool built = [] {
        diagramMetaModel();
        VELD::MetaModelBuilder builder("orphans", "test:orphans");
        builder.addClass("Shelf")
            .attribute("label", "String")
            .containment("books", "Book")
            .containment("diagrams", "KITE.Diagram");
        builder.addClass("Named", {}, true).attribute("name", "String");
        VELD::ClassSpec& book = builder.addClass("Book", {"Named"});
        book.attribute("title", "String").reference("sequel", "Book");
        VELD::PropertySpec code("code", "String");
        code.readOnly = true;
        book.property(code);
        VELD::PropertySpec length("length", "Integer");
        length.derived = true;
        length.deriver = [](const VELD::ImmutableClassObject&) {
            return std::vector<VELD::ImmutableObject>{VELD::ImmutableObject::fromInteger(1)};
        };
        book.property(length);
        book.containment("notes", "Book");
        builder.setModelClass("Shelf");
        builder.build();
        return true;
    }();
    (void)built;
    return "test:orphans";
}

class GenericStudioTest : public StudioAppTest {
protected:
    void SetUp() override {
        StudioAppTest::SetUp();
        TAVI::ErrorHolder ignored; // registered once for the process
        DomainRegistry::instance()->registerDomain(
            TAVI::Holder<AbstractKiteDomain>(GenericVELDDomain::get()), ignored);
        PropBrowserComponent::registerFactory(ignored);
        TAVI::ErrorHolder errors;
        genericStudio = PLATFORM::Studio::spawnStudio(
            TAVI::Holder<PLATFORM::Application>(generic.get()), errors);
        ASSERT_TRUE(genericStudio) << errors.what();
    }
    void TearDown() override {
        if (genericStudio->isOpen())
            genericStudio->close();
        genericStudio.reset();
        StudioAppTest::TearDown();
    }

    TAVI::Holder<GenericVELDStudioApp> generic{new GenericVELDStudioApp};
    TAVI::Holder<PLATFORM::Studio> genericStudio;
};

TEST_F(GenericStudioTest, TheDomainAnswersForEveryModel) {
    GenericVELDDomain* domain = GenericVELDDomain::get();
    EXPECT_EQ(domain, GenericVELDDomain::get());
    EXPECT_EQ(domain->getName().getString(), "GenericVELDDomain");
    EXPECT_EQ(domain->getAppName().getString(), "GenericVELD");
    EXPECT_EQ(domain->getModelClassFullName().getString(), "VELD.Model");
    EXPECT_EQ(domain->getMenuInterface().getFunctionName(), "getGenericVELDMenu");
    EXPECT_EQ(domain->getMenuInterface().getQualifier(), "GenericStudioPrivate");
    EXPECT_EQ(domain->getGlyphFactory(), nullptr);
    EXPECT_EQ(domain->getElementDescriber().get(), domain->getElementDescriber().get());
    EXPECT_NE(domain->getTreePopulator().get(), domain->getTreePopulator().get());

    TAVI::Holder<PLATFORM::AbstractDomainInterface> front(
        domain->createInterface(genericStudio.get()));
    auto* genericFront = dynamic_cast<GenericVELDDomainInterface*>(front.get());
    ASSERT_NE(genericFront, nullptr);
    EXPECT_STREQ(genericFront->getFullyQualifiedNoxTypeName(), "KITE.GenericVELDDomain");
    EXPECT_EQ(genericFront->getDomain(), domain);
    auto* impl = dynamic_cast<GenericVELDDomainImpl*>(
        genericStudio->getDomainImpl(TAVI::StringID(GenericVELDDomainImpl::key)));
    ASSERT_NE(impl, nullptr);
    EXPECT_TRUE(impl->isSubDomain(genericFront));
    TAVI::Holder<PLATFORM::AbstractDomainInterface> plain(
        KiteDomain::get()->createInterface(genericStudio.get()));
    EXPECT_FALSE(impl->isSubDomain(plain.get()));

    // No diagrams: no editor, and no error either.
    TAVI::ErrorHolder errors;
    EXPECT_EQ(genericFront->createEditor(blocks.diagram, "main", errors), nullptr);
    EXPECT_FALSE(errors.hasError());
    const TAVI::Holder<Application> application(
        genericFront->createApplication(blocks.model, errors));
    EXPECT_TRUE(application);
}

TEST_F(GenericStudioTest, InitializeMakesTheWindowsServicesWhoeverMadeTheWindow) {
    // spawnStudio called initialize alone: the services exist all the same.
    EXPECT_NE(generic->getStudioFrameworkService(), nullptr);
    EXPECT_NE(generic->getTransactionCompletedEventService(), nullptr);
    EXPECT_NE(generic->getModelAddedEventService(), nullptr);
    EXPECT_EQ(generic->getFilter(StudioApp::contextPropertyFilterName) != nullptr, true);
    EXPECT_NE(generic->getIconController().get(), nullptr);

    // A second initialize changes nothing, and terminate leaves the models in place.
    VELD::Model model = VELD::DomainRegistry::instance().createModel(orphanUri());
    generic->addModel(model);
    TAVI::ErrorHolder errors;
    generic->initialize(errors);
    generic->terminate(errors);
    EXPECT_FALSE(errors.hasError());
    EXPECT_TRUE(generic->hasModel(model));
    EXPECT_EQ(generic->getActiveModel(), model);
}

TEST_F(GenericStudioTest, TheMetaModelUriNamesTheWindowAndItsNewModels) {
    EXPECT_EQ(generic->getMetaUri(), "");
    generic->setMetaUri(orphanUri());
    EXPECT_EQ(generic->getMetaUri(), "test:orphans");
    EXPECT_EQ(generic->getStudioFrameworkService()->getTitle(),
              "Generic VELD Studio for test:orphans");
    const VELD::Model model = generic->createNewModel();
    EXPECT_EQ(model.getUri(), "test:orphans");
    EXPECT_FALSE(generic->hasModel(model)); // the caller adds it

    const TAVI::Holder<StudioApp> spawned(generic->spawnApplication());
    auto* again = dynamic_cast<GenericVELDStudioApp*>(spawned.get());
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->getMetaUri(), "");

    generic->setMetaUri("test:nowhere");
    EXPECT_THROW(generic->createNewModel(), VELD::Exception);
}

TEST_F(GenericStudioTest, ModelsWithoutADomainOfTheirOwnOpenInAGenericStudioWithoutEditors) {
    VELD::Model orphan = VELD::DomainRegistry::instance().createModel(orphanUri());
    EXPECT_TRUE(GenericVELDStudioApp::opensInGenericStudio(orphan));
    EXPECT_FALSE(GenericVELDStudioApp::opensInGenericStudio(blocks.model)); // EditorDomain's
    EXPECT_FALSE(GenericVELDStudioApp::opensInGenericStudio(VELD::Model()));

    TAVI::ErrorHolder errors;
    const TAVI::Holder<GenericVELDStudioApp> opened =
        GenericVELDStudioApp::openModel(orphan, errors);
    ASSERT_TRUE(opened) << errors.what();
    EXPECT_TRUE(opened->hasModel(orphan));
    EXPECT_EQ(opened->getMetaUri(), "test:orphans");
    EXPECT_EQ(opened->getStudioFrameworkService()->getTitle(),
              "Generic VELD Studio for test:orphans");
    opened->getStudio()->close();
    EXPECT_THROW(GenericVELDStudioApp::openModel(VELD::Model(), errors), TAVI::TypedException);

    // Opening one of its diagrams shows no editor.
    Diagram diagram;
    {
        VELD::Transaction t(orphan);
        diagram = Factory::createNewFactory(orphan).createDiagram("plan");
        orphan.getRootObject().add(orphan.getMetaModel().getProperty("diagrams"), diagram);
        t.commit();
    }
    generic->addModel(orphan);
    EXPECT_EQ(generic->openEditor(diagram, errors), nullptr);
    EXPECT_EQ(generic->getAllEditors().size(), 0u);
    EXPECT_EQ(generic->getActiveEditor(), nullptr);
}

TEST_F(GenericStudioTest, TheBrowserListsPlainPropertiesWithTheGenericColours) {
    auto* browser = dynamic_cast<PropBrowserComponent*>(
        generic->getComponent(StudioApp::propBrowserComponentName));
    ASSERT_NE(browser, nullptr);
    auto* delegate = dynamic_cast<GenericVELDPropBrowserDelegate*>(browser->getDelegate());
    ASSERT_NE(delegate, nullptr);

    VELD::Model model = VELD::DomainRegistry::instance().createModel(orphanUri());
    VELD::ClassObject book;
    {
        VELD::Transaction t(model);
        book = model.getFactory().createFromString("Book");
        model.getRootObject().add(model.getMetaModel().getProperty("books"), book);
        t.commit();
    }
    // Inherited "name" first; no derived "length", no containment "notes"; references and
    // read-only values stay.
    std::vector<std::string> names;
    for (const VELD::ImmutableProperty& property : delegate->getProperties(book))
        names.push_back(property.getName());
    EXPECT_EQ(names, (std::vector<std::string>{"name", "title", "sequel", "code"}));
    EXPECT_TRUE(delegate->getProperties(VELD::ImmutableClassObject()).empty());

    const VELD::ImmutableClass bookClass = book.getMetaClass();
    const PropBrowserProperty title(book, bookClass.getProperty("title"));
    const PropBrowserProperty code(book, bookClass.getProperty("code"));
    struct Case {
        const char* row;
        TAVI::Color name, value;
    } cases[] = {{"writable", TAVI::Color(0, 0, 0, 1.0), TAVI::Color(0, 0, 1.0, 1.0)},
                 {"read-only", TAVI::Color(0.5, 0.5, 0.5, 1.0), TAVI::Color(0, 0, 0.5, 1.0)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        const PropBrowserProperty& record = std::string(c.row) == "writable" ? title : code;
        EXPECT_EQ(delegate->getNameColor(record), c.name);
        EXPECT_EQ(delegate->getValueColor(record), c.value);
    }
    EXPECT_EQ(delegate->getItemToSelect(book), book);
    EXPECT_EQ(delegate->getBrowserTitle(VELD::ImmutableClassObject()), "Properties");
    EXPECT_EQ(delegate->getBrowserTitle(book), "Properties - orphans.Book");
}

TEST_F(GenericStudioTest, TheTreeShowsTheActiveModelItselfAndEveryTransactionRebuildsIt) {
    auto* tree = dynamic_cast<TreeComponent*>(generic->getComponent(StudioApp::treeComponentName));
    ASSERT_NE(tree, nullptr);
    auto* delegate = dynamic_cast<GenericVELDTreeComponentDelegate*>(tree->getDelegate());
    ASSERT_NE(delegate, nullptr);
    // No model: no root row.
    EXPECT_EQ(tree->testAPI_GetVisibleObjects().size(), 0);
    EXPECT_TRUE(delegate->getTopElement().isNull());
    EXPECT_TRUE(delegate->fetchTopLevelItems(VELD::ImmutableClassObject()).empty());

    VELD::Model model = VELD::DomainRegistry::instance().createModel(orphanUri());
    generic->addModel(model);
    const VELD::ImmutableClassObject root = model.getRootObject();
    EXPECT_EQ(delegate->getTopElement(), root);
    EXPECT_EQ(delegate->fetchTopLevelItems(root), std::vector<VELD::ImmutableClassObject>{root});
    const VELD::Sequence<VELD::ImmutableClassObject> rows = tree->testAPI_GetVisibleObjects();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0], root);
    tree->testAPI_SetTreeSelection(model.getRootObject());
    EXPECT_EQ(generic->getCurrentSelectedElement(), model.getRootObject());

    // Every report rebuilds the tree, even one that only moves diagram elements.
    EXPECT_TRUE(delegate->shouldRefreshFromReportOfChanges(nullptr));
    EXPECT_EQ(delegate->getContextMenuTag(), "ContextMenu");
    EXPECT_EQ(delegate->getItemToSelect(model.getRootObject()), model.getRootObject());
}

} // namespace
} // namespace KITE::Test
