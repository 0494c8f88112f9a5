// The frame clock: scene time from the counter in whole milliseconds, the once-a-second pacing
// correction with its clamp, and the fallback to the tick when the counter has no frequency.
#include "scene/frame_clock.h"

#include "scene/scene.h"
#include "tests/unit/scene_fixture.h"

namespace {

TEST(PacingCorrection, FollowsTheWorkedValues) {
    struct Row {
        std::int32_t previous;
        std::int32_t change;
    };
    const Row rows[] = {{60, 8}, {50, 6}, {32, 1}, {31, 0}, {30, 0}, {29, 0},
                        {28, -1}, {25, -3}, {10, -33}, {1, -483}, {0, 0}, {-5, 0}};
    for (const Row& row : rows) EXPECT_EQ(pacingCorrection(row.previous, 30), row.change) << row.previous;
}

TEST(PacingCorrection, PauseIsClampedToOneSecondAndOneMillisecond) {
    EXPECT_EQ(clampPause(41 - 483), 1);
    EXPECT_EQ(clampPause(0), 1);
    EXPECT_EQ(clampPause(1), 1);
    EXPECT_EQ(clampPause(1000), 1000);
    EXPECT_EQ(clampPause(1007), 1000);
}

TEST(PacingCorrection, OneMeasurementAtMostHalvesThePause) {
    EXPECT_EQ(nextPause(30, -483), 15);
    EXPECT_EQ(nextPause(30, -10), 20);
    EXPECT_EQ(nextPause(1, -483), 1);
    EXPECT_EQ(nextPause(47, 8), 55);
    EXPECT_EQ(nextPause(998, 8), 1000);
}

TEST(PacingCorrection, ElapsedMillisecondsMultiplyBeforeDividing) {
    // 3 counts at 3 per second is exactly 1000 ms; dividing first would lose it.
    EXPECT_EQ(elapsedMilliseconds(3, 0, 3), 1000);
    EXPECT_EQ(elapsedMilliseconds(1000 + 2999, 1000, 3000), 999);
    EXPECT_EQ(elapsedMilliseconds(5, 0, 0), 0);
}

TEST(PacingCorrection, ElapsedMillisecondsStayExactForMonthsOfANanosecondCounter) {
    // 200 days and 0.9999999 s at 1 GHz: the product of the whole difference and 1000 would pass
    // the 64-bit range after about 107 days.
    const std::int64_t nanosecondsPerSecond = 1000000000;
    const std::int64_t days200 = 200LL * 86400 * nanosecondsPerSecond;
    EXPECT_EQ(elapsedMilliseconds(7 + days200 + 999999999, 7, nanosecondsPerSecond), 200LL * 86400 * 1000 + 999);
}

using FrameClock = SceneLogicTest;

// Steps the fake counter (1,000,000 per second) to `seconds` and updates the clock.
void frameAt(Scene& scene, double seconds) {
    fake::state.counter = static_cast<std::int64_t>(seconds * 1000000.0 + 0.5);
    scene.updateClock();
}

TEST_F(FrameClock, TimeAdvancesInWholeMillisecondsFromTheStart) {
    fake::state.counter = 5000000;
    Scene scene(640, 480, Scene::WithoutGraphics{});
    EXPECT_EQ(scene.framesPerSecond, 50.0f);
    EXPECT_EQ(scene.time, 0.0f);
    fake::state.counter = 5000000 + 1234999;
    scene.updateClock();
    EXPECT_EQ(scene.time, 1234.0f * 0.001f);
}

TEST_F(FrameClock, FirstMeasurementAddsSixWhateverTheRate) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    for (int frame = 1; frame <= 59; ++frame) frameAt(scene, frame / 60.0);
    EXPECT_EQ(scene.frameCount, 59);
    EXPECT_EQ(scene.pauseMs, 41);
    frameAt(scene, 1.0);
    // The measuring frame itself is not counted.
    EXPECT_FLOAT_EQ(scene.framesPerSecond, 59.0f);
    EXPECT_EQ(scene.frameCount, 0);
    EXPECT_EQ(scene.lastMeasureTime, 1.0f);
    EXPECT_EQ(scene.pauseMs, 47);
    // The second measurement uses the 59 just measured: (33 - 16) / 2.
    for (int frame = 61; frame <= 120; ++frame) frameAt(scene, frame / 60.0);
    EXPECT_EQ(scene.pauseMs, 47 + 8);
}

