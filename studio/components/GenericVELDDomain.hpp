#pragma once

#include "application/AbstractKiteDomain.hpp"
#include "studio/components/kite_generic_export.hpp"

namespace KITE {

// The domain of the generic studio ("GenericVELDDomain", model type "VELD.Model"): it opens any
// model of the kernel, with no diagrams, no edge rules and the default presentation. A
// process-wide singleton, made on first use and never destroyed; initialize_kite registers it.
class KITE_GENERIC_EXPORT GenericVELDDomain : public AbstractKiteDomain {
public:
    static GenericVELDDomain* get();

    PLATFORM::Util::MenuInterface getMenuInterface() const override;
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override;
    TAVI::StringID getName() const override;               // "GenericVELDDomain"
    virtual TAVI::StringID getAppName() const;             // "GenericVELD"
    TAVI::StringID getModelClassFullName() const override; // "VELD.Model"
    GlyphFactory* getGlyphFactory() const override;        // null: no diagrams
    void initializeEdgeCreationRuleSet() override;         // no rules
    const boost::shared_ptr<GetIconBase>& getIconController() const override;
    const boost::shared_ptr<ElementDescriberBase>& getElementDescriber() const override;
    // A new populator each time: every property of the "Tree" family, read-only ones included.
    boost::shared_ptr<GetChildrenBase> getTreePopulator() override;
    AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const override;

protected:
    GenericVELDDomain();
};

} // namespace KITE
