#include <algorithm>
#include <cmath>

#include "world/kamera.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/line_walk.hpp"
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

int32_t TKamera::in_sight(int32_t x, int32_t y, int32_t r) {
    // Only cells inside the map can be seen, so the square is cut to the map first; the order of
    // the cells that remain is unchanged.
    const int64_t first_i = std::max<int64_t>(int64_t{x} - r, 0);
    const int64_t last_i = std::min<int64_t>(int64_t{x} + r, std::min(map_width, kGridSize) - 1);
    const int64_t first_j = std::max<int64_t>(int64_t{y} - r, 0);
    const int64_t last_j = std::min<int64_t>(int64_t{y} + r, std::min(map_height, kGridSize) - 1);
    for (int64_t i = first_i; i <= last_i; ++i) {
        for (int64_t j = first_j; j <= last_j; ++j) {
            const int64_t di = i - x;
            const int64_t dj = j - y;
            if (std::sqrt(static_cast<double>(di * di + dj * dj)) > r) continue;
            const auto ci = static_cast<int32_t>(i);
            const auto cj = static_cast<int32_t>(j);
            if (line_of_sight(ci, cj, x, y) != 1) continue;
            TKartenTile* tile = map_tile(ci, cj);
            tile->erfasst = 1;
            tile->sichtbar = 1;
            tile_tracking.seen_or_lit(ci, cj);
        }
    }
    return 0;
}

}  // namespace grotmere
