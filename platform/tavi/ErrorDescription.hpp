#pragma once

#include "platform/tavi/CodeLocation.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace TAVI {

// What went wrong in an operation that reports through an ErrorHolder.
// Descriptions are immutable values; holders share them.
class TAVI_UTIL_EXPORT ErrorDescription {
public:
    virtual ~ErrorDescription();

    virtual std::string id() const = 0;   // message id, e.g. "KITE_DomainNotFound"; may be empty
    virtual std::uint32_t code() const;   // numeric message code; 0 when there is none
    virtual std::string what() const = 0; // the message text
    // The text with its id and location, for logs and assertion details.
    virtual std::string description() const;
    virtual std::unique_ptr<ErrorDescription> clone() const = 0;

    const CodeLocation& location() const { return codeLocation; }

protected:
    explicit ErrorDescription(CodeLocation location);
    ErrorDescription(const ErrorDescription&) = default;
    ErrorDescription& operator=(const ErrorDescription&) = default;

private:
    CodeLocation codeLocation;
};

} // namespace TAVI
