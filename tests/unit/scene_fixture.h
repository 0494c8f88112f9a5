// Shared set-up of the scene logic tests: a fresh process-wide clock base and transition, the fake
// platform's clock at zero, a fixed seed; and a way to make the generator yield a chosen value.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "scene/frame_clock.h"
#include "scene/mirror_config.h"
#include "scene/scene_seed.h"
#include "tests/support/fake_platform.h"

class SceneLogicTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        clockBase = ClockBase{};
        mirrorTransition = MirrorTransition{};
        setFixedSceneSeed(0);
    }
    void TearDown() override { setFixedSceneSeed(-1); }
};

// The seed after which the generator's next value is `value` (0..32767): the state that shifts down
// to it, stepped back through the generator with the multiplier's inverse modulo 2^32.
inline std::uint32_t seedYielding(std::int32_t value) {
    std::uint32_t inverse = 214013u;
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    const std::uint32_t next = static_cast<std::uint32_t>(value) << 16;
    return (next - 2531011u) * inverse;
}

// The generator written out on its own, to replay a sequence of draws.
struct ReplayRandom {
    explicit ReplayRandom(std::uint32_t seed) : state(seed) {}
    std::int32_t next() {
        state = state * 214013u + 2531011u;
        return static_cast<std::int32_t>((state >> 16) & 0x7FFFu);
    }
    double uniform() { return next() * static_cast<double>(1.0f / 32767.0f); }
    std::uint32_t state;
};
