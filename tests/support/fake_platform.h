// The scripted platform of the unit and GL tests: every service of host/platform.h, with the
// cursor, ticks, counter, settings and resources set by the test and every call that matters recorded.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/platform.h"

namespace fake {

// Everything back to its starting state: no windows, no settings, cursor (0, 0), tick 0, counter 0
// at 1,000,000 counts per second, NT platform, every embedded picture present.
void reset();

// Time
void setTickCount(std::uint32_t milliseconds);
void setPerformanceCounter(std::int64_t counts);
void setPerformanceFrequency(std::int64_t countsPerSecond);

// Embedded data: by default the real embedded pictures. A test may replace or add a resource, or
// hide one so that findResource fails for it.
void setResource(const std::string& name, const std::vector<std::uint8_t>& bytes);
void hideResource(const std::string& name);

}  // namespace fake
