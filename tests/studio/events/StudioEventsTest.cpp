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
// from the library so that a changed name shows; in the order of the services' members.
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

// Which of the services were made, in the order of the names.
std::vector<bool> made(const StudioEventServices& s) {
    return {bool(s.transactionCompleted), bool(s.treeSelectionChanged),   bool(s.filterModeChanged),
            bool(s.activeEditorChanged),  bool(s.editorSelectionChanged), bool(s.navigateUpRequest),
            bool(s.modelAdded),           bool(s.modelRemoved),           bool(s.editorClosed),
            bool(s.studioClosed)};
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
    // What the studio's registry holds under the name is this very service, of this record.
    const std::string name = service->getName().getString();
    PLATFORM::StudioService* registered = this->studio->getService2(name.c_str(), errors);
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

TEST_F(StudioEventsTest, TheTenServicesAreRegisteredUnderTheirNamesOrNotAtAllWhenTaken) {
    // Someone else's service already holds the tree selection's name.
    const TAVI::Holder<PLATFORM::StudioEventService<PLATFORM::Util::IntRequest>> foreign(
        new PLATFORM::StudioEventService<PLATFORM::Util::IntRequest>("KITE:SelectionChanged"));
    const TAVI::Holder<PLATFORM::Studio> otherStudio = PLATFORM::Studio::spawnStudio(
        TAVI::Holder<PLATFORM::Application>(new PLATFORM::Application));
    PLATFORM::Studio& other = *otherStudio;
    TAVI::ErrorHolder errors;
    ASSERT_TRUE(other.getServiceManager().registerObject(foreign, errors));
    const std::vector<std::string> before = registeredNames(*studio);

    const StudioEventServices services = createStudioEventServices(studio.get(), errors);
    EXPECT_FALSE(errors.hasError()) << errors.what();
    // The tree's selection first, then the others in the order of the services' members; not
    // under the record's own name.
    std::vector<std::string> expected = before;
    expected.insert(expected.end(), allNames.begin(), allNames.end());
    std::swap(expected[before.size()], expected[before.size() + 1]);
    EXPECT_EQ(registeredNames(*studio), expected);
    EXPECT_FALSE(studio->getServiceManager().isRegistered("KITE:TreeSelectionChanged"));

    // A second creation finds every name taken and makes no service; the first ones stand.
    const StudioEventServices second = createStudioEventServices(studio.get(), errors);
    EXPECT_EQ(errors.id(), "PLATFORM_ObjectAlreadyRegistered");
    EXPECT_EQ(errors.what(), "An object named 'KITE:StudioClosed' is already registered.");
    EXPECT_EQ(made(second), std::vector<bool>(10, false));
    EXPECT_EQ(registeredNames(*studio), expected);
    EXPECT_EQ(studio->getServiceManager().getObject("KITE:ModelAdded").get(),
              services.modelAdded.get());

    // A name taken by someone else leaves only that event without a service.
    errors.clear();
    const StudioEventServices beside = createStudioEventServices(&other, errors);
    EXPECT_EQ(errors.what(), "An object named 'KITE:SelectionChanged' is already registered.");
    std::vector<bool> nine(10, true);
    nine[1] = false;
    EXPECT_EQ(made(beside), nine);
    EXPECT_EQ(other.getServiceManager().getObject("KITE:SelectionChanged").get(), foreign.get());
    for (const std::string& name : allNames) {
        if (name != "KITE:SelectionChanged") {
            EXPECT_TRUE(other.getServiceManager().isRegistered(name.c_str())) << name;
        }
    }
    other.close();

    // Services are made only for a studio.
    errors.clear();
    EXPECT_THROW(createStudioEventServices(nullptr, errors), TAVI::TypedException);
    EXPECT_FALSE(errors.hasError());
    // A literal converts to bool more readily than to a string.
    EXPECT_FALSE(ActiveEditorChangedEvent("true").getFlag());
    EXPECT_TRUE(ActiveEditorChangedEvent(true).getFlag());
}
