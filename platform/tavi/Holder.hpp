#pragma once

#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

namespace TAVI {

// A counted handle to an object derived from ReferencedTemplate. Holders
// share the object; it is destroyed when the last holder lets go. A holder may
// be empty.
template <typename T> class Holder {
public:
    Holder() = default;
    Holder(std::nullptr_t) {}
    Holder(T* object) : ptr(object) { acquire(); }
    Holder(const Holder& other) : ptr(other.ptr) { acquire(); }
    Holder(Holder&& other) noexcept : ptr(std::exchange(other.ptr, nullptr)) {}
    template <typename U, typename = std::enable_if_t<std::is_convertible_v<U*, T*>>>
    Holder(const Holder<U>& other) : ptr(other.get()) {
        acquire();
    }
    ~Holder() { release(); }

    Holder& operator=(const Holder& other) {
        Holder(other).swap(*this);
        return *this;
    }
    Holder& operator=(Holder&& other) noexcept {
        Holder(std::move(other)).swap(*this);
        return *this;
    }
    Holder& operator=(T* object) {
        Holder(object).swap(*this);
        return *this;
    }

    T* get() const { return ptr; }
    T* operator->() const { return ptr; }
    T& operator*() const { return *ptr; }
    explicit operator bool() const { return ptr != nullptr; }
    bool isNull() const { return ptr == nullptr; }

    void reset() { Holder().swap(*this); }
    void swap(Holder& other) noexcept { std::swap(ptr, other.ptr); }

    // A holder of the same object seen as U, or an empty holder when it is not a U.
    template <typename U> Holder<U> dynamicCast() const { return Holder<U>(dynamic_cast<U*>(ptr)); }
    template <typename U> Holder<U> staticCast() const { return Holder<U>(static_cast<U*>(ptr)); }

    template <typename U> bool operator==(const Holder<U>& other) const {
        return ptr == other.get();
    }
    bool operator==(std::nullptr_t) const { return ptr == nullptr; }
    template <typename U> bool operator<(const Holder<U>& other) const {
        return std::less<const void*>()(ptr, other.get());
    }

private:
    void acquire() {
        if (ptr)
            ptr->ref();
    }
    void release() {
        if (ptr)
            ptr->unref();
    }

    T* ptr = nullptr;
};

} // namespace TAVI

template <typename T> struct std::hash<TAVI::Holder<T>> {
    std::size_t operator()(const TAVI::Holder<T>& h) const noexcept {
        return std::hash<T*>()(h.get());
    }
};
