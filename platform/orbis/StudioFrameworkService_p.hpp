// Private to platform/orbis/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/orbis/StudioFrameworkService.hpp"

#include <QPointer>

#include <map>
#include <memory>

class QDockWidget;
class QTabWidget;
class QWidget;

namespace PLATFORM {

class StudioWindow;

// Whether the component exists still: a caller may pass one it kept after the component went.
bool isLiveComponent(const StudioComponentBase* component);

// Where one component of the studio is, and what the framework made to hold it.
struct ComponentRecord {
    enum Kind { Unplaced, Docked, InTab, InStatusArea };

    TAVI::Holder<StudioComponentBase> component;
    Kind kind = Unplaced;
    int dockPosition = -1;
    QPointer<QDockWidget> dock; // owned by the window while docked
    QPointer<QWidget> tabPage;  // the page of its tab, owned by the tab widget
};

class StudioFrameworkServicePrivate {
public:
    StudioFrameworkServicePrivate(StudioFrameworkService* q, Studio* studio);

    ComponentRecord* find(const StudioComponentBase* component) const;
    ComponentRecord* findByName(const std::string& name) const;
    // The record of a component of this studio; reports PLATFORM_NullArgument or
    // PLATFORM_ComponentNotFound otherwise.
    ComponentRecord* require(const StudioComponentBase* component, const char* operation,
                             TAVI::ErrorHolder& errors) const;
    // The component's Qt widget; reports PLATFORM_NullArgument when it has none.
    QWidget* requireWidget(const ComponentRecord& record, const char* operation,
                           TAVI::ErrorHolder& errors) const;
    bool requireUnplaced(const ComponentRecord& record, TAVI::ErrorHolder& errors) const;
    bool checkTab(std::uint32_t index, TAVI::ErrorHolder& errors) const;
    bool takeIn(const TAVI::Holder<StudioComponentBase>& component, TAVI::ErrorHolder& errors);

    void placeInPage(ComponentRecord& record, QWidget* widget, QWidget* page);
    void detach(ComponentRecord& record);
    // The widget of an unplaced component that lives inside another widget
    // (an explorer bar inside its editor); null for a free-standing one.
    QWidget* embeddedWidget(const ComponentRecord& record) const;
    // Brings the component's visible flag up to date.
    void setProbe(ComponentRecord& record);
    // Takes the record out of the list, terminates its component and lets it go.
    void remove(ComponentRecord* record, TAVI::ErrorHolder& errors);
    std::string title(const ComponentRecord& record, const std::string& given) const;

    // Refuses new components once the studio is closing, closed or gone (PLATFORM_StudioClosed).
    bool checkOpen(TAVI::ErrorHolder& errors) const;

    StudioFrameworkService* q;
    Studio*
        studio; // not owned; null once the studio is gone (a script may hold the service longer)
    // Set when the studio starts closing: components it would take then would be terminated
    // at once, and one that adds another from its terminate would keep the close going for ever.
    bool closed = false;
    QPointer<StudioWindow> window;
    QPointer<QTabWidget> tabs;                             // the window's central widget
    std::vector<std::unique_ptr<ComponentRecord>> records; // in the order components came in
    std::map<std::string, ContextMenuSchema> menus;
    // While "TabCloseEvents" is being raised: a listener that asks for a tab to close then is
    // answered at once, not asked again (which would recurse without end).
    bool raisingTabClose = false;
    // Menus popped up earlier may outlive the service; their actions check this.
    std::shared_ptr<int> alive = std::make_shared<int>(0);
};

} // namespace PLATFORM
