#pragma once

#include "platform/tavi/ErrorDescription.hpp"
#include "platform/tavi/tavi_util_export.hpp"

#include <vector>

namespace TAVI {

// An error from a message table: an id, a numeric code and its arguments. The
// text is looked up in the host's message tables each time it is asked for, in
// the language current at that moment; a code no table knows still gives a
// text that names the id.
class TAVI_UTIL_EXPORT XCFErrorDescription : public ErrorDescription {
public:
    XCFErrorDescription(CodeLocation location, std::string messageId, std::uint32_t messageCode,
                        std::string argument);
    XCFErrorDescription(CodeLocation location, std::string messageId, std::uint32_t messageCode,
                        std::vector<std::string> arguments = {});

    std::string id() const override;
    std::uint32_t code() const override;
    std::string what() const override;
    std::unique_ptr<ErrorDescription> clone() const override;

    const std::vector<std::string>& arguments() const { return args; }

private:
    std::string messageId;
    std::uint32_t messageCode;
    std::vector<std::string> args;
};

} // namespace TAVI
