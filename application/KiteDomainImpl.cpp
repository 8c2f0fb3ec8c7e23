#include "application/KiteDomainImpl.hpp"

#include "application/Application.hpp"
#include "application/KiteDomainInterface.hpp"
#include "application/StudioAppLink.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentBase.hpp"
#include "platform/tavi/ErrorHolder.hpp"

namespace KITE {

namespace {
constexpr const char* kTreeComponent = "KITE tree component";
constexpr const char* kEditorContextMenu = "EditorContextMenu";
} // namespace

const char* const KiteDomainImpl::key = "KITE:Domain";

KiteDomainImpl::KiteDomainImpl(PLATFORM::Studio* studio) : AbstractKiteDomainImpl(studio) {}

void KiteDomainImpl::activate() {}

void KiteDomainImpl::deactivate() {}

bool KiteDomainImpl::isSubDomain(PLATFORM::AbstractDomainInterface* domain) const {
    return dynamic_cast<KiteDomainInterface*>(domain) != nullptr;
}

Application* KiteDomainImpl::createApplication(const VELD::Model& model, TAVI::ErrorHolder&) {
    return new Application(model, getStudio());
}

Editor* KiteDomainImpl::createEditor(const Diagram&, std::string, TAVI::ErrorHolder&) {
    return nullptr;
}

void KiteDomainImpl::showEditorContextMenu(int x, int y) const {
    showContextMenu(kEditorContextMenu, static_cast<double>(x), static_cast<double>(y));
}

void KiteDomainImpl::executeEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                                    const std::string& schema) const {
    StudioAppLink* app = StudioAppLink::of(getStudio());
    if (app && app->setActiveEditorContextMenuTarget(element))
        executeContextMenuSchema(kEditorContextMenu, schema);
}

NOX::PdxInterface*
KiteDomainImpl::getEditorContextMenuSchema(const ImmutableDiagramElement& element,
                                           const std::string& schema) const {
    StudioAppLink* app = StudioAppLink::of(getStudio());
    if (!app || !app->setActiveEditorContextMenuTarget(element))
        return nullptr;
    return getContextMenuSchema(kEditorContextMenu, schema);
}

bool KiteDomainImpl::isTreeComponentVisible() const {
    TAVI::ErrorHolder ignored;
    PLATFORM::StudioComponentBase* tree =
        getStudio() ? getStudio()->getComponent(kTreeComponent, ignored) : nullptr;
    return tree && tree->isVisible();
}

void KiteDomainImpl::toggleTreeComponent() {
    TAVI::ErrorHolder ignored;
    if (getStudio() && getStudio()->getComponent(kTreeComponent, ignored))
        getStudio()->toggleComponent(kTreeComponent, ignored);
}

} // namespace KITE
