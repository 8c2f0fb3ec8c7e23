#pragma once

// The host's utility library: printing, assertions that report and continue,
// message tables with languages, and timing.
#include "platform/zu/zuAssert.hpp"
#include "platform/zu/zuMessages.hpp"
#include "platform/zu/zuPerf.hpp"
#include "platform/zu/zuPrint.hpp"
