#include "platform/orbis/StudioFrameworkService.hpp"

#include "platform/host/HostFunctions.hpp"
#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/OrbisMessages.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/orbis/StudioEventService.hpp"
#include "platform/orbis/StudioFrameworkService_p.hpp"
#include "platform/orbis/StudioWindow.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi2/GLWidget2.hpp"

#include <QDockWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace PLATFORM {

namespace {

Qt::DockWidgetArea dockArea(int position) {
    switch (position) {
    case StudioFrameworkService::Right:
        return Qt::RightDockWidgetArea;
    case StudioFrameworkService::Top:
        return Qt::TopDockWidgetArea;
    case StudioFrameworkService::Bottom:
        return Qt::BottomDockWidgetArea;
    default:
        return Qt::LeftDockWidgetArea;
    }
}

struct NamedValue {
    const char* name;
    int value;
};

const NamedValue areas[] = {
    {"DockWidget", StudioFrameworkService::DockArea},
    {"TabWidget", StudioFrameworkService::TabArea},
    {"StatusWidget", StudioFrameworkService::StatusArea},
    {"Invisible", StudioFrameworkService::InvisibleArea},
    {"Unknown", StudioFrameworkService::UnknownArea},
};

const NamedValue positions[] = {
    {"Left", StudioFrameworkService::Left},
    {"Right", StudioFrameworkService::Right},
    {"Top", StudioFrameworkService::Top},
    {"Bottom", StudioFrameworkService::Bottom},
};

bool equalsIgnoringCase(const std::string& a, const char* b) {
    const std::size_t length = std::char_traits<char>::length(b);
    if (a.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

template <std::size_t N>
int lookUp(const NamedValue (&table)[N], const std::string& text, int otherwise) {
    for (const NamedValue& entry : table) {
        if (text == entry.name)
            return entry.value;
    }
    for (const NamedValue& entry : table) {
        if (equalsIgnoringCase(text, entry.name))
            return entry.value;
    }
    return otherwise;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

// ---------------------------------------------------------------- private

StudioFrameworkServicePrivate::StudioFrameworkServicePrivate(StudioFrameworkService* q,
                                                             Studio* studio)
    : q(q), studio(studio), window(studio ? studio->getWindow() : nullptr) {
    if (!window)
        return;
    tabs = new QTabWidget(window);
    tabs->setTabsClosable(true);
    tabs->setMovable(false);
    window->setCentralWidget(tabs);
    // The user's close button asks; the listeners of "TabCloseEvents" decide.
    QObject::connect(tabs.data(), &QTabWidget::tabCloseRequested, tabs.data(),
                     [q, token = std::weak_ptr<int>(alive)](int index) {
                         if (token.expired() || index < 0)
                             return;
                         TAVI::ErrorHolder ignored;
                         q->requestTabClose(static_cast<std::uint32_t>(index), ignored);
                     });
}

ComponentRecord* StudioFrameworkServicePrivate::find(const StudioComponentBase* component) const {
    for (const auto& record : records) {
        if (record->component.get() == component)
            return record.get();
    }
    return nullptr;
}

ComponentRecord* StudioFrameworkServicePrivate::findByName(const std::string& name) const {
    for (const auto& record : records) {
        if (record->component->getName() == name)
            return record.get();
    }
    return nullptr;
}

ComponentRecord* StudioFrameworkServicePrivate::require(const StudioComponentBase* component,
                                                        const char* operation,
                                                        TAVI::ErrorHolder& errors) const {
    if (!component) {
        reportError(errors, TAVI_HERE, Messages::NullArgument,
                    std::string("StudioFrameworkService::") + operation);
        return nullptr;
    }
    ComponentRecord* record = find(component);
    // A component removed earlier may be gone: its name is read only while it exists.
    if (!record)
        reportError(errors, TAVI_HERE, Messages::ComponentNotFound,
                    isLiveComponent(component) ? component->getName()
                                               : "(a component that no longer exists)");
    return record;
}

QWidget* StudioFrameworkServicePrivate::requireWidget(const ComponentRecord& record,
                                                      const char* operation,
                                                      TAVI::ErrorHolder& errors) const {
    TAVI::GLWidget2* widget = record.component->getWidget();
    QWidget* qtWidget = widget ? widget->getQWidget() : nullptr;
    if (!qtWidget || !window) {
        reportError(errors, TAVI_HERE, Messages::NullArgument,
                    std::string("StudioFrameworkService::") + operation + " (the component '" +
                        record.component->getName() + "' has no widget)");
        return nullptr;
    }
    return qtWidget;
}

bool StudioFrameworkServicePrivate::requireUnplaced(const ComponentRecord& record,
                                                    TAVI::ErrorHolder& errors) const {
    if (record.kind == ComponentRecord::Unplaced)
        return true;
    reportError(errors, TAVI_HERE, Messages::ComponentAlreadyPlaced, record.component->getName());
    return false;
}

bool StudioFrameworkServicePrivate::checkTab(std::uint32_t index, TAVI::ErrorHolder& errors) const {
    const int count = tabs ? tabs->count() : 0;
    if (index < static_cast<std::uint32_t>(count))
        return true;
    const std::string shown =
        index == StudioFrameworkService::NoTab ? "0xFFFFFFFF (no tab)" : std::to_string(index);
    reportError(errors, TAVI_HERE, Messages::TabIndexOutOfRange,
                shown + " (the window has " + std::to_string(count) + " tabs)");
    return false;
}

bool StudioFrameworkServicePrivate::checkOpen(TAVI::ErrorHolder& errors) const {
    // A closed window's components would never be shown nor terminated in time.
    if (closed || (studio && !studio->isOpen())) {
        reportError(errors, TAVI_HERE, Messages::StudioClosed, q->getTitle());
        return false;
    }
    return true;
}

bool StudioFrameworkServicePrivate::takeIn(const TAVI::Holder<StudioComponentBase>& component,
                                           TAVI::ErrorHolder& errors) {
    if (!checkOpen(errors))
        return false;
    TAVI::ErrorHolder initErrors;
    component->initialize(initErrors);
    // A component that failed to start is not kept half made; nor is one whose start closed
    // the studio, which has let go of its components already.
    if (initErrors.hasError() || !checkOpen(initErrors)) {
        if (const TAVI::ErrorDescription* error = initErrors.getError())
            errors.setError(*error);
        TAVI::ErrorHolder ignored;
        component->terminate(ignored);
        return false;
    }
    auto record = std::make_unique<ComponentRecord>();
    record->component = component;
    records.push_back(std::move(record));
    return true;
}

QWidget* StudioFrameworkServicePrivate::embeddedWidget(const ComponentRecord& record) const {
    TAVI::GLWidget2* glWidget = record.component->getWidget();
    QWidget* widget = glWidget ? glWidget->getQWidget() : nullptr;
    return widget && widget->parentWidget() ? widget : nullptr;
}

void StudioFrameworkServicePrivate::setProbe(ComponentRecord& record) {
    StudioComponentBase* component = record.component.get();
    component->shown = false;
    switch (record.kind) {
    case ComponentRecord::Unplaced:
        // A widget shown inside another component's counts as placed there.
        if (QWidget* widget = embeddedWidget(record))
            component->shown = !widget->isHidden();
        return;
    case ComponentRecord::Docked:
        component->shown = record.dock && !record.dock->isHidden();
        return;
    case ComponentRecord::InTab:
    case ComponentRecord::InStatusArea:
        if (TAVI::GLWidget2* widget = component->getWidget())
            component->shown = widget->getQWidget() && !widget->getQWidget()->isHidden();
        return;
    }
}

void StudioFrameworkServicePrivate::placeInPage(ComponentRecord& record, QWidget* widget,
                                                QWidget* page) {
    page->layout()->addWidget(widget);
    widget->show();
    record.kind = ComponentRecord::InTab;
    record.tabPage = page;
    setProbe(record);
}

void StudioFrameworkServicePrivate::detach(ComponentRecord& record) {
    TAVI::GLWidget2* glWidget = record.component->getWidget();
    QWidget* widget = glWidget ? glWidget->getQWidget() : nullptr;
    // The widget belongs to the component: take it out of what the framework
    // made before that goes, or Qt would delete it along with the dock or page.
    // A widget that is not placed stays where its owner put it.
    if (record.kind != ComponentRecord::Unplaced && widget && widget->parentWidget() && window) {
        if (record.kind == ComponentRecord::InStatusArea)
            window->statusBar()->removeWidget(widget);
        widget->setParent(nullptr);
    }
    switch (record.kind) {
    case ComponentRecord::Unplaced:
        break;
    case ComponentRecord::Docked:
        if (record.dock) {
            if (window)
                window->removeDockWidget(record.dock);
            delete record.dock.data();
        }
        break;
    case ComponentRecord::InTab: {
        QWidget* page = record.tabPage;
        const bool pageEmpty = std::none_of(records.begin(), records.end(), [&](const auto& other) {
            return other.get() != &record && other->kind == ComponentRecord::InTab &&
                   other->tabPage == page;
        });
        if (page && pageEmpty && tabs) {
            tabs->removeTab(tabs->indexOf(page));
            delete page;
        }
        break;
    }
    case ComponentRecord::InStatusArea:
        break;
    }
    record.kind = ComponentRecord::Unplaced;
    record.dockPosition = -1;
    record.dock = nullptr;
    record.tabPage = nullptr;
    setProbe(record);
}

void StudioFrameworkServicePrivate::remove(ComponentRecord* record, TAVI::ErrorHolder& errors) {
    detach(*record);
    const auto it = std::find_if(records.begin(), records.end(),
                                 [&](const auto& entry) { return entry.get() == record; });
    // Keep the component alive through its terminate: its handlers may still run.
    const TAVI::Holder<StudioComponentBase> component = record->component;
    records.erase(it);
    component->terminate(errors);
}

std::string StudioFrameworkServicePrivate::title(const ComponentRecord& record,
                                                 const std::string& given) const {
    return given.empty() ? record.component->getDisplayTitle() : given;
}

// ---------------------------------------------------------------- service

StudioFrameworkService::StudioFrameworkService(Studio* studio)
    : StudioService("StudioFrameworkService"), d(new StudioFrameworkServicePrivate(this, studio)) {}

StudioFrameworkService::~StudioFrameworkService() {
    TAVI::ErrorHolder ignored;
    removeAllComponents(ignored);
    delete d;
}

const char* StudioFrameworkService::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

Studio* StudioFrameworkService::getStudio() const {
    return d->studio;
}

void StudioFrameworkService::setTitle(const std::string& title) {
    if (d->window)
        d->window->setWindowTitle(QString::fromStdString(title));
}

std::string StudioFrameworkService::getTitle() const {
    return d->window ? d->window->windowTitle().toStdString() : std::string();
}

StudioComponentBase* StudioFrameworkService::createComponent(const std::string& typeName,
                                                             const std::string& name,
                                                             TAVI::ErrorHolder& errors) {
    // The factory would make a component for a studio that is no more.
    if (!d->checkOpen(errors))
        return nullptr;
    if (d->findByName(name)) {
        reportError(errors, TAVI_HERE, Messages::ObjectAlreadyRegistered, name);
        return nullptr;
    }
    const TAVI::Holder<StudioComponentBase> component(
        StudioComponentFactoryManager::instance()->createComponent(typeName, d->studio, name,
                                                                   errors));
    if (!component)
        return nullptr;
    if (component->getStudio() != d->studio) {
        reportError(errors, TAVI_HERE, Messages::ComponentOfOtherStudio, component->getName());
        return nullptr;
    }
    if (component->getName() != name && d->findByName(component->getName())) {
        reportError(errors, TAVI_HERE, Messages::ObjectAlreadyRegistered, component->getName());
        return nullptr;
    }
    return d->takeIn(component, errors) ? component.get() : nullptr;
}

bool StudioFrameworkService::addComponent(const TAVI::Holder<StudioComponentBase>& component,
                                          TAVI::ErrorHolder& errors) {
    if (!component) {
        reportError(errors, TAVI_HERE, Messages::NullArgument,
                    "StudioFrameworkService::addComponent");
        return false;
    }
    if (component->getStudio() != d->studio) {
        reportError(errors, TAVI_HERE, Messages::ComponentOfOtherStudio, component->getName());
        return false;
    }
    if (d->findByName(component->getName())) {
        reportError(errors, TAVI_HERE, Messages::ObjectAlreadyRegistered, component->getName());
        return false;
    }
    return d->takeIn(component, errors);
}

StudioComponentBase* StudioFrameworkService::getComponent(const std::string& name,
                                                          TAVI::ErrorHolder& errors) const {
    ComponentRecord* record = d->findByName(name);
    if (!record) {
        reportError(errors, TAVI_HERE, Messages::ComponentNotFound, name);
        return nullptr;
    }
    return record->component.get();
}

std::vector<StudioComponentBase*> StudioFrameworkService::getComponents() const {
    std::vector<StudioComponentBase*> components;
    for (const auto& record : d->records)
        components.push_back(record->component.get());
    return components;
}

bool StudioFrameworkService::removeComponent(StudioComponentBase* component,
                                             TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "removeComponent", errors);
    if (!record)
        return false;
    d->remove(record, errors);
    return true;
}

void StudioFrameworkService::removeAllComponents(TAVI::ErrorHolder& errors) {
    // Hold the service: a component's terminate may drop the studio's hold.
    const TAVI::Holder<StudioFrameworkService> self(getRefCount() ? this : nullptr);
    while (!d->records.empty())
        d->remove(d->records.back().get(), errors);
}

bool StudioFrameworkService::addDockWidget(StudioComponentBase* component, const std::string& title,
                                           int position, TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "addDockWidget", errors);
    if (!record || !d->requireUnplaced(*record, errors))
        return false;
    if (position < Left || position > Bottom) {
        reportError(errors, TAVI_HERE, Messages::BadDockPosition, std::to_string(position));
        return false;
    }
    QWidget* widget = d->requireWidget(*record, "addDockWidget", errors);
    if (!widget)
        return false;
    auto* dock = new QDockWidget(QString::fromStdString(d->title(*record, title)), d->window);
    dock->setObjectName(QString::fromStdString(component->getName()));
    dock->setWidget(widget);
    widget->show();
    d->window->addDockWidget(dockArea(position), dock);
    dock->show();
    record->kind = ComponentRecord::Docked;
    record->dock = dock;
    record->dockPosition = position;
    // The dock's own close button hides it; the component must say so.
    QObject::connect(dock, &QDockWidget::visibilityChanged, dock,
                     [d = this->d, token = std::weak_ptr<int>(d->alive), component](bool) {
                         if (token.expired())
                             return;
                         if (ComponentRecord* current = d->find(component))
                             d->setProbe(*current);
                     });
    d->setProbe(*record);
    return true;
}

bool StudioFrameworkService::retitleComponent(StudioComponentBase* component,
                                              TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "retitleComponent", errors);
    if (!record)
        return false;
    const QString title = QString::fromStdString(component->getDisplayTitle());
    if (record->kind == ComponentRecord::Docked && record->dock)
        record->dock->setWindowTitle(title);
    else if (record->kind == ComponentRecord::InTab && record->tabPage && d->tabs)
        d->tabs->setTabText(d->tabs->indexOf(record->tabPage), title);
    return true;
}

std::uint32_t StudioFrameworkService::addTab(StudioComponentBase* component,
                                             const std::string& title, bool makeCurrent,
                                             TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "addTab", errors);
    if (!record || !d->requireUnplaced(*record, errors))
        return NoTab;
    QWidget* widget = d->requireWidget(*record, "addTab", errors);
    if (!widget || !d->tabs)
        return NoTab;
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    d->placeInPage(*record, widget, page);
    const int index = d->tabs->addTab(page, QString::fromStdString(d->title(*record, title)));
    if (makeCurrent)
        d->tabs->setCurrentIndex(index);
    d->setProbe(*record);
    return static_cast<std::uint32_t>(index);
}

