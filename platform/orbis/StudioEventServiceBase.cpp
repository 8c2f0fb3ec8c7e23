#include "platform/orbis/StudioEventServiceBase.hpp"

namespace PLATFORM {

StudioEventServiceBase::StudioEventServiceBase(const TAVI::StringID& name) : StudioService(name) {}

StudioEventServiceBase::~StudioEventServiceBase() = default;

const char* StudioEventServiceBase::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

} // namespace PLATFORM
