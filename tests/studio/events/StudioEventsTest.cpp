#include "studio/events/StudioEvents.hpp"

#include "platform/nimb/Listener.hpp"
#include "platform/orbis/Application.hpp"
#include "platform/orbis/Studio.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/TypedException.hpp"
#include "tests/studio/events/EventTestModel.hpp"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace KITE;

namespace {

// The names scripts and clients look the services up by, written out here rather than taken
// from the library so that a changed name shows.
template <typename E> const char* expectedName();
template <> const char* expectedName<TransactionCompletedEvent>() {
    return "KITE:TransactionCompleted";
}
template <> const char* expectedName<TreeSelectionChangedEvent>() {
    return "KITE:SelectionChanged";
}
template <> const char* expectedName<FilterModeChangedEvent>() {
    return "KITE:FilterModeChanged";
}
template <> const char* expectedName<ActiveEditorChangedEvent>() {
    return "KITE:ActiveEditorChanged";
}
template <> const char* expectedName<EditorSelectionChangedEvent>() {
    return "KITE:EditorSelectionChanged";
}
template <> const char* expectedName<NavigateUpRequest>() {
    return "KITE:NavigateUpRequest";
}
template <> const char* expectedName<ModelAddedEvent>() {
    return "KITE:ModelAdded";
}
template <> const char* expectedName<ModelRemovedEvent>() {
    return "KITE:ModelRemoved";
}
template <> const char* expectedName<EditorClosedEvent>() {
    return "KITE:EditorClosed";
}
template <> const char* expectedName<StudioClosedEvent>() {
    return "KITE:StudioClosed";
}

const std::vector<std::string> allNames = {
    "KITE:TransactionCompleted", "KITE:SelectionChanged",       "KITE:FilterModeChanged",
    "KITE:ActiveEditorChanged",  "KITE:EditorSelectionChanged", "KITE:NavigateUpRequest",
    "KITE:ModelAdded",           "KITE:ModelRemoved",           "KITE:EditorClosed",
    "KITE:StudioClosed"};

std::vector<std::string> registeredNames(PLATFORM::Studio& studio) {
    std::vector<std::string> names;
    for (const TAVI::StringID& name : studio.getServiceManager().names())
        names.push_back(name.getString());
    return names;
}

// Records every event it hears, as the components do: by value.
template <typename E> class Recorder : public NIMB::Listener {
public:
    void heard(E event) { received.push_back(event); }
    std::vector<E> received;
};

// A studio window of a plain application, closed when the test ends.
struct StudioEventsTest : ::testing::Test {
    TAVI::Holder<PLATFORM::Application> app{new PLATFORM::Application};
    TAVI::Holder<PLATFORM::Studio> studio;

