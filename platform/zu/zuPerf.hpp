#pragma once

#include "platform/zu/zu_export.hpp"

#include <cstdint>

// Timing for measurements in the running program (gesture speeds, traces).
// A tick is a count of the clock's units; zuGetPERFspeed gives units per
// second. Clock 0 is the monotonic wall clock, clock 1 the process's CPU time;
// any other value is read as 0. A tick is never 0, so callers may use 0 as
// "no sample yet".

ZU_EXPORT std::uint64_t zuPERFtic(int clock);

// Seconds from the tick `start` (taken with the same clock) to now.
ZU_EXPORT double zuPERFtoc(int clock, std::uint64_t start, double speed);

// Clock units per second.
ZU_EXPORT double zuGetPERFspeed();
