// The order of random draws at Scene construction, replayed: the seed, one discarded value, the first
// layout, then the sprite field's drift values and spawn mode.
#include "scene/random.h"
#include "scene/scene.h"
#include "sprites/sprite_field.h"
#include "tests/unit/scene_fixture.h"

namespace {

using DrawOrder = SceneLogicTest;

TEST_F(DrawOrder, ConstructionDrawsLayoutThenDriftInOrder) {
    for (std::int32_t seed : {0, 1, 77, 200, 255}) {
        setFixedSceneSeed(seed);
        Scene scene(800, 600, Scene::WithoutGraphics{});
        const SpriteField& field = *scene.spriteField;

        ReplayRandom r(static_cast<std::uint32_t>(seed));
        r.next();
        EXPECT_EQ(scene.currentConfig - scene.mirrorConfigs, static_cast<std::int32_t>(r.uniform() * 8)) << seed;
        EXPECT_EQ(field.driftScale, static_cast<float>(1.25 * r.uniform() + 0.25)) << seed;
        EXPECT_EQ(field.driftSpin, static_cast<float>(360.0 * r.uniform())) << seed;
        r.next();
        r.next();
        EXPECT_EQ(field.uniformSpawn, r.uniform() < 0.5) << seed;
        EXPECT_EQ(nextRandom(), r.next()) << seed;
        EXPECT_FALSE(mirrorTransition.active);
    }
}

TEST_F(DrawOrder, SeedComesFromTheLowByteOfTheCalendarUnlessFixed) {
    setFixedSceneSeed(-1);
    const std::int32_t seed = sceneSeed();
    EXPECT_GE(seed, 0);
    EXPECT_LT(seed, 256);
    setFixedSceneSeed(256 + 3);  // out of range: back to the calendar time
    EXPECT_GE(sceneSeed(), 0);
    EXPECT_LT(sceneSeed(), 256);
}

}  // namespace
