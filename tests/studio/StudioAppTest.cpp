#include "studio/StudioApp.hpp"

#include "application/DomainRegistry.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "tests/application/NamedDomain.hpp"
#include "tests/studio/StudioAppFixture.hpp"
#include "tests/support/AssertionRecorder.hpp"
#include "tests/support/BlockSheets.hpp"
#include "utils/BasicCompositeFilter.hpp"
#include "utils/DiagramRendering.hpp"

#include <QGraphicsItem>
#include <QGraphicsScene>

using namespace KITE;
using namespace KITE::Test;
using Strings = std::vector<std::string>;
constexpr std::uint32_t kNoTab = PLATFORM::StudioFrameworkService::NoTab;

namespace {

// Runs the studio application's initialize after making the services itself.
class PreInitializingApp : public StudioApp {
    void initialize(TAVI::ErrorHolder& errors) override {
        preInitialize();
        StudioApp::initialize(errors);
    }
};

} // namespace

TEST_F(StudioAppTest, InitializeMakesTheTenServicesOnceAndDocksTheTree) {
    TAVI::Holder<StudioApp> pre(new PreInitializingApp);
    TAVI::ErrorHolder errors;
    TAVI::Holder<PLATFORM::Studio> other =
        PLATFORM::Studio::spawnStudio(pre.staticCast<PLATFORM::Application>(), errors);
    ASSERT_TRUE(other);
    for (auto [studioApp, window] : {std::pair{static_cast<StudioApp*>(app.get()), studio.get()},
                                     std::pair{pre.get(), other.get()}}) {
        SCOPED_TRACE(window == other.get() ? "preInitialized" : "plain");
        EXPECT_FALSE(errors.hasError()) << errors.what();
        const std::vector<PLATFORM::StudioService*> services{
            studioApp->getTransactionCompletedEventService(),
            studioApp->getTreeSelectionChangedEventService(),
            studioApp->getFilterModeChangedEventService(),
            studioApp->getActiveEditorChangedEventService(),
            studioApp->getEditorSelectionChangedEventService(),
            studioApp->getNavigateUpRequestService(),
            studioApp->getModelAddedEventService(),
            studioApp->getModelRemovedEventService(),
            studioApp->getEditorClosedEventService(),
            studioApp->getStudioClosedEventService()};
        const Strings names{
            "KITE:TransactionCompleted", "KITE:SelectionChanged",       "KITE:FilterModeChanged",
            "KITE:ActiveEditorChanged",  "KITE:EditorSelectionChanged", "KITE:NavigateUpRequest",
            "KITE:ModelAdded",           "KITE:ModelRemoved",           "KITE:EditorClosed",
            "KITE:StudioClosed"};
        for (std::size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ(window->getServiceManager().getObject(names[i]).get(), services[i])
                << names[i];
        EXPECT_EQ(studioApp->getStudioFrameworkService(), window->getFrameworkService());
        // The library's tree is docked; without a factory for the property browser, it is
        // left out without a failure.
        EXPECT_TRUE(window->getFrameworkService()->isDocked(
            studioApp->getComponent(StudioApp::treeComponentName)));
        EXPECT_NE(studioApp->getComponent(StudioApp::treeComponentName), nullptr);
    }
    other->close();
}

TEST_F(StudioAppTest, BeforeInitializeAndAfterTerminateOperationsReportOrDoNothing) {
    TAVI::Holder<StudioApp> unspawned(new StudioApp);
    studio->close();
    for (StudioApp* target : {unspawned.get(), static_cast<StudioApp*>(app.get())}) {
        SCOPED_TRACE(target == app.get() ? "terminated" : "never initialized");
        TAVI::ErrorHolder errors;
        EXPECT_EQ(target->openEditor(blocks.diagram, errors), nullptr);
        EXPECT_EQ(errors.id(), "KITE_StudioAppNotReady");
        errors.clear();
        EXPECT_EQ(target->createEditorOfType(nullptr, blocks.diagram, "KITE:Editor", "x", errors),
                  nullptr);
        EXPECT_EQ(errors.id(), "KITE_StudioAppNotReady");
        target->addModel(blocks.model);
        EXPECT_FALSE(target->hasModel(blocks.model));
        EXPECT_EQ(target->closeAllEditors(errors), 0);
        EXPECT_EQ(target->createComponent(EditorDomain::editorType, "p", "TabWidget", ""), nullptr);
        EXPECT_TRUE(target->getActiveModel().isNull());
        EXPECT_EQ(target->getIconTagForTypeName(blocks.a.getMetaClass()), "KITE:Unknown");
        target->setStudioTitle("ignored");
        target->removeAllModels();
    }
    EXPECT_EQ(unspawned->getModelAddedEventService(), nullptr);
}

TEST_F(StudioAppTest, ModelsComeOnceAndGoWithTheirEditorsTerminateRaisesOnlyStudioClosed) {
    EXPECT_TRUE(app->getActiveModel().isNull());
    BlockModel second;
    app->addModel(blocks.model);
    app->addModel(VELD::Model(blocks.diagram.getModelVELD())); // the same model again
    app->addModel(second.model);
    EXPECT_EQ(app->allModels().size(), 2u);
    EXPECT_TRUE(app->getActiveModel() == blocks.model); // the first, without an active editor
    open(second.diagram);
    EXPECT_TRUE(app->getActiveModel() == second.model);
    app->removeModel(BlockModel().model); // not in the studio: nothing
    app->removeModel(second.model);
    // The tree follows the active editor (and the editor's last deselection) with its own
    // selection events.
    EXPECT_EQ(log.entries,
              (Strings{"ModelAdded", "ModelAdded", "TreeSelectionChanged", "ActiveEditorChanged",
                       "EditorClosed 1", "TreeSelectionChanged", "ModelRemoved"}));
    EXPECT_FALSE(app->hasModel(second.model));
    open(blocks.diagram);
    log.entries.clear();
    studio->close();
    EXPECT_EQ(log.entries, (Strings{"StudioClosed"}));
    EXPECT_TRUE(app->allModels().isEmpty());
    EXPECT_TRUE(app->getAllEditors().isEmpty());
}

TEST_F(StudioAppTest, AModelNoDomainTakesIsReportedAndNotAdded) {
    KiteTest::AssertionRecorder assertions;
    const VELD::Model orphan = KiteTest::newBlockSheet(); // no domain for "blocks.Sheet"
    app->addModel(orphan);
    EXPECT_FALSE(app->hasModel(orphan));
    ASSERT_EQ(assertions.count(), 1u);
    const ZuAssertionReport report = assertions.reports().front();
    EXPECT_EQ(report.expression, ": Forced Assertion");
    EXPECT_EQ(report.source, "studio/StudioApp");
    EXPECT_EQ(report.line, 1279);
    EXPECT_EQ(report.message, "this is a bad place to be");
}

TEST_F(StudioAppTest, OpeningAddsATabPerEditorAndActivatesWithoutRedoingWhatIsDone) {
    VELD::Transaction t(blocks.model);
    const Diagram other = blocks.addDiagram("other"), twin = blocks.addDiagram("main");
    t.commit();

    Editor* main = open(blocks.diagram);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(open(blocks.diagram), main); // active already: nothing happens
    Editor* second = open(other);
    Editor* third = open(twin);
    EXPECT_EQ(open(blocks.diagram), main);
    const Strings activations{"TreeSelectionChanged", "ActiveEditorChanged"};
    Strings expected{"ModelAdded"};
    for (int i = 0; i < 4; ++i)
        expected.insert(expected.end(), activations.begin(), activations.end());
    EXPECT_EQ(log.entries, expected);
    EXPECT_EQ((std::vector<std::uint32_t>{tabOf(main), tabOf(second), tabOf(third), currentTab()}),
              (std::vector<std::uint32_t>{0, 1, 2, 0}));
    TAVI::ErrorHolder ignored;
    EXPECT_EQ(framework().getTabTitle(0, ignored), "KITE Editor");
    EXPECT_EQ((Strings{main->getName(), second->getName(), third->getName()}),
              (Strings{"sheet/main", "sheet/other", "sheet/main (2)"}));
    EXPECT_EQ(app->getActiveEditor(), main);
    EXPECT_EQ(app->getIconController(), EditorDomain::get()->getIconController());
    EXPECT_EQ(app->getElementDescriber(), EditorDomain::get()->getElementDescriber());
    EXPECT_EQ(log.presentationChanges, 2); // one each, on the first opening
    EXPECT_NE(app->getIconTagForTypeName(blocks.a.getMetaClass()), "KITE:Unknown");
}

TEST_F(StudioAppTest, ReuseTabDisplacesTheShownEditorWhichStaysOpen) {
    app->setEditorOpenType(EditorOpenType::REUSE_TAB);
    VELD::Transaction t(blocks.model);
    const Diagram b = blocks.addDiagram("b"), c = blocks.addDiagram("c");
    t.commit();
    Editor* a = open(blocks.diagram); // no tab yet: one is added
    Editor* bEditor = open(b);
    EXPECT_EQ(framework().getTabCount(), 1u);
    EXPECT_EQ((std::vector<std::uint32_t>{tabOf(a), tabOf(bEditor)}),
              (std::vector<std::uint32_t>{kNoTab, 0}));
    EXPECT_FALSE(a->isVisible());
    TAVI::ErrorHolder errors;
    EXPECT_EQ(app->getEditor(blocks.diagram, errors), a);
    EXPECT_EQ(open(blocks.diagram), a); // back into the current tab
    EXPECT_EQ((std::vector<std::uint32_t>{tabOf(a), tabOf(bEditor)}),
              (std::vector<std::uint32_t>{0, kNoTab}));
    app->setEditorOpenType(EditorOpenType::NEW_TAB);
    Editor* cEditor = open(c);
    app->setEditorOpenType(EditorOpenType::REUSE_TAB);
    open(blocks.diagram); // in a tab already: that tab comes forward, the current one is left
    EXPECT_EQ((std::vector<std::uint32_t>{currentTab(), tabOf(cEditor)}),
              (std::vector<std::uint32_t>{0, 1}));
    EXPECT_EQ(log.count("EditorClosed 1"), 0);
}

TEST_F(StudioAppTest, NewWindowOpensInASpawnedStudioThatItsOpenerKeeps) {
    app->setEditorOpenType(EditorOpenType::NEW_WINDOW);
    const std::size_t studios = PLATFORM::Studio::allStudios().size();
    Editor* editor = open(blocks.diagram);
    ASSERT_NE(editor, nullptr);
    ASSERT_NE(editor->getStudio(), studio.get());
    EXPECT_EQ(PLATFORM::Studio::allStudios().size(), studios + 1);
    StudioApp* spawned = editor->getStudioApp();
    ASSERT_NE(spawned, nullptr);
    EXPECT_NE(spawned, app.get());
    EXPECT_EQ(spawned->getActiveEditor(), editor);
    EXPECT_TRUE(app->getAllEditors().isEmpty());
    EXPECT_EQ(log.entries, (Strings{"ActiveEditorChanged"}));
    editor->getStudio()->close();
}

TEST_F(StudioAppTest, ADomainThatMakesNoEditorLeavesNothingBehind) {
    KiteTest::registerBlockSheets();
    TAVI::ErrorHolder errors;
    DomainRegistry::instance()->registerDomain(
        TAVI::Holder<AbstractKiteDomain>(new KiteTest::NamedDomain("NoEditors", "blocks.Sheet")),
        errors);
    const VELD::Model sheet = KiteTest::newBlockSheet();
    VELD::Transaction t(sheet);
    const Diagram diagram = KiteTest::addDiagram(sheet, "d");
    t.commit();
    EXPECT_EQ(app->openEditor(diagram, errors), nullptr);
    EXPECT_EQ(errors.id(), "KITE_NoEditorForDiagram");
    EXPECT_EQ(framework().getTabCount(), 0u);
    EXPECT_EQ(log.entries, (Strings{"ModelAdded"}));
    EXPECT_EQ(app->getActiveEditor(), nullptr);
}

// Each way an editor closes: one event, with the editor and its tab still there for the
// listeners; then the tab goes and, once control is back in the event loop, the editor.
TEST_F(StudioAppTest, EveryCloseRaisesOneEventWhileTheEditorIsStillThere) {
    const std::vector<std::pair<const char*, std::function<void()>>> closes{
        {"closeEditor",
         [this] {
             TAVI::ErrorHolder e;
             EXPECT_TRUE(app->closeEditor(blocks.diagram, e));
             EXPECT_FALSE(app->closeEditor(blocks.diagram, e));
         }},
        {"tab closed",
         [this] {
             TAVI::ErrorHolder e;
             framework().requestTabClose(0, e);
         }},
        {"model removed", [this] { app->removeModel(blocks.model); }},
        {"diagram deleted",
         [this] {
             VELD::Transaction t(blocks.model);
             DiagramElement(blocks.diagram).destroy();
             t.commit();
         }},
    };
    for (const auto& [name, close] : closes) {
        SCOPED_TRACE(name);
        blocks = BlockModel();
        Editor* editor = open(blocks.diagram);
        const std::string workingCopy = editor->getWorkingCopy().getName();
        log.entries.clear();
        bool checked = false;
        log.hook = [&](const std::string& entry) {
            if (entry != "EditorClosed 1")
                return;
            checked = true;
            EXPECT_EQ(log.closedEvents.back().getEditors().first(), editor);
            EXPECT_TRUE(editor->getDiagram().isValid() || std::string(name) == "diagram deleted");
            EXPECT_EQ(tabOf(editor), 0u);
        };
        close();
        log.hook = nullptr;
        EXPECT_TRUE(checked);
        EXPECT_EQ(log.count("EditorClosed 1"), 1);
        EXPECT_EQ(log.entries.front(), "EditorClosed 1"); // before any TransactionCompleted
        EXPECT_EQ(framework().getTabCount(), 0u);
        EXPECT_EQ(app->getActiveEditor(), nullptr);
        EXPECT_TRUE(destroyed(blocks.model, workingCopy));
        app->removeAllModels();
    }
}

TEST_F(StudioAppTest, CloseAllEditorsClosesEachOnItsOwn) {
    VELD::Transaction t(blocks.model);
    const Diagram b = blocks.addDiagram("b"), c = blocks.addDiagram("c");
    t.commit();
    for (const Diagram& d : {blocks.diagram, b, c})
        open(d);
    log.entries.clear();
    TAVI::ErrorHolder errors;
    EXPECT_EQ(app->closeAllEditors(errors), 3);
    // Each closed editor drops its selection, and the tree follows with an empty one.
    EXPECT_EQ(log.entries,
              (Strings{"EditorClosed 1", "TreeSelectionChanged", "EditorClosed 1",
                       "TreeSelectionChanged", "EditorClosed 1", "TreeSelectionChanged"}));
    EXPECT_EQ(framework().getTabCount(), 0u);
}

// Listeners that close editors or remove models while the studio or an editor is busy with
// them: nothing uses freed memory (checked under the address sanitizer too), and the editors
// go once control is back in the event loop.
TEST_F(StudioAppTest, ListenersThatCloseEditorsOrRemoveModelsAreSafe) {
    enum Heard { Report, Closed, Activation, Selection, GlyphRemoval };
    for (Heard heard : {Report, Closed, Activation, Selection, GlyphRemoval}) {
        SCOPED_TRACE(heard);
        blocks = BlockModel();
        VELD::Transaction t(blocks.model);
        const Diagram b = blocks.addDiagram("b");
        t.commit();
        Editor* second = open(b);
        Editor* editor = open(blocks.diagram);
        const Strings copies{editor->getWorkingCopy().getName(),
                             second->getWorkingCopy().getName()};
        editor->select(blocks.a);
        struct Hook : NIMB::Listener {
            std::function<void()> act;
            void selected(EditorSelectionChangedEvent) { act(); }
            void removed(Glyph*) { act(); }
        } hook;
        TAVI::ErrorHolder errors;
        hook.act = [&] {
            if (heard == Report)
                app->removeModel(blocks.model);
            else
                app->closeAllEditors(errors);
        };
        const char* entries[] = {"TransactionCompleted", "EditorClosed 1", "ActiveEditorChanged"};
        if (heard <= Activation)
            log.hook = [&](const std::string& entry) {
                if (entry == entries[heard])
                    hook.act();
            };
        else if (heard == Selection)
            app->getEditorSelectionChangedEventService()->connect(&hook, &Hook::selected);
        else {
            NIMB::ConnectionWriteLocker lock;
            new NIMB::ConnectionImpl1<Hook, Glyph*>(
                &hook, editor->getGraphics()->getGlyphRemovedSignal(), nullptr, &Hook::removed);
        }
        if (heard == Activation) {
            EXPECT_EQ(open(b), nullptr); // closed by its listener before it is handed out
        } else if (heard == Closed) {
            EXPECT_TRUE(app->closeEditor(blocks.diagram, errors));
        } else {
            VELD::Transaction deletion(blocks.model);
            DiagramElement(blocks.a).destroy();
            deletion.commit();
        }
        log.hook = nullptr;
        hook.disconnect();
        EXPECT_TRUE(app->getAllEditors().isEmpty());
        EXPECT_EQ(log.count("EditorClosed 1"), 2);
        for (const std::string& copy : copies)
            EXPECT_TRUE(destroyed(blocks.model, copy)) << copy;
        app->removeAllModels();
        log.entries.clear();
    }
}

TEST_F(StudioAppTest, FiltersAndModesAnswerWhetherTheyChanged) {
    const boost::shared_ptr<Util::FilterBase> tree(
        new Util::BasicCompositeFilter("Tree", true, false));
    const boost::shared_ptr<Util::FilterBase> other(
        new Util::BasicCompositeFilter("Tree", true, false));
    const std::vector<std::pair<bool, bool>> steps{
        {app->setFilter("f", tree), true},         {app->setFilter("f", tree), false},
        {app->setFilter("f", other), true},        {app->setFilter("", tree), false},
        {app->setFilterMode("f", "m"), true},      {app->setFilterMode("f", "m"), false},
        {app->setFilterModeQUASAR("", "s"), true}, {app->setFilterMode("studio", "s"), false}};
    for (std::size_t i = 0; i < steps.size(); ++i)
        EXPECT_EQ(steps[i].first, steps[i].second) << "step " << i;
    EXPECT_EQ(app->getFilter("f"), other);
    EXPECT_EQ(app->getFilterMode("f"), "m");
    EXPECT_EQ(app->getFilterMode(""), "");
    EXPECT_EQ(app->getFilterModeQUASAR(""), "s");
    EXPECT_EQ(app->getFilter(""), nullptr);
    EXPECT_EQ(log.entries, Strings{}); // no FilterModeChangedEvent
}

TEST_F(StudioAppTest, ChildTypesAndNewObjectsFollowTheContainments) {
    const VELD::ImmutableClass sheet = blocks.model.getRootObject().getMetaClass();
    Strings offered;
    for (const VELD::ImmutableClass& cls : app->getFilteredChildrenTypes(sheet))
        offered.push_back(cls.getQualifiedName());
    EXPECT_EQ(offered, (Strings{"KITE.Diagram"}));

    const VELD::Object made =
        app->createObjectOfType(blocks.model.getRootObject(), Diagram::MetaClass().asClass());
    ASSERT_TRUE(made.asClassObject().isValid());
    EXPECT_EQ(Diagram(made.asClassObject()).getName(), "Diagram2");
    EXPECT_EQ(log.entries, (Strings{"TreeSelectionChanged"}));
    EXPECT_EQ(log.treeEvents.at(0).lastSelection(), made.asClassObject());
    EXPECT_EQ(log.treeEvents.at(0).getSource(), "KITE tree component");
    EXPECT_TRUE(app->createObjectOfType(VELD::ClassObject(), sheet).isNull());
}

TEST_F(StudioAppTest, ObjectsAreDescribedByTheElementDescriberOrTheKernel) {
    const VELD::ClassObject sheet = blocks.model.getRootObject();
    EXPECT_EQ(app->describeObject(sheet), sheet.toString());
    app->setElementDescriber(boost::shared_ptr<ElementDescriberBase>(new DefaultElementDescriber));
    EXPECT_EQ(app->describeObject(sheet), "sheet (editorblocks.Sheet)");
    EXPECT_EQ(app->describeEditableObject(sheet), "sheet");
    EXPECT_EQ(app->describeObject(VELD::ImmutableObject::fromInteger(7)), "7");
}

TEST_F(StudioAppTest, PlacementStringsMatchWithoutRegardToCase) {
    const std::vector<std::tuple<const char*, const char*, int, bool, bool>> cases{
        // area, position, dock position, in a tab, in the status area
        {"DockWidget", "Right", 1, false, false}, {"dockWIDGET", "bottom", 3, false, false},
        {"tabwidget", "", -1, true, false},       {"STATUSwidget", "", -1, false, true},
        {"Invisible", "Left", -1, false, false},  {"anything", "Left", -1, false, false}};
    int n = 0;
    for (const auto& [area, position, dock, tab, status] : cases) {
        SCOPED_TRACE(area);
        const std::string name = "panel " + std::to_string(n++);
        PLATFORM::StudioComponentBase* panel =
            app->createComponent(EditorDomain::editorType, name, area, position);
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(app->getOrCreateComponent(EditorDomain::editorType, name, "TabWidget", ""),
                  panel);
        EXPECT_EQ(framework().getDockPosition(panel), dock);
        TAVI::ErrorHolder ignored;
        EXPECT_EQ(framework().getTabIndex(panel, ignored) != kNoTab, tab);
        EXPECT_EQ(framework().getStatusComponent() == panel, status);
    }
    // A tab whose editor the studio application did not open is not its to close.
    TAVI::ErrorHolder errors;
    framework().requestTabClose(0, errors);
    EXPECT_NE(app->getComponent("panel 2"), nullptr);
}

TEST_F(StudioAppTest, ARenderedDiagramShowsEveryElementAndTakesNoClickOrDrag) {
    app->addModel(blocks.model); // the domain and its glyph factory
    const TAVI::Holder<ZEPH::Scene> scene = Util::diagram2Scene(blocks.diagram);
    ASSERT_TRUE(scene);
    int nodes = 0;
    for (QGraphicsItem* item : scene->qtScene()->items()) {
        ++nodes;
        EXPECT_FALSE(item->flags() & QGraphicsItem::ItemIsSelectable);
        EXPECT_FALSE(item->flags() & QGraphicsItem::ItemIsMovable);
    }
    EXPECT_EQ(nodes, 5); // the root, a, inner, b and the connection ab
}
