// Shared set-up of the scene's GL tests: an offscreen context, the fake platform's clock at zero, a
// fresh clock base and transition, a fixed seed; and frames read back and rendered at a given time.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "host/platform/offscreen_gl.h"
#include "scene/frame_clock.h"
#include "scene/mirror_config.h"
#include "scene/scene.h"
#include "scene/scene_seed.h"
#include "tests/support/fake_platform.h"

class SceneGlTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gl.create(kWidth, kHeight)) << gl.error();
        fake::reset();
        // The context's own calls beyond OpenGL 1.1, as the saver's platforms hand them out.
        fake::state.glProcAddress = OffscreenGl::procAddress;
        clockBase = ClockBase{};
        mirrorTransition = MirrorTransition{};
        setFixedSceneSeed(0);
    }
    void TearDown() override { setFixedSceneSeed(-1); }

    // One frame of `scene` at `seconds` of scene time, read back top row first.
    std::vector<std::uint8_t> frameAt(Scene& scene, double seconds, std::int32_t flags) {
        fake::state.counter = static_cast<std::int64_t>(seconds * 1000000.0 + 0.5);
        EXPECT_TRUE(scene.render(flags));
        return gl.readPixels();
    }

    static constexpr std::int32_t kWidth = 400;
    static constexpr std::int32_t kHeight = 400;
    static constexpr std::int32_t kMirrors = 0x10000;
    OffscreenGl gl;
};
