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
    return liveImpl();
}

KiteDomainImpl* KiteDomainInterface::liveImpl() const {
    return getStudio() ? impl : nullptr;
}

void KiteDomainInterface::showEditorContextMenu(int x, int y) const {
    if (KiteDomainImpl* live = liveImpl())
        live->showEditorContextMenu(x, y);
}

void KiteDomainInterface::executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                         const std::string& schema) const {
    if (KiteDomainImpl* live = liveImpl())
        live->executeEditorContextMenuSchema(element, schema);
}

NOX::PdxInterface*
KiteDomainInterface::getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                const std::string& schema) const {
    KiteDomainImpl* live = liveImpl();
    return live ? live->getEditorContextMenuSchema(element, schema) : nullptr;
}

bool KiteDomainInterface::isTreeComponentVisible() const {
    KiteDomainImpl* live = liveImpl();
    return live && live->isTreeComponentVisible();
}

void KiteDomainInterface::toggleTreeComponent() {
    if (KiteDomainImpl* live = liveImpl())
        live->toggleTreeComponent();
}

} // namespace KITE
