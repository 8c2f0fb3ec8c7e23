#pragma once

// The ten studio events through which the components of one studio window talk, the names of
// their services, and the creation of those services for a window.

#include "platform/orbis/StudioEventService.hpp"
#include "platform/tavi/Holder.hpp"
#include "studio/events/ActiveEditorChangedEvent.hpp"
#include "studio/events/EditorClosedEvent.hpp"
#include "studio/events/EditorSelectionChangedEvent.hpp"
#include "studio/events/FilterModeChangedEvent.hpp"
#include "studio/events/ModelAddedEvent.hpp"
#include "studio/events/ModelRemovedEvent.hpp"
#include "studio/events/NavigateUpRequest.hpp"
#include "studio/events/StudioClosedEvent.hpp"
#include "studio/events/TransactionCompletedEvent.hpp"
#include "studio/events/TreeSelectionChangedEvent.hpp"
#include "studio/events/kite_studio_events_export.hpp"

#include <type_traits>

namespace PLATFORM {
class Studio;
}

namespace TAVI {
class ErrorHolder;
}

namespace KITE {

// The names under which a studio window's service registry holds the event services.
inline constexpr const char* kTransactionCompletedServiceName = "KITE:TransactionCompleted";
// Not "KITE:TreeSelectionChanged": scripts and clients know the tree's selection by this name.
inline constexpr const char* kTreeSelectionChangedServiceName = "KITE:SelectionChanged";
inline constexpr const char* kFilterModeChangedServiceName = "KITE:FilterModeChanged";
inline constexpr const char* kActiveEditorChangedServiceName = "KITE:ActiveEditorChanged";
inline constexpr const char* kEditorSelectionChangedServiceName = "KITE:EditorSelectionChanged";
inline constexpr const char* kNavigateUpRequestServiceName = "KITE:NavigateUpRequest";
inline constexpr const char* kModelAddedServiceName = "KITE:ModelAdded";
inline constexpr const char* kModelRemovedServiceName = "KITE:ModelRemoved";
inline constexpr const char* kEditorClosedServiceName = "KITE:EditorClosed";
inline constexpr const char* kStudioClosedServiceName = "KITE:StudioClosed";

using TransactionCompletedEventService = PLATFORM::StudioEventService<TransactionCompletedEvent>;
using TreeSelectionChangedEventService = PLATFORM::StudioEventService<TreeSelectionChangedEvent>;
using FilterModeChangedEventService = PLATFORM::StudioEventService<FilterModeChangedEvent>;
using ActiveEditorChangedEventService = PLATFORM::StudioEventService<ActiveEditorChangedEvent>;
using EditorSelectionChangedEventService =
    PLATFORM::StudioEventService<EditorSelectionChangedEvent>;
using NavigateUpRequestService = PLATFORM::StudioEventService<NavigateUpRequest>;
using ModelAddedEventService = PLATFORM::StudioEventService<ModelAddedEvent>;
using ModelRemovedEventService = PLATFORM::StudioEventService<ModelRemovedEvent>;
using EditorClosedEventService = PLATFORM::StudioEventService<EditorClosedEvent>;
using StudioClosedEventService = PLATFORM::StudioEventService<StudioClosedEvent>;

// The service name of each record, for code written once for all ten events.
template <typename E> struct StudioEventTraits; // only the ten records have one

#define KITE_STUDIO_EVENT_TRAITS(Record, Name)                                                     \
    template <> struct StudioEventTraits<Record> {                                                 \
        static constexpr const char* serviceName = Name;                                           \
    };
KITE_STUDIO_EVENT_TRAITS(TransactionCompletedEvent, kTransactionCompletedServiceName)
KITE_STUDIO_EVENT_TRAITS(TreeSelectionChangedEvent, kTreeSelectionChangedServiceName)
KITE_STUDIO_EVENT_TRAITS(FilterModeChangedEvent, kFilterModeChangedServiceName)
KITE_STUDIO_EVENT_TRAITS(ActiveEditorChangedEvent, kActiveEditorChangedServiceName)
KITE_STUDIO_EVENT_TRAITS(EditorSelectionChangedEvent, kEditorSelectionChangedServiceName)
KITE_STUDIO_EVENT_TRAITS(NavigateUpRequest, kNavigateUpRequestServiceName)
KITE_STUDIO_EVENT_TRAITS(ModelAddedEvent, kModelAddedServiceName)
KITE_STUDIO_EVENT_TRAITS(ModelRemovedEvent, kModelRemovedServiceName)
KITE_STUDIO_EVENT_TRAITS(EditorClosedEvent, kEditorClosedServiceName)
KITE_STUDIO_EVENT_TRAITS(StudioClosedEvent, kStudioClosedServiceName)
#undef KITE_STUDIO_EVENT_TRAITS

// The event services of one studio window, as made by createStudioEventServices. An empty
// holder means that no service of this window carries that event: its name was taken.
struct KITE_STUDIO_EVENTS_EXPORT StudioEventServices {
    TAVI::Holder<TransactionCompletedEventService> transactionCompleted;
    TAVI::Holder<TreeSelectionChangedEventService> treeSelectionChanged;
    TAVI::Holder<FilterModeChangedEventService> filterModeChanged;
    TAVI::Holder<ActiveEditorChangedEventService> activeEditorChanged;
    TAVI::Holder<EditorSelectionChangedEventService> editorSelectionChanged;
    TAVI::Holder<NavigateUpRequestService> navigateUpRequest;
    TAVI::Holder<ModelAddedEventService> modelAdded;
    TAVI::Holder<ModelRemovedEventService> modelRemoved;
    TAVI::Holder<EditorClosedEventService> editorClosed;
    TAVI::Holder<StudioClosedEventService> studioClosed;

