// The frame on several monitors: one viewport over the window gives render's frame exactly, two
// monitors side by side each show the whole picture, and a frame moves the clock once.
#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "tests/gl/scene_gl_fixture.h"

namespace {

class RenderViewports : public SceneGlTest {
protected:
    // A scene of the same seed from the same clock each time, `width` x `height` in the window's
    // bottom-left corner (with `resized`, created at the whole window's size and resized to that
    // after a first frame); its frame at 2.5 s, through `viewports` when given.
    std::vector<std::uint8_t> frameOfFreshScene(std::int32_t width, std::int32_t height,
                                                const SceneViewport* viewports, std::int32_t count,
                                                bool resized = false) {
        clockBase = ClockBase{};
        mirrorTransition = MirrorTransition{};
        fake::state.counter = 0;
        Scene scene(resized ? kWidth : width, resized ? kHeight : height);
        if (resized) {
            fake::state.counter = 1000000;
            scene.render(kMirrors);
            scene.resize(width, height);
        }
        fake::state.counter = 2500000;
        if (viewports)
            EXPECT_TRUE(scene.renderViewports(kMirrors, viewports, count));
        else
            EXPECT_TRUE(scene.render(kMirrors));
        return gl.readPixels();
    }
};

TEST_F(RenderViewports, OneMonitorGivesExactlyTheFrameOfRender) {
    setFixedSceneSeed(12);
    const std::vector<std::uint8_t> single = frameOfFreshScene(kWidth, kHeight, nullptr, 0);
    const SceneViewport whole = {0, 0, kWidth, kHeight};
    EXPECT_TRUE(frameOfFreshScene(kWidth, kHeight, &whole, 1) == single);
}

TEST_F(RenderViewports, EachMonitorShowsThePictureOfAWindowOfItsSize) {
    setFixedSceneSeed(12);
    const std::int32_t half = kHeight / 2;
    // What a window of one monitor's size shows, in the bottom half of the frame (rows top first).
    const std::vector<std::uint8_t> alone = frameOfFreshScene(kWidth, half, nullptr, 0);
    const SceneViewport monitors[] = {{0, 0, kWidth, half}, {0, half, kWidth, half}};
    const std::vector<std::uint8_t> both = frameOfFreshScene(kWidth, kHeight, monitors, 2);

    const std::size_t halfBytes = static_cast<std::size_t>(kWidth) * half * 4;
    const std::uint8_t* bottom = both.data() + halfBytes;
    const std::uint8_t* top = both.data();
    EXPECT_TRUE(std::equal(bottom, bottom + halfBytes, alone.data() + halfBytes));
    std::int64_t lit = 0, differing = 0;
    for (std::size_t i = 0; i < halfBytes; i += 4) {
        lit += bottom[i] + bottom[i + 1] + bottom[i + 2] > 0;
        differing += std::abs(top[i] - bottom[i]) + std::abs(top[i + 1] - bottom[i + 1]) +
                         std::abs(top[i + 2] - bottom[i + 2]) > 24;
    }
    EXPECT_GT(lit, 1000);
    // The same picture; an edge pixel may round differently at another offset in the window.
    EXPECT_LT(differing, lit / 100) << differing << " of " << lit;
    // The whole window's viewport is back for the next frame.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], kHeight);
}

TEST_F(RenderViewports, AResizedSceneDrawsWhatASceneOfTheNewSizeDraws) {
    setFixedSceneSeed(12);
    const std::vector<std::uint8_t> fresh = frameOfFreshScene(kWidth, kHeight / 2, nullptr, 0);
    EXPECT_TRUE(frameOfFreshScene(kWidth, kHeight / 2, nullptr, 0, true) == fresh);
    // Collapsed to nothing: a finite projection and not one pixel drawn.
    const std::vector<std::uint8_t> none = frameOfFreshScene(0, kHeight, nullptr, 0, true);
    GLfloat projection[16] = {};
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (float value : projection) EXPECT_TRUE(std::isfinite(value));
    std::int64_t lit = 0;
    for (std::size_t i = 0; i < none.size(); i += 4) lit += none[i] + none[i + 1] + none[i + 2] > 0;
    EXPECT_EQ(lit, 0);
}

TEST_F(RenderViewports, OneClockUpdatePerFrameWhateverTheMonitorCount) {
    Scene scene(kWidth, kHeight);
    const SceneViewport quarters[] = {
        {0, 0, 200, 200}, {200, 0, 200, 200}, {0, 200, 200, 200}, {200, 200, 200, 200}};
    fake::state.counter = 100000;
    scene.renderViewports(kMirrors, quarters, 4);
    fake::state.counter = 200000;
    scene.renderViewports(kMirrors, quarters, 4);
    EXPECT_EQ(scene.frameCount, 2);
}

}  // namespace