bool StudioFrameworkService::replaceTab(StudioComponentBase* component, std::uint32_t index,
                                        TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "replaceTab", errors);
    if (!record || !d->checkTab(index, errors))
        return false;
    QWidget* page = d->tabs->widget(static_cast<int>(index));
    if (record->kind == ComponentRecord::InTab && record->tabPage == page)
        return true;
    if (!d->requireUnplaced(*record, errors))
        return false;
    QWidget* widget = d->requireWidget(*record, "replaceTab", errors);
    if (!widget)
        return false;
    // Place the newcomer first, so that detaching the others leaves the tab standing.
    d->placeInPage(*record, widget, page);
    for (const auto& other : d->records) {
        if (other.get() != record && other->kind == ComponentRecord::InTab &&
            other->tabPage == page)
            d->detach(*other);
    }
    return true;
}

bool StudioFrameworkService::setStatusWidget(StudioComponentBase* component,
                                             TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "setStatusWidget", errors);
    if (!record)
        return false;
    if (record->kind == ComponentRecord::InStatusArea)
        return true;
    if (!d->requireUnplaced(*record, errors))
        return false;
    QWidget* widget = d->requireWidget(*record, "setStatusWidget", errors);
    if (!widget)
        return false;
    for (const auto& other : d->records) {
        if (other->kind == ComponentRecord::InStatusArea)
            d->detach(*other);
    }
    d->window->statusBar()->addWidget(widget, 1);
    widget->show();
    record->kind = ComponentRecord::InStatusArea;
    d->setProbe(*record);
    return true;
}

