// The look action: what lies around the player goes to the log, and every look rolls again for
// every hidden door around.
#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/surroundings.hpp"
#include "actors/treasure.hpp"
#include "base/random.hpp"
#include "base/text.hpp"
#include "world/door.hpp"
#include "world/gegenstand.hpp"
#include "world/message_log.hpp"
#include "world/teleport.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

void describe_item(const TGegenstand& item) {
    if (item.anzahl == 1) {
        log_message("There is a " + item.name + " on the floor.");
    } else {
        log_message("There are " + int_to_text(item.anzahl) + " " + item.name + "s on the floor.");
    }
}

// An adjacent heap counts as found even when it is empty.
bool describe_treasures(const TPlayer& p) {
    bool found = false;
    treasures->for_each_of<TTreasure>([&](std::shared_ptr<TTreasure>& treasure) {
        if (!adjacent(treasure->x, treasure->y, p.x, p.y)) return;
        if (treasure->gold > 0) {
            log_message("There are " + int_to_text(treasure->gold) +
                        " pieces of Gold on the floor.");
        }
        if (treasure->drop) {
            treasure->drop->for_each_of<TGegenstand>(
                [](std::shared_ptr<TGegenstand>& item) { describe_item(*item); });
        }
        found = true;
    });
    return found;
}

// An open door has no state word, which leaves two blanks in its line.
std::string door_state(const TDoor& door) {
    if (door.locked != 0) return "locked";
    if (door.open == 0) return "closed";
    return "";
}

// The roll is measured against the light of the player's own tile, not the door's.
bool discovers(const TPlayer& p, const TDoor& door, int32_t own_light) {
    int32_t roll = random_range(1, 100) + p.actual("perception") - door.cloak;
    return roll >= 100 - own_light;
}

// A door found by this look is not also described by it.
bool look_at_door(const TPlayer& p, TDoor& door, int32_t own_light) {
    if (door.secret == 0) {
        log_message("There is a " + door_state(door) + " " + door.name + ".");
        return true;
    }
    if (!discovers(p, door, own_light)) return false;
    log_message("You discovered a secret Door!");
    door.secret = 0;
    return true;
}

bool look_at_tiles(const TPlayer& p) {
    TKartenTile* own = map_tile(p.x, p.y);
    const int32_t own_light = own ? own->lichtstaerke : 0;
    bool found = false;
    for_each_tile_around(p.x, p.y, [&](TKartenTile& tile) {
        RecordList* objects = tile.objects_if_any();
        if (objects == nullptr) return WalkStep::Continue;
        objects->for_each_of<TDoor>(
            [&](std::shared_ptr<TDoor>& door) { found |= look_at_door(p, *door, own_light); });
        objects->for_each_of<TTeleport>([&](std::shared_ptr<TTeleport>& teleport) {
            if (teleport->secret != 0) return;
            log_message("You see " + teleport->name);
            found = true;
        });
        return WalkStep::Continue;
    });
    return found;
}

bool describe_monsters(const TPlayer& p) {
    bool found = false;
    monsters->for_each_of<TGegner>([&](std::shared_ptr<TGegner>& monster) {
        if (!adjacent(monster->x, monster->y, p.x, p.y)) return;
        log_message("There is a(n) " + monster->name + ". It has " +
                    int_to_text(monster->actual("hp")) + " HP left.");
        found = true;
    });
    return found;
}

}  // namespace

int32_t TPlayer::look() {
    bool found = describe_treasures(*this);
    found |= look_at_tiles(*this);
    found |= describe_monsters(*this);
    if (!found) log_message("There is nothing special around.");
    return 0;
}

}  // namespace grotmere
