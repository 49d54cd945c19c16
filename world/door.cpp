#include "world/door.hpp"

#include <algorithm>

#include "world/karten_tile.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// Runs once per turn, after the switches and before the second sight test, so a door opened
// this turn no longer blocks the view. With several doors on one tile the last one decides. An
// open door clears even a tile the walkability update will block again (a wall, furniture).
int32_t TDoor::update() {
    const int32_t columns = std::clamp(map_width, 0, kGridSize);
    const int32_t rows = std::clamp(map_height, 0, kGridSize);
    for (int32_t x = 0; x < columns; ++x) {
        for (int32_t y = 0; y < rows; ++y) {
            TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr || !tile->gegenstaende || tile->gegenstaende->empty()) continue;
            tile->gegenstaende->for_each_of<TDoor>(
                [tile](std::shared_ptr<TDoor>& door) { tile->begehbar = door->open != 0 ? 1 : 0; });
        }
    }
    return 0;
}

}  // namespace grotmere