bool StudioFrameworkService::detachComponent(StudioComponentBase* component,
                                             TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "detachComponent", errors);
    if (!record)
        return false;
    d->detach(*record);
    return true;
}

bool StudioFrameworkService::showComponent(StudioComponentBase* component,
                                           TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "showComponent", errors);
    if (!record)
        return false;
    if (record->kind == ComponentRecord::Docked && record->dock) {
        record->dock->show();
        record->dock->raise();
    } else if (record->kind != ComponentRecord::Unplaced) {
        if (TAVI::GLWidget2* widget = component->getWidget())
            widget->show();
    } else if (QWidget* widget = d->embeddedWidget(*record)) {
        widget->show();
    }
    d->setProbe(*record);
    return true;
}

bool StudioFrameworkService::hideComponent(StudioComponentBase* component,
                                           TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "hideComponent", errors);
    if (!record)
        return false;
    if (record->kind == ComponentRecord::Docked && record->dock) {
        record->dock->hide();
    } else if (record->kind != ComponentRecord::Unplaced) {
        if (TAVI::GLWidget2* widget = component->getWidget())
            widget->hide();
    } else if (QWidget* widget = d->embeddedWidget(*record)) {
        widget->hide();
    }
    d->setProbe(*record);
    return true;
}

int StudioFrameworkService::areaValue(const std::string& area) {
    return lookUp(areas, area, OtherArea);
}

