#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"

#include <string>

namespace TAVI {
class AbstractUndoRedoCommandTarget;
class ErrorHolder;
class GLMimeData2;
class GLWidget2;
} // namespace TAVI

namespace PLATFORM {

class AbstractDomainInterface;
class Studio;

// A piece of a studio window (a dock, a tab, the status area): the dock
// components and the editors derive from it. Counted: made with new (usually
// by a StudioComponentFactory) and held by the studio's framework service,
// which places its widget, calls initialize after making it and terminate
// before letting it go. The component owns its widget; the framework only
// borrows it while the component is placed.
class ORBIS_EXPORT StudioComponentBase : public TAVI::ReferencedTemplate<unsigned int>,
                                         public NIMB::Listener,
                                         public NOX::Wrappable {
public:
    StudioComponentBase(Studio* studio, const std::string& name);
    ~StudioComponentBase() override;
    StudioComponentBase(const StudioComponentBase&) = delete;
    StudioComponentBase& operator=(const StudioComponentBase&) = delete;

    // Both do nothing in the base.
    virtual void initialize(TAVI::ErrorHolder& errors);
    virtual void terminate(TAVI::ErrorHolder& errors);
    // The widget the framework places; null while the component has none.
    virtual TAVI::GLWidget2* getWidget() = 0;
    // The title of its dock or tab when the caller gives none; the name in the base.
    virtual std::string getDisplayTitle() const;
    // The widget that takes the focus when the component is shown; getWidget() in the base.
    virtual TAVI::GLWidget2* getDefaultFocusWidget();
    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.StudioComponent";
    const char* getFullyQualifiedNoxTypeName() const override;
    // The type name it is made under; the name in the base.
    virtual std::string getTypeName() const;
    // Whether a drop of that data is welcome; false in the base.
    virtual bool canAccept(const TAVI::GLMimeData2* mimeData) const;
    // The commands target of the component; null in the base (it has no undo).
    virtual TAVI::AbstractUndoRedoCommandTarget* getUndoRedoTarget();

    void setDomain(const TAVI::Holder<AbstractDomainInterface>& domain);
    AbstractDomainInterface* getDomain() const;

    // True while the component is placed in its window (dock, tab, status
    // area) and not hidden. Being in a window that is itself not on screen
    // does not matter.
    bool isVisible() const;

    const std::string& getName() const { return name; }
    // Null once the studio is destroyed (a script may hold the component longer).
    Studio* getStudio() const { return studio; }

private:
    friend class Studio;
    friend class StudioFrameworkService;
    friend class StudioFrameworkServicePrivate;
    Studio* studio; // not owned; null once the studio is gone
    std::string name;
    TAVI::Holder<AbstractDomainInterface> domain;
    bool shown = false; // kept by the framework service
};

} // namespace PLATFORM
