// The errands of the pack and the bow, a bound press a pass. The rules drop one piece of a slot
// per press (the drop key held with the slot's key, which takes no turn), take every stack of the
// heaps around with one get, and shoot only with the ranged weapon readied, along the direction
// key's line; these errands hand exactly those presses.
#include "aids/aid_errands.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "actors/gegner.hpp"
#include "actors/player.hpp"
#include "actors/surroundings.hpp"
#include "actors/tastatur.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "aids/aid_walk_parts.hpp"
#include "base/text.hpp"
#include "view/player_knowledge.hpp"
#include "world/gegenstand.hpp"
#include "world/world_state.hpp"

namespace grotmere {

namespace {

const std::shared_ptr<TGegenstand>& in_slot(int32_t slot) {
    return (*player->inventory)[static_cast<size_t>(slot - 1)];
}

int32_t slot_key(int32_t slot) {
    for (const Binding& binding : kBindings) {
        if (binding.slot == slot) return (*bindings).*binding.key;
    }
    return 0;
}

std::string pieces_of(int64_t pieces, const std::string& name) {
    return pieces == 1 ? "the " + name : std::to_string(pieces) + " " + name + "s";
}

bool ranged_weapon() {
    return player->waffe && player->waffe->reichweite > 0;
}

// The cells between the player and a monster in the same row or column hold nothing that stops
// a missile, as far as the player can see: known floor, no monster shown.
bool clear_line_to(const TGegner& monster) {
    const int32_t dx = monster.x - player->x, dy = monster.y - player->y;
    if ((dx != 0) == (dy != 0)) return false;
    const int64_t distance = std::llabs(int64_t{dx} + dy);
    if (distance < 2 || distance > player->waffe->reichweite) return false;
    const int32_t sx = dx > 0 ? 1 : dx < 0 ? -1 : 0, sy = dy > 0 ? 1 : dy < 0 ? -1 : 0;
    for (int32_t step = 1; step < distance; ++step) {
        const int32_t x = player->x + sx * step, y = player->y + sy * step;
        if (!known_floor(x, y) || monster_shown_at(x, y)) return false;
    }
    return known_floor(monster.x, monster.y);
}

int32_t distance_to(const TGegner& monster) {
    return std::abs(monster.x - player->x) + std::abs(monster.y - player->y);
}

bool monster_beside() {
    const std::vector<const TGegner*> shown = monsters_shown();
    return std::any_of(shown.begin(), shown.end(), [](const TGegner* monster) {
        return adjacent(monster->x, monster->y, player->x, player->y);
    });
}

int32_t fire_key(const TGegner& target) {
    const int32_t dx = target.x - player->x, dy = target.y - player->y;
    return key_for_step(dx > 0 ? 1 : dx < 0 ? -1 : 0, dy > 0 ? 1 : dy < 0 ? -1 : 0);
}

}  // namespace

std::vector<HeapStack> stacks_around() {
    std::vector<HeapStack> stacks;
    treasures->look_at_each<TTreasure>([&](const TTreasure& heap) {
        if (!adjacent(heap.x, heap.y, player->x, player->y) || !cell_seen(heap.x, heap.y)) return;
        heap.drop->look_at_each<TGegenstand>([&](const TGegenstand& item) {
            auto same = std::find_if(stacks.begin(), stacks.end(),
                                     [&](const HeapStack& s) { return s.name == item.name; });
            if (same == stacks.end()) same = stacks.insert(stacks.end(), HeapStack{item.name});
            same->pieces += item.anzahl;
        });
    });
    return stacks;
}

std::vector<const TGegner*> shot_targets(std::string& why) {
    if (!ranged_weapon()) {
        why = "Nothing to shoot with: wield a ranged weapon.";
        return {};
    }
    if (player->in_inventory(player->waffe->munition) < 0) {
        why = "No ammunition for the " + player->waffe->name + ".";
        return {};
    }
    if (monster_beside()) {
        why = "No room to shoot: a monster is beside you.";
        return {};
    }
    std::vector<const TGegner*> targets;
    for (const TGegner* monster : monsters_shown()) {
        if (clear_line_to(*monster)) targets.push_back(monster);
    }
    std::stable_sort(targets.begin(), targets.end(), [](const TGegner* a, const TGegner* b) {
        return distance_to(*a) < distance_to(*b);
    });
    if (targets.empty())
        why = "No monster in a straight line within " + int_to_text(player->waffe->reichweite) +
              " tiles.";
    return targets;
}

bool still_a_target(const TGegner* target) {
    const std::vector<const TGegner*> shown = monsters_shown();
    if (std::find(shown.begin(), shown.end(), target) == shown.end()) return false;
    return ranged_weapon() && !monster_beside() && clear_line_to(*target);
}

Handed drop_press(DropErrand& errand) {
    const std::shared_ptr<TGegenstand>& item = in_slot(errand.slot);
    const int32_t left = item && item->name == errand.name ? item->anzahl : 0;
    if (left == 0) return walk_done("Dropped " + pieces_of(errand.dropped, errand.name) + ".");
    // A press that dropped nothing would be handed again for ever.
    if (errand.dropped > 0 && left >= errand.left) return walk_done("Nothing more was dropped.");
    errand.left = left;
    ++errand.dropped;
    return Handed{.key = slot_key(errand.slot), .with_drop = true};
}

// After the get, every piece that came in but those of the stack asked for goes down again, on
// the player's own cell; gold stays in the purse.
Handed pick_press(PickErrand& errand) {
    if (!errand.got) {
        errand.got = true;
        return Handed{.key = bindings->get};
    }
    int64_t kept = 0;
    for (int32_t slot = 1; slot <= kInventorySlots; ++slot) {
        const std::shared_ptr<TGegenstand>& item = in_slot(slot);
        if (!item) continue;
        const int64_t before = errand.before[item->name];
        if (item->name == errand.keep) kept = item->anzahl - before;
        if (item->name != errand.keep && item->anzahl > before)
            return Handed{.key = slot_key(slot), .with_drop = true};
    }
    if (kept <= 0) return walk_done("No room for the " + errand.keep + ".");
    return walk_done("You took " + pieces_of(kept, errand.keep) + ".");
}

Handed fire_press(FireErrand& errand) {
    if (errand.fired) return walk_done("You shot at the " + errand.name + ".");
    if (!still_a_target(errand.target))
        return walk_done("The " + errand.name + " is out of the line of fire.");
    if (player->attackmode == 0) return Handed{.key = bindings->ready_bow};
    errand.fired = true;
    return Handed{.key = fire_key(*errand.target)};
}

bool pick_line(const std::string& line) {
    return line.starts_with("You pick up ") || line == "You can't carry any more.";
}

bool fire_line(const std::string& line) {
    if (!player->waffe) return false;
    return line == "You ready your " + player->waffe->name + " for attack" ||
           line == player->waffe->name + " fired!";
}

}  // namespace grotmere
