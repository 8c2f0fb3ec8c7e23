#include "platform/zu/zuPerf.hpp"

#include <chrono>
#include <ctime>

namespace {

std::uint64_t nowNanoseconds(int clock) {
    if (clock == 1) {
        timespec ts{};
        if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) == 0)
            return static_cast<std::uint64_t>(ts.tv_sec) * 1000000000ull +
                   static_cast<std::uint64_t>(ts.tv_nsec);
    }
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(since).count());
}

} // namespace

std::uint64_t zuPERFtic(int clock) {
    const std::uint64_t now = nowNanoseconds(clock);
    return now == 0 ? 1 : now;
}

double zuPERFtoc(int clock, std::uint64_t start, double speed) {
    if (speed <= 0.0)
        speed = zuGetPERFspeed();
    const std::uint64_t now = nowNanoseconds(clock);
    // A start from the future (another clock, a bad value) is not a negative duration.
    if (now <= start)
        return 0.0;
    return static_cast<double>(now - start) / speed;
}

double zuGetPERFspeed() {
    return 1e9;
}
