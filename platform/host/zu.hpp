#pragma once

// The host's utility library: printing, assertions that report and continue,
// message tables with languages, and timing.
#include "platform/host/zuAssert.hpp"
#include "platform/host/zuMessages.hpp"
#include "platform/host/zuPerf.hpp"
#include "platform/host/zuPrint.hpp"
