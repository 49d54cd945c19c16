#include "world/tile_grid.hpp"

#include <algorithm>

#include "world/world_state.hpp"

namespace grotmere {

void TileGrid::make_tiles(int32_t columns, int32_t rows) {
    columns_ = std::clamp(columns, 0, kGridSize);
    rows_ = std::clamp(rows, 0, kGridSize);
    // A new vector, not a resize: the old block's memory is given back, and every tile is new.
    std::vector<TKartenTile> fresh(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
    tiles_.swap(fresh);
}

bool inside_map(int32_t x, int32_t y) {
    return x >= 0 && y >= 0 && x < map_width && y < map_height;
}

TKartenTile* map_tile(int32_t x, int32_t y) {
    return inside_map(x, y) ? tile_grid.at(x, y) : nullptr;
}

}  // namespace grotmere
