#include "platform/orbis/StudioEventService.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/orbis/util/IntRequest.hpp"
#include "platform/tavi/Holder.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PLATFORM;

namespace {

struct NamedEvent {
    NamedEvent() = default;
    explicit NamedEvent(std::string text) : text(std::move(text)) {}
    std::string text;
};

class Recorder : public NIMB::Listener {
public:
    void byValue(NamedEvent event) { received.push_back("value:" + event.text); }
    void byReference(const NamedEvent& event) { received.push_back("reference:" + event.text); }
    std::vector<std::string> received;
};

} // namespace

TEST(StudioEventServiceTest, RaiseDeliversOnePacketToEachListenerInConnectionOrder) {
    TAVI::Holder<StudioEventService<NamedEvent>> service(
        new StudioEventService<NamedEvent>("KITE:Named"));
    EXPECT_EQ(service->getName(), TAVI::StringID("KITE:Named"));
    Recorder first;
    Recorder second;
    service->connect(&first, &Recorder::byValue);
    service->connect(&second, &Recorder::byReference);
    EXPECT_EQ(service->getSignal().numberOfConnections(), 2);

    service->raise(NamedEvent("added"));
    EXPECT_EQ(first.received, std::vector<std::string>{"value:added"});
    EXPECT_EQ(second.received, std::vector<std::string>{"reference:added"});

    // raiseDefault sends a default record through the untyped base.
    StudioEventServiceBase& base = *service;
    base.raiseDefault();
    EXPECT_EQ(first.received, (std::vector<std::string>{"value:added", "value:"}));
    EXPECT_EQ(second.received.size(), 2u);
}

TEST(StudioEventServiceTest, ListenersOrServicesThatGoDropTheirConnections) {
    TAVI::Holder<StudioEventService<Util::IntRequest>> service(
        new StudioEventService<Util::IntRequest>("TabCloseEvents"));
    struct Tabs : NIMB::Listener {
        void closed(Util::IntRequest request) { indices.push_back(request.getValue()); }
        std::vector<int> indices;
    };
    Tabs kept;
    service->connect(&kept, &Tabs::closed);
    {
        Tabs gone;
        service->connect(&gone, &Tabs::closed);
        EXPECT_EQ(service->getSignal().numberOfConnections(), 2);
    }
    EXPECT_EQ(service->getSignal().numberOfConnections(), 1);
    service->raise(Util::IntRequest(3));
    EXPECT_EQ(kept.indices, std::vector<int>{3});
    // A service outlived by its listeners drops their connections.
    service.reset();
    EXPECT_EQ(kept.numberOfConnections(), 0);
}
