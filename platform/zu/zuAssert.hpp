#pragma once

#include "platform/zu/zu_export.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Host assertions: a broken internal expectation is reported (expression,
// source path, line, message) and execution goes on. Reports are kept so that
// tests can check that exactly the expected diagnostics happened.

struct ZU_EXPORT ZuAssertionReport {
    std::string expression; // the failed expression as written
    std::string source;     // source path relative to the repository when known
    int line = 0;
    std::string message;
    std::string detail; // zu_assertstr's extra text; empty for zu_assert
};

// Records a failed assertion and prints it to standard error. Called by the macros.
ZU_EXPORT void zuReportAssertion(std::string_view expression, std::string_view source, int line,
                                 std::string_view message, std::string_view detail = {});

// The reports recorded since the last clear, oldest first (only the latest
// 10,000 are kept; the count includes dropped ones), and their removal.
ZU_EXPORT std::vector<ZuAssertionReport> zuAssertionReports();
ZU_EXPORT std::size_t zuAssertionCount();
ZU_EXPORT void zuClearAssertionReports();

// Turns off (or back on) the printing of reports; they are recorded either way.
ZU_EXPORT void zuSetAssertionEcho(bool echo);

// Strips the build's source root (or the "../" that a relative build adds) from
// a compiler-given path, so reports read "editor/Editor.cpp".
ZU_EXPORT std::string zuRepositoryPath(std::string_view sourcePath);

#define zu_assert(expr, message)                                                                   \
    do {                                                                                           \
        if (!(expr))                                                                               \
            ::zuReportAssertion(#expr, __FILE__, __LINE__, (message));                             \
    } while (0)

#define zu_assertstr(expr, message, detail)                                                        \
    do {                                                                                           \
        if (!(expr))                                                                               \
            ::zuReportAssertion(#expr, __FILE__, __LINE__, (message), (detail));                   \
    } while (0)
