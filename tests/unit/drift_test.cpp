// The global drift: a new segment's first step holds the values, whole segments replayed from known
// draws, the targets land on the far side of the midpoints, and a day of frames keeps every drift
// and sprite value in range.
#include <cmath>

#include "scene/random.h"
#include "scene/scene.h"
#include "sprites/sprite_field.h"
#include "tests/unit/scene_fixture.h"

namespace {

using Drift = SceneLogicTest;

TEST_F(Drift, FirstStepOpensASegmentWithoutMovingTheValues) {
    for (std::int32_t seed = 0; seed < 256; ++seed) {
        setFixedSceneSeed(seed);
        Scene scene(640, 480, Scene::WithoutGraphics{});
        SpriteField& field = *scene.spriteField;
        const float scale = field.driftScale;
        const float spin = field.driftSpin;
        field.driftStep();
        ASSERT_EQ(field.driftScale, scale) << seed;
        ASSERT_EQ(field.driftSpin, spin) << seed;
        ASSERT_EQ(field.driftCount, 0);
        ASSERT_GE(field.driftSpan, 1);
        ASSERT_LE(field.driftSpan, 20);
    }
}

TEST_F(Drift, TargetsLieAcrossTheMidpointsIncludingTheBoundaries) {
    Scene scene(640, 480, Scene::WithoutGraphics{});
    SpriteField& field = *scene.spriteField;
    struct Case {
        float scale;
        float spin;
        float scaleLow, scaleHigh;  // the target's range, half-open
        float spinLow, spinHigh;
    };
    const Case cases[] = {
        {0.875f, 180.0f, 0.25f, 0.875f, 180.0f, 360.0f},
        {0.8749f, 180.01f, 0.875f, 1.5f, 0.0f, 180.0f},
        {0.25f, 0.0f, 0.875f, 1.5f, 180.0f, 360.0f},
    };
    for (const Case& c : cases) {
        int newScaleTargets = 0, newSpinTargets = 0;
        for (int trial = 0; trial < 200; ++trial) {
            field.driftScale = c.scale;
            field.driftSpin = c.spin;
            field.driftCount = field.driftSpan;  // the next step opens a segment
            field.driftStep();
            if (field.scaleDelta != 0.0f) {
                ++newScaleTargets;
                const float target = field.scaleStart + field.scaleDelta;
                EXPECT_GE(target, c.scaleLow);
                EXPECT_LT(target, c.scaleHigh);
            }
            if (field.spinDelta != 0.0f) {
                ++newSpinTargets;
                const float target = field.spinStart + field.spinDelta;
                EXPECT_GE(target, c.spinLow);
                // The top draw rounds to the bound itself in single precision.
                EXPECT_LE(target, c.spinHigh);
            }
        }
        EXPECT_GT(newScaleTargets, 50);
        EXPECT_GT(newSpinTargets, 50);
    }
}

// Whole segments opened from known generator states, against values worked out from their draws:
// the length, the spawn mode, the shared piece, a mirror pick on a draw just below 0.1 and none just
// above, which of the two targets moves and by how much, the value a quarter of the way through
// (the smooth step there is 0.15625), and the value after the opening's last draw.
TEST_F(Drift, SegmentsDrawInOrderAndEaseIn) {
    struct Case {
        std::uint32_t seed;
        std::int32_t span;
        bool uniformSpawn;
        std::int32_t sharedRow;
        std::int32_t pickedConfig;  // -1: no pick
        float scaleDelta, spinDelta;
        float scaleAtQuarter, spinAtQuarter;
        std::int32_t nextValue;
    };
    const Case cases[] = {
        {33857, 8, false, 7, 5, 0.0f, 166.74733f, 1.0f, 116.05427f, 21282},
        {242729, 4, true, 7, -1, -0.36478013f, 0.0f, 0.94300312f, 90.0f, 6323},
    };
    for (const Case& c : cases) {
        Scene scene(640, 480, Scene::WithoutGraphics{});
        SpriteField& field = *scene.spriteField;
        scene.selectMirrorConfig(2, false);
        field.driftScale = 1.0f;
        field.driftSpin = 90.0f;
        field.driftCount = field.driftSpan;  // the next step opens a segment
        seedRandom(c.seed);
        field.driftStep();
        EXPECT_EQ(field.driftSpan, c.span) << c.seed;
        EXPECT_EQ(field.uniformSpawn, c.uniformSpawn) << c.seed;
        EXPECT_EQ(field.sharedRow, c.sharedRow) << c.seed;
        EXPECT_EQ(scene.currentConfig - scene.mirrorConfigs, c.pickedConfig < 0 ? 2 : c.pickedConfig) << c.seed;
        EXPECT_EQ(mirrorTransition.active, c.pickedConfig >= 0) << c.seed;
        EXPECT_FLOAT_EQ(field.scaleDelta, c.scaleDelta) << c.seed;
        EXPECT_FLOAT_EQ(field.spinDelta, c.spinDelta) << c.seed;
        EXPECT_EQ(nextRandom(), c.nextValue) << c.seed;
        for (std::int32_t step = 0; step < c.span / 4; ++step) field.driftStep();
        EXPECT_FLOAT_EQ(field.driftScale, c.scaleAtQuarter) << c.seed;
        EXPECT_FLOAT_EQ(field.driftSpin, c.spinAtQuarter) << c.seed;
        mirrorTransition = MirrorTransition{};
    }
}

TEST_F(Drift, ADayOfFramesKeepsEveryValueInRangeAndFinite) {
    Scene scene(1280, 720, Scene::WithoutGraphics{});
    SpriteField& field = *scene.spriteField;
    field.sprites = new Sprite[kSpriteCount];
    field.placeSprites();
    std::int32_t segments = 0;
    for (std::int64_t frame = 1; frame <= 24 * 3600 * 2; ++frame) {
        fake::state.counter = frame * 500000;  // two frames a second
        scene.advance();
        const MirrorConfig& drawn = scene.configToDraw();
        if (field.driftCount == 0) ++segments;
        ASSERT_TRUE(std::isfinite(field.driftScale) && std::isfinite(field.driftSpin));
        // The upper bounds (here and for the sprites) can be reached exactly by the top draw rounded
        // to single precision, never passed.
        ASSERT_GE(field.driftScale, 0.25f);
        ASSERT_LE(field.driftScale, 1.5f);
        ASSERT_GE(field.driftSpin, 0.0f);
        ASSERT_LE(field.driftSpin, 360.0f);
        ASSERT_GE(drawn.wedgeAngle, 15.0f);
        ASSERT_LE(drawn.wedgeAngle, 36.0f);
        ASSERT_GE(scene.pauseMs, 1);
        ASSERT_LE(scene.pauseMs, 1000);
        for (std::int32_t i = 0; i < kSpriteCount; ++i) {
            const Sprite& s = field.sprites[i];
            ASSERT_TRUE(s.phase >= 0.0f && s.phase <= 1.0f) << frame << " " << i;
            ASSERT_TRUE(s.scale >= 0.25f && s.scale <= 1.75f);
            ASSERT_TRUE(s.spin >= 0.0f && s.spin <= 720.0f);
            ASSERT_TRUE(s.alpha >= 0.5f && s.alpha <= 1.0f);
            ASSERT_TRUE(s.position[0] >= -2.5f && s.position[0] <= 5.0f);
            ASSERT_TRUE(s.position[1] >= -2.4f && s.position[1] <= 0.0f);
            ASSERT_TRUE(s.position[2] >= 0.0f && s.position[2] <= 2.0f);
            ASSERT_TRUE(s.atlasRow >= 0 && s.atlasRow < 15);
            ASSERT_TRUE(std::isfinite(s.angle));
        }
    }
    EXPECT_NEAR(scene.time, 86400.0f, 0.01f);
    // A step every 0.8 s on average, a segment every 10.5 steps on average.
    EXPECT_GT(segments, 5000);
}

}  // namespace
