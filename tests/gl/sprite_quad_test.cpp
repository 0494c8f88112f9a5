// One sprite drawn alone through the field's drawing state, read back: its piece of the sheet
// upright, at the sprite's alpha, turned clockwise as its angle grows, and its height the piece's
// aspect times its width.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include "sprites/sprite_field.h"
#include "tests/gl/scene_gl_fixture.h"
#include "tests/gl/test_jpeg.h"

namespace {

constexpr double kRadians = 3.14159265358979323846 / 180.0;

// Where each colour of the test sheet lands on screen: its centre (x, y, rows counted from the top)
// and the lit area's extent, within the middle of the view (the logo band lies outside it).
struct Shot {
    double x[3] = {0, 0, 0}, y[3] = {0, 0, 0};
    std::int64_t count[3] = {0, 0, 0};
    std::int32_t brightest = 0;
    std::int32_t left = 1 << 30, right = -1, top = 1 << 30, bottom = -1;
};

Shot measure(const std::vector<std::uint8_t>& rgba, std::int32_t width) {
    Shot shot;
    for (std::int32_t row = 100; row < 300; ++row) {
        for (std::int32_t col = 100; col < 300; ++col) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(row) * width + col) * 4];
            if (p[0] + p[1] + p[2] < 30) continue;
            shot.left = std::min(shot.left, col);
            shot.right = std::max(shot.right, col);
            shot.top = std::min(shot.top, row);
            shot.bottom = std::max(shot.bottom, row);
            for (int k = 0; k < 3; ++k) {
                shot.brightest = std::max<std::int32_t>(shot.brightest, p[k]);
                if (p[k] > 60 && p[(k + 1) % 3] < 30 && p[(k + 2) % 3] < 30) {
                    shot.x[k] += col;
                    shot.y[k] += row;
                    ++shot.count[k];
                }
            }
        }
    }
    for (int k = 0; k < 3; ++k)
        if (shot.count[k]) shot.x[k] /= shot.count[k], shot.y[k] /= shot.count[k];
    return shot;
}

using SpriteQuad = SceneGlTest;

