#include "platform/nimb/Emitter.hpp"

#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Emitter_p.hpp"
#include "platform/nimb/Listener.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/nimb/Thread_p.hpp"

#include <algorithm>

namespace NIMB {

namespace {

// The emitters delivering on this thread, innermost last, for SendNotReentrant. Only compared,
// never dereferenced, so an emitter destroyed by a handler does no harm.
thread_local std::vector<const EmitterBase*> sendingEmitters;

class SendingScope {
public:
    explicit SendingScope(const EmitterBase* emitter) { sendingEmitters.push_back(emitter); }
    ~SendingScope() { sendingEmitters.pop_back(); }
};

} // namespace

EmitterBase::EmitterBase(int sendMode)
    : m_sendMode(sendMode == SendDefault ? SendAuto : sendMode) {}

EmitterBase::EmitterBase(int sendMode, const std::type_info* argumentType)
    : m_sendMode(sendMode == SendDefault ? SendAuto : sendMode), m_argumentType(argumentType) {}

EmitterBase::~EmitterBase() {
    std::shared_ptr<const ConnectionList> list;
    {
        ConnectionWriteLocker locker;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            list.swap(m_connections);
            m_count.store(0, std::memory_order_relaxed);
        }
        if (list) {
            for (const ConnectionRef& connection : list->items) {
                Connection* c = connection.get();
                Listener* listener = c->m_listener;
                c->detachLocked(true, false);
                if (listener)
                    c->release(); // the listener's count
            }
        }
    }
}

int EmitterBase::numberOfConnections() const {
    return m_count.load(std::memory_order_relaxed);
}

void EmitterBase::addConnectionLocked(Connection* connection) {
    auto next = std::make_shared<ConnectionList>();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_connections) {
        next->items.reserve(m_connections->items.size() + 1);
        next->items = m_connections->items;
    }
    next->items.emplace_back(connection);
    m_count.store(int(next->items.size()), std::memory_order_relaxed);
    m_connections = std::move(next);
}

void EmitterBase::removeConnectionLocked(Connection* connection) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_connections)
        return;
    auto next = std::make_shared<ConnectionList>();
    next->items.reserve(m_connections->items.size());
    for (const ConnectionRef& item : m_connections->items) {
        if (item.get() != connection)
            next->items.push_back(item);
    }
    m_count.store(int(next->items.size()), std::memory_order_relaxed);
    m_connections = next->items.empty() ? nullptr : std::move(next);
}

void EmitterBase::sendPacket(const Packet& packet, int mode, int flag) {
    if (m_count.load(std::memory_order_relaxed) == 0)
        return;
    if ((flag & SendNotReentrant) &&
        std::find(sendingEmitters.begin(), sendingEmitters.end(), this) != sendingEmitters.end())
        return;

    std::shared_ptr<const ConnectionList> list;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        list = m_connections;
    }
    if (!list)
        return;
    if (mode == SendDefault)
        mode = m_sendMode;
    const bool wait = mode == SendAutoAndWait;

    SendingScope scope(this);
    Thread* current = Thread::getCurrentThread();
    // From here on `this` may be destroyed by a handler: only the local list is used.
    for (const ConnectionRef& connection : list->items) {
        Connection* c = connection.get();
        if (c->m_thread == current)
            c->invoke(packet);
        else if (c->isConnected())
            deliverQueued(c, packet, wait);
    }
}

void EmitterBase::deliverQueued(Connection* connection, const Packet& packet, bool wait) {
    if (!wait) {
        connection->m_thread->d->post(connection, packet, nullptr);
        return;
    }
    QSemaphore done;
    if (connection->m_thread->d->post(connection, packet, &done))
        done.acquire();
}

} // namespace NIMB
