#pragma once

#include "platform/zu/zuAssert.hpp"

#include <cstddef>
#include <string>
#include <vector>

namespace KiteTest {

// Observes the host assertions raised while it lives: starts from a clean
// record and silences their printing; restores the printing when it ends.
class AssertionRecorder {
public:
    AssertionRecorder();
    ~AssertionRecorder();
    AssertionRecorder(const AssertionRecorder&) = delete;
    AssertionRecorder& operator=(const AssertionRecorder&) = delete;

    std::vector<ZuAssertionReport> reports() const { return zuAssertionReports(); }
    std::size_t count() const { return zuAssertionCount(); }
    void clear() { zuClearAssertionReports(); }

    // The expressions of the reports, oldest first: handy for exact comparisons.
    std::vector<std::string> expressions() const;
};

} // namespace KiteTest
