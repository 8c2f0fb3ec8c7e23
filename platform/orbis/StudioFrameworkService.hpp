#pragma once

#include "platform/orbis/ContextMenuSchema.hpp"
#include "platform/orbis/StudioService.hpp"
#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/Holder.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace NOX {
class PdxInterface;
}
namespace TAVI {
class ErrorHolder;
}

namespace PLATFORM {

class Studio;
class StudioComponentBase;
class StudioFrameworkServicePrivate;

// The service of one studio window that owns its components and places them:
// docks on four sides, tabs in the middle, the status area, the title, and
// the window's context menus. Registered in the studio as
// "StudioFrameworkService". Tab indices are unsigned; NoTab stands for none.
//
// A component is placed in at most one spot at a time. Placing needs a
// component of this studio that is not placed yet (detach it first); a tab
// holds one component, and replaceTab detaches what the tab showed (the
// component stays in the studio). When the user closes a tab the window's
// "TabCloseEvents" service is raised with the tab's index; if its listeners
// leave the tab there, the framework detaches the tab's component itself and
// drops the tab. Every failure goes into the caller's holder; nothing is
// changed then.
class ORBIS_EXPORT StudioFrameworkService : public StudioService {
public:
    static constexpr std::uint32_t NoTab = 0xFFFFFFFFu;
    enum DockPosition : int { Left = 0, Right = 1, Top = 2, Bottom = 3, OtherPosition = 5 };
    // Where placeComponent puts a component.
    enum Area : int {
        DockArea = 0,      // "DockWidget"
        TabArea = 1,       // "TabWidget"
        StatusArea = 2,    // "StatusWidget"
        InvisibleArea = 3, // "Invisible": not placed
        UnknownArea = 4,   // "Unknown": not placed
        OtherArea = 6      // any other string: not placed
    };

    // The values of placement strings, matched exactly first and then without
    // regard to ASCII case.
    static int areaValue(const std::string& area);
    static int positionValue(const std::string& position);

    explicit StudioFrameworkService(Studio* studio);
    ~StudioFrameworkService() override;
    StudioFrameworkService(const StudioFrameworkService&) = delete;
    StudioFrameworkService& operator=(const StudioFrameworkService&) = delete;

    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.StudioFrameworkService";

    const char* getFullyQualifiedNoxTypeName() const override;
    // Null once the studio is destroyed (a script may hold the service longer).
    Studio* getStudio() const;

    void setTitle(const std::string& title);
    std::string getTitle() const;

    // Components. createComponent makes one with the registered factory of the
    // type, initialises it and keeps it, unplaced. addComponent takes one made
    // elsewhere (for this studio) the same way. Names are unique in a studio.
    // A closed or destroyed studio takes no more components (PLATFORM_StudioClosed), nor
    // keeps one whose initialize closed it.
    StudioComponentBase* createComponent(const std::string& typeName, const std::string& name,
                                         TAVI::ErrorHolder& errors);
    bool addComponent(const TAVI::Holder<StudioComponentBase>& component,
                      TAVI::ErrorHolder& errors);
    StudioComponentBase* getComponent(const std::string& name, TAVI::ErrorHolder& errors) const;
    std::vector<StudioComponentBase*> getComponents() const;
    // Takes the component out of its spot, terminates it and lets it go.
    bool removeComponent(StudioComponentBase* component, TAVI::ErrorHolder& errors);

