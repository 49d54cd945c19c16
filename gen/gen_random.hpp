// The generator's own dice: a small generator seeded from a dungeon's sub-seed, owned by the one
// generation that uses it. The game's random generator (base/random.hpp) is neither read nor
// written by generation, so making a dungeon in the middle of a game, or a generation that fails
// half-way, never changes what the game rolls next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace grotmere::gen {

class GenRandom {
public:
    explicit GenRandom(uint64_t seed) : state_(seed) {}

    // Uniform over the closed range between the bounds, in either order.
    int32_t range(int32_t low, int32_t high);
    // True in `percent` draws of a hundred.
    bool chance(int32_t percent) { return range(1, 100) <= percent; }
    // A uniform index below `count` (0 for an empty range).
    size_t index(size_t count) { return count == 0 ? 0 : size_t(range(0, int32_t(count) - 1)); }
    template <class T>
    const T& pick(const std::vector<T>& from) {
        return from[index(from.size())];
    }

private:
    uint64_t next();
    uint64_t state_;
};

}  // namespace grotmere::gen
