#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/host/host_export.hpp"
#include "platform/tavi/Holder.hpp"

#include <atomic>
#include <memory>
#include <type_traits>
#include <utility>

namespace NOX {

class CosCommonClassInfo;

// What a host object wraps: one library object, kept alive by the host object.
class HOST_EXPORT Instance {
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
    explicit ReferencedInstance(T* object) : heldObject(object) {}
    Wrappable* wrappable() const override {
        if constexpr (std::is_base_of_v<Wrappable, T>)
            return heldObject.get();
        else
            return nullptr;
    }
    const void* identity() const override { return dynamic_cast<const void*>(heldObject.get()); }
    T* get() const { return heldObject.get(); }

private:
    TAVI::Holder<T> heldObject;
};

// A library value (a handle) copied into the host object.
template <class V> class ValueInstance final : public Instance {
public:
    explicit ValueInstance(V value) : heldValue(std::move(value)) {}
    const void* identity() const override { return nullptr; }
    V* get() { return &heldValue; }

private:
    V heldValue;
};

// An object of a host class, as scripts hold it through arrays. Counted: arrays hold one count
// each, and when the last goes the host object is destroyed through its class record, which
// removes its binding and drops its hold on the library object. Host thread only.
class HOST_EXPORT HostObject {
public:
    explicit HostObject(CosCommonClassInfo* classInfo);
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    CosCommonClassInfo* classInfo() const { return classRecord; }
    // The host class's full name, such as "KITE.Editor".
    const std::string& className() const;
    bool isA(const std::string& className) const;

    Instance* instance() const { return boundInstance.get(); }
    bool isBound() const { return boundInstance != nullptr; }
    void setInstance(std::unique_ptr<Instance> instance) { boundInstance = std::move(instance); }
    // Lets go of the library object (which may destroy it).
    void dropInstance() { boundInstance.reset(); }

    // The wrapped object seen as T, when the host object is of the class named (or one derived
    // from it) and wraps a T; null otherwise.
    template <class T> T* lookup(const std::string& className) const {
        if (!boundInstance || !isA(className))
            return nullptr;
        return as<T>();
    }
    template <class T> T* as() const {
        if constexpr (std::is_polymorphic_v<T>) {
            if (auto* referenced = dynamic_cast<ReferencedInstance<T>*>(boundInstance.get()))
                return referenced->get();
            if constexpr (std::is_base_of_v<Wrappable, T>)
                return boundInstance ? dynamic_cast<T*>(boundInstance->wrappable()) : nullptr;
        }
        // Only concrete types can be held as values; abstract bases come as counted objects.
        if constexpr (!std::is_abstract_v<T>) {
            if (auto* value = dynamic_cast<ValueInstance<T>*>(boundInstance.get()))
                return value->get();
        }
        return nullptr;
    }

    void retain() { ++refs; }
    void release();
    int referenceCount() const { return refs; }

private:
    ~HostObject();

    CosCommonClassInfo* classRecord;
    std::unique_ptr<Instance> boundInstance;
    int refs = 0;
};

// A counted reference to a host object.
class HOST_EXPORT HostObjectRef {
public:
    HostObjectRef() = default;
    HostObjectRef(HostObject* object) : hostObject(object) {
        if (hostObject)
            hostObject->retain();
    }
    HostObjectRef(const HostObjectRef& other) : HostObjectRef(other.hostObject) {}
    HostObjectRef(HostObjectRef&& other) noexcept
        : hostObject(std::exchange(other.hostObject, nullptr)) {}
    HostObjectRef& operator=(HostObjectRef other) noexcept {
        std::swap(hostObject, other.hostObject);
        return *this;
    }
    ~HostObjectRef() {
        if (hostObject)
            hostObject->release();
    }

    HostObject* get() const { return hostObject; }
    HostObject* operator->() const { return hostObject; }
    explicit operator bool() const { return hostObject != nullptr; }
    // Gives up the count without releasing it.
    HostObject* release() { return std::exchange(hostObject, nullptr); }

private:
    HostObject* hostObject = nullptr;
};

} // namespace NOX