int StudioFrameworkService::positionValue(const std::string& position) {
    return lookUp(positions, position, OtherPosition);
}

bool StudioFrameworkService::placeComponent(StudioComponentBase* component, const std::string& area,
                                            const std::string& position,
                                            TAVI::ErrorHolder& errors) {
    ComponentRecord* record = d->require(component, "placeComponent", errors);
    if (!record)
        return false;
    switch (areaValue(area)) {
    case DockArea:
        return addDockWidget(component, std::string(), positionValue(position), errors);
    case TabArea:
        return addTab(component, std::string(), false, errors) != NoTab;
    case StatusArea:
        return setStatusWidget(component, errors);
    default:
        return true;
    }
}

bool StudioFrameworkService::isDocked(const StudioComponentBase* component) const {
    const ComponentRecord* record = d->find(component);
    return record && record->kind == ComponentRecord::Docked;
}

int StudioFrameworkService::getDockPosition(const StudioComponentBase* component) const {
    const ComponentRecord* record = d->find(component);
    return record && record->kind == ComponentRecord::Docked ? record->dockPosition : -1;
}

void StudioFrameworkService::showStatusMessage(const std::string& text, int timeoutMs) {
    if (!d->window)
        return;
    if (text.empty())
        d->window->statusBar()->clearMessage();
    else
        d->window->statusBar()->showMessage(QString::fromStdString(text), std::max(timeoutMs, 0));
}

