// Lines of sight of small length, worked out once as masks. The line from a cell to a viewer (or a
// light) visits the same cells, relative to the viewer, wherever the viewer stands, so each line
// of the 11 x 11 square around the viewer is a mask of the cells it visits. The square around a
// viewer gets a mask of its blocking cells; a cell sees the viewer when its line's mask and the
// blocking mask have no cell in common. The walk of line_walk.hpp draws the masks, so a masked
// answer is the walked one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "world/line_walk.hpp"
#include "world/sight_walls.hpp"
#include "world/square_mask.hpp"
#include "world/world_state.hpp"

namespace grotmere {

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

// For every cell b of the square, the cells whose lines pass b: a blocking cell darkens exactly
// these. Indexed by SquareMask::bit of b.
inline const std::vector<SquareMask>& shadow_masks() {
    static const std::vector<SquareMask> shadows = [] {
        std::vector<SquareMask> all(static_cast<size_t>(kMaskSide) * kMaskSide);
        const std::vector<SquareMask>& lines = line_masks();
        for (int32_t n = 0; n < kMaskSide * kMaskSide; ++n)
            for_each_cell_of(lines[static_cast<size_t>(n)],
                             [&](int32_t b) { all[static_cast<size_t>(b)].set_bit(n); });
        return all;
    }();
    return shadows;
}

// The cells of `within` whose lines meet no cell of `blocking`. `within` is a round of cells
// around the middle; a line runs toward the middle in both axes, so every cell of it lies in the
// round as well, and only the blocking cells of the round can cast a shadow on it.
inline SquareMask clear_cells(const SquareMask& within, const SquareMask& blocking) {
    const std::vector<SquareMask>& shadows = shadow_masks();
    const SquareMask casting{within.low & blocking.low, within.high & blocking.high};
    SquareMask shadowed;
    for_each_cell_of(casting, [&](int32_t b) {
        shadowed.low |= shadows[static_cast<size_t>(b)].low;
        shadowed.high |= shadows[static_cast<size_t>(b)].high;
    });
    return SquareMask{within.low & ~shadowed.low, within.high & ~shadowed.high};
}

// The blocking cells of the square around (x, y), of which the columns first_i..last_i and rows
// first_j..last_j lie in the map, read from the walls a column at a time. Cells beyond the map's
// edge count as blocking; no line of a cell inside the map passes them anyway.
inline SquareMask blocking_around(int32_t first_i, int32_t last_i, int32_t first_j, int32_t last_j,
                                  int32_t x, int32_t y) {
    if (first_i > last_i || first_j > last_j) return SquareMask{~uint64_t{0}, ~uint64_t{0}};
    const SightWalls& walls = tile_tracking.sight_walls();
    const uint32_t rows_read = (uint32_t{1} << (last_j - first_j + 1)) - 1;
    const int32_t first_row = first_j - y + kMaskedReach;
    unsigned __int128 open_cells = 0;
    for (int32_t i = first_i; i <= last_i; ++i) {
        const auto column_open = (~static_cast<uint32_t>(walls.column_from(i, first_j)) & rows_read)
                                 << first_row;
        open_cells |= static_cast<unsigned __int128>(column_open)
                      << SquareMask::bit(i - x, -kMaskedReach);
    }
    return SquareMask{~static_cast<uint64_t>(open_cells), ~static_cast<uint64_t>(open_cells >> 64)};
}

// Asks for the tiles of the square around (x, y) ahead of their use, a cache line at a time.
inline void prefetch_square(int32_t x, int32_t y) {
    const int32_t first_j = std::max(y - kMaskedReach, 0);
    const int32_t last_j = std::min(y + kMaskedReach, tile_grid.rows() - 1);
    if (first_j > last_j) return;
    for (int32_t i = x - kMaskedReach; i <= x + kMaskedReach; ++i) {
        const TKartenTile* first = tile_grid.at(i, first_j);
        if (first == nullptr) continue;
        const auto* from = reinterpret_cast<const char*>(first);
        const auto* end = reinterpret_cast<const char*>(first + (last_j - first_j + 1));
        for (; from < end; from += 64)
            __builtin_prefetch(from, 1);
    }
}

// Calls visit(tile, n) for every cell n of `cells`, a mask of the square around (x, y) whose
// cells have tiles, column by column.
template <class Visit>
void for_each_tile_of(int32_t x, int32_t y, const SquareMask& cells, Visit&& visit) {
    for (int32_t c = 0; c < kMaskSide; ++c) {
        uint64_t rows = cells.column(c);
        if (rows == 0) continue;
        const int32_t first_row = __builtin_ctzll(rows);
        // A column's tiles follow each other in the grid.
        TKartenTile* column = tile_grid.at(x - kMaskedReach + c, y - kMaskedReach + first_row);
        for (; rows != 0; rows &= rows - 1) {
            const int32_t row = __builtin_ctzll(rows);
            visit(column[row - first_row], c * kMaskSide + row);
        }
    }
}

}  // namespace grotmere
