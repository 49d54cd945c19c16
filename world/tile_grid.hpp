// The tile grid: the tiles of the map rectangle (map_width x map_height, each cut to 256), held
// in one block column after column, each column from the top: the walks over the map read them
// in that order. Every read of a tile by position goes through at() or map_tile(), which answer
// null outside the block or the map, so a bad position in a data file can never reach outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/karten_tile.hpp"

namespace grotmere {

inline constexpr int32_t kGridSize = 256;

class TileGrid {
public:
    static bool in_grid(int32_t x, int32_t y) {
        return x >= 0 && y >= 0 && x < kGridSize && y < kGridSize;
    }
    // The tile at (x, y), or null where no tile was made.
    TKartenTile* at(int32_t x, int32_t y) const {
        if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return nullptr;
        return &tiles_[static_cast<size_t>(x) * static_cast<size_t>(rows_) +
                       static_cast<size_t>(y)];
    }
    // The tiles of column x, row 0 first, rows() of them; null where no tile was made.
    TKartenTile* column(int32_t x) const { return at(x, 0); }
    int32_t rows() const { return rows_; }
    int32_t columns() const { return columns_; }
    // Takes away every tile.
    void clear_tiles() { make_tiles(0, 0); }
    // Replaces every tile by a fresh one, for the columns x rows rectangle cut to the grid.
    void make_tiles(int32_t columns, int32_t rows);

private:
    // The grid hands out writable tiles from a const reference, as the map is one object.
    mutable std::vector<TKartenTile> tiles_;
    int32_t columns_ = 0, rows_ = 0;
};

// Whether (x, y) lies inside the map rectangle.
bool inside_map(int32_t x, int32_t y);
// The tile at (x, y) inside the map rectangle, else null.
TKartenTile* map_tile(int32_t x, int32_t y);

}  // namespace grotmere
