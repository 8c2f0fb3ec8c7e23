#include "platform/orbis/DomainInterface.hpp"

#include "platform/orbis/AbstractDomain.hpp"
#include "platform/orbis/Studio_p.hpp"

namespace PLATFORM {

DomainInterface::DomainInterface(Studio* studio) : studio(studio) {
    if (studio)
        studio->d_func()->frontsPointingHere.insert(this);
}

DomainInterface::~DomainInterface() {
    if (studio)
        studio->d_func()->frontsPointingHere.erase(this);
}

const char* DomainInterface::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

void DomainInterface::activate() {
    active = true;
}

void DomainInterface::deactivate() {
    active = false;
}

Util::MenuInterface DomainInterface::getMenuInterface() const {
    const AbstractDomain* domain = getDomain();
    return domain ? domain->getMenuInterface() : Util::MenuInterface();
}

bool DomainInterface::canCut() const {
    return false;
}
bool DomainInterface::canCopy() const {
    return false;
}
bool DomainInterface::canPaste() const {
    return false;
}
void DomainInterface::doCut() {}
void DomainInterface::doCopy() {}
void DomainInterface::doPaste() {}

} // namespace PLATFORM
