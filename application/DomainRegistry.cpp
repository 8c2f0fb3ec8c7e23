#include "application/DomainRegistry.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/AbstractKiteDomainInterface.hpp"
#include "application/MessageCatalog.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/veld/Meta.hpp"

namespace KITE {

namespace {
TAVI::Holder<AbstractKiteDomainInterface> frontOf(const AbstractKiteDomain* domain,
                                                  PLATFORM::Studio* studio) {
    if (!domain)
        return {};
    return TAVI::Holder<AbstractKiteDomainInterface>(domain->createKiteInterface(studio));
}
} // namespace

DomainRegistry::DomainRegistry() = default;

DomainRegistry::~DomainRegistry() = default;

DomainRegistry* DomainRegistry::instance() {
    static DomainRegistry* registry = new DomainRegistry(); // lives until the process ends
    return registry;
}

void DomainRegistry::registerDomain(TAVI::Holder<AbstractKiteDomain> domain,
                                    TAVI::ErrorHolder& errors) {
    if (!domain) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, "");
        return;
    }
    // Both keys first: a domain that throws, or looks itself up, meanwhile finds nothing half made.
    const TAVI::StringID name = domain->getName();
    const TAVI::StringID modelType = domain->getModelClassFullName();
    if (name.isEmpty() || modelType.isEmpty()) {
        // Lookups with an unset name or of a model without a meta-model would find it.
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, name.getString());
        return;
    }
    if (byName.contains(name)) {
        reportError(errors, TAVI_HERE, Message::DomainAlreadyRegistered, name.getString());
        return;
    }
    byName.insert(name, domain);
    // The domain registered last owns a model type that two domains claim.
    byModelType.insert(modelType, domain.get());
}

void DomainRegistry::unregisterDomain(TAVI::Holder<AbstractKiteDomain> domain,
                                      TAVI::ErrorHolder& errors) {
    if (!domain) {
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, "");
        return;
    }
    const TAVI::StringID name = domain->getName();
    if (!byName.contains(name) || byName.value(name).get() != domain.get()) {
        // Not the domain registered under its name: the entries belong to another one.
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, name.getString());
        return;
    }
    const TAVI::StringID modelType = domain->getModelClassFullName();
    const std::size_t typesRemoved = byModelType.remove(modelType);
    const std::size_t namesRemoved = byName.remove(name);
    if (typesRemoved != 1 || namesRemoved != 1)
        reportError(errors, TAVI_HERE, Message::ErrorExecutingCommand, name.getString());
}

bool DomainRegistry::isRegistered(const TAVI::StringID& name) const {
    return byName.contains(name);
}

AbstractKiteDomain* DomainRegistry::getStaticDomain(const TAVI::StringID& name,
                                                    TAVI::ErrorHolder& errors) const {
    if (!byName.contains(name)) {
        reportError(errors, TAVI_HERE, Message::DomainNotFound, name.getString());
        return nullptr;
    }
    return byName.value(name).get();
}

AbstractKiteDomain* DomainRegistry::getStaticDomainForModelType(const TAVI::StringID& modelType,
                                                                TAVI::ErrorHolder& errors) const {
    if (!byModelType.contains(modelType)) {
        reportError(errors, TAVI_HERE, Message::DomainNotFoundForModelType, modelType.getString());
        return nullptr;
    }
    return byModelType.value(modelType);
}

AbstractKiteDomain* DomainRegistry::getStaticDomainForModel(const VELD::Model& model,
                                                            TAVI::ErrorHolder& errors) const {
    const TAVI::StringID own(model.getMetaModel().getQualifiedNameWithSeperator("."));
    if (AbstractKiteDomain* domain = getStaticDomainForModelType(own, errors))
        return domain;
    errors.clear();
    const TAVI::StringID generic(
        VELD::ImmutableModel::MetaClass().getQualifiedNameWithSeperator("."));
    return getStaticDomainForModelType(generic, errors);
}

TAVI::Holder<AbstractKiteDomainInterface>
DomainRegistry::getDomain(PLATFORM::Studio* studio, const TAVI::StringID& name,
                          TAVI::ErrorHolder& errors) const {
    return frontOf(getStaticDomain(name, errors), studio);
}

TAVI::Holder<AbstractKiteDomainInterface>
DomainRegistry::getDomainForModel(PLATFORM::Studio* studio, const VELD::Model& model,
                                  TAVI::ErrorHolder& errors) const {
    return frontOf(getStaticDomainForModel(model, errors), studio);
}

TAVI::Holder<AbstractKiteDomainInterface>
DomainRegistry::getDomainForModelType(PLATFORM::Studio* studio, const TAVI::StringID& modelType,
                                      TAVI::ErrorHolder& errors) const {
    return frontOf(getStaticDomainForModelType(modelType, errors), studio);
}

} // namespace KITE
