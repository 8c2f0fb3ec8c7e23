#include "platform/zu/zuPerf.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(zuPerfTest, TocMeasuresElapsedSecondsOnTheWallClock) {
    const std::uint64_t start = zuPERFtic(0);
    EXPECT_NE(start, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double elapsed = zuPERFtoc(0, start, zuGetPERFspeed());
    EXPECT_GE(elapsed, 0.019);
    EXPECT_LT(elapsed, 5.0);
}

TEST(zuPerfTest, CpuClockIgnoresSleepingAndFutureStartGivesZero) {
    const std::uint64_t start = zuPERFtic(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_LT(zuPERFtoc(1, start, zuGetPERFspeed()), 0.025);
    EXPECT_EQ(zuPERFtoc(0, zuPERFtic(0) + 1000000000000ull, zuGetPERFspeed()), 0.0);
}
