// The tile grid: a fixed 256 x 256 array of tile references indexed [x, y], of which only the
// map rectangle (map_width x map_height) holds tiles. Every read of a tile by position goes
// through at() or map_tile(), which answer null outside the grid or the map, so a bad position in
// a data file can never reach outside the array.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace grotmere {

class TKartenTile;

inline constexpr int32_t kGridSize = 256;

class TileGrid {
public:
    TileGrid() : cells_(static_cast<size_t>(kGridSize) * kGridSize) {}

    static bool in_grid(int32_t x, int32_t y) {
        return x >= 0 && y >= 0 && x < kGridSize && y < kGridSize;
    }
    // The tile at (x, y), or null outside the grid or where no tile was made.
    TKartenTile* at(int32_t x, int32_t y) const {
        return in_grid(x, y) ? cells_[index(x, y)].get() : nullptr;
    }
    // Replaces the tile at (x, y); ignored outside the grid.
    void set(int32_t x, int32_t y, std::shared_ptr<TKartenTile> tile) {
        if (in_grid(x, y)) cells_[index(x, y)] = std::move(tile);
    }

private:
    static size_t index(int32_t x, int32_t y) { return static_cast<size_t>(x) * kGridSize + y; }

    std::vector<std::shared_ptr<TKartenTile>> cells_;
};

// Whether (x, y) lies inside the map rectangle.
bool inside_map(int32_t x, int32_t y);
// The tile at (x, y) inside the map rectangle, else null.
TKartenTile* map_tile(int32_t x, int32_t y);

}  // namespace grotmere
