#pragma once

#include "application/KiteDomainInterface.hpp"
#include "examples/blocks/kite_example_blocks_export.hpp"

namespace Blocks {

// The blocks domain's front in one studio ("Blocks.Domain"): what the studio and scripts ask
// about block models. It answers for BlocksDomain and shares the studio's default domain
// implementation (its applications and the editors' context menu).
class KITE_EXAMPLE_BLOCKS_EXPORT BlocksDomainInterface : public KITE::KiteDomainInterface {
public:
    static const char* const noxTypeName; // "Blocks.Domain"

    explicit BlocksDomainInterface(PLATFORM::Studio* studio);

    const char* getFullyQualifiedNoxTypeName() const override;
    PLATFORM::AbstractDomain* getDomain() const override;

protected:
    KITE::AbstractKiteDomain* getKiteDomain() const override;
};

} // namespace Blocks
