// The measurement hook: counts presented frames, ends the run after a given number of them, and
// reports the achieved rate at the end. Pairs with measurement.h, frame_loop.cpp (the count) and
// saver_main.cpp (settings read at start, report written at the end).
#include "host/measurement.h"

#include <GL/gl.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "host/platform.h"
#include "scene/frame_clock.h"
#include "scene/scene_seed.h"

namespace {

// Enough for the last kRecentSeconds at several hundred frames a second; a faster run reports
// the span the ring still holds.
constexpr int kRingSize = 4096;
constexpr double kRecentSeconds = 10.0;

long exitAfter = 0;  // 0: run until closed
bool report = false;
long presented = 0;
double firstTime = 0.0;
double ring[kRingSize];  // monotonic seconds of the last kRingSize presents, oldest overwritten

double nowSeconds() {
    const std::int64_t frequency = platform::queryPerformanceFrequency();
    return frequency > 0 ? static_cast<double>(platform::queryPerformanceCounter()) / static_cast<double>(frequency)
                         : static_cast<double>(platform::getTickCount()) / 1000.0;
}

// A whole decimal number low..high and nothing else; -1 otherwise.
long wholeNumber(const char* text, unsigned long low, unsigned long high) {
    if (!text || *text < '0' || *text > '9') return -1;
    errno = 0;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) return -1;
    return static_cast<long>(value);
}

double presentTime(long index) { return ring[index % kRingSize]; }

// The longest pause between two presents the ring still holds (a stop, a dark display), and the
// most frames presented within any one second after it: pacing that goes astray after a pause
// shows as a second far above the target rate.
void longestGap(double& gap, long& peak) {
    gap = 0.0;
    peak = 0;
    const long oldest = presented > kRingSize ? presented - kRingSize : 0;
    long after = presented;
    for (long i = oldest + 1; i < presented; ++i) {
        if (presentTime(i) - presentTime(i - 1) > gap) {
            gap = presentTime(i) - presentTime(i - 1);
            after = i;
        }
    }
    for (long first = after, last = after; first < presented; ++first) {
        while (last < presented && presentTime(last) - presentTime(first) < 1.0) ++last;
        if (last - first > peak) peak = last - first;
    }
}

}  // namespace

void readMeasurementSettings(const char* (*get)(const char* name)) {
    exitAfter = 0;
    report = false;
    presented = 0;
    if (const char* count = get("MORVANE_EXIT_AFTER_FRAMES")) {
        exitAfter = wholeNumber(count, 1, 1000000000ul);
        if (exitAfter < 0) {
            exitAfter = 0;
            std::fprintf(stderr, "morvane: MORVANE_EXIT_AFTER_FRAMES is not a count from 1 to 1000000000: \"%s\"\n",
                         count);
        }
    }
    if (const char* seed = get("MORVANE_SEED")) {
        const long value = wholeNumber(seed, 0, 255);
        if (value >= 0) setFixedSceneSeed(static_cast<std::int32_t>(value));
        else std::fprintf(stderr, "morvane: MORVANE_SEED is not a seed from 0 to 255: \"%s\"\n", seed);
    }
    if (const char* wanted = get("MORVANE_FRAME_REPORT")) report = wanted[0] == '1' && wanted[1] == '\0';
}

bool framePresented() {
    if (exitAfter == 0 && !report) return false;
    const double now = nowSeconds();
    if (presented == 0) firstTime = now;
    ring[presented % kRingSize] = now;
    ++presented;
    if (exitAfter == 0 || presented != exitAfter) return false;
    // As the measured baseline does: the last frame is finished before the run ends.
    glFinish();
    return true;
}

void writeFrameReport() {
    if (!report) return;
    // Rates are intervals over time: n frames presented span n - 1 intervals.
    const double last = presented > 0 ? presentTime(presented - 1) : 0.0;
    const double seconds = presented > 1 ? last - firstTime : 0.0;
    // The recent window: back from the last frame while the ring still holds the earlier one.
    long first = presented > 0 ? presented - 1 : 0;
    const long oldest = presented > kRingSize ? presented - kRingSize : 0;
    while (first > oldest && last - presentTime(first - 1) <= kRecentSeconds) --first;
    const long recentIntervals = presented > 0 ? presented - 1 - first : 0;
    const double recentSeconds = presented > 0 ? last - presentTime(first) : 0.0;
    double gap = 0.0;
    long peak = 0;
    longestGap(gap, peak);
    std::fprintf(stderr,
                 "morvane: frames=%ld seconds=%.3f fps=%.2f recent-seconds=%.3f recent-fps=%.2f longest-gap=%.3f "
                 "peak-second-after-gap=%ld longest-measurement=%.3f\n",
                 presented, seconds, seconds > 0.0 ? static_cast<double>(presented - 1) / seconds : 0.0, recentSeconds,
                 recentSeconds > 0.0 ? static_cast<double>(recentIntervals) / recentSeconds : 0.0, gap, peak,
                 static_cast<double>(clockBase.longestMeasurement));
}