std::string StudioFrameworkService::getStatusMessage() const {
    return d->window ? d->window->statusBar()->currentMessage().toStdString() : std::string();
}

StudioComponentBase* StudioFrameworkService::getStatusComponent() const {
    for (const auto& record : d->records) {
        if (record->kind == ComponentRecord::InStatusArea)
            return record->component.get();
    }
    return nullptr;
}

std::uint32_t StudioFrameworkService::getTabCount() const {
    return d->tabs ? static_cast<std::uint32_t>(d->tabs->count()) : 0;
}

std::vector<StudioComponentBase*>
StudioFrameworkService::getTabComponents(std::uint32_t index, TAVI::ErrorHolder& errors) const {
    std::vector<StudioComponentBase*> components;
    if (!d->checkTab(index, errors))
        return components;
    const QWidget* page = d->tabs->widget(static_cast<int>(index));
    for (const auto& record : d->records) {
        if (record->kind == ComponentRecord::InTab && record->tabPage == page)
            components.push_back(record->component.get());
    }
    return components;
}

std::uint32_t StudioFrameworkService::getTabIndex(const StudioComponentBase* component,
                                                  TAVI::ErrorHolder& errors) const {
    const ComponentRecord* record = d->require(component, "getTabIndex", errors);
    if (!record || record->kind != ComponentRecord::InTab || !d->tabs)
        return NoTab;
    const int index = d->tabs->indexOf(record->tabPage);
    return index < 0 ? NoTab : static_cast<std::uint32_t>(index);
}

