#include "platform/zu/zuAssert.hpp"

#include <cstdio>
#include <mutex>

namespace {

// An assertion that fires in a loop must not eat the process's memory.
constexpr std::size_t maxKeptReports = 10000;

struct AssertionLog {
    std::mutex mutex;
    std::vector<ZuAssertionReport> reports;
    std::size_t total = 0; // since the last clear, including dropped reports
    bool echo = true;
};

AssertionLog& log() {
    static AssertionLog instance;
    return instance;
}

} // namespace

std::string zuRepositoryPath(std::string_view sourcePath) {
    std::string_view path = sourcePath;
#ifdef KITE_SOURCE_ROOT
    constexpr std::string_view root = KITE_SOURCE_ROOT "/";
    if (path.starts_with(root))
        return std::string(path.substr(root.size()));
#endif
    // ccache's base-directory rewriting makes the compiler see "../../editor/Editor.cpp".
    while (path.starts_with("../") || path.starts_with("./"))
        path.remove_prefix(path.starts_with("./") ? 2 : 3);
    return std::string(path);
}

void zuReportAssertion(std::string_view expression, std::string_view source, int line,
                       std::string_view message, std::string_view detail) {
    ZuAssertionReport report{std::string(expression), zuRepositoryPath(source), line,
                             std::string(message), std::string(detail)};
    AssertionLog& l = log();
    std::lock_guard lock(l.mutex);
    if (l.echo) {
        std::fprintf(stderr, "Assertion failed: %s, at %s:%d: %s%s%s\n", report.expression.c_str(),
                     report.source.c_str(), report.line, report.message.c_str(),
                     report.detail.empty() ? "" : ": ", report.detail.c_str());
        std::fflush(stderr);
    }
    if (l.reports.size() == maxKeptReports)
        l.reports.erase(l.reports.begin());
    l.reports.push_back(std::move(report));
    ++l.total;
}

std::vector<ZuAssertionReport> zuAssertionReports() {
    AssertionLog& l = log();
    std::lock_guard lock(l.mutex);
    return l.reports;
}

std::size_t zuAssertionCount() {
    AssertionLog& l = log();
    std::lock_guard lock(l.mutex);
    return l.total;
}

void zuClearAssertionReports() {
    AssertionLog& l = log();
    std::lock_guard lock(l.mutex);
    l.reports.clear();
    l.total = 0;
}

void zuSetAssertionEcho(bool echo) {
    AssertionLog& l = log();
    std::lock_guard lock(l.mutex);
    l.echo = echo;
}
