#pragma once

#include "platform/orbis/AbstractDomainImpl.hpp"

namespace KITE {

// A domain's implementation inside one studio (one per studio and factory key, owned by the
// studio): it runs the studio's context menus for the domain.
class AbstractKiteDomainImpl : public PLATFORM::AbstractDomainImpl {
public:
    explicit AbstractKiteDomainImpl(PLATFORM::Studio* studio) : PLATFORM::AbstractDomainImpl(studio) {}
    ~AbstractKiteDomainImpl() override = default;

    void activate() override = 0;
    void deactivate() override = 0;
    bool isSubDomain(PLATFORM::AbstractDomainInterface* domain) const override = 0;
};

} // namespace KITE
