#pragma once

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Thread.hpp"
#include "platform/orbis/StudioEventServiceBase.hpp"

namespace PLATFORM {

// The service of one event record type E: a signal carrying E. Every event is
// sent as one packet with delivery mode 3 (handlers bound to the sending
// thread run before raise returns; others are queued and waited for).
template <typename E> class StudioEventService : public StudioEventServiceBase {
public:
    explicit StudioEventService(const TAVI::StringID& name) : StudioEventServiceBase(name) {}

    NIMB::Emitter<E>& getSignal() { return signal; }
    NIMB::EmitterBase& getEmitter() override { return signal; }

    void raise(const E& event) {
        signal.sendPacket(NIMB::Packet(new NIMB::Payload1<E>(event)), NIMB::SendAutoAndWait,
                          NIMB::SendNoFlags);
    }
    void raiseDefault() override { raise(E()); }

    // Connects a handler of the owner (a NIMB::Listener) taking the record by
    // value, bound to the given thread, or to the host's thread "QUASAR" when
    // none is given (the current thread when there is no QUASAR). The global
    // connection lock is held for writing while connecting.
    template <typename Owner>
    void connect(Owner* owner, void (Owner::*handler)(E), NIMB::Thread* thread = nullptr) {
        NIMB::ConnectionWriteLocker lock;
        new NIMB::ConnectionImpl1<Owner, E>(owner, signal, boundThread(thread), handler);
    }
    template <typename Owner>
    void connect(Owner* owner, void (Owner::*handler)(const E&), NIMB::Thread* thread = nullptr) {
        NIMB::ConnectionWriteLocker lock;
        new NIMB::ConnectionImpl1<Owner, E>(owner, signal, boundThread(thread), handler);
    }

private:
    static NIMB::Thread* boundThread(NIMB::Thread* thread) {
        if (thread)
            return thread;
        if (NIMB::Thread* host = NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName))
            return host;
        return NIMB::Thread::getCurrentThread();
    }

    NIMB::Emitter<E> signal{NIMB::SendAutoAndWait};
};

} // namespace PLATFORM
