#pragma once

#include "application/KiteDomainInterface.hpp"
#include "studio/components/kite_generic_export.hpp"

namespace KITE {

class GenericVELDDomainImpl;

// The generic domain's front in one studio ("KITE.GenericVELDDomain"). Its applications and
// (absent) editors come from the studio's GenericVELDDomainImpl.
class KITE_GENERIC_EXPORT GenericVELDDomainInterface : public KiteDomainInterface {
public:
    static const char* const noxTypeName; // "KITE.GenericVELDDomain"

    explicit GenericVELDDomainInterface(PLATFORM::Studio* studio);

    const char* getFullyQualifiedNoxTypeName() const override;
    void activate() override;
    void deactivate() override;
    PLATFORM::AbstractDomain* getDomain() const override;

protected:
    AbstractKiteDomain* getKiteDomain() const override;
    AbstractKiteDomainImpl* getKiteDomainImpl() const override;

private:
    GenericVELDDomainImpl* genericImpl = nullptr; // not owned: the studio owns it
};

} // namespace KITE
