#include "platform/nimb/Listener.hpp"

#include "platform/nimb/Connection.hpp"
#include "platform/nimb/ConnectionLock.hpp"

namespace NIMB {

Listener::Listener() = default;

Listener::~Listener() {
    disconnect();
}

void Listener::disconnect() {
    std::vector<Connection*> dropped;
    {
        ConnectionWriteLocker locker;
        dropped.swap(connections);
        for (Connection* connection : dropped)
            connection->detachLocked(false, true);
    }
    // Outside the lock: a call under way on another thread may itself need the lock.
    for (Connection* connection : dropped) {
        connection->waitForCalls();
        connection->release();
    }
}

void Listener::disconnect(EmitterBase& emitter) {
    std::vector<Connection*> dropped;
    {
        ConnectionWriteLocker locker;
        std::vector<Connection*> kept;
        for (Connection* connection : connections)
            (connection->sourceEmitter == &emitter ? dropped : kept).push_back(connection);
        connections.swap(kept);
        for (Connection* connection : dropped)
            connection->detachLocked(false, true);
    }
    for (Connection* connection : dropped) {
        connection->waitForCalls();
        connection->release();
    }
}

int Listener::numberOfConnections() const {
    ConnectionWriteLocker locker;
    return int(connections.size());
}

} // namespace NIMB
