// TGegner, a monster: a prototype loaded from the monster file, a spawn record of the map file, or
// a live monster cloned from a prototype. A live monster gets a buff list of its own after the
// clone, so it never shares the prototype's.
//
// The live monsters take their turn in `update`, once after every turn of the player, in the order
// of `monsters`: the first dead monster found is removed and pays out, and that ends the pass.
// Nothing a monster does reads a tile outside the map.
//
// Its members live by subject: making and moving in gegner.cpp, the turn (update) in
// monster_turn.cpp, actual and inc_buff in effective_value.cpp, attackiere in combat.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record_list.hpp"

namespace grotmere {

class TGegner : public Record {
public:
    static int32_t create(const std::string& name, int32_t x, int32_t y, int32_t level,
                          int32_t abweichung);
    // The first live monster standing exactly on (x, y), or null.
    static std::shared_ptr<TGegner> collide(int32_t x, int32_t y);
    // The monsters' turn: each live monster steps through the teleports under it, drinks the
    // potions lying under it, then strikes or shoots at the player it sees, or wanders.
    static int32_t update();

    // One step of random wandering: half the time none, else one tile left, right, up or down when
    // that tile is inside the map and walkable. The player's or another monster's tile is no bar.
    int32_t move();
    // The death test after a blow from elsewhere: at an effective hp of 0 or less the monster says
    // it is dead, leaves `monsters`, gives its xp to the player and leaves a treasure heap.
    int32_t update_gegner();
    // The monster's blow at the player (distance 1) or its shot (farther), for a sighting code.
    int32_t attackiere(int32_t code);
    // Where the player stands along the four straight lines, at most `range` tiles away:
    // 1000 x direction (1 left, 2 right, 3 up, 4 down) + distance, or 0. A wall or a closed tile
    // hides what lies beyond it, not itself; a player on a diagonal is never seen.
    int32_t checkforplayer(int32_t range) const;

    // The sum of the lasting buffs in the monster's list that were made for this very monster
    // and whose field is declared exactly `name`: "rs" does not count a buff on the field `RS`.
    int32_t inc_buff(const std::string& name) const;
    // The effective value: the stored field `name` (letter case ignored) plus inc_buff(name).
    int32_t actual(const std::string& name) const;

    std::string name;
    int32_t x = -1;  // -1 in a spawn record: the column is drawn at random
    int32_t y = -1;
    int32_t hp = 0;
    int32_t xp = 0;
    int32_t attack = 0;
    int32_t defend = 0;
    int32_t RS = 0;
    int32_t dmg = 0;
    int32_t lastmove = 0;
    int32_t luck = 0;
    int32_t gold = 0;
    int32_t gold_drop = 0;
    int32_t level = 0;
    int32_t anzahl = 1;
    int32_t abweichung = 0;
    int32_t attack_range = 1;
    int32_t range_dmg = 0;
    ListRef buffs = new_list();
};

}  // namespace grotmere
