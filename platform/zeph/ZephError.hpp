#pragma once

namespace ZEPH {

// Throws TAVI::TypedException with the canvas's message for an error code
// ("ZEPH error <code>"), for callers that report canvas failures by number.
[[noreturn]] void throwError(int code);

} // namespace ZEPH
