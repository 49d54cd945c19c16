// The player's action routine: this pass's keys, tested in a fixed order, become at most one
// action. Each step either ends the call with its result or lets the next step test its keys.
// A key the call never tests keeps its presses, so it acts in a later pass.
#include <array>
#include <optional>

#include "actors/gegner.hpp"
#include "actors/munition.hpp"
#include "actors/player.hpp"
#include "actors/surroundings.hpp"
#include "actors/tastatur.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "base/text.hpp"
#include "platform/platform.hpp"
#include "world/door.hpp"
#include "world/karte.hpp"
#include "world/key.hpp"
#include "world/message_log.hpp"
#include "world/schalter.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

// The call's result when a step ends it; none lets the next step test its keys.
using StepResult = std::optional<int32_t>;
constexpr StepResult kGoOn = std::nullopt;

// The hit test takes the key's presses, whether or not the step then acts.
bool hit(int32_t code) {
    return key_hit(code) != 0;
}

// --- step 1: use --------------------------------------------------------------------------

// A button under the player fires in the turn's switch pass, which reads usemode.
bool press_button(TPlayer& p) {
    TKartenTile* own = map_tile(p.x, p.y);
    if (own == nullptr) return false;
    RecordList* objects = own->objects_if_any();
    return objects != nullptr && objects->any_of<TSchalter>([](const TSchalter& schalter) {
        return lower_case(schalter.art) == "button";
    });
}

// With the fitting key an open door is closed, then locked, then unlocked by successive uses;
// without it an open door can still be closed. Closing does not look who stands in the doorway.
bool use_door(TPlayer& p, TDoor& door) {
    if (p.inventory) {
        for (const std::shared_ptr<TGegenstand>& item : *p.inventory) {
            auto key = std::dynamic_pointer_cast<TKey>(item);
            if (!key || key->key_id != door.key_id) continue;
            if (door.locked == 1) {
                door.locked = 0;
                log_message("You unlocked " + door.name + " with " + key->name);
                return true;
            }
            if (door.locked == 0 && door.open == 0) {
                door.locked = 1;
                log_message("You locked " + door.name + " with " + key->name);
                return true;
            }
        }
    }
    if (door.open != 1) return false;
    door.open = 0;
    log_message("You close " + door.name);
    return true;
}

bool use_doors_around(TPlayer& p) {
    bool acted = false;
    for_each_tile_around(p.x, p.y, [&](TKartenTile& tile) {
        RecordList* objects = tile.objects_if_any();
        if (objects == nullptr) return WalkStep::Continue;
        objects->for_each_of<TDoor>([&](std::shared_ptr<TDoor>& door) {
            if (door->secret == 0) acted = use_door(p, *door);
            return acted ? WalkStep::Stop : WalkStep::Continue;
        });
        return acted ? WalkStep::Stop : WalkStep::Continue;
    });
    return acted;
}

// usemode tells this turn's switch pass whether the use key acted; a use that found nothing
// leaves it as it was, and only a pass without the use key clears it.
StepResult use_step(TPlayer& p, const TTastatur& keys) {
    if (!hit(keys.use)) {
        p.usemode = 0;
        return kGoOn;
    }
    if (press_button(p) || use_doors_around(p)) {
        p.usemode = 1;
        return 1;
    }
    return kGoOn;
}

// --- step 3: ready the ranged weapon --------------------------------------------------------

bool wields_ranged_weapon(const TPlayer& p) {
    return p.waffe && p.waffe->reichweite > 0;
}

StepResult ready_step(TPlayer& p, const TTastatur& keys) {
    if (hit(keys.ready_bow) && wields_ranged_weapon(p)) {
        p.attackmode = 1 - p.attackmode;
        log_message(p.attackmode == 1 ? "You ready your " + p.waffe->name + " for attack"
                                      : "You prepare to move.");
        return 1;
    }
    // A melee weapon cannot shoot: wielding one ends attack mode.
    if (p.waffe && p.waffe->reichweite == 0) p.attackmode = 0;
    return kGoOn;
}