    // The holder of the service of record E.
    template <typename E> TAVI::Holder<PLATFORM::StudioEventService<E>>& get() {
        if constexpr (std::is_same_v<E, TransactionCompletedEvent>)
            return transactionCompleted;
        else if constexpr (std::is_same_v<E, TreeSelectionChangedEvent>)
            return treeSelectionChanged;
        else if constexpr (std::is_same_v<E, FilterModeChangedEvent>)
            return filterModeChanged;
        else if constexpr (std::is_same_v<E, ActiveEditorChangedEvent>)
            return activeEditorChanged;
        else if constexpr (std::is_same_v<E, EditorSelectionChangedEvent>)
            return editorSelectionChanged;
        else if constexpr (std::is_same_v<E, NavigateUpRequest>)
            return navigateUpRequest;
        else if constexpr (std::is_same_v<E, ModelAddedEvent>)
            return modelAdded;
        else if constexpr (std::is_same_v<E, ModelRemovedEvent>)
            return modelRemoved;
        else if constexpr (std::is_same_v<E, EditorClosedEvent>)
            return editorClosed;
        else {
            static_assert(std::is_same_v<E, StudioClosedEvent>, "not a studio event");
            return studioClosed;
        }
    }
    template <typename E> const TAVI::Holder<PLATFORM::StudioEventService<E>>& get() const {
        return const_cast<StudioEventServices*>(this)->get<E>();
    }
};

// Makes the ten event services of the studio and registers each in the studio's service
// registry under its name: the tree's selection first, then the others in the order of the
// members above. A name that is already taken
// keeps its registered object: that event then gets no service (its member stays empty) and
// PLATFORM_ObjectAlreadyRegistered goes into errors (the last such error when several fail);
// the other services are still made. Throws TAVI::TypedException for a null studio.
KITE_STUDIO_EVENTS_EXPORT StudioEventServices createStudioEventServices(PLATFORM::Studio* studio,
                                                                        TAVI::ErrorHolder& errors);

} // namespace KITE
