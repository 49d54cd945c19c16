// TTeleport, a map feature that moves whoever stands on it. A new teleport leads into the map
// being loaded unless its record names another, so its target_map starts as current_map.
#pragma once

#include <cstdint>
#include <string>

#include "records/record.hpp"

namespace grotmere {

class TTeleport : public Record {
public:
    TTeleport();

    // Moves any record with "x" and "y" fields (the player, a monster) to the target cell, when
    // the target lies in the loaded map and inside it; otherwise leaves it where it is.
    int32_t move(Record& obj);

    std::string name;
    int32_t x = 0;
    int32_t y = 0;
    std::string target_map;
    int32_t target_x = 0;
    int32_t target_y = 0;
    int32_t save_map = 0;
    int32_t secret = 0;  // 1 = neither drawn nor reported by looking
};

}  // namespace grotmere