// --- steps 4 and 5: get, and the inventory slots -------------------------------------------

// Every item that fits leaves the heap; one that does not stays, and the inventory has said so.
// A heap left without items is gone at once, even before the turn's clean-up.
void pick_up_heap(TPlayer& p, const std::shared_ptr<TTreasure>& heap) {
    const int32_t gold = heap->gold;
    p.gold += gold;
    if (gold > 0) log_message("You pick up " + int_to_text(gold) + " pieces of gold.");
    heap->gold = 0;
    if (heap->drop) {
        heap->drop->for_each_of<TGegenstand>([&](std::shared_ptr<TGegenstand>& item) {
            if (p.add_to_inventory(item, 1) == 1) heap->drop->remove(item.get());
        });
    }
    if (!heap->drop || heap->drop->empty()) treasures->remove(heap.get());
}

StepResult get_step(TPlayer& p, const TTastatur& keys, bool drop_held) {
    if (!hit(keys.get)) return kGoOn;
    if (drop_held) {
        // Dropping alone takes no turn.
        if (p.gold > 0) {
            TTreasure::drop_gold(p.x, p.y, 1);
            p.gold -= 1;
        }
        return kGoOn;
    }
    treasures->for_each_of<TTreasure>([&](std::shared_ptr<TTreasure>& heap) {
        if (adjacent(heap->x, heap->y, p.x, p.y)) pick_up_heap(p, heap);
    });
    // Picking up takes the turn even when nothing lies around.
    return 1;
}

// All ten keys are tested; of several hit together the last in this order wins.
int32_t chosen_slot(const TTastatur& keys) {
    int32_t chosen = 0;
    for (const Binding& binding : kBindings) {
        if (binding.slot != 0 && hit(keys.*binding.key)) chosen = binding.slot;
    }
    return chosen;
}

// Using takes the turn exactly when the slot holds an item; dropping alone takes none.
StepResult inventory_step(TPlayer& p, const TTastatur& keys, bool drop_held) {
    int32_t slot = chosen_slot(keys);
    if (slot == 0) return kGoOn;
    if (drop_held) {
        p.drop_gegenstand(slot);
        return kGoOn;
    }
    if (p.benutze_gegenstand(slot) == 1) return 1;
    return kGoOn;
}

// --- step 6: the direction keys -------------------------------------------------------------

StepResult enter(TPlayer& p, int32_t x, int32_t y) {
    if (std::shared_ptr<TGegner> monster = TGegner::collide(x, y)) {
        // A ranged weapon is no use at arm's length: bumping into a monster with one does
        // nothing and takes no turn. Bare hands strike.
        if (p.waffe && p.waffe->reichweite != 0) return 0;
        p.attackiere(*monster);
        return 1;
    }
    log_message("You move.");
    p.x = x;
    p.y = y;
    return 1;
}

// Hidden doors are walls to a walker; the first visible door of the tile is the one bumped into.
std::shared_ptr<TDoor> visible_door(TKartenTile& tile) {
    RecordList* objects = tile.objects_if_any();
    if (objects == nullptr) return nullptr;
    return objects->find_first<TDoor>([](const TDoor& door) { return door.secret == 0; });
}

// Opening takes the turn but leaves the player where it stands.
StepResult bump_door(TDoor& door) {
    if (door.locked == 0) {
        log_message("You open the " + door.name);
        door.open = 1;
        return 1;
    }
    log_message("LOCKED!");
    return 0;
}

StepResult walk_to(TPlayer& p, int32_t x, int32_t y) {
    TKartenTile* target = map_tile(x, y);
    // Off the map edge nothing happens, not even a message.
    if (target == nullptr) return kGoOn;
    if (target->ID != TKarte::MAP_SOLID && target->begehbar == 1) return enter(p, x, y);
    if (std::shared_ptr<TDoor> door = visible_door(*target)) return bump_door(*door);
    log_message("You cannot go there!");
    return kGoOn;
}