bool StudioFrameworkService::setTabTitle(std::uint32_t index, const std::string& title,
                                         TAVI::ErrorHolder& errors) {
    if (!d->checkTab(index, errors))
        return false;
    d->tabs->setTabText(static_cast<int>(index), QString::fromStdString(title));
    return true;
}

std::string StudioFrameworkService::getTabTitle(std::uint32_t index,
                                                TAVI::ErrorHolder& errors) const {
    if (!d->checkTab(index, errors))
        return {};
    return d->tabs->tabText(static_cast<int>(index)).toStdString();
}

bool StudioFrameworkService::setCurrentTab(std::uint32_t index, TAVI::ErrorHolder& errors) {
    if (!d->checkTab(index, errors))
        return false;
    d->tabs->setCurrentIndex(static_cast<int>(index));
    return true;
}

std::uint32_t StudioFrameworkService::getCurrentTabIndex(TAVI::ErrorHolder&) const {
    const int index = d->tabs ? d->tabs->currentIndex() : -1;
    return index < 0 ? NoTab : static_cast<std::uint32_t>(index);
}

bool StudioFrameworkService::requestTabClose(std::uint32_t index, TAVI::ErrorHolder& errors) {
    if (!d->checkTab(index, errors))
        return false;
    // Listeners may close the studio, and with it drop this service.
    const TAVI::Holder<StudioFrameworkService> self(getRefCount() ? this : nullptr);
    const std::weak_ptr<int> token = d->alive;
    const QPointer<QWidget> page = d->tabs->widget(static_cast<int>(index));
    if (d->studio && !d->raisingTabClose) {
        TAVI::ErrorHolder lookup;
        auto* service = dynamic_cast<StudioEventService<Util::IntRequest>*>(
            d->studio->getService2("TabCloseEvents", lookup));
        if (service) {
            const TAVI::Holder<StudioService> holdService(service);
            d->raisingTabClose = true;
            service->raise(Util::IntRequest(static_cast<int>(index)));
            if (!token.expired())
                d->raisingTabClose = false;
        }
    }
    if (token.expired() || !page || !d->tabs || d->tabs->indexOf(page) < 0)
        return true;
    // Nobody took the tab away: the user asked for it to go, so it goes, and
    // what it showed stays in the studio, unplaced.
    std::vector<ComponentRecord*> shown;
    for (const auto& record : d->records) {
        if (record->kind == ComponentRecord::InTab && record->tabPage == page)
            shown.push_back(record.get());
    }
    for (ComponentRecord* record : shown)
        d->detach(*record);
    if (page && d->tabs && d->tabs->indexOf(page) >= 0) {
        d->tabs->removeTab(d->tabs->indexOf(page));
        delete page.data();
    }
    return true;
}

void StudioFrameworkService::addContextMenu(const ContextMenuSchema& menu) {
    d->menus[menu.getName()] = menu;
}

bool StudioFrameworkService::removeContextMenu(const std::string& menuName) {
    return d->menus.erase(menuName) != 0;
}

const ContextMenuSchema* StudioFrameworkService::getContextMenu(const std::string& menuName) const {
    const auto it = d->menus.find(menuName);
    return it == d->menus.end() ? nullptr : &it->second;
}

bool StudioFrameworkService::addDIGSchema(const std::string& menuName,
                                          const std::string& definition,
                                          TAVI::ErrorHolder& errors) {
    // Parse everything first: a bad line leaves the menu as it was.
    std::vector<std::pair<std::string, std::string>> items;
    std::string part;
    auto takePart = [&]() -> bool {
        const std::string line = trimmed(part);
        part.clear();
        if (line.empty())
            return true;
        if (line == "-") {
            items.emplace_back("-", std::string());
            return true;
        }
        const auto equals = line.find('=');
        const std::string label =
            equals == std::string::npos ? std::string() : trimmed(line.substr(0, equals));
        const std::string function =
            equals == std::string::npos ? std::string() : trimmed(line.substr(equals + 1));
        if (label.empty() || function.empty() || label == "-") {
            reportError(errors, TAVI_HERE, Messages::BadMenuDefinition, line);
            return false;
        }
        items.emplace_back(label, function);
        return true;
    };
    for (const char c : definition) {
        if (c == ';' || c == '\n') {
            if (!takePart())
                return false;
        } else {
            part += c;
        }
    }
    if (!takePart())
        return false;

    auto it = d->menus.find(menuName);
    if (it == d->menus.end())
        it = d->menus.emplace(menuName, ContextMenuSchema(menuName)).first;
    for (const auto& [label, function] : items) {
        if (label == "-")
            it->second.addSeparator();
        else
            it->second.addHostFunctionItem(label, function);
    }
    return true;
}

