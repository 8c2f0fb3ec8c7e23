#include "platform/orbis/StudioComponentBase.hpp"

#include "platform/orbis/AbstractDomainInterface.hpp"
#include "platform/orbis/Studio_p.hpp"

namespace PLATFORM {

StudioComponentBase::StudioComponentBase(Studio* studio, const std::string& name)
    : studio(studio), name(name)
{
    if (studio)
        studio->d_func()->componentsPointingHere.insert(this);
}

StudioComponentBase::~StudioComponentBase()
{
    if (studio)
        studio->d_func()->componentsPointingHere.erase(this);
}

void StudioComponentBase::initialize(TAVI::ErrorHolder&) {}

void StudioComponentBase::terminate(TAVI::ErrorHolder&) {}

std::string StudioComponentBase::getDisplayTitle() const
{
    return name;
}

TAVI::GLWidget2* StudioComponentBase::getDefaultFocusWidget()
{
    return getWidget();
}

const char* StudioComponentBase::getFullyQualifiedNoxTypeName() const
{
    return noxTypeName;
}

std::string StudioComponentBase::getTypeName() const
{
    return name;
}

bool StudioComponentBase::canAccept(const TAVI::GLMimeData2*) const
{
    return false;
}

TAVI::AbstractUndoRedoCommandTarget* StudioComponentBase::getUndoRedoTarget()
{
    return nullptr;
}

void StudioComponentBase::setDomain(const TAVI::Holder<AbstractDomainInterface>& newDomain)
{
    domain = newDomain;
}

AbstractDomainInterface* StudioComponentBase::getDomain() const
{
    return domain.get();
}

bool StudioComponentBase::isVisible() const
{
    return shown;
}

} // namespace PLATFORM
