#include "application/Application.hpp"

#include "application/KiteDomain.hpp"
#include "application/KiteDomainImpl.hpp"
#include "application/KiteDomainInterface.hpp"
#include "application/StudioAppLink.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Veld.hpp"
#include "tests/application/CounterModel.hpp"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <vector>

using namespace KITE;

namespace {

using Counter = KiteTest::CounterModel;

// A studio application as far as models' applications and domains see one: records what
// reaches it, and has an active editor on request.
class LinkedStudioApp : public PLATFORM::Application, public StudioAppLink {
public:
    StudioApp* getStudioApp() override { return nullptr; }
    void handleModelChanges(const ModelChangeReport& report) override {
        modifiedCounts.push_back(report.getModified().size());
    }
    bool setActiveEditorContextMenuTarget(const ImmutableDiagramElement& element) override {
        if (!hasActiveEditor)
            return false;
        targets.push_back(element);
        return true;
    }

    bool hasActiveEditor = false;
    std::vector<std::size_t> modifiedCounts;
    std::vector<ImmutableDiagramElement> targets;
};

struct StudioOf {
    explicit StudioOf(PLATFORM::Application* app)
        : studio(PLATFORM::Studio::spawnStudio(TAVI::Holder<PLATFORM::Application>(app))) {}
    ~StudioOf() {
        studio->close();
        studio.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TAVI::Holder<PLATFORM::Studio> studio;
};

struct ApplicationTest : ::testing::Test {
    VELD::Model model = Counter::create();
    LinkedStudioApp* linked = new LinkedStudioApp;
    StudioOf studio{linked};

    void increment() const {
        VELD::Transaction t(model);
        const VELD::ClassObject root = model.getRootObject();
        root.setInteger(Counter::get().value, root.getInteger(Counter::get().value) + 1);
        t.commit();
    }
};

} // namespace

TEST_F(ApplicationTest, EachCommittedTransactionReachesTheStudioApplication) {
    TAVI::Holder<Application> app(new Application(model, studio.studio.get()));
    EXPECT_TRUE(app->isObserving());
    EXPECT_EQ(app->getModel(), model);
    EXPECT_EQ(app->getStudio(), studio.studio.get());

    increment();
    increment();
    {
        VELD::Transaction abandoned(model);
        model.getRootObject().setInteger(Counter::get().value, 99);
    }
    EXPECT_EQ(linked->modifiedCounts, (std::vector<std::size_t>{1, 1}));
    // Released, it hears nothing more.
    app.reset();
    increment();
    EXPECT_EQ(linked->modifiedCounts.size(), 2u);
}

TEST_F(ApplicationTest, WithoutALiveModelOrAStudioNothingIsObserved) {
    VELD::Model dead = Counter::create();
    dead.destroy();
    TAVI::Holder<Application> none(new Application());
    TAVI::Holder<Application> nullModel(new Application(VELD::Model(), studio.studio.get()));
    TAVI::Holder<Application> deadModel(new Application(dead, studio.studio.get()));
    TAVI::Holder<Application> noStudio(new Application(model, nullptr));
    for (const auto* app : {none.get(), nullModel.get(), deadModel.get(), noStudio.get()})
        EXPECT_FALSE(app->isObserving());
    EXPECT_TRUE(none->getModel().isNull());

    increment();
    EXPECT_TRUE(linked->modifiedCounts.empty());
    // Releasing them unregisters nothing and must not touch the dead model.
    none.reset();
    deadModel.reset();
    noStudio.reset();
}

TEST_F(ApplicationTest, AModelDestroyedUnderItsApplicationEndsItQuietly) {
    TAVI::Holder<Application> app(new Application(model, studio.studio.get()));
    increment();
    model.destroy();
    EXPECT_FALSE(app->getModel().isValid());
    app.reset(); // unregisters from a dead model
    EXPECT_EQ(linked->modifiedCounts.size(), 1u);
}

TEST_F(ApplicationTest, AFrameworkApplicationThatIsNoStudioApplicationGetsNothing) {
    StudioOf plain(new PLATFORM::Application);
    TAVI::Holder<Application> app(new Application(model, plain.studio.get()));
    EXPECT_TRUE(app->isObserving());
    EXPECT_EQ(app->getStudioApp(), nullptr);
    increment(); // goes nowhere, and must not fail
    EXPECT_TRUE(linked->modifiedCounts.empty());
}

TEST_F(ApplicationTest, DefaultDomainMakesObservingApplicationsAndNoEditors) {
    TAVI::Holder<AbstractKiteDomainInterface> front(
        KiteDomain::get()->createKiteInterface(studio.studio.get()));
    TAVI::ErrorHolder errors;
    TAVI::Holder<Application> app(front->createApplication(model, errors));
    ASSERT_TRUE(app);
    EXPECT_FALSE(errors.hasError());
    EXPECT_EQ(app->getStudio(), studio.studio.get());
    increment();
    EXPECT_EQ(linked->modifiedCounts.size(), 1u);

    EXPECT_EQ(front->createEditor(Diagram(), "main", errors), nullptr);
    EXPECT_FALSE(errors.hasError());
}

TEST_F(ApplicationTest, EditorContextMenuItemsRunOnlyForAnActiveEditor) {
    PLATFORM::ContextMenuSchema menu("EditorContextMenu");
    int runs = 0;
    menu.addItem("Open", [&runs] { ++runs; });
    studio.studio->getFrameworkService()->addContextMenu(menu);
    TAVI::Holder<KiteDomainInterface> front(static_cast<KiteDomainInterface*>(
        KiteDomain::get()->createKiteInterface(studio.studio.get())));

    front->executeEditorContextMenuSchema(ImmutableDiagramElement(), "Open");
    EXPECT_EQ(front->getEditorContextMenuSchema(ImmutableDiagramElement(), "Open"), nullptr);
    EXPECT_EQ(runs, 0);
    EXPECT_TRUE(linked->targets.empty());

    linked->hasActiveEditor = true;
    front->executeEditorContextMenuSchema(ImmutableDiagramElement(), "Open");
    EXPECT_EQ(runs, 1);
    const NOX::COSInterfacePtr schema(
        front->getEditorContextMenuSchema(ImmutableDiagramElement(), "Open"));
    EXPECT_TRUE(schema);
    EXPECT_EQ(linked->targets.size(), 2u);
    EXPECT_EQ(runs, 1); // describing an item does not run it
}
