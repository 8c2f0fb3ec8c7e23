#include "platform/orbis/AbstractDomainImpl.hpp"

#include "platform/host/PdxInterface.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioFrameworkService.hpp"
#include "platform/tavi/ErrorHolder.hpp"

#include <algorithm>
#include <cmath>

namespace PLATFORM {

namespace {

StudioFrameworkService* frameworkOf(Studio* studio)
{
    return studio ? studio->getFrameworkService() : nullptr;
}

int toPixel(double value)
{
    // Truncated like any other screen coordinate; out-of-range values clamp
    // rather than overflow.
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
}

} // namespace

AbstractDomainImpl::AbstractDomainImpl(Studio* studio) : studio(studio) {}

AbstractDomainImpl::~AbstractDomainImpl() = default;

void AbstractDomainImpl::activate() {}

void AbstractDomainImpl::deactivate() {}

bool AbstractDomainImpl::isSubDomain(AbstractDomainInterface*) const
{
    return false;
}

NOX::PdxInterface* AbstractDomainImpl::getContextMenuSchema(const std::string& menuName,
                                                            const std::string& item) const
{
    StudioFrameworkService* framework = frameworkOf(studio);
    if (!framework)
        return nullptr;
    TAVI::ErrorHolder errors;
    return framework->getContextMenuSchema(menuName, item, errors);
}

bool AbstractDomainImpl::showContextMenu(const std::string& menuName, double x, double y) const
{
    StudioFrameworkService* framework = frameworkOf(studio);
    if (!framework)
        return false;
    TAVI::ErrorHolder errors;
    return framework->showContextMenu(menuName, toPixel(x), toPixel(y), errors);
}

bool AbstractDomainImpl::executeContextMenuSchema(const std::string& menuName,
                                                  const std::string& item) const
{
    StudioFrameworkService* framework = frameworkOf(studio);
    if (!framework)
        return false;
    TAVI::ErrorHolder errors;
    return framework->executeContextMenuItem(menuName, item, errors);
}

} // namespace PLATFORM
