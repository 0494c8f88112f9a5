// Where the Scene takes the seed of the generator: the calendar time in seconds modulo 256, unless a
// fixed seed has been set (the headless renderer and the tests set one). Pairs with scene_seed.cpp.
#pragma once

#include <cstdint>

// 0..255 fixes the seed of every later Scene; any other value returns to the calendar time.
void setFixedSceneSeed(std::int32_t seed);
// The value handed to seedRandom at Scene set-up.
std::int32_t sceneSeed();
