#pragma once

#include "platform/host/vxArray.hpp"

#include <atomic>
#include <utility>

namespace NOX {

// A host interface object: a value the host hands to the library (a menu schema, say) that can
// be turned into a host array. Counted; held through COSInterfacePtr.
class PdxInterface {
public:
    explicit PdxInterface(vxArrayPtr value) : m_value(std::move(value)) {}
    virtual ~PdxInterface() = default;
    PdxInterface(const PdxInterface&) = delete;
    PdxInterface& operator=(const PdxInterface&) = delete;

    // A new array with the object's value (an empty array when it has none).
    virtual vxArray* toArray() const { return vxDuplicateArray(m_value.get()); }

    void retain() const { m_refs.fetch_add(1, std::memory_order_relaxed); }
    void release() const {
        if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }

private:
    vxArrayPtr m_value;
    mutable std::atomic<int> m_refs{0};
};

// A counted pointer to a host interface object; the object goes with the last pointer.
class COSInterfacePtr {
public:
    COSInterfacePtr() = default;
    COSInterfacePtr(PdxInterface* object) : m_object(object) {
        if (m_object)
            m_object->retain();
    }
    COSInterfacePtr(const COSInterfacePtr& other) : COSInterfacePtr(other.m_object) {}
    COSInterfacePtr(COSInterfacePtr&& other) noexcept
        : m_object(std::exchange(other.m_object, nullptr)) {}
    COSInterfacePtr& operator=(COSInterfacePtr other) noexcept {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~COSInterfacePtr() {
        if (m_object)
            m_object->release();
    }

    PdxInterface* get() const { return m_object; }
    PdxInterface* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    void reset() { COSInterfacePtr().swap(*this); }
    void swap(COSInterfacePtr& other) noexcept { std::swap(m_object, other.m_object); }

private:
    PdxInterface* m_object = nullptr;
};

} // namespace NOX

// The host array of a host interface object, owned by the caller; an empty array for null.
vxArray* ConvertPdxIToArray(const NOX::COSInterfacePtr& object);
