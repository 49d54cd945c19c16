#include "world/door.hpp"

#include <vector>

#include "world/karten_tile.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

// Runs once per turn, after the switches and before the second sight test, so a door opened
// this turn no longer blocks the view. With several doors on one tile the last one decides. An
// open door clears even a tile the walkability update will block again (a wall, furniture).
// Only the tiles holding doors are visited, in the order of a walk over the whole map.
int32_t TDoor::update() {
    const std::vector<MapCell>& cells = tile_tracking.cells_with_doors();
    for (size_t k = 0; k < cells.size(); ++k) {
        TKartenTile* tile = tile_grid.at(cells[k].x, cells[k].y);
        RecordList* objects = tile ? tile->objects_if_any() : nullptr;
        if (objects == nullptr) continue;
        const MapCell cell = cells[k];
        objects->for_each_of<TDoor>([tile, cell](std::shared_ptr<TDoor>& door) {
            set_blocked_walkability(*tile, cell, door->open != 0 ? 1 : 0);
        });
    }
    return 0;
}

}  // namespace grotmere
