#pragma once

#include <atomic>
#include <typeinfo>
#include <utility>

namespace NIMB {

// What a packet carries. Payloads are shared between the deliveries of one send (a queued
// delivery may outlive the sender's call), so they are counted and immutable once sent.
class Payload {
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
    mutable std::atomic<int> m_refs{0};
};

// A payload of one argument, held by value.
template <class A> class Payload1 : public Payload {
public:
    explicit Payload1(A value) : m_value(std::move(value)) {}
    const A& arg1() const { return m_value; }
    const std::type_info* argumentType() const override { return &typeid(A); }

private:
    A m_value;
};

// A handle to one payload, as passed to EmitterBase::sendPacket. Takes ownership of the
// payload it is made from; copies share it. A packet without a payload is valid (no argument).
class Packet {
public:
    Packet() = default;
    explicit Packet(const Payload* payload) : m_payload(payload) { retain(); }
    Packet(const Packet& other) : m_payload(other.m_payload) { retain(); }
    Packet(Packet&& other) noexcept : m_payload(std::exchange(other.m_payload, nullptr)) {}
    Packet& operator=(Packet other) noexcept {
        std::swap(m_payload, other.m_payload);
        return *this;
    }
    ~Packet() { release(); }

    const Payload* payload() const { return m_payload; }

    // The argument when the payload is a Payload1<A>; null otherwise.
    template <class A> const A* arg1() const {
        const std::type_info* type = m_payload ? m_payload->argumentType() : nullptr;
        if (!type || *type != typeid(A))
            return nullptr;
        return &static_cast<const Payload1<A>*>(m_payload)->arg1();
    }

private:
    void retain() {
        if (m_payload)
            m_payload->m_refs.fetch_add(1, std::memory_order_relaxed);
    }
    void release() {
        if (m_payload && m_payload->m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete m_payload;
    }

    const Payload* m_payload = nullptr;
};

} // namespace NIMB
