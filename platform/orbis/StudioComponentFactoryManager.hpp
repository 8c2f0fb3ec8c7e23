#pragma once

#include "platform/orbis/GenericRegistry.hpp"
#include "platform/orbis/StudioComponentFactory.hpp"
#include "platform/orbis/orbis_export.hpp"

namespace PLATFORM {

// The process-wide registry of component factories by type name. Made on
// first use, lives until the process ends; user-interface thread only.
class ORBIS_EXPORT StudioComponentFactoryManager : public GenericRegistry<StudioComponentFactory> {
public:
    static StudioComponentFactoryManager* instance();

    // A new component of the type, or null with PLATFORM_ComponentTypeNotFound
    // (no factory) or PLATFORM_ComponentNotCreated (the factory made none).
    StudioComponentBase* createComponent(const TAVI::StringID& typeName, Studio* studio,
                                         const std::string& name, TAVI::ErrorHolder& errors) const;
    // Registers a factory of the type that makes components with the maker, unless the type has
    // one already (then true, and the registered one stays): components register at first use.
    bool registerOnce(const TAVI::StringID& typeName, StudioComponentFactory::Maker maker,
                      TAVI::ErrorHolder& errors);

private:
    StudioComponentFactoryManager() = default;
};

} // namespace PLATFORM
