#pragma once

#include "application/kite_application_export.hpp"
#include "platform/tavi/GHash.hpp"
#include "platform/tavi/Holder.hpp"
#include "platform/tavi/StringID.hpp"
#include "platform/veld/Model.hpp"

namespace PLATFORM {
class Studio;
}
namespace TAVI {
class ErrorHolder;
}

namespace KITE {

class AbstractKiteDomain;
class AbstractKiteDomainInterface;

// The process-wide table of domains: by name, and by the model type each one edits. It holds
// one count of every registered domain. Lookups report catalog errors into the holder given;
// the per-studio lookups make a new front of the domain found.
class KITE_APPLICATION_EXPORT DomainRegistry {
public:
    static DomainRegistry* instance();

    void registerDomain(TAVI::Holder<AbstractKiteDomain> domain, TAVI::ErrorHolder& errors);
    void unregisterDomain(TAVI::Holder<AbstractKiteDomain> domain, TAVI::ErrorHolder& errors);
    bool isRegistered(const TAVI::StringID& name) const;

    AbstractKiteDomain* getStaticDomain(const TAVI::StringID& name,
                                        TAVI::ErrorHolder& errors) const;
    AbstractKiteDomain* getStaticDomainForModelType(const TAVI::StringID& modelType,
                                                    TAVI::ErrorHolder& errors) const;
    // The domain of the model's meta-model, else the one registered for "VELD.Model".
    AbstractKiteDomain* getStaticDomainForModel(const VELD::Model& model,
                                                TAVI::ErrorHolder& errors) const;

    TAVI::Holder<AbstractKiteDomainInterface> getDomain(PLATFORM::Studio* studio,
                                                        const TAVI::StringID& name,
                                                        TAVI::ErrorHolder& errors) const;
    TAVI::Holder<AbstractKiteDomainInterface> getDomainForModel(PLATFORM::Studio* studio,
                                                                const VELD::Model& model,
                                                                TAVI::ErrorHolder& errors) const;
    TAVI::Holder<AbstractKiteDomainInterface>
    getDomainForModelType(PLATFORM::Studio* studio, const TAVI::StringID& modelType,
                          TAVI::ErrorHolder& errors) const;

private:
    DomainRegistry();
    ~DomainRegistry();
    DomainRegistry(const DomainRegistry&) = delete;
    DomainRegistry& operator=(const DomainRegistry&) = delete;

    TAVI::GHash<TAVI::StringID, TAVI::Holder<AbstractKiteDomain>> byName;
    TAVI::GHash<TAVI::StringID, AbstractKiteDomain*> byModelType;
};

} // namespace KITE
