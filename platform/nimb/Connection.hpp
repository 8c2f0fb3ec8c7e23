#pragma once

#include "platform/nimb/Packet.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/nimb/nimb_export.hpp"

#include <atomic>
#include <typeinfo>

namespace NIMB {

class EmitterBase;
class Listener;

// One link from an emitter to a listener, bound to a thread. A connection belongs to its
// listener: it goes when the listener disconnects or is destroyed, or when the emitter is
// destroyed. Create connections with new (ConnectionImpl0, ConnectionImpl1 or a subclass of
// your own) and never delete them: they are counted, because a delivery under way or queued
// to another thread keeps its connection alive until it is done; a connection that has gone
// delivers nothing more.
class NIMB_EXPORT Connection {
public:
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Drops this connection (as Listener::disconnect does for all of its listener's).
    void disconnect();
    bool isConnected() const { return alive.load(std::memory_order_acquire); }

    Listener* listener() const { return boundListener; }
    Thread* thread() const { return boundThread; }

    // The argument type the connection expects; null when it takes none.
    virtual const std::type_info* argumentType() const { return nullptr; }

protected:
    // A null thread means the thread making the connection. The connection starts working when
    // the subclass's constructor calls attach(), so no packet reaches a half-built object.
    Connection(Listener* listener, EmitterBase& emitter, Thread* thread);
    virtual ~Connection();

    // Links the connection into its listener and emitter. Throws std::invalid_argument when the
    // emitter declares an argument type that differs from argumentType().
    void attach();

    // Called on the connection's thread with each packet.
    virtual void deliver(const Packet& packet) = 0;

private:
    friend class EmitterBase;
    friend class Listener;
    friend class ConnectionRef;
    friend class DeliveryEvent;

    void invoke(const Packet& packet) {
        if (!alive.load(std::memory_order_acquire))
            return;
        // Announce the call before checking again, so that a disconnect on another thread
        // either sees the call and waits for it, or the call sees the disconnect.
        activeCalls.fetch_add(1, std::memory_order_seq_cst);
        if (alive.load(std::memory_order_seq_cst))
            deliver(packet);
        activeCalls.fetch_sub(1, std::memory_order_release);
    }
    // Marks the connection gone and unlinks it; the caller holds the global lock for writing.
    void detachLocked(bool fromListener, bool fromEmitter);
    // Waits until no call is under way on another thread.
    void waitForCalls() const;

    void retain() const { refs.fetch_add(1, std::memory_order_relaxed); }
    void release() const {
        if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

    Listener* boundListener;
    EmitterBase* sourceEmitter;
    Thread* boundThread;
    mutable std::atomic<int> refs{0};
    std::atomic<bool> alive{false};
    std::atomic<int> activeCalls{0};
};

// A connection whose handler takes one argument of type A. Packets that do not carry a
// Payload1<A> are not delivered to it.
template <class A> class Connection1 : public Connection {
public:
    const std::type_info* argumentType() const override { return &typeid(A); }

protected:
    using Connection::Connection;
    virtual void call(const A& value) = 0;

private:
    void deliver(const Packet& packet) final {
        if (const A* value = packet.arg1<A>())
            call(*value);
    }
};

} // namespace NIMB
