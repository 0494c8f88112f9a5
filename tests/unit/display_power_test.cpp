// The frame loop while the display is powered off: no frame, messages still handled, short sleeps;
// frames again when it comes back, the animation going on from the clock. Pairs with
// host/frame_loop.cpp and scene/frame_clock.cpp.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/saver.h"
#include "host/saver_constants.h"
#include "scene/scene.h"
#include "tests/support/host_fixture.h"
#include "tests/unit/scene_fixture.h"

namespace {

struct Counted {
    std::int32_t frames = 0;
    std::int32_t resumes = 0;
    std::int32_t framesBeforeResume = -1;
};
bool countFrame(void* target, std::int32_t) {
    ++static_cast<Counted*>(target)->frames;
    return true;
}
void countResume(void* target) {
    Counted& counted = *static_cast<Counted*>(target);
    if (counted.resumes++ == 0) counted.framesBeforeResume = counted.frames;
}
std::int32_t longPause(void*) { return 41; }

class DisplayPower : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        host.runMode = RunMode::FullScreen;
        platform::registerClass({CS_OWNDC, saverWindowProc, 0, "OpenGL"});
        window = platform::createWindow(0, "OpenGL", "SaverWindow", WS_POPUP, 0, 0, 10, 10, 0, 0);
    }
    void run() { runFrameLoop(settings, {countFrame, longPause, &counted, countResume}); }

    platform::WindowHandle window = 0;
    Counted counted;
};

TEST_F(DisplayPower, DarkDisplayDrawsNothingButHandlesMessagesAndComesBack) {
    // Dark for the first 20 turns of the loop, then lit; the test ends the loop after two frames.
    fake::state.displayPowerHook = [] { return fake::state.displayPowerQueries <= 20; };
    fake::state.sleepHook = [this](std::uint32_t) {
        if (fake::state.sleeps.size() == 5) window_model::post(window, WM_SETCURSOR, 0, 0);
        if (counted.frames == 2) platform::postQuitMessage(0);
    };
    run();

    EXPECT_EQ(counted.frames, 2);
    // The message queued while dark was handled (the cursor is hidden over the full-screen saver).
    EXPECT_EQ(fake::state.cursorsSet.size(), 1u);
    ASSERT_GE(fake::state.sleeps.size(), 22u);
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_GT(fake::state.sleeps[i], 0u);
        EXPECT_LE(fake::state.sleeps[i], 1000u);
    }
    // Back on: frames with the clock's own pause, not the dark step.
    EXPECT_EQ(fake::state.sleeps[20], 41u);
    EXPECT_EQ(fake::state.sleeps[21], 41u);
    // The frame step hears of it once, before the first frame after the dark spell.
    EXPECT_EQ(counted.resumes, 1);
    EXPECT_EQ(counted.framesBeforeResume, 0);
}

TEST_F(DisplayPower, InputWhileDarkEndsTheRun) {
    fake::state.displayPowerHook = [] { return true; };
    fake::state.sleepHook = [this](std::uint32_t) {
        if (fake::state.sleeps.size() == 3) window_model::post(window, WM_KEYDOWN, 0x20, 0);
        if (fake::state.sleeps.size() > 50) platform::postQuitMessage(1);  // the test's own stop, never reached
    };
    run();
    EXPECT_FALSE(window_model::alive(window));
    EXPECT_EQ(counted.frames, 0);
    EXPECT_EQ(fake::state.sleeps.size(), 3u);
}

using ClockAfterDarkness = SceneLogicTest;

TEST_F(ClockAfterDarkness, TimeIsRealElapsedTimeAndThePauseStaysNearItsRate) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    // Thirty frames a second for ten seconds: the pacing settles.
    for (std::int32_t frame = 1; frame <= 300; ++frame) {
        fake::state.counter = frame * 1000000LL / 30;
        scene.updateClock();
    }
    const std::int32_t settled = scene.pauseMs;
    // An hour with the display off, no frame drawn; then thirty frames a second again.
    const std::int64_t back = 10 * 1000000LL + 3600 * 1000000LL;
    for (std::int32_t frame = 1; frame <= 90; ++frame) {
        fake::state.counter = back + frame * 1000000LL / 30;
        scene.updateClock();
        if (frame == 1) {
            EXPECT_NEAR(scene.time, 3610.033f, 0.002f);
        }
        EXPECT_GE(scene.pauseMs, settled - 2) << frame;
        EXPECT_LE(scene.pauseMs, settled + 2) << frame;
    }
}

}  // namespace
