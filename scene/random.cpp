#include "scene/random.h"

namespace {
std::uint32_t state = 1;  // the C runtime's state before any srand
}

void seedRandom(std::uint32_t seed) { state = seed; }

std::int32_t nextRandom() {
    state = state * 214013u + 2531011u;
    return static_cast<std::int32_t>((state >> 16) & 0x7FFFu);
}

double uniformRandom() { return static_cast<double>(nextRandom()) * static_cast<double>(kRandomScale); }
