#include "platform/orbis/AbstractDomainInterface.hpp"

namespace PLATFORM {

AbstractDomainInterface::~AbstractDomainInterface() = default;

} // namespace PLATFORM
