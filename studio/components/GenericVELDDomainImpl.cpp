#include "studio/components/GenericVELDDomainImpl.hpp"

#include "application/Application.hpp"
#include "studio/components/GenericVELDDomainInterface.hpp"

namespace KITE {

const char* const GenericVELDDomainImpl::key = "KITE:GenericVELDDomain";

GenericVELDDomainImpl::GenericVELDDomainImpl(PLATFORM::Studio* studio)
    : AbstractKiteDomainImpl(studio) {}

void GenericVELDDomainImpl::activate() {}

void GenericVELDDomainImpl::deactivate() {}

bool GenericVELDDomainImpl::isSubDomain(PLATFORM::AbstractDomainInterface* domain) const {
    return dynamic_cast<GenericVELDDomainInterface*>(domain) != nullptr;
}

Application* GenericVELDDomainImpl::createApplication(const VELD::Model& model,
                                                      TAVI::ErrorHolder&) {
    return new Application(model, getStudio());
}

Editor* GenericVELDDomainImpl::createEditor(const Diagram&, std::string, TAVI::ErrorHolder&) {
    return nullptr;
}

} // namespace KITE
