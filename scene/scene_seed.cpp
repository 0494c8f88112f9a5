// The seed source of the Scene. Pairs with scene_seed.h.
#include "scene/scene_seed.h"

#include <ctime>

namespace {
std::int32_t fixedSeed = -1;
}

void setFixedSceneSeed(std::int32_t seed) { fixedSeed = (seed >= 0 && seed <= 255) ? seed : -1; }

std::int32_t sceneSeed() {
    if (fixedSeed >= 0) return fixedSeed;
    // The seconds as a signed 32-bit value, reduced with the truncating remainder.
    return static_cast<std::int32_t>(std::time(nullptr)) % 256;
}
