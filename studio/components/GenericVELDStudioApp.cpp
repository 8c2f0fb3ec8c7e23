#include "studio/components/GenericVELDStudioApp.hpp"

#include "application/DomainRegistry.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/TypedException.hpp"
#include "platform/veld/DomainRegistry.hpp"
#include "studio/components/DefaultGetIcon.hpp"
#include "studio/components/GenericVELDDomain.hpp"
#include "studio/components/GenericVELDPropBrowserDelegate.hpp"
#include "studio/components/GenericVELDTreeComponentDelegate.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/TreeComponent.hpp"
#include "utils/BasicCompositeFilter.hpp"

namespace KITE {

GenericVELDStudioApp::GenericVELDStudioApp() = default;

GenericVELDStudioApp::~GenericVELDStudioApp() = default;

StudioApp* GenericVELDStudioApp::spawnApplication() const {
    return new GenericVELDStudioApp;
}

VELD::ClassObject GenericVELDStudioApp::getCurrentSelectedElement() {
    auto* tree = dynamic_cast<TreeComponent*>(getComponent(treeComponentName));
    return tree ? tree->getSelected() : VELD::ClassObject();
}

const char* GenericVELDStudioApp::getFullyQualifiedNoxTypeName() const {
    return noxTypeName;
}

void GenericVELDStudioApp::initialize(TAVI::ErrorHolder&) {
    if (initialized || !getStudio())
        return;
    initialized = true;
    // Whoever made the window, the event services and the framework service must exist before
    // the components are docked and before the first model comes.
    preInitialize();
    setIconController(boost::shared_ptr<GetIconBase>(new DefaultGetIcon()));
    setFilterMode(studioFilterName, getDefaultFilterMode(studioFilterName));
    setFilter(contextPropertyFilterName, boost::shared_ptr<Util::FilterBase>(
                                             new Util::BasicCompositeFilter("Tree", false, false)));
    addComponents();
}

void GenericVELDStudioApp::terminate(TAVI::ErrorHolder&) {}

PLATFORM::AbstractDomainInterface*
GenericVELDStudioApp::getDefaultDomain(PLATFORM::Studio* studio) {
    return GenericVELDDomain::get()->createInterface(studio);
}

void GenericVELDStudioApp::setMetaUri(const std::string& uri) {
    setStudioTitle(titlePrefix + uri);
    metaUri = uri;
}

VELD::Model GenericVELDStudioApp::createNewModel() {
    return VELD::DomainRegistry::instance().createModel(metaUri);
}

bool GenericVELDStudioApp::opensInGenericStudio(const VELD::Model& model) {
    if (!model.isValid())
        return false;
    TAVI::ErrorHolder lookup;
    AbstractKiteDomain* domain = DomainRegistry::instance()->getStaticDomainForModel(model, lookup);
    return !domain || domain == GenericVELDDomain::get();
}

TAVI::Holder<GenericVELDStudioApp> GenericVELDStudioApp::openModel(const VELD::Model& model,
                                                                   TAVI::ErrorHolder& errors) {
    if (!model.isValid())
        throw TAVI::TypedException(TAVI_HERE,
                                   "GenericVELDStudioApp::openModel: the model is null or gone");
    TAVI::Holder<GenericVELDStudioApp> app(new GenericVELDStudioApp);
    PLATFORM::Studio::spawnStudio(TAVI::Holder<PLATFORM::Application>(app.get()), errors);
    if (errors.hasError() || !app->getStudio())
        return {};
    app->setMetaUri(model.getUri());
    app->addModel(model);
    return app;
}

void GenericVELDStudioApp::addComponents() {
    // The library's own components, whether or not the module registered them already.
    TAVI::ErrorHolder registration;
    TreeComponent::registerFactory(registration);
    PropBrowserComponent::registerFactory(registration);
    // Always new: a component of that name made by someone else is not this studio's.
    if (auto* tree = dynamic_cast<TreeComponent*>(
            createComponent(treeComponentName, treeComponentName, "DockWidget", "Left")))
        tree->setDelegate(new GenericVELDTreeComponentDelegate(getStudio()));
    if (auto* browser = dynamic_cast<PropBrowserComponent*>(createComponent(
            propBrowserComponentName, propBrowserComponentName, "DockWidget", "Left")))
        browser->setDelegate(new GenericVELDPropBrowserDelegate);
}

} // namespace KITE
