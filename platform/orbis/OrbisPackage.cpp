#include "platform/orbis/OrbisPackage.hpp"

#include "platform/host/COSMsgException.hpp"
#include "platform/host/COSPackage.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/AbstractDomainInterface.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/orbis/StudioEventServiceBase.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"

namespace ORB::mi {

namespace {

using NOX::CallContext;
using NOX::Invoker;
using NOX::NoxMethod;
using NOX::NoxPublic;
using NOX::NoxStatic;
using NOX::raiseIfError;

PLATFORM::StudioFrameworkService& frameworkOf(PLATFORM::Studio& studio) {
    PLATFORM::StudioFrameworkService* framework = studio.getFrameworkService();
    if (!framework)
        throw NOX::COSMsgException("PLATFORM_ServiceNotFound",
                                   "The studio has no framework service.");
    return *framework;
}

class CosStudio : public CosCommonReferencedClassInfo<PLATFORM::Studio> {
public:
    CosStudio() : CosCommonReferencedClassInfo("Studio", "A studio window") {}

protected:
    void populate() override {
        using PLATFORM::Studio;
        CosCommonClassInfo::addMethod(
            NoxMethod("allStudios", NoxStatic, "The open studio windows, oldest first"),
            Invoker::createSignature("ORB.Studio vector"), [](CallContext& call) {
                std::vector<Studio*> studios;
                for (const TAVI::Holder<Studio>& studio : Studio::allStudios())
                    studios.push_back(studio.get());
                call.setObjectVector(studios);
            });
        addMethod(
            NoxMethod("getTitle", NoxPublic, "The window title"), Invoker::createSignature("char"),
            [](Studio& self, CallContext& call) { call.setString(frameworkOf(self).getTitle()); });
        addMethod(NoxMethod("setTitle", NoxPublic, "Sets the window title"),
                  Invoker::createSignature("void", {"char"}), [](Studio& self, CallContext& call) {
                      frameworkOf(self).setTitle(call.stringArgument(0));
                  });
        addMethod(NoxMethod("isOpen", NoxPublic, "Whether the window is still open"),
                  Invoker::createSignature("logical scalar"),
                  [](Studio& self, CallContext& call) { call.setLogical(self.isOpen()); });
        addMethod(NoxMethod("show", NoxPublic, "Shows the window"),
                  Invoker::createSignature("void"),
                  [](Studio& self, CallContext&) { self.show(); });
        addMethod(NoxMethod("close", NoxPublic, "Closes the window"),
                  Invoker::createSignature("void"),
                  [](Studio& self, CallContext&) { self.close(); });
        addMethod(NoxMethod("getApplication", NoxPublic, "The application of the window"),
                  Invoker::createSignature("ORB.Application"),
                  [](Studio& self, CallContext& call) { call.setObject(self.getApp()); });
        addMethod(NoxMethod("getComponent", NoxPublic, "The component of that name"),
                  Invoker::createSignature("ORB.StudioComponent", {"char"}),
                  [](Studio& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      PLATFORM::StudioComponentBase* component =
                          self.getComponent(call.stringArgument(0), errors);
                      raiseIfError(errors);
                      call.setObject(component);
                  });
        addMethod(NoxMethod("getService", NoxPublic, "The service of that name"),
                  Invoker::createSignature("ORB.StudioService", {"char"}),
                  [](Studio& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      PLATFORM::StudioService* service =
                          self.getService2(call.stringArgument(0), errors);
                      raiseIfError(errors);
                      call.setObject(service);
                  });
        addMethod(NoxMethod("toggleComponent", NoxPublic,
                            "Shows or hides a component; true when it is shown"),
                  Invoker::createSignature("logical scalar", {"char"}),
                  [](Studio& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      const bool shown = self.toggleComponent(call.stringArgument(0), errors);
                      raiseIfError(errors);
                      call.setLogical(shown);
                  });
        addMethod(NoxMethod("saveScreenshot", NoxPublic, "Writes a PNG image of the window"),
                  Invoker::createSignature("void", {"char"}), [](Studio& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      self.saveScreenshot(call.stringArgument(0), errors);
                      raiseIfError(errors);
                  });
        addMethod(
            NoxMethod("addDIGSchema", NoxPublic, "Adds label=function items to a context menu"),
            Invoker::createSignature("void", {"char", "char"}),
            [](Studio& self, CallContext& call) {
                TAVI::ErrorHolder errors;
                frameworkOf(self).addDIGSchema(call.stringArgument(0), call.stringArgument(1),
                                               errors);
                raiseIfError(errors);
            });
        addMethod(
            NoxMethod("showContextMenu", NoxPublic, "Pops up a context menu at a screen point"),
            Invoker::createSignature("void", {"char", "double scalar", "double scalar"}),
            [](Studio& self, CallContext& call) {
                using PLATFORM::StudioFrameworkService;
                const int x = StudioFrameworkService::toScreenCoordinate(call.doubleArgument(1));
                const int y = StudioFrameworkService::toScreenCoordinate(call.doubleArgument(2));
                TAVI::ErrorHolder errors;
                frameworkOf(self).showContextMenu(call.stringArgument(0), x, y, errors);
                raiseIfError(errors);
            });
        addMethod(
            NoxMethod("executeContextMenuSchema", NoxPublic, "Runs one item of a context menu"),
            Invoker::createSignature("void", {"char", "char"}),
            [](Studio& self, CallContext& call) {
                TAVI::ErrorHolder errors;
                frameworkOf(self).executeContextMenuItem(call.stringArgument(0),
                                                         call.stringArgument(1), errors);
                raiseIfError(errors);
            });
        addMethod(NoxMethod("getContextMenuSchema", NoxPublic,
                            "The items of a context menu, one per line"),
                  Invoker::createSignature("any", {"char", "char"}),
                  [](Studio& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      const NOX::COSInterfacePtr schema(frameworkOf(self).getContextMenuSchema(
                          call.stringArgument(0), call.stringArgument(1), errors));
                      raiseIfError(errors);
                      call.setResult(vxArrayPtr(ConvertPdxIToArray(schema)));
                  });
    }
};

class CosApplication : public CosCommonReferencedClassInfo<PLATFORM::Application> {
public:
    CosApplication()
        : CosCommonReferencedClassInfo("Application", "The application of a studio window") {}

protected:
    void populate() override {
        addMethod(NoxMethod("getStudio", NoxPublic,
                            "The window of the application; empty when it has none"),
                  Invoker::createSignature("ORB.Studio"),
                  [](PLATFORM::Application& self, CallContext& call) {
                      call.setObject(self.getStudio());
                  });
    }
};

class CosStudioComponent : public CosCommonReferencedClassInfo<PLATFORM::StudioComponentBase> {
public:
    CosStudioComponent()
        : CosCommonReferencedClassInfo("StudioComponent", "A part of a studio window") {}

protected:
    void populate() override {
        using PLATFORM::StudioComponentBase;
        addMethod(
            NoxMethod("getName", NoxPublic, "The component's name"),
            Invoker::createSignature("char"),
            [](StudioComponentBase& self, CallContext& call) { call.setString(self.getName()); });
        addMethod(NoxMethod("getTypeName", NoxPublic, "The type the component is made under"),
                  Invoker::createSignature("char"),
                  [](StudioComponentBase& self, CallContext& call) {
                      call.setString(self.getTypeName());
                  });
        addMethod(
            NoxMethod("isVisible", NoxPublic, "Whether it is placed in its window and not hidden"),
            Invoker::createSignature("logical scalar"),
            [](StudioComponentBase& self, CallContext& call) {
                call.setLogical(self.isVisible());
            });
        addMethod(
            NoxMethod("getStudio", NoxPublic, "The studio of the component"),
            Invoker::createSignature("ORB.Studio"),
            [](StudioComponentBase& self, CallContext& call) { call.setObject(self.getStudio()); });
    }
};

class CosDomainInterface : public CosCommonReferencedClassInfo<PLATFORM::AbstractDomainInterface> {
public:
    CosDomainInterface()
        : CosCommonReferencedClassInfo("DomainInterface", "A domain as one studio sees it") {}

protected:
    void populate() override {
        using PLATFORM::AbstractDomainInterface;
        addMethod(NoxMethod("activate", NoxPublic, ""), Invoker::createSignature("void"),
                  [](AbstractDomainInterface& self, CallContext&) { self.activate(); });
        addMethod(NoxMethod("deactivate", NoxPublic, ""), Invoker::createSignature("void"),
                  [](AbstractDomainInterface& self, CallContext&) { self.deactivate(); });
        addMethod(NoxMethod("canCopy", NoxPublic, ""), Invoker::createSignature("logical scalar"),
                  [](AbstractDomainInterface& self, CallContext& call) {
                      call.setLogical(self.canCopy());
                  });
        addMethod(NoxMethod("canCut", NoxPublic, ""), Invoker::createSignature("logical scalar"),
                  [](AbstractDomainInterface& self, CallContext& call) {
                      call.setLogical(self.canCut());
                  });
        addMethod(NoxMethod("canPaste", NoxPublic, ""), Invoker::createSignature("logical scalar"),
                  [](AbstractDomainInterface& self, CallContext& call) {
                      call.setLogical(self.canPaste());
                  });
        addMethod(NoxMethod("doCopy", NoxPublic, ""), Invoker::createSignature("void"),
                  [](AbstractDomainInterface& self, CallContext&) { self.doCopy(); });
        addMethod(NoxMethod("doCut", NoxPublic, ""), Invoker::createSignature("void"),
                  [](AbstractDomainInterface& self, CallContext&) { self.doCut(); });
        addMethod(NoxMethod("doPaste", NoxPublic, ""), Invoker::createSignature("void"),
                  [](AbstractDomainInterface& self, CallContext&) { self.doPaste(); });
    }
};

class CosStudioService : public CosCommonReferencedClassInfo<PLATFORM::StudioService> {
public:
    CosStudioService()
        : CosCommonReferencedClassInfo("StudioService", "A named service of a studio") {}

protected:
    void populate() override {
        addMethod(NoxMethod("getName", NoxPublic, "The service's name"),
                  Invoker::createSignature("char"),
                  [](PLATFORM::StudioService& self, CallContext& call) {
                      call.setString(self.getName().getString());
                  });
    }
};

class CosStudioEventService
    : public CosCommonReferencedClassInfo<PLATFORM::StudioEventServiceBase> {
public:
    CosStudioEventService()
        : CosCommonReferencedClassInfo("StudioEventService", "A studio event's service") {}

protected:
    void populate() override {
        setSuperclass("ORB.StudioService");
        addMethod(
            NoxMethod("raiseDefault", NoxPublic, "Raises the event with a default record"),
            Invoker::createSignature("void"),
            [](PLATFORM::StudioEventServiceBase& self, CallContext&) { self.raiseDefault(); });
    }
};

class CosStudioFrameworkService
    : public CosCommonReferencedClassInfo<PLATFORM::StudioFrameworkService> {
public:
    CosStudioFrameworkService()
        : CosCommonReferencedClassInfo("StudioFrameworkService",
                                       "The docks, tabs and menus of a studio") {}

protected:
    void populate() override {
        using PLATFORM::StudioFrameworkService;
        setSuperclass("ORB.StudioService");
        addMethod(NoxMethod("getTabCount", NoxPublic, "The number of tabs"),
                  Invoker::createSignature("int32 scalar"),
                  [](StudioFrameworkService& self, CallContext& call) {
                      call.setInt32(static_cast<std::int32_t>(self.getTabCount()));
                  });
        addMethod(NoxMethod("getCurrentTabIndex", NoxPublic,
                            "The current tab's index; -1 when there is none"),
                  Invoker::createSignature("int32 scalar"),
                  [](StudioFrameworkService& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      const std::uint32_t index = self.getCurrentTabIndex(errors);
                      call.setInt32(index == StudioFrameworkService::NoTab
                                        ? -1
                                        : static_cast<std::int32_t>(index));
                  });
        addMethod(NoxMethod("setCurrentTab", NoxPublic, "Makes a tab current"),
                  Invoker::createSignature("void", {"int32 scalar"}),
                  [](StudioFrameworkService& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      const std::int32_t index = call.int32Argument(0);
                      self.setCurrentTab(index < 0 ? StudioFrameworkService::NoTab
                                                   : static_cast<std::uint32_t>(index),
                                         errors);
                      raiseIfError(errors);
                  });
        addMethod(NoxMethod("getComponent", NoxPublic, "The component of that name"),
                  Invoker::createSignature("ORB.StudioComponent", {"char"}),
                  [](StudioFrameworkService& self, CallContext& call) {
                      TAVI::ErrorHolder errors;
                      PLATFORM::StudioComponentBase* component =
                          self.getComponent(call.stringArgument(0), errors);
                      raiseIfError(errors);
                      call.setObject(component);
                  });
    }
};

} // namespace

NOX::COSPackage* addOrbisPackage() {
    return NOX::COSPackage::addPackage("ORB", [](NOX::COSPackage& package) {
        package.addClass<CosStudio>();
        package.addClass<CosApplication>();
        package.addClass<CosStudioComponent>();
        package.addClass<CosDomainInterface>();
        package.addClass<CosStudioService>();
        package.addClass<CosStudioEventService>();
        package.addClass<CosStudioFrameworkService>();
    });
}

} // namespace ORB::mi
