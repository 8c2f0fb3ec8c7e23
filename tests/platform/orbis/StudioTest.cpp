#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/orbis/AbstractDomainImpl.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

using namespace PLATFORM;
using OrbisTest::PanelComponent;
using OrbisTest::RecordingApplication;
using OrbisTest::StudioFixture;

namespace {

bool isOpenStudio(const Studio* studio) {
    const auto all = Studio::allStudios();
    return std::any_of(all.begin(), all.end(),
                       [&](const auto& open) { return open.get() == studio; });
}

class CountingImpl : public AbstractDomainImpl {
public:
    explicit CountingImpl(Studio* studio) : AbstractDomainImpl(studio) { ++made; }
    static inline int made = 0;
};

struct Event {
    Event() = default;
};

} // namespace

TEST(StudioTest, SpawningInitialisesTheApplicationWithTheWindowReadyOrIsRefused) {
    StudioFixture fixture;
    ASSERT_TRUE(fixture.studio);
    EXPECT_EQ(fixture.app->calls, std::vector<std::string>{"initialize"});
    EXPECT_EQ(fixture.app->studioSeenAtInitialize, fixture.studio.get());
    EXPECT_TRUE(fixture.app->hadFrameworkAtInitialize);
    EXPECT_EQ(fixture.studio->getApp(), fixture.app.get());
    EXPECT_TRUE(fixture.studio->isOpen());
    EXPECT_TRUE(isOpenStudio(fixture.studio.get()));

    // Refused: no application, one in use, and any off the user interface thread.
    TAVI::ErrorHolder errors;
    EXPECT_FALSE(Studio::spawnStudio(TAVI::Holder<Application>(), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_NullArgument");
    errors.clear();
    EXPECT_FALSE(Studio::spawnStudio(fixture.app, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ApplicationInUse");
    EXPECT_EQ(fixture.app->calls.size(), 1u);
    TAVI::Holder<RecordingApplication> app(new RecordingApplication);
    bool made = true;
    std::thread worker([&] { made = bool(Studio::spawnStudio(app, errors)); });
    worker.join();
    EXPECT_FALSE(made);
    EXPECT_EQ(errors.id(), "PLATFORM_WrongThread");
    EXPECT_TRUE(app->calls.empty());
    EXPECT_EQ(app->getStudio(), nullptr);
}

TEST(StudioTest, ClosingTerminatesOnceAndRemovesComponents) {
    StudioFixture fixture;
    PanelComponent* panel = fixture.addPanel("panel");
    const auto life = panel->life;
    TAVI::ErrorHolder errors;
    fixture.framework->addDockWidget(panel, "", StudioFrameworkService::Left, errors);

    fixture.studio->show();
    fixture.studio->getWindow()->close(); // as the user's close button does
    EXPECT_EQ(fixture.app->calls, (std::vector<std::string>{"initialize", "terminate"}));
    EXPECT_EQ(life->terminated, 1);
    EXPECT_EQ(life->destroyed, 1);
    EXPECT_FALSE(fixture.studio->isOpen());
    EXPECT_FALSE(isOpenStudio(fixture.studio.get()));
    // The services stay for whoever kept pointers to them.
    ASSERT_NE(fixture.studio->getFrameworkService(), nullptr);
    EXPECT_TRUE(fixture.studio->getFrameworkService()->getComponents().empty());
    TAVI::ErrorHolder lookup;
    EXPECT_NE(fixture.studio->getService2("TabCloseEvents", lookup), nullptr);
    EXPECT_FALSE(fixture.studio->getWindow()->isVisible());

    fixture.studio->close();
    EXPECT_EQ(fixture.app->calls.size(), 2u);
    EXPECT_FALSE(fixture.framework->addComponent(
        TAVI::Holder<StudioComponentBase>(new PanelComponent(fixture.studio.get(), "late")),
        errors));
    EXPECT_EQ(errors.id(), "PLATFORM_StudioClosed");
    EXPECT_EQ(fixture.studio->getComponent("panel", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ComponentNotFound");
}

TEST(StudioTest, TheApplicationIsLetGoWithTheStudio) {
    TAVI::Holder<RecordingApplication> app(new RecordingApplication);
    TAVI::Holder<StudioService> service(new StudioEventService<Event>("KITE:StudioClosed"));
    {
        TAVI::Holder<Studio> studio = Studio::spawnStudio(app);
        ASSERT_TRUE(studio);
        EXPECT_EQ(app->getRefCount(), 2u);
        TAVI::ErrorHolder errors;
        studio->getServiceManager().registerObject(service, errors);
        studio->close();
        EXPECT_EQ(service->getRefCount(), 2u);
    }
    EXPECT_EQ(service->getRefCount(), 1u);
    EXPECT_EQ(app->getRefCount(), 1u);
    EXPECT_EQ(app->getStudio(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(StudioTest, AllStudiosListsOpenWindowsOldestFirst) {
    const std::size_t before = Studio::allStudios().size();
    StudioFixture first;
    StudioFixture second;
    auto all = Studio::allStudios();
    ASSERT_EQ(all.size(), before + 2);
    EXPECT_EQ(all[before].get(), first.studio.get());
    EXPECT_EQ(all[before + 1].get(), second.studio.get());
    first.studio->close();
    all = Studio::allStudios();
    ASSERT_EQ(all.size(), before + 1);
    EXPECT_EQ(all[before].get(), second.studio.get());
}

TEST(StudioTest, ServiceRegisteredTwiceIsRefusedAndTheFirstKeptAndUnknownOnesNamed) {
    StudioFixture fixture;
    StudioServiceRegistry& services = fixture.studio->getServiceManager();
    TAVI::Holder<StudioService> first(new StudioEventService<Event>("KITE:ModelAdded"));
    TAVI::Holder<StudioService> second(new StudioEventService<Event>("KITE:ModelAdded"));
    TAVI::ErrorHolder errors;
    ASSERT_TRUE(services.registerObject(first, errors));
    EXPECT_FALSE(services.registerObject(second, errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    EXPECT_EQ(errors.code(), 0x870001u);
    errors.clear();
    EXPECT_EQ(fixture.studio->getService2("KITE:ModelAdded", errors), first.get());
    // The framework's own names are taken as well.
    EXPECT_FALSE(services.registerObject(
        TAVI::Holder<StudioService>(new StudioEventService<Event>("TabCloseEvents")), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    errors.clear();
    EXPECT_EQ(fixture.studio->getService2("KITE:Nothing", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_ServiceNotFound");
    EXPECT_EQ(errors.what(), "The studio has no service named 'KITE:Nothing'.");
}

TEST(StudioTest, DomainImplementationsAreMadeOncePerStudioAndKey) {
    TAVI::ErrorHolder errors;
    Studio::getDomainFactory().registerCreator(
        "Test:CountingDomain",
        TAVI::Holder<DomainImplFactory::Creator>(
            new TAVI::ClassCreator<CountingImpl, AbstractDomainImpl, Studio*>),
        errors);
    CountingImpl::made = 0;
    StudioFixture one;
    StudioFixture two;
    AbstractDomainImpl* first = one.studio->getDomainImpl("Test:CountingDomain", errors);
    ASSERT_NE(first, nullptr) << errors.what();
    EXPECT_EQ(first->getStudio(), one.studio.get());
    EXPECT_EQ(one.studio->getDomainImpl("Test:CountingDomain"), first);
    AbstractDomainImpl* second = two.studio->getDomainImpl("Test:CountingDomain", errors);
    EXPECT_NE(second, first);
    EXPECT_EQ(CountingImpl::made, 2);

    EXPECT_EQ(one.studio->getDomainImpl("Test:NoSuchDomain", errors), nullptr);
    EXPECT_EQ(errors.id(), "PLATFORM_DomainImplNotFound");
    Studio::getDomainFactory().unregisterCreator("Test:CountingDomain");
}

TEST(StudioTest, WindowIconComesFromAnImageFile) {
    StudioFixture fixture;
    QTemporaryDir dir;
    const QString file = dir.filePath("icon.png");
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(file));

    StudioWindow* window = fixture.studio->getWindow();
    EXPECT_TRUE(window->setIcon(file.toStdString()));
    EXPECT_FALSE(window->windowIcon().isNull());
    const qint64 key = window->windowIcon().cacheKey();
    EXPECT_FALSE(window->setIcon(dir.filePath("missing.png").toStdString()));
    EXPECT_EQ(window->windowIcon().cacheKey(), key);
    TAVI::ErrorHolder errors;
    EXPECT_FALSE(window->setIcon(dir.filePath("missing.png").toStdString(), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ImageNotReadable");
    EXPECT_NE(errors.what().find("missing.png"), std::string::npos);
}

TEST(StudioTest, ActivatingAComponentMakesItsTabCurrentAndShowsIt) {
    StudioFixture fixture;
    TAVI::ErrorHolder errors;
    PanelComponent* first = fixture.addPanel("first");
    PanelComponent* second = fixture.addPanel("second");
    fixture.framework->addTab(first, "", true, errors);
    fixture.framework->addTab(second, "", false, errors);
    fixture.framework->hideComponent(second, errors);

    fixture.studio->activateComponent(second, false);
    EXPECT_EQ(fixture.framework->getCurrentTabIndex(errors), 1u);
    EXPECT_TRUE(second->isVisible());
}

namespace {

// Counts the pixels of an image close to a colour.
int countPixels(const QImage& image, QColor color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - color.red()) <= 2 &&
                std::abs(pixel.green() - color.green()) <= 2 &&
                std::abs(pixel.blue() - color.blue()) <= 2)
                ++count;
        }
    }
    return count;
}

} // namespace

TEST(StudioTest, ScreenshotShowsTwoDocksAndTheCurrentTabOrFailsWithAnError) {
    StudioFixture fixture;
    TAVI::ErrorHolder errors;
    const QColor red(230, 30, 30), green(30, 200, 60), blue(40, 60, 220), yellow(240, 220, 20);
    auto toColor = [](QColor c) { return TAVI::Color(c.redF(), c.greenF(), c.blueF()); };
    PanelComponent* left = fixture.addPanel("left", toColor(red));
    PanelComponent* bottom = fixture.addPanel("bottom", toColor(green));
    PanelComponent* diagram = fixture.addPanel("diagram", toColor(blue));
    PanelComponent* hiddenTab = fixture.addPanel("other diagram", toColor(yellow));
    fixture.framework->addDockWidget(left, "Models", StudioFrameworkService::Left, errors);
    fixture.framework->addDockWidget(bottom, "Properties", StudioFrameworkService::Bottom, errors);
    fixture.framework->addTab(diagram, "Diagram", true, errors);
    fixture.framework->addTab(hiddenTab, "Other", false, errors);
    fixture.framework->setTitle("Screenshot");
    ASSERT_FALSE(errors.hasError()) << errors.what();

    QTemporaryDir dir;
    const std::string file = dir.filePath("studio.png").toStdString();
    ASSERT_TRUE(fixture.studio->saveScreenshot(file, errors)) << errors.what();

    QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), fixture.studio->getWindow()->size() *
                                fixture.studio->getWindow()->devicePixelRatio());
    std::set<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 4u);
    // Both docks and the current tab show; the other tab does not.
    const int minimum = 120 * 90 / 2;
    EXPECT_GT(countPixels(image, red), minimum);
    EXPECT_GT(countPixels(image, green), minimum);
    EXPECT_GT(countPixels(image, blue), minimum);
    EXPECT_EQ(countPixels(image, yellow), 0);

    // An unwritable place, or a closed studio, is an error.
    errors.clear();
    EXPECT_FALSE(fixture.studio->saveScreenshot("/nonexistent-folder/studio.png", errors));
    EXPECT_EQ(errors.id(), "PLATFORM_ScreenshotFailed");
    EXPECT_NE(errors.what().find("/nonexistent-folder/studio.png"), std::string::npos);
    fixture.studio->close();
    errors.clear();
    EXPECT_FALSE(fixture.studio->saveScreenshot(dir.filePath("closed.png").toStdString(), errors));
    EXPECT_EQ(errors.id(), "PLATFORM_StudioClosed");
    EXPECT_FALSE(fixture.studio->getWindow()->isVisible());
}
