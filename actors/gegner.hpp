// TGegner, a monster: a prototype loaded from the monster file, a spawn record of the map file, or
// a live monster cloned from a prototype. A live monster gets a buff list of its own after the
// clone, so it never shares the prototype's.
#pragma once

#include <cstdint>
#include <string>

#include "shell/record_list.hpp"

namespace grotmere {

class TGegner : public Record {
public:
    static int32_t create(const std::string& name, int32_t x, int32_t y, int32_t level,
                          int32_t abweichung);
    static int32_t update();

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
