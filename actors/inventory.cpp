// The player's ten-slot inventory: storing with stacking by name, dropping one
// piece, and using an item (wielding, wearing, drinking, lighting).
#include <memory>

#include "actors/panzer.hpp"
#include "actors/player.hpp"
#include "actors/trank.hpp"
#include "actors/treasure.hpp"
#include "actors/waffe.hpp"
#include "base/text.hpp"
#include "records/field_registry.hpp"
#include "world/chronicle.hpp"
#include "world/gegenstand.hpp"
#include "world/key.hpp"
#include "world/leuchte.hpp"
#include "world/message_log.hpp"

namespace grotmere {

namespace {

using ItemRef = std::shared_ptr<TGegenstand>;

// Callers pass slots 1 to 10; any other number, or a player without an inventory, finds no slot.
ItemRef* slot_of(TPlayer& p, int32_t slot) {
    if (!p.inventory || slot < 1 || slot > kInventorySlots) return nullptr;
    return &(*p.inventory)[static_cast<size_t>(slot - 1)];
}

// A single piece is announced without a full stop, a stack with one.
void announce_pick_up(const TGegenstand& item) {
    if (item.anzahl == 1) {
        log_message("You pick up a " + item.name);
    } else {
        log_message("You pick up " + int_to_text(item.anzahl) + " " + item.name + "s.");
    }
}

// A count of 1 or less is the last piece, so a stack whose count a data file set to 0 or below
// is used up at once instead of lasting for ever.
void lose_a_piece(ItemRef& slot) {
    if (slot->anzahl <= 1) {
        slot = nullptr;
    } else {
        slot->anzahl -= 1;
    }
}

// New equipment is made afresh from the prototype of the used item's name. An item whose
// prototype is gone, or names an item of another kind, is taken as it is rather than lost.
template <class T>
std::shared_ptr<T> fresh_from_prototype(const T& used) {
    if (auto made = std::dynamic_pointer_cast<T>(TGegenstand::create_from_proto(used.name))) {
        return made;
    }
    auto copy = clone_as<T>(used);
    copy->anzahl = 1;
    return copy;
}

// Old equipment goes back into the inventory when it fits, or else to the floor.
void wield(TPlayer& p, ItemRef& slot, const TWaffe& weapon) {
    std::shared_ptr<TWaffe> old = p.waffe;
    if (!old) {
        p.waffe = fresh_from_prototype(weapon);
        lose_a_piece(slot);
        log_message("You wield a weapon.");
        return;
    }
    if (p.add_to_inventory(old, 0) == 1) {
        // Only this swap keeps the used piece itself, as a copy of one.
        p.waffe = clone_as(weapon);
        p.waffe->anzahl = 1;
        lose_a_piece(slot);
        log_message("You change Weapons");
        return;
    }
    TTreasure::drop_gegenstand(p.x, p.y, *old);
    p.waffe = fresh_from_prototype(weapon);
    lose_a_piece(slot);
    log_message("You draw " + p.waffe->name + " after putting " + old->name + " to ground.");
}

void wear(TPlayer& p, ItemRef& slot, const TPanzer& armour) {
    std::shared_ptr<TPanzer> old = p.panzer;
    if (!old) {
        p.panzer = fresh_from_prototype(armour);
        lose_a_piece(slot);
        log_message("You wear armor.");
        return;
    }
    if (p.add_to_inventory(old, 0) == 1) {
        p.panzer = fresh_from_prototype(armour);
        lose_a_piece(slot);
        log_message("You change your armor.");
        return;
    }
    TTreasure::drop_gegenstand(p.x, p.y, *old);
    p.panzer = fresh_from_prototype(armour);
    lose_a_piece(slot);
    log_message("You wear " + p.panzer->name + " after putting " + old->name + " to ground.");
}

// The message comes before the effect, so a potion that ends the player's life is still named.
void drink(TPlayer& p, ItemRef& slot, const TTrank& potion) {
    log_message("You drink a " + potion.name);
    const int32_t hp_before = p.hp;
    potion.parse_wirkung(p.shared_from_this());
    if (p.hp < hp_before) note_harm(potion.name);
    lose_a_piece(slot);
}

// The carried light is a copy of the used one, so a part-burnt lamp keeps its burning time. The
// old light always goes to the floor, never back into the inventory.
void light_up(TPlayer& p, ItemRef& slot, const TLeuchte& lamp) {
    std::shared_ptr<TLeuchte> old = p.leuchte;
    if (old) TTreasure::drop_gegenstand(p.x, p.y, *old);
    p.leuchte = clone_as(lamp);
    p.leuchte->toggle(1);
    p.leuchte->anzahl = 1;
    lose_a_piece(slot);
    if (old) {
        log_message("You light up a " + p.leuchte->name + " after putting " + old->name +
                    " to ground.");
    } else {
        log_message("You light up a " + p.leuchte->name + ".");
    }
}

}  // namespace

int32_t TPlayer::add_to_inventory(const std::shared_ptr<TGegenstand>& item, int32_t announce) {
    if (!item || !inventory) return 0;
    // Every kind of item stacks by name, weapons and armour too; the incoming record is not kept.
    for (ItemRef& held : *inventory) {
        if (!held || held->name != item->name) continue;
        held->anzahl += item->anzahl;
        if (announce == 1) announce_pick_up(*item);
        return 1;
    }
    for (ItemRef& held : *inventory) {
        if (held) continue;
        held = item;
        if (announce == 1) announce_pick_up(*item);
        return 1;
    }
    if (announce == 1) log_message("You can't carry any more.");
    return 0;
}

// Empty slots leave their line blank, so every slot keeps its own line. The colour is whatever
// the map view left.
int32_t TPlayer::drop_gegenstand(int32_t slot) {
    ItemRef* held = slot_of(*this, slot);
    if (held == nullptr || !*held) return 0;
    ItemRef item = *held;
    lose_a_piece(*held);
    TTreasure::drop_gegenstand(x, y, *item);
    return 0;
}

std::shared_ptr<TGegenstand> TPlayer::remove_from_inventory(int32_t slot) {
    ItemRef* held = slot_of(*this, slot);
    if (held == nullptr) return nullptr;
    ItemRef item = std::move(*held);
    *held = nullptr;
    return item;
}

// The item's exact kind decides; ammunition, plain items and anything else are kept unchanged,
// yet the slot counts as used.
int32_t TPlayer::benutze_gegenstand(int32_t slot) {
    ItemRef* held = slot_of(*this, slot);
    if (held == nullptr || !*held) return 0;
    // Held here, so the item outlives its slot while it is used.
    ItemRef item = *held;
    if (auto weapon = std::dynamic_pointer_cast<TWaffe>(item)) {
        wield(*this, *held, *weapon);
    } else if (auto potion = std::dynamic_pointer_cast<TTrank>(item)) {
        drink(*this, *held, *potion);
    } else if (auto armour = std::dynamic_pointer_cast<TPanzer>(item)) {
        wear(*this, *held, *armour);
    } else if (auto lamp = std::dynamic_pointer_cast<TLeuchte>(item)) {
        light_up(*this, *held, *lamp);
    } else if (auto key = std::dynamic_pointer_cast<TKey>(item)) {
        log_message("You see " + key->name);
    }
    return 1;
}

}  // namespace grotmere
