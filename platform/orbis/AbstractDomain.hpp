#pragma once

#include "platform/orbis/orbis_export.hpp"
#include "platform/orbis/util/MenuInterface.hpp"

namespace PLATFORM {

class AbstractDomainInterface;
class Studio;

// One kind of model as the framework sees it: how its menus are built, and the
// per-studio front it makes for each studio. Not counted itself: concrete
// domains add the count (or are process-wide singletons).
class ORBIS_EXPORT AbstractDomain {
public:
    virtual ~AbstractDomain();

    virtual Util::MenuInterface getMenuInterface() const = 0;
    // A new front for the studio; the caller owns it (hold it in a TAVI::Holder).
    virtual AbstractDomainInterface* createInterface(Studio* studio) const = 0;
};

} // namespace PLATFORM
