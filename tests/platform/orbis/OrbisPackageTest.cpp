#include "tests/platform/orbis/TestComponents.hpp"

#include "platform/host/BindingRegistry.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/ModuleSetup.hpp"
#include "platform/orbis/OrbisPackage.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <gtest/gtest.h>

using NOX::Invoker;

namespace {

class OrbisPackageTest : public ::testing::Test {
protected:
    void SetUp() override { QSInitialize_orbis(); }

    template <class T> static vxArrayPtr hostObject(T* object) {
        const NOX::HostObjectRef host =
            NOX::BindingRegistry::announce(object, object->getFullyQualifiedNoxTypeName());
        return vxArrayPtr(vxCreateObjectArray(object->getFullyQualifiedNoxTypeName(), {host}));
    }
    static std::string text(const vxArrayPtr& array) {
        char* chars = vxArray2String(array.get());
        std::string value = chars ? chars : "<not char>";
        vxFree(chars);
        return value;
    }
    template <class Call> static std::string errorIdOf(Call call) {
        try {
            call();
        } catch (const vxHostError& error) {
            return error.id();
        }
        return {};
    }
};

} // namespace

TEST_F(OrbisPackageTest, ClassesAndTheirHierarchyAreKnownToTheHost) {
    for (const char* name :
         {"ORB.Studio", "ORB.Application", "ORB.StudioComponent", "ORB.DomainInterface",
          "ORB.StudioService", "ORB.StudioEventService", "ORB.StudioFrameworkService"})
        EXPECT_NE(NOX::COSPackage::findClass(name), nullptr) << name;
    EXPECT_TRUE(
        NOX::COSPackage::findClass("ORB.StudioEventService")->isSubclassOf("ORB.StudioService"));
    EXPECT_TRUE(NOX::COSPackage::findClass("ORB.StudioFrameworkService")
                    ->isSubclassOf("ORB.StudioService"));
    // Adding the package again gives the same one.
    EXPECT_EQ(ORB::mi::addOrbisPackage(), NOX::COSPackage::findPackage("ORB"));
}

TEST_F(OrbisPackageTest, ScriptsReachStudiosTheirApplicationsAndComponents) {
    OrbisTest::StudioFixture fixture;
    fixture.addPanel("Model tree");
    {
        const vxArrayPtr studio = hostObject(fixture.studio.get());
        const vxArrayPtr title(vxCreateString("Blocks"));
        Invoker::callMethod("setTitle", {studio.get(), title.get()});
        EXPECT_EQ(fixture.framework->getTitle(), "Blocks");
        EXPECT_EQ(text(Invoker::callMethod("getTitle", {studio.get()}, 1).at(0)), "Blocks");

        const vxArrayPtr name(vxCreateString("Model tree"));
        auto component = Invoker::callMethod("getComponent", {studio.get(), name.get()}, 1);
        EXPECT_EQ(vxGetClassName(component.at(0).get()), "ORB.StudioComponent");
        EXPECT_EQ(text(Invoker::callMethod("getName", {component.at(0).get()}, 1).at(0)),
                  "Model tree");
        EXPECT_EQ(
            vxGetScalar(Invoker::callMethod("isVisible", {component.at(0).get()}, 1).at(0).get()),
            0.0);

        auto application = Invoker::callMethod("getApplication", {studio.get()}, 1);
        EXPECT_EQ(vxGetClassName(application.at(0).get()), "ORB.Application");
        auto back = Invoker::callMethod("getStudio", {application.at(0).get()}, 1);
        // One host object per library object.
        EXPECT_EQ(vxGetObject(back.at(0).get(), 0), vxGetObject(studio.get(), 0));

        auto all = Invoker::callStaticMethod("ORB.Studio", "allStudios", {}, 1);
        EXPECT_EQ(vxGetNumberOfElements(all.at(0).get()), PLATFORM::Studio::allStudios().size());
    }
    EXPECT_EQ(fixture.studio->getRefCount(), 2u) << "host objects kept their counts";
}

TEST_F(OrbisPackageTest, ScriptsRaiseEventsThroughTheirServices) {
    struct Event {};
    struct Listener : NIMB::Listener {
        void onEvent(Event) { ++received; }
        int received = 0;
    };
    OrbisTest::StudioFixture fixture;
    TAVI::Holder<PLATFORM::StudioEventService<Event>> service(
        new PLATFORM::StudioEventService<Event>("KITE:ModelAdded"));
    TAVI::ErrorHolder errors;
    fixture.studio->getServiceManager().registerObject(service, errors);
    Listener listener;
    service->connect(&listener, &Listener::onEvent);
    {
        const vxArrayPtr studio = hostObject(fixture.studio.get());
        const vxArrayPtr name(vxCreateString("KITE:ModelAdded"));
        auto found = Invoker::callMethod("getService", {studio.get(), name.get()}, 1);
        EXPECT_EQ(vxGetClassName(found.at(0).get()), "ORB.StudioEventService");
        EXPECT_EQ(text(Invoker::callMethod("getName", {found.at(0).get()}, 1).at(0)),
                  "KITE:ModelAdded");
        Invoker::callMethod("raiseDefault", {found.at(0).get()});
        EXPECT_EQ(listener.received, 1);

        const vxArrayPtr missing(vxCreateString("KITE:Nothing"));
        EXPECT_EQ(errorIdOf([&] {
                      Invoker::callMethod("getService", {studio.get(), missing.get()}, 1);
                  }),
                  "PLATFORM_ServiceNotFound");
    }
}

TEST_F(OrbisPackageTest, FrameworkErrorsBecomeHostErrorsWithTheirIds) {
    OrbisTest::StudioFixture fixture;
    const vxArrayPtr studio = hostObject(fixture.studio.get());
    const vxArrayPtr missing(vxCreateString("missing"));
    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("getComponent", {studio.get(), missing.get()}, 1);
              }),
              "PLATFORM_ComponentNotFound");
    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("toggleComponent", {studio.get(), missing.get()}, 1);
              }),
              "PLATFORM_ComponentNotFound");
    const vxArrayPtr bad(vxCreateString("no equals sign"));
    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("addDIGSchema", {studio.get(), missing.get(), bad.get()});
              }),
              "PLATFORM_BadMenuDefinition");
    const vxArrayPtr item(vxCreateString("item"));
    EXPECT_EQ(errorIdOf([&] {
                  Invoker::callMethod("executeContextMenuSchema",
                                      {studio.get(), missing.get(), item.get()});
              }),
              "PLATFORM_ContextMenuNotFound");

    const vxArrayPtr definition(vxCreateString("Open=some_function"));
    const vxArrayPtr menu(vxCreateString("Menu"));
    Invoker::callMethod("addDIGSchema", {studio.get(), menu.get(), definition.get()});
    const vxArrayPtr all(vxCreateString(""));
    EXPECT_EQ(
        text(Invoker::callMethod("getContextMenuSchema", {studio.get(), menu.get(), all.get()}, 1)
                 .at(0)),
        "Open=some_function");
}
