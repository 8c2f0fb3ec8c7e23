#include "application/AbstractKiteDomain.hpp"

namespace KITE {

AbstractKiteDomain::AbstractKiteDomain() = default;

AbstractKiteDomain::~AbstractKiteDomain() = default;

} // namespace KITE
