#include "world/karte.hpp"

#include <algorithm>

#include "actors/gegenstand.hpp"
#include "shell/field_registry.hpp"
#include "shell/world_state.hpp"
#include "world/door.hpp"
#include "world/karten_tile.hpp"
#include "world/mobiliar.hpp"

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
    bool blocked = false;
    tile.gegenstaende->for_each_of<TMobiliar>([&](std::shared_ptr<TMobiliar>& piece) {
        if (piece->blocks != 1) return WalkStep::Continue;
        blocked = true;
        return WalkStep::Stop;
    });
    return blocked;
}

bool blocked_by_closed_door(TKartenTile& tile) {
    bool blocked = false;
    tile.gegenstaende->for_each_of<TDoor>([&](std::shared_ptr<TDoor>& door) {
        if (door->open != 0) return WalkStep::Continue;
        blocked = true;
        return WalkStep::Stop;
    });
    return blocked;
}

}  // namespace

TKarte::TKarte() {
    for (int32_t x = 0; x < grid_columns(); ++x) {
        for (int32_t y = 0; y < grid_rows(); ++y)
            tile_grid.set(x, y, new_record<TKartenTile>());
    }
}

// FIXME: the map issue builds these.
int32_t TKarte::load_map(const std::string&) {
    return 0;
}
int32_t TKarte::randomfill(int32_t) {
    return 0;
}

int32_t TKarte::is_begehbar(int32_t x, int32_t y) {
    TKartenTile* tile = map_tile(x, y);
    return tile && tile->begehbar == 1 ? 1 : 0;
}

int32_t TKarte::darken() {
    for_each_map_tile([](TKartenTile& tile) {
        tile.sichtbar = 0;
        tile.lichtstaerke = 0;
        tile.lichtr = 0;
        tile.lichtg = 0;
        tile.lichtb = 0;
    });
    return 0;
}

int32_t TKarte::update() {
    for_each_map_tile([](TKartenTile& tile) {
        if (tile.ID == MAP_SOLID) {
            tile.begehbar = 0;
            return;
        }
        tile.begehbar = blocked_by_furniture(tile) || blocked_by_closed_door(tile) ? 0 : 1;
    });
    return 0;
}

}  // namespace grotmere
