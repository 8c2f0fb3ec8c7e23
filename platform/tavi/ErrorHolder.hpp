#pragma once

#include "platform/tavi/ErrorDescription.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <memory>

namespace TAVI {

// The out-parameter through which fallible operations report failure. It
// holds at most one error: a new one replaces the one held. Copies share the
// (immutable) description.
class TAVI_UTIL_EXPORT ErrorHolder {
public:
    ErrorHolder() = default;

    bool hasError() const { return error != nullptr; }
    void clear() { error.reset(); }

    void setError(const ErrorDescription& description);
    void setError(std::shared_ptr<const ErrorDescription> description);

    // Empty strings and 0 when there is no error.
    std::string id() const;
    std::uint32_t code() const;
    std::string what() const;
    std::string description() const;
    CodeLocation location() const;

    // The held description, or null.
    const ErrorDescription* getError() const { return error.get(); }

private:
    std::shared_ptr<const ErrorDescription> error;
};

} // namespace TAVI
