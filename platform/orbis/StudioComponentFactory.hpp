#pragma once

#include "platform/orbis/orbis_export.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"
#include "platform/tavi/StringID.hpp"

#include <functional>
#include <string>

namespace PLATFORM {

class Studio;
class StudioComponentBase;

// Makes the components of one type name for any studio. Counted; registered
// with StudioComponentFactoryManager::instance() under its type name.
class ORBIS_EXPORT StudioComponentFactory : public TAVI::ReferencedTemplate<unsigned int> {
public:
    using Maker = std::function<StudioComponentBase*(Studio* studio, const std::string& name)>;

    // A factory that calls maker; an empty maker makes nothing.
    StudioComponentFactory(const TAVI::StringID& typeName, Maker maker);
    ~StudioComponentFactory() override;
    StudioComponentFactory(const StudioComponentFactory&) = delete;
    StudioComponentFactory& operator=(const StudioComponentFactory&) = delete;

    const TAVI::StringID& getName() const { return typeName; }
    // A new component the caller holds, or null when none can be made.
    virtual StudioComponentBase* create(Studio* studio, const std::string& name) const;

protected:
    explicit StudioComponentFactory(const TAVI::StringID& typeName);

private:
    TAVI::StringID typeName;
    Maker maker;
};

} // namespace PLATFORM
