// The four directions shared by firing, monster sighting and missiles: 1 left (column - 1),
// 2 right (column + 1), 3 up (row - 1), 4 down (row + 1). Any other number moves nowhere.
#pragma once

#include <array>
#include <cstdint>

namespace grotmere {

struct Offset {
    int32_t dx = 0;
    int32_t dy = 0;
};

inline constexpr std::array<int32_t, 4> kDirections = {1, 2, 3, 4};

// The offset of one tile in direction `richtung`; (0, 0) for a number that is no direction.
constexpr Offset direction_offset(int32_t richtung) {
    switch (richtung) {
        case 1:
            return {-1, 0};
        case 2:
            return {1, 0};
        case 3:
            return {0, -1};
        case 4:
            return {0, 1};
        default:
            return {};
    }
}

}  // namespace grotmere
