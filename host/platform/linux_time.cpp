// Linux platform: time. The tick and the performance counter both come from CLOCK_MONOTONIC, which
// no change of the wall clock moves. Pairs with host/platform.h (time).
#include <ctime>

#include "host/platform/linux_internal.h"

namespace linux_platform {

std::int64_t monotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

}  // namespace linux_platform

namespace platform {

// Milliseconds, wrapping after about 49.7 days like the tick it stands in for.
std::uint32_t getTickCount() { return static_cast<std::uint32_t>(linux_platform::monotonicNs() / 1000000); }

// A stop request cuts the pause short (linux_signals.cpp).
void sleepMs(std::uint32_t milliseconds) { linux_platform::sleepUnlessStopped(milliseconds); }

std::int64_t queryPerformanceFrequency() { return 1000000000; }

std::int64_t queryPerformanceCounter() { return linux_platform::monotonicNs(); }

}  // namespace platform
