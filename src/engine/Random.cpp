#include "engine/Random.h"

#include <chrono>

namespace vesk::engine {
namespace {
uint32_t g_seed = 0;
}

double Random() {
  g_seed = g_seed * 134775813u + 1u;
  return static_cast<double>(g_seed) / 4294967296.0;
}

void Randomize() {
  using namespace std::chrono;
  const auto now = system_clock::now().time_since_epoch();
  const long long ms = duration_cast<milliseconds>(now).count() % 86400000LL;
  g_seed = static_cast<uint32_t>(ms);
}

void SetRandomSeed(uint32_t seed) { g_seed = seed; }
uint32_t RandomSeed() { return g_seed; }

}  // namespace vesk::engine
