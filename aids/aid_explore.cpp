// Explore: toward the nearest floor never seen, and through the closed doors on the way. A door is
// opened the rules' own way, by walking into it; a locked one is first unlocked with the use key,
// and only when a key of the pack fits it and the use key would act on that door and no other
// (it closes open doors and locks closed ones as readily). Doors beyond which all is known are
// left shut. When nothing is left, it says how many doors stay locked.
#include <memory>
#include <set>

#include "actors/player.hpp"
#include "actors/surroundings.hpp"
#include "actors/tastatur.hpp"
#include "aids/aid_walk_parts.hpp"
#include "base/text.hpp"
#include "view/player_knowledge.hpp"
#include "world/door.hpp"
#include "world/key.hpp"
#include "world/schalter.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

enum DoorMark : uint8_t { kUntried = 0, kUnlockTried = 1, kWalkedInto = 2 };

const TDoor* closed_door(int32_t x, int32_t y) {
    const TDoor* door = known_door(x, y);
    return door && door->open == 0 ? door : nullptr;
}

bool key_in_pack(const TDoor& door) {
    for (const std::shared_ptr<TGegenstand>& item : *player->inventory) {
        const auto* key = dynamic_cast<const TKey*>(item.get());
        if (key && key->key_id == door.key_id) return true;
    }
    return false;
}

// Whether the use key, pressed where the player stands, would act on this door first: the scan
// of the action routine, with a button under the player taking the key before any door.
bool use_key_acts_on(const TDoor& wanted) {
    const TKartenTile* own = map_tile(player->x, player->y);
    RecordList* under = own ? own->objects_if_any() : nullptr;
    if (under &&
        under->any_of<TSchalter>([](const TSchalter& s) { return lower_case(s.art) == "button"; }))
        return false;
    const TDoor* first = nullptr;
    for_each_tile_around(player->x, player->y, [&](TKartenTile& tile) {
        RecordList* objects = tile.objects_if_any();
        if (objects == nullptr) return WalkStep::Continue;
        objects->look_at_each<TDoor>([&](const TDoor& door) {
            const bool fits = key_in_pack(door);
            const bool acts =
                door.secret == 0 &&
                ((fits && (door.locked == 1 || (door.locked == 0 && door.open == 0))) ||
                 door.open == 1);
            if (acts && !first) first = &door;
        });
        return first ? WalkStep::Stop : WalkStep::Continue;
    });
    return first == &wanted;
}

bool unexplored_floor(const std::vector<bool>& stood_on, int32_t x, int32_t y) {
    return known_floor(x, y) && !stood_on[cell_index(x, y)] && has_unknown_neighbour(x, y);
}

bool door_to_open(const std::vector<uint8_t>& marks, int32_t x, int32_t y) {
    const TDoor* door = closed_door(x, y);
    if (!door || marks[cell_index(x, y)] == kWalkedInto || !has_unknown_neighbour(x, y))
        return false;
    if (door->locked == 0) return true;
    return key_in_pack(*door) && marks[cell_index(x, y)] == kUntried;
}

// The locked doors beside the cells explore could reach that still hide something.
int32_t locked_doors_left(const Reach& reach) {
    std::set<size_t> doors;
    constexpr int32_t kSides[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (int32_t x = 0; x < map_width; ++x) {
        for (int32_t y = 0; y < map_height; ++y) {
            if (!reach.reached[cell_index(x, y)]) continue;
            for (const auto& side : kSides) {
                const int32_t dx = x + side[0], dy = y + side[1];
                const TDoor* door = inside_map(dx, dy) ? closed_door(dx, dy) : nullptr;
                if (door && door->locked != 0 && has_unknown_neighbour(dx, dy))
                    doors.insert(cell_index(dx, dy));
            }
        }
    }
    return static_cast<int32_t>(doors.size());
}

std::string explored(int32_t locked) {
    if (locked == 0) return "Explored everything reachable.";
    return "Explored all that is open; " + int_to_text(locked) +
           (locked == 1 ? " door is locked." : " doors are locked.");
}

}  // namespace

Handed explore_press(std::vector<bool>& stood_on, std::vector<uint8_t>& door_marks) {
    const size_t cells = static_cast<size_t>(map_width) * map_height;
    if (stood_on.size() != cells) stood_on.assign(cells, false);
    if (door_marks.size() != cells) door_marks.assign(cells, kUntried);
    stood_on[cell_index(player->x, player->y)] = true;
    const Reach reach = reach_from_player([&](int32_t x, int32_t y) {
        return unexplored_floor(stood_on, x, y) || door_to_open(door_marks, x, y);
    });
    if (!reach.found) return walk_done(explored(locked_doors_left(reach)));
    const int32_t x = player->x + reach.dx, y = player->y + reach.dy;
    const TDoor* door = closed_door(x, y);
    if (!door) return Handed{.key = key_for_step(reach.dx, reach.dy)};
    uint8_t& mark = door_marks[cell_index(x, y)];
    if (door->locked == 0) {
        mark = kWalkedInto;
        return Handed{.key = key_for_step(reach.dx, reach.dy), .stays = true};
    }
    mark = kUnlockTried;
    // From here the use key would close or lock another door: the next goal is looked for.
    if (bindings->use == 0 || !use_key_acts_on(*door)) return explore_press(stood_on, door_marks);
    return Handed{.key = bindings->use, .stays = true};
}

}  // namespace grotmere
