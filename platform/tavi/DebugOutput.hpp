#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace TAVI {

// The toolkit's debugger output: diagnostic text that is not for the user
// (filter histories, traces). Texts are kept in a bounded log that tests and
// tools can read (the oldest beyond 10,000 entries are dropped) and are also
// written to standard error when echo is on (off by default).
class TAVI_UTIL_EXPORT DebugOutput {
public:
    struct Entry {
        std::string text;
        bool first = false; // the two flags given with the text
        bool second = false;
    };

    static std::vector<Entry> entries();
    static std::size_t count();
    static void clear();
    static void setEcho(bool echo);
};

// Sends text to the debugger output. With `newline` a line feed ends it on the
// echo; with `flush` the echo is flushed at once.
TAVI_UTIL_EXPORT void outputToDebugger(const std::string& text, bool newline, bool flush);

} // namespace TAVI
