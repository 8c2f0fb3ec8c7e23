#include "platform/nimb/Connection.hpp"

#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/nimb/Thread.hpp"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <thread>

namespace NIMB {

Connection::Connection(Listener* listener, EmitterBase& emitter, Thread* thread)
    : boundListener(listener), sourceEmitter(&emitter),
      boundThread(thread ? thread : Thread::getCurrentThread()) {}

Connection::~Connection() = default;

void Connection::attach() {
    if (!boundListener)
        throw std::invalid_argument("NIMB::Connection: a connection needs a listener");
    const std::type_info* wanted = sourceEmitter->argumentType();
    const std::type_info* offered = argumentType();
    if (wanted && offered && *wanted != *offered)
        throw std::invalid_argument(std::string("NIMB::Connection: the emitter sends ") +
                                    wanted->name() + " but the handler takes " + offered->name());

    ConnectionWriteLocker locker;
    alive.store(true, std::memory_order_release);
    retain(); // the listener's count
    boundListener->connections.push_back(this);
    sourceEmitter->addConnectionLocked(this);
}

void Connection::detachLocked(bool fromListener, bool fromEmitter) {
    alive.store(false, std::memory_order_seq_cst);
    if (fromEmitter && sourceEmitter)
        sourceEmitter->removeConnectionLocked(this);
    sourceEmitter = nullptr;
    if (fromListener && boundListener) {
        auto& list = boundListener->connections;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    boundListener = nullptr;
}

void Connection::waitForCalls() const {
    // Calls only run on the connection's own thread; there, a call under way is our caller.
    if (boundThread == Thread::getCurrentThread())
        return;
    while (activeCalls.load(std::memory_order_acquire) != 0)
        std::this_thread::yield();
}

void Connection::disconnect() {
    retain(); // the listener's count may be the last
    {
        ConnectionWriteLocker locker;
        if (boundListener) {
            detachLocked(true, true);
            release(); // the listener's count; ours keeps the object
        }
    }
    waitForCalls();
    release();
}

} // namespace NIMB
