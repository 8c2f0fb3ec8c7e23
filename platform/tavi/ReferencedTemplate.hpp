#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <atomic>

namespace TAVI {

TAVI_UTIL_EXPORT void reportReferencedObjectDestroyedWhileHeld(unsigned long count);

// Base of reference-counted framework objects held by Holder<T>. The count
// starts at 0; the object deletes itself when the last holder lets go, so such
// objects must be made with new. Copying an object does not copy its count.
template <typename CountT> class ReferencedTemplate {
public:
    void ref() const { count.fetch_add(1, std::memory_order_relaxed); }
    void unref() const {
        if (count.fetch_sub(1, std::memory_order_acq_rel) == 1)
            delete this;
    }
    CountT getRefCount() const { return count.load(std::memory_order_relaxed); }

protected:
    ReferencedTemplate() = default;
    ReferencedTemplate(const ReferencedTemplate&) : count(0) {}
    ReferencedTemplate& operator=(const ReferencedTemplate&) { return *this; }
    virtual ~ReferencedTemplate() {
        // Deleting an object that holders still point to leaves them dangling.
        if (const CountT held = count.load(std::memory_order_relaxed); held != 0)
            reportReferencedObjectDestroyedWhileHeld(static_cast<unsigned long>(held));
    }

private:
    mutable std::atomic<CountT> count{0};
};

using Referenced = ReferencedTemplate<unsigned int>;

} // namespace TAVI
