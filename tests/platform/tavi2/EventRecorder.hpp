#pragma once

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"

#include <vector>

namespace KiteTest {

// Keeps every event an emitter sends, in order, so tests can compare exact sequences.
template <class E> class EventRecorder : public NIMB::Listener {
public:
    explicit EventRecorder(NIMB::Emitter<E>& emitter) {
        new NIMB::ConnectionImpl1<EventRecorder, E>(this, emitter, nullptr, &EventRecorder::record);
    }
    std::vector<E> events;
    std::size_t size() const { return events.size(); }

private:
    void record(const E& event) { events.push_back(event); }
};

} // namespace KiteTest
