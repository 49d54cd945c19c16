#include "world/tile_grid.hpp"

#include "world/world_state.hpp"

namespace grotmere {

bool inside_map(int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < map_width && y < map_height;
}

TKartenTile* map_tile(int32_t x, int32_t y) {
    return inside_map(x, y) ? tile_grid.at(x, y) : nullptr;
}

}  // namespace grotmere
