// The process-wide base of the frame clock and the pacing arithmetic, as plain functions of numbers.
// Pairs with frame_clock.cpp, which also holds Scene::startClock and Scene::updateClock.
#pragma once

#include <cstdint>

// Taken once per process, by the first Scene's startClock; every later Scene counts from it.
struct ClockBase {
    bool clockStarted = false;
    std::int64_t counterFrequency = 0;  // counts per second; 0 or less means: use the tick instead
    std::int64_t counterStart = 0;  // counts
    std::uint32_t tickStart = 0;  // milliseconds of the platform tick, for the fallback
};
extern ClockBase clockBase;

// Whole milliseconds between two counter readings. Multiplies before dividing so the millisecond is
// exact; a frequency of 0 or less gives 0 (the caller then falls back to the tick).
std::int64_t elapsedMilliseconds(std::int64_t now, std::int64_t start, std::int64_t frequency);

// The change of the pause, in milliseconds, for a previous rate estimate of `previousFps` (already
// truncated) toward `targetFps`: (1000/target - 1000/previous) / 2 in integer steps; 0 when the
// previous estimate is 0 or less.
std::int32_t pacingCorrection(std::int32_t previousFps, std::int32_t targetFps);

// The pause kept within 1..1000 milliseconds.
std::int32_t clampPause(std::int32_t pauseMs);
