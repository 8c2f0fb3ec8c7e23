#include "main/initialize.hpp"

#include "application/AbstractKiteDomain.hpp"
#include "application/DomainRegistry.hpp"
#include "application/MessageCatalog.hpp"
#include "bindings/KitePackage.hpp"
#include "editor/Editor.hpp"
#include "platform/datamodel/Diagram.hpp"
#include "platform/host/HostFunctions.hpp"
#include "platform/host/vxArray.hpp"
#include "platform/orbis/ModuleSetup.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/StudioComponentFactory.hpp"
#include "platform/orbis/StudioComponentFactoryManager.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/zu/zuAssert.hpp"
#include "studio/StudioApp.hpp"
#include "studio/components/ExplorerBarComponent.hpp"
#include "studio/components/GenericVELDDomain.hpp"
#include "studio/components/PropBrowserComponent.hpp"
#include "studio/components/TreeComponent.hpp"

#include <string>
#include <vector>

namespace {

constexpr const char* kSource = "main/initialize";
constexpr const char* kDropFunction = "private_cv_drop_block_on_invisible_sys";

bool initialized = false;
bool terminated = false;

const KiteHostFunction functions[] = {&KITE::dropBlock, nullptr};

const KiteHostFunctionTable functionTable = {reinterpret_cast<std::uint64_t>(functions),
                                             1235678267u, 1263849796u, 1u};

void assertNoError(const TAVI::ErrorHolder& erh, int line) {
    if (erh.hasError())
        zuReportAssertion("!erh.hasError()", kSource, line, erh.what());
}

// The dock components' factories; each type name makes its component class.
void registerComponentFactories() {
    struct Entry {
        std::string typeName;
        PLATFORM::StudioComponentFactory::Maker maker;
    };
    const std::vector<Entry> entries = {
        {KITE::TreeComponent::staticGetTypeName(),
         [](PLATFORM::Studio* studio, const std::string& name) -> PLATFORM::StudioComponentBase* {
             return KITE::TreeComponent::create(studio, name);
         }},
        {KITE::PropBrowserComponent::staticGetTypeName(),
         [](PLATFORM::Studio* studio, const std::string& name) -> PLATFORM::StudioComponentBase* {
             return KITE::PropBrowserComponent::create(studio, name);
         }},
        {KITE::ExplorerBarComponent::staticGetTypeName(),
         [](PLATFORM::Studio* studio, const std::string& name) -> PLATFORM::StudioComponentBase* {
             return KITE::ExplorerBarComponent::create(studio, name);
         }},
    };
    TAVI::ErrorHolder ignored; // a type name taken already keeps its first factory
    for (const Entry& entry : entries)
        PLATFORM::StudioComponentFactoryManager::instance()->registerOnce(
            TAVI::StringID(entry.typeName), entry.maker, ignored);
}

} // namespace

extern "C" {

void QSInitialize_kite() {
    initialize_kite();
}

void initialize_kite() {
    if (initialized)
        return;
    initialized = true;
    KITE::registerMessageCatalog();

    TAVI::ErrorHolder erh;
    initialize_orbis(erh);
    assertNoError(erh, __LINE__);
    initialize_tavi2();
    erh.clear();
    initialize_zeph(erh);
    assertNoError(erh, __LINE__);
    initialize_orbis_platform();

    KITE::mi::KITEPackageWrapper::addPackage();

    // A domain of that name registered already keeps its place.
    erh.clear();
    KITE::DomainRegistry::instance()->registerDomain(
        TAVI::Holder<KITE::AbstractKiteDomain>(KITE::GenericVELDDomain::get()), erh);
    registerComponentFactories();
}

int QSTerminate_kite() {
    const int was = terminated ? 1 : 0;
    terminated = true;
    return was;
}

const KiteHostFunction* QueryQSFcns_kite() {
    return functions;
}

const KiteHostFunctionTable* QueryQSFcnTable_kite() {
    return &functionTable;
}

} // extern "C"

namespace KITE {

void dropBlock(int, vxArray*[], int nrhs, const vxArray* prhs[]) {
    // Checked before anything is called: a drop with a bad point must not reach a studio.
    if (nrhs < 2 || !vxIsChar(prhs[0]) || vxIsObject(prhs[1]) || vxIsChar(prhs[1]) ||
        vxGetNumberOfElements(prhs[1]) < 2)
        vxErrMsgIdAndTxt("KITE:dropBlock:badArguments",
                         "The block-drop function takes the dropped item's path (a string) and "
                         "the drop point (two numbers)");
    char* text = vxArray2String(prhs[0]);
    const std::string path = text ? text : "";
    vxFree(text); // the host's copy goes at once
    const TAVI::GLPoint<double> global(prhs[1]->numberAt(0), prhs[1]->numberAt(1));

    for (const TAVI::Holder<PLATFORM::Studio>& studio : PLATFORM::Studio::allStudios()) {
        auto* app = dynamic_cast<StudioApp*>(studio->getApp());
        Editor* editor = app ? app->getActiveEditor() : nullptr;
        if (!editor)
            continue;
        AbstractKiteDomain* domain = editor->getStaticDomain();
        if (!domain || domain->getName().getString() != "CVDomain" || !editor->contains(global))
            continue;
        const TAVI::GLPoint<double> scene = editor->globalPt2ScenePt(global);
        vxArray* arguments[3] = {
            vxCreateString(path.c_str()),
            vxCreateString(editor->getDiagram().getFullName().c_str()),
            vxCreateDoubleMatrix_730(1, 2, vxREAL),
        };
        vxGetPr(arguments[2])[0] = scene.x;
        vxGetPr(arguments[2])[1] = scene.y;
        inCallFcnWithTrap(kDropFunction, {arguments[0], arguments[1], arguments[2]});
        for (vxArray* argument : arguments)
            vxDestroyArray(argument);
        studio->activateComponent(editor, true);
    }
}

} // namespace KITE
