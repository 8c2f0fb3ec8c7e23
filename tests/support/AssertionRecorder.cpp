#include "tests/support/AssertionRecorder.hpp"

namespace KiteTest {

AssertionRecorder::AssertionRecorder() {
    zuClearAssertionReports();
    zuSetAssertionEcho(false);
}

AssertionRecorder::~AssertionRecorder() {
    zuClearAssertionReports();
    zuSetAssertionEcho(true);
}

std::vector<std::string> AssertionRecorder::expressions() const {
    std::vector<std::string> result;
    for (const ZuAssertionReport& report : zuAssertionReports())
        result.push_back(report.expression);
    return result;
}

} // namespace KiteTest
