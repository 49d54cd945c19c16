// TTreasure, a heap of gold and items on the floor. The heap owns the items of its drop list.
#pragma once

#include <cstdint>

#include "shell/record_list.hpp"

namespace grotmere {

class TTreasure : public Record {
public:
    static int32_t update();

    int32_t x = 0;
    int32_t y = 0;
    int32_t gold = 0;
    ListRef drop = new_list();
};

}  // namespace grotmere
