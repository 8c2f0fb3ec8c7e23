#pragma once

#include "platform/orbis/AbstractDomainInterface.hpp"
#include "platform/orbis/orbis_export.hpp"

namespace PLATFORM {

class Studio;

// The usual base of a domain front: keeps its studio, takes its menus from the
// domain, and offers no clipboard operations (can* are false, do* do nothing).
class ORBIS_EXPORT DomainInterface : public AbstractDomainInterface {
public:
    explicit DomainInterface(Studio* studio);
    ~DomainInterface() override;
    DomainInterface(const DomainInterface&) = delete;
    DomainInterface& operator=(const DomainInterface&) = delete;

    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.DomainInterface";

    const char* getFullyQualifiedNoxTypeName() const override;
    void activate() override;
    void deactivate() override;
    // The domain's menu interface; an empty one when there is no domain.
    Util::MenuInterface getMenuInterface() const override;
    bool canCut() const override;
    bool canCopy() const override;
    bool canPaste() const override;
    void doCut() override;
    void doCopy() override;
    void doPaste() override;

    // Null once the studio is destroyed (a script may hold the front longer).
    Studio* getStudio() const { return studio; }
    bool isActive() const { return active; }

private:
    friend class Studio;
    Studio* studio; // not owned; null once the studio is gone
    bool active = false;
};

} // namespace PLATFORM
