// The kaleidoscope on a real context: with the mirrors on, the frame is its own reflection across
// every wedge edge of the layout drawn; with them off it is not; either way the drawing leaves the
// clip planes off and the front face counter-clockwise.
#include <GL/gl.h>

#include <cmath>
#include <cstdlib>

#include "tests/gl/scene_gl_fixture.h"

namespace {

struct Symmetry {
    std::int64_t compared = 0;  // lit pixels inside the disc, away from every edge
    std::int64_t mismatched = 0;  // of those, pixels whose reflection differs visibly
};

// Compares every lit pixel within `radius` of the frame's centre with its reflection across the line
// through the centre at `edgeDegrees` (counter-clockwise from +x, y up). A pixel matches when one of
// the 3 x 3 pixels around its reflection is close in colour: edges rasterise to within a pixel. Pixels
// within two pixels of any of the layout's edges are left out: the clip lines themselves differ.
Symmetry reflectAcross(const std::vector<std::uint8_t>& rgba, std::int32_t size, double edgeDegrees,
                       const MirrorConfig& config, double radius) {
    const double pi = 3.14159265358979;
    const double c = size / 2.0;
    const double dx = std::cos(edgeDegrees * pi / 180.0), dy = std::sin(edgeDegrees * pi / 180.0);
    std::vector<double> edgeCos, edgeSin;
    for (std::int32_t j = 0; j < config.segmentCount; ++j) {
        edgeCos.push_back(std::cos((270.0 + j * config.wedgeAngle) * pi / 180.0));
        edgeSin.push_back(std::sin((270.0 + j * config.wedgeAngle) * pi / 180.0));
    }
    auto nearEdge = [&](double x, double y) {
        for (std::size_t j = 0; j < edgeCos.size(); ++j) {
            const double along = x * edgeCos[j] + y * edgeSin[j];
            if (along > -2.0 && std::fabs(y * edgeCos[j] - x * edgeSin[j]) < 2.0) return true;
        }
        return false;
    };
    auto pixel = [&](std::int32_t col, std::int32_t row) {
        return &rgba[(static_cast<std::size_t>(row) * size + col) * 4];
    };
    Symmetry result;
    for (std::int32_t row = 1; row < size - 1; ++row) {
        for (std::int32_t col = 1; col < size - 1; ++col) {
            // Centred coordinates of the pixel's centre, y up.
            const double x = col + 0.5 - c, y = c - (row + 0.5);
            if (x * x + y * y > radius * radius || x * x + y * y < 16.0) continue;
            const std::uint8_t* p = pixel(col, row);
            if (p[0] + p[1] + p[2] < 24 || nearEdge(x, y)) continue;
            const double along = x * dx + y * dy;
            const double rx = 2.0 * along * dx - x, ry = 2.0 * along * dy - y;
            const std::int32_t rcol = static_cast<std::int32_t>(std::floor(rx + c));
            const std::int32_t rrow = static_cast<std::int32_t>(std::floor(c - ry));
            if (rcol < 1 || rrow < 1 || rcol >= size - 1 || rrow >= size - 1) continue;
            ++result.compared;
            bool matched = false;
            for (std::int32_t v = -1; v <= 1 && !matched; ++v) {
                for (std::int32_t u = -1; u <= 1 && !matched; ++u) {
                    const std::uint8_t* q = pixel(rcol + u, rrow + v);
                    matched = std::abs(p[0] - q[0]) <= 24 && std::abs(p[1] - q[1]) <= 24 &&
                              std::abs(p[2] - q[2]) <= 24;
                }
            }
            if (!matched) ++result.mismatched;
        }
    }
    return result;
}

using Kaleidoscope = SceneGlTest;

TEST_F(Kaleidoscope, MirroredFrameIsSymmetricAcrossEveryWedgeEdge) {
    for (std::int32_t seed : {1, 99, 180}) {
        setFixedSceneSeed(seed);
        clockBase = ClockBase{};
        mirrorTransition = MirrorTransition{};
        fake::state.counter = 0;
        Scene scene(kWidth, kHeight);
        for (std::int32_t index : {0, 7}) {
            scene.selectMirrorConfig(index, false);
            const std::vector<std::uint8_t> frame = frameAt(scene, 5.0 + index, kMirrors);
            ASSERT_FALSE(mirrorTransition.active);
            const MirrorConfig& config = *scene.currentConfig;
            for (std::int32_t j = 0; j < config.segmentCount; ++j) {
                const Symmetry s = reflectAcross(frame, kWidth, 270.0 + j * config.wedgeAngle, config, 190.0);
                ASSERT_GT(s.compared, 2000) << "seed " << seed << " layout " << index;
                // Texture sampling of fine detail differs in a few per cent of the pixels; a wrong wedge or a
                // missing reflection differs in most of them.
                EXPECT_LT(s.mismatched, s.compared / 20)
                    << "seed " << seed << " layout " << index << " edge " << j << ": " << s.mismatched << " of "
                    << s.compared;
            }
        }
    }
}

TEST_F(Kaleidoscope, UnmirroredFrameIsNotSymmetric) {
    setFixedSceneSeed(99);
    Scene scene(kWidth, kHeight);
    const std::vector<std::uint8_t> frame = frameAt(scene, 5.0, 0);
    const MirrorConfig& config = *scene.currentConfig;
    const Symmetry s = reflectAcross(frame, kWidth, 270.0, config, 190.0);
    ASSERT_GT(s.compared, 2000);
    EXPECT_GT(s.mismatched, s.compared / 2) << s.mismatched << " of " << s.compared;
}

// Whatever state the host had before a frame, it has after it (the fps overlay draws next), and the
// viewport and projection are the whole window's, whichever way the wedges were drawn.
TEST_F(Kaleidoscope, AFrameLeavesTheStateItFound) {
    Scene scene(kWidth, kHeight);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (MirrorDrawing drawing : {MirrorDrawing::ClipPlanes, MirrorDrawing::Copies}) {
        scene.mirrorDrawing = drawing;
        for (std::int32_t flags : {kMirrors, 0}) {
            scene.mirrorsOn = flags != 0;
            glFrontFace(GL_CW);
            glEnable(GL_SCISSOR_TEST);
            glScissor(1, 2, 3, 4);
            glDisable(GL_BLEND);
            glDisable(GL_TEXTURE_2D);
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
            scene.drawFrame(*scene.currentConfig, nullptr, 0);
            GLint frontFace = 0, viewport[4] = {0, 0, 0, 0}, scissor[4] = {0, 0, 0, 0}, mode = 0;
            glGetIntegerv(GL_FRONT_FACE, &frontFace);
            glGetIntegerv(GL_VIEWPORT, viewport);
            glGetIntegerv(GL_SCISSOR_BOX, scissor);
            glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
            EXPECT_EQ(frontFace, GL_CW) << flags;
            EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST)) << flags;
            EXPECT_EQ(scissor[2] * scissor[3], 12) << flags;
            EXPECT_EQ(mode, GL_DECAL) << flags;
            EXPECT_FALSE(glIsEnabled(GL_CLIP_PLANE0)) << flags;
            EXPECT_FALSE(glIsEnabled(GL_BLEND)) << flags;
            EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << flags;
            EXPECT_EQ(viewport[2], kWidth);
            EXPECT_EQ(viewport[3], kHeight);
            GLfloat nowProjection[16];
            glGetFloatv(GL_PROJECTION_MATRIX, nowProjection);
            for (int k = 0; k < 16; ++k) EXPECT_EQ(nowProjection[k], projection[k]);
        }
    }
    glDisable(GL_SCISSOR_TEST);
}

}  // namespace
