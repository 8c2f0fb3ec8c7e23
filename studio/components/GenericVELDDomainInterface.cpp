#include "studio/components/GenericVELDDomainInterface.hpp"

#include "platform/orbis/Studio.hpp"
#include "platform/tavi/AbstractFactory.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "studio/components/GenericVELDDomain.hpp"
#include "studio/components/GenericVELDDomainImpl.hpp"

namespace KITE {

const char* const GenericVELDDomainInterface::noxTypeName = "KITE.GenericVELDDomain";

GenericVELDDomainInterface::GenericVELDDomainInterface(PLATFORM::Studio* studio)
    : KiteDomainInterface(studio) {
    if (!studio)
        return;
    const TAVI::StringID key(GenericVELDDomainImpl::key);
    PLATFORM::DomainImplFactory& factory = PLATFORM::Studio::getDomainFactory();
    if (!factory.hasCreator(key)) {
        using Creator = TAVI::ClassCreator<GenericVELDDomainImpl, PLATFORM::AbstractDomainImpl,
                                           PLATFORM::Studio*>;
        TAVI::ErrorHolder ignored; // only a creator registered meanwhile could refuse it
        factory.registerCreator(
            key, TAVI::Holder<PLATFORM::DomainImplFactory::Creator>(new Creator()), ignored);
    }
    genericImpl = dynamic_cast<GenericVELDDomainImpl*>(studio->getDomainImpl(key));
}

const char* GenericVELDDomainInterface::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

void GenericVELDDomainInterface::activate() {}

void GenericVELDDomainInterface::deactivate() {}

PLATFORM::AbstractDomain* GenericVELDDomainInterface::getDomain() const {
    return GenericVELDDomain::get();
}

AbstractKiteDomain* GenericVELDDomainInterface::getKiteDomain() const {
    return GenericVELDDomain::get();
}

AbstractKiteDomainImpl* GenericVELDDomainInterface::getKiteDomainImpl() const {
    return getStudio() ? genericImpl : nullptr; // the studio owns it
}

} // namespace KITE
