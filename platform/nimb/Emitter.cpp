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
    : deliveryMode(sendMode == SendDefault ? SendAuto : sendMode) {}

EmitterBase::EmitterBase(int sendMode, const std::type_info* argumentType)
    : deliveryMode(sendMode == SendDefault ? SendAuto : sendMode), argumentTypeInfo(argumentType) {}

EmitterBase::~EmitterBase() {
    std::shared_ptr<ConnectionList> list;
    {
        ConnectionWriteLocker locker;
        {
            std::lock_guard<std::mutex> lock(mutex);
            list.swap(connections);
            count.store(0, std::memory_order_relaxed);
        }
        if (list) {
            for (const ConnectionRef& connection : list->items) {
                Connection* c = connection.get();
                Listener* listener = c->boundListener;
                c->detachLocked(true, false);
                if (listener)
                    c->release(); // the listener's count
            }
        }
    }
}

int EmitterBase::numberOfConnections() const {
    return count.load(std::memory_order_relaxed);
}

void EmitterBase::addConnectionLocked(Connection* connection) {
    std::lock_guard<std::mutex> lock(mutex);
    // Snapshots are only taken under the mutex, so a list no send holds can change in place;
    // copying it each time made connecting n listeners cost n squared.
    if (!connections || connections.use_count() > 1) {
        auto next = std::make_shared<ConnectionList>();
        if (connections) {
            next->items.reserve(connections->items.size() + 1);
            next->items = connections->items;
        }
        connections = std::move(next);
    }
    connections->items.emplace_back(connection);
    count.store(int(connections->items.size()), std::memory_order_relaxed);
}

void EmitterBase::removeConnectionLocked(Connection* connection) {
    std::lock_guard<std::mutex> lock(mutex);
    if (!connections)
        return;
    if (connections.use_count() > 1) {
        auto next = std::make_shared<ConnectionList>(*connections);
        connections = std::move(next);
    }
    // From the back: the newest connections tend to go first.
    std::vector<ConnectionRef>& items = connections->items;
    const auto found =
        std::find_if(items.rbegin(), items.rend(),
                     [connection](const ConnectionRef& item) { return item.get() == connection; });
    if (found != items.rend())
        items.erase(std::next(found).base());
    count.store(int(items.size()), std::memory_order_relaxed);
    if (items.empty())
        connections.reset();
}

void EmitterBase::sendPacket(const Packet& packet, int mode, int flag) {
    if (count.load(std::memory_order_relaxed) == 0)
        return;
    if ((flag & SendNotReentrant) &&
        std::find(sendingEmitters.begin(), sendingEmitters.end(), this) != sendingEmitters.end())
        return;

    std::shared_ptr<const ConnectionList> list;
    {
        std::lock_guard<std::mutex> lock(mutex);
        list = connections;
    }
    if (!list)
        return;
    if (mode == SendDefault)
        mode = deliveryMode;
    const bool wait = mode == SendAutoAndWait;

    SendingScope scope(this);
    Thread* current = Thread::getCurrentThread();
    // From here on `this` may be destroyed by a handler: only the local list is used.
    for (const ConnectionRef& connection : list->items) {
        Connection* c = connection.get();
        if (c->boundThread == current)
            c->invoke(packet);
        else if (c->isConnected())
            deliverQueued(c, packet, wait);
    }
}

void EmitterBase::deliverQueued(Connection* connection, const Packet& packet, bool wait) {
    if (!wait) {
        connection->boundThread->d->post(connection, packet, nullptr);
        return;
    }
    QSemaphore done;
    if (connection->boundThread->d->post(connection, packet, &done))
        done.acquire();
}

} // namespace NIMB
