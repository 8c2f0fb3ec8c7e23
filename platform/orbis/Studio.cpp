#include "platform/orbis/Studio.hpp"

#include "platform/orbis/AbstractDomainImpl.hpp"
#include "platform/orbis/AbstractDomainInterface.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/DomainInterface.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/orbis/StudioFrameworkService_p.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/orbis/Studio_p.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QPixmap>
#include <QThread>

#include <algorithm>

namespace PLATFORM {

namespace {

// The open studios. Never destroyed: windows still open when the process ends
// are left to the operating system rather than deleted after Qt has gone.
std::vector<TAVI::Holder<Studio>>& openStudios() {
    static auto* studios = new std::vector<TAVI::Holder<Studio>>;
    return *studios;
}

} // namespace

// ---------------------------------------------------------------- StudioWindow

StudioWindow::StudioWindow(Studio* studio) : studio(studio) {}

StudioWindow::~StudioWindow() = default;

bool StudioWindow::setIcon(const std::string& file) {
    const QPixmap pixmap(QString::fromStdString(file));
    if (pixmap.isNull())
        return false;
    setWindowIcon(QIcon(pixmap));
    return true;
}

bool StudioWindow::setIcon(const std::string& file, TAVI::ErrorHolder& errors) {
    if (setIcon(file))
        return true;
    reportError(errors, TAVI_HERE, Messages::ImageNotReadable, file);
    return false;
}

void StudioWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!studio)
        return;
    studio->close();
}

// ---------------------------------------------------------------- StudioPrivate

StudioPrivate::StudioPrivate(Studio* q) : q(q) {}

void StudioPrivate::shutDown() {
    if (!open || shuttingDown)
        return;
    shuttingDown = true;
    if (framework)
        framework->d->closed = true;
    TAVI::ErrorHolder ignored;
    // The application goes first: it may still remove its own components and
    // raise its last events through the services.
    if (application)
        application->terminate(ignored);
    if (framework)
        framework->removeAllComponents(ignored);
    if (activeDomain)
        activeDomain->deactivate();
    activeDomain.reset();
    if (window)
        window->hide();
    open = false;
    shuttingDown = false;
}

void StudioPrivate::release() {
    // Services and domain implementations stay until the studio goes, so that
    // pointers an application kept to them stay good after the window closed.
    domainImpls.clear();
    services.clear();
    framework.reset();
}

// ---------------------------------------------------------------- Studio

Studio::Studio() : d(new StudioPrivate(this)) {}

Studio::~Studio() {
    d->shutDown();
    // A script may hold the framework service longer: it must not reach back here.
    if (d->framework)
        d->framework->d->studio = nullptr;
    d->release();
    for (StudioComponentBase* component : d->componentsPointingHere)
        component->studio = nullptr;
    for (DomainInterface* front : d->frontsPointingHere)
        front->studio = nullptr;
    if (d->application)
        d->application->studio = nullptr;
    d->application.reset();
    if (StudioWindow* window = d->window) {
        window->studio = nullptr;
        window->hide();
        // The studio may go from inside one of its window's own events (its
        // close button, a tab's close button): the window goes once control is
        // back in the event loop.
        if (QCoreApplication::instance())
            window->deleteLater();
        else
            delete window;
    }
    delete d;
}

TAVI::Holder<Studio> Studio::spawnStudio(const TAVI::Holder<Application>& application,
                                         TAVI::ErrorHolder& errors) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        reportError(errors, TAVI_HERE, Messages::NoGuiApplication, "Studio::spawnStudio");
        return {};
    }
    // Widgets made on another thread would crash Qt.
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
        reportError(errors, TAVI_HERE, Messages::WrongThread, "Studio::spawnStudio");
        return {};
    }
    if (!application) {
        reportError(errors, TAVI_HERE, Messages::NullArgument, "Studio::spawnStudio");
        return {};
    }
    if (application->getStudio()) {
        reportError(errors, TAVI_HERE, Messages::ApplicationInUse,
                    application->getFullyQualifiedNoxTypeName());
        return {};
    }

    TAVI::Holder<Studio> studio(new Studio);
    StudioPrivate* d = studio->d;
    d->window = new StudioWindow(studio.get());
    d->window->resize(1024, 768);

    TAVI::ErrorHolder registration;
    d->framework = new StudioFrameworkService(studio.get());
    d->services.registerObject(d->framework.staticCast<StudioService>(), registration);
    d->services.registerObject(
        TAVI::Holder<StudioService>(new StudioEventService<Util::IntRequest>("TabCloseEvents")),
        registration);

    d->application = application;
    application->studio = studio.get();
    openStudios().push_back(studio);
    application->initialize(errors);
    return studio;
}

TAVI::Holder<Studio> Studio::spawnStudio(const TAVI::Holder<Application>& application) {
    TAVI::ErrorHolder errors;
    return spawnStudio(application, errors);
}

std::vector<TAVI::Holder<Studio>> Studio::allStudios() {
    return openStudios();
}

const char* Studio::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

StudioWindow* Studio::getWindow() const {
    return d->window;
}

Application* Studio::getApp() const {
    return d->application.get();
}

DomainImplFactory& Studio::getDomainFactory() {
    static auto* factory = new DomainImplFactory;
    return *factory;
}

