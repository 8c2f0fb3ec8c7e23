#include "studio/events/StudioEvents.hpp"

#include "platform/orbis/Studio.hpp"
#include "platform/tavi/CodeLocation.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/TypedException.hpp"

namespace KITE {

namespace {

// Makes the service of record E and registers it; an empty holder when the name is taken.
template <typename E>
TAVI::Holder<PLATFORM::StudioEventService<E>> registerService(PLATFORM::Studio& studio,
                                                              TAVI::ErrorHolder& errors) {
    TAVI::Holder<PLATFORM::StudioEventService<E>> service(
        new PLATFORM::StudioEventService<E>(StudioEventTraits<E>::serviceName));
    if (!studio.getServiceManager().registerObject(service, errors))
        return {}; // the refused service goes with this holder
    return service;
}

template <typename E>
void make(StudioEventServices& services, PLATFORM::Studio& studio, TAVI::ErrorHolder& errors) {
    services.get<E>() = registerService<E>(studio, errors);
}

} // namespace

StudioEventServices createStudioEventServices(PLATFORM::Studio* studio, TAVI::ErrorHolder& errors) {
    if (!studio)
        throw TAVI::TypedException(TAVI_HERE, "createStudioEventServices: the studio is null");

    StudioEventServices services;
    make<TreeSelectionChangedEvent>(services, *studio, errors);
    make<TransactionCompletedEvent>(services, *studio, errors);
    make<FilterModeChangedEvent>(services, *studio, errors);
    make<ActiveEditorChangedEvent>(services, *studio, errors);
    make<EditorSelectionChangedEvent>(services, *studio, errors);
    make<NavigateUpRequest>(services, *studio, errors);
    make<ModelAddedEvent>(services, *studio, errors);
    make<ModelRemovedEvent>(services, *studio, errors);
    make<EditorClosedEvent>(services, *studio, errors);
    make<StudioClosedEvent>(services, *studio, errors);
    return services;
}

} // namespace KITE
