#include "studio/components/GenericVELDDomain.hpp"

#include "platform/tavi/Holder.hpp"
#include "studio/components/DefaultElementDescriber.hpp"
#include "studio/components/DefaultGetChildren.hpp"
#include "studio/components/DefaultGetIcon.hpp"
#include "studio/components/GenericVELDDomainInterface.hpp"
#include "utils/BasicCompositeFilter.hpp"

namespace KITE {

GenericVELDDomain::GenericVELDDomain() = default;

GenericVELDDomain* GenericVELDDomain::get() {
    // The held count keeps the singleton alive whoever else lets go of it.
    static const TAVI::Holder<GenericVELDDomain> domain(new GenericVELDDomain());
    return domain.get();
}

PLATFORM::Util::MenuInterface GenericVELDDomain::getMenuInterface() const {
    static const PLATFORM::Util::MenuInterface menus("getGenericVELDMenu", "GenericStudioPrivate");
    return menus;
}

PLATFORM::AbstractDomainInterface*
GenericVELDDomain::createInterface(PLATFORM::Studio* studio) const {
    return new GenericVELDDomainInterface(studio);
}

TAVI::StringID GenericVELDDomain::getName() const {
    static const TAVI::StringID name("GenericVELDDomain");
    return name;
}

TAVI::StringID GenericVELDDomain::getAppName() const {
    static const TAVI::StringID name("GenericVELD");
    return name;
}

TAVI::StringID GenericVELDDomain::getModelClassFullName() const {
    static const TAVI::StringID type("VELD.Model");
    return type;
}

GlyphFactory* GenericVELDDomain::getGlyphFactory() const {
    return nullptr;
}

void GenericVELDDomain::initializeEdgeCreationRuleSet() {}

const boost::shared_ptr<GetIconBase>& GenericVELDDomain::getIconController() const {
    static const boost::shared_ptr<GetIconBase> icons(new DefaultGetIcon());
    return icons;
}

const boost::shared_ptr<ElementDescriberBase>& GenericVELDDomain::getElementDescriber() const {
    static const boost::shared_ptr<ElementDescriberBase> describer(new DefaultElementDescriber());
    return describer;
}

boost::shared_ptr<GetChildrenBase> GenericVELDDomain::getTreePopulator() {
    const boost::shared_ptr<Util::FilterBase> filter(
        new Util::BasicCompositeFilter("Tree", true, false));
    return boost::shared_ptr<GetChildrenBase>(new DefaultGetChildren(filter, std::string()));
}

AbstractKiteDomainInterface*
GenericVELDDomain::createKiteInterface(PLATFORM::Studio* studio) const {
    return new GenericVELDDomainInterface(studio);
}

} // namespace KITE
