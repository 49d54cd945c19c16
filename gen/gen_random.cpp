#include "gen/gen_random.hpp"

#include <utility>

namespace grotmere::gen {

// SplitMix64: every seed, 0 included, starts a full-period sequence, and neighbouring seeds give
// unrelated ones.
uint64_t GenRandom::next() {
    state_ += 0x9E3779B97F4A7C15ull;
    uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int32_t GenRandom::range(int32_t low, int32_t high) {
    if (low > high) std::swap(low, high);
    // The width is taken in 64 bits, and the draw scaled by its top 32 bits, so that bounds far
    // apart neither wrap nor favour the low end.
    const uint64_t width = uint64_t(int64_t(high) - int64_t(low)) + 1;
    return int32_t(int64_t(low) + int64_t(((next() >> 32) * width) >> 32));
}

}  // namespace grotmere::gen
