#include "platform/veld/Asserter.hpp"

#include <cstdio>

namespace VELD {
namespace {
struct AsserterState {
    std::vector<AssertionReport> reports;
    Asserter::Handler handler;
};

AsserterState& state() {
    static AsserterState s;
    return s;
}
} // namespace

void Asserter::report(const char* expression, const char* source, int line,
                      const std::string& message) {
    AssertionReport r{expression ? expression : "", source ? source : "", line, message};
    state().reports.push_back(r);
    if (state().handler) {
        state().handler(r);
        return;
    }
    std::fprintf(stderr, "VELD assertion failed: %s (%s:%d): %s\n", r.expression.c_str(),
                 r.source.c_str(), r.line, r.message.c_str());
}

const std::vector<AssertionReport>& Asserter::reports() {
    return state().reports;
}

void Asserter::clearReports() {
    state().reports.clear();
}

void Asserter::setHandler(Handler handler) {
    state().handler = std::move(handler);
}

} // namespace VELD
