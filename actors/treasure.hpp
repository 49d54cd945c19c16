// TTreasure, a heap of gold and items on the floor. The heap owns the items of its drop list.
#pragma once

#include <cstdint>

#include "records/record_list.hpp"

namespace grotmere {

class TGegenstand;

class TTreasure : public Record {
public:
    // A heap at (x, y) with `gold` gold pieces and items bought at random from the budget `wert`.
    static int32_t create(int32_t x, int32_t y, int32_t gold, int32_t wert);
    // Gold, or one piece of an item, added to the first heap at exactly (x, y), or to a new one.
    static int32_t drop_gold(int32_t x, int32_t y, int32_t amount);
    static int32_t drop_gegenstand(int32_t x, int32_t y, const TGegenstand& item);
    // Removes the heaps with no gold and no items.
    static int32_t update();

    int32_t x = 0;
    int32_t y = 0;
    int32_t gold = 0;
    ListRef drop = new_list();
};

}  // namespace grotmere
