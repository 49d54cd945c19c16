// How far a cell lies from a light, as lights measure it.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "world/tile_grid.hpp"

namespace grotmere {

// The distance from a light is kept in single precision: it decides both the reach test and
// the shares. A light lights only cells of the map, so both offsets stay below the grid's side,
// and the distances are worked out once for every pair of offsets.
class Distances {
public:
    static const Distances& table() {
        static const Distances built;
        return built;
    }
    float operator()(int32_t di, int32_t dj) const {
        return values_[static_cast<size_t>(std::abs(di)) * kGridSize +
                       static_cast<size_t>(std::abs(dj))];
    }

private:
    Distances() : values_(static_cast<size_t>(kGridSize) * kGridSize) {
        for (int64_t a = 0; a < kGridSize; ++a) {
            for (int64_t b = 0; b < kGridSize; ++b) {
                const auto d = static_cast<float>(std::sqrt(static_cast<double>(a * a + b * b)));
                // The light's own cell counts as distance 1.
                values_[static_cast<size_t>(a * kGridSize + b)] = d == 0.0F ? 1.0F : d;
            }
        }
    }

    std::vector<float> values_;
};

}  // namespace grotmere
