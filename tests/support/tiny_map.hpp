// Small maps for tests, written as text: one string per row, one character per tile, the digit
// giving the terrain ("1" a wall, "0" room floor, "2" corridor; any other character is floor).
//
//   make_map({"11111",
//             "10001",
//             "11111"});
#pragma once

#include <string>
#include <vector>

#include "base/text.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere::testing {

// Replaces the map by fresh tiles of the rows' size and runs the walkability update.
inline void make_map(const std::vector<std::string>& rows) {
    map_height = static_cast<int32_t>(rows.size());
    map_width = rows.empty() ? 0 : static_cast<int32_t>(rows[0].size());
    karte = TKarte::construct();
    for (int32_t y = 0; y < map_height; ++y) {
        for (int32_t x = 0; x < map_width; ++x) {
            char c = x < static_cast<int32_t>(rows[y].size()) ? rows[y][x] : '0';
            set_terrain(*tile_grid.at(x, y), text_to_int(std::string(1, c)));
        }
    }
    TKarte::update();
}

}  // namespace grotmere::testing
