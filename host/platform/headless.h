// The headless platform's one control beyond host/platform.h: its virtual performance counter, which
// the renderer steps by one frame's worth of counts per frame. Pairs with headless.cpp.
#pragma once

#include <cstdint>

namespace headless {

// Counts per second of the virtual counter.
constexpr std::int64_t kCounterFrequency = 1000000;

void setPerformanceCounter(std::int64_t counts);

}  // namespace headless
