#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/line_walk.hpp"
#include "world/sight_masks.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// The walk runs from the tested cell towards the viewer, so a line and its reverse may differ.
// It ends on the viewer's own cell, which must be clear as well.
int32_t line_of_sight(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    // Every cell outside the map blocks, and the walk would reach the end cell; answering here
    // also keeps positions from data files far outside the grid from starting endless walks.
    if (!inside_map(x1, y1) || !inside_map(x2, y2)) return 0;
    return clear_line(x1, y1, x2, y2,
                      [](int32_t x, int32_t y) {
                          const TKartenTile* tile = tile_grid.at(x, y);
                          return tile == nullptr || blocks_sight(*tile);
                      })
               ? 1
               : 0;
}

namespace {

struct SightSquare {
    int64_t first_i, last_i, first_j, last_j;

    // Only cells inside the map can be seen, so the square is cut to the map first; the order of
    // the cells that remain is unchanged.
    SightSquare(int32_t x, int32_t y, int32_t r)
        : first_i(std::max<int64_t>(int64_t{x} - r, 0)),
          last_i(std::min<int64_t>(int64_t{x} + r, std::min(map_width, kGridSize) - 1)),
          first_j(std::max<int64_t>(int64_t{y} - r, 0)),
          last_j(std::min<int64_t>(int64_t{y} + r, std::min(map_height, kGridSize) - 1)) {}
};

// The cells of a square of radius up to 5 that lie within the radius, one mask for each radius.
// Within that size the distance test sqrt(n) > r in double precision is exactly n > r * r.
const SquareMask& within_radius(int32_t r) {
    static const std::array<SquareMask, kMaskedReach + 1> masks = [] {
        std::array<SquareMask, kMaskedReach + 1> all{};
        for (int32_t radius = 0; radius <= kMaskedReach; ++radius) {
            for (int32_t di = -radius; di <= radius; ++di) {
                for (int32_t dj = -radius; dj <= radius; ++dj) {
                    if (std::sqrt(static_cast<double>(di * di + dj * dj)) <= radius)
                        all[static_cast<size_t>(radius)].set(di, dj);
                }
            }
        }
        return all;
    }();
    return masks[static_cast<size_t>(r)];
}

// The player's sight, radius 5: the cells of the square are tested against the masks of their
// lines (world/sight_masks.hpp) instead of each walking its line.
void in_sight_masked(int32_t x, int32_t y, int32_t r, const SightSquare& square) {
    // Only the cells of the square can be seen: a cell beyond the map's edge blocks, and its own
    // line starts on it.
    const SquareMask blocking = blocking_around(
        static_cast<int32_t>(square.first_i), static_cast<int32_t>(square.last_i),
        static_cast<int32_t>(square.first_j), static_cast<int32_t>(square.last_j), x, y);
    see_square(x, y, clear_cells(within_radius(r), blocking));
}

}  // namespace

int32_t TKamera::in_sight(int32_t x, int32_t y, int32_t r) {
    const SightSquare square(x, y, r);
    // A viewer outside the map sees nothing: every line ends on the viewer's own cell.
    if (r >= 0 && r <= kMaskedReach) {
        if (inside_map(x, y)) in_sight_masked(x, y, r, square);
        return 0;
    }
    for (int64_t i = square.first_i; i <= square.last_i; ++i) {
        for (int64_t j = square.first_j; j <= square.last_j; ++j) {
            const int64_t di = i - x;
            const int64_t dj = j - y;
            if (std::sqrt(static_cast<double>(di * di + dj * dj)) > r) continue;
            const auto ci = static_cast<int32_t>(i);
            const auto cj = static_cast<int32_t>(j);
            if (line_of_sight(ci, cj, x, y) == 1) see_tile(ci, cj);
        }
    }
    return 0;
}

}  // namespace grotmere
