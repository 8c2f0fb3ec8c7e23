#include "platform/orbis/StudioComponentFactoryManager.hpp"

#include <utility>

namespace PLATFORM {

StudioComponentFactoryManager* StudioComponentFactoryManager::instance() {
    // Never destroyed: factories may be asked for components while other
    // process-wide objects shut down.
    static StudioComponentFactoryManager* manager = new StudioComponentFactoryManager;
    return manager;
}

StudioComponentBase*
StudioComponentFactoryManager::createComponent(const TAVI::StringID& typeName, Studio* studio,
                                               const std::string& name,
                                               TAVI::ErrorHolder& errors) const {
    const TAVI::Holder<StudioComponentFactory> factory = getObject(typeName);
    if (!factory) {
        reportError(errors, TAVI_HERE, Messages::ComponentTypeNotFound, typeName.getString());
        return nullptr;
    }
    StudioComponentBase* component = factory->create(studio, name);
    if (!component)
        reportError(errors, TAVI_HERE, Messages::ComponentNotCreated, typeName.getString());
    return component;
}

bool StudioComponentFactoryManager::registerOnce(const TAVI::StringID& typeName,
                                                 StudioComponentFactory::Maker maker,
                                                 TAVI::ErrorHolder& errors) {
    if (isRegistered(typeName))
        return true;
    return registerObject(TAVI::Holder<StudioComponentFactory>(
                              new StudioComponentFactory(typeName, std::move(maker))),
                          errors);
}

} // namespace PLATFORM
