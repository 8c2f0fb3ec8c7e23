#include "platform/tavi/DebugOutput.hpp"

#include <cstdio>
#include <deque>
#include <mutex>

namespace TAVI {

namespace {

constexpr std::size_t maxEntries = 10000;

struct DebugLog {
    std::mutex mutex;
    std::deque<DebugOutput::Entry> entries;
    bool echo = false;
};

DebugLog& debugLog() {
    static DebugLog log;
    return log;
}

} // namespace

void outputToDebugger(const std::string& text, bool newline, bool flush) {
    DebugLog& log = debugLog();
    std::lock_guard lock(log.mutex);
    if (log.entries.size() == maxEntries)
        log.entries.pop_front();
    log.entries.push_back(DebugOutput::Entry{text, newline, flush});
    if (log.echo) {
        std::fputs(text.c_str(), stderr);
        if (newline)
            std::fputc('\n', stderr);
        if (flush)
            std::fflush(stderr);
    }
}

std::vector<DebugOutput::Entry> DebugOutput::entries() {
    DebugLog& log = debugLog();
    std::lock_guard lock(log.mutex);
    return {log.entries.begin(), log.entries.end()};
}

std::size_t DebugOutput::count() {
    DebugLog& log = debugLog();
    std::lock_guard lock(log.mutex);
    return log.entries.size();
}

void DebugOutput::clear() {
    DebugLog& log = debugLog();
    std::lock_guard lock(log.mutex);
    log.entries.clear();
}

void DebugOutput::setEcho(bool echo) {
    DebugLog& log = debugLog();
    std::lock_guard lock(log.mutex);
    log.echo = echo;
}

} // namespace TAVI
