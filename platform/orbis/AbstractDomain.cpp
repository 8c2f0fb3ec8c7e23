#include "platform/orbis/AbstractDomain.hpp"

namespace PLATFORM {

AbstractDomain::~AbstractDomain() = default;

} // namespace PLATFORM
