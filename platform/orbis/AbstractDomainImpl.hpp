#pragma once

#include "platform/orbis/orbis_export.hpp"

#include <string>

namespace NOX {
class PdxInterface;
}
namespace TAVI {
class ErrorHolder;
}

namespace PLATFORM {

class AbstractDomainInterface;
class Studio;

// A domain's implementation inside one studio: one per studio and factory key
// (Studio::getDomainImpl), owned by the studio. It reaches the studio's context
// menus; the menus themselves are kept by the studio's framework service.
class ORBIS_EXPORT AbstractDomainImpl {
public:
    explicit AbstractDomainImpl(Studio* studio);
    virtual ~AbstractDomainImpl();
    AbstractDomainImpl(const AbstractDomainImpl&) = delete;
    AbstractDomainImpl& operator=(const AbstractDomainImpl&) = delete;

    // Do nothing in the base.
    virtual void activate();
    virtual void deactivate();
    // Whether the front belongs to this domain; false in the base.
    virtual bool isSubDomain(AbstractDomainInterface* domain) const;

    // A host value describing the menu's items (all of them for an empty item
    // name, else that one), which the caller holds in a NOX::COSInterfacePtr;
    // null when the menu or item does not exist or the studio is gone.
    NOX::PdxInterface* getContextMenuSchema(const std::string& menuName,
                                            const std::string& item) const;
    // Pops up the menu at the global screen point; false when there is no such menu.
    bool showContextMenu(const std::string& menuName, double x, double y) const;
    // Runs one item of the menu; false when there is no such menu or item.
    bool executeContextMenuSchema(const std::string& menuName, const std::string& item) const;

    Studio* getStudio() const { return studio; }

private:
    Studio* studio; // not owned: the studio owns this object
};

} // namespace PLATFORM
