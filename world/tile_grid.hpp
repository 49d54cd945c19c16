// The tile grid: a fixed 256 x 256 array of tile references indexed [x, y], of which only the
// map rectangle (map_width x map_height) holds tiles. Every read of a tile by position goes
// through at() or map_tile(), which answer null outside the grid or the map, so a bad position in
// a data file can never reach outside the array.
#pragma once

#include <algorithm>
#include <cstddef>
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
    // Takes away every tile, at the cost of the rectangle of cells that ever held one.
    void clear_tiles() {
        for (int32_t x = 0; x < columns_used_; ++x) {
            auto column = cells_.begin() + static_cast<std::ptrdiff_t>(index(x, 0));
            std::fill(column, column + rows_used_, nullptr);
        }
        columns_used_ = rows_used_ = 0;
    }
    // Replaces the tile at (x, y); ignored outside the grid.
    void set(int32_t x, int32_t y, std::shared_ptr<TKartenTile> tile) {
        if (!in_grid(x, y)) return;
        cells_[index(x, y)] = std::move(tile);
        columns_used_ = std::max(columns_used_, x + 1);
        rows_used_ = std::max(rows_used_, y + 1);
    }

private:
    static size_t index(int32_t x, int32_t y) { return static_cast<size_t>(x) * kGridSize + y; }

    std::vector<std::shared_ptr<TKartenTile>> cells_;
    int32_t columns_used_ = 0, rows_used_ = 0;
};

// Whether (x, y) lies inside the map rectangle.
bool inside_map(int32_t x, int32_t y);
// The tile at (x, y) inside the map rectangle, else null.
TKartenTile* map_tile(int32_t x, int32_t y);

}  // namespace grotmere
