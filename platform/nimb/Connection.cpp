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
    : m_listener(listener), m_emitter(&emitter),
      m_thread(thread ? thread : Thread::getCurrentThread()) {}

Connection::~Connection() = default;

void Connection::attach() {
    if (!m_listener)
        throw std::invalid_argument("NIMB::Connection: a connection needs a listener");
    const std::type_info* wanted = m_emitter->argumentType();
    const std::type_info* offered = argumentType();
    if (wanted && offered && *wanted != *offered)
        throw std::invalid_argument(std::string("NIMB::Connection: the emitter sends ") +
                                    wanted->name() + " but the handler takes " + offered->name());

    ConnectionWriteLocker locker;
    m_alive.store(true, std::memory_order_release);
    retain(); // the listener's count
    m_listener->m_connections.push_back(this);
    m_emitter->addConnectionLocked(this);
}

void Connection::detachLocked(bool fromListener, bool fromEmitter) {
    m_alive.store(false, std::memory_order_seq_cst);
    if (fromEmitter && m_emitter)
        m_emitter->removeConnectionLocked(this);
    m_emitter = nullptr;
    if (fromListener && m_listener) {
        auto& list = m_listener->m_connections;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    m_listener = nullptr;
}

void Connection::waitForCalls() const {
    // Calls only run on the connection's own thread; there, a call under way is our caller.
    if (m_thread == Thread::getCurrentThread())
        return;
    while (m_activeCalls.load(std::memory_order_acquire) != 0)
        std::this_thread::yield();
}

void Connection::disconnect() {
    retain(); // the listener's count may be the last
    {
        ConnectionWriteLocker locker;
        if (m_listener) {
            detachLocked(true, true);
            release(); // the listener's count; ours keeps the object
        }
    }
    waitForCalls();
    release();
}

} // namespace NIMB
