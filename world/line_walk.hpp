// The straight-line walk behind line_of_sight, for any test of which cells block it. Sight and
// far-reaching lights walk it over the tiles; the masks that lights of small reach use are drawn
// by it too, so every line is answered alike. The walk starts at (x1, y1), the cell tested, ends on
// (x2, y2): from the long axis's midpoint error it takes L steps, each straight along the long
// axis or diagonal, and every cell it stands on (both ends included) must be clear. Callers keep
// both ends within a few hundred cells of each other.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "world/karte.hpp"
#include "world/karten_tile.hpp"

namespace grotmere {

// Walls and tiles made unwalkable (a closed door, blocking furniture) stop sight and light; only
// a begehbar of exactly 0 counts.
inline bool blocks_sight(const TKartenTile& tile) {
    return tile.ID == TKarte::MAP_SOLID || tile.begehbar == 0;
}

template <class Blocks>
bool clear_line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Blocks&& blocks) {
    const int32_t dx = x2 - x1;
    const int32_t dy = y2 - y1;
    const int32_t sx = (dx > 0) - (dx < 0);
    const int32_t sy = (dy > 0) - (dy < 0);
    // Ties go to the y axis.
    const bool long_x = std::abs(dx) > std::abs(dy);
    const int32_t straight_x = long_x ? sx : 0;
    const int32_t straight_y = long_x ? 0 : sy;
    const int32_t long_length = long_x ? std::abs(dx) : std::abs(dy);
    const int32_t short_length = long_x ? std::abs(dy) : std::abs(dx);

    if (blocks(x1, y1)) return false;
    int32_t error = long_length / 2;
    int32_t x = x1;
    int32_t y = y1;
    for (int32_t step = 0; step < long_length; ++step) {
        error -= short_length;
        if (error < 0) {
            error += long_length;
            x += sx;
            y += sy;
        } else {
            x += straight_x;
            y += straight_y;
        }
        if (blocks(x, y)) return false;
    }
    return true;
}

}  // namespace grotmere