    void SetUp() override {
        TAVI::ErrorHolder errors;
        studio = PLATFORM::Studio::spawnStudio(app, errors);
        ASSERT_TRUE(studio) << errors.what();
    }
    void TearDown() override {
        if (studio)
            studio->close();
        studio.reset();
        // Windows go through deleteLater.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

// Records with values that differ from a default record's wherever the record has fields.
struct Samples {
    KiteTest::EventTestModel sheet;
    ModelChangeReport report;
    int editorStorage[2] = {};

    template <typename E> E make() {
        if constexpr (std::is_same_v<E, TransactionCompletedEvent>)
            return TransactionCompletedEvent(&report);
        else if constexpr (std::is_same_v<E, TreeSelectionChangedEvent>) {
            VELD::Sequence<DiagramElement> elements = VELD::MakeSequence::create<DiagramElement>();
            elements.append(sheet.second);
            elements.append(sheet.first);
            return TreeSelectionChangedEvent(elements, "KITE tree component",
                                             SelectionTrigger::ActiveEditor);
        } else if constexpr (std::is_same_v<E, FilterModeChangedEvent>)
            return FilterModeChangedEvent("studio", "advanced");
        else if constexpr (std::is_same_v<E, ActiveEditorChangedEvent>)
            return ActiveEditorChangedEvent(true);
        else if constexpr (std::is_same_v<E, EditorSelectionChangedEvent>)
            return EditorSelectionChangedEvent(sheet.edge, true);
        else if constexpr (std::is_same_v<E, NavigateUpRequest>)
            return NavigateUpRequest(sheet.diagram);
        else if constexpr (std::is_same_v<E, ModelAddedEvent>)
            return ModelAddedEvent(&sheet.model);
        else if constexpr (std::is_same_v<E, ModelRemovedEvent>)
            return ModelRemovedEvent(&sheet.model);
        else if constexpr (std::is_same_v<E, EditorClosedEvent>) {
            EditorClosedEvent event(reinterpret_cast<Editor*>(&editorStorage[0]));
            event.append(reinterpret_cast<Editor*>(&editorStorage[1]));
            return event;
        } else
            return StudioClosedEvent();
    }
};

template <typename E> class StudioEventDeliveryTest : public StudioEventsTest {};

using AllEvents =
    ::testing::Types<TransactionCompletedEvent, TreeSelectionChangedEvent, FilterModeChangedEvent,
                     ActiveEditorChangedEvent, EditorSelectionChangedEvent, NavigateUpRequest,
                     ModelAddedEvent, ModelRemovedEvent, EditorClosedEvent, StudioClosedEvent>;
TYPED_TEST_SUITE(StudioEventDeliveryTest, AllEvents);

} // namespace

TYPED_TEST(StudioEventDeliveryTest, ServiceUnderItsNameDeliversTheRecordOnceToEachListener) {
    using E = TypeParam;
    TAVI::ErrorHolder errors;
    const StudioEventServices services = createStudioEventServices(this->studio.get(), errors);
    EXPECT_FALSE(errors.hasError()) << errors.what();
    const TAVI::Holder<PLATFORM::StudioEventService<E>>& service = services.template get<E>();
    ASSERT_TRUE(service);
    EXPECT_EQ(service->getName().getString(), expectedName<E>());

    // What the studio's registry holds under the name is this very service, of this record.
    PLATFORM::StudioService* registered = this->studio->getService2(expectedName<E>(), errors);
    ASSERT_TRUE(registered) << errors.what();
    EXPECT_EQ(registered, service.get());
    ASSERT_TRUE(dynamic_cast<PLATFORM::StudioEventService<E>*>(registered));

    Recorder<E> first;
    Recorder<E> second;
    service->connect(&first, &Recorder<E>::heard);
    service->connect(&second, &Recorder<E>::heard);

    Samples samples;
    const E sent = samples.make<E>();
    if constexpr (!std::is_same_v<E, StudioClosedEvent>) {
        ASSERT_FALSE(sent == E()) << "the sample must be told apart from a default record";
    }
    service->raise(sent);
    EXPECT_EQ(first.received, std::vector<E>{sent});
    EXPECT_EQ(second.received, std::vector<E>{sent});

    // The framework raises through the untyped service it finds by name: a default record,
    // the same as one the framework builds from a string.
    static_cast<PLATFORM::StudioEventServiceBase*>(registered)->raiseDefault();
    EXPECT_EQ(first.received, (std::vector<E>{sent, E()}));
    EXPECT_EQ(second.received, (std::vector<E>{sent, E()}));
    EXPECT_TRUE(E(std::string("ignored")) == E());

    // A listener that went hears nothing more; the other still does.
    second.disconnect();
    service->raise(sent);
    EXPECT_EQ(first.received.size(), 3u);
    EXPECT_EQ(second.received.size(), 2u);
}

TEST_F(StudioEventsTest, TheTenServicesAreRegisteredUnderTheirNamesTreeSelectionFirst) {
    const std::vector<std::string> before = registeredNames(*studio);
    TAVI::ErrorHolder errors;
    const StudioEventServices services = createStudioEventServices(studio.get(), errors);
    EXPECT_FALSE(errors.hasError()) << errors.what();

    // The tree's selection first, then the others in the order of the services' members.
    std::vector<std::string> expected = before;
    expected.insert(expected.end(), allNames.begin(), allNames.end());
    std::swap(expected[before.size()], expected[before.size() + 1]);
    EXPECT_EQ(registeredNames(*studio), expected);
    // Not under the record's own name.
    EXPECT_FALSE(studio->getServiceManager().isRegistered("KITE:TreeSelectionChanged"));
}

TEST_F(StudioEventsTest, SecondCreationFindsEveryNameTakenAndMakesNoService) {
    TAVI::ErrorHolder errors;
    const StudioEventServices first = createStudioEventServices(studio.get(), errors);
    ASSERT_FALSE(errors.hasError()) << errors.what();
    const std::size_t registered = studio->getServiceManager().size();

    const StudioEventServices second = createStudioEventServices(studio.get(), errors);
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    EXPECT_EQ(errors.what(), "An object named 'KITE:StudioClosed' is already registered.");
    EXPECT_FALSE(second.transactionCompleted);
    EXPECT_FALSE(second.treeSelectionChanged);
    EXPECT_FALSE(second.filterModeChanged);
    EXPECT_FALSE(second.activeEditorChanged);
    EXPECT_FALSE(second.editorSelectionChanged);
    EXPECT_FALSE(second.navigateUpRequest);
    EXPECT_FALSE(second.modelAdded);
    EXPECT_FALSE(second.modelRemoved);
    EXPECT_FALSE(second.editorClosed);
    EXPECT_FALSE(second.studioClosed);

    // The first services stand and still deliver.
    EXPECT_EQ(studio->getServiceManager().size(), registered);
    EXPECT_EQ(studio->getServiceManager().getObject("KITE:ModelAdded").get(),
              first.modelAdded.get());
    Recorder<ModelAddedEvent> listener;
    first.modelAdded->connect(&listener, &Recorder<ModelAddedEvent>::heard);
    first.modelAdded->raise(ModelAddedEvent());
    EXPECT_EQ(listener.received.size(), 1u);
}

TEST_F(StudioEventsTest, ATakenNameLeavesOnlyThatEventWithoutService) {
    // Someone else's service already holds the tree selection's name.
    const TAVI::Holder<PLATFORM::StudioEventService<PLATFORM::Util::IntRequest>> foreign(
        new PLATFORM::StudioEventService<PLATFORM::Util::IntRequest>("KITE:SelectionChanged"));
    TAVI::ErrorHolder errors;
    ASSERT_TRUE(studio->getServiceManager().registerObject(foreign, errors));

    const StudioEventServices services = createStudioEventServices(studio.get(), errors);
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    EXPECT_EQ(errors.what(), "An object named 'KITE:SelectionChanged' is already registered.");
    EXPECT_FALSE(services.treeSelectionChanged);
    EXPECT_EQ(studio->getServiceManager().getObject("KITE:SelectionChanged").get(), foreign.get());

    // The nine others are made and registered as usual.
    EXPECT_TRUE(services.transactionCompleted);
    EXPECT_TRUE(services.filterModeChanged);
    EXPECT_TRUE(services.activeEditorChanged);
    EXPECT_TRUE(services.editorSelectionChanged);
    EXPECT_TRUE(services.navigateUpRequest);
    EXPECT_TRUE(services.modelAdded);
    EXPECT_TRUE(services.modelRemoved);
    EXPECT_TRUE(services.editorClosed);
    EXPECT_TRUE(services.studioClosed);
    for (const std::string& name : allNames) {
        if (name == "KITE:SelectionChanged")
            continue;
        const TAVI::Holder<PLATFORM::StudioService> service =
            studio->getServiceManager().getObject(name.c_str());
        ASSERT_TRUE(service) << name;
        EXPECT_EQ(service->getName().getString(), name);
    }
    EXPECT_EQ(studio->getServiceManager().getObject("KITE:StudioClosed").get(),
              services.studioClosed.get());
}

TEST_F(StudioEventsTest, ServicesAreMadeOnlyForAStudio) {
    TAVI::ErrorHolder errors;
    EXPECT_THROW(createStudioEventServices(nullptr, errors), TAVI::TypedException);
    EXPECT_FALSE(errors.hasError());
}

TEST(ActiveEditorChangedEventTest, AStringLiteralDoesNotSetTheFlag) {
    // A literal converts to bool more readily than to a string.
    EXPECT_FALSE(ActiveEditorChangedEvent("true").getFlag());
    EXPECT_TRUE(ActiveEditorChangedEvent(true).getFlag());
}
