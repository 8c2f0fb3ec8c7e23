#pragma once

#include "platform/veld/veld_export.hpp"

#include <functional>
#include <string>
#include <vector>

namespace VELD {

// One broken expectation reported through the kernel's asserter.
struct VELD_EXPORT AssertionReport {
    std::string expression;
    std::string source;
    int line = 0;
    std::string message;
};

// The kernel's asserter: reports a broken internal expectation and lets execution go on.
// Reports are printed to stderr and kept, so tests can observe (and clear) them; a program
// may install a handler of its own instead of the printing.
class VELD_EXPORT Asserter {
public:
    using Handler = std::function<void(const AssertionReport&)>;

    static void report(const char* expression, const char* source, int line,
                       const std::string& message);
    static const std::vector<AssertionReport>& reports();
    static void clearReports();
    // Replaces the printing; an empty handler restores it. Reports are kept either way.
    static void setHandler(Handler handler);
};

} // namespace VELD

// Checks an internal expectation; on failure reports and continues.
#define VELD_ASSERT(expr, message)                                                                 \
    do {                                                                                           \
        if (!(expr))                                                                               \
            ::VELD::Asserter::report(#expr, __FILE__, __LINE__, (message));                        \
    } while (false)
