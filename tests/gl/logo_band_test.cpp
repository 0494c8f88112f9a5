// The logo band on a real context: drawn alone by beginDraw, faint, near the bottom right of the
// view, its tint yellow at time 0 and grey at 5 pi seconds, the logo upright and left to right.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>

#include "sprites/sprite_field.h"
#include "tests/gl/scene_gl_fixture.h"
#include "tests/gl/test_jpeg.h"

namespace {

struct Band {
    std::int64_t lit = 0;
    std::int64_t red = 0, green = 0, blue = 0;  // summed over the lit pixels
    std::int32_t maxChannel = 0;
    std::int32_t maxRedGreen = 0, maxRedBlue = 0;  // largest channel differences of one pixel
    std::int32_t left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Band measure(const std::vector<std::uint8_t>& rgba, std::int32_t width, std::int32_t height) {
    Band band;
    for (std::int32_t row = 0; row < height; ++row) {
        for (std::int32_t col = 0; col < width; ++col) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(row) * width + col) * 4];
            if (p[0] + p[1] + p[2] == 0) continue;
            ++band.lit;
            band.red += p[0];
            band.green += p[1];
            band.blue += p[2];
            for (int k = 0; k < 3; ++k) band.maxChannel = std::max<std::int32_t>(band.maxChannel, p[k]);
            band.maxRedGreen = std::max(band.maxRedGreen, std::abs(p[0] - p[1]));
            band.maxRedBlue = std::max(band.maxRedBlue, std::abs(p[0] - p[2]));
            band.left = std::min(band.left, col);
            band.right = std::max(band.right, col);
            band.top = std::min(band.top, row);
            band.bottom = std::max(band.bottom, row);
        }
    }
    return band;
}

using LogoBand = SceneGlTest;

// The band alone: the frame's clear and camera, then beginDraw and endDraw with no sprite between.
Band bandAt(OffscreenGl& gl, Scene& scene, float seconds) {
    scene.time = seconds;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 5.5, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    scene.spriteField->beginDraw();
    scene.spriteField->endDraw();
    return measure(gl.readPixels(), gl.width(), gl.height());
}

TEST_F(LogoBand, YellowAtTheStartAndGreyAtFivePiSeconds) {
    Scene scene(kWidth, kHeight);
    const Band yellow = bandAt(gl, scene, 0.0f);
    ASSERT_GT(yellow.lit, 100);
    // Within one level of 8-bit rounding, pixel by pixel.
    EXPECT_LE(yellow.maxRedGreen, 1);
    EXPECT_EQ(yellow.blue, 0);
    EXPECT_GT(yellow.red, 5 * yellow.lit);

    const Band grey = bandAt(gl, scene, 5.0f * 3.14159265f);
    ASSERT_EQ(grey.lit, yellow.lit);
    EXPECT_LE(grey.maxRedGreen, 1);
    EXPECT_LE(grey.maxRedBlue, 1);
    EXPECT_GT(grey.blue, 3 * grey.lit);
    // Half the strength of the yellow, which is one tenth of full.
    EXPECT_LE(yellow.maxChannel, 26);
    EXPECT_LE(grey.maxChannel, 14);
}

TEST_F(LogoBand, SitsNearTheBottomRightOfTheView) {
    Scene scene(kWidth, kHeight);
    const Band band = bandAt(gl, scene, 0.0f);
    ASSERT_GT(band.lit, 0);
    // (3..7, -5.125..-4.875) at z = 0, seen 5.5 units away under a 90-degree field of view.
    EXPECT_GE(band.left, kWidth / 2 + kWidth * 3 / 11 / 2 - 2);
    EXPECT_EQ(band.right, kWidth - 1);  // the band runs past the right edge of a square view
    EXPECT_GE(band.top, kHeight * 93 / 100);
    EXPECT_LE(band.bottom, kHeight * 97 / 100 + 1);
}

TEST_F(LogoBand, ShowsTheLogoUprightFromLeftToRight) {
    // A plain logo gives the band's extent; then one lit only in its top left corner (a quarter of
    // the width, half the height) must light the band's top left only.
    fake::state.resources["LOGO_MASK"] = testjpeg::encode(64, 16, 1, [](int, int, std::uint8_t* s) { s[0] = 255; });
    Band whole;
    {
        Scene scene(kWidth, kHeight);
        whole = bandAt(gl, scene, 0.0f);
    }
    fake::state.resources["LOGO_MASK"] = testjpeg::encode(64, 16, 1, [](int x, int y, std::uint8_t* s) {
        s[0] = x < 16 && y < 8 ? 255 : 0;
    });
    Scene scene(kWidth, kHeight);
    const Band corner = bandAt(gl, scene, 0.0f);
    ASSERT_GT(corner.lit, 0);
    EXPECT_EQ(corner.top, whole.top);
    EXPECT_LE(corner.bottom, (whole.top + whole.bottom) / 2 + 1);
    EXPECT_EQ(corner.left, whole.left);
    EXPECT_LT(corner.right, (whole.left + whole.right) / 2);
}

TEST_F(LogoBand, IsNeitherClippedNorRepeatedByTheMirrors) {
    // A sprite field that draws nothing: only the band is left in the frame.
    Scene scene(kWidth, kHeight);
    delete[] scene.spriteField->sprites;
    scene.spriteField->sprites = nullptr;
    const Band alone = bandAt(gl, scene, 0.0f);
    frameAt(scene, 0.0, kMirrors);
    const Band mirrored = measure(gl.readPixels(), gl.width(), gl.height());
    EXPECT_EQ(mirrored.lit, alone.lit);
    EXPECT_EQ(mirrored.left, alone.left);
    EXPECT_EQ(mirrored.top, alone.top);
}

}  // namespace
