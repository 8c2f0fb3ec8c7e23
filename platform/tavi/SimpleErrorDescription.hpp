#pragma once

#include "platform/tavi/ErrorDescription.hpp"
#include "platform/tavi/tavi_util_export.hpp"

namespace TAVI {

// An error with a fixed text and, optionally, an id.
class TAVI_UTIL_EXPORT SimpleErrorDescription : public ErrorDescription {
public:
    SimpleErrorDescription(CodeLocation location, std::string message, std::string id = {});

    std::string id() const override;
    std::string what() const override;
    std::unique_ptr<ErrorDescription> clone() const override;

private:
    std::string message;
    std::string errorId;
};

} // namespace TAVI
