// The game's only source of randomness: the Park-Miller minimal standard generator (multiplier
// 48271) with the game's own mapping to reals and ranges, so that a seed and a key script replay
// a game exactly. The state lives for the whole run and is part of the world a test resets.
#pragma once

#include <cstdint>

namespace grotmere {

inline constexpr int32_t kUnseededRandomState = 4660;

void seed_random(int32_t seed);
double random_double();
// Uniform over the closed range between the two bounds, in either order.
int32_t random_range(int32_t min, int32_t max);

int32_t random_state();
void set_random_state(int32_t state);

}  // namespace grotmere
