#include "platform/orbis/AbstractDomainImpl.hpp"

#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"

namespace PLATFORM {

namespace {

StudioFrameworkService* frameworkOf(Studio* studio) {
    return studio ? studio->getFrameworkService() : nullptr;
}

} // namespace

AbstractDomainImpl::AbstractDomainImpl(Studio* studio) : studio(studio) {}

AbstractDomainImpl::~AbstractDomainImpl() = default;

void AbstractDomainImpl::activate() {}

void AbstractDomainImpl::deactivate() {}

bool AbstractDomainImpl::isSubDomain(AbstractDomainInterface*) const {
    return false;
}

NOX::PdxInterface* AbstractDomainImpl::getContextMenuSchema(const std::string& menuName,
                                                            const std::string& item) const {
    StudioFrameworkService* framework = frameworkOf(studio);
    if (!framework)
        return nullptr;
    TAVI::ErrorHolder errors;
    return framework->getContextMenuSchema(menuName, item, errors);
}

bool AbstractDomainImpl::showContextMenu(const std::string& menuName, double x, double y) const {
    StudioFrameworkService* framework = frameworkOf(studio);
    if (!framework)
        return false;
    TAVI::ErrorHolder errors;
    return framework->showContextMenu(menuName, StudioFrameworkService::toScreenCoordinate(x),
                                      StudioFrameworkService::toScreenCoordinate(y), errors);
}

bool AbstractDomainImpl::executeContextMenuSchema(const std::string& menuName,
                                                  const std::string& item) const {
    StudioFrameworkService* framework = frameworkOf(studio);
    if (!framework)
        return false;
    TAVI::ErrorHolder errors;
    return framework->executeContextMenuItem(menuName, item, errors);
}

} // namespace PLATFORM