void StudioFrameworkService::addDIGSchema(const std::string& menuName,
                                          const std::string& definition) {
    TAVI::ErrorHolder ignored;
    addDIGSchema(menuName, definition, ignored);
}

int StudioFrameworkService::toScreenCoordinate(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
}

bool StudioFrameworkService::showContextMenu(const std::string& menuName, int x, int y,
                                             TAVI::ErrorHolder& errors) {
    const ContextMenuSchema* schema = getContextMenu(menuName);
    if (!schema) {
        reportError(errors, TAVI_HERE, Messages::ContextMenuNotFound, menuName);
        return false;
    }
    if (!d->window)
        return false;
    auto* menu = new QMenu(d->window);
    menu->setObjectName(QString::fromStdString(menuName));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const ContextMenuSchema::Item& item : schema->getItems()) {
        if (item.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromStdString(item.label));
        // Items are looked up again when chosen: the menu may have changed meanwhile.
        QObject::connect(
            action, &QAction::triggered, menu,
            [this, token = std::weak_ptr<int>(d->alive), menuName, label = item.label]() {
                if (token.expired())
                    return;
                TAVI::ErrorHolder ignored;
                executeContextMenuItem(menuName, label, ignored);
            });
    }
    menu->popup(QPoint(x, y));
    return true;
}

void StudioFrameworkService::showContextMenu(const std::string& menuName, int x, int y) {
    TAVI::ErrorHolder ignored;
    showContextMenu(menuName, x, y, ignored);
}

bool StudioFrameworkService::executeContextMenuItem(const std::string& menuName,
                                                    const std::string& label,
                                                    TAVI::ErrorHolder& errors) {
    const ContextMenuSchema* schema = getContextMenu(menuName);
    if (!schema) {
        reportError(errors, TAVI_HERE, Messages::ContextMenuNotFound, menuName);
        return false;
    }
    const ContextMenuSchema::Item* found = schema->findItem(label);
    if (!found) {
        reportError(errors, TAVI_HERE, Messages::ContextMenuItemNotFound, label);
        return false;
    }
    // A copy: the action may change or remove the menu.
    const ContextMenuSchema::Item item = *found;
    if (item.callback) {
        item.callback();
        return true;
    }
    vxArrayPtr menuArgument(vxCreateString(menuName.c_str()));
    vxArrayPtr labelArgument(vxCreateString(label.c_str()));
    if (inCallFcnWithTrap(item.hostFunction, {menuArgument.get(), labelArgument.get()}))
        return true;
    const TrappedError trapped = inGetLastTrappedError();
    errors.setError(TAVI::SimpleErrorDescription(
        TAVI_HERE, "Error in " + item.hostFunction + ": " + trapped.text, trapped.id));
    return false;
}

NOX::PdxInterface* StudioFrameworkService::getContextMenuSchema(const std::string& menuName,
                                                                const std::string& label,
                                                                TAVI::ErrorHolder& errors) const {
    const ContextMenuSchema* schema = getContextMenu(menuName);
    if (!schema) {
        reportError(errors, TAVI_HERE, Messages::ContextMenuNotFound, menuName);
        return nullptr;
    }
    std::string text;
    if (label.empty()) {
        text = schema->describe();
    } else {
        const ContextMenuSchema::Item* item = schema->findItem(label);
        if (!item) {
            reportError(errors, TAVI_HERE, Messages::ContextMenuItemNotFound, label);
            return nullptr;
        }
        text = schema->describeItem(*item);
    }
    return new NOX::PdxInterface(vxArrayPtr(vxCreateString(text.c_str())));
}

} // namespace PLATFORM
