// Lines of sight of small length, worked out once as masks. The line from a cell to a viewer (or a
// light) visits the same cells, relative to the viewer, wherever the viewer stands, so each line
// of the 11 x 11 square around the viewer is a mask of the cells it visits. The square around a
// viewer gets a mask of its blocking cells; a cell sees the viewer when its line's mask and the
// blocking mask have no cell in common. The walk of line_walk.hpp draws the masks, so a masked
// answer is the walked one.
#pragma once

#include <cstdint>
#include <vector>

#include "world/line_walk.hpp"
#include "world/world_state.hpp"

namespace grotmere {

inline constexpr int32_t kMaskedReach = 5;
inline constexpr int32_t kMaskSide = 2 * kMaskedReach + 1;

struct SquareMask {
    uint64_t low = 0, high = 0;  // cells 0-63 and 64-120 of the square, column by column

    static int32_t bit(int32_t di, int32_t dj) {
        return (di + kMaskedReach) * kMaskSide + (dj + kMaskedReach);
    }
    void set(int32_t di, int32_t dj) { set_bit(bit(di, dj)); }
    void set_bit(int32_t n) { (n < 64 ? low : high) |= uint64_t{1} << (n % 64); }
    // The bits of column c (0 to 10, left to right) of the square, its top row at bit 0.
    uint64_t column(int32_t c) const {
        const auto all = static_cast<unsigned __int128>(high) << 64 | low;
        return static_cast<uint64_t>(all >> (c * kMaskSide)) & ((uint64_t{1} << kMaskSide) - 1);
    }
    bool meets(const SquareMask& other) const {
        return ((low & other.low) | (high & other.high)) != 0;
    }
};

// Calls visit(n) for every cell n of the mask, in the order of its bits.
template <class Visit>
void for_each_cell_of(const SquareMask& mask, Visit&& visit) {
    for (uint64_t bits = mask.low; bits != 0; bits &= bits - 1)
        visit(__builtin_ctzll(bits));
    for (uint64_t bits = mask.high; bits != 0; bits &= bits - 1)
        visit(64 + __builtin_ctzll(bits));
}

// The masks of every line, indexed by SquareMask::bit of the line's first cell.
inline const std::vector<SquareMask>& line_masks() {
    static const std::vector<SquareMask> masks = [] {
        std::vector<SquareMask> all(static_cast<size_t>(kMaskSide) * kMaskSide);
        for (int32_t di = -kMaskedReach; di <= kMaskedReach; ++di) {
            for (int32_t dj = -kMaskedReach; dj <= kMaskedReach; ++dj) {
                SquareMask& mask = all[static_cast<size_t>(SquareMask::bit(di, dj))];
                // The walk itself records the cells it visits, so the masks follow it exactly.
                clear_line(di, dj, 0, 0, [&mask](int32_t i, int32_t j) {
                    mask.set(i, j);
                    return false;
                });
            }
        }
        return all;
    }();
    return masks;
}

// The blocking cells of the square around (x, y), of which the columns first_i..last_i and rows
// first_j..last_j lie in the map. A wall is rare enough per cell, and common enough per square,
// that a branch on it would guess wrong all the time; the blocking bit is worked out instead.
// With `tiles`, each tile of the square is kept there at its SquareMask::bit, for the caller's
// second look.
inline SquareMask blocking_around(int32_t first_i, int32_t last_i, int32_t first_j, int32_t last_j,
                                  int32_t x, int32_t y, TKartenTile** tiles = nullptr) {
    // Cells beyond the map's edge count as blocking; no line of a cell inside the map passes
    // them anyway. The open cells of a column are gathered first and placed in one step.
    unsigned __int128 open_cells = 0;
    for (int32_t i = first_i; i <= last_i; ++i) {
        // A column's tiles follow each other in the grid; where the map's size is not that of
        // its tiles (a test may set it alone), each tile is looked up.
        TKartenTile* column = tile_grid.at(i, first_j);
        const bool whole_column = column != nullptr && tile_grid.at(i, last_j) != nullptr;
        const int32_t column_bit = SquareMask::bit(i - x, -kMaskedReach);
        uint32_t column_open = 0;
        for (int32_t j = first_j; j <= last_j; ++j) {
            TKartenTile* tile = whole_column ? column + (j - first_j) : tile_grid.at(i, j);
            const int32_t row = j - y + kMaskedReach;
            if (tiles != nullptr) tiles[column_bit + row] = tile;
            if (tile == nullptr) continue;
            const uint32_t open = (tile->ID != TKarte::MAP_SOLID) & (tile->begehbar != 0);
            column_open |= open << row;
        }
        open_cells |= static_cast<unsigned __int128>(column_open) << column_bit;
    }
    return SquareMask{~static_cast<uint64_t>(open_cells), ~static_cast<uint64_t>(open_cells >> 64)};
}

}  // namespace grotmere
