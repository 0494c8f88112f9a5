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
    // The longest span one rate measurement covered, in seconds (the frame report prints it): a
    // stop or a dark spell that was measured as one slow second shows here.
    float longestMeasurement = 0.0f;
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

// The pause after one measurement: the current pause changed by `correction`, but shortened to no
// less than half of it, and then clamped. One slow second (a busy machine, a page-in) would
// otherwise cut the pause to 1 ms at once, and the loop would run unpaced for the two seconds its
// lagging estimate takes to notice: hundreds of frames a second, on a machine already short of time.
std::int32_t nextPause(std::int32_t pauseMs, std::int32_t correction);
