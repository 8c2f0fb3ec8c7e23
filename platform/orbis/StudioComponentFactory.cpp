#include "platform/orbis/StudioComponentFactory.hpp"

#include "platform/orbis/StudioComponentBase.hpp"

#include <utility>

namespace PLATFORM {

StudioComponentFactory::StudioComponentFactory(const TAVI::StringID& typeName, Maker maker)
    : typeName(typeName), maker(std::move(maker)) {}

StudioComponentFactory::StudioComponentFactory(const TAVI::StringID& typeName)
    : typeName(typeName) {}

StudioComponentFactory::~StudioComponentFactory() = default;

StudioComponentBase* StudioComponentFactory::create(Studio* studio, const std::string& name) const {
    return maker ? maker(studio, name) : nullptr;
}

} // namespace PLATFORM
