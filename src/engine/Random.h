#pragma once
// The program's one pseudo-random generator: a 32-bit linear congruential
// sequence, seed 0 when the program starts. The engine's perturbation and the
// volume computation draw from the same sequence.
#include <cstdint>

namespace vesk::engine {

// Advances the seed (seed := seed * 134775813 + 1 mod 2^32) and returns
// seed / 2^32, a real in [0, 1).
double Random();

// Sets the seed to the UTC time of day in milliseconds.
void Randomize();

void SetRandomSeed(uint32_t seed);
uint32_t RandomSeed();

}  // namespace vesk::engine