struct WalkKey {
    int32_t code;
    int32_t dx;
    int32_t dy;
};

StepResult walk_step(TPlayer& p, const TTastatur& keys) {
    const std::array<WalkKey, 4> order = {{
        {keys.go_up, 0, -1},
        {keys.go_down, 0, 1},
        {keys.go_left, -1, 0},
        {keys.go_right, 1, 0},
    }};
    for (const WalkKey& key : order) {
        if (!hit(key.code)) continue;
        if (StepResult result = walk_to(p, p.x + key.dx, p.y + key.dy)) return result;
    }
    return kGoOn;
}

// One piece of the ammunition in inventory element `element` flies off; the last piece empties
// the element. An item that the weapon names but that is no ammunition cannot be shot: no
// missile, no turn.
bool fire(TPlayer& p, int32_t element, int32_t richtung) {
    std::shared_ptr<TGegenstand>& held = (*p.inventory)[static_cast<size_t>(element)];
    auto munition = std::dynamic_pointer_cast<TMunition>(held);
    if (!munition) return false;
    munition->anzahl -= 1;
    p.create_geschoss(richtung, munition->dmg);
    log_message(p.waffe->name + " fired!");
    // A stack that held no piece at all is emptied too, rather than shot from for ever.
    if (munition->anzahl <= 0) held = nullptr;
    return true;
}

struct AimKey {
    int32_t code;
    int32_t richtung;
};

// Shooting order differs from walking order: left, right, up, down.
StepResult aim_step(TPlayer& p, const TTastatur& keys) {
    const int32_t ammunition = p.in_inventory(p.waffe->munition);
    const std::array<AimKey, 4> order = {{
        {keys.go_left, 1},
        {keys.go_right, 2},
        {keys.go_up, 3},
        {keys.go_down, 4},
    }};
    for (const AimKey& key : order) {
        if (!hit(key.code)) continue;
        // So a bow can never hurt a monster at arm's length.
        if (p.gegner_around() == 1) {
            log_message("You are in melee!");
            continue;
        }
        if (ammunition == -1) {
            log_message("Out of Ammo!");
            continue;
        }
        if (fire(p, ammunition, key.richtung)) return 1;
    }
    return kGoOn;
}

// Attack mode needs a ranged weapon in hand; without any weapon the keys walk, with one of
// range 0 or less they are not tested at all in this call.
StepResult direction_step(TPlayer& p, const TTastatur& keys) {
    if (p.attackmode == 0 || !p.waffe) return walk_step(p, keys);
    if (p.waffe->reichweite > 0) return aim_step(p, keys);
    return kGoOn;
}

// --- steps 7 and 8: wait, and the display toggles -------------------------------------------

StepResult wait_step(const TTastatur& keys) {
    if (!hit(keys.wait)) return kGoOn;
    log_message("You wait a little...");
    return 1;
}

void toggle_displays(TPlayer& p, const TTastatur& keys) {
    if (hit(keys.toggle_inv)) p.inv_visible = 1 - p.inv_visible;
    if (hit(keys.toggle_wearings)) p.wear_visible = 1 - p.wear_visible;
}

}  // namespace

int32_t TPlayer::action() {
    if (!bindings) return 0;
    const TTastatur& keys = *bindings;
    // Held, not hit, and read once for the whole call: it turns get and the slot keys into drops.
    const bool drop_held = key_down(keys.drop) != 0;
    if (StepResult result = use_step(*this, keys)) return *result;
    if (hit(keys.look)) look();
    if (StepResult result = ready_step(*this, keys)) return *result;
    if (StepResult result = get_step(*this, keys, drop_held)) return *result;
    if (StepResult result = inventory_step(*this, keys, drop_held)) return *result;
    if (StepResult result = direction_step(*this, keys)) return *result;
    if (StepResult result = wait_step(keys)) return *result;
    toggle_displays(*this, keys);
    return 0;
}

}  // namespace grotmere
