// TPlayer, the player record. It owns its equipment, its inventory items and its buff list; the
// buffs refer back to it without owning it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "shell/record_list.hpp"

namespace grotmere {

class TWaffe;
class TPanzer;
class TLeuchte;

class TPlayer : public Record {
public:
    // Reads this pass's keys; 1 when the player used a turn.
    int32_t action();
    // The per-turn health step: teleports under the player, regeneration.
    int32_t updatehealth();
    // The per-pass upkeep: death, caps, level rise.
    int32_t update();
    int32_t showstats();
    int32_t show_inventory();
    int32_t show_worn();

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
