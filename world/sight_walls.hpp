// Two bits per cell of the grid: whether the cell stops sight and light (a wall, a tile made
// unwalkable, or a cell without a tile), and whether a monster may step on it. Sight and every
// light read a square of it instead of the tiles, a column of the square in one or two words. The
// tile writes of world/tile_writes.hpp keep it; after a change outside the rules it is read from
// the tiles again.
#pragma once

#include <array>
#include <cstdint>

#include "world/tile_grid.hpp"

namespace grotmere {

class SightWalls {
public:
    bool known() const { return known_; }
    void forget() { known_ = false; }
    // Changes whenever a cell's blocking bit does, and whenever the bits are read anew: whatever
    // was worked out from the bits of one version holds while the version does.
    uint64_t version() const { return version_; }
    // Read from the tiles of `grid`.
    void learn(const TileGrid& grid);
    // The first cell, x * 256 + y, of the first `columns` x `rows` cells (the map rectangle)
    // whose bits differ from the tiles of `grid`, or -1: the checking mode asks.
    int32_t first_difference(const TileGrid& grid, int32_t columns, int32_t rows) const;

    // The bits of (x, y), which lies in the grid, from its tile (null: no tile).
    void set(int32_t x, int32_t y, const TKartenTile* tile) {
        const size_t cell = cell_number(x, y);
        const uint64_t bit = uint64_t{1} << (cell % 64);
        const uint64_t before = blocking_[cell / 64];
        blocking_[cell / 64] = blocks(tile) ? before | bit : before & ~bit;
        if (blocking_[cell / 64] != before) ++version_;
        walkable_[cell / 64] =
            walkable(tile) ? walkable_[cell / 64] | bit : walkable_[cell / 64] & ~bit;
    }
    // 64 cells of column x from row y on, row y at bit 0; (x, y) lies in the grid. Bits past the
    // column's end belong to the next column.
    uint64_t column_from(int32_t x, int32_t y) const {
        const size_t cell = cell_number(x, y);
        const uint32_t shift = cell % 64;
        // The next word's share, shifted in two steps so that a shift of 0 takes none of it.
        return (blocking_[cell / 64] >> shift) | ((blocking_[cell / 64 + 1] << 1) << (63 - shift));
    }
    // Whether the tile at (x, y), which lies in the grid, has a begehbar of exactly 1.
    bool walkable_at(int32_t x, int32_t y) const {
        const size_t cell = cell_number(x, y);
        return (walkable_[cell / 64] >> (cell % 64) & 1) != 0;
    }

private:
    static constexpr size_t kWords = static_cast<size_t>(kGridSize) * kGridSize / 64;
    static size_t cell_number(int32_t x, int32_t y) {
        return static_cast<size_t>(x) * kGridSize + static_cast<size_t>(y);
    }
    static bool blocks(const TKartenTile* tile);
    static bool walkable(const TKartenTile* tile) { return tile != nullptr && tile->begehbar == 1; }

    // One word more than the grid holds, so the last column's read stays inside.
    std::array<uint64_t, kWords + 1> blocking_{};
    std::array<uint64_t, kWords> walkable_{};
    bool known_ = false;
    uint64_t version_ = 0;
};

}  // namespace grotmere
