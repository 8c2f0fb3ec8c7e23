#pragma once

#include "platform/tavi/Exception.hpp"
#include "platform/tavi/SimpleErrorDescription.hpp"
#include "platform/tavi/tavi_util_export.hpp"

namespace TAVI {

// Thrown for invalid arguments that callers must not pass. The message names
// the operation and the bad value; what() gives it.
class TAVI_UTIL_EXPORT TypedException : public Exception {
public:
    explicit TypedException(SimpleErrorDescription description);
    TypedException(CodeLocation location, std::string message);
    ~TypedException() override;

    const SimpleErrorDescription& getDescription() const { return errorDescription; }

private:
    SimpleErrorDescription errorDescription;
};

} // namespace TAVI
