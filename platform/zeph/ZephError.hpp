#pragma once

#include "platform/zeph/zeph_export.hpp"

namespace ZEPH {

// Throws TAVI::TypedException with the canvas's message for an error code
// ("ZEPH error <code>"), for callers that report canvas failures by number.
[[noreturn]] ZEPH_EXPORT void throwError(int code);

} // namespace ZEPH