AbstractDomainImpl* Studio::getDomainImpl(const TAVI::StringID& key, TAVI::ErrorHolder& errors) {
    if (const auto it = d->domainImpls.find(key); it != d->domainImpls.end())
        return it->second.get();
    if (!d->open) {
        reportError(errors, TAVI_HERE, Messages::StudioClosed,
                    d->window->windowTitle().toStdString());
        return nullptr;
    }
    if (!getDomainFactory().hasCreator(key)) {
        reportError(errors, TAVI_HERE, Messages::DomainImplNotFound, key.getString());
        return nullptr;
    }
    // Its constructor may ask for its own key again, directly or through another key's
    // implementation: making another would recurse without end.
    if (d->domainImplsInMaking.count(key)) {
        reportError(errors, TAVI_HERE, Messages::DomainImplInProgress, key.getString());
        return nullptr;
    }
    d->domainImplsInMaking.insert(key);
    AbstractDomainImpl* impl = getDomainFactory().create(key, this, errors);
    d->domainImplsInMaking.erase(key);
    if (!impl) {
        reportError(errors, TAVI_HERE, Messages::DomainImplNotFound, key.getString());
        return nullptr;
    }
    d->domainImpls.emplace(key, std::unique_ptr<AbstractDomainImpl>(impl));
    return impl;
}

AbstractDomainImpl* Studio::getDomainImpl(const TAVI::StringID& key) {
    TAVI::ErrorHolder errors;
    return getDomainImpl(key, errors);
}

AbstractDomainInterface* Studio::getActiveDomain() {
    if (!d->defaultDomainAsked && d->open && d->application) {
        d->defaultDomainAsked = true;
        const TAVI::Holder<AbstractDomainInterface> domain(d->application->getDefaultDomain(this));
        if (domain && !d->activeDomain)
            setActiveDomain(domain);
    }
    return d->activeDomain.get();
}

void Studio::setActiveDomain(const TAVI::Holder<AbstractDomainInterface>& domain) {
    if (!d->open || domain == d->activeDomain)
        return;
    // Asked for explicitly: the application's default is no longer wanted.
    d->defaultDomainAsked = true;
    const TAVI::Holder<AbstractDomainInterface> previous = d->activeDomain;
    d->activeDomain = domain;
    if (previous)
        previous->deactivate();
    if (domain)
        domain->activate();
}

StudioServiceRegistry& Studio::getServiceManager() {
    return d->services;
}

StudioService* Studio::getService2(const TAVI::StringID& name, TAVI::ErrorHolder& errors) const {
    StudioService* service = d->services.getObject(name).get();
    if (!service)
        reportError(errors, TAVI_HERE, Messages::ServiceNotFound, name.getString());
    return service;
}

StudioFrameworkService* Studio::getFrameworkService() const {
    return d->framework.get();
}

StudioComponentBase* Studio::getComponent(const std::string& name,
                                          TAVI::ErrorHolder& errors) const {
    if (!d->framework) {
        reportError(errors, TAVI_HERE, Messages::ComponentNotFound, name);
        return nullptr;
    }
    return d->framework->getComponent(name, errors);
}

bool Studio::toggleComponent(const std::string& name, TAVI::ErrorHolder& errors) {
    StudioComponentBase* component = getComponent(name, errors);
    if (!component)
        return false;
    if (component->isVisible())
        d->framework->hideComponent(component, errors);
    else
        d->framework->showComponent(component, errors);
    return component->isVisible();
}

void Studio::activateComponent(StudioComponentBase* component, bool focus) {
    if (!component || !d->framework)
        return;
    // Only a component of this studio: one removed earlier may be gone, and must not be read.
    TAVI::ErrorHolder lookup;
    const std::uint32_t tab = d->framework->getTabIndex(component, lookup);
    if (lookup.hasError())
        return;
    TAVI::ErrorHolder ignored;
    if (tab != StudioFrameworkService::NoTab)
        d->framework->setCurrentTab(tab, ignored);
    if (!component->isVisible())
        d->framework->showComponent(component, ignored);
    if (focus) {
        if (TAVI::GLWidget2* widget = component->getDefaultFocusWidget())
            widget->setFocus();
    }
}

void Studio::show() {
    if (d->open && d->window)
        d->window->show();
}

bool Studio::isOpen() const {
    return d->open;
}

void Studio::close() {
    if (!d->open || d->shuttingDown)
        return;
    // The list of open studios may hold the last count.
    const TAVI::Holder<Studio> self(this);
    d->shutDown();
    auto& studios = openStudios();
    studios.erase(std::remove(studios.begin(), studios.end(), self), studios.end());
}

bool Studio::saveScreenshot(const std::string& file, TAVI::ErrorHolder& errors) {
    StudioWindow* window = d->window;
    if (!d->open) {
        reportError(errors, TAVI_HERE, Messages::StudioClosed, window->windowTitle().toStdString());
        return false;
    }
    if (!window->isVisible()) {
        // A window that was never shown has no layout yet; show it without
        // putting it on a real screen.
        window->setAttribute(Qt::WA_DontShowOnScreen, true);
        window->show();
    }
    QCoreApplication::sendPostedEvents();
    const QImage image = window->grab().toImage();
    if (image.isNull() || !image.save(QString::fromStdString(file), "PNG")) {
        reportError(errors, TAVI_HERE, Messages::ScreenshotFailed, file);
        return false;
    }
    return true;
}

} // namespace PLATFORM
