#include "application/KiteDomainInterface.hpp"

#include "application/KiteDomain.hpp"
#include "application/KiteDomainImpl.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/AbstractFactory.hpp"
#include "platform/tavi/ErrorHolder.hpp"

namespace KITE {

const char* const KiteDomainInterface::noxTypeName = "KITE.Domain";

KiteDomainInterface::KiteDomainInterface(PLATFORM::Studio* studio)
    : AbstractKiteDomainInterface(studio) {
    if (!studio)
        return;
    const TAVI::StringID key(KiteDomainImpl::key);
    PLATFORM::DomainImplFactory& factory = PLATFORM::Studio::getDomainFactory();
    if (!factory.hasCreator(key)) {
        using Creator =
            TAVI::ClassCreator<KiteDomainImpl, PLATFORM::AbstractDomainImpl, PLATFORM::Studio*>;
        TAVI::ErrorHolder ignored; // only a creator registered meanwhile could refuse it
        factory.registerCreator(
            key, TAVI::Holder<PLATFORM::DomainImplFactory::Creator>(new Creator()), ignored);
    }
    impl = dynamic_cast<KiteDomainImpl*>(studio->getDomainImpl(key));
}

const char* KiteDomainInterface::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

void KiteDomainInterface::activate() {}

void KiteDomainInterface::deactivate() {}

PLATFORM::AbstractDomain* KiteDomainInterface::getDomain() const {
    return KiteDomain::get();
}

AbstractKiteDomain* KiteDomainInterface::getKiteDomain() const {
    return KiteDomain::get();
}

AbstractKiteDomainImpl* KiteDomainInterface::getKiteDomainImpl() const {
    return impl;
}

void KiteDomainInterface::showEditorContextMenu(int x, int y) const {
    if (impl)
        impl->showEditorContextMenu(x, y);
}

void KiteDomainInterface::executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                         const std::string& schema) const {
    if (impl)
        impl->executeEditorContextMenuSchema(element, schema);
}

NOX::PdxInterface*
KiteDomainInterface::getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                const std::string& schema) const {
    return impl ? impl->getEditorContextMenuSchema(element, schema) : nullptr;
}

bool KiteDomainInterface::isTreeComponentVisible() const {
    return impl && impl->isTreeComponentVisible();
}

void KiteDomainInterface::toggleTreeComponent() {
    if (impl)
        impl->toggleTreeComponent();
}

} // namespace KITE
