#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/orbis/GenericRegistry.hpp"
#include "platform/orbis/StudioService.hpp"
#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/AbstractFactory.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"

#include <string>
#include <vector>

namespace PLATFORM {

class AbstractDomainImpl;
class AbstractDomainInterface;
class Studio;
class Application;
class StudioComponentBase;
class StudioFrameworkService;
class StudioPrivate;
class StudioWindow;

// The factory of domain implementations: each creator makes one for a studio.
using DomainImplFactory = TAVI::AbstractFactory<AbstractDomainImpl, Studio*>;
// A studio's services by name.
using StudioServiceRegistry = GenericRegistry<StudioService>;

// One studio window and what belongs to it: its application, its services
// (among them "StudioFrameworkService", which places components in docks,
// tabs and the status area, and "TabCloseEvents"), its components and its
// domain implementations. Counted: spawnStudio hands out a holder, and the
// framework keeps the studio alive while its window is open (allStudios).
// Closing the window (by the user or close()) terminates the application,
// removes the components, hides the window and lets the framework's hold go;
// services and domain implementations stay until the studio is destroyed.
// User-interface thread only; needs a QApplication.
class ORBIS_EXPORT Studio : public TAVI::ReferencedTemplate<unsigned int>, public NOX::Wrappable {
public:
    // A new window for the application, with the framework's services made
    // and the application initialised (its errors go to the holder; the window
    // stays open). Null with an error when there is no QApplication
    // (PLATFORM_NoGuiApplication), the application is null
    // (PLATFORM_NullArgument) or already has a window (PLATFORM_ApplicationInUse),
    // and when called on another thread than the QApplication's (PLATFORM_WrongThread).
    // The window is not shown until show() is called.
    static TAVI::Holder<Studio> spawnStudio(const TAVI::Holder<Application>& application,
                                            TAVI::ErrorHolder& errors);
    static TAVI::Holder<Studio> spawnStudio(const TAVI::Holder<Application>& application);
    // The open studios, oldest first.
    static std::vector<TAVI::Holder<Studio>> allStudios();

    ~Studio() override;
    Studio(const Studio&) = delete;
    Studio& operator=(const Studio&) = delete;

    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.Studio";

    const char* getFullyQualifiedNoxTypeName() const override;

    // The window (a QMainWindow; include "platform/orbis/StudioWindow.hpp").
    StudioWindow* getWindow() const;
    Application* getApp() const;

    // The process-wide factory of domain implementations.
    static DomainImplFactory& getDomainFactory();
    // This studio's implementation for the key, made with the factory's
    // creator on first request and kept until the studio goes. Null (with
    // PLATFORM_DomainImplNotFound) when no creator is registered for the key,
    // and (with PLATFORM_DomainImplInProgress) when asked for while it is being made.
    AbstractDomainImpl* getDomainImpl(const TAVI::StringID& key, TAVI::ErrorHolder& errors);
    AbstractDomainImpl* getDomainImpl(const TAVI::StringID& key);

    // The domain front the studio works with: at first the application's
    // default domain (Application::getDefaultDomain), asked for on first use
    // and activated. Null when the application offers none or the studio is closed.
    AbstractDomainInterface* getActiveDomain();
    // Deactivates the active front and activates the new one (null leaves none).
    void setActiveDomain(const TAVI::Holder<AbstractDomainInterface>& domain);

    StudioServiceRegistry& getServiceManager();
    // The service of that name; null with PLATFORM_ServiceNotFound when none.
    StudioService* getService2(const TAVI::StringID& name, TAVI::ErrorHolder& errors) const;
    // The window's "StudioFrameworkService". It and the other services live as
    // long as the studio, also after the window closed.
    StudioFrameworkService* getFrameworkService() const;

    // The component of that name; null with PLATFORM_ComponentNotFound when none.
    StudioComponentBase* getComponent(const std::string& name, TAVI::ErrorHolder& errors) const;
    // Hides the named component when it is visible, shows it otherwise.
    // Returns whether it is visible afterwards; false with an error when there is none.
    bool toggleComponent(const std::string& name, TAVI::ErrorHolder& errors);
    // Brings the component forward: makes its tab current when it has one,
    // shows it, and gives the focus to its default focus widget when asked.
    // Nothing for a component that is not (or no longer) this studio's.
    void activateComponent(StudioComponentBase* component, bool focus);

    void show();
    bool isOpen() const;
    // Closes the window as the user would; nothing when it is closed already.
    void close();

    // Writes a PNG image of the window as it is laid out now, showing it
    // (without putting it on a screen) when it was never shown. Errors:
    // PLATFORM_ScreenshotFailed, PLATFORM_StudioClosed.
    bool saveScreenshot(const std::string& file, TAVI::ErrorHolder& errors);

private:
    Studio();
    friend class StudioPrivate;
    friend class StudioWindow;
    friend class StudioComponentBase;
    friend class DomainInterface;
    StudioPrivate* d_func() { return d; }
    const StudioPrivate* d_func() const { return d; }
    StudioPrivate* d; // owned
};

} // namespace PLATFORM
