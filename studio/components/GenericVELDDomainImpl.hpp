#pragma once

#include "application/AbstractKiteDomainImpl.hpp"
#include "studio/components/kite_generic_export.hpp"

namespace KITE {

// The generic domain's implementation in one studio, under the studio's factory key
// "KITE:GenericVELDDomain": applications for the studio's models, and no editors.
class KITE_GENERIC_EXPORT GenericVELDDomainImpl : public AbstractKiteDomainImpl {
public:
    static const char* const key; // "KITE:GenericVELDDomain"

    explicit GenericVELDDomainImpl(PLATFORM::Studio* studio);

    void activate() override;
    void deactivate() override;
    // True exactly for fronts of the generic domain.
    bool isSubDomain(PLATFORM::AbstractDomainInterface* domain) const override;
    // A new application observing the model for this studio; never reports an error.
    Application* createApplication(const VELD::Model& model, TAVI::ErrorHolder& errors) override;
    // The generic studio shows no diagrams: null, and no error.
    Editor* createEditor(const Diagram& diagram, std::string name,
                         TAVI::ErrorHolder& errors) override;
};

} // namespace KITE
