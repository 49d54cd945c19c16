#include "world/sight_walls.hpp"

#include "world/line_walk.hpp"

namespace grotmere {

bool SightWalls::blocks(const TKartenTile* tile) {
    return tile == nullptr || blocks_sight(*tile);
}

void SightWalls::learn(const TileGrid& grid) {
    for (int32_t x = 0; x < kGridSize; ++x) {
        for (int32_t y = 0; y < kGridSize; ++y)
            set(x, y, grid.at(x, y));
    }
    ++version_;
    known_ = true;
}

int32_t SightWalls::first_difference(const TileGrid& grid, int32_t columns, int32_t rows) const {
    for (int32_t x = 0; x < columns; ++x) {
        for (int32_t y = 0; y < rows; ++y) {
            const TKartenTile* tile = grid.at(x, y);
            if (((column_from(x, y) & 1) != 0) != blocks(tile) ||
                walkable_at(x, y) != walkable(tile))
                return x * kGridSize + y;
        }
    }
    return -1;
}

}  // namespace grotmere
