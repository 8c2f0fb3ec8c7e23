#include "application/AbstractKiteDomainInterface.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/AbstractKiteDomainImpl.hpp"

namespace KITE {

const char* const AbstractKiteDomainInterface::noxTypeName = "KITE.AbstractDomain";

AbstractKiteDomainInterface::AbstractKiteDomainInterface(PLATFORM::Studio* studio)
    : PLATFORM::DomainInterface(studio) {}

AbstractKiteDomainInterface::~AbstractKiteDomainInterface() = default;

const char* AbstractKiteDomainInterface::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

TAVI::StringID AbstractKiteDomainInterface::getName() const {
    return getKiteDomain()->getName();
}

TAVI::StringID AbstractKiteDomainInterface::getModelClassFullName() const {
    return getKiteDomain()->getModelClassFullName();
}

GlyphFactory* AbstractKiteDomainInterface::getGlyphFactory() const {
    return getKiteDomain()->getGlyphFactory();
}

void AbstractKiteDomainInterface::initializeEdgeCreationRuleSet() {
    getKiteDomain()->initializeEdgeCreationRuleSet();
}

void AbstractKiteDomainInterface::installTools(Editor* editor) const {
    getKiteDomain()->installTools(editor);
}

const boost::shared_ptr<GetIconBase>& AbstractKiteDomainInterface::getIconController() const {
    return getKiteDomain()->getIconController();
}

const boost::shared_ptr<ElementDescriberBase>&
AbstractKiteDomainInterface::getElementDescriber() const {
    return getKiteDomain()->getElementDescriber();
}

boost::shared_ptr<GetChildrenBase> AbstractKiteDomainInterface::getTreePopulator() {
    return getKiteDomain()->getTreePopulator();
}

Application* AbstractKiteDomainInterface::createApplication(const VELD::Model& model,
                                                            TAVI::ErrorHolder& errors) {
    AbstractKiteDomainImpl* impl = getKiteDomainImpl();
    return impl ? impl->createApplication(model, errors) : nullptr;
}

Editor* AbstractKiteDomainInterface::createEditor(const Diagram& diagram, std::string name,
                                                  TAVI::ErrorHolder& errors) {
    AbstractKiteDomainImpl* impl = getKiteDomainImpl();
    return impl ? impl->createEditor(diagram, std::move(name), errors) : nullptr;
}

const EdgeCreationRuleSet& AbstractKiteDomainInterface::getEdgeCreationRuleSet() const {
    return getKiteDomain()->getEdgeCreationRuleSet();
}

} // namespace KITE
