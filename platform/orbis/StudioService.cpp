#include "platform/orbis/StudioService.hpp"

namespace PLATFORM {

StudioService::StudioService(const TAVI::StringID& name) : name(name) {}

StudioService::~StudioService() = default;

const char* StudioService::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

} // namespace PLATFORM
