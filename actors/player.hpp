// TPlayer, the player record. It owns its equipment, its inventory items and its buff list; the
// buffs refer back to it without owning it. The main loop calls action once per pass, then, when
// a turn was taken, updatehealth, and every pass showstats, show_worn and update; update is where
// the game ends at death. Rules read the fighting values through actual(), never the raw fields,
// so that buffs count.
//
// Its members live by subject: create in player.cpp, actual and inc_buff in effective_value.cpp,
// action in player_actions.cpp, look in player_look.cpp, attackiere in combat.cpp, the ranged
// helpers in player_ranged.cpp, the inventory in inventory.cpp, the upkeep and health step in
// player_stats.cpp, and the drawing (showstats, show_worn, show_inventory) in
// view/status_panel.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record_list.hpp"

namespace grotmere {

class TGegenstand;
class TGegner;
class TWaffe;
class TPanzer;
class TLeuchte;

// Owned through a shared reference (the registry's factory makes it), so that the player can hand
// itself to the buffs it makes for its own caps.
class TPlayer : public Record, public std::enable_shared_from_this<TPlayer> {
public:
    // A player with the record's defaults and these values, hp filling hpmax as well. The game
    // itself builds its player from the player file.
    static std::shared_ptr<TPlayer> create(const std::string& name, int32_t hp, int32_t x,
                                           int32_t y, int32_t attack, int32_t defend, int32_t dmg);

    // The sum of the lasting buffs in the player's list whose field is declared exactly `name`
    // (letter case counts here) and that were made for a player.
    int32_t inc_buff(const std::string& name) const;
    // The effective value: the stored field `name` (letter case ignored) plus inc_buff(name).
    int32_t actual(const std::string& name) const;

    // The status panel and the worn-items lines of the frame.
    int32_t showstats();
    int32_t show_worn();

    // Logs what lies around the player; may discover a hidden door. Takes no turn.
    int32_t look();
    // Reads this pass's keys in their fixed order; 1 when the player used a turn. A key the call
    // does not reach keeps its presses for a later pass.
    int32_t action();
    // The inventory element (0 to 9, not a slot number) of the first item whose name, between
    // hyphens, occurs in `list`; -1 when none does.
    int32_t in_inventory(const std::string& list) const;
    // 1 when a live monster stands on the player's tile or one of the eight around it.
    int32_t gegner_around() const;
    // Launches a missile of the wielded weapon from the player's tile in that direction.
    int32_t create_geschoss(int32_t richtung, int32_t extra_dmg);
    // One melee blow at the monster; lowers its stored hp and logs one line. Always 0.
    int32_t attackiere(TGegner& monster);

    // The per-pass upkeep: death, the attack, defence and health caps, one level rise at most.
    int32_t update();
    // The per-turn health step: teleports under the player, regeneration.
    int32_t updatehealth();
    // The experience that level n needs: 50 n (n - 1), 0 for n of 1 or less.
    static int32_t calc_level(int32_t level);

    // The inventory list beside the status panel, while inv_visible is not 0.
    int32_t show_inventory();
    // Stores the item, stacking it onto the first slot of the same name, else into the first
    // empty slot; 1 when stored. A full inventory leaves the item where it was. Announce 1 logs
    // the pick-up, 0 stores silently.
    int32_t add_to_inventory(const std::shared_ptr<TGegenstand>& item, int32_t announce);
    // Slots are numbered 1 to 10. One piece of the slot's item goes to the heap on the player's
    // tile, without a message.
    int32_t drop_gegenstand(int32_t slot);
    // Empties the slot and hands its whole stack to the caller; null for an empty slot.
    std::shared_ptr<TGegenstand> remove_from_inventory(int32_t slot);
    // Wields, wears, drinks or lights the slot's item; 1 when the slot held an item, of whatever
    // kind.
    int32_t benutze_gegenstand(int32_t slot);

    int32_t x = 0;
    int32_t y = 0;
    std::string name;
    int32_t hp = 0;
    int32_t hpmax = 0;
    int32_t xp = 0;
    int32_t level = 0;
    int32_t attack = 0;
    int32_t defend = 0;
    int32_t rs = 0;
    int32_t dmg = 0;
    int32_t luck = 0;
    int32_t gold = 0;
    int32_t lastgain = 0;
    std::shared_ptr<TWaffe> waffe;
    std::shared_ptr<TPanzer> panzer;
    std::shared_ptr<TLeuchte> leuchte;
    int32_t perception = 0;
    ItemArrayRef inventory = std::make_shared<ItemArray>();
    ListRef buffs = new_list();
    int32_t inv_visible = 1;
    int32_t wear_visible = 1;
    int32_t attackmode = 0;
    int32_t usemode = 0;
};

}  // namespace grotmere
