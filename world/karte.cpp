#include "world/karte.hpp"

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/random.hpp"
#include "platform/platform.hpp"
#include "records/field_registry.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/karten_tile.hpp"
#include "world/mobiliar.hpp"
#include "world/tile_writes.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The map rectangle's columns and rows that lie inside the grid.
int32_t grid_columns() {
    return std::clamp(map_width, 0, kGridSize);
}
int32_t grid_rows() {
    return std::clamp(map_height, 0, kGridSize);
}

// Calls visit on every tile of the map rectangle, column by column.
template <class Visit>
void for_each_map_tile(Visit&& visit) {
    for (int32_t x = 0; x < grid_columns(); ++x) {
        for (int32_t y = 0; y < grid_rows(); ++y) {
            if (TKartenTile* tile = tile_grid.at(x, y)) visit(*tile);
        }
    }
}

bool blocked_by_furniture(TKartenTile& tile) {
    RecordList* objects = tile.objects_if_any();
    return objects != nullptr &&
           objects->any_of<TMobiliar>([](const TMobiliar& piece) { return piece.blocks == 1; });
}

bool blocked_by_closed_door(TKartenTile& tile) {
    RecordList* objects = tile.objects_if_any();
    return objects != nullptr &&
           objects->any_of<TDoor>([](const TDoor& door) { return door.open == 0; });
}

void recompute_walkability(TKartenTile& tile) {
    if (tile.ID == TKarte::MAP_SOLID) {
        tile.begehbar = 0;
        return;
    }
    tile.begehbar = blocked_by_furniture(tile) || blocked_by_closed_door(tile) ? 0 : 1;
}

// Every tile of the map rectangle, column by column as the tiles lie: a large map's 65,536 tiles
// are walked at start-up and after every change of a tile list.
void recompute_all_walkability() {
    const int32_t rows = std::min(grid_rows(), tile_grid.rows());
    for (int32_t x = 0; x < grid_columns(); ++x) {
        TKartenTile* column = tile_grid.column(x);
        if (column == nullptr) continue;
        for (int32_t y = 0; y < rows; ++y)
            recompute_walkability(column[y]);
    }
}

// The walkability a whole walk would give every tile is the one the tracked walk left.
void verify_walkability() {
    for (int32_t x = 0; x < grid_columns(); ++x) {
        for (int32_t y = 0; y < grid_rows(); ++y) {
            TKartenTile* tile = tile_grid.at(x, y);
            if (tile == nullptr) continue;
            const int32_t kept = tile->begehbar;
            recompute_walkability(*tile);
            const int32_t wanted = tile->begehbar;
            tile->begehbar = kept;
            if (kept != wanted) {
                throw std::logic_error("the tile tracker was not told: the walkability of (" +
                                       std::to_string(x) + "|" + std::to_string(y) + ") is " +
                                       std::to_string(kept) + ", a whole walk gives " +
                                       std::to_string(wanted));
            }
        }
    }
}

}  // namespace

std::shared_ptr<TKarte> TKarte::construct() {
    tile_grid.make_tiles(map_width, map_height);
    tile_tracking.everything_changed();
    return std::make_shared<TKarte>();
}

// Asking for more walls than there is room floor would draw for ever, so the count stops at the
// number of room-floor tiles.
int32_t TKarte::randomfill(int32_t count) {
    int32_t floor_tiles = 0;
    for_each_map_tile([&](TKartenTile& tile) { floor_tiles += tile.ID == MAP_RAUM ? 1 : 0; });
    for (int32_t k = 0; k < std::min(count, floor_tiles); ++k) {
        for (;;) {
            TKartenTile* tile =
                map_tile(random_range(0, map_width - 1), random_range(0, map_height - 1));
            if (tile == nullptr || tile->ID != MAP_RAUM) continue;
            set_terrain(*tile, MAP_SOLID);
            break;
        }
    }
    return 0;
}

// Asked for every monster's step, anywhere on the map: the walls' bits answer without the tile.
int32_t TKarte::is_begehbar(int32_t x, int32_t y) {
    if (!inside_map(x, y) || !TileGrid::in_grid(x, y)) return 0;
    return tile_tracking.sight_walls().walkable_at(x, y) ? 1 : 0;
}

namespace {

void darken_marked_tiles() {
    if (!tile_tracking.darken_marked(
            reset_marked_cell([](TKartenTile& tile) { darken_tile(tile); })))
        for_each_map_tile(darken_tile);
}

}  // namespace

// Only tiles the rules have seen or lit since the last darkening have anything to reset.
int32_t TKarte::darken() {
    if (contracts_checked()) tile_tracking.verify_marks();
    darken_marked_tiles();
    return 0;
}

// Light values are read by nothing between the darkening and the light pass, and a light that
// resets a cell as it first reaches it saves a second fetch of the cell's tile.
int32_t TKarte::darken_sight() {
    if (contracts_checked()) tile_tracking.verify_marks();
    // Light values the last light pass's kept shinings account for are left to the next pass.
    if (!tile_tracking.darken_seen(
            reset_marked_cell([](TKartenTile& tile) { darken_sight_of(tile); }),
            kept_light.stands_for_darkening()))
        darken_marked_tiles();
    return 0;
}

// A tile without doors or furniture keeps the walkability the last update gave it, which follows
// from its terrain alone; only the tiles holding doors or furniture can have changed since. On
// those, the first blocking piece of furniture or closed door blocks, whichever the lists name
// first: the answer is the same.
int32_t TKarte::update() {
    // Brought up to date first: a tile list that changed since asks for a whole walk.
    tile_tracking.cells_with_objects();
    if (tile_tracking.take_whole_walkability()) {
        recompute_all_walkability();
        tile_tracking.walls_rewritten();
        return 0;
    }
    if (contracts_checked()) tile_tracking.verify_lists();
    const std::vector<BlockableTile>& tiles = tile_tracking.blockable_tiles();
    const std::vector<Blocker>& blockers = tile_tracking.blockers();
    for (const BlockableTile& blockable : tiles) {
        TKartenTile& tile = *blockable.tile;
        if (tile.ID == MAP_SOLID) {
            set_blocked_walkability(tile, blockable.cell, 0);
            continue;
        }
        bool blocked = false;
        for (uint32_t k = blockable.first; k < blockable.first + blockable.count; ++k)
            blocked |= *blockers[k].flag == blockers[k].blocking;
        set_blocked_walkability(tile, blockable.cell, blocked ? 0 : 1);
    }
    if (contracts_checked()) verify_walkability();
    return 0;
}

}  // namespace grotmere
