#pragma once

#include "platform/nimb/Connection.hpp"

namespace NIMB {

// Calls an argument-less member function of its owner for every packet, whatever it carries.
// The owner is the listener the connection belongs to.
template <class Owner> class ConnectionImpl0 final : public Connection {
public:
    using Method = void (Owner::*)();

    ConnectionImpl0(Owner* owner, EmitterBase& emitter, Thread* thread, Method method)
        : Connection(owner, emitter, thread), receiver(owner), handler(method) {
        attach();
    }

private:
    void deliver(const Packet&) override { (receiver->*handler)(); }

    Owner* receiver;
    Method handler;
};

// Calls a member function of its owner with the argument of each Payload1<A> packet. The
// handler takes the argument by value or by const reference.
template <class Owner, class A> class ConnectionImpl1 final : public Connection1<A> {
public:
    using ByValue = void (Owner::*)(A);
    using ByReference = void (Owner::*)(const A&);

    ConnectionImpl1(Owner* owner, EmitterBase& emitter, Thread* thread, ByValue method)
        : Connection1<A>(owner, emitter, thread), receiver(owner), byValue(method) {
        this->attach();
    }
    ConnectionImpl1(Owner* owner, EmitterBase& emitter, Thread* thread, ByReference method)
        : Connection1<A>(owner, emitter, thread), receiver(owner), byReference(method) {
        this->attach();
    }

private:
    void call(const A& value) override {
        if (byReference)
            (receiver->*byReference)(value);
        else
            (receiver->*byValue)(value);
    }

    Owner* receiver;
    ByValue byValue = nullptr;
    ByReference byReference = nullptr;
};

} // namespace NIMB
