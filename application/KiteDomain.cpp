#include "application/KiteDomain.hpp"

#include "application/KiteDomainInterface.hpp"
#include "platform/tavi/Holder.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/DefaultGetChildren.hpp"
#include "studio/components/DefaultGetIcon.hpp"
#include "utils/BasicCompositeFilter.hpp"

namespace KITE {

KiteDomain::KiteDomain() = default;

KiteDomain* KiteDomain::get() {
    // The held count keeps the singleton alive whoever else lets go of it.
    static const TAVI::Holder<KiteDomain> domain(new KiteDomain());
    return domain.get();
}

PLATFORM::Util::MenuInterface KiteDomain::getMenuInterface() const {
    static const PLATFORM::Util::MenuInterface menus("studioGetDefaultInterface", "");
    return menus;
}

PLATFORM::AbstractDomainInterface* KiteDomain::createInterface(PLATFORM::Studio* studio) const {
    return new KiteDomainInterface(studio);
}

TAVI::StringID KiteDomain::getName() const {
    return TAVI::StringID("KITEDomain");
}

TAVI::StringID KiteDomain::getModelClassFullName() const {
    static const TAVI::StringID type("VELD.Model");
    return type;
}

GlyphFactory* KiteDomain::getGlyphFactory() const {
    return nullptr;
}

void KiteDomain::initializeEdgeCreationRuleSet() {}

const boost::shared_ptr<GetIconBase>& KiteDomain::getIconController() const {
    static const boost::shared_ptr<GetIconBase> icons(new DefaultGetIcon());
    return icons;
}

const boost::shared_ptr<ElementDescriberBase>& KiteDomain::getElementDescriber() const {
    static const boost::shared_ptr<ElementDescriberBase> describer(new DefaultElementDescriber());
    return describer;
}

boost::shared_ptr<GetChildrenBase> KiteDomain::getTreePopulator() {
    const boost::shared_ptr<Util::FilterBase> filter(
        new Util::BasicCompositeFilter("Tree", true, false));
    return boost::shared_ptr<GetChildrenBase>(
        new DefaultGetChildren(filter, std::string(), filter));
}

AbstractKiteDomainInterface* KiteDomain::createKiteInterface(PLATFORM::Studio* studio) const {
    return new KiteDomainInterface(studio);
}

} // namespace KITE
