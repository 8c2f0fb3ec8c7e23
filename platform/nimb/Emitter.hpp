#pragma once

#include "platform/nimb/Packet.hpp"
#include "platform/nimb/nimb_export.hpp"

#include <atomic>
#include <memory>
#include <mutex>
#include <typeinfo>
#include <vector>

namespace NIMB {

class Connection;
class ConnectionList;

// How a packet reaches each connection (the sendMode of an emitter or of one send).
enum SendMode : int {
    // Use the emitter's own send mode.
    SendDefault = 0,
    // Connections bound to the sending thread are called at once, in connection order; packets
    // for connections bound to other threads are queued to those threads' event loops.
    SendAuto = 2,
    // As SendAuto, but the sender waits until each queued delivery has run (or its thread has
    // gone). Two threads that wait on each other this way deadlock, so use it only towards a
    // thread that never waits for the sender.
    SendAutoAndWait = 3,
};

// Flags of one send.
enum SendFlag : int {
    SendNoFlags = 0,
    // Drop the packet when this emitter is already delivering on this thread, so that a handler
    // that leads back to the same signal does not loop.
    SendNotReentrant = 1,
};

// The sending side of a signal: the connections to it, and delivery of packets to them.
// Sending is safe while handlers connect, disconnect or destroy listeners (they see the
// connections as they were when the send began, and a connection that has gone is skipped),
// and while another thread sends on the same emitter. Destroying an emitter drops its
// connections; it must not be destroyed while another thread sends on it.
class NIMB_EXPORT EmitterBase {
public:
    explicit EmitterBase(int sendMode = SendAuto);
    virtual ~EmitterBase();
    EmitterBase(const EmitterBase&) = delete;
    EmitterBase& operator=(const EmitterBase&) = delete;

    void sendPacket(const Packet& packet, int mode = SendDefault, int flag = SendNoFlags);
    int numberOfConnections() const;
    int sendMode() const { return deliveryMode; }

    // The argument type that packets of this emitter carry; null when undeclared (any).
    const std::type_info* argumentType() const { return argumentTypeInfo; }

protected:
    EmitterBase(int sendMode, const std::type_info* argumentType);

private:
    friend class Connection;
    void addConnectionLocked(Connection* connection);
    void removeConnectionLocked(Connection* connection);
    static void deliverQueued(Connection* connection, const Packet& packet, bool wait);

    int deliveryMode;
    const std::type_info* argumentTypeInfo = nullptr;
    mutable std::mutex mutex; // guards the connections pointer, not the list it points to
    std::shared_ptr<ConnectionList> connections; // copied on change while a send holds it
    std::atomic<int> count{0};
};

// A signal with one argument of type A (or none, for Emitter<void>).
template <class A> class Emitter : public EmitterBase {
public:
    explicit Emitter(int sendMode = SendAuto) : EmitterBase(sendMode, &typeid(A)) {}

    void send(const A& value, int mode = SendDefault, int flag = SendNoFlags) {
        if (numberOfConnections() == 0)
            return; // spare the payload when nobody listens
        sendPacket(Packet(new Payload1<A>(value)), mode, flag);
    }
};

template <> class Emitter<void> : public EmitterBase {
public:
    explicit Emitter(int sendMode = SendAuto) : EmitterBase(sendMode, nullptr) {}
    void send(int mode = SendDefault, int flag = SendNoFlags) { sendPacket(Packet(), mode, flag); }
};

} // namespace NIMB
