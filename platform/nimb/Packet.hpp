#pragma once

#include "platform/nimb/nimb_export.hpp"

#include <atomic>
#include <typeinfo>
#include <utility>

namespace NIMB {

// What a packet carries. Payloads are shared between the deliveries of one send (a queued
// delivery may outlive the sender's call), so they are counted and immutable once sent.
class NIMB_EXPORT Payload {
public:
    virtual ~Payload() = default;
    Payload(const Payload&) = delete;
    Payload& operator=(const Payload&) = delete;

    // The type of the carried argument; none for an argument-less payload.
    virtual const std::type_info* argumentType() const { return nullptr; }

protected:
    Payload() = default;

private:
    friend class Packet;
    mutable std::atomic<int> refs{0};
};

// A payload of one argument, held by value.
template <class A> class Payload1 : public Payload {
public:
    explicit Payload1(A value) : argument(std::move(value)) {}
    const A& arg1() const { return argument; }
    const std::type_info* argumentType() const override { return &typeid(A); }

private:
    A argument;
};

// A handle to one payload, as passed to EmitterBase::sendPacket. Takes ownership of the
// payload it is made from; copies share it. A packet without a payload is valid (no argument).
class NIMB_EXPORT Packet {
public:
    Packet() = default;
    explicit Packet(const Payload* payload) : payloadObject(payload) { retain(); }
    Packet(const Packet& other) : payloadObject(other.payloadObject) { retain(); }
    Packet(Packet&& other) noexcept : payloadObject(std::exchange(other.payloadObject, nullptr)) {}
    Packet& operator=(Packet other) noexcept {
        std::swap(payloadObject, other.payloadObject);
        return *this;
    }
    ~Packet() { release(); }

    const Payload* payload() const { return payloadObject; }

    // The argument when the payload is a Payload1<A>; null otherwise.
    template <class A> const A* arg1() const {
        const std::type_info* type = payloadObject ? payloadObject->argumentType() : nullptr;
        if (!type || *type != typeid(A))
            return nullptr;
        return &static_cast<const Payload1<A>*>(payloadObject)->arg1();
    }

private:
    void retain() {
        if (payloadObject)
            payloadObject->refs.fetch_add(1, std::memory_order_relaxed);
    }
    void release() {
        if (payloadObject && payloadObject->refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete payloadObject;
    }

    const Payload* payloadObject = nullptr;
};

} // namespace NIMB
