#pragma once

#include "platform/orbis/StudioService.hpp"
#include "platform/orbis/orbis_export.hpp"

namespace NIMB {
class EmitterBase;
}

namespace PLATFORM {

// A studio service that carries one kind of event on a signal. The framework
// (or a script acting through it) can raise an event without knowing its
// record type: raiseDefault sends a default record.
class ORBIS_EXPORT StudioEventServiceBase : public StudioService {
public:
    explicit StudioEventServiceBase(const TAVI::StringID& name);
    ~StudioEventServiceBase() override;

    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.StudioEventService";

    const char* getFullyQualifiedNoxTypeName() const override;
    virtual void raiseDefault() = 0;
    virtual NIMB::EmitterBase& getEmitter() = 0;
};

} // namespace PLATFORM
