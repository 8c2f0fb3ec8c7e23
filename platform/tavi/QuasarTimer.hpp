#pragma once

#include "platform/tavi/tavi_util_export.hpp"

#include <functional>

namespace TAVI {

class QuasarTimerPrivate;

// A timer of the host's user-interface thread, on Qt's timers: it fires from
// the event loop of the thread that made it. startSingle fires once;
// startRepeating until stopped. Starting again restarts the countdown.
// Timeout handlers are called in the order they were connected; a handler may
// stop, restart or disconnect, and may destroy the timer.
class TAVI_UTIL_EXPORT QuasarTimer {
public:
    QuasarTimer();
    ~QuasarTimer();
    QuasarTimer(const QuasarTimer&) = delete;
    QuasarTimer& operator=(const QuasarTimer&) = delete;

    void startSingle(int milliseconds);
    void startRepeating(int milliseconds);
    void stop();
    bool isActive() const;

    // Returns an id for disconnectTimeout.
    int connectTimeout(std::function<void()> handler);
    void disconnectTimeout(int id);

private:
    QuasarTimerPrivate* d_func() { return d; }
    const QuasarTimerPrivate* d_func() const { return d; }
    QuasarTimerPrivate* d; // owned
};

} // namespace TAVI