    // Placing. An empty title uses the component's display title.
    bool addDockWidget(StudioComponentBase* component, const std::string& title, int position,
                       TAVI::ErrorHolder& errors);
    // The new tab's index, or NoTab on failure.
    std::uint32_t addTab(StudioComponentBase* component, const std::string& title, bool makeCurrent,
                         TAVI::ErrorHolder& errors);
    bool replaceTab(StudioComponentBase* component, std::uint32_t index, TAVI::ErrorHolder& errors);
    // Replaces (and detaches) the component shown in the status area.
    bool setStatusWidget(StudioComponentBase* component, TAVI::ErrorHolder& errors);
    // Takes the component out of its spot; it stays in the studio. A
    // component that is not placed is left as it is (a widget its owner put
    // inside another widget stays there).
    bool detachComponent(StudioComponentBase* component, TAVI::ErrorHolder& errors);
    // Shows or hides its dock, or its widget in a tab, the status area or
    // inside another widget. A free-standing unplaced widget is never shown
    // as a window of its own.
    bool showComponent(StudioComponentBase* component, TAVI::ErrorHolder& errors);
    bool hideComponent(StudioComponentBase* component, TAVI::ErrorHolder& errors);
    // Places by strings: "DockWidget" docks at the position ("Left", "Right",
    // "Top", "Bottom"; any other is refused with PLATFORM_BadDockPosition),
    // "TabWidget" adds a tab that is not made current, "StatusWidget" makes it
    // the status area; every other area leaves the component unplaced (true).
    // Docks and tabs get the component's display title.
    bool placeComponent(StudioComponentBase* component, const std::string& area,
                        const std::string& position, TAVI::ErrorHolder& errors);
    // Gives the component's dock or tab the component's display title again, after what the
    // component shows changed; nothing for a component that is not placed there.
    bool retitleComponent(StudioComponentBase* component, TAVI::ErrorHolder& errors);
    bool isDocked(const StudioComponentBase* component) const;
    // The dock position of a docked component, or -1.
    int getDockPosition(const StudioComponentBase* component) const;
    StudioComponentBase* getStatusComponent() const;
    // A message in the status area, over its component, until the next message or for
    // timeoutMs (0: until the next); "" clears it. getStatusMessage is the one shown now.
    void showStatusMessage(const std::string& text, int timeoutMs = 0);
    std::string getStatusMessage() const;

    // Tabs.
    std::uint32_t getTabCount() const;
    // The components of the tab, in the order they were placed; empty with an error for a bad
    // index.
    std::vector<StudioComponentBase*> getTabComponents(std::uint32_t index,
                                                       TAVI::ErrorHolder& errors) const;
    // NoTab when the component is not in a tab (no error); an error for a component not of this
    // studio.
    std::uint32_t getTabIndex(const StudioComponentBase* component,
                              TAVI::ErrorHolder& errors) const;
    bool setTabTitle(std::uint32_t index, const std::string& title, TAVI::ErrorHolder& errors);
    std::string getTabTitle(std::uint32_t index, TAVI::ErrorHolder& errors) const;
    bool setCurrentTab(std::uint32_t index, TAVI::ErrorHolder& errors);
    std::uint32_t getCurrentTabIndex(TAVI::ErrorHolder& errors) const;
    // What the user's close button does: raises "TabCloseEvents" with the index, then drops
    // the tab if its listeners left it there. Asked by a listener while the event is raised,
    // it drops the tab without raising the event again.
    bool requestTabClose(std::uint32_t index, TAVI::ErrorHolder& errors);

    // Context menus. A menu is a ContextMenuSchema kept under its name.
    // addContextMenu replaces a menu of the same name.
    void addContextMenu(const ContextMenuSchema& menu);
    bool removeContextMenu(const std::string& menuName);
    const ContextMenuSchema* getContextMenu(const std::string& menuName) const;
    // A screen coordinate given as a double (by a script or a domain): truncated, clamped to
    // +/-1e9, and 0 when not finite, so that no value converts to int undefined.
    static int toScreenCoordinate(double value);
    // Adds items to a menu (making it when needed) from lines of
    // "label=hostFunction" separated by ';' or new lines; "-" adds a separator.
    bool addDIGSchema(const std::string& menuName, const std::string& definition,
                      TAVI::ErrorHolder& errors);
    void addDIGSchema(const std::string& menuName, const std::string& definition);
    // Pops up the menu at the global point (it stays up until an item is chosen or it is
    // dismissed).
    bool showContextMenu(const std::string& menuName, int x, int y, TAVI::ErrorHolder& errors);
    void showContextMenu(const std::string& menuName, int x, int y);
    bool executeContextMenuItem(const std::string& menuName, const std::string& label,
                                TAVI::ErrorHolder& errors);
    // A host value (a character array, one line per item as ContextMenuSchema::describe
    // gives them; only the named item when label is not empty) that the caller holds in a
    // NOX::COSInterfacePtr; null with an error for an unknown menu or item.
    NOX::PdxInterface* getContextMenuSchema(const std::string& menuName, const std::string& label,
                                            TAVI::ErrorHolder& errors) const;

private:
    friend class Studio;
    friend class StudioPrivate;
    friend class StudioFrameworkServicePrivate;
    // Terminates and lets go of every component, the last made first (the studio is closing).
    void removeAllComponents(TAVI::ErrorHolder& errors);
    StudioFrameworkServicePrivate* d_func() { return d; }
    const StudioFrameworkServicePrivate* d_func() const { return d; }
    StudioFrameworkServicePrivate* d; // owned
};

} // namespace PLATFORM
