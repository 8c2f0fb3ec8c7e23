#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/tavi/Holder.hpp"

#include <atomic>
#include <memory>
#include <type_traits>
#include <utility>

namespace NOX {

class CosCommonClassInfo;

// What a host object wraps: one library object, kept alive by the host object.
class Instance {
public:
    virtual ~Instance() = default;
    // The library object as a wrappable, when it is one.
    virtual Wrappable* wrappable() const { return nullptr; }
    // What makes two instances the same library object (the binding registry's key); null when
    // instances are never shared (values copied into each host object).
    virtual const void* identity() const = 0;
};

// A reference-counted library object (TAVI::ReferencedTemplate), held with one count.
template <class T> class ReferencedInstance final : public Instance {
public:
    explicit ReferencedInstance(T* object) : m_object(object) {}
    Wrappable* wrappable() const override {
        if constexpr (std::is_base_of_v<Wrappable, T>)
            return m_object.get();
        else
            return nullptr;
    }
    const void* identity() const override { return dynamic_cast<const void*>(m_object.get()); }
    T* get() const { return m_object.get(); }

private:
    TAVI::Holder<T> m_object;
};

// A library value (a handle) copied into the host object.
template <class V> class ValueInstance final : public Instance {
public:
    explicit ValueInstance(V value) : m_value(std::move(value)) {}
    const void* identity() const override { return nullptr; }
    V* get() { return &m_value; }

private:
    V m_value;
};

// An object of a host class, as scripts hold it through arrays. Counted: arrays hold one count
// each, and when the last goes the host object is destroyed through its class record, which
// removes its binding and drops its hold on the library object. Host thread only.
class HostObject {
public:
    explicit HostObject(CosCommonClassInfo* classInfo);
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    CosCommonClassInfo* classInfo() const { return m_class; }
    // The host class's full name, such as "KITE.Editor".
    const std::string& className() const;
    bool isA(const std::string& className) const;

    Instance* instance() const { return m_instance.get(); }
    bool isBound() const { return m_instance != nullptr; }
    void setInstance(std::unique_ptr<Instance> instance) { m_instance = std::move(instance); }
    // Lets go of the library object (which may destroy it).
    void dropInstance() { m_instance.reset(); }

    // The wrapped object seen as T, when the host object is of the class named (or one derived
    // from it) and wraps a T; null otherwise.
    template <class T> T* lookup(const std::string& className) const {
        if (!m_instance || !isA(className))
            return nullptr;
        return as<T>();
    }
    template <class T> T* as() const {
        if constexpr (std::is_polymorphic_v<T>) {
            if (auto* referenced = dynamic_cast<ReferencedInstance<T>*>(m_instance.get()))
                return referenced->get();
            if constexpr (std::is_base_of_v<Wrappable, T>)
                return m_instance ? dynamic_cast<T*>(m_instance->wrappable()) : nullptr;
        }
        // Only concrete types can be held as values; abstract bases come as counted objects.
        if constexpr (!std::is_abstract_v<T>) {
            if (auto* value = dynamic_cast<ValueInstance<T>*>(m_instance.get()))
                return value->get();
        }
        return nullptr;
    }

    void retain() { ++m_refs; }
    void release();
    int referenceCount() const { return m_refs; }

private:
    ~HostObject();

    CosCommonClassInfo* m_class;
    std::unique_ptr<Instance> m_instance;
    int m_refs = 0;
};

// A counted reference to a host object.
class HostObjectRef {
public:
    HostObjectRef() = default;
    HostObjectRef(HostObject* object) : m_object(object) {
        if (m_object)
            m_object->retain();
    }
    HostObjectRef(const HostObjectRef& other) : HostObjectRef(other.m_object) {}
    HostObjectRef(HostObjectRef&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)) {}
    HostObjectRef& operator=(HostObjectRef other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~HostObjectRef() {
        if (m_object)
            m_object->release();
    }

    HostObject* get() const { return m_object; }
    HostObject* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    // Gives up the count without releasing it.
    HostObject* release() { return std::exchange(m_object, nullptr); }

private:
    HostObject* m_object = nullptr;
};

} // namespace NOX
