#pragma once

#include "application/AbstractKiteDomain.hpp"
#include "application/kite_application_export.hpp"

namespace KITE {

// The library's default domain ("KITEDomain", model type "VELD.Model"): no glyph factory, no
// edge rules, the default presentation. A process-wide singleton; the library does not
// register it.
class KITE_APPLICATION_EXPORT KiteDomain : public AbstractKiteDomain {
public:
    static KiteDomain* get();

    PLATFORM::Util::MenuInterface getMenuInterface() const override;
    PLATFORM::AbstractDomainInterface* createInterface(PLATFORM::Studio* studio) const override;
    TAVI::StringID getName() const override;
    TAVI::StringID getModelClassFullName() const override;
    GlyphFactory* getGlyphFactory() const override;
    void initializeEdgeCreationRuleSet() override;
    const boost::shared_ptr<GetIconBase>& getIconController() const override;
    const boost::shared_ptr<ElementDescriberBase>& getElementDescriber() const override;
    // A new populator each time: the filters of the "Tree" control.
    boost::shared_ptr<GetChildrenBase> getTreePopulator() override;
    AbstractKiteDomainInterface* createKiteInterface(PLATFORM::Studio* studio) const override;

protected:
    KiteDomain();
};

} // namespace KITE