TEST_F(SpriteQuad, ShowsItsPieceUprightAtItsAlphaTurnedClockwise) {
    // A sheet in quadrants, all opaque: red top left, green top right, blue bottom left, white.
    fake::state.resources["JPEG_MORVANE_RGB"] = testjpeg::encode(64, 64, 3, [](int x, int y, std::uint8_t* s) {
        const bool right = x >= 32, bottom = y >= 32;
        s[0] = (!right && !bottom) || (right && bottom) ? 255 : 0;
        s[1] = right ? 255 : 0;
        s[2] = bottom ? 255 : 0;
    });
    fake::state.resources["JPEG_MORVANE_MASK"] = testjpeg::encode(64, 64, 1, [](int, int, std::uint8_t* s) { s[0] = 255; });
    Scene scene(kWidth, kHeight);
    Sprite sprite;
    sprite.texWidth = 1.0f;
    sprite.texHeight = 1.0f;
    sprite.scale = 1.0f;
    sprite.aspect = 0.5f;
    sprite.alpha = 0.5f;

    auto shoot = [&](float angle) {
        sprite.angle = angle;
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(0.0, 0.0, 5.5, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
        scene.spriteField->beginDraw();
        sprite.draw();
        scene.spriteField->endDraw();
        return measure(gl.readPixels(), gl.width());
    };
    enum { kRed, kGreen, kBlue };

    // 2 x 1 units in the middle, 5.5 units away under a 90-degree view of 400 pixels: 73 x 36.
    const Shot upright = shoot(0.0f);
    ASSERT_GT(upright.count[kRed], 200);
    ASSERT_GT(upright.count[kGreen], 200);
    ASSERT_GT(upright.count[kBlue], 200);
    EXPECT_NEAR(upright.right - upright.left + 1, 73, 2);
    EXPECT_NEAR(upright.bottom - upright.top + 1, 36, 2);
    EXPECT_LT(upright.x[kRed], 190);
    EXPECT_LT(upright.y[kRed], 200);
    EXPECT_GT(upright.x[kGreen], 210);
    EXPECT_LT(upright.y[kGreen], 200);
    EXPECT_LT(upright.x[kBlue], 190);
    EXPECT_GT(upright.y[kBlue], 200);
    // Full red at half the alpha over black.
    EXPECT_NEAR(upright.brightest, 128, 4);

    // A quarter turn clockwise: the top edge now on the right, the red corner top right.
    const Shot turned = shoot(90.0f);
    EXPECT_NEAR(turned.right - turned.left + 1, 36, 2);
    EXPECT_NEAR(turned.bottom - turned.top + 1, 73, 2);
    EXPECT_GT(turned.x[kRed], 200);
    EXPECT_LT(turned.y[kRed], 190);
    EXPECT_GT(turned.x[kGreen], 200);
    EXPECT_GT(turned.y[kGreen], 210);
    EXPECT_LT(turned.x[kBlue], 200);
    EXPECT_LT(turned.y[kBlue], 190);
}

// Beyond the part of its piece that can show, a sprite's quad blends in nothing, so the copies may
// leave it out: every piece of the shipped sheet, turned, drawn whole over black.
TEST_F(SpriteQuad, DrawsNothingBeyondThePartThatCanShow) {
    Scene scene(kWidth, kHeight);
    std::int64_t shownArea = 0, pieceArea = 0;
    for (std::int32_t row = 0; row < kAtlasRowCount; ++row) {
        Sprite sprite;
        sprite.usePiece(row);
        // A texel a little over a pixel: 1.3 units at 1.5 units from the eye, 133 pixels a unit.
        sprite.position[2] = 4.0f;
        sprite.scale = 1.1f;
        sprite.angle = 30.0f;
        sprite.alpha = 1.0f;
        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(0.0, 0.0, 5.5, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
        scene.spriteField->beginSprites();
        sprite.draw();
        // The part that can show on screen, its corners in turn, rows counted from the bottom.
        GLdouble modelview[16], projection[16], corner[4][2];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        const double c = std::cos(-30.0 * kRadians), s = std::sin(-30.0 * kRadians);
        const float xs[4] = {sprite.shownLeft, sprite.shownRight, sprite.shownRight, sprite.shownLeft};
        const float ys[4] = {sprite.shownBottom, sprite.shownBottom, sprite.shownTop, sprite.shownTop};
        for (int k = 0; k < 4; ++k) {
            const double x = xs[k] * sprite.scale, y = ys[k] * sprite.scale * sprite.aspect;
            GLdouble z = 0.0;
            gluProject(c * x - s * y, s * x + c * y, sprite.position[2], modelview, projection, viewport, &corner[k][0],
                       &corner[k][1], &z);
        }
        const std::vector<std::uint8_t> rgba = gl.readPixels();
        std::int64_t lit = 0, outside = 0;
        for (std::int32_t row2 = 0; row2 < kHeight; ++row2) {
            for (std::int32_t col = 0; col < kWidth; ++col) {
                const std::uint8_t* p = &rgba[(static_cast<std::size_t>(row2) * kWidth + col) * 4];
                if (p[0] == 0 && p[1] == 0 && p[2] == 0) continue;
                ++lit;
                // Its centre inside the counter-clockwise quad, with a quarter pixel to spare, or not.
                const double px = col + 0.5, py = kHeight - row2 - 0.5;
                bool inside = true;
                for (int k = 0; k < 4; ++k) {
                    const double ex = corner[(k + 1) % 4][0] - corner[k][0], ey = corner[(k + 1) % 4][1] - corner[k][1];
                    const double cross = ex * (py - corner[k][1]) - ey * (px - corner[k][0]);
                    inside = inside && cross >= -0.25 * std::hypot(ex, ey);
                }
                outside += !inside;
            }
        }
        EXPECT_GT(lit, 1000) << "row " << row;
        EXPECT_EQ(outside, 0) << "row " << row;
        const AtlasRect& shown = scene.spriteField->shown[row];
        shownArea += std::int64_t{shown.width} * shown.height;
        pieceArea += std::int64_t{SpriteAtlas[row].width} * SpriteAtlas[row].height;
    }
    scene.spriteField->endDraw();
    // The shipped pieces have margins that show nothing: a sprite draws noticeably less.
    EXPECT_LT(shownArea, pieceArea * 9 / 10);
}

}  // namespace
