#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"

namespace PLATFORM {

// A named service of one studio window, kept in the studio's service registry
// (Studio::getServiceManager). Counted: made with new, held by TAVI::Holder.
class ORBIS_EXPORT StudioService : public TAVI::ReferencedTemplate<unsigned int>,
                                   public NOX::Wrappable {
public:
    explicit StudioService(const TAVI::StringID& name);
    ~StudioService() override;
    StudioService(const StudioService&) = delete;
    StudioService& operator=(const StudioService&) = delete;

    const TAVI::StringID& getName() const { return name; }
    // The host class of its objects.
    static constexpr const char* noxTypeName = "ORB.StudioService";
    const char* getFullyQualifiedNoxTypeName() const override;

private:
    TAVI::StringID name;
};

} // namespace PLATFORM
