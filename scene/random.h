// The process's one random generator. It is the classic 15-bit linear congruential generator of the
// Windows C runtime, implemented here rather than taken from the C library, so that the same seed
// gives the same animation on every platform.
#pragma once

#include <cstdint>

// srand: the next value follows from this seed.
void seedRandom(std::uint32_t seed);
// rand: 0..32767.
std::int32_t nextRandom();
// One uniform draw in [0, 1): nextRandom() times 1/32767 rounded to single precision, the product
// kept in double precision, so truncating uniformRandom() * n gives 0..n-1 and never n.
double uniformRandom();

// The float nearest 1/32767, just below it.
constexpr float kRandomScale = 1.0f / 32767.0f;
