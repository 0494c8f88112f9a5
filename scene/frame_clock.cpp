// The frame clock: scene time from the performance counter, and the once-a-second pacing of the
// pause the host sleeps after each frame. Pairs with frame_clock.h and scene.h.
#include "scene/frame_clock.h"

#include <algorithm>

#include "host/platform.h"
#include "scene/scene.h"

ClockBase clockBase;

std::int64_t elapsedMilliseconds(std::int64_t now, std::int64_t start, std::int64_t frequency) {
    if (frequency <= 0) return 0;
    // Whole seconds and the remainder apart: the same truncated milliseconds as multiplying the
    // whole difference by 1000 first, without that product overflowing after some 107 days of a
    // nanosecond counter.
    const std::int64_t counts = now - start;
    return counts / frequency * 1000 + counts % frequency * 1000 / frequency;
}

std::int32_t pacingCorrection(std::int32_t previousFps, std::int32_t targetFps) {
    if (previousFps <= 0 || targetFps <= 0) return 0;
    return (1000 / targetFps - 1000 / previousFps) / 2;
}

std::int32_t clampPause(std::int32_t pauseMs) {
    if (pauseMs < 1) return 1;
    if (pauseMs > 1000) return 1000;
    return pauseMs;
}

std::int32_t nextPause(std::int32_t pauseMs, std::int32_t correction) {
    return clampPause(std::max(pauseMs / 2, pauseMs + correction));
}

void Scene::startClock() {
    if (clockBase.clockStarted) return;
    clockBase.clockStarted = true;
    clockBase.counterFrequency = platform::queryPerformanceFrequency();
    clockBase.counterStart = platform::queryPerformanceCounter();
    clockBase.tickStart = platform::getTickCount();
    frameCount = 0;
    framesPerSecond = 50.0f;
    time = 0.0f;
    lastMeasureTime = 0.0f;
}

void Scene::updateClock() {
    std::int64_t ms;
    if (clockBase.counterFrequency > 0) {
        ms = elapsedMilliseconds(platform::queryPerformanceCounter(), clockBase.counterStart,
                                 clockBase.counterFrequency);
    } else {
        // No usable counter: the millisecond tick, whose unsigned difference survives its wrap.
        ms = static_cast<std::uint32_t>(platform::getTickCount() - clockBase.tickStart);
    }
    time = static_cast<float>(ms) * 0.001f;
    // Every frame, before the measurement: a rate measured across a stop (or a dark spell) would
    // pace the next second by the time the process was not running.
    if (platform::takeResumedFromStop() || rateRestartPending) {
        rateRestartPending = false;
        lastMeasureTime = time;
        frameCount = 0;
        return;
    }

    const float dt = time - lastMeasureTime;
    if (dt < 1.0f) {
        frameCount += 1;
        return;
    }
    // The correction uses the estimate from before this measurement; this frame is not counted.
    const std::int32_t previous = static_cast<std::int32_t>(framesPerSecond);
    framesPerSecond = static_cast<float>(frameCount) / dt;
    frameCount = 0;
    lastMeasureTime = time;
    pauseMs = nextPause(pauseMs, pacingCorrection(previous, targetFps));
    if (dt > clockBase.longestMeasurement) clockBase.longestMeasurement = dt;
}
