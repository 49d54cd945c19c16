#include "view/player_knowledge.hpp"

#include <cstdlib>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/karten_tile.hpp"
#include "world/line_walk.hpp"
#include "world/schalter.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

bool beside_player(int32_t x, int32_t y) {
    return player && std::llabs(int64_t{x} - player->x) <= 1 &&
           std::llabs(int64_t{y} - player->y) <= 1;
}

bool beside_seen(int32_t x, int32_t y) {
    for (int32_t dx = -1; dx <= 1; ++dx) {
        for (int32_t dy = -1; dy <= 1; ++dy) {
            if (cell_seen(x + dx, y + dy)) return true;
        }
    }
    return false;
}

template <class T>
const T* first_on(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    RecordList* objects = tile ? tile->objects_if_any() : nullptr;
    if (objects == nullptr) return nullptr;
    return objects->find_first<T>([](const T&) { return true; }).get();
}

}  // namespace

bool cell_seen(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    return tile != nullptr && tile->erfasst != 0;
}

bool cell_known(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    if (tile == nullptr) return false;
    return tile->erfasst != 0 || (blocks_sight(*tile) && beside_seen(x, y));
}

bool known_floor(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    return tile != nullptr && tile->erfasst != 0 && tile->ID != TKarte::MAP_SOLID &&
           tile->begehbar == 1;
}

const TDoor* known_door(int32_t x, int32_t y) {
    const TKartenTile* tile = map_tile(x, y);
    RecordList* objects = tile ? tile->objects_if_any() : nullptr;
    if (objects == nullptr || !cell_known(x, y)) return nullptr;
    return objects->find_first<TDoor>([](const TDoor& door) { return door.secret == 0; }).get();
}

const TTeleport* known_teleport(int32_t x, int32_t y) {
    const TTeleport* teleport = cell_known(x, y) ? first_on<TTeleport>(x, y) : nullptr;
    return teleport && teleport->secret == 0 ? teleport : nullptr;
}

const TSchalter* known_switch(int32_t x, int32_t y) {
    return cell_seen(x, y) ? first_on<TSchalter>(x, y) : nullptr;
}

bool monster_shown(const TGegner& monster) {
    if (monster.name.empty()) return false;
    const TKartenTile* tile = map_tile(monster.x, monster.y);
    if (tile == nullptr || tile->sichtbar == 0) return false;
    return tile->lichtstaerke > 0 || beside_player(monster.x, monster.y);
}

const TGegner* monster_shown_at(int32_t x, int32_t y) {
    const TGegner* found = nullptr;
    monsters->look_at_each<TGegner>([&](const TGegner& monster) {
        if (!found && monster.x == x && monster.y == y && monster_shown(monster)) found = &monster;
    });
    return found;
}

std::vector<const TGegner*> monsters_shown() {
    std::vector<const TGegner*> shown;
    monsters->look_at_each<TGegner>([&](const TGegner& monster) {
        if (monster_shown(monster)) shown.push_back(&monster);
    });
    return shown;
}

}  // namespace grotmere
