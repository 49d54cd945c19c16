// What "around the player" means for the player's actions. The neighbourhood is the up to nine
// map tiles from (x - 1, y - 1) to (x + 1, y + 1), the own tile included, scanned column by
// column (x - 1 first), each column from top to bottom; tiles outside the map are left out.
// Adjacent records (treasures, monsters) stand on one of those nine cells.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "records/record_list.hpp"
#include "world/karten_tile.hpp"
#include "world/tile_grid.hpp"

namespace grotmere {

// visit(TKartenTile&) answers WalkStep::Stop to end the scan.
template <class Visit>
void for_each_tile_around(int32_t x, int32_t y, Visit&& visit) {
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            TKartenTile* tile = map_tile(x + dx, y + dy);
            if (tile != nullptr && visit(*tile) == WalkStep::Stop) return;
        }
    }
}

// Column and row each differ by at most 1; worked in 64 bits, so the far ends of the 32-bit
// range are not neighbours.
inline bool adjacent(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    return std::llabs(int64_t{ax} - bx) <= 1 && std::llabs(int64_t{ay} - by) <= 1;
}

}  // namespace grotmere
