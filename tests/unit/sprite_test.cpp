// A sprite's life: the draws a spawn makes in each mode, the values it derives from them, the end of
// a life at a phase above 1, and the rebirth after a long pause.
#include "sprites/sprite.h"

#include "scene/random.h"
#include "scene/scene.h"
#include "sprites/sprite_field.h"
#include "tests/unit/scene_fixture.h"

namespace {

class SpriteLife : public SceneLogicTest {
protected:
    void SetUp() override {
        SceneLogicTest::SetUp();
        scene = new Scene(1280, 720, Scene::WithoutGraphics{});
        field = scene->spriteField;
        field->driftScale = 1.0f;
        field->driftSpin = 90.0f;
        field->sharedRow = 12;
    }
    void TearDown() override {
        delete scene;
        SceneLogicTest::TearDown();
    }
    // True when the generator has made exactly `draws` draws since seedRandom(seed).
    static bool madeDraws(std::uint32_t seed, int draws) {
        ReplayRandom replay(seed);
        for (int i = 0; i < draws; ++i) replay.next();
        return nextRandom() == replay.next();
    }
    Scene* scene = nullptr;
    SpriteField* field = nullptr;
};

TEST_F(SpriteLife, SpawnMakesSixDrawsUniformlyAndEightOrNineOtherwise) {
    Sprite sprite;
    field->uniformSpawn = true;
    seedRandom(99);
    sprite.spawn();
    EXPECT_TRUE(madeDraws(99, 6));

    field->uniformSpawn = false;
    field->randomRows = false;
    seedRandom(99);
    sprite.spawn();
    EXPECT_TRUE(madeDraws(99, 8));
    EXPECT_EQ(sprite.atlasRow, 12);

    field->randomRows = true;
    seedRandom(99);
    sprite.spawn();
    EXPECT_TRUE(madeDraws(99, 9));
}

TEST_F(SpriteLife, OwnDrawsGiveSpinScaleRowAlphaAndPlace) {
    field->uniformSpawn = false;
    field->randomRows = true;
    scene->time = 30.0f;
    Sprite sprite;
    sprite.phase = 0.25f;
    // Worked out from the generator's draws after each seed (the first draw is not used).
    struct Spawn {
        std::uint32_t seed;
        float spin, scale;
        std::int32_t row;
        float alpha, y, z;
    };
    for (const Spawn& s : {Spawn{3u, 39.530014f, 0.533639014f, 4, 0.859767437f, -1.2965728f, 1.43455303f},
                           Spawn{1000u, 45.1606789f, 1.06939149f, 6, 0.59715569f, -0.575408161f, 1.30387282f},
                           Spawn{77777u, 51.1264381f, 0.682325184f, 13, 0.855632186f, -2.06922817f, 1.8121891f}}) {
        seedRandom(s.seed);
        sprite.spawn();
        EXPECT_FLOAT_EQ(sprite.spin, s.spin) << s.seed;
        EXPECT_FLOAT_EQ(sprite.scale, s.scale) << s.seed;
        EXPECT_EQ(sprite.atlasRow, s.row) << s.seed;
        EXPECT_FLOAT_EQ(sprite.alpha, s.alpha) << s.seed;
        EXPECT_FLOAT_EQ(sprite.position[1], s.y) << s.seed;
        EXPECT_FLOAT_EQ(sprite.position[2], s.z) << s.seed;
        EXPECT_EQ(sprite.birthTime, 26.0f);
    }
}

TEST_F(SpriteLife, UniformSpawnCopiesTheDriftAndTheSharedPiece) {
    field->uniformSpawn = true;
    Sprite sprite;
    sprite.spawn();
    EXPECT_EQ(sprite.spin, 90.0f);
    EXPECT_EQ(sprite.scale, 1.25f);
    EXPECT_EQ(sprite.atlasRow, 12);
    // No sheet loaded (0 x 0): an empty rectangle, the piece's own proportions.
    EXPECT_EQ(sprite.texWidth, 0.0f);
    EXPECT_EQ(sprite.texHeight, 0.0f);
    EXPECT_FLOAT_EQ(sprite.aspect, 256.0f / 440.0f);
}

TEST_F(SpriteLife, PhaseOfExactlyOneDoesNotEndTheLife) {
    Sprite sprite;
    sprite.spawn();
    scene->time = 20.0f;
    sprite.birthTime = 4.0f;
    const std::int32_t driftCount = field->driftCount;
    seedRandom(5);
    sprite.advance();
    EXPECT_TRUE(madeDraws(5, 0));
    EXPECT_EQ(sprite.phase, 1.0f);
    EXPECT_EQ(field->driftCount, driftCount);
    EXPECT_FLOAT_EQ(sprite.position[0], 2.0f * scene->currentConfig->chord);
}

TEST_F(SpriteLife, LongPauseGivesOneRebirthAndOneDriftStep) {
    field->uniformSpawn = false;
    field->randomRows = true;
    field->driftSpan = 20;
    field->driftCount = 3;
    Sprite sprite;
    sprite.birthTime = 0.0f;
    scene->time = 50.0f;  // phase 3.125
    seedRandom(11);
    sprite.advance();
    EXPECT_TRUE(madeDraws(11, 9));
    EXPECT_EQ(field->driftCount, 4);
    EXPECT_EQ(sprite.phase, 0.125f);
    EXPECT_EQ(sprite.birthTime, 48.0f);
    const float w = scene->currentConfig->chord;
    EXPECT_FLOAT_EQ(sprite.position[0], w * 0.125f * 3.0f - w);
}

TEST_F(SpriteLife, LastSpriteFallsIntoStepWithTheFirst) {
    field->sprites = new Sprite[kSpriteCount];
    field->placeSprites();
    EXPECT_EQ(field->sprites[0].phase, 0.0f);
    EXPECT_EQ(field->sprites[19].phase, 1.0f);
    // Positions may differ within a frame: a respawn between the two can change the layout's width.
    for (float time : {0.033f, 0.5f, 7.25f, 15.9f, 16.2f, 40.0f}) {
        scene->time = time;
        field->advance();
        EXPECT_NEAR(field->sprites[19].phase, field->sprites[0].phase, 1e-5f) << time;
        EXPECT_NEAR(field->sprites[19].birthTime, field->sprites[0].birthTime, 1e-4f) << time;
    }
}

}  // namespace
