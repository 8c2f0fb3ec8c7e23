#pragma once

#include "platform/host/host_export.hpp"
#include "platform/host/vxArray.hpp"

#include <atomic>
#include <utility>

namespace NOX {

// A host interface object: a value the host hands to the library (a menu schema, say) that can
// be turned into a host array. Counted; held through COSInterfacePtr.
class HOST_EXPORT PdxInterface {
public:
    explicit PdxInterface(vxArrayPtr value) : arrayValue(std::move(value)) {}
    virtual ~PdxInterface() = default;
    PdxInterface(const PdxInterface&) = delete;
    PdxInterface& operator=(const PdxInterface&) = delete;

    // A new array with the object's value (an empty array when it has none).
    virtual vxArray* toArray() const { return vxDuplicateArray(arrayValue.get()); }

    void retain() const { refs.fetch_add(1, std::memory_order_relaxed); }
    void release() const {
        if (refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

private:
    vxArrayPtr arrayValue;
    mutable std::atomic<int> refs{0};
};

// A counted pointer to a host interface object; the object goes with the last pointer.
class HOST_EXPORT COSInterfacePtr {
public:
    COSInterfacePtr() = default;
    COSInterfacePtr(PdxInterface* object) : interfaceObject(object) {
        if (interfaceObject)
            interfaceObject->retain();
    }
    COSInterfacePtr(const COSInterfacePtr& other) : COSInterfacePtr(other.interfaceObject) {}
    COSInterfacePtr(COSInterfacePtr&& other) noexcept
        : interfaceObject(std::exchange(other.interfaceObject, nullptr)) {}
    COSInterfacePtr& operator=(COSInterfacePtr other) noexcept {
        std::swap(interfaceObject, other.interfaceObject);
        return *this;
    }
    ~COSInterfacePtr() {
        if (interfaceObject)
            interfaceObject->release();
    }

    PdxInterface* get() const { return interfaceObject; }
    PdxInterface* operator->() const { return interfaceObject; }
    explicit operator bool() const { return interfaceObject != nullptr; }
    void reset() { COSInterfacePtr().swap(*this); }
    void swap(COSInterfacePtr& other) noexcept {
        std::swap(interfaceObject, other.interfaceObject);
    }

private:
    PdxInterface* interfaceObject = nullptr;
};

} // namespace NOX

// The host array of a host interface object, owned by the caller; an empty array for null.
HOST_EXPORT vxArray* ConvertPdxIToArray(const NOX::COSInterfacePtr& object);
