#include "examples/blocks/BlocksDomainInterface.hpp"

#include "examples/blocks/BlocksDomain.hpp"

namespace Blocks {

const char* const BlocksDomainInterface::noxTypeName = "Blocks.Domain";

BlocksDomainInterface::BlocksDomainInterface(PLATFORM::Studio* studio)
    : KiteDomainInterface(studio) {}

const char* BlocksDomainInterface::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

PLATFORM::AbstractDomain* BlocksDomainInterface::getDomain() const {
    return BlocksDomain::get();
}

KITE::AbstractKiteDomain* BlocksDomainInterface::getKiteDomain() const {
    return BlocksDomain::get();
}

} // namespace Blocks