TEST_F(FrameClock, StallMakesOneLowMeasurementAndTheNextOneHalvesThePause) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    frameAt(scene, 0.5);
    frameAt(scene, 7.5);  // a seven-second stall: one measurement over it
    EXPECT_FLOAT_EQ(scene.framesPerSecond, 1.0f / 7.5f);
    EXPECT_EQ(scene.pauseMs, 47);
    frameAt(scene, 9.0);  // the previous estimate truncates to 0: no correction, no division
    EXPECT_EQ(scene.pauseMs, 47);
    EXPECT_FLOAT_EQ(clockBase.longestMeasurement, 7.5f);
    scene.framesPerSecond = 1.0f;
    frameAt(scene, 10.0);
    EXPECT_EQ(scene.pauseMs, 23);
}

TEST_F(FrameClock, ADarkSpellIsNotMeasuredAsASlowSecond) {
    // Settled at 30 frames a second, then 20 s without frames while the display was off.
    Scene scene(640, 480, Scene::WithoutGraphics{});
    double t = 0.0;
    for (int frame = 0; frame < 30 * 4; ++frame) frameAt(scene, t += 1.0 / 30);
    const std::int32_t settled = scene.pauseMs;
    scene.restartRateMeasurement();
    t += 20.0;
    for (int frame = 0; frame < 30 * 3; ++frame) {
        frameAt(scene, t += 1.0 / 30);
        EXPECT_GE(scene.pauseMs, settled - 2) << "frame " << frame << " after the display came back";
    }
    EXPECT_NEAR(scene.framesPerSecond, 30.0f, 1.5f);
}

TEST_F(FrameClock, AStoppedProcessStartsANewMeasurementWhenContinued) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    double t = 0.0;
    for (int frame = 0; frame < 30 * 4; ++frame) frameAt(scene, t += 1.0 / 30);
    const std::int32_t settled = scene.pauseMs;
    for (int frame = 0; frame < 15; ++frame) frameAt(scene, t += 1.0 / 30);
    fake::state.resumedFromStop = true;
    t += 3.0;
    for (int frame = 0; frame < 30 * 3; ++frame) frameAt(scene, t += 1.0 / 30);
    EXPECT_GE(scene.pauseMs, settled - 2);
    EXPECT_NEAR(scene.framesPerSecond, 30.0f, 1.5f);
    EXPECT_LT(clockBase.longestMeasurement, 1.1f);
}

TEST_F(FrameClock, CounterBaseIsTakenOncePerProcess) {
    fake::state.counter = 2000000;
    { Scene first(640, 480, Scene::WithoutGraphics{}); }
    fake::state.counter = 9000000;
    Scene second(640, 480, Scene::WithoutGraphics{});
    EXPECT_EQ(second.framesPerSecond, 10.0f);  // startClock did nothing more
    second.updateClock();
    EXPECT_EQ(second.time, 7000.0f * 0.001f);
}

TEST_F(FrameClock, ZeroFrequencyFallsBackToTheTickAcrossItsWrap) {
    fake::state.frequency = 0;
    fake::state.tick = 0xFFFFFF00u;
    Scene scene(640, 480, Scene::WithoutGraphics{});
    fake::state.counter = 123456789;
    fake::state.tick = 0xFFFFFF00u + 2500u;
    scene.updateClock();
    EXPECT_EQ(scene.time, 2.5f);
    EXPECT_EQ(scene.pauseMs, 47);
}

}  // namespace
