// The kaleidoscope's layouts: the eight table entries, the segment rounding rule, the clip planes'
// sides, the random pick and the smooth transitions between layouts.
#include "scene/mirror_config.h"

#include <cmath>

#include "scene/random.h"
#include "scene/scene.h"
#include "tests/unit/scene_fixture.h"

namespace {

TEST(MirrorConfigs, TableHasTheSegmentsAnglesAndChords) {
    const float chords[8] = {2.4721f, 2.0706f, 1.7802f, 1.5607f, 1.3892f, 1.2515f, 1.1385f, 1.0442f};
    for (std::int32_t k = 0; k < 8; ++k) {
        MirrorConfig config;
        buildMirrorConfig(config, tableWedgeAngle(k));
        EXPECT_EQ(config.segmentCount, 10 + 2 * k) << k;
        EXPECT_FLOAT_EQ(config.wedgeAngle, 360.0f / (10 + 2 * k)) << k;
        EXPECT_NEAR(config.chord, chords[k], 0.00005f) << k;
    }
}

TEST(MirrorConfigs, RemainderOverHalfADegreeAddsAWedge) {
    MirrorConfig config;
    buildMirrorConfig(config, 15.0f);
    EXPECT_EQ(config.segmentCount, 24);
    buildMirrorConfig(config, 20.5f);  // 17 by truncation, remainder 11.5
    EXPECT_EQ(config.segmentCount, 18);
    buildMirrorConfig(config, 23.97f);  // 15 wedges leave 0.45 degrees: dropped
    EXPECT_EQ(config.segmentCount, 15);
    buildMirrorConfig(config, 23.95f);  // 15 wedges leave 0.75 degrees: one more
    EXPECT_EQ(config.segmentCount, 16);
}

TEST(MirrorConfigs, ClipPlanesKeepExactlyTheWedgeBelowTheCentre) {
    MirrorConfig config;
    buildMirrorConfig(config, 36.0f);
    const double* start = config.clipStart;
    const double* end = config.clipEnd;
    EXPECT_EQ(start[0], 1.0);
    EXPECT_EQ(start[1], 0.0);
    auto inside = [&](double degrees) {
        const double a = degrees * 3.14159265358979 / 180.0;
        const double x = std::cos(a), y = std::sin(a);
        return start[0] * x + start[1] * y >= 0.0 && end[0] * x + end[1] * y >= 0.0;
    };
    EXPECT_TRUE(inside(271.0));
    EXPECT_TRUE(inside(288.0));
    EXPECT_TRUE(inside(305.0));
    EXPECT_FALSE(inside(268.0));
    EXPECT_FALSE(inside(308.0));
    EXPECT_FALSE(inside(90.0));
    // The rim points lie on the two edges at radius 4.
    EXPECT_NEAR(config.rimStart[0], 0.0f, 1e-4f);
    EXPECT_NEAR(config.rimStart[1], -4.0f, 1e-4f);
    EXPECT_NEAR(std::atan2(config.rimEnd[1], config.rimEnd[0]) * 180.0 / 3.14159265358979, 306.0 - 360.0, 1e-3);
}

using MirrorChoice = SceneLogicTest;

TEST_F(MirrorChoice, TopRandomValuePicksTheLastLayoutNotANinth) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    const std::int32_t expected[][2] = {{32767, 7}, {28672, 7}, {28671, 6}, {0, 0}, {4095, 0}, {4096, 1}};
    for (const auto& row : expected) {
        seedRandom(seedYielding(row[0]));
        scene.pickRandomMirrorConfig(false);
        EXPECT_EQ(scene.currentConfig - scene.mirrorConfigs, row[1]) << "rand " << row[0];
    }
    EXPECT_FALSE(mirrorTransition.active);
}

TEST_F(MirrorChoice, AnimatedSelectionBlendsFromTheOldAngleOverTwoSeconds) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    scene.selectMirrorConfig(0, false);
    EXPECT_EQ(&scene.configToDraw(), &scene.mirrorConfigs[0]);

    scene.time = 10.0f;
    scene.selectMirrorConfig(7, true);
    EXPECT_EQ(scene.currentConfig, &scene.mirrorConfigs[7]);
    // Drawn at once, at the starting angle.
    const MirrorConfig* drawn = &scene.configToDraw();
    EXPECT_EQ(drawn, &mirrorTransition.blendConfig);
    EXPECT_EQ(drawn->wedgeAngle, 36.0f);
    scene.time = 10.5f;  // a quarter of the way: the smooth step is 0.15625 there
    EXPECT_FLOAT_EQ(scene.configToDraw().wedgeAngle, 32.71875f);
    scene.time = 11.0f;
    EXPECT_FLOAT_EQ(scene.configToDraw().wedgeAngle, 25.5f);
    // The blend steps through the counts in between.
    EXPECT_EQ(scene.configToDraw().segmentCount, 15);
    scene.time = 12.0f;
    EXPECT_EQ(scene.configToDraw().wedgeAngle, 15.0f);
    EXPECT_FALSE(mirrorTransition.active);
    EXPECT_EQ(&scene.configToDraw(), &scene.mirrorConfigs[7]);
}

TEST_F(MirrorChoice, InterruptedTransitionContinuesFromTheAngleOnScreen) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    scene.selectMirrorConfig(0, false);
    scene.time = 10.0f;
    scene.selectMirrorConfig(7, true);
    scene.time = 11.0f;  // halfway: (36 + 15) / 2 on screen
    scene.selectMirrorConfig(3, true);
    EXPECT_FLOAT_EQ(mirrorTransition.fromAngle, 25.5f);
    EXPECT_EQ(mirrorTransition.toAngle, 22.5f);
    EXPECT_FLOAT_EQ(scene.configToDraw().wedgeAngle, 25.5f);
    scene.time = 12.9f;  // a full two seconds again
    EXPECT_TRUE(mirrorTransition.active);
    scene.configToDraw();
    EXPECT_TRUE(mirrorTransition.active);
    scene.time = 13.0f;
    EXPECT_EQ(scene.configToDraw().wedgeAngle, 22.5f);
    EXPECT_FALSE(mirrorTransition.active);
}

TEST_F(MirrorChoice, SelectingTheCurrentLayoutStillRunsATransition) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    scene.selectMirrorConfig(2, false);
    scene.time = 4.0f;
    scene.selectMirrorConfig(10, true);  // reduced modulo 8
    EXPECT_EQ(scene.currentConfig, &scene.mirrorConfigs[2]);
    scene.time = 5.0f;
    const MirrorConfig& drawn = scene.configToDraw();
    EXPECT_EQ(&drawn, &mirrorTransition.blendConfig);
    EXPECT_EQ(drawn.wedgeAngle, scene.mirrorConfigs[2].wedgeAngle);
    EXPECT_EQ(drawn.segmentCount, 14);
}

}  // namespace
